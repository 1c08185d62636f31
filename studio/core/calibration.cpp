#include "studio/core/calibration.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include "data/csv.h"
#include "data/numbers.h"
#include "data/rounding.h"
#include "data/route_reader.h"
#include "data/route_records.h"
#include "media/translate.h"

namespace velimoro::studio {
namespace {

// Metres per frame to the table's speed.
constexpr double kSpeedPerMetreFrame = 108;

// Linear interpolation of `ys` over rising `xs`, standing before the first and after the last.
double interpolate(const std::vector<double>& xs, const std::vector<double>& ys, double x) {
  if (x <= xs.front()) return ys.front();
  if (x >= xs.back()) return ys.back();
  const auto hi = static_cast<std::size_t>(std::upper_bound(xs.begin(), xs.end(), x) - xs.begin());
  const std::size_t lo = hi - 1;
  const double t = (x - xs[lo]) / (xs[hi] - xs[lo]);
  return ys[lo] + (ys[hi] - ys[lo]) * t;
}

std::vector<int> knotFrames(int lastFrame, int step) {
  std::vector<int> frames;
  step = std::max(1, step);
  for (int f = 0; f < lastFrame; f += step)
    frames.push_back(f);
  frames.push_back(std::max(lastFrame, 0));
  if (frames.size() >= 2 && frames[frames.size() - 2] == frames.back()) frames.pop_back();
  return frames;
}

std::vector<FrameDistance> sampled(const std::vector<double>& seconds,
                                   const std::vector<double>& metres, const FrameClock& clock,
                                   int lastFrame, int step) {
  std::vector<FrameDistance> out;
  for (int f : knotFrames(lastFrame, step))
    out.push_back({f, interpolate(seconds, metres, clock.at(f))});
  return out;
}

// The speeds at the ends of one segment over distances[from .. to]: their mean gives the distance
// at `to` exactly, their difference the least-squares fit of the distances between (a speed
// that rises or falls steadily); both at least kSlowestFilmingSpeed.
struct Fit {
  double fromSpeed;
  double toSpeed;
};

Fit fit(const std::vector<FrameDistance>& d, std::size_t from, std::size_t to) {
  const double frames = d[to].frame - d[from].frame;
  const double mean = kSpeedPerMetreFrame * (d[to].metres - d[from].metres) / frames;
  if (mean <= kSlowestFilmingSpeed) return {kSlowestFilmingSpeed, kSlowestFilmingSpeed};
  // distance(u) = frames / 108 × (mean × u + half × (u² − u)) for u the share of the frames.
  double num = 0, den = 0;
  for (std::size_t k = from + 1; k < to; ++k) {
    const double u = (d[k].frame - d[from].frame) / frames;
    const double w = frames / kSpeedPerMetreFrame * (u * u - u);
    const double r = d[k].metres - d[from].metres - frames / kSpeedPerMetreFrame * mean * u;
    num += r * w;
    den += w * w;
  }
  const double half =
      den > 0 ? std::clamp(num / den, -(mean - kSlowestFilmingSpeed), mean - kSlowestFilmingSpeed)
              : 0;
  return {mean - half, mean + half};
}

double modelledMetres(const Fit& f, double frames, double u) {
  const double mean = (f.fromSpeed + f.toSpeed) / 2, half = (f.toSpeed - f.fromSpeed) / 2;
  return frames / kSpeedPerMetreFrame * (mean * u + half * (u * u - u));
}

// Whether one segment over distances[from .. to] keeps every given distance within tolerance.
bool mergeable(const std::vector<FrameDistance>& d, std::size_t from, std::size_t to,
               double tolerance) {
  const Fit f = fit(d, from, to);
  const double frames = d[to].frame - d[from].frame;
  for (std::size_t k = from + 1; k < to; ++k) {
    const double modelled = modelledMetres(f, frames, (d[k].frame - d[from].frame) / frames);
    const double actual = d[k].metres - d[from].metres;
    if (std::fabs(modelled - actual) > tolerance * std::max(actual, 0.0) + 0.01) return false;
  }
  return true;
}

std::vector<FrameSpeedEntry> merged(const std::vector<FrameDistance>& d, double tolerance) {
  std::vector<FrameSpeedEntry> out;
  std::size_t from = 0;
  while (from + 1 < d.size()) {
    std::size_t to = from + 1;
    while (to + 1 < d.size() && mergeable(d, from, to + 1, tolerance))
      ++to;
    // Speeds to a thousandth of a km/h: a shorter file, and distances within 0.05 %.
    const Fit f = fit(d, from, to);
    const auto rounded = [](double v) {
      return std::roundl(static_cast<long double>(v) * 1000) / 1000;
    };
    out.push_back({d[from].frame, d[to].frame, rounded(f.fromSpeed), rounded(f.toSpeed), 0});
    from = to;
  }
  return out;
}

}  // namespace

bool frameClock(std::vector<ClockMark> marks, double fps, FrameClock& clock, std::string& error) {
  std::sort(marks.begin(), marks.end(),
            [](const ClockMark& a, const ClockMark& b) { return a.frame < b.frame; });
  if (marks.empty()) {
    error = media::translate("velimoro::studio::Calibration",
                             "時刻の分かるフレームを一つ以上印してください");
    return false;
  }
  clock.firstFrame = marks.front().frame;
  clock.firstSeconds = marks.front().seconds;
  if (marks.size() == 1) {
    if (!(fps > 0) || !std::isfinite(fps)) {
      error = media::translate("velimoro::studio::Calibration",
                               "印が一つのときは動画のフレームレートが要ります");
      return false;
    }
    clock.secondsPerFrame = 1 / fps;
    return true;
  }
  const ClockMark& last = marks.back();
  if (last.frame == clock.firstFrame || !(last.seconds > clock.firstSeconds)) {
    error = media::translate("velimoro::studio::Calibration",
                             "印は別々のフレームに、後のフレームほど後の時刻で付けてください");
    return false;
  }
  clock.secondsPerFrame = (last.seconds - clock.firstSeconds) / (last.frame - clock.firstFrame);
  return true;
}

std::vector<FrameDistance> trackDistances(const std::vector<TrackPoint>& track,
                                          const FrameClock& clock, int lastFrame, int step) {
  std::vector<double> seconds, metres;
  for (std::size_t i = 0; i < track.size(); ++i) {
    seconds.push_back(track[i].seconds);
    metres.push_back(i == 0 ? 0 : metres.back() + metresBetween(track[i - 1], track[i]));
  }
  return sampled(seconds, metres, clock, lastFrame, step);
}

std::vector<FrameDistance> speedLogDistances(const std::vector<SpeedSample>& log,
                                             const FrameClock& clock, int lastFrame, int step) {
  std::vector<double> seconds, metres;
  for (std::size_t i = 0; i < log.size(); ++i) {
    seconds.push_back(log[i].seconds);
    metres.push_back(i == 0 ? 0
                            : metres.back() + (log[i - 1].kmh + log[i].kmh) / 2 / 3.6 *
                                                  (log[i].seconds - log[i - 1].seconds));
  }
  return sampled(seconds, metres, clock, lastFrame, step);
}

bool pairDistances(std::vector<FramePair> pairs, std::vector<FrameDistance>& out,
                   std::string& error) {
  out.clear();
  std::sort(pairs.begin(), pairs.end(),
            [](const FramePair& a, const FramePair& b) { return a.from < b.from; });
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    const FramePair& p = pairs[i];
    if (p.to <= p.from || !(p.metres > 0) || !std::isfinite(p.metres)) {
      error = media::fill(media::translate("velimoro::studio::Calibration",
                                           "フレーム %1〜%2: 終わりのフレームは始めより後に、"
                                           "距離は 0 より大きくしてください"),
                          {std::to_string(p.from), std::to_string(p.to)});
      return false;
    }
    if (i > 0 && p.from < pairs[i - 1].to) {
      error = media::fill(media::translate("velimoro::studio::Calibration",
                                           "フレーム %1〜%2: 前の組と重なっています"),
                          {std::to_string(p.from), std::to_string(p.to)});
      return false;
    }
  }
  if (pairs.empty()) {
    error = media::translate("velimoro::studio::Calibration",
                             "二つのフレームを印して、その間の距離を入れてください");
    return false;
  }
  const auto perFrame = [](const FramePair& p) { return p.metres / (p.to - p.from); };
  out.push_back({pairs[0].from, 0});
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    const FramePair& p = pairs[i];
    if (p.from > out.back().frame)  // a stretch between two pairs
      out.push_back({p.from, out.back().metres + (perFrame(pairs[i - 1]) + perFrame(p)) / 2 *
                                                     (p.from - out.back().frame)});
    out.push_back({p.to, out.back().metres + p.metres});
  }
  return true;
}

std::vector<FrameSpeedEntry> speedSegments(const std::vector<FrameDistance>& distances,
                                           double tolerance) {
  std::vector<FrameDistance> d;
  for (const FrameDistance& k : distances)
    if (d.empty() || k.frame > d.back().frame) d.push_back(k);
  if (d.size() < 2) return {};
  for (;; tolerance *= 2) {
    auto out = merged(d, tolerance);
    if (out.size() <= static_cast<std::size_t>(RouteData::kFrameSpeeds)) return out;
  }
}

std::vector<SlopeEntry> slopeRecords(const std::vector<TrackPoint>& track, const FrameClock& clock,
                                     int lastFrame, int step, double window) {
  std::vector<double> seconds, metres, heights;
  for (std::size_t i = 0; i < track.size(); ++i) {
    if (!track[i].elevation) continue;
    const double along = metres.empty() ? 0 : metres.back() + metresBetween(track[i - 1], track[i]);
    if (!metres.empty() && along <= metres.back()) continue;
    seconds.push_back(track[i].seconds);
    metres.push_back(along);
    heights.push_back(*track[i].elevation);
  }
  if (metres.size() < 2) return {};
  // Half per mille steps over the window centred on each knot.
  struct Knot {
    int frame;
    double gradient;
  };
  std::vector<Knot> knots;
  for (int f : knotFrames(lastFrame, step)) {
    const double at = interpolate(seconds, metres, clock.at(f));
    const double lo = std::max(metres.front(), at - window / 2);
    const double hi = std::min(metres.back(), at + window / 2);
    const double g = hi - lo < 1
                         ? 0
                         : (interpolate(metres, heights, hi) - interpolate(metres, heights, lo)) /
                               (hi - lo) * 1000;
    knots.push_back({f, std::round(g * 2) / 2});
  }
  std::vector<SlopeEntry> out;
  for (std::size_t k = 0; k + 1 < knots.size(); ++k) {
    const double g = knots[k].gradient;
    if (!out.empty() && out.back().to == knots[k].frame &&
        std::fabs(out.back().gradient.toDouble() - g) < 1) {
      out.back().to = knots[k + 1].frame;
      continue;
    }
    if (std::fabs(g) < 0.5) continue;  // level
    out.push_back({knots[k].frame, knots[k + 1].frame, Fixed::fromLongDouble(g)});
  }
  return out;
}

std::vector<FrameSpeedEntry> speedTableOf(const RouteDocument& route) {
  std::vector<FrameSpeedEntry> table;
  for (int i = 0; i < route.recordCount(RouteSection::kSpeedUnit); ++i) {
    const auto lines = route.record(RouteSection::kSpeedUnit, i);
    if (lines.empty()) continue;
    const auto from = parseInt(csvField(lines[0], 1)), to = parseInt(csvField(lines[0], 2));
    const auto c = parseExtended(csvField(lines[0], 3)), d = parseExtended(csvField(lines[0], 4));
    if (!from || !to || !c || !d || *to < *from) continue;
    table.push_back({*from, *to, *c, *d, 0});
  }
  return table;
}

double metresAtFrame(const std::vector<FrameSpeedEntry>& table, int frame) {
  std::int64_t acc = 0;
  for (const FrameSpeedEntry& s : table) {
    if (frame < s.fromFrame) break;
    if (frame < s.toFrame) return static_cast<double>(segmentDistanceCm(s, acc, frame)) / 100;
    acc += roundHalfEven((s.fromSpeed + s.toSpeed) * (s.toFrame - s.fromFrame) / 2.16L);
  }
  return static_cast<double>(acc) / 100;
}

std::optional<double> clockTime(std::string_view text, double start) {
  if (const auto iso = isoSeconds(text)) return iso;
  if (const auto after = parseReal(text); after && std::isfinite(*after)) return start + *after;
  return std::nullopt;
}

bool calibrate(const CalibrationSource& source, Calibration& out, std::string& error) {
  out = {};
  const int step = std::max(1, static_cast<int>(std::lround(std::clamp(source.fps, 1.0, 1000.0))));
  if (source.lastFrame < 1) {
    error = media::translate("velimoro::studio::Calibration",
                             "動画のフレームが少なすぎて速度表を作れません");
    return false;
  }
  using Kind = CalibrationSource::Kind;
  if (source.kind == Kind::kPosts) {
    if (!pairDistances(source.pairs, out.distances, error)) return false;
    // Before the first pair and after the last the video runs on at the nearest pair's speed.
    auto& d = out.distances;
    const double firstRate = (d[1].metres - d[0].metres) / (d[1].frame - d[0].frame);
    const double lastRate =
        (d.back().metres - d[d.size() - 2].metres) / (d.back().frame - d[d.size() - 2].frame);
    if (d.front().frame > 0) {
      const double before = firstRate * d.front().frame;
      for (FrameDistance& k : d)
        k.metres += before;
      d.insert(d.begin(), {0, 0});
    }
    while (!d.empty() && d.back().frame > source.lastFrame)
      d.pop_back();
    if (d.size() < 2) {
      error = media::translate("velimoro::studio::Calibration",
                               "組のフレームが動画の最後のフレームを越えています");
      return false;
    }
    if (d.back().frame < source.lastFrame)
      d.push_back(
          {source.lastFrame, d.back().metres + lastRate * (source.lastFrame - d.back().frame)});
  } else {
    const bool track = source.kind == Kind::kTrack;
    if (track ? source.track.size() < 2 : source.log.size() < 2) {
      error =
          track
              ? media::translate("velimoro::studio::Calibration", "GPX の軌跡を読み込んでください")
              : media::translate("velimoro::studio::Calibration", "速度記録を読み込んでください");
      return false;
    }
    FrameClock clock;
    if (!frameClock(source.marks, source.fps, clock, error)) return false;
    out.distances = track ? trackDistances(source.track, clock, source.lastFrame, step)
                          : speedLogDistances(source.log, clock, source.lastFrame, step);
    if (source.slopes && track)
      out.slopes = slopeRecords(source.track, clock, source.lastFrame, step);
  }
  out.slopesAsked = source.slopes && source.kind == Kind::kTrack;
  out.segments = speedSegments(out.distances);
  if (out.segments.empty()) {
    error = media::translate("velimoro::studio::Calibration",
                             "動画のフレームが少なすぎて速度表を作れません");
    return false;
  }
  const FrameDistance& first = out.distances.front();
  const double base = metresAtFrame(out.segments, first.frame);
  for (const FrameDistance& k : out.distances) {
    const double given = k.metres - first.metres;
    if (given <= 1) continue;
    out.worstDeviation = std::max(
        out.worstDeviation, std::fabs(metresAtFrame(out.segments, k.frame) - base - given) / given);
  }
  return true;
}

bool writeCalibration(RouteDocument& route, const std::vector<FrameSpeedEntry>& segments,
                      const std::vector<SlopeEntry>* slopes) {
  RouteDocument changed = route;
  std::vector<std::vector<std::string>> lines;
  for (const FrameSpeedEntry& s : segments)
    lines.push_back({recordLine(s)});
  if (!changed.setRecords(RouteSection::kSpeedUnit, lines)) return false;
  if (slopes != nullptr) {
    lines.clear();
    for (const SlopeEntry& s : *slopes)
      lines.push_back({recordLine(s)});
    if (!changed.setRecords(RouteSection::kSlope, lines)) return false;
  }
  route = std::move(changed);
  return true;
}

}  // namespace velimoro::studio
