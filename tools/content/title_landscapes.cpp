#include "tools/content/title_art.h"
#include "tools/content/title_files.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <numbers>
#include <sstream>
#include <stdexcept>

#include "tools/content/glyphs.h"
#include "tools/content/route_builder.h"
#include "tools/content/route_design.h"
#include "tools/content/train_design.h"
#include "tools/content/video_render.h"
#include "tools/content/writers.h"

// The lands behind the line, one for each scene.

namespace velimoro::content::title_art {

namespace {
void drawConifer(Painter& p, double x, double base, double h, Rgb colour) {
  p.polygon({{x, base - h}, {x + h * 0.32, base}, {x - h * 0.32, base}}, colour);
}
}  // namespace

void drawBirch(Painter& p, const Lighting& l, double x, double base, double h, bool snow,
               Noise& n) {
  const double w = std::max(1.5, h / 30);
  if (!snow) {
    for (int k = 0; k < 5; ++k)
      p.ellipse(x + (unit(n) - 0.5) * h * 0.4, base - h * (0.55 + unit(n) * 0.4), h * 0.16,
                h * 0.12, shade(l, mix(Rgb{112, 168, 76}, Rgb{150, 190, 90}, unit(n))), 0.92);
  } else {
    for (int k = 0; k < 4; ++k) {
      const double y = base - h * (0.5 + 0.12 * k);
      const double dir = k % 2 == 0 ? 1 : -1;
      p.line(x, y, x + dir * h * 0.18, y - h * 0.15, w * 0.4, shade(l, Rgb{90, 84, 80}));
    }
  }
  p.rect(x - w / 2, base - h, w, h, shade(l, Rgb{236, 234, 226}));
  for (int k = 0; k < 6; ++k)
    p.rect(x - w / 2, base - h * unit(n), w * (0.5 + unit(n) * 0.5), std::max(1.0, w * 0.4),
           shade(l, Rgb{50, 48, 46}));
}

namespace {
void drawBoat(Painter& p, const Lighting& l, double x, double y, double s, Rgb hull) {
  p.polygon({{x - 18 * s, y}, {x + 20 * s, y}, {x + 14 * s, y + 7 * s}, {x - 13 * s, y + 7 * s}},
            shade(l, hull));
  p.rect(x - 9 * s, y - 7 * s, 13 * s, 7 * s, shade(l, Rgb{240, 240, 234}));
  p.line(x + 8 * s, y, x + 8 * s, y - 18 * s, 1 * s, shade(l, Rgb{70, 70, 70}));
}
}  // namespace

void drawHarbour(Painter& p, const Lighting& l, const SceneDesign& d, Levels lv) {
  const Ridge hills(d.seed * 3 + 1);
  const double wall = lv.rail - 38;
  p.profile(
      0, kTitleWidth,
      [&](double x) { return lv.horizon - smoothstep(300, 520, x) * (28 + 18 * hills.at(x, 70)); },
      level(lv.horizon + 1), haze(l, Rgb{70, 100, 82}, 0.5));
  const Rgb seaTop = mix(l.skyLow, shade(l, Rgb{40, 96, 140}), 0.55);
  const Rgb seaLow = shade(l, Rgb{24, 70, 112});
  p.gradient(0, lv.horizon, kTitleWidth, wall - lv.horizon, seaTop, seaLow);
  Noise n(d.seed + 11);
  for (int i = 0; i < 240; ++i) {
    const double depth = std::pow(unit(n), 1.4);
    const double y = lv.horizon + 2 + depth * (wall - lv.horizon - 4);
    const double x = unit(n) * kTitleWidth;
    const double len = 3 + depth * 14 * unit(n);
    p.rect(x, y, len, 1 + depth, mix(mix(seaTop, seaLow, depth), l.skyLow, 0.35));
  }
  if (l.sun.y < lv.horizon) {
    // The sun's (or moon's) path of light on the water.
    for (int i = 0; i < 120; ++i) {
      const double depth = unit(n);
      const double y = lv.horizon + 2 + depth * (wall - lv.horizon - 4);
      const double x = l.sun.x + (unit(n) - 0.5) * (20 + depth * 90);
      p.rect(x, y, 4 + depth * 10, 1 + depth, mix(seaTop, l.sunColour, 0.7));
    }
  }
  // A breakwater with its lighthouse, boats in the bay.
  p.rect(30, lv.horizon + 34, 190, 6, shade(l, Rgb{150, 148, 140}));
  p.rect(174, lv.horizon - 8, 12, 42, shade(l, Rgb{240, 240, 236}));
  p.rect(172, lv.horizon - 15, 16, 8, shade(l, Rgb{200, 52, 42}));
  p.disc(180, lv.horizon - 18, 3, l.lamps ? Rgb{255, 240, 180} : shade(l, Rgb{230, 230, 220}));
  if (l.lamps) p.glow(180, lv.horizon - 18, 44, Rgb{255, 230, 160}, 0.5);
  drawBoat(p, l, 470, lv.horizon + 30, 1.0, Rgb{230, 230, 226});
  drawBoat(p, l, 640, lv.horizon + 64, 1.4, Rgb{190, 62, 50});
  // The sea wall under the line, then the shore road.
  p.rect(0, wall, kTitleWidth, lv.rail + 14 - wall, shade(l, Rgb{152, 150, 142}));
  p.rect(0, wall, kTitleWidth, 3, shade(l, Rgb{186, 184, 176}));
  for (double x = 20; x < kTitleWidth; x += 44)
    p.rect(x, wall + 3, 1.2, lv.rail - wall - 3, shade(l, Rgb{120, 118, 112}));
  p.gradient(0, lv.rail + 14, kTitleWidth, 600 - lv.rail, shade(l, Rgb{98, 136, 74}),
             shade(l, Rgb{70, 104, 54}));
}

namespace {
void drawBuildings(Painter& p, const Lighting& l, Noise& n, double base, double low, double high,
                   Rgb colour, double hazeAmount) {
  double x = -10;
  while (x < kTitleWidth + 10) {
    const double w = 26 + unit(n) * 46;
    const double h = low + unit(n) * (high - low);
    const Rgb c = haze(l, colour, hazeAmount + unit(n) * 0.08);
    p.rect(x, base - h, w, h + 80, c);
    for (double wy = base - h + 6; wy < base - 4; wy += 9) {
      for (double wx = x + 4; wx < x + w - 5; wx += 8) {
        const double r = unit(n);
        if (l.lamps && r < 0.35)
          p.rect(wx, wy, 3.5, 4.5, mix(Rgb{255, 214, 130}, c, 0.25 + 0.3 * unit(n)));
        else if (!l.lamps && r < 0.5)
          p.rect(wx, wy, 3.5, 4.5, mix(c, kBlack, 0.14));
      }
    }
    x += w + 2 + unit(n) * 6;
  }
}
}  // namespace

void drawCity(Painter& p, const Lighting& l, const SceneDesign& d, Levels lv) {
  Noise n(d.seed + 5);
  drawBuildings(p, l, n, lv.horizon, 50, 200, Rgb{118, 124, 140}, 0.42);
  drawBuildings(p, l, n, lv.horizon + 50, 30, 110, Rgb{160, 150, 138}, 0.12);
  p.gradient(0, lv.horizon + 50, kTitleWidth, 600, shade(l, Rgb{128, 126, 122}),
             shade(l, Rgb{100, 98, 95}));
  // The line runs on a viaduct above the street.
  p.rect(0, lv.rail + 25, kTitleWidth, 12, shade(l, Rgb{84, 84, 88}));
  for (double x = 60; x < kTitleWidth + 20; x += 190)
    p.rect(x, lv.rail + 25, 26, 600, shade(l, Rgb{160, 157, 150}));
  p.rect(0, lv.rail + 3, kTitleWidth, 22, shade(l, Rgb{176, 173, 166}));
  p.rect(0, lv.rail + 23, kTitleWidth, 2, shade(l, Rgb{120, 118, 112}));
  p.rect(0, 566, kTitleWidth, 34, shade(l, Rgb{78, 78, 82}));
  for (double x = 10; x < kTitleWidth; x += 60)
    p.rect(x, 582, 28, 2, shade(l, Rgb{220, 220, 210}));
}

void drawMountains(Painter& p, const Lighting& l, const SceneDesign& d, Levels lv) {
  const Ridge far(d.seed * 5 + 2), mid(d.seed * 5 + 3);
  const auto farTop = [&](double x) {
    return lv.horizon - (150 + 70 * far.at(x, 110) + 40 * std::fabs(far.at(x + 300, 45)));
  };
  p.profile(0, kTitleWidth, farTop, level(lv.horizon + 1), haze(l, Rgb{92, 110, 140}, 0.45));
  // Snow on the highest peaks.
  const double snowLine = lv.horizon - 215;
  p.profile(
      0, kTitleWidth, farTop, [&](double x) { return std::max(farTop(x), snowLine); },
      haze(l, Rgb{236, 240, 246}, 0.3));
  const auto midTop = [&](double x) { return lv.horizon - (70 + 36 * mid.at(x, 80)); };
  const Rgb forest = haze(l, Rgb{52, 92, 58}, 0.22);
  p.profile(0, kTitleWidth, midTop, level(lv.rail + 20), forest);
  Noise n(d.seed + 31);
  for (double x = -5; x < kTitleWidth + 5; x += 5 + unit(n) * 4) {
    const double base = midTop(x) + 6 + unit(n) * 50;
    drawConifer(p, x, base, 14 + unit(n) * 12, haze(l, Rgb{30, 70, 42}, 0.18));
  }
  // The hillside the line is cut into.
  const Ridge bank(d.seed * 5 + 4);
  p.profile(
      0, kTitleWidth, [&](double x) { return lv.rail - 26 - 10 * bank.at(x, 40); },
      level(lv.rail + 4), shade(l, Rgb{78, 112, 60}));
  p.gradient(0, lv.rail + 14, kTitleWidth, 600 - lv.rail, shade(l, Rgb{74, 104, 52}),
             shade(l, Rgb{50, 76, 38}));
  for (double x = 8; x < kTitleWidth; x += 40 + unit(n) * 50)
    drawConifer(p, x, 600, 70 + unit(n) * 50, shade(l, Rgb{28, 60, 34}));
}

void drawTunnelMouth(Painter& p, const Lighting& l, double rail) {
  p.polygon({{600, rail + 16},
             {660, rail - 150},
             {760, rail - 230},
             {kTitleWidth + 10, rail - 250},
             {kTitleWidth + 10, rail + 16}},
            shade(l, Rgb{64, 92, 52}));
  p.rect(646, rail - 124, 128, rail + 8 - (rail - 124), shade(l, Rgb{168, 164, 154}));
  p.rect(646, rail - 124, 128, 5, shade(l, Rgb{196, 192, 182}));
  const Rgb dark{14, 14, 14};
  p.rect(666, rail - 78, 88, 86, dark);
  p.disc(710, rail - 78, 44, dark);
}

void drawPlateau(Painter& p, const Lighting& l, const SceneDesign& d, Levels lv) {
  const Ridge far(d.seed * 11 + 1), mid(d.seed * 11 + 2);
  p.profile(
      0, kTitleWidth, [&](double x) { return lv.horizon - (46 + 26 * far.at(x, 90)); },
      level(lv.horizon + 1), haze(l, d.snow ? Rgb{210, 220, 236} : Rgb{104, 126, 150}, 0.45));
  const Rgb meadowTop = shade(l, d.snow ? Rgb{234, 238, 246} : Rgb{156, 188, 96});
  const Rgb meadowLow = shade(l, d.snow ? Rgb{212, 220, 236} : Rgb{106, 148, 66});
  p.profile(
      0, kTitleWidth, [&](double x) { return lv.horizon - (12 + 14 * mid.at(x, 70)); },
      level(kTitleHeight), meadowTop);
  p.gradient(0, lv.horizon + 26, kTitleWidth, 600, meadowTop, meadowLow);
  Noise n(d.seed + 41);
  // Birches behind the line, the farther ones smaller.
  std::vector<std::array<double, 3>> trees;
  for (int i = 0; i < 16; ++i)
    trees.push_back(
        {unit(n) * kTitleWidth, lv.horizon + 8 + unit(n) * (lv.rail - lv.horizon - 30), 0});
  std::sort(trees.begin(), trees.end(), [](const auto& a, const auto& b) { return a[1] < b[1]; });
  for (const auto& t : trees)
    drawBirch(p, l, t[0], t[1], (t[1] - lv.horizon + 30) * 1.6, d.snow, n);
  if (!d.snow) {
    for (int i = 0; i < 160; ++i) {
      const double y = lv.rail + 18 + unit(n) * (600 - lv.rail - 18);
      static constexpr std::array<Rgb, 3> kFlowers{Rgb{250, 250, 240}, Rgb{250, 220, 70},
                                                   Rgb{190, 140, 220}};
      p.disc(unit(n) * kTitleWidth, y, 1 + (y - lv.rail) / 60,
             shade(l, kFlowers[static_cast<std::size_t>(i % 3)]));
    }
  }
}

void drawLake(Painter& p, const Lighting& l, const SceneDesign& d, Levels lv) {
  const Ridge far(d.seed * 13 + 1);
  const double shore = lv.rail - 34;
  const auto height = [&](double x) {
    return 70 + 40 * far.at(x, 100) + 22 * std::fabs(far.at(x + 500, 40));
  };
  const Rgb mountain = haze(l, Rgb{76, 98, 130}, 0.42);
  p.profile(
      0, kTitleWidth, [&](double x) { return lv.horizon - height(x); }, level(lv.horizon + 1),
      mountain);
  const Rgb waterTop = mix(l.skyLow, shade(l, Rgb{40, 80, 110}), 0.4);
  const Rgb waterLow = shade(l, Rgb{30, 62, 92});
  p.gradient(0, lv.horizon, kTitleWidth, shore - lv.horizon, waterTop, waterLow);
  // The mountains mirrored in the still water.
  p.profile(
      0, kTitleWidth, level(lv.horizon), [&](double x) { return lv.horizon + height(x) * 0.55; },
      mix(mountain, waterLow, 0.35), 0.75);
  Noise n(d.seed + 51);
  for (int i = 0; i < 160; ++i) {
    const double depth = unit(n);
    const double y = lv.horizon + 2 + depth * (shore - lv.horizon - 4);
    p.rect(unit(n) * kTitleWidth, y, 6 + depth * 18, 1, mix(waterTop, l.skyLow, 0.5));
  }
  if (l.sun.y < lv.horizon) {
    for (int i = 0; i < 90; ++i) {
      const double depth = unit(n);
      const double y = lv.horizon + 2 + depth * (shore - lv.horizon - 4);
      p.rect(l.sun.x + (unit(n) - 0.5) * (16 + depth * 60), y, 4 + depth * 12, 1 + depth,
             mix(waterTop, l.sunColour, 0.75));
    }
  }
  // Reeds at the water's edge, the bank the line runs along.
  p.gradient(0, shore, kTitleWidth, 600 - shore, shade(l, Rgb{92, 126, 70}),
             shade(l, Rgb{62, 96, 50}));
  for (double x = 0; x < kTitleWidth; x += 2 + unit(n) * 3) {
    const double h = 6 + unit(n) * 12;
    p.line(x, shore + 2, x + (unit(n) - 0.5) * 4, shore + 2 - h, 0.8, shade(l, Rgb{70, 98, 50}));
  }
}

void drawDepot(Painter& p, const Lighting& l, const SceneDesign& d, Levels lv) {
  const Ridge far(d.seed * 17 + 1);
  p.profile(
      0, kTitleWidth, [&](double x) { return lv.horizon - (30 + 20 * far.at(x, 80)); },
      level(lv.horizon + 1), haze(l, Rgb{90, 112, 104}, 0.5));
  p.gradient(0, lv.horizon, kTitleWidth, 600 - lv.horizon, shade(l, Rgb{150, 142, 128}),
             shade(l, Rgb{112, 104, 94}));
  // The car shed at the back, with its saw-tooth roof and windows.
  const double shedBase = lv.horizon + 6;
  p.rect(470, shedBase - 96, 340, 96, shade(l, Rgb{150, 96, 76}));
  for (double x = 470; x < kTitleWidth; x += 48)
    p.polygon({{x, shedBase - 96}, {x + 36, shedBase - 120}, {x + 36, shedBase - 96}},
              shade(l, Rgb{130, 132, 136}));
  for (double x = 484; x < kTitleWidth; x += 30)
    p.rect(x, shedBase - 80, 18, 26,
           l.lamps ? Rgb{255, 226, 160} : mix(shade(l, Rgb{60, 70, 80}), l.skyLow, 0.2));
  // Lamp towers.
  for (double x : {110.0, 420.0}) {
    p.rect(x - 2, lv.horizon - 120, 4, 170, shade(l, Rgb{120, 120, 124}));
    p.rect(x - 10, lv.horizon - 126, 20, 7, shade(l, Rgb{90, 90, 94}));
    if (l.lamps) p.glow(x, lv.horizon - 118, 60, Rgb{255, 240, 200}, 0.45);
  }
  // Two sidings with parked trains, farther back and smaller.
  const double back = lv.horizon + 30, middle = lv.horizon + 78;
  drawTrack(p, l, back, 0.55, d.snow);
  drawTrain(p, l, TrainKind::kElectric, 520, back, 0.55, 3, -1, d.snow);
  drawTrack(p, l, middle, 0.75, d.snow);
  drawTrain(p, l, TrainKind::kDiesel, 760, middle, 0.75, 2, -1, d.snow);
}

void drawRiver(Painter& p, const Lighting& l, const SceneDesign& d, Levels lv) {
  const Ridge far(d.seed * 19 + 1);
  p.profile(
      0, kTitleWidth, [&](double x) { return lv.horizon - (40 + 30 * far.at(x, 90)); },
      level(lv.horizon + 1), haze(l, Rgb{86, 110, 130}, 0.45));
  p.gradient(0, lv.horizon, kTitleWidth, 110, shade(l, Rgb{140, 172, 92}),
             shade(l, Rgb{110, 148, 74}));
  Noise n(d.seed + 61);
  for (int i = 0; i < 7; ++i) {
    const double y = lv.horizon + 8 + i * 12;
    p.rect(0, y, kTitleWidth, 2 + i * 0.6, shade(l, Rgb{124, 160, 80}));
  }
  // The river, its banks, the girder bridge on concrete piers.
  const double water = 470;
  p.gradient(0, water, kTitleWidth, 600 - water, mix(l.skyLow, shade(l, Rgb{50, 96, 120}), 0.5),
             shade(l, Rgb{30, 70, 96}));
  for (int i = 0; i < 120; ++i) {
    const double depth = unit(n);
    p.rect(unit(n) * kTitleWidth, water + 3 + depth * 125, 6 + depth * 16, 1 + depth,
           mix(shade(l, Rgb{60, 110, 134}), l.skyLow, 0.45));
  }
  p.polygon({{-10, lv.horizon + 100}, {140, lv.horizon + 100}, {60, 600}, {-10, 600}},
            shade(l, Rgb{92, 128, 62}));
  p.polygon({{kTitleWidth + 10, lv.horizon + 100},
             {660, lv.horizon + 100},
             {740, 600},
             {kTitleWidth + 10, 600}},
            shade(l, Rgb{92, 128, 62}));
  for (double x : {130.0, 400.0, 670.0}) {
    p.rect(x - 15, lv.rail + 26, 30, water + 30 - lv.rail - 26, shade(l, Rgb{170, 166, 158}));
    p.rect(x - 15, water + 30, 30, 60, mix(shade(l, Rgb{90, 88, 84}), l.skyLow, 0.2));
  }
  const Rgb girder = shade(l, Rgb{70, 92, 124});
  p.rect(-10, lv.rail + 3, kTitleWidth + 20, 24, girder);
  p.rect(-10, lv.rail + 3, kTitleWidth + 20, 2, shade(l, Rgb{110, 132, 164}));
  for (double x = 0; x < kTitleWidth; x += 22)
    p.rect(x, lv.rail + 5, 1.5, 22, shade(l, Rgb{52, 70, 96}));
}

}  // namespace velimoro::content::title_art
