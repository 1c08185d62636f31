#include "present/aid_overlay.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iomanip>
#include <sstream>

#include "data/rounding.h"
#include "media/translate.h"
#include "present/picture_effects.h"
#include "sim/atc.h"
#include "sim/driver_aids.h"
#include "sim/handle_steps.h"
#include "sim/signal_codes.h"

namespace velimoro {
namespace {

constexpr int kTextSize = 12;
constexpr int kRight = 596;  // the panel's right edge, clear of the picture's border
constexpr int kTop = 36;     // under the guidance line
constexpr int kPitch = 18;   // from one line to the next
constexpr int kShadeMargin = 5;
constexpr media::Rgb kTextColour = 0xFFFFFF;
constexpr media::Rgb kShadowColour = 0x000000;
// Within this distance the stop point is shown to a tenth of a metre.
constexpr long double kTenthsWithinCm = 5000;

std::string metres(long double cm, bool tenths) {
  std::ostringstream out;
  if (tenths) {
    out << std::fixed << std::setprecision(1) << static_cast<double>(roundHalfEven(cm / 10)) / 10;
  } else {
    out << roundHalfEven(cm / 100);
  }
  out << " m";
  return out.str();
}

std::string stopLine(const SimState& s) {
  if (s.aid_stopped) {
    const long double off = std::fabs(s.aid_stop_result_cm);
    const bool within = off <= s.aid_stop_tolerance_cm;
    const bool shortOfMark = s.aid_stop_result_cm >= 0;
    const char* text = shortOfMark
                           ? (within ? VELIMORO_TEXT_NOOP("AidOverlay", "%1 手前 (±%2)")
                                     : VELIMORO_TEXT_NOOP("AidOverlay", "%1 手前 (±%2 外)"))
                           : (within ? VELIMORO_TEXT_NOOP("AidOverlay", "%1 行き過ぎ (±%2)")
                                     : VELIMORO_TEXT_NOOP("AidOverlay", "%1 行き過ぎ (±%2 外)"));
    return media::fill(media::translate("AidOverlay", text),
                       {metres(off, true), metres(s.aid_stop_tolerance_cm, true)});
  }
  if (!s.aid_stop_ahead) return {};
  if (s.aid_stop_cm < 0) {
    return media::fill(media::translate("AidOverlay", "停止位置を %1 過ぎています"),
                       {metres(-s.aid_stop_cm, true)});
  }
  return media::fill(media::translate("AidOverlay", "停止位置まで %1"),
                     {metres(s.aid_stop_cm, s.aid_stop_cm < kTenthsWithinCm)});
}

std::string aspectWord(const SimDrive& drive, int code) {
  switch (aspectClass(code)) {
    case AspectClass::kStop:
      return media::translate("AidOverlay", "停止");
    case AspectClass::kRestricting:
      return media::translate("AidOverlay", "警戒");
    case AspectClass::kCaution:
      return media::translate("AidOverlay", "注意");
    case AspectClass::kReducedSpeed:
      return media::translate("AidOverlay", "減速");
    case AspectClass::kClear:
      return media::translate("AidOverlay", "進行");
    case AspectClass::kNone:
      break;
  }
  // A cab code says its speed; the signals without lamps say nothing.
  const std::optional<int> speed = atcSpeed(*drive.route, code);
  return speed ? "ATC " + std::to_string(*speed) : std::string();
}

std::string signalLine(const SimDrive& drive) {
  const SimState& s = drive.state;
  if (s.aid_signal_aspect == 999) return {};
  const std::string aspect = aspectWord(drive, s.aid_signal_aspect);
  if (aspect.empty()) return {};
  return media::fill(media::translate("AidOverlay", "信号 %1  %2"),
                     {aspect, metres(s.aid_signal_cm, false)});
}

std::string limitLine(const SimState& s) {
  const std::string limit = s.aid_limit > 0 ? std::to_string(s.aid_limit) : std::string("-");
  if (s.aid_next_limit_cm <= 0)
    return media::fill(media::translate("AidOverlay", "制限 %1"), {limit});
  return media::fill(media::translate("AidOverlay", "制限 %1  次 %2 (%3)"),
                     {limit, std::to_string(s.aid_next_limit), metres(s.aid_next_limit_cm, false)});
}

std::string modeLine(const SimDrive& drive) {
  const TrainSpec& train = *drive.train;
  const PowerMode& mode = train.PowerModes[static_cast<std::size_t>(
      std::clamp(selectedPowerMode(drive.state), 0, TrainSpec::kMaxPowerModes - 1))];
  const std::string top = mode.prefix + std::to_string(drive.state.aid_top_notch);
  if (mode.name.empty()) return media::fill(media::translate("AidOverlay", "最大 %1"), {top});
  return media::fill(media::translate("AidOverlay", "%1 最大 %2"), {mode.name, top});
}

std::string refusalText(const SimState& s) {
  if (s.tick_count - s.aid_refused_tick >= kAidRefusalTicks) return {};
  switch (static_cast<AidRefusal>(s.aid_refused)) {
    case AidRefusal::kTopNotch:
      return media::translate("AidOverlay", "これ以上のノッチはありません");
    case AidRefusal::kModeWithPower:
      return media::translate("AidOverlay", "ノッチを切ってから切り替えます");
    case AidRefusal::kNone:
      break;
  }
  return {};
}

// The height of the panel's text box.
int panelHeight(const std::vector<AidLine>& lines) {
  return static_cast<int>(lines.size()) * kPitch - 2;
}

int widest(const std::vector<AidLine>& lines, const media::CabSurface& surface) {
  int width = 0;
  for (const AidLine& line : lines)
    width = std::max(width, surface.measureText(line.text, kTextSize).first);
  return width;
}

// Reddens the rows of an alert line, in the picture's own pixel layout: the picture shows
// through a third.
void redden(media::RgbPicture& picture, int x, int y, int width, int height, double scale) {
  const auto device = [scale](int at) { return static_cast<int>(std::floor(at * scale)); };
  const int firstRow = std::max(device(y), 0);
  const int endRow = std::min(device(y + height), picture.height);
  const int firstColumn = std::max(device(x), 0);
  const int endColumn = std::min(device(x + width), picture.width);
  const auto step = static_cast<std::size_t>(picture.bytesPerPixel());
  for (int r = firstRow; r < endRow; ++r) {
    std::size_t at = (static_cast<std::size_t>(r) * picture.width + firstColumn) * step;
    for (int j = firstColumn; j < endColumn; ++j, at += step) {
      const std::uint32_t rgb = picture.rgbAt(at);
      const std::uint32_t red = ((rgb >> 16) + 2 * 200) / 3;
      const std::uint32_t green = (rgb >> 8 & 0xFF) / 3;
      const std::uint32_t blue = (rgb & 0xFF) / 3;
      picture.setRgb(at, red << 16 | green << 8 | blue);
    }
  }
}

}  // namespace

std::vector<AidLine> aidLines(const SimDrive& drive) {
  const SimState& s = drive.state;
  std::vector<AidLine> lines;
  const auto add = [&lines](std::string text, bool alert = false) {
    if (!text.empty()) lines.push_back({std::move(text), alert});
  };
  add(stopLine(s));
  add(signalLine(drive));
  add(limitLine(s));
  add(modeLine(drive));
  add(refusalText(s), true);
  const BrakeCause cause = brakeCauseOf(s.brake_cause);
  if (cause != BrakeCause::kNone) add(media::translate("DriverAids", brakeCauseText(cause)), true);
  return lines;
}

AidPanelPlace aidPanelPlace(const std::vector<AidLine>& lines, const media::CabSurface& surface) {
  if (lines.empty()) return {};
  const int height = panelHeight(lines);
  const int left = kRight - widest(lines, surface);
  return {left - kShadeMargin, kTop - kShadeMargin, kRight + kShadeMargin + 1,
          kTop + height + kShadeMargin + 1};
}

void shadeAidPanel(media::RgbPicture& picture, const std::vector<AidLine>& lines,
                   const media::CabSurface& surface, double scale) {
  if (lines.empty()) return;
  const int width = widest(lines, surface);
  const int left = kRight - width;
  shadeTextBox(picture, left, kTop, panelHeight(lines), width, scale);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].alert)
      redden(picture, left, kTop + static_cast<int>(i) * kPitch, width, kPitch - 1, scale);
  }
}

void writeAidPanel(media::CabSurface& surface, const std::vector<AidLine>& lines) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& text = lines[i].text;
    const int x = kRight - surface.measureText(text, kTextSize).first;
    const int y = kTop + static_cast<int>(i) * kPitch;
    surface.drawText(x + 1, y + 1, text, kTextSize, kShadowColour);
    surface.drawText(x, y, text, kTextSize, kTextColour);
  }
}

}  // namespace velimoro
