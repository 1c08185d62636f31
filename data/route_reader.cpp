#include "data/route_reader.h"

#include <array>
#include <cstddef>
#include <map>
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

// The route file error: the label of the section at fault and the line, or the file's name.
constexpr const char* kRouteError =
    VELIMORO_TEXT_NOOP("RouteReader", "路線ファイルに誤りがあります。%1:%2");
constexpr const char* kRouteFileError =
    VELIMORO_TEXT_NOOP("RouteReader", "路線ファイルに誤りがあります。:%1");
// The label of the lines outside the labelled sections; the others are the sections' names.
constexpr std::string_view kOtherLabel = VELIMORO_TEXT_NOOP("RouteReader", "その他");
constexpr const char* kUnreadableLine = VELIMORO_TEXT_NOOP("RouteReader", "(読み取れない行)");

// One reading of a route file: the line last read, the label an error names, and where the
// values go. Every fault unwinds as the route file error naming the label and that line.
struct RouteParse {
  RouteParse(const std::string& rootFolder, RouteData& data, media::PictureLoader& loader,
             PictureLists& pictureLists, ReadLog* readLog)
      : root(rootFolder), route(data), pictures(loader), lists(pictureLists), log(readLog) {}

  [[noreturn]] void fail(std::string_view shown) const {
    const std::string shownLabel = media::translate("RouteReader", std::string(label).c_str());
    throw DataError(media::fill(media::translate("RouteReader", kRouteError), {shownLabel, shown}));
  }
  [[noreturn]] void fail() const { fail(line); }

  // The next line; false at the end of the file, where the line becomes empty.
  bool next() {
    if (!atEnd) {
      switch (file.readLine(line)) {
        case TextFileReader::Line::kRead:
          return true;
        case TextFileReader::Line::kBad:
          line.clear();  // nothing of it is shown or tested
          fail(media::translate("RouteReader", kUnreadableLine));
        case TextFileReader::Line::kEnd:
          break;
      }
      atEnd = true;
    }
    line.clear();
    return false;
  }

  // A value line that a section must have.
  void take() {
    if (!next()) fail();
  }

  // The next record of a list section; false at its "#" line or at the end of the file.
  bool nextRecord() { return next() && !line.starts_with('#'); }

  int toInt(std::string_view text) const {
    const auto value = parseInt(text);
    if (!value) fail();
    return *value;
  }
  int intField(int n) const { return toInt(csvField(line, n)); }
  std::string textField(int n) const { return std::string(csvField(line, n)); }

  // Record `index` of the section being read begins on the current line.
  void noteRecord(int index) const {
    if (log != nullptr) log->record(section, index, file.lineNumber());
  }

  // Reads one record that begins on line `recordLine`. With a log a fault in it is noted and
  // the list goes on at its next record, the faulty one left as it was.
  template <typename Read>
  void readRecord(int recordLine, Read read) {
    if (log == nullptr) {
      read();
      return;
    }
    try {
      read();
    } catch (const DataError& e) {
      log->fault(recordLine, e.what());
    }
  }

  // Loads the picture `name`, given on line `nameLine`. A file the lists name again is loaded
  // once: its pictures are only shown, never drawn on. A name given again is not looked up on
  // the disk again.
  int loadImage(const std::string& name, int nameLine) {
    if (log != nullptr) log->loaded(nameLine, name);
    if (const auto known = imagesByName.find(name); known != imagesByName.end())
      return known->second;
    bool exists = false;
    const std::string path = paths.resolve(root, name, &exists);
    // A file that is not there has no other spelling to compare with.
    const std::string key = exists ? canonicalPath(path) : path;
    auto found = loadedImages.find(key);
    if (found == loadedImages.end()) {
      const auto handle = pictures.load(path);
      if (!handle) fail(name);
      found = loadedImages.emplace(key, *handle).first;
    }
    imagesByName.emplace(name, found->second);
    return found->second;
  }

  // The next picture of `list`; a list that is full is a fault.
  void appendImage(std::vector<int>& list, const std::string& name, int nameLine) {
    if (list.size() >= PictureLists::kMaxPictures) fail(name);
    list.push_back(loadImage(name, nameLine));
  }

  TextFileReader file;
  std::string line;
  std::string_view label = kOtherLabel;
  std::string_view section;  // the header of the section being read
  bool atEnd = false;
  const std::string& root;
  RouteData& route;
  media::PictureLoader& pictures;
  PictureLists& lists;
  ReadLog* log;
  PathResolver paths;
  std::map<std::string, int> loadedImages;  // by canonicalPath
  std::map<std::string, int> imagesByName;  // by the name the file gives
};

// Reads the records of a list section into slots count, count + 1, ... up to `capacity`;
// `store(slot)` takes the current line. A record beyond the capacity is an error.
template <typename Store>
void readList(RouteParse& p, int capacity, int& count, Store store, bool skipComments = false) {
  while (p.nextRecord()) {
    if (skipComments && p.line.starts_with(';')) continue;
    if (count >= capacity) p.fail();
    p.noteRecord(count);
    p.readRecord(p.file.lineNumber(), [&] { store(count); });
    ++count;
  }
}

// A table of comma-separated records, filled from entry 0.
template <typename Entry, std::size_t N>
void readTable(RouteParse& p, std::array<Entry, N>& table, int& count,
               void (*store)(const RouteParse&, Entry&), bool skipComments = false) {
  count = 0;
  readList(
      p, static_cast<int>(N), count,
      [&](int slot) {
        Entry entry{};
        store(p, entry);
        table[static_cast<std::size_t>(slot)] = std::move(entry);
      },
      skipComments);
}

// A table of one int per line, filled from entry `count`.
template <std::size_t N>
void readInts(RouteParse& p, std::array<int, N>& table, int& count) {
  readList(p, static_cast<int>(N), count,
           [&](int slot) { table[static_cast<std::size_t>(slot)] = p.toInt(p.line); });
}

void readImages(RouteParse& p, std::vector<int>& list, int* count = nullptr) {
  for (int index = 0; p.nextRecord(); ++index) {
    p.noteRecord(index);
    p.readRecord(p.file.lineNumber(), [&] {
      p.appendImage(list, p.line, p.file.lineNumber());
      if (count != nullptr) ++*count;
    });
  }
}

// Record layouts of the list sections.

void storeMovieSwitch(const RouteParse& p, MovieSwitchEntry& e) {
  e.kind = p.intField(1);
  e.fromFrame = p.intField(2);
  e.toFrame = p.intField(3);
  e.movieText = p.textField(4);
  e.movieLength = p.intField(5);
  e.resumeFrame = p.intField(6);
}

void storePreTrain(const RouteParse& p, PreTrainEntry& e) {
  e.preA = p.intField(1);
  e.preB = p.intField(2);
  e.preC = p.intField(3);
}

void storeAnnounce(const RouteParse& p, AnnounceEntry& e) {
  e.sound = p.intField(1);
  e.kind = p.intField(2);
  e.station = p.intField(3);
  e.offset = p.intField(4);
}

void storeSound(const RouteParse& p, RouteSoundEntry& e) {
  e.sound = p.intField(1);
  e.startFrame = p.intField(2);
  e.stopFrame = p.intField(3);
  e.refSpeed = p.intField(4);
  e.loop = p.intField(5);
  e.pitchFollows = p.intField(6);
  e.volumeFollows = p.intField(7);
}

void storeDoppler(const RouteParse& p, DopplerEntry& e) {
  e.sound = p.intField(1);
  e.position = p.intField(2);
  e.radius = p.intField(3);
  e.noShift = p.intField(4);
}

void storeTunnel(const RouteParse& p, TunnelEntry& e) {
  e.entry = p.intField(1);
  e.exit = p.intField(2);
  e.darkness = p.intField(3);
}

void storeStation(const RouteParse& p, StationEntry& e) {
  e.name = p.textField(1);
  e.kind = p.intField(2);
  e.stopFrame = p.intField(3);
  e.stopTolerance = p.intField(4);
  e.departSound1 = p.intField(5);
  e.departSound2 = p.intField(6);
  e.stationValue7 = p.intField(7);
  e.departTime = p.intField(8);
  e.stationValue9 = p.intField(9);
  e.stationValue10 = p.intField(10);
  e.stationValue11 = p.intField(11);
  e.stationValue12 = p.intField(12);
  e.stationValue13 = p.intField(13);
  e.stationValue14 = p.intField(14);
}

void storeSignal(const RouteParse& p, SignalEntry& e) {
  e.signalA = p.intField(1);
  e.signalB = p.intField(2);
  e.signalC = p.intField(3);
  e.signalType = p.intField(4);
  e.showFrom = p.intField(5);
  e.showTo = p.intField(6);
  e.signalG = p.intField(7);
  e.position = p.intField(8);
  e.signalI = p.intField(9);
  e.signalJ = p.intField(10);
  e.signalK = p.intField(11);
  e.signalL = p.intField(12);
}

void storeTrafficSignal(const RouteParse& p, TrafficSignalEntry& e) {
  for (int n = 1; n <= 26; ++n)
    e.field[static_cast<std::size_t>(n)] = p.intField(n);
}

void storeSlope(const RouteParse& p, SlopeEntry& e) {
  const auto gradient = parseFixed(csvField(p.line, 1));
  if (!gradient) p.fail();
  e.gradient = *gradient;
  e.from = p.intField(2);
  e.to = p.intField(3);
}

void storeSign(const RouteParse& p, SignEntry& e) {
  e.image = p.intField(1);
  e.from = p.intField(2);
  e.to = p.intField(3);
  e.boardCallout = p.intField(4);
}

void storeAnim(const RouteParse& p, AnimEntry& e) {
  e.from = p.intField(1);
  e.to = p.intField(2);
  e.ticksPerPicture = p.intField(3);
  e.firstPicture = p.intField(4);
}

void storeSignalCallout(const RouteParse& p, SignalCalloutEntry& e) {
  e.signal = p.intField(1);
  e.when = p.intField(2);
  e.voice = p.intField(3);
}

void storeStationCallout(const RouteParse& p, StationCalloutEntry& e) {
  e.station = p.intField(1);
  e.when = p.intField(2);
  e.action = p.intField(3);
}

void storeSpeedLimit(const RouteParse& p, SpeedLimitEntry& e) {
  e.limit = p.intField(1);
  e.image = p.intField(2);
  e.limitC = p.intField(3);
  e.position = p.intField(4);
  e.limitE = p.intField(5);
}

void storeSpeedCheck1(const RouteParse& p, SpeedCheckEntry& e) {
  e.checkA = p.intField(1);
  e.checkB = p.intField(2);
}

void storeSpeedCheck2(const RouteParse& p, SpeedCheckEntry& e) {
  e.checkA = p.intField(1);
  e.checkB = p.intField(2);
  e.checkC = p.intField(3);
}

void storeFrameSpeed(const RouteParse& p, FrameSpeedEntry& e) {
  e.fromFrame = p.intField(1);
  e.toFrame = p.intField(2);
  const auto fromSpeed = parseExtended(csvField(p.line, 3));
  const auto toSpeed = parseExtended(csvField(p.line, 4));
  if (!fromSpeed || !toSpeed) p.fail();
  e.fromSpeed = *fromSpeed;
  e.toSpeed = *toSpeed;
}

void storeCrossing(const RouteParse& p, CrossingEntry& e) {
  e.crossA = p.intField(1);
  e.crossVoice = p.intField(2);
  e.from = p.intField(3);
  e.to = p.intField(4);
  e.crossE = p.intField(5);
}

void storeTime(const RouteParse& p, TimeEntry& e) {
  e.from = p.intField(1);
  e.to = p.intField(2);
  e.at = p.intField(3);
}

void storeSwitch(const RouteParse& p, SwitchEntry& e) {
  e.switchFrame = p.intField(1);
  e.switchValue = p.intField(2);
}

// Section readers. Each starts on its header line and leaves the last line it read in p.line.

// A list of comma-separated records kept in `Table` and counted in `Count`; `SkipComments`
// passes over lines that start with ";".
template <auto Table, auto Count, auto Store, bool SkipComments = false>
void recordSection(RouteParse& p) {
  readTable(p, p.route.*Table, p.route.*Count, Store, SkipComments);
}

// A list of one int per line, filled from entry 0.
template <auto Table, auto Count>
void intSection(RouteParse& p) {
  p.route.*Count = 0;
  readInts(p, p.route.*Table, p.route.*Count);
}

// A list of pictures appended to a picture list.
template <auto List>
void imageSection(RouteParse& p) {
  readImages(p, p.lists.*List);
}

void readLineName(RouteParse& p) {
  p.take();
  p.route.lineName = p.line;
}

void readLineName2(RouteParse& p) {
  p.take();
  p.route.lineName2 = p.line;
}

void readStartPos(RouteParse& p) {
  p.take();
  p.route.startPos = p.toInt(p.line);
}

void readFrameRate(RouteParse& p) {
  p.take();
  p.route.frameRate = p.toInt(p.line);
}

void readStaf(RouteParse& p) {
  p.take();
  p.route.staffImage = p.line;
  p.take();
  p.route.staffBitmap = p.line;
}

void readFriction(RouteParse& p) {
  p.take();
  const auto friction = parseFixed(p.line);
  if (!friction) p.fail();
  p.route.friction = *friction;
}

void readStafSwitch(RouteParse& p) {
  RouteData& r = p.route;
  p.take();  // the page height, even when the line is "#"
  r.staffSwitch[0] = p.toInt(p.line);
  r.staffSwitchCount = 1;
  readInts(p, r.staffSwitch, r.staffSwitchCount);
}

void readDataName(RouteParse& p) {
  p.take();
  p.route.dataName = p.line;
}

void readPerspective(RouteParse& p) {
  p.take();
  const auto distance = parseReal(p.line);
  if (!distance) p.fail();
  p.route.perspectiveDistance = *distance;
  p.take();
  p.route.perspectiveHeight = p.toInt(p.line);
}

void readPreTrain(RouteParse& p) {
  p.take();  // the header record, even when the line is "#"
  p.route.preTrainStart = p.intField(1);
  p.route.preTrainLimit = p.intField(2);
  readTable(p, p.route.preTrains, p.route.preTrainCount, storePreTrain);
}

void readOneMan(RouteParse& p) {
  p.take();
  p.route.oneMan = p.toInt(p.line);
}

void readSoundData(RouteParse& p) {
  RouteData& r = p.route;
  r.soundDataCount = 0;
  readList(p, RouteData::kTable, r.soundDataCount,
           [&](int slot) { r.soundData[static_cast<std::size_t>(slot)] = p.line; });
}

void readAnnounce(RouteParse& p) {
  RouteData& r = p.route;
  p.take();  // the standing announcement, even when the line is "#"
  r.announce[0] = AnnounceEntry{};
  r.announce[0].sound = p.toInt(p.line);
  r.announceCount = 0;
  // Records fill entries 1 on; the count leaves out entry 0.
  readList(p, RouteData::kTable - 1, r.announceCount, [&](int slot) {
    AnnounceEntry entry;
    storeAnnounce(p, entry);
    r.announce[static_cast<std::size_t>(slot) + 1] = entry;
  });
}

void readKankoSound1(RouteParse& p) {
  for (int i = 0; i < RouteData::kKankoSound1Lines; ++i) {
    p.take();
    p.route.kankoSound[static_cast<std::size_t>(i)] = p.line;
  }
}

void readKankoSound2(RouteParse& p) {
  RouteData& r = p.route;
  r.kankoSoundCount = RouteData::kFirstKankoSound2;
  readList(p, RouteData::kKankoSlots, r.kankoSoundCount,
           [&](int slot) { r.kankoSound[static_cast<std::size_t>(slot)] = p.line; });
}

void readOtherImageList(RouteParse& p) {
  RouteData& r = p.route;
  r.otherImageCount = 0;
  // Pairs of an image line and a sound line; only the image line can end the list.
  while (p.nextRecord()) {
    if (r.otherImageCount >= RouteData::kBigTable) p.fail();
    const std::string image = p.line;
    const int imageLine = p.file.lineNumber();
    p.noteRecord(r.otherImageCount);
    if (!p.next()) break;
    p.readRecord(imageLine, [&] { p.appendImage(p.lists.other, image, imageLine); });
    r.otherSounds[static_cast<std::size_t>(r.otherImageCount)] = p.line;
    ++r.otherImageCount;
  }
}

void readAnimImageList(RouteParse& p) {
  p.route.animImageCount = 0;
  readImages(p, p.lists.anim, &p.route.animImageCount);
}

struct Section {
  std::string_view header;
  bool labelled;  // names itself in errors from its comparison on
  void (*read)(RouteParse&);
};

// The sections in the order every top-level line is compared against them. A section can
// only hand its last line on to the sections after it.
constexpr std::array<Section, 44> kSections{{
    {"[LineName]", false, readLineName},
    {"[LineName2]", false, readLineName2},
    {"[StartPos]", false, readStartPos},
    {"[FrameRate]", false, readFrameRate},
    {"[Staf]", false, readStaf},
    {"[Friction]", false, readFriction},
    {"[StafSwitch]", true, readStafSwitch},
    {"[MovieStop]", true, intSection<&RouteData::movieStop, &RouteData::movieStopCount>},
    {"[MovieSwitch]", true,
     recordSection<&RouteData::movieSwitches, &RouteData::movieSwitchCount, storeMovieSwitch>},
    {"[Speed_Signal]", true, intSection<&RouteData::speedSignal, &RouteData::speedSignalCount>},
    {"[DataName]", false, readDataName},
    {"[Perspective]", false, readPerspective},
    {"[Pre_Train]", true, readPreTrain},
    {"[OneMan]", false, readOneMan},
    {"[SoundData]", true, readSoundData},
    {"[Announce]", true, readAnnounce},
    {"[KankoSound1]", true, readKankoSound1},
    {"[KankoSound2]", true, readKankoSound2},
    {"[Sound]", true, recordSection<&RouteData::sounds, &RouteData::soundCount, storeSound, true>},
    {"[Doppler]", true, recordSection<&RouteData::doppler, &RouteData::dopplerCount, storeDoppler>},
    {"[Tunnel]", true, recordSection<&RouteData::tunnels, &RouteData::tunnelCount, storeTunnel>},
    {"[Station]", true,
     recordSection<&RouteData::stations, &RouteData::stationCount, storeStation>},
    {"[StopSound]", true, intSection<&RouteData::stopSounds, &RouteData::stopSoundCount>},
    {"[Signal]", true, recordSection<&RouteData::signals, &RouteData::signalCount, storeSignal>},
    {"[TrafficSignal]", true,
     recordSection<&RouteData::trafficSignals, &RouteData::trafficSignalCount, storeTrafficSignal>},
    {"[Slope]", true, recordSection<&RouteData::slopes, &RouteData::slopeCount, storeSlope>},
    {"[Sign]", true, recordSection<&RouteData::signs, &RouteData::signCount, storeSign>},
    {"[Anim]", true, recordSection<&RouteData::anims, &RouteData::animCount, storeAnim>},
    {"[SignalKanko]", true,
     recordSection<&RouteData::signalCallouts, &RouteData::signalCalloutCount, storeSignalCallout>},
    {"[StationKanko]", true,
     recordSection<&RouteData::stationCallouts, &RouteData::stationCalloutCount,
                   storeStationCallout>},
    {"[SpeedLimit]", true,
     recordSection<&RouteData::speedLimits, &RouteData::speedLimitCount, storeSpeedLimit>},
    {"[SpeedCheck1]", true,
     recordSection<&RouteData::speedChecks1, &RouteData::speedCheck1Count, storeSpeedCheck1>},
    {"[SpeedCheck2]", true,
     recordSection<&RouteData::speedChecks2, &RouteData::speedCheck2Count, storeSpeedCheck2>},
    {"[SignImageList]", true, imageSection<&PictureLists::sign>},
    {"[OtherImageList]", true, readOtherImageList},
    {"[AnimImageList]", true, readAnimImageList},
    {"[SignalImageList]", true, imageSection<&PictureLists::signal>},
    {"[TrafficSignalImageList]", true, imageSection<&PictureLists::trafficSignal>},
    {"[SignalImageList2]", true, imageSection<&PictureLists::signal2>},
    {"[SpeedUnit]", true,
     recordSection<&RouteData::frameSpeeds, &RouteData::frameSpeedCount, storeFrameSpeed>},
    {"[CrossImageList]", true, imageSection<&PictureLists::cross>},
    {"[Cross]", true,
     recordSection<&RouteData::crossings, &RouteData::crossingCount, storeCrossing>},
    {"[Time]", true, recordSection<&RouteData::times, &RouteData::timeCount, storeTime>},
    {"[Switch]", true, recordSection<&RouteData::switches, &RouteData::switchCount, storeSwitch>},
}};

}  // namespace

void readRouteFile(const std::string& root, const std::string& fileName, RouteData& route,
                   media::PictureLoader& pictures, PictureLists& lists, ReadLog* log) {
  RouteParse p(root, route, pictures, lists, log);
  if (!p.file.open(resolvePath(root, fileName))) {
    const std::string message =
        media::fill(media::translate("RouteReader", kRouteFileError), {fileName});
    if (log == nullptr) throw DataError(message);
    log->fault(0, message);
    return;
  }
  bool again = false;  // the line a fault stopped at is compared as the next top-level line
  for (;;) {
    p.label = kOtherLabel;
    int turnLine = p.file.lineNumber();
    try {
      if (!again && !p.next()) break;
      again = false;
      turnLine = p.file.lineNumber();
      for (const Section& section : kSections) {
        if (section.labelled) p.label = section.header;
        if (!p.line.starts_with(section.header)) continue;
        p.section = section.header;
        if (log != nullptr) log->section(section.header, p.file.lineNumber());
        section.read(p);
      }
    } catch (const DataError& e) {
      if (log == nullptr) throw;
      // The checker goes on at the next section: the faulty line may itself be a header (a
      // value line missing before it), so it is compared again when it lies past the turn's line.
      log->fault(p.file.lineNumber(), e.what());
      again = !p.atEnd && p.file.lineNumber() > turnLine;
    }
  }
}

bool opensRouteSection(std::string_view line) {
  for (const Section& section : kSections)
    if (line.starts_with(section.header)) return true;
  return false;
}

std::optional<int> loadStaffPicture(const std::string& root, const RouteData& route,
                                    media::PictureLoader& pictures) {
  if (route.staffImage.empty()) return std::nullopt;
  const auto handle = pictures.load(resolvePath(root, route.staffImage));
  if (!handle) {
    throw DataError(
        media::fill(media::translate("DataFiles", "%1が見つかりません"), {route.staffImage}));
  }
  return handle;
}

}  // namespace velimoro
