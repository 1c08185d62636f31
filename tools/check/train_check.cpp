#include "tools/check/train_check.h"

#include <algorithm>
#include <memory>
#include <string_view>
#include <utility>

#include "data/data_error.h"
#include "data/paths.h"
#include "data/read_log.h"
#include "media/picture_loader.h"
#include "media/translate.h"
#include "tools/check/named_files.h"

namespace velimoro::check {
namespace {

// What the start-up checks once the whole file is read; the program gets there only with a file
// that reads without a fault, and so does the checker, since values of a faulty section would
// raise them again under another name.
void checkAfterReading(TrainSpec train, const ReadLog& log, FileFindings& f) {
  try {
    settleTrainBrake(train);
  } catch (const DataError& e) {
    f.error(log.sectionLine("[Brake]"), e.what());
  }
  try {
    requireDrivableTrain(train);
  } catch (const DataError& e) {
    const std::string text = e.what();
    f.error(log.sectionLine(text.ends_with("[Tons]") ? "[Tons]" : "[EBPress]"), text);
  }
}

void checkPanelPictures(const TrainSpec& t, const ReadLog& log, NamedFiles& files) {
  // The cab panel is built from these at start-up; a picture that does not load stops it.
  const std::pair<std::string_view, const std::string*> built[] = {
      {"[Panel]", &t.Panel.file},
      {"[Panel2]", &t.Panel2.file},
      {"[Lamp_Door]", &t.Lamp_Door.file},
      {"[Lamp_Power]", &t.Lamp_Power.file},
      {"[Lamp_EB]", &t.Lamp_EB.file},
      {"[Lamp_Gen]", &t.Lamp_Gen.file},
      {"[Lamp_Air]", &t.Lamp_Air.file},
      {"[Lamp_Ele]", &t.Lamp_Ele.file},
      {"[Lamp_Ats1]", &t.Lamp_Ats1.file},
      {"[Lamp_Ats2]", &t.Lamp_Ats2.file},
      {"[Lamp_ATSP1]", &t.Lamp_ATSP1.file},
      {"[Lamp_ATSP2]", &t.Lamp_ATSP2.file},
      {"[Lamp_Fwd]", &t.Lamp_Fwd.file},
      {"[Lamp_Back]", &t.Lamp_Back.file},
      {"[Lamp_Const]", &t.Lamp_Const.file},
      {"[Lamp_Stop]", &t.Lamp_Stop.file},
      {"[Needle_Speed]", &t.Needle_Speed.file},
      {"[Needle_BC]", &t.Needle_BC.file},
      {"[Needle_SAP]", &t.Needle_SAP.file},
      {"[Needle_ER]", &t.Needle_ER.file},
      {"[Needle_BP]", &t.Needle_BP.file},
      {"[Needle_MR]", &t.Needle_MR.file},
      {"[Needle_V]", &t.Needle_V.file},
      {"[Needle_I]", &t.Needle_I.file},
  };
  // The file line follows the header.
  for (const auto& [key, file] : built)
    files.requirePicture(log.sectionLine(key) + 1, *file);
  for (int i = 0; i < std::min(t.OtherCount, TrainSpec::kMaxOthers); ++i)
    files.requirePicture(log.recordLine("[Others]", i), t.Others[i].file);
  // The signal lamps are read and kept, never shown.
  const std::pair<std::string_view, const std::string*> unused[] = {{"[Lamp_G]", &t.Lamp_G.file},
                                                                    {"[Lamp_YG]", &t.Lamp_YG.file},
                                                                    {"[Lamp_Y]", &t.Lamp_Y.file},
                                                                    {"[Lamp_YY]", &t.Lamp_YY.file},
                                                                    {"[Lamp_R]", &t.Lamp_R.file}};
  for (const auto& [key, file] : unused)
    files.expectPicture(log.sectionLine(key) + 1, *file);
}

void checkSounds(const TrainSpec& t, const ReadLog& log, NamedFiles& files) {
  // Every running and engine sound is loaded at start-up; one that does not load stops it.
  for (int i = 0; i < std::min(t.DriveSoundCount, TrainSpec::kMaxDriveSounds); ++i)
    files.sound(log.recordLine("[DriveSound]", i), t.DriveSound[i], true);
  for (int i = 0; i < std::min(t.EngineSound1Count, TrainSpec::kMaxEngineSounds); ++i)
    files.sound(log.recordLine("[EngineSound1]", i), t.EngineSound1[i].file, true);
  for (int i = 0; i < std::min(t.EngineSound3Count, TrainSpec::kMaxEngineSounds); ++i)
    files.sound(log.recordLine("[EngineSound3]", i), t.EngineSound3[i].file, true);
}

// An electric train's notches belong to power modes: the notch entries are grouped by mode in
// steps of one from mode 0, each mode the driver can select has a "[PowerMode]" entry, and each
// such entry has a notch the power handle reaches.
void checkPowerModes(const TrainSpec& t, const ReadLog& log, FileFindings& f) {
  if (t.Engine_Type != 1) return;
  const int entries = std::min(log.recordCount("[Notch]"), TrainSpec::kMaxNotches);
  if (t.Power > entries)
    f.warning(log.sectionLine("[Power]"),
              media::fill(media::translate("TrainCheck",
                                           "[Power]のノッチは%1段ですが、[Notch]には%2段分しか"
                                           "ありません。それより上のノッチでは引張力が出ません"),
                          {std::to_string(t.Power), std::to_string(entries)}));
  const int listed = std::max(t.PowerModeCount, 1);  // mode 0 is there without an entry
  int previous = 0;
  for (int k = 0; k < entries; ++k) {
    const int mode = t.Notches[k].mode;
    const int line = log.recordLine("[Notch]", k);
    if (mode != previous && mode != previous + 1)
      f.warning(line, media::fill(
                          media::translate("TrainCheck",
                                           "ノッチ%1の力行モード%2がモード%3の後に"
                                           "あります。モードは0, 1, 2, …と1ずつ順に"
                                           "並べてください"),
                          {std::to_string(k + 1), std::to_string(mode), std::to_string(previous)}));
    else if (mode >= listed)
      f.warning(line,
                media::fill(media::translate("TrainCheck",
                                             "ノッチ%1の力行モード%2は[PowerMode]にありません"),
                            {std::to_string(k + 1), std::to_string(mode)}));
    previous = mode;
  }
  const int reached = std::clamp(t.Power, 0, entries);
  for (int m = 0; m < std::min(t.PowerModeCount, TrainSpec::kMaxPowerModes); ++m) {
    bool hasNotch = false;
    for (int k = 0; k < reached; ++k)
      hasNotch = hasNotch || t.Notches[k].mode == m;
    if (!hasNotch)
      f.warning(log.recordLine("[PowerMode]", m),
                media::fill(media::translate("TrainCheck",
                                             "力行モード%1（%2）には、この車両のノッチ1〜%3の"
                                             "どれも属していません"),
                            {std::to_string(m), t.PowerModes[m].name, std::to_string(reached)}));
  }
}

}  // namespace

void checkTrainFile(const TrainLocation& where, const std::string& shown, Findings& out) {
  FileFindings f(shown, out);
  // The record is large; it lives on the heap.
  auto train = std::make_unique<TrainSpec>();
  media::FileCheckPictureLoader pictures;
  PictureLists lists;
  ReadLog log;
  readTrainFile(where, *train, pictures, lists, &log);
  f.add(log);
  if (!opened(log)) return;
  if (!log.hasFaults()) checkAfterReading(*train, log, f);

  const bool absolute = where.trainFolder.starts_with('/');
  NamedFiles files(f, absolute ? where.trainFolder : joinDataPath(where.root, where.trainFolder));
  for (const ReadLog::NamedFile& loaded : log.loadedFiles())
    files.spelling(loaded.line, loaded.name);
  checkPanelPictures(*train, log, files);
  checkSounds(*train, log, files);
  checkPowerModes(*train, log, f);
}

}  // namespace velimoro::check
