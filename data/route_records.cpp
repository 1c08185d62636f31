#include "data/route_records.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <utility>

namespace velimoro {
namespace {

std::string fields(std::initializer_list<long long> values) {
  std::string line;
  for (long long v : values) {
    if (!line.empty()) line += ',';
    line += std::to_string(v);
  }
  return line;
}

// The shortest text that reads back the same; plain decimals for the values a route has, the
// exponent form only where plain digits would run long.
template <typename Real>
std::string shortestDecimal(Real value) {
  char text[128];
  const bool plain =
      std::fabs(value) < Real(1e15) && !(value != 0 && std::fabs(value) < Real(1e-6));
  const auto [end, ec] =
      std::to_chars(text, text + sizeof text, value,
                    plain ? std::chars_format::fixed : std::chars_format::general);
  std::string out = ec == std::errc() ? std::string(text, end) : std::string("0");
  if (out.find_first_of(".e") == std::string::npos) out += ".0";
  return out;
}

}  // namespace

std::string decimalText(Fixed value) {
  const std::int64_t raw = value.raw();
  const std::uint64_t magnitude =
      raw < 0 ? 0 - static_cast<std::uint64_t>(raw) : static_cast<std::uint64_t>(raw);
  std::string out = raw < 0 ? "-" : "";
  out += std::to_string(magnitude / Fixed::kScale);
  std::string places = std::to_string(magnitude % Fixed::kScale);
  places.insert(0, 4 - places.size(), '0');
  while (places.size() > 1 && places.back() == '0')
    places.pop_back();
  return out + "." + places;
}

std::string decimalText(long double value) {
  return shortestDecimal(value);
}

std::string decimalText(double value) {
  return shortestDecimal(value);
}

std::string recordLine(const MovieSwitchEntry& e) {
  return fields({e.kind, e.fromFrame, e.toFrame}) + "," + e.movieText + "," +
         fields({e.movieLength, e.resumeFrame});
}
std::string recordLine(const PreTrainEntry& e) {
  return fields({e.preA, e.preB, e.preC});
}
std::string recordLine(const AnnounceEntry& e) {
  return fields({e.sound, e.kind, e.station, e.offset});
}
std::string recordLine(const RouteSoundEntry& e) {
  return fields(
      {e.sound, e.startFrame, e.stopFrame, e.refSpeed, e.loop, e.pitchFollows, e.volumeFollows});
}
std::string recordLine(const DopplerEntry& e) {
  return fields({e.sound, e.position, e.radius, e.noShift});
}
std::string recordLine(const TunnelEntry& e) {
  return fields({e.entry, e.exit, e.darkness});
}
std::string recordLine(const StationEntry& e) {
  return e.name + "," +
         fields({e.kind, e.stopFrame, e.stopTolerance, e.departSound1, e.departSound2,
                 e.stationValue7, e.departTime, e.stationValue9, e.stationValue10, e.stationValue11,
                 e.stationValue12, e.stationValue13, e.stationValue14});
}
std::string recordLine(const SignalEntry& e) {
  return fields({e.signalA, e.signalB, e.signalC, e.signalType, e.showFrom, e.showTo, e.signalG,
                 e.position, e.signalI, e.signalJ, e.signalK, e.signalL});
}
std::string recordLine(const TrafficSignalEntry& e) {
  std::string line;
  for (int n = 1; n <= 26; ++n) {
    if (n > 1) line += ',';
    line += std::to_string(e.field[static_cast<std::size_t>(n)]);
  }
  return line;
}
std::string recordLine(const SlopeEntry& e) {
  return decimalText(e.gradient) + "," + fields({e.from, e.to});
}
std::string recordLine(const SignEntry& e) {
  return fields({e.image, e.from, e.to, e.boardCallout});
}
std::string recordLine(const AnimEntry& e) {
  return fields({e.from, e.to, e.ticksPerPicture, e.firstPicture});
}
std::string recordLine(const SignalCalloutEntry& e) {
  return fields({e.signal, e.when, e.voice});
}
std::string recordLine(const StationCalloutEntry& e) {
  return fields({e.station, e.when, e.action});
}
std::string recordLine(const SpeedLimitEntry& e) {
  return fields({e.limit, e.image, e.limitC, e.position, e.limitE});
}
std::string speedCheck1Line(const SpeedCheckEntry& e) {
  return fields({e.checkA, e.checkB});
}
std::string speedCheck2Line(const SpeedCheckEntry& e) {
  return fields({e.checkA, e.checkB, e.checkC});
}
std::string recordLine(const FrameSpeedEntry& e) {
  return fields({e.fromFrame, e.toFrame}) + "," + decimalText(e.fromSpeed) + "," +
         decimalText(e.toSpeed);
}
std::string recordLine(const CrossingEntry& e) {
  return fields({e.crossA, e.crossVoice, e.from, e.to, e.crossE});
}
std::string recordLine(const TimeEntry& e) {
  return fields({e.from, e.to, e.at});
}
std::string recordLine(const SwitchEntry& e) {
  return fields({e.switchFrame, e.switchValue});
}

namespace {

// Appends sections; `ok` turns false at the first line the document refuses.
struct SectionWriter {
  RouteDocument& doc;
  bool ok = true;

  void section(RouteSection s) { ok = ok && doc.appendSection(s); }
  void line(const std::string& text) { ok = ok && doc.appendLine(text); }
  void end() { ok = ok && doc.endList(); }

  // A section of value lines.
  void values(RouteSection s, std::initializer_list<std::string> lines) {
    section(s);
    for (const std::string& v : lines)
      line(v);
  }
  // A list of `lines`: entries `from` .. `count` - 1 of a table, after the list's value lines.
  template <typename Entry, std::size_t N, typename Format>
  void list(RouteSection s, std::initializer_list<std::string> head,
            const std::array<Entry, N>& table, int from, int count, Format format) {
    if (count < from || count > static_cast<int>(N)) ok = false;
    values(s, head);
    for (int i = from; ok && i < count; ++i)
      line(format(table[static_cast<std::size_t>(i)]));
    end();
  }
  template <typename Entry, std::size_t N>
  void list(RouteSection s, const std::array<Entry, N>& table, int count) {
    list(s, {}, table, 0, count, [](const Entry& e) { return recordLine(e); });
  }
  template <std::size_t N>
  void ints(RouteSection s, std::initializer_list<std::string> head,
            const std::array<int, N>& table, int from, int count) {
    list(s, head, table, from, count, [](int v) { return std::to_string(v); });
  }
  template <std::size_t N>
  void texts(RouteSection s, const std::array<std::string, N>& table, int from, int count) {
    list(s, {}, table, from, count, [](const std::string& v) { return v; });
  }
  void names(RouteSection s, const std::vector<std::string>& lines) {
    section(s);
    for (const std::string& v : lines)
      line(v);
    end();
  }
};

}  // namespace

bool writeRouteDocument(const RouteData& r, const RoutePictureNames& pictures, RouteDocument& out) {
  if (r.otherImageCount < 0 || r.otherImageCount > RouteData::kBigTable ||
      static_cast<int>(pictures.other.size()) != r.otherImageCount || r.staffSwitchCount < 1)
    return false;
  RouteDocument doc;
  SectionWriter w{doc};
  using S = RouteSection;
  w.values(S::kLineName, {r.lineName});
  w.values(S::kLineName2, {r.lineName2});
  w.values(S::kStartPos, {std::to_string(r.startPos)});
  w.values(S::kFrameRate, {std::to_string(r.frameRate)});
  w.values(S::kStaf, {r.staffImage, r.staffBitmap});
  w.values(S::kFriction, {decimalText(r.friction)});
  w.ints(S::kStafSwitch, {std::to_string(r.staffSwitch[0])}, r.staffSwitch, 1, r.staffSwitchCount);
  w.ints(S::kMovieStop, {}, r.movieStop, 0, r.movieStopCount);
  w.list(S::kMovieSwitch, r.movieSwitches, r.movieSwitchCount);
  w.ints(S::kSpeedSignal, {}, r.speedSignal, 0, r.speedSignalCount);
  w.values(S::kDataName, {r.dataName});
  w.values(S::kPerspective,
           {decimalText(r.perspectiveDistance), std::to_string(r.perspectiveHeight)});
  w.list(S::kPreTrain, {fields({r.preTrainStart, r.preTrainLimit})}, r.preTrains, 0,
         r.preTrainCount, [](const PreTrainEntry& e) { return recordLine(e); });
  w.values(S::kOneMan, {std::to_string(r.oneMan)});
  w.texts(S::kSoundData, r.soundData, 0, r.soundDataCount);
  // Records fill entries 1 on; entry 0 holds the standing announcement.
  w.list(S::kAnnounce, {std::to_string(r.announce[0].sound)}, r.announce, 1, r.announceCount + 1,
         [](const AnnounceEntry& e) { return recordLine(e); });
  w.section(S::kKankoSound1);
  for (int i = 0; i < RouteData::kKankoSound1Lines; ++i)
    w.line(r.kankoSound[static_cast<std::size_t>(i)]);
  w.texts(S::kKankoSound2, r.kankoSound, RouteData::kFirstKankoSound2, r.kankoSoundCount);
  w.list(S::kSound, r.sounds, r.soundCount);
  w.list(S::kDoppler, r.doppler, r.dopplerCount);
  w.list(S::kTunnel, r.tunnels, r.tunnelCount);
  w.list(S::kStation, r.stations, r.stationCount);
  w.ints(S::kStopSound, {}, r.stopSounds, 0, r.stopSoundCount);
  w.list(S::kSignal, r.signals, r.signalCount);
  w.list(S::kTrafficSignal, r.trafficSignals, r.trafficSignalCount);
  w.list(S::kSlope, r.slopes, r.slopeCount);
  w.list(S::kSign, r.signs, r.signCount);
  w.list(S::kAnim, r.anims, r.animCount);
  w.list(S::kSignalKanko, r.signalCallouts, r.signalCalloutCount);
  w.list(S::kStationKanko, r.stationCallouts, r.stationCalloutCount);
  w.list(S::kSpeedLimit, r.speedLimits, r.speedLimitCount);
  w.list(S::kSpeedCheck1, {}, r.speedChecks1, 0, r.speedCheck1Count, speedCheck1Line);
  w.list(S::kSpeedCheck2, {}, r.speedChecks2, 0, r.speedCheck2Count, speedCheck2Line);
  w.names(S::kSignImageList, pictures.sign);
  w.section(S::kOtherImageList);
  for (int i = 0; i < r.otherImageCount; ++i) {
    w.line(pictures.other[static_cast<std::size_t>(i)]);
    w.line(r.otherSounds[static_cast<std::size_t>(i)]);
  }
  w.end();
  w.names(S::kAnimImageList, pictures.anim);
  w.names(S::kSignalImageList, pictures.signal);
  w.names(S::kTrafficSignalImageList, pictures.trafficSignal);
  w.names(S::kSignalImageList2, pictures.signal2);
  w.list(S::kSpeedUnit, r.frameSpeeds, r.frameSpeedCount);
  w.names(S::kCrossImageList, pictures.cross);
  w.list(S::kCross, r.crossings, r.crossingCount);
  w.list(S::kTime, r.times, r.timeCount);
  w.list(S::kSwitch, r.switches, r.switchCount);
  if (!w.ok) return false;
  out = std::move(doc);
  return true;
}

}  // namespace velimoro
