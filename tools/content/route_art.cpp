#include "tools/content/route_art.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

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
  switch (code) {
    case 0:
    case 3:
    case 6:
    case 9:
    case 13:
    case 17:
      return {kDark, kRed, kDark, kDark};
    case 14:
    case 18:
      return {kYellow, kDark, kDark, kYellow};  // restricting: two yellows
    case 4:
    case 7:
    case 10:
    case 15:
    case 19:
      return {kDark, kDark, kYellow, kDark};
    case 11:
    case 20:
      return {kYellow, kDark, kDark, kGreen};  // reduced: yellow over green
    case 1:
      return {kDark, kDark, kDark, kDark};
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
}

void writeStaffCard(const BuiltRoute& route, const std::string& root) {
  const auto& stations = route.design.line.stations;
  const int rowHeight = 44;
  Canvas c(170, 40 + rowHeight * static_cast<int>(stations.size()), Rgb{250, 248, 235});
  c.fillRect(0, 0, 170, 32, Rgb{40, 60, 120});
  c.text(10, 6, 20,
         route.design.line.video == "aoba_up1" && route.design.kinds[1] == 1 ? "RAPID" : "LOCAL",
         Rgb{250, 250, 250});
  for (std::size_t i = 0; i < stations.size(); ++i) {
    const int y = 40 + rowHeight * static_cast<int>(i);
    c.fillRect(0, y + rowHeight - 2, 170, 1, Rgb{150, 150, 150});
    // A stop shows its time; a passing point a thin arrow and its time in grey.
    const bool passes = route.design.kinds[i] == 1;
    c.fillRect(6, y + 10, 10, 10, passes ? Rgb{170, 170, 170} : Rgb{40, 60, 120});
    c.text(24, y + 8, 20, clockMarks(route.departTimes[i]),
           passes ? Rgb{150, 150, 150} : Rgb{20, 20, 20});
  }
  std::string name = staffPictureName(route.design);
  std::replace(name.begin(), name.end(), '\\', '/');
  writeBmp(root + "/" + name, c);
}

}  // namespace velimoro::content
