#include "data/train_reader.h"

#include <iterator>
#include <map>
#include <optional>
#include <string_view>
#include <utility>

#include "data/csv.h"
#include "data/data_error.h"
#include "data/numbers.h"
#include "data/paths.h"
#include "data/read_log.h"
#include "data/text_file.h"
#include "media/translate.h"

namespace velimoro {
namespace {

constexpr std::string_view kBaseLabel = VELIMORO_TEXT_NOOP("TrainReader", "- 列車の基本設定");

// The train file error, the label of the place at fault (a key, or a label of the key table)
// directly after it.
std::string fileError(std::string_view label) {
  const std::string shown(label);
  return media::fill(media::translate("TrainReader", "車両ファイルに誤りがあります%1"),
                     {media::translate("TrainReader", shown.c_str())});
}

/// One train data file being read: the file, its current line and the section label that an
/// error names.
struct Reading {
  const TrainLocation& where;
  TrainSpec& train;
  media::PictureLoader& pictures;
  PictureLists& lists;
  ReadLog* log;
  TextFileReader file;
  std::string line;          // the current line, which every key of a turn is tested against
  std::string_view label;    // a label of the key table (static text)
  std::string_view section;  // the key whose section is being read

  [[noreturn]] void fail() const { throw DataError(fileError(label)); }

  /// The next line as a value line of a section; the end of the file or an unreadable line is
  /// the file error (a truncated file).
  const std::string& valueLine() {
    if (file.readLine(line) != TextFileReader::Line::kRead) {
      line.clear();  // nothing of an unreadable line is shown or tested
      fail();
    }
    return line;
  }

  /// Reads the first line of the next list entry into `line`: false when it is the "#" line
  /// that ends the list or when the file ends (the end of the file ends the list too).
  bool entryLine() {
    switch (file.readLine(line)) {
      case TextFileReader::Line::kEnd:
        line.clear();
        return false;
      case TextFileReader::Line::kBad:
        fail();
      case TextFileReader::Line::kRead:
        break;
    }
    return line.empty() || line.front() != '#';
  }

  /// Entry `index` of a list begins on the current line; fails when the list already holds
  /// `limit` entries.
  void beginEntry(int index, int limit) const {
    if (index >= limit) fail();
    if (log != nullptr) log->record(section, index, file.lineNumber());
  }

  int toInt(std::string_view text) const {
    const auto value = parseInt(text);
    if (!value) fail();
    return *value;
  }
  Fixed toFixed(std::string_view text) const {
    const auto value = parseFixed(text);
    if (!value) fail();
    return *value;
  }
  double toReal(std::string_view text) const {
    const auto value = parseReal(text);
    if (!value) fail();
    return *value;
  }
  long double toExtended(std::string_view text) const {
    const auto value = parseExtended(text);
    if (!value) fail();
    return *value;
  }

  int intValue() { return toInt(valueLine()); }
  Fixed fixedValue() { return toFixed(valueLine()); }
  double realValue() { return toReal(valueLine()); }
  long double extendedValue() { return toExtended(valueLine()); }
  std::string textValue() { return valueLine(); }

  /// Loads a picture named inside the train file, relative to the train folder. A section read
  /// again that names the same file keeps the picture it loaded (the panel draws on its own
  /// pictures, so sections do not share them).
  int loadPicture(const std::string& name) {
    if (name.empty()) fail();
    if (log != nullptr) log->loaded(file.lineNumber(), name);
    bool exists = false;
    const std::string path = paths.resolve(where.root, where.trainFolder + name, &exists);
    auto key = std::make_pair(section, exists ? canonicalPath(path) : path);
    if (const auto found = loaded.find(key); found != loaded.end()) return found->second;
    const auto handle = pictures.load(path);
    if (!handle) fail();
    loaded.emplace(std::move(key), *handle);
    return *handle;
  }

  PathResolver paths;
  std::map<std::pair<std::string_view, std::string>, int> loaded;  // by section and file
};

// Scalar sections.

template <auto field>
void readInt(Reading& r) {
  r.train.*field = r.intValue();
}

template <auto field>
void readFixed(Reading& r) {
  r.train.*field = r.fixedValue();
}

template <auto field>
void readInts(Reading& r) {
  for (int& value : r.train.*field) {
    value = r.intValue();
  }
}

template <auto field>
void readFixeds(Reading& r) {
  for (Fixed& value : r.train.*field) {
    value = r.fixedValue();
  }
}

void readBrakeRate2(Reading& r) {
  r.train.BrakeRate2 = r.fixedValue().toDouble();
}

void readStopLine(Reading& r) {
  r.train.StopLine = r.textValue();
  if (r.lists.sign.size() >= PictureLists::kMaxPictures) r.fail();
  const int picture = r.loadPicture(r.train.StopLine);
  r.train.StopLinePicture = picture;
  r.lists.sign.push_back(picture);
}

/// "[Sound_BK]", "[Sound_BR]" (`Brake` lines) and "[Sound_BA]" (`Brake` - 1 lines), sized by
/// the `Brake` read so far.
template <auto field, int fewer>
void readBrakeSounds(Reading& r) {
  const int brake = r.train.Brake;
  if (brake > TrainSpec::kMaxBrakeSounds) r.fail();
  for (int k = 0; k < brake - fewer; ++k) {
    (r.train.*field)[k] = r.intValue();
  }
}

// List sections and the single-value sections among them.

void readSwitchSound(Reading& r) {
  TrainSpec& t = r.train;
  t.SwitchSoundCount = 0;
  while (r.entryLine()) {
    r.beginEntry(t.SwitchSoundCount, TrainSpec::kMaxSwitchSounds);
    SwitchSoundEntry& e = t.SwitchSound[t.SwitchSoundCount];
    e.valueA = r.toInt(csvField(r.line, 1));
    e.valueB = r.toInt(csvField(r.line, 2));
    e.valueC = r.toInt(csvField(r.line, 3));
    ++t.SwitchSoundCount;
  }
}

void readEngineRate(Reading& r) {
  TrainSpec& t = r.train;
  t.EngineRateCount = 0;
  while (r.entryLine()) {
    r.beginEntry(t.EngineRateCount, TrainSpec::kMaxEngineRates);
    EngineRateEntry& e = t.EngineRate[t.EngineRateCount];
    e.value = r.toInt(csvField(r.line, 1));
    e.rate = r.toExtended(csvField(r.line, 2));
    ++t.EngineRateCount;
  }
}

void readGearType(Reading& r) {
  const std::string& value = r.valueLine();
  if (value == "AT") {
    r.train.Gear_Type = 0;
  } else if (value == "MT") {
    r.train.Gear_Type = 1;
  }
}

void readNotch(Reading& r) {
  TrainSpec& t = r.train;
  int index = 0;
  int mode = 0;  // the power mode whose first notch entry was seen last
  while (r.entryLine()) {
    r.beginEntry(index, TrainSpec::kMaxNotches);
    NotchCurve& n = t.Notches[index];
    n.accStart = r.toReal(r.line);
    n.accEnd = r.realValue();
    n.speedConst = r.intValue();
    n.speedPower = r.intValue();
    n.decay = r.realValue();
    n.mode = r.intValue();
    // Entries are grouped by mode in ascending steps of one, so a change of mode starts the
    // next mode.
    if (n.mode != mode) {
      ++mode;
      t.PowerModeFirst[mode] = index;
    }
    ++index;
  }
  if (t.Engine_Type == 0)
    throw DataError(media::translate("TrainReader", "動力が気動車なのにNotch指定があります"));
}

void readEngine(Reading& r) {
  TrainSpec& t = r.train;
  t.GearCount = 0;
  while (r.entryLine()) {
    r.beginEntry(t.GearCount, TrainSpec::kMaxGears);
    GearRow& g = t.Gears[t.GearCount];
    g.speedLow = r.toInt(r.line);
    g.speedMid = r.intValue();
    g.speedHigh = r.intValue();
    g.accLow = r.realValue();
    g.accMid = r.realValue();
    g.accHigh = r.realValue();
    ++t.GearCount;
  }
  if (t.Engine_Type == 1)
    throw DataError(media::translate("TrainReader", "動力が電車なのにEngine指定があります"));
}

void readPowerMode(Reading& r) {
  TrainSpec& t = r.train;
  t.PowerModeCount = 0;
  while (r.entryLine()) {
    r.beginEntry(t.PowerModeCount, TrainSpec::kMaxPowerModes);
    PowerMode& m = t.PowerModes[t.PowerModeCount];
    m.prefix = csvField(r.line, 1);
    m.name = csvField(r.line, 2);
    ++t.PowerModeCount;
  }
}

void readEngineSound1(Reading& r) {
  TrainSpec& t = r.train;
  t.EngineSound1Count = 0;
  while (r.entryLine()) {
    r.beginEntry(t.EngineSound1Count, TrainSpec::kMaxEngineSounds);
    EngineSound1Entry& e = t.EngineSound1[t.EngineSound1Count];
    e.file = r.line;
    e.number = r.intValue();
    for (long double& p : e.p) {
      p = r.extendedValue();
    }
    ++t.EngineSound1Count;
  }
}

void readEngineSound3(Reading& r) {
  TrainSpec& t = r.train;
  t.EngineSound3Count = 0;
  while (r.entryLine()) {
    r.beginEntry(t.EngineSound3Count, TrainSpec::kMaxEngineSounds);
    EngineSound3Entry& e = t.EngineSound3[t.EngineSound3Count];
    e.file = r.line;
    e.numberA = r.intValue();
    e.numberB = r.intValue();
    for (long double& p : e.p) {
      p = r.extendedValue();
    }
    ++t.EngineSound3Count;
  }
}

void readDriveSound(Reading& r) {
  TrainSpec& t = r.train;
  t.DriveSoundCount = 0;
  while (r.entryLine()) {
    r.beginEntry(t.DriveSoundCount, TrainSpec::kMaxDriveSounds);
    t.DriveSound[t.DriveSoundCount] = r.line;
    ++t.DriveSoundCount;
  }
}

// Cab panel sections.

void readClock(Reading& r) {
  ClockSpec& c = r.train.Clock;
  c.x = r.intValue();
  c.y = r.intValue();
  c.handLength = r.intValue();
}

template <auto field>
void readElement(Reading& r) {
  PanelElement& e = r.train.*field;
  e.file = r.textValue();
  e.x = r.intValue();
  e.y = r.intValue();
}

template <auto field, bool ammeter = false>
void readNeedle(Reading& r) {
  GaugeNeedle& n = r.train.*field;
  n.file = r.textValue();
  n.x = r.intValue();
  n.y = r.intValue();
  n.extraA = r.intValue();
  n.extraB = r.intValue();
  n.needleOffset = r.intValue();
  n.needleRate = r.extendedValue();
  if constexpr (ammeter) n.needleAbsolute = r.intValue();
}

void readStripOf(Reading& r, PictureStrip& s) {
  s.x = r.intValue();
  s.y = r.intValue();
  s.patternWidth = r.intValue();
  s.patternHeight = r.intValue();
  s.file = r.textValue();
  // The strip is built at once; an empty file line means the strip is absent.
  s.picture.reset();
  if (!s.file.empty()) s.picture = r.loadPicture(s.file);
}

template <auto field>
void readStrip(Reading& r) {
  readStripOf(r, r.train.*field);
}

void readLampSignal(Reading& r) {
  TrainSpec& t = r.train;
  readStripOf(r, t.Lamp_signal);
  t.CabSignalCount = 0;
  while (r.entryLine()) {
    r.beginEntry(t.CabSignalCount, TrainSpec::kMaxCabSignalCodes);
    // An empty line is an entry that leaves its slot as it was.
    if (!r.line.empty()) t.CabSignalCodes[t.CabSignalCount] = r.toInt(r.line);
    ++t.CabSignalCount;
  }
}

void readOthers(Reading& r) {
  TrainSpec& t = r.train;
  t.OtherCount = 0;
  while (r.entryLine()) {
    r.beginEntry(t.OtherCount, TrainSpec::kMaxOthers);
    PanelElement& e = t.Others[t.OtherCount];
    e.file = r.line;
    e.x = r.intValue();
    e.y = r.intValue();
    ++t.OtherCount;
  }
}

/// One step of the walk that every line takes: the label to set before the test (if any), the
/// key whose leading characters are compared, and the reader of the key's value lines.
struct KeyTest {
  std::string_view label;
  std::string_view key;
  void (*read)(Reading&);
};

using T = TrainSpec;

// The keys in the order a line is tested against them, with the label changes at their places.
constexpr KeyTest kKeyTests[] = {
    {{}, "[Handle]", readInt<&T::Handle>},
    {{}, "[BrakeType]", readInt<&T::BrakeType>},
    {{}, "[Brake]", readInt<&T::Brake>},
    {{}, "[Power]", readInt<&T::Power>},
    {{}, "[NotchBack]", readInt<&T::NotchBack>},
    {{}, "[Hold]", readInt<&T::Hold>},
    {{}, "[Const]", readInt<&T::Const>},
    {{}, "[Back]", readInt<&T::Back>},
    {{}, "[BrakeRate]", readFixeds<&T::BrakeRate>},
    {{}, "[BrakeRate2]", readBrakeRate2},
    {{}, "[PowerDelay]", readInt<&T::PowerDelay>},
    {{}, "[BrakeDelay]", readInt<&T::BrakeDelay>},
    {{}, "[PowerJerk]", readInt<&T::PowerJerk>},
    {{}, "[SAPDelay]", readInt<&T::SAPDelay>},
    {{}, "[BrakeUp]", readInt<&T::BrakeUp>},
    {{}, "[BrakeDown]", readInt<&T::BrakeDown>},
    {{}, "[BPReturn]", readInt<&T::BPReturn>},
    {{}, "[EBPress]", readInt<&T::EBPress>},
    {{}, "[SAPPress]", readInt<&T::SAPPress>},
    {{}, "[HighAirPress]", readInt<&T::HighAirPress>},
    {{}, "[LowAirPress]", readInt<&T::LowAirPress>},
    {{}, "[Curr1]", readInt<&T::Curr1>},
    {{}, "[Curr2]", readInt<&T::Curr2>},
    {{}, "[Engine_Type]", readInt<&T::Engine_Type>},
    {{}, "[DoorType]", readInt<&T::DoorType>},
    {{}, "[Mt]", readFixed<&T::Mt>},
    {{}, "[Tt]", readFixed<&T::Tt>},
    {{}, "[Cars]", readInt<&T::Cars>},
    {{}, "[StopLine]", readStopLine},
    {{}, "[Tons]", readFixed<&T::Tons>},
    {{}, "[EB]", readInt<&T::EB>},
    {{}, "[MaxSpeed]", readInt<&T::MaxSpeed>},
    {{}, "[Lose_elec]", readInt<&T::Lose_elec>},
    {{}, "[ELBR]", readInt<&T::ELBR>},
    {{}, "[Mc]", readInt<&T::Mc>},
    {{}, "[ATS_Type]", readInt<&T::ATS_Type>},
    {{}, "[ATS_Alert]", readInt<&T::ATS_Alert>},
    {{}, "[ATS_Time]", readInt<&T::ATS_Time>},
    {{}, "[ATS_Cnt]", readInt<&T::ATS_Cnt>},
    {{}, "[Sound_BK]", readBrakeSounds<&T::Sound_BK, 0>},
    {{}, "[Sound_BR]", readBrakeSounds<&T::Sound_BR, 0>},
    {{}, "[Sound_BA]", readBrakeSounds<&T::Sound_BA, 1>},
    {{}, "[Sound_EB]", readInt<&T::Sound_EB>},
    {{}, "[Sound_Apply]", readInt<&T::Sound_Apply>},
    {{}, "[Sound_Ats1]", readInt<&T::Sound_Ats1>},
    {{}, "[Sound_Ats2]", readInt<&T::Sound_Ats2>},
    {{}, "[Sound_Atc]", readInt<&T::Sound_Atc>},
    {{}, "[Sound_Horn]", readInt<&T::Sound_Horn>},
    {{}, "[Sound_Horn2]", readInt<&T::Sound_Horn2>},
    {{}, "[Sound_Horn3]", readInt<&T::Sound_Horn3>},
    {{}, "[Sound_DoorOpen]", readInt<&T::Sound_DoorOpen>},
    {{}, "[Sound_DoorClose]", readInt<&T::Sound_DoorClose>},
    {{}, "[Sound_EBring]", readInt<&T::Sound_EBring>},
    {{}, "[Sound_squeak]", readInt<&T::Sound_squeak>},
    {{}, "[CP_Start]", readInt<&T::CP_Start>},
    {{}, "[CP_Cnt]", readInt<&T::CP_Cnt>},
    {{}, "[CP_End]", readInt<&T::CP_End>},
    {{}, "[Stop]", readInt<&T::Stop>},
    {{}, "[Buzzer]", readInts<&T::Buzzer>},
    {{}, "[DepSign]", readInt<&T::DepSign>},
    {{}, "[ATS_Warn]", readInt<&T::ATS_Warn>},
    {{}, "[SwitchSound]", readSwitchSound},
    {{}, "[EngineRate]", readEngineRate},
    {{}, "[Gear_Type]", readGearType},
    {"[Notch]", "[Notch]", readNotch},
    {"[Engine]", "[Engine]", readEngine},
    {"[PowerMode]", "[PowerMode]", readPowerMode},
    {"[EngineSound1]", "[EngineSound1]", readEngineSound1},
    {{}, "[EngineSound2]", readInts<&T::EngineSound2>},
    {"[EngineSound3]", "[EngineSound3]", readEngineSound3},
    {"[DriveSound]", "[DriveSound]", readDriveSound},
    {VELIMORO_TEXT_NOOP("TrainReader", "- アナログ時計"), "[Clock]", readClock},
    {VELIMORO_TEXT_NOOP("TrainReader", "- 運転台パネル"), "[Panel]", readElement<&T::Panel>},
    {{}, "[Panel2]", readElement<&T::Panel2>},
    {{}, "[Lamp_Door]", readElement<&T::Lamp_Door>},
    {{}, "[Lamp_Power]", readElement<&T::Lamp_Power>},
    {{}, "[Lamp_EB]", readElement<&T::Lamp_EB>},
    {{}, "[Lamp_Gen]", readElement<&T::Lamp_Gen>},
    {{}, "[Lamp_Air]", readElement<&T::Lamp_Air>},
    {{}, "[Lamp_Ele]", readElement<&T::Lamp_Ele>},
    {{}, "[Lamp_Ats1]", readElement<&T::Lamp_Ats1>},
    {{}, "[Lamp_Ats2]", readElement<&T::Lamp_Ats2>},
    {{}, "[Lamp_ATSP1]", readElement<&T::Lamp_ATSP1>},
    {{}, "[Lamp_ATSP2]", readElement<&T::Lamp_ATSP2>},
    {{}, "[Lamp_G]", readElement<&T::Lamp_G>},
    {{}, "[Lamp_YG]", readElement<&T::Lamp_YG>},
    {{}, "[Lamp_Y]", readElement<&T::Lamp_Y>},
    {{}, "[Lamp_YY]", readElement<&T::Lamp_YY>},
    {{}, "[Lamp_R]", readElement<&T::Lamp_R>},
    {{}, "[Lamp_Fwd]", readElement<&T::Lamp_Fwd>},
    {{}, "[Lamp_Back]", readElement<&T::Lamp_Back>},
    {{}, "[Lamp_Const]", readElement<&T::Lamp_Const>},
    {{}, "[Lamp_Stop]", readElement<&T::Lamp_Stop>},
    {VELIMORO_TEXT_NOOP("TrainReader", "- 速度計"), "[Needle_Speed]", readNeedle<&T::Needle_Speed>},
    {VELIMORO_TEXT_NOOP("TrainReader", "- BC圧力計"), "[Needle_BC]", readNeedle<&T::Needle_BC>},
    {VELIMORO_TEXT_NOOP("TrainReader", "- SAP圧力計"), "[Needle_SAP]", readNeedle<&T::Needle_SAP>},
    {VELIMORO_TEXT_NOOP("TrainReader", "- ER圧力計"), "[Needle_ER]", readNeedle<&T::Needle_ER>},
    {VELIMORO_TEXT_NOOP("TrainReader", "- BP圧力計"), "[Needle_BP]", readNeedle<&T::Needle_BP>},
    {VELIMORO_TEXT_NOOP("TrainReader", "- MR圧力計"), "[Needle_MR]", readNeedle<&T::Needle_MR>},
    {VELIMORO_TEXT_NOOP("TrainReader", "- 電圧計"), "[Needle_V]", readNeedle<&T::Needle_V>},
    {VELIMORO_TEXT_NOOP("TrainReader", "- 電流計"), "[Needle_I]", readNeedle<&T::Needle_I, true>},
    {"[Lamp_signal]", "[Lamp_signal]", readLampSignal},
    {"[NotchImageP]", "[NotchImageP]", readStrip<&T::NotchImageP>},
    {"[NotchImageB]", "[NotchImageB]", readStrip<&T::NotchImageB>},
    {"[NotchImageP2]", "[NotchImageP2]", readStrip<&T::NotchImageP2>},
    {"[NotchImageB2]", "[NotchImageB2]", readStrip<&T::NotchImageB2>},
    {"[GearImageList]", "[GearImageList]", readStrip<&T::GearImageList>},
    {"[GearImageList2]", "[GearImageList2]", readStrip<&T::GearImageList2>},
    {"[Others]", "[Others]", readOthers},
};
static_assert(std::size(kKeyTests) == 109, "the format has 109 keys");

constexpr bool everyKeyOpensWithBracket() {
  for (const KeyTest& test : kKeyTests)
    if (!test.key.starts_with('[')) return false;
  return true;
}
// A line that does not open with "[" matches no key, so the walk can pass it by whole: it sets
// nothing but the label, which only a matching key's reader shows.
static_assert(everyKeyOpensWithBracket());

}  // namespace

void readTrainFile(const TrainLocation& where, TrainSpec& train, media::PictureLoader& pictures,
                   PictureLists& lists, ReadLog* log) {
  Reading r{where, train, pictures, lists, log, {}, {}, {}, {}, {}, {}};
  if (!r.file.open(resolvePath(where.root, where.trainFolder + where.fileName))) {
    // A file that is not there has no section to name: the message names the file.
    const std::string message =
        media::fill(media::translate("TrainReader", "車両ファイルに誤りがあります:%1"),
                    {where.trainFolder + where.fileName});
    if (log == nullptr) throw DataError(message);
    log->fault(0, message);
    return;
  }
  bool again = false;  // the line a fault stopped at is tested as the next line of the loop
  for (;;) {
    r.label = kBaseLabel;
    if (!again) {
      const TextFileReader::Line result = r.file.readLine(r.line);
      if (result == TextFileReader::Line::kEnd) break;
      if (result == TextFileReader::Line::kBad) {
        if (log == nullptr) r.fail();
        log->fault(r.file.lineNumber(), fileError(r.label));
        continue;
      }
    }
    again = false;
    if (!r.line.starts_with('[')) continue;
    const int turnLine = r.file.lineNumber();
    try {
      // Every key is tested once per turn; a matching key's reader leaves its last value line as
      // the current line, so the keys after it are tested against that line.
      for (const KeyTest& test : kKeyTests) {
        if (!test.label.empty()) r.label = test.label;
        if (!std::string_view(r.line).starts_with(test.key)) continue;
        r.section = test.key;
        if (log != nullptr) log->section(test.key, r.file.lineNumber());
        test.read(r);
      }
    } catch (const DataError& e) {
      if (log == nullptr) throw;
      // The checker goes on at the next section: the faulty line may itself be a header (a
      // value line missing before it), so it is tested again when it lies past the turn's line.
      log->fault(r.file.lineNumber(), e.what());
      again = r.file.lineNumber() > turnLine;
    }
  }
}

bool opensTrainSection(std::string_view line) {
  for (const KeyTest& test : kKeyTests)
    if (line.starts_with(test.key)) return true;
  return false;
}

void settleTrainBrake(TrainSpec& train) {
  if (train.BrakeType == 0) {
    train.Brake = 4;
  } else if (train.Brake < 3) {
    throw DataError(media::translate("TrainReader", "ブレーキの段数を3段以上に設定してください"));
  }
}

void requireDrivableTrain(const TrainSpec& train) {
  if (train.Tons <= Fixed()) throw DataError(fileError("[Tons]"));
  if (train.EBPress <= 0) throw DataError(fileError("[EBPress]"));
}

}  // namespace velimoro
