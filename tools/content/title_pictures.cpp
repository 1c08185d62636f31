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
// Lettering on the pictures

void outlinedText(Canvas& c, int x, int y, const std::string& text, int size, Rgb fill, Rgb outline,
                  int radius, FontWeight weight = FontWeight::kBold) {
  const TextMask mask = renderText(text, size, weight);
  for (int dy = -radius; dy <= radius; ++dy)
    for (int dx = -radius; dx <= radius; ++dx)
      if (dx * dx + dy * dy <= radius * radius + 1) drawMask(c, mask, x + dx, y + dy, outline);
  drawMask(c, mask, x, y, fill);
}

void shadowedText(Canvas& c, int x, int y, const std::string& text, int size, Rgb fill,
                  FontWeight weight) {
  const TextMask mask = renderText(text, size, weight);
  drawMask(c, mask, x + 2, y + 2, kBlack, 0.6);
  drawMask(c, mask, x, y, fill);
}

int centredX(const std::string& text, int size, FontWeight weight, int width = kTitleWidth) {
  return (width - measureText(text, size, weight)) / 2;
}

void letterTitle(Canvas& c, int y, const std::string& subtitle) {
  const int size = 60;
  outlinedText(c, centredX(kTitle, size, FontWeight::kBold), y, kTitle, size, kWhite,
               Rgb{18, 30, 60}, 3);
  if (!subtitle.empty())
    outlinedText(c, centredX(subtitle, 24, FontWeight::kBold), y + 80, subtitle, 24,
                 Rgb{255, 236, 170}, Rgb{18, 30, 60}, 2);
}

// A caption at the foot of a slide: a line in large letters, a smaller one below.
void caption(Canvas& c, const std::string& main, const std::string& sub) {
  veil(c, 0, 496, kTitleWidth, 104, kBlack, 0.5);
  veil(c, 0, 496, kTitleWidth, 2, Rgb{255, 236, 170}, 0.8);
  shadowedText(c, 40, 506, main, 32, kWhite, FontWeight::kBold);
  shadowedText(c, 42, 556, sub, 19, Rgb{228, 228, 222}, FontWeight::kRegular);
}

// A credit of the ending: a small heading over one or two lines, centred in a band.
void credit(Canvas& c, const std::string& heading, const std::string& main,
            const std::string& extra) {
  // Over the sky, clear of the line and its trains.
  veil(c, 0, 56, kTitleWidth, 150, kBlack, 0.45);
  shadowedText(c, centredX(heading, 20, FontWeight::kRegular), 68, heading, 20, Rgb{255, 226, 160},
               FontWeight::kRegular);
  int size = 36;
  while (size > 18 && measureText(main, size, FontWeight::kBold) > kTitleWidth - 60)
    --size;
  shadowedText(c, centredX(main, size, FontWeight::kBold), 102, main, size, kWhite,
               FontWeight::kBold);
  if (!extra.empty()) {
    int small = 24;
    while (small > 14 && measureText(extra, small, FontWeight::kRegular) > kTitleWidth - 60)
      --small;
    shadowedText(c, centredX(extra, small, FontWeight::kRegular), 160, extra, small,
                 Rgb{230, 230, 224}, FontWeight::kRegular);
  }
}

// ---------------------------------------------------------------------------------------------
// The demo's routes, seen from the cab

const std::vector<StationDesign>& stationsOf(int route) {
  return routes().at(static_cast<std::size_t>(route)).line.stations;
}

StationBoard boardOf(int route, int station) {
  const auto& s = stationsOf(route);
  const auto i = static_cast<std::size_t>(station);
  return {s.at(i).name, s.at(i).reading, i > 0 ? s[i - 1].name : "",
          i + 1 < s.size() ? s[i + 1].name : ""};
}

double stationMetre(int route, int station) {
  return stationsOf(route).at(static_cast<std::size_t>(station)).metre;
}

// The driver's view at `metre` along a route, coloured for the time of day, framed on a
// dark slide with its caption.
Canvas cabSlide(int route, double metre, Light light, const std::string& main,
                const std::string& sub) {
  const BuiltRoute built = buildRoute(routes().at(static_cast<std::size_t>(route)));
  RouteScene scene(built);
  Canvas view(kVideoWidth, kVideoHeight);
  scene.draw(built.frameAt(metre), view);
  const Lighting l = lightingOf(light);
  Canvas big = resample(view, 720, 405);
  if (light != Light::kNoon && light != Light::kMorning) {
    for (int y = 0; y < big.height(); ++y)
      for (int x = 0; x < big.width(); ++x)
        big.set(x, y, mix(shade(l, big.at(x, y)), l.skyLow, 0.1));
  }
  Canvas c(kTitleWidth, kTitleHeight);
  c.gradientRect(0, 0, kTitleWidth, kTitleHeight, mix(kNavy, l.skyTop, 0.35), Rgb{6, 8, 14});
  c.fillRect(36, 28, 728, 413, Rgb{200, 200, 196});
  c.blit(big, 40, 32);
  veil(c, 40, 32, 150, 30, kBlack, 0.55);
  drawText(c, 50, 34, "運転台から", 18, Rgb{255, 236, 170}, FontWeight::kBold);
  shadowedText(c, 40, 458, main, 32, kWhite, FontWeight::kBold);
  shadowedText(c, 42, 508, sub, 19, Rgb{228, 228, 222}, FontWeight::kRegular);
  return c;
}

SceneDesign scene(Light light, Land land, TrainKind train, double nose, int cars,
                  std::uint32_t seed) {
  SceneDesign d;
  d.light = light;
  d.land = land;
  d.train = train;
  d.nose = nose;
  d.cars = cars;
  d.seed = seed;
  return d;
}

SceneDesign atStation(SceneDesign d, StationBoard board) {
  d.platform = true;
  d.board = std::move(board);
  return d;
}

SceneDesign withTunnel(SceneDesign d) {
  d.tunnel = true;
  return d;
}

SceneDesign withSnow(SceneDesign d) {
  d.snow = true;
  return d;
}

// The stations where the rapid passes, as "汐見・緑ヶ丘・桜川".
std::string rapidPasses() {
  const RouteDesign& rapid = routes().at(1);
  std::string out;
  for (std::size_t i = 0; i < rapid.kinds.size(); ++i) {
    if (rapid.kinds[i] != 1) continue;
    if (!out.empty()) out += "・";
    out += rapid.line.stations[i].name;
  }
  return out;
}

std::string joinedStations(int route, std::size_t from) {
  std::string out;
  const auto& s = stationsOf(route);
  for (std::size_t i = from; i < s.size(); ++i) {
    if (!out.empty()) out += "・";
    out += s[i].name;
  }
  return out;
}

// The steepest rising gradient of a route, as "25‰".
std::string steepestClimb(int route) {
  double steepest = 0;
  for (const SpanDesign& s : routes().at(static_cast<std::size_t>(route)).line.slopes)
    steepest = std::max(steepest, s.value);
  char text[16];
  std::snprintf(text, sizeof text, "%.0f‰", steepest);
  return text;
}

// The main line from the harbour to the lake: the three up routes one after another.
double mainLineMetres() {
  return stationMetre(0, 5) + stationMetre(2, 4) + stationMetre(3, 3);
}

StationBoard chuoBoard() {
  return {stationsOf(0).back().name, stationsOf(0).back().reading, stationsOf(0)[4].name,
          stationsOf(2)[1].name};
}

}  // namespace

const std::vector<RouteDesign>& routes() {
  static const std::vector<RouteDesign> list = demoRoutes();
  return list;
}

// A time of day in ticks of 1/30 s as "7:10".
std::string clockText(int ticks) {
  const int minutes = ticks / 30 / 60;
  char text[16];
  std::snprintf(text, sizeof text, "%d:%02d", minutes / 60, minutes % 60);
  return text;
}

std::string kilometres(double metres) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f km", metres / 1000);
  return text;
}

// ---------------------------------------------------------------------------------------------
// Pictures

Canvas titlePicture(int index) {
  using enum Light;
  using enum Land;
  using enum TrainKind;
  SceneDesign d;
  switch (index) {
    case 0:
      d = scene(kMorning, kHarbour, kElectric, 640, 3, 1);
      break;
    case 1:
      d = withTunnel(scene(kNoon, kMountain, kDiesel, 600, 1, 2));
      break;
    case 2:
      d = scene(kDusk, kLake, kDiesel, 560, 2, 3);
      break;
    case 3:
      d = withSnow(scene(kMorning, kPlateau, kDiesel, 650, 2, 4));
      break;
    case 4:
      d = atStation(scene(kNight, kCity, kElectric, 440, 3, 5), chuoBoard());
      break;
    case 5:
      d = scene(kAfternoon, kRiver, kElectric, 720, 3, 6);
      break;
    default:
      throw std::out_of_range("title picture " + std::to_string(index));
  }
  Canvas c = drawScene(d);
  letterTitle(c, 46, "青葉線 " + stationsOf(0).front().name + " — " + stationsOf(3).back().name);
  return c;
}

Canvas menuBackground() {
  Canvas c = drawScene(scene(Light::kNoon, Land::kRiver, TrainKind::kElectric, 780, 3, 8));
  veil(c, 0, 0, kTitleWidth, kTitleHeight, kNavy, 0.45);
  veil(c, 0, 0, kTitleWidth, 70, kNavy, 0.55);
  veil(c, 0, 70, kTitleWidth, 2, Rgb{255, 236, 170}, 0.8);
  outlinedText(c, 24, 12, kTitle, 36, kWhite, kNavy, 2);
  const std::string hint = "路線と車両を選んでください";
  shadowedText(c, kTitleWidth - 24 - measureText(hint, 16, FontWeight::kRegular), 32, hint, 16,
               Rgb{230, 230, 224}, FontWeight::kRegular);
  // The panels behind the buttons and the map.
  const int routeBottom = kRouteButton.y + 5 * kRouteButtonPitch + kRouteButton.height;
  veil(c, 12, 78, kRouteButton.x + kRouteButton.width + 20 - 12, routeBottom + 12 - 78, kNavy, 0.6);
  veil(c, kRouteMap.x - 12, 78, kRouteMap.width + 24, routeBottom + 12 - 78, kNavy, 0.6);
  shadowedText(c, kRouteButton.x, 80, "路線", 17, Rgb{255, 226, 160}, FontWeight::kBold);
  shadowedText(c, kRouteMap.x, 80, "路線図", 17, Rgb{255, 226, 160}, FontWeight::kBold);
  shadowedText(c, kTrainButtons[0].x, kTrainButtons[0].y - 28, "車両", 17, Rgb{255, 226, 160},
               FontWeight::kBold);
  // What shows before a route is chosen: where the map and the trains will appear.
  const auto placeholder = [&](const MenuBox& box, const std::string& text) {
    veil(c, box.x, box.y, box.width, box.height, kBlack, 0.25);
    c.frameRect(box.x, box.y, box.width, box.height, 1, Rgb{110, 124, 150});
    shadowedText(c, box.x + centredX(text, 15, FontWeight::kRegular, box.width),
                 box.y + box.height / 2 - 10, text, 15, Rgb{190, 196, 210}, FontWeight::kRegular);
  };
  placeholder(kRouteMap, "路線を選ぶと路線図が出ます");
  placeholder(
      {kTrainButtons[0].x, kTrainButtons[0].y,
       kTrainButtons[1].x + kTrainButtons[1].width - kTrainButtons[0].x, kTrainButtons[0].height},
      "路線を選んでから車両を選びます");
  veil(c, 0, 540, kTitleWidth, 60, kNavy, 0.5);
  return c;
}

Canvas openingSlide(int index) {
  using enum Light;
  using enum Land;
  using enum TrainKind;
  switch (index) {
    case 0: {
      Canvas c = drawScene(scene(kDawn, kDepot, kElectric, 470, 3, 11));
      letterTitle(c, 120, "夜明けの車両基地から");
      return c;
    }
    case 1:
      return cabSlide(
          5, 420, kDawn, "出庫",
          stationsOf(5).front().name + "から出区線を" + stationsOf(5).back().name + "駅へ");
    case 2: {
      Canvas c =
          drawScene(atStation(scene(kMorning, kHarbour, kElectric, 430, 3, 12), boardOf(0, 0)));
      caption(c, stationsOf(0).front().name + " " + clockText(routes()[0].firstDeparture) + " 発",
              routes()[0].lineName);
      return c;
    }
    case 3:
      return cabSlide(0, stationMetre(0, 1) - 130, kMorning, stationsOf(0)[1].name,
                      "海沿いを走って最初の駅へ");
    case 4: {
      Canvas c = drawScene(scene(kMorning, kHarbour, kElectric, 660, 3, 13));
      caption(c, "朝の海沿い",
              stationsOf(0)[0].name + " → " + stationsOf(0)[1].name + "  " +
                  kilometres(stationMetre(0, 1)));
      return c;
    }
    case 5:
      return cabSlide(0, stationMetre(0, 2) - 130, kMorning, stationsOf(0)[2].name,
                      "停止位置に合わせて止まる");
    case 6: {
      Canvas c = drawScene(scene(kMorning, kRiver, kElectric, 700, 3, 14));
      caption(c, "鉄橋を渡る", stationsOf(0)[3].name + " → " + stationsOf(0)[4].name);
      return c;
    }
    case 7:
      return cabSlide(1, stationMetre(1, 5) - 200, kNoon, stationsOf(1)[5].name + " まもなく到着",
                      "快速は " + rapidPasses() + " を通過");
    case 8: {
      Canvas c = drawScene(atStation(scene(kNoon, kCity, kElectric, 430, 3, 15), chuoBoard()));
      caption(c, stationsOf(2)[0].name + "駅",
              "ここから山線 ワンマン運転で" + stationsOf(2).back().name + "へ");
      return c;
    }
    case 9:
      return cabSlide(2, stationMetre(2, 1) - 130, kNoon, stationsOf(2)[1].name,
                      "山線は " + steepestClimb(2) + " の上り勾配が続く");
    case 10: {
      Canvas c = drawScene(withTunnel(scene(kNoon, kMountain, kDiesel, 610, 1, 16)));
      caption(c, "トンネルへ", "山を貫いて" + stationsOf(2)[3].name + "へ");
      return c;
    }
    case 11:
      return cabSlide(2, routes()[2].line.tunnels.front().from - 40, kNoon, "トンネル進入",
                      "前照灯の光を頼りに");
    case 12: {
      Canvas c =
          drawScene(atStation(scene(kAfternoon, kMountain, kDiesel, 420, 1, 17), boardOf(2, 3)));
      caption(c, stationsOf(2)[3].name, "山線でいちばん高い駅");
      return c;
    }
    case 13:
      return cabSlide(2, stationMetre(2, 4) - 130, kAfternoon, stationsOf(2)[4].name,
                      "長い下り勾配を下って");
    case 14: {
      Canvas c = drawScene(scene(kAfternoon, kPlateau, kDiesel, 600, 2, 18));
      caption(c, "白樺の高原",
              stationsOf(3)[0].name + " → " + stationsOf(3)[1].name + "  " +
                  kilometres(stationMetre(3, 1)));
      return c;
    }
    case 15:
      return cabSlide(3, stationMetre(3, 2) - 130, kAfternoon, stationsOf(3)[2].name,
                      "湖が近づいてくる");
    case 16: {
      Canvas c = drawScene(scene(kDusk, kLake, kDiesel, 520, 2, 19));
      caption(c, "夕暮れの湖", stationsOf(3)[2].name + " → " + stationsOf(3)[3].name);
      return c;
    }
    case 17:
      return cabSlide(3, stationMetre(3, 3) - 150, kDusk, "終点 " + stationsOf(3)[3].name,
                      "停止位置まで あと少し");
    case 18: {
      Canvas c = drawScene(atStation(scene(kDusk, kLake, kDiesel, 420, 2, 20), boardOf(3, 3)));
      caption(c, stationsOf(3)[3].name + " 終点",
              "青葉線 全線 " + kilometres(mainLineMetres()) + " の旅");
      return c;
    }
    case 19: {
      Canvas c = drawScene(scene(kNight, kCity, kElectric, 560, 3, 21));
      letterTitle(c, 120, "出発進行！");
      return c;
    }
    default:
      throw std::out_of_range("opening slide " + std::to_string(index));
  }
}

Canvas endingSlide(int index) {
  using enum Light;
  using enum Land;
  using enum TrainKind;
  const auto credited = [](SceneDesign d, const std::string& heading, const std::string& main,
                           const std::string& extra) {
    Canvas c = drawScene(d);
    credit(c, heading, main, extra);
    return c;
  };
  switch (index) {
    case 0:
      return credited(atStation(scene(kDusk, kLake, kDiesel, 420, 2, 31), boardOf(3, 3)),
                      "終点 " + stationsOf(3).back().name, "ご乗務お疲れさまでした",
                      "青葉線 全線 " + kilometres(mainLineMetres()) + " を走り終えました");
    case 1:
      return credited(scene(kDusk, kLake, kNone, 0, 0, 32), "路線", "青葉線",
                      stationsOf(0).front().name + " — " + stationsOf(2).front().name + " — " +
                          stationsOf(3).front().name + " — " + stationsOf(3).back().name);
    case 2:
      return credited(scene(kDusk, kPlateau, kDiesel, 700, 2, 33), "車両",
                      electricTrainDesign().name + "形 電車",
                      dieselTrainDesign().name + "形 気動車");
    case 3:
      return credited(scene(kDusk, kHarbour, kElectric, 520, 3, 34), "駅", joinedStations(0, 0),
                      "");
    case 4:
      return credited(withTunnel(scene(kDusk, kMountain, kDiesel, 560, 1, 35)), "駅",
                      joinedStations(2, 1), "");
    case 5:
      return credited(scene(kNight, kLake, kNone, 0, 0, 36), "駅", joinedStations(3, 1), "");
    case 6:
      return credited(atStation(scene(kNight, kCity, kElectric, 430, 3, 37), chuoBoard()), "運転",
                      "あなた", "");
    case 7:
      return cabSlide(4, stationMetre(4, 1) - 100, kNight, "入庫",
                      stationsOf(4).back().name + "へ 今日の仕業はここまで");
    case 8:
      return credited(scene(kNight, kDepot, kElectric, 330, 3, 38), "車両基地",
                      "明日の運用に備えて", "一晩ゆっくり休みます");
    case 9:
      return credited(scene(kNight, kRiver, kElectric, 560, 3, 39), "映像・音楽・音声",
                      "すべてこのプログラムが作りました", "");
    case 10:
      return credited(scene(kNight, kHarbour, kNone, 0, 0, 40), "安全運転",
                      "ありがとうございました", "");
    case 11:
      return credited(scene(kNight, kMountain, kDiesel, 480, 1, 41), "また",
                      "次の乗務でお会いしましょう", "");
    case 12:
      return credited(scene(kDawn, kHarbour, kElectric, 420, 3, 42), "夜明け",
                      "新しい一日が始まります", "");
    case 13:
      return credited(scene(kMorning, kDepot, kElectric, 520, 3, 43), "出庫準備", "今日も 出発進行",
                      "");
    case 14:
      return credited(scene(kMorning, kPlateau, kDiesel, 640, 2, 44), "ご乗車",
                      "ありがとうございました", "");
    case 15: {
      Canvas c = drawScene(scene(kMorning, kLake, kNone, 0, 0, 45));
      letterTitle(c, 150, "おわり");
      return c;
    }
    default:
      throw std::out_of_range("ending slide " + std::to_string(index));
  }
}

}  // namespace velimoro::content::title_art
