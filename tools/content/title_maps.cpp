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
namespace {

// ---------------------------------------------------------------------------------------------
// Buttons and maps

Rgb badgeColour(const RouteDesign& r) {
  if (r.line.shunting) return {124, 104, 170};
  if (r.oneMan != 0) return {40, 150, 90};
  if (r.kinds.size() > 1 && r.kinds[1] == 1) return {226, 118, 30};
  return {52, 128, 214};
}

int fittedSize(const std::string& text, int width, int largest, int smallest, FontWeight w) {
  int size = largest;
  while (size > smallest && measureText(text, size, w) > width)
    --size;
  return size;
}

// The line's name: the route name's first word ("青葉線", "中央車両基地").
std::string lineWord(const RouteDesign& r) {
  return r.lineName.substr(0, r.lineName.find(' '));
}

// Where a station stands on the map's line, and the heights of the line along it.
struct MapScale {
  double left;
  double right;
  double first;  // metres at the left end
  double last;
  double x(double metre) const { return left + (right - left) * (metre - first) / (last - first); }
};

}  // namespace

Canvas routeButton(int index) {
  const RouteDesign& r = routes().at(static_cast<std::size_t>(index));
  const int w = kRouteButton.width, h = kRouteButton.height;
  const Rgb badge = badgeColour(r);
  Canvas c(w, h);
  c.gradientRect(0, 0, w, h, Rgb{44, 62, 98}, Rgb{22, 32, 54});
  c.frameRect(0, 0, w, h, 1, Rgb{124, 144, 176});
  c.fillRect(1, 1, 5, h - 2, badge);
  const std::string kind = r.lineName2;
  const int badgeW = measureText(kind, 14, FontWeight::kBold) + 14;
  c.fillRect(14, 8, badgeW, 22, badge);
  c.frameRect(14, 8, badgeW, 22, 1, mix(badge, kWhite, 0.35));
  drawText(c, 21, 9, kind, 14, kWhite, FontWeight::kBold);
  const std::string ends = r.line.stations.front().name + " → " + r.line.stations.back().name;
  const int room = w - (14 + badgeW + 10) - 8;
  const int size = fittedSize(ends, room, 19, 11, FontWeight::kBold);
  drawText(c, 14 + badgeW + 10, 19 - size * 6 / 10, ends, size, kWhite, FontWeight::kBold);
  const std::string facts =
      lineWord(r) + "   " +
      kilometres(r.line.stations.back().metre - r.line.stations.front().metre) + "   " +
      clockText(r.firstDeparture) + " 発";
  const int small = fittedSize(facts, w - 28, 13, 9, FontWeight::kRegular);
  drawText(c, 14, 37, facts, small, Rgb{200, 210, 228});
  return c;
}

Canvas routeMap(char map) {
  // lineA: the harbour run of both line_up1 routes; lineB: the mountain run; lineC: the lake.
  std::vector<int> shown;
  switch (map) {
    case 'A':
      shown = {0, 1};
      break;
    case 'B':
      shown = {2};
      break;
    case 'C':
      shown = {3};
      break;
    default:
      throw std::out_of_range(std::string("route map ") + map);
  }
  const RouteDesign& r = routes().at(static_cast<std::size_t>(shown.front()));
  const LineDesign& line = r.line;
  const int w = kRouteMap.width, h = kRouteMap.height;
  const MapScale scale{34, w - 34.0, line.stations.front().metre, line.stations.back().metre};
  const double lineY = 112;
  const double profileTop = 160, profileBottom = 214;

  // Heights along the line from its gradients, per mille.
  std::vector<double> heights(static_cast<std::size_t>(w), 0.0);
  double lowest = 0, highest = 0;
  {
    double height = 0;
    double metre = scale.first;
    for (int x = 0; x < w; ++x) {
      const double to =
          scale.first + (scale.last - scale.first) * (x - scale.left) / (scale.right - scale.left);
      for (; metre < to; metre += 1) {
        for (const SpanDesign& s : line.slopes)
          if (metre >= s.from && metre < s.to) height += s.value / 1000;
      }
      heights[static_cast<std::size_t>(x)] = height;
      if (x >= scale.left && x <= scale.right) {
        lowest = std::min(lowest, height);
        highest = std::max(highest, height);
      }
    }
  }
  const double range = std::max(20.0, highest - lowest);
  const auto heightY = [&](double x) {
    const auto i = static_cast<std::size_t>(std::clamp(x, 0.0, w - 1.0));
    return profileBottom - (heights[i] - lowest) / range * (profileBottom - profileTop - 6);
  };

  Painter p(w, h, Rgb{248, 246, 238});
  p.rect(0, 0, w, 34, kLineGreen);
  // The height profile under the line.
  p.profile(scale.left, scale.right, heightY, level(profileBottom), Rgb{206, 222, 194});
  for (double x = scale.left; x < scale.right; x += 1)
    p.line(x, heightY(x), x + 1, heightY(x + 1), 1.4, Rgb{80, 124, 80});
  p.rect(scale.left, profileBottom, scale.right - scale.left, 1, Rgb{150, 150, 140});
  // The line, its bridges and tunnels, its stations.
  p.line(scale.left, lineY, scale.right, lineY, 6, kLineGreen);
  for (const SpanDesign& b : line.bridges) {
    p.rect(scale.x(b.from), lineY + 5, scale.x(b.to) - scale.x(b.from), 3, Rgb{70, 130, 210});
    p.rect(scale.x(b.from), lineY - 8, scale.x(b.to) - scale.x(b.from), 3, Rgb{70, 130, 210});
  }
  for (const SpanDesign& t : line.tunnels) {
    const double x0 = scale.x(t.from), x1 = scale.x(t.to);
    p.rect(x0, lineY - 5, x1 - x0, 10, Rgb{70, 70, 74});
    for (double x = x0 + 2; x < x1 - 4; x += 8)
      p.rect(x, lineY - 1, 4, 2, Rgb{230, 230, 230});
  }
  for (double m : line.crossings) {
    const double x = scale.x(m);
    p.line(x - 4, lineY - 4, x + 4, lineY + 4, 1.5, Rgb{40, 40, 40});
    p.line(x - 4, lineY + 4, x + 4, lineY - 4, 1.5, Rgb{40, 40, 40});
  }
  const bool rapidShown = shown.size() > 1;
  for (std::size_t i = 0; i < line.stations.size(); ++i) {
    const double x = scale.x(line.stations[i].metre);
    const bool signalBox = r.kinds[i] == 2;
    if (signalBox) {
      p.rect(x - 7, lineY - 7, 14, 14, Rgb{40, 40, 44});
      p.rect(x - 5, lineY - 5, 10, 10, kWhite);
    } else if (r.kinds[i] == 1) {
      // A station this route passes: a small grey ring.
      p.disc(x, lineY, 6, Rgb{130, 130, 134});
      p.disc(x, lineY, 4, kWhite);
    } else {
      p.disc(x, lineY, 8, Rgb{40, 40, 44});
      p.disc(x, lineY, 5.5, kWhite);
    }
    if (rapidShown && routes()[1].kinds[i] != 1) p.disc(x, lineY, 3.5, Rgb{226, 118, 30});
    p.line(x, lineY + 10, x, profileBottom, 0.6, Rgb{200, 200, 190});
  }
  Canvas c = p.finish();
  c.frameRect(0, 0, w, h, 2, Rgb{60, 70, 84});

  // Lettering.
  const std::string title =
      lineWord(r) + "  " + line.stations.front().name + " — " + line.stations.back().name;
  drawText(c, 12, 5, title, 18, kWhite, FontWeight::kBold);
  const std::string length = kilometres(line.stations.back().metre - line.stations.front().metre);
  drawText(c, w - 12 - measureText(length, 15), 8, length, 15, kWhite);
  for (std::size_t i = 0; i < line.stations.size(); ++i) {
    const std::string& name = line.stations[i].name;
    const int size = 15;
    const int tw = measureText(name, size, FontWeight::kBold);
    const int x = std::clamp(
        static_cast<int>(std::lround(scale.x(line.stations[i].metre))) - tw / 2, 4, w - 4 - tw);
    const int y = i % 2 == 0 ? 76 : 124;
    drawText(c, x, y, name, size, Rgb{30, 30, 34}, FontWeight::kBold);
  }
  char rise[48];
  std::snprintf(rise, sizeof rise, "高低差 %.0f m", highest - lowest);
  drawText(c, static_cast<int>(scale.left) + 2, static_cast<int>(profileTop) - 14, rise, 11,
           Rgb{90, 100, 90});
  for (const SpanDesign& s : line.slopes) {
    if (std::fabs(s.value) < 10) continue;
    char text[16];
    std::snprintf(text, sizeof text, "%s%.0f‰", s.value > 0 ? "↗" : "↘", std::fabs(s.value));
    const double mid = scale.x((s.from + s.to) / 2);
    drawText(c, static_cast<int>(mid) - measureText(text, 11) / 2,
             static_cast<int>(profileBottom) + 1, text, 11, Rgb{90, 100, 90});
  }
  // The legend.
  std::vector<std::pair<std::string, Rgb>> legend{{"● 停車駅", Rgb{40, 40, 44}}};
  if (rapidShown) legend.emplace_back("● 快速停車駅", Rgb{226, 118, 30});
  if (std::find(r.kinds.begin(), r.kinds.end(), 1) != r.kinds.end())
    legend.emplace_back("○ 通過駅", Rgb{130, 130, 134});
  if (std::find(r.kinds.begin(), r.kinds.end(), 2) != r.kinds.end())
    legend.emplace_back("■ 信号場", Rgb{40, 40, 44});
  if (!line.tunnels.empty()) legend.emplace_back("━ トンネル", Rgb{70, 70, 74});
  if (!line.bridges.empty()) legend.emplace_back("＝ 鉄橋", Rgb{70, 130, 210});
  if (!line.crossings.empty()) legend.emplace_back("× 踏切", Rgb{40, 40, 40});
  int lx = 12;
  for (const auto& [text, colour] : legend) {
    lx += drawText(c, lx, 228, text, 11, colour) + 12;
  }
  return c;
}

Canvas trainButton(int index) {
  if (index != 0 && index != 1) throw std::out_of_range("train button " + std::to_string(index));
  const bool diesel = index == 1;
  const TrainDesign design = diesel ? dieselTrainDesign() : electricTrainDesign();
  const int w = kTrainButtons[0].width, h = kTrainButtons[0].height;
  const Lighting l = lightingOf(Light::kNoon);
  Painter p(w, h);
  p.gradient(0, 0, w, h, Rgb{176, 208, 238}, Rgb{226, 236, 244});
  p.rect(0, 88, w, h - 88, Rgb{120, 148, 96});
  const double rail = 92, s = 0.5;
  double contact = -1;
  if (!diesel) {
    contact = rail - 112 * s;
    p.line(0, contact, w, contact, 0.8, Rgb{50, 50, 54});
  }
  drawTrack(p, l, rail, s, false);
  drawTrain(p, l, diesel ? TrainKind::kDiesel : TrainKind::kElectric, w - 14, rail, s, 2, contact,
            false);
  Canvas c = p.finish();
  veil(c, 0, 0, w, 26, kNavy, 0.75);
  veil(c, 0, h - 22, w, 22, kNavy, 0.75);
  c.frameRect(0, 0, w, h, 1, Rgb{124, 144, 176});
  const std::string name = design.name + "形";
  const int nameW = drawText(c, 8, 2, name, 17, kWhite, FontWeight::kBold);
  drawText(c, 8 + nameW + 8, 5, diesel ? "気動車" : "電車", 14, Rgb{255, 226, 160},
           FontWeight::kBold);
  const std::string handles = diesel ? "ワンハンドル・自動空気ブレーキ" : "2ハンドル・段階ブレーキ";
  drawText(c, 8, h - 20, handles, fittedSize(handles, w - 16, 12, 9, FontWeight::kRegular),
           Rgb{220, 228, 240});
  return c;
}

}  // namespace velimoro::content::title_art
