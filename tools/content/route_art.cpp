#include "tools/content/route_art.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "sim/signal_codes.h"
#include "tools/content/canvas.h"
#include "tools/content/writers.h"

namespace velimoro::content {
namespace {

constexpr Rgb kRed{235, 30, 30};
constexpr Rgb kYellow{250, 200, 20};
constexpr Rgb kGreen{40, 220, 90};
constexpr Rgb kDark{35, 35, 35};
constexpr Rgb kHead{20, 20, 22};

std::string path(const std::string& root, const std::string& name) {
  return root + "/image/route/" + name;
}

// Lamps lit top to bottom for an aspect code: a column of up to four lamps on a black head.
std::vector<Rgb> lampsOf(int code) {
  if (code == 1) return {kDark, kDark, kDark, kDark};
  switch (aspectClass(code)) {
    case AspectClass::kStop:
      return {kDark, kRed, kDark, kDark};
    case AspectClass::kRestricting:
      return {kYellow, kDark, kDark, kYellow};  // two yellows
    case AspectClass::kCaution:
      return {kDark, kDark, kYellow, kDark};
    case AspectClass::kReducedSpeed:
      return {kYellow, kDark, kDark, kGreen};  // yellow over green
    default:
      return {kDark, kDark, kDark, kGreen};  // clear
  }
}

Canvas aspectPicture(int code) {
  Canvas c(36, 110, kTransparentKey);
  c.fillRect(15, 90, 6, 20, Rgb{90, 90, 90});
  c.fillRect(2, 2, 32, 90, kHead);
  const auto lamps = lampsOf(code);
  for (std::size_t i = 0; i < lamps.size(); ++i)
    c.fillCircle(18, 14 + 21.0 * static_cast<double>(i), 8, lamps[i]);
  return c;
}

Canvas board(int w, int h, Rgb face, Rgb border, const std::string& marks, Rgb ink) {
  Canvas c(w, h, kTransparentKey);
  c.fillRect(0, 0, w, h, border);
  c.fillRect(3, 3, w - 6, h - 6, face);
  const int size = h - 16;
  c.text((w - Canvas::textWidth(size, marks)) / 2 + 1, 8, size, marks, ink);
  return c;
}

Canvas gradeSign(bool up) {
  Canvas c(48, 30, Rgb{245, 245, 240});
  c.frameRect(0, 0, 48, 30, 2, kDark);
  c.line(4, up ? 26 : 4, 44, up ? 4 : 26, 4, kDark);
  return c;
}

Canvas crossingSign() {
  Canvas c(48, 48, kTransparentKey);
  c.line(4, 4, 44, 44, 9, Rgb{250, 220, 30});
  c.line(4, 44, 44, 4, 9, Rgb{250, 220, 30});
  c.line(4, 4, 44, 44, 3, kDark);
  c.line(4, 44, 44, 4, 3, kDark);
  return c;
}

Canvas standby() {
  Canvas c(604, 630);
  c.gradientRect(0, 0, 604, 630, Rgb{20, 40, 90}, Rgb{5, 10, 25});
  // The line's emblem: three rails converging, as seen from the cab.
  for (int i = -1; i <= 1; ++i)
    c.line(302 + i * 60, 600, 302 + i * 8, 260, 6, Rgb{200, 200, 210});
  for (int y = 280; y < 600; y += 40)
    c.fillRect(302 - (y - 200) / 3, y, 2 * (y - 200) / 3, 5, Rgb{120, 100, 80});
  c.fillCircle(302, 180, 60, Rgb{240, 200, 60});
  c.fillCircle(302, 180, 48, Rgb{20, 40, 90});
  return c;
}

// Level crossing warning lamps: the two red lamps take turns, each lit for half of the
// pictures, coming up and dying away at the ends of its turn.
Canvas crossingLamps(int picture) {
  Canvas c(64, 60, kTransparentKey);
  c.fillRect(30, 22, 4, 38, Rgb{60, 60, 60});
  c.line(14, 2, 50, 20, 5, Rgb{250, 220, 30});
  c.line(14, 20, 50, 2, 5, Rgb{250, 220, 30});
  c.fillRect(4, 26, 56, 22, kHead);
  const double glow[kAnimPictures / 2] = {0.55, 1, 1, 1, 1, 0.8, 0.35};
  const int half = kAnimPictures / 2;
  const double left = picture < half ? glow[picture] : 0;
  const double right = picture >= half ? glow[picture - half] : 0;
  const auto lamp = [&](double x, double level) {
    c.fillCircle(x, 37, 9, mix(Rgb{70, 15, 15}, Rgb{255, 40, 30}, level));
    if (level > 0.9) c.fillCircle(x - 2, 35, 3, Rgb{255, 170, 150});
  };
  lamp(16, left);
  lamp(48, right);
  return c;
}

// A shunter's green flag waving on its staff: the cloth's wave runs out from the staff and the
// staff sways with it over the pictures.
Canvas wavingFlag(int picture) {
  Canvas c(56, 64, kTransparentKey);
  constexpr double kPi = 3.14159265358979323846;
  const double phase = 2 * kPi * picture / kAnimPictures;
  const double sway = 5 * std::sin(phase);
  const double topX = 12 + sway, topY = 6;
  c.line(12, 62, topX, topY, 3, Rgb{120, 90, 60});
  for (int x = 0; x < 36; ++x) {
    const double t = x / 36.0;
    const double wave = std::sin(phase - 4 * t) * 6 * t;
    const double y0 = topY + 2 + wave, y1 = topY + 24 + wave - 3 * t;
    const Rgb cloth = mix(Rgb{20, 150, 60}, Rgb{60, 210, 100}, 0.5 + 0.5 * std::cos(phase - 4 * t));
    c.line(topX + 2 + x, y0, topX + 2 + x, y1, 1.2, cloth);
  }
  return c;
}

// Lineside boards of the other-picture list.
Canvas rockfallBoard() {
  Canvas c(48, 48, kTransparentKey);
  for (int y = 0; y < 48; ++y) {
    const int half = 24 - std::abs(y - 24);
    c.fillRect(24 - half, y, 2 * half, 1, kDark);
    if (half > 3) c.fillRect(27 - half, y, 2 * half - 6, 1, Rgb{250, 205, 30});
  }
  c.line(12, 34, 30, 14, 3, kDark);  // the slope
  c.fillCircle(30, 26, 3.5, kDark);
  c.fillCircle(26, 33, 3, kDark);
  c.fillCircle(33, 35, 2.5, kDark);
  return c;
}

Canvas whistleBoard() {
  Canvas c(40, 48, Rgb{250, 250, 250});
  c.frameRect(0, 0, 40, 48, 3, kDark);
  // A horn: its mouthpiece and its bell opening to the right.
  c.fillRect(8, 21, 12, 6, kDark);
  for (int x = 20; x < 33; ++x) {
    const int half = 3 + (x - 20) * 9 / 12;
    c.fillRect(x, 24 - half, 1, 2 * half, kDark);
  }
  return c;
}

// Road traffic signal pictures: the train's lamp in its housing, and the detector's lamp.
Canvas trafficPicture(int picture) {
  Canvas c(40, 48, kTransparentKey);
  c.fillRect(2, 2, 36, 44, kHead);
  const Rgb off{45, 45, 45};
  switch (picture) {
    case kTrafficStop:
      c.fillCircle(20, 24, 13, kRed);
      break;
    case kTrafficGo:
      c.fillCircle(20, 24, 13, off);
      c.line(20, 34, 20, 14, 4, kGreen);  // an arrow straight on
      c.line(20, 13, 13, 21, 4, kGreen);
      c.line(20, 13, 27, 21, 4, kGreen);
      break;
    case kTrafficClearing:
      c.fillCircle(20, 24, 13, kYellow);
      break;
    default:
      // The detector has seen the train: a white lamp over a bar of the phase it answers.
      c.fillCircle(20, 18, 9, Rgb{250, 250, 240});
      c.fillRect(9, 34, 22, 6, picture == kDetectGo ? kGreen : kRed);
      break;
  }
  return c;
}

std::string fileOf(const std::string& root, std::string name) {
  std::replace(name.begin(), name.end(), '\\', '/');
  return root + "/" + name;
}

std::string clockMarks(int ticks) {
  const int seconds = ticks / 30;
  char text[16];
  std::snprintf(text, sizeof text, "%2d.%02d.%02d", seconds / 3600, seconds / 60 % 60,
                seconds % 60);
  return text;
}

}  // namespace

void writeRouteArt(const std::string& root) {
  for (int code = 0; code < kAspectPictures; ++code)
    writeBmp(path(root, "aspect" + std::to_string(code) + ".bmp"), aspectPicture(code),
             kTransparentKey);
  for (int n = 1; n <= kPlatePictures; ++n)
    writeBmp(path(root, "plate" + std::to_string(n) + ".bmp"),
             board(30, 36, Rgb{250, 250, 250}, kDark, std::to_string(n), kDark), kTransparentKey);
  for (int kmh : limitBoardSpeeds())
    writeBmp(path(root, "limit" + std::to_string(kmh) + ".bmp"),
             board(56, 40, Rgb{250, 250, 250}, Rgb{230, 120, 20}, std::to_string(kmh), kDark),
             kTransparentKey);
  for (int km = 1; km <= kKilometrePosts; ++km)
    writeBmp(path(root, "km" + std::to_string(km) + ".bmp"),
             board(30, 44, Rgb{250, 250, 250}, Rgb{60, 60, 60}, std::to_string(km), kDark),
             kTransparentKey);
  writeBmp(path(root, "grade_up.bmp"), gradeSign(true));
  writeBmp(path(root, "grade_down.bmp"), gradeSign(false));
  writeBmp(path(root, "crossing.bmp"), crossingSign(), kTransparentKey);
  writeBmp(path(root, "standby.bmp"), standby());
  for (int i = 0; i < kAnimPictures; ++i) {
    writeBmp(fileOf(root, animPictureName(AnimKind::kCrossingLamps, i)), crossingLamps(i),
             kTransparentKey);
    writeBmp(fileOf(root, animPictureName(AnimKind::kFlag, i)), wavingFlag(i), kTransparentKey);
  }
  writeBmp(fileOf(root, boardPictureName(BoardKind::kRockfall)), rockfallBoard(), kTransparentKey);
  writeBmp(fileOf(root, boardPictureName(BoardKind::kWhistle)), whistleBoard());
  for (int i = 0; i < kTrafficPictures; ++i)
    writeBmp(fileOf(root, trafficPictureName(i)), trafficPicture(i), kTransparentKey);
}

void writeStaffCard(const BuiltRoute& route, const std::string& root) {
  const auto& stations = route.design.line.stations;
  const int count = static_cast<int>(stations.size());
  // Page 0 starts at the first station; each further page where the route says it turns.
  std::vector<int> starts = {0};
  starts.insert(starts.end(), route.staffPageStarts.begin(), route.staffPageStarts.end());
  const int pageHeight = staffPageHeight(route.design);
  Canvas c(170, pageHeight * static_cast<int>(starts.size()), Rgb{250, 248, 235});
  const bool rapid = route.design.line.video == "aoba_up1" && route.design.kinds[1] == 1;
  for (std::size_t page = 0; page < starts.size(); ++page) {
    const int top = pageHeight * static_cast<int>(page);
    c.fillRect(0, top, 170, 32, Rgb{40, 60, 120});
    c.text(10, top + 6, 20, rapid ? "RAPID" : "LOCAL", Rgb{250, 250, 250});
    if (starts.size() > 1) c.text(150, top + 6, 20, std::to_string(page + 1), Rgb{250, 250, 250});
    const int last = page + 1 < starts.size() ? starts[page + 1] : count - 1;
    for (int i = starts[page]; i <= last; ++i) {
      const int y = top + kStaffHeader + kStaffRow * (i - starts[page]);
      c.fillRect(0, y + kStaffRow - 2, 170, 1, Rgb{150, 150, 150});
      // A stop shows its time; a passing point a thin arrow and its time in grey.
      const bool passes = route.design.kinds[static_cast<std::size_t>(i)] == 1;
      c.fillRect(6, y + 10, 10, 10, passes ? Rgb{170, 170, 170} : Rgb{40, 60, 120});
      c.text(24, y + 8, 20, clockMarks(route.departTimes[static_cast<std::size_t>(i)]),
             passes ? Rgb{150, 150, 150} : Rgb{20, 20, 20});
    }
  }
  writeBmp(fileOf(root, staffPictureName(route.design)), c);
}

}  // namespace velimoro::content
