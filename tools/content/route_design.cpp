#include "tools/content/route_design.h"

namespace velimoro::content {
namespace {

// The main line runs from the harbour up into the hills in three filmed runs; a short yard run
// leads out of and into the depot beside the central station.
LineDesign harbourRun() {
  LineDesign l;
  l.video = "aoba_up1";
  l.lineSpeed = 90;
  l.end = 8080;
  l.stations = {{"港町", "minatomachi", "みなとまち", 0, 0},
                {"汐見", "shiomi", "しおみ", 1500, 1},
                {"青葉台", "aobadai", "あおばだい", 3100, 0},
                {"緑ヶ丘", "midorigaoka", "みどりがおか", 4700, 1},
                {"桜川", "sakuragawa", "さくらがわ", 6300, 0},
                {"中央", "chuo", "ちゅうおう", 8000, 1}};
  l.limits = {{3550, 4150, 65}, {7300, 8000, 55}};
  l.slopes = {{400, 1200, 5}, {1900, 2800, -3.5}, {5200, 5900, 8}, {6600, 7400, -6}};
  l.bridges = {{5000, 5180, 0}};
  l.crossings = {800, 2300, 5550, 6900};
  return l;
}

LineDesign mountainRun() {
  LineDesign l;
  l.video = "aoba_up2";
  l.lineSpeed = 75;
  l.end = 8880;
  l.stations = {{"中央", "chuo", "ちゅうおう", 0, 1},
                {"東山", "higashiyama", "ひがしやま", 2000, 0},
                {"十文字信号場", "jumonji", "じゅうもんじ", 4300, 0},
                {"峠", "toge", "とうげ", 6500, 1},
                {"高原", "kogen", "こうげん", 8800, 0}};
  l.limits = {{2600, 3300, 45}, {4900, 5600, 50}, {7200, 7900, 45}};
  l.slopes = {{500, 1900, 12}, {2300, 4200, 25}, {4500, 6400, 22}, {6800, 8600, -15}};
  l.tunnels = {{3000, 3650, 180}, {5200, 6150, 200}};
  l.bridges = {{1200, 1350, 0}};
  l.crossings = {700, 7100};
  return l;
}

LineDesign lakeRun() {
  LineDesign l;
  l.video = "aoba_up3";
  l.lineSpeed = 85;
  l.end = 5540;
  l.stations = {{"高原", "kogen", "こうげん", 0, 0},
                {"白樺", "shirakaba", "しらかば", 1800, 1},
                {"鏡池", "kagamiike", "かがみいけ", 3500, 0},
                {"湖畔", "kohan", "こはん", 5500, 0}};
  l.limits = {{2500, 3000, 60}, {5000, 5500, 40}};
  l.slopes = {{300, 1500, -10}, {2000, 3300, -4}, {3800, 5200, -2}};
  l.tunnels = {{2600, 2900, 160}};
  l.crossings = {1200, 4300};
  return l;
}

LineDesign depotIn() {
  LineDesign l;
  l.video = "depot_in";
  l.lineSpeed = 30;
  l.end = 1560;
  l.stations = {{"中央", "chuo", "ちゅうおう", 0, 1},
                {"中央 引上線", "hikiage", "ひきあげせん", 700, 0},
                {"中央車両基地", "kichi", "しゃりょうきち", 1500, 0}};
  l.limits = {{300, 1500, 25}};
  l.slopes = {{900, 1200, -2}};
  l.protection = false;
  l.shunting = true;
  return l;
}

LineDesign depotOut() {
  LineDesign l;
  l.video = "depot_out";
  l.lineSpeed = 35;
  l.end = 1660;
  l.stations = {{"中央車両基地", "kichi", "しゃりょうきち", 0, 0},
                {"中央 出区線", "shukku", "しゅっくせん", 650, 0},
                {"中央", "chuo", "ちゅうおう", 1600, 1}};
  l.limits = {{0, 700, 25}, {700, 1600, 35}};
  l.slopes = {{300, 600, 3}};
  // The exit track crosses the depot's road, where a road traffic signal holds the train.
  l.crossings = {393};
  l.roadSignals = {380};
  l.shunting = true;
  return l;
}

}  // namespace

std::vector<RouteDesign> demoRoutes() {
  std::vector<RouteDesign> routes;
  {
    RouteDesign r;
    r.file = "line_up1_local.dat";
    r.lineName = "青葉線 上り 普通 港町→中央";
    r.lineName2 = "普通";
    r.line = harbourRun();
    r.kinds = {0, 0, 0, 0, 0, 0};
    r.firstDeparture = clockTicks(7, 10, 0);
    r.staffPageRows = 4;
    r.stopSounds = true;
    // The busy interchange: passengers stream to the doors while the train stands.
    r.scenes = {{SceneKind::kBoarding, "aoba_up1_aobadai", 2, 0, 0}};
    routes.push_back(r);
  }
  {
    // The same filmed run: the rapid passes the small stations and keeps its speed there.
    RouteDesign r;
    r.file = "line_up1_rapid.dat";
    r.lineName = "青葉線 上り 快速 港町→中央";
    r.lineName2 = "快速";
    r.line = harbourRun();
    r.kinds = {0, 1, 0, 1, 1, 0};
    r.firstDeparture = clockTicks(7, 25, 0);
    r.staffPageRows = 4;
    // A local leaves the first stop as the rapid leaves the terminus and stops everywhere; the
    // rapid catches up with it before the interchange and meets cautions behind it.
    r.precedingTrain = PrecedingTrainDesign{1, clockTicks(7, 25, 0), 65, 35};
    routes.push_back(r);
  }
  {
    // Up the mountain with one man in the cab; the crossing loop is a stop without doors.
    RouteDesign r;
    r.file = "line_up2.dat";
    r.lineName = "青葉線 上り 山線 中央→高原 (ワンマン)";
    r.lineName2 = "ワンマン";
    r.line = mountainRun();
    r.kinds = {0, 0, 2, 0, 0};
    r.firstDeparture = clockTicks(8, 5, 0);
    r.oneMan = 1;
    r.speedChecks = {2650, 7250};
    r.staffPageRows = 4;
    // The down train waits in the loop's other track and passes as the up train leaves.
    r.scenes = {{SceneKind::kPassingTrain, "aoba_up2_jumonji", 2, 4320, 4380}};
    // Rocks may lie in the cutting before the first tunnel; the whistle warns the last crossing.
    r.boards = {{BoardKind::kRockfall, 2800}, {BoardKind::kWhistle, 6800}};
    routes.push_back(r);
  }
  {
    RouteDesign r;
    r.file = "line_up3.dat";
    r.lineName = "青葉線 上り 高原→湖畔 (終点)";
    r.lineName2 = "普通";
    r.line = lakeRun();
    r.kinds = {0, 1, 0, 0};
    r.firstDeparture = clockTicks(8, 40, 0);
    r.cabSignalApproach = true;
    // The warning lamps of the country crossings flash as the train nears them.
    for (double c : r.line.crossings)
      r.anims.push_back({AnimKind::kCrossingLamps, c - 250, c, 0});
    routes.push_back(r);
  }
  {
    RouteDesign r;
    r.file = "line_in.dat";
    r.lineName = "中央車両基地 入庫";
    r.lineName2 = "入庫";
    r.line = depotIn();
    r.kinds = {2, 2, 2};
    r.firstDeparture = clockTicks(21, 30, 0);
    // The shunter at the headshunt waves the train in.
    r.anims = {{AnimKind::kFlag, 580, 700, 1}};
    routes.push_back(r);
  }
  {
    RouteDesign r;
    r.file = "line_out.dat";
    r.lineName = "中央車両基地 出庫";
    r.lineName2 = "出庫";
    r.line = depotOut();
    r.kinds = {2, 2, 0};
    r.firstDeparture = clockTicks(6, 50, 0);
    routes.push_back(r);
  }
  return routes;
}

}  // namespace velimoro::content
