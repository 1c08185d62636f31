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

namespace velimoro::content::title_art {

// Side views of the line: the light of the time of day, the land, the track and a train on it.
Lighting lightingOf(Light light) {
  switch (light) {
    case Light::kDawn:
      return {{58, 72, 128},
              {244, 182, 150},
              {0.80, 0.72, 0.76},
              {110, 300},
              22,
              {255, 224, 176},
              {240, 184, 176},
              false,
              true};
    case Light::kMorning:
      return {{82, 140, 214},
              {206, 226, 244},
              {1.0, 0.98, 0.95},
              {150, 110},
              20,
              {255, 250, 232},
              {252, 252, 252},
              false,
              false};
    case Light::kNoon:
      return {{48, 116, 206},  {176, 210, 240}, {1.0, 1.0, 1.0}, {610, 60}, 18,
              {255, 255, 244}, {255, 255, 255}, false,           false};
    case Light::kAfternoon:
      return {{72, 126, 196},
              {236, 218, 182},
              {1.0, 0.92, 0.80},
              {650, 170},
              20,
              {255, 236, 190},
              {250, 238, 218},
              false,
              false};
    case Light::kDusk:
      return {{38, 42, 98}, {250, 136, 70},  {0.68, 0.50, 0.44}, {620, 290},
              26,           {255, 196, 120}, {236, 150, 132},    false,
              true};
    case Light::kNight:
      return {{6, 9, 28},   {30, 40, 76}, {0.22, 0.25, 0.36},
              {640, 90},    14,           {240, 240, 214},
              {40, 46, 70}, true,         true};
  }
  throw std::logic_error("unknown light");
}

Rgb shade(const Lighting& l, Rgb c) {
  const auto ch = [](double v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
  };
  return {ch(c.r * l.tint[0]), ch(c.g * l.tint[1]), ch(c.b * l.tint[2])};
}

// A far colour: the land's colour fading into the sky near the horizon.
Rgb haze(const Lighting& l, Rgb c, double t) {
  return mix(shade(l, c), l.skyLow, t);
}

Levels levelsOf(Land land) {
  switch (land) {
    case Land::kHarbour:
      return {330, 470};
    case Land::kCity:
      return {360, 452};
    case Land::kMountain:
      return {380, 482};
    case Land::kPlateau:
      return {360, 476};
    case Land::kLake:
      return {330, 478};
    case Land::kDepot:
      return {350, 492};
    case Land::kRiver:
      return {350, 392};
  }
  throw std::logic_error("unknown land");
}

namespace {

void drawSky(Painter& p, const Lighting& l, double horizon, std::uint32_t seed) {
  p.gradient(0, 0, kTitleWidth, horizon + 2, l.skyTop, l.skyLow);
  Noise n(seed * 7 + 3);
  if (l.night) {
    for (int i = 0; i < 220; ++i) {
      const double x = unit(n) * kTitleWidth;
      const double y = unit(n) * unit(n) * horizon * 0.95;
      const double bright = unit(n);
      p.disc(x, y, 0.5 + bright * 0.7, mix(l.skyTop, Rgb{255, 255, 240}, 0.4 + 0.6 * bright));
    }
    const Point m = l.sun;
    p.glow(m.x, m.y, l.sunRadius * 5, l.sunColour, 0.18);
    p.disc(m.x, m.y, l.sunRadius, l.sunColour);
    // A waxing moon: the unlit part takes the sky's colour.
    p.disc(m.x - l.sunRadius * 0.55, m.y - 2, l.sunRadius * 0.95,
           mix(l.skyTop, l.skyLow, m.y / horizon));
    return;
  }
  const bool low = l.sun.y > horizon * 0.7;
  p.glow(l.sun.x, l.sun.y, l.sunRadius * (low ? 9 : 6), l.sunColour, low ? 0.55 : 0.35);
  p.disc(l.sun.x, l.sun.y, l.sunRadius, mix(l.sunColour, kWhite, low ? 0.1 : 0.6));
  // Clouds: clusters of soft ellipses, their undersides darker.
  for (int i = 0; i < 4; ++i) {
    const double cx = 70 + i * 210 + unit(n) * 80;
    const double cy = 50 + unit(n) * std::max(20.0, horizon * 0.45 - 50);
    const int puffs = 5 + static_cast<int>(unit(n) * 3);
    std::vector<std::array<double, 4>> shapes;
    for (int k = 0; k < puffs; ++k)
      shapes.push_back({cx + (unit(n) - 0.5) * 110, cy + (unit(n) - 0.5) * 14, 22 + unit(n) * 26,
                        9 + unit(n) * 9});
    for (const auto& s : shapes)
      p.ellipse(s[0], s[1] + 4, s[2], s[3], mix(l.cloud, l.skyTop, 0.35), 0.55);
    for (const auto& s : shapes)
      p.ellipse(s[0], s[1], s[2], s[3], l.cloud, 0.8);
  }
}

// Poles and overhead wires along the track; returns the height of the contact wire.
double drawWires(Painter& p, const Lighting& l, double rail, double s, double phase) {
  const double contact = rail - 112 * s;
  const double messenger = contact - 22 * s;
  const double span = 150 * s;
  const Rgb wire = shade(l, Rgb{44, 44, 48});
  const Rgb pole = shade(l, Rgb{150, 150, 146});
  for (double x = phase - span; x < kTitleWidth + span; x += span) {
    p.rect(x - 2.5 * s, messenger - 16 * s, 5 * s, rail - 4 * s - (messenger - 16 * s), pole);
    p.rect(x - 2.5 * s, messenger - 16 * s, 5 * s, 1.5 * s, shade(l, Rgb{110, 110, 106}));
    p.line(x, messenger - 3 * s, x + 16 * s, messenger - 3 * s, 1.6 * s, wire);
    // The messenger sags between the poles; droppers hang the contact wire from it.
    const double sag = 9 * s;
    Point last{x, messenger};
    for (int k = 1; k <= 12; ++k) {
      const double u = k / 12.0;
      const Point next{x + u * span, messenger + sag * 4 * u * (1 - u)};
      p.line(last.x, last.y, next.x, next.y, 1.1 * s, wire);
      last = next;
    }
    for (int k = 1; k < 8; ++k) {
      const double u = k / 8.0;
      p.line(x + u * span, messenger + sag * 4 * u * (1 - u), x + u * span, contact, 0.6 * s, wire);
    }
  }
  p.line(-10, contact, kTitleWidth + 10, contact, 1.3 * s, wire);
  return contact;
}

struct TrainLook {
  Rgb body;
  Rgb roof;
  Rgb stripe;
  Rgb band;
  std::vector<double> doors;  // door centres as fractions of the car's length
};

TrainLook lookOf(TrainKind kind) {
  if (kind == TrainKind::kDiesel)
    return {{236, 224, 190}, {112, 108, 102}, {214, 86, 40}, {214, 86, 40}, {0.11, 0.89}};
  return {{208, 212, 218}, {120, 124, 130}, {40, 112, 196}, kLineGreen, {0.13, 0.38, 0.62, 0.87}};
}

// One car from `left` to `right`: bogies, body, windows and doors; the lead car has its cab at
// the right, the tail car its red lamps at the left.
void drawCar(Painter& p, const Lighting& l, TrainKind kind, double left, double right, double rail,
             double s, bool lead, bool tail, double contact, bool snow) {
  const TrainLook look = lookOf(kind);
  const double len = right - left;
  const double bottom = rail - 20 * s;
  const double top = bottom - 54 * s;
  const double roofTop = top - 6 * s;
  const Rgb glass = l.lamps ? Rgb{255, 226, 150} : mix(shade(l, Rgb{38, 52, 66}), l.skyLow, 0.25);
  const Rgb dark = shade(l, Rgb{40, 40, 44});
  for (double bogie : {left + 34 * s, right - 34 * s}) {
    p.rect(bogie - 28 * s, rail - 17 * s, 56 * s, 8 * s, shade(l, Rgb{48, 48, 52}));
    for (double w : {-15 * s, 15 * s}) {
      p.disc(bogie + w, rail - 6.5 * s, 6.5 * s, shade(l, Rgb{34, 34, 38}));
      p.disc(bogie + w, rail - 6.5 * s, 2.5 * s, shade(l, Rgb{96, 96, 100}));
    }
  }
  p.rect(left + 70 * s, bottom, len - 140 * s, 7 * s, shade(l, Rgb{62, 62, 66}));
  p.rect(left, top, len, bottom - top, shade(l, look.body));
  p.rect(left, top, len, 1.5 * s, shade(l, mix(look.body, kWhite, 0.4)));
  p.rect(left + 3 * s, roofTop, len - 6 * s, 6 * s, shade(l, look.roof));
  if (snow) p.rect(left + 3 * s, roofTop - 2 * s, len - 6 * s, 3 * s, shade(l, Rgb{245, 247, 252}));
  if (kind == TrainKind::kDiesel) {
    p.rect(left, top + 32 * s, len, 11 * s, shade(l, look.stripe));
    p.rect(left, top + 2 * s, len, 3 * s, shade(l, look.stripe));
  } else {
    p.rect(left, top + 33 * s, len, 4 * s, shade(l, look.stripe));
    p.rect(left, bottom - 7 * s, len, 3 * s, shade(l, look.band));
  }
  // Windows between the doors, in panes of about 30 pixels.
  std::vector<double> edges{left + 4 * s};
  for (double f : look.doors) {
    edges.push_back(left + f * len - 11 * s);
    edges.push_back(left + f * len + 11 * s);
  }
  edges.push_back(right - (lead ? 30 : 4) * s);
  for (std::size_t i = 0; i + 1 < edges.size(); i += 2) {
    const double from = edges[i] + 4 * s, to = edges[i + 1] - 4 * s;
    if (to - from < 8 * s) continue;
    const int panes = std::max(1, static_cast<int>(std::lround((to - from) / (30 * s))));
    const double w = (to - from) / panes;
    for (int k = 0; k < panes; ++k)
      p.rect(from + k * w + 1.5 * s, top + 12 * s, w - 3 * s, 18 * s, glass);
  }
  for (double f : look.doors) {
    const double dx = left + f * len;
    p.rect(dx - 8 * s, top + 7 * s, 16 * s, bottom - top - 9 * s,
           shade(l, mix(look.body, kBlack, 0.12)));
    p.rect(dx - 5.5 * s, top + 12 * s, 4.5 * s, 17 * s, glass);
    p.rect(dx + 1 * s, top + 12 * s, 4.5 * s, 17 * s, glass);
    p.rect(dx - 0.4 * s, top + 7 * s, 0.8 * s, bottom - top - 9 * s, dark);
  }
  if (kind == TrainKind::kDiesel) {
    p.rect(left + 0.55 * len, roofTop - 9 * s, 5 * s, 9 * s, shade(l, Rgb{52, 52, 54}));
    p.rect(left + 0.25 * len, roofTop - 4 * s, 40 * s, 4 * s, shade(l, Rgb{92, 92, 94}));
  }
  if (lead) {
    // The cab: a side window, the rounded front with its windscreen, the headlight.
    p.rect(right - 26 * s, top + 10 * s, 12 * s, 18 * s, glass);
    p.polygon({{right - 10 * s, roofTop},
               {right - 1 * s, roofTop + 1 * s},
               {right + 4 * s, top + 14 * s},
               {right + 4 * s, bottom},
               {right - 10 * s, bottom}},
              shade(l, look.body));
    p.polygon({{right - 5 * s, top + 1 * s},
               {right + 1 * s, top + 1 * s},
               {right + 3.5 * s, top + 14 * s},
               {right + 3.5 * s, top + 27 * s},
               {right - 5 * s, top + 27 * s}},
              mix(shade(l, Rgb{30, 40, 52}), l.skyLow, 0.15));
    p.rect(right - 10 * s, top + 33 * s, 14 * s, kind == TrainKind::kDiesel ? 11 * s : 4 * s,
           shade(l, look.stripe));
    const Rgb headlight = l.lamps ? Rgb{255, 252, 230} : shade(l, Rgb{226, 226, 210});
    p.disc(right + 2.5 * s, bottom - 11 * s, 2.6 * s, headlight);
    if (l.lamps) p.glow(right + 6 * s, bottom - 11 * s, 46 * s, Rgb{255, 244, 210}, 0.6);
    if (kind == TrainKind::kElectric) {
      // A single-arm pantograph raised to the contact wire, or folded without one.
      const double px = left + 0.3 * len;
      const double head = contact > 0 ? contact + 1.5 * s : roofTop - 9 * s;
      const double knee = (roofTop + head) / 2;
      p.rect(px - 12 * s, roofTop - 3 * s, 24 * s, 3 * s, dark);
      p.line(px - 10 * s, roofTop - 3 * s, px + 9 * s, knee, 1.7 * s, dark);
      p.line(px + 9 * s, knee, px - 3 * s, head, 1.7 * s, dark);
      p.rect(px - 14 * s, head - 1 * s, 22 * s, 2.5 * s, dark);
    }
  }
  if (tail) {
    const Rgb red = l.lamps ? Rgb{255, 70, 50} : shade(l, Rgb{150, 44, 40});
    p.disc(left + 1.5 * s, bottom - 11 * s, 2.2 * s, red);
    if (l.lamps) p.glow(left, bottom - 11 * s, 18 * s, Rgb{255, 60, 40}, 0.5);
  }
}

// The near platform: its edge, the yellow line, the canopy above, two pillars and the
// station's name board on its posts.
constexpr int kBoardX = 520, kBoardY = 270, kBoardW = 236, kBoardH = 86;

void drawPlatform(Painter& p, const Lighting& l, double rail, bool board) {
  const double edge = rail - 14;
  p.gradient(0, edge, kTitleWidth, 600 - edge, shade(l, Rgb{184, 182, 176}),
             shade(l, Rgb{136, 134, 128}));
  p.rect(0, edge, kTitleWidth, 4, shade(l, Rgb{236, 236, 230}));
  p.rect(0, edge + 14, kTitleWidth, 10, shade(l, Rgb{236, 200, 44}));
  for (double x = 2; x < kTitleWidth; x += 5)
    p.rect(x, edge + 16, 2, 6, shade(l, Rgb{214, 176, 30}));
  p.rect(0, 0, kTitleWidth, 30, shade(l, Rgb{72, 74, 80}));
  p.rect(0, 30, kTitleWidth, 6, shade(l, Rgb{52, 52, 58}));
  for (double x = 40; x < kTitleWidth; x += 160) {
    p.rect(x, 22, 70, 5, Rgb{250, 250, 244});
    if (l.lamps) p.glow(x + 35, 28, 70, Rgb{255, 250, 230}, 0.35);
  }
  for (double x : {60.0, 470.0}) {
    p.rect(x - 9, 36, 18, 560 - 36, shade(l, Rgb{126, 128, 134}));
    p.rect(x - 9, 36, 4, 560 - 36, shade(l, Rgb{160, 162, 168}));
  }
  if (!board) return;
  for (double x : {kBoardX + 34.0, kBoardX + kBoardW - 38.0})
    p.rect(x, kBoardY + kBoardH, 5, 570 - kBoardY - kBoardH, shade(l, Rgb{90, 92, 98}));
  p.rect(kBoardX - 3, kBoardY - 3, kBoardW + 6, kBoardH + 6, shade(l, Rgb{70, 72, 78}));
  // The board is lit from inside after dark: its colours do not dim.
  const Lighting& face = l.lamps ? lightingOf(Light::kNoon) : l;
  p.rect(kBoardX, kBoardY, kBoardW, kBoardH, shade(face, Rgb{250, 250, 246}));
  p.rect(kBoardX, kBoardY + kBoardH - 22, kBoardW, 22, shade(face, kLineGreen));
}

void letterBoard(Canvas& c, const StationBoard& b) {
  const auto centred = [&](const std::string& text, int size, FontWeight w, int y, Rgb colour) {
    drawText(c, kBoardX + (kBoardW - measureText(text, size, w)) / 2, y, text, size, colour, w);
  };
  centred(b.name, 30, FontWeight::kBold, kBoardY + 2, Rgb{20, 20, 24});
  centred(b.reading, 13, FontWeight::kRegular, kBoardY + 42, Rgb{60, 60, 64});
  const int bandY = kBoardY + kBoardH - 21;
  if (!b.previous.empty()) drawText(c, kBoardX + 6, bandY, "← " + b.previous, 13, kWhite);
  if (!b.next.empty()) {
    const std::string next = b.next + " →";
    drawText(c, kBoardX + kBoardW - 6 - measureText(next, 13), bandY, next, 13, kWhite);
  }
}

}  // namespace

// Rails, sleepers and ballast of a track seen from the side, `s` the scale.
void drawTrack(Painter& p, const Lighting& l, double rail, double s, bool snow) {
  p.rect(-10, rail + 2 * s, kTitleWidth + 20, 13 * s,
         shade(l, snow ? Rgb{226, 230, 238} : Rgb{128, 120, 108}));
  p.rect(-10, rail + 13 * s, kTitleWidth + 20, 2 * s, shade(l, Rgb{96, 90, 80}));
  for (double x = 0; x < kTitleWidth + 10; x += 14 * s)
    p.rect(x, rail + 1 * s, 9 * s, 3 * s, shade(l, snow ? Rgb{240, 242, 248} : Rgb{92, 76, 62}));
  p.rect(-10, rail, kTitleWidth + 20, 2.6 * s, shade(l, Rgb{160, 160, 166}));
  p.rect(-10, rail, kTitleWidth + 20, 0.8 * s, shade(l, Rgb{225, 225, 230}));
}

void drawTrain(Painter& p, const Lighting& l, TrainKind kind, double nose, double rail, double s,
               int cars, double contact, bool snow) {
  if (kind == TrainKind::kNone) return;
  const double len = 230 * s, gap = 6 * s;
  for (int i = 0; i < cars; ++i) {
    const double right = nose - i * (len + gap);
    const double left = right - len;
    if (right < -30 || left > kTitleWidth + 30) continue;
    if (i + 1 < cars)
      p.rect(left - gap - 1, rail - 66 * s, gap + 2, 40 * s, shade(l, Rgb{36, 36, 40}));
    drawCar(p, l, kind, left, right, rail, s, i == 0, i + 1 == cars, contact, snow);
  }
}

Canvas drawScene(const SceneDesign& d) {
  const Lighting l = lightingOf(d.light);
  const Levels lv = levelsOf(d.land);
  Painter p(kTitleWidth, kTitleHeight);
  drawSky(p, l, lv.horizon, d.seed);
  switch (d.land) {
    case Land::kHarbour:
      drawHarbour(p, l, d, lv);
      break;
    case Land::kCity:
      drawCity(p, l, d, lv);
      break;
    case Land::kMountain:
      drawMountains(p, l, d, lv);
      break;
    case Land::kPlateau:
      drawPlateau(p, l, d, lv);
      break;
    case Land::kLake:
      drawLake(p, l, d, lv);
      break;
    case Land::kDepot:
      drawDepot(p, l, d, lv);
      break;
    case Land::kRiver:
      drawRiver(p, l, d, lv);
      break;
  }
  double contact = -1;
  if (d.train == TrainKind::kElectric)
    contact = drawWires(p, l, lv.rail, 1, 40 + d.seed * 37 % 100);
  drawTrack(p, l, lv.rail, 1, d.snow);
  if (d.tunnel) drawTunnelMouth(p, l, lv.rail);
  drawTrain(p, l, d.train, d.nose, lv.rail, 1, d.cars, contact, d.snow);
  if (d.platform) drawPlatform(p, l, lv.rail, !d.board.name.empty());
  if (d.land == Land::kPlateau && !d.platform) {
    Noise n(d.seed + 43);
    drawBirch(p, l, 24, 612, 330, d.snow, n);
    drawBirch(p, l, 772, 620, 300, d.snow, n);
  }
  if (d.snow) {
    Noise n(d.seed + 71);
    for (int i = 0; i < 420; ++i) {
      const double r = 0.6 + unit(n) * 1.8;
      p.disc(unit(n) * kTitleWidth, unit(n) * kTitleHeight, r, Rgb{250, 250, 255});
    }
  }
  Canvas c = p.finish();
  if (d.platform && !d.board.name.empty()) letterBoard(c, d.board);
  return c;
}

}  // namespace velimoro::content::title_art
