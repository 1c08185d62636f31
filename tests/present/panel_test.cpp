#include "present/panel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <vector>

#include "cab/drive.h"
#include "cab/tick.h"
#include "data/data_error.h"
#include "present/panel_render.h"
#include "sim/tick.h"
#include "support/test_support.h"

namespace velimoro {
namespace {

constexpr media::Rgb kMagenta = 0xFF00FF;

// Records pictures and sprites. A loaded picture is 100 x 50 unless `sizes` says otherwise;
// its bottom-left pixel is `corners` of its file name, else 0x123456.
class FakeScreen final : public media::PictureStore, public media::SpriteEngine {
 public:
  struct Line {
    int x0, y0, x1, y1;
    media::Rgb colour;
    int width;
  };
  struct Picture {
    std::string name;
    int width = 0, height = 0;
    media::Rgb corner = 0x123456;
    bool transparent = false;
    media::Rgb key = 0;
    int patternWidth = 0, patternHeight = 0;
    media::Rgb fill = 0;
    std::vector<Line> lines;
  };
  struct Sprite {
    int picture = 0;
    bool rotating = false;
    double x = 0, y = 0;
    int z = 0, width = 0, height = 0;
    bool visible = true;
    int pattern = 0, angle = 0, alpha = 255;
    int angleCalls = 0;
  };

  std::optional<int> load(const std::string& path) override {
    const std::string name = path.substr(path.find_last_of('/') + 1);
    if (failing.count(name) != 0) return std::nullopt;
    Picture p;
    p.name = name;
    const auto size = sizes.find(name);
    p.width = size != sizes.end() ? size->second.first : 100;
    p.height = size != sizes.end() ? size->second.second : 50;
    if (corners.count(name) != 0) p.corner = corners[name];
    pictures.push_back(p);
    return static_cast<int>(pictures.size()) - 1;
  }
  std::optional<std::pair<int, int>> size(int handle) const override {
    return std::pair{pic(handle).width, pic(handle).height};
  }
  int createPicture(int width, int height, media::Rgb fill) override {
    Picture p;
    p.width = width;
    p.height = height;
    p.fill = fill;
    pictures.push_back(p);
    return static_cast<int>(pictures.size()) - 1;
  }
  std::optional<media::Rgb> pixel(int handle, int x, int y) const override {
    const Picture& p = pic(handle);
    if (x == 0 && y == p.height - 1) return p.corner;
    return 0xFFFFFF;
  }
  void setTransparent(int handle, bool on, media::Rgb colour) override {
    pic(handle).transparent = on;
    pic(handle).key = colour;
  }
  void setPatternSize(int handle, int width, int height) override {
    pic(handle).patternWidth = width;
    pic(handle).patternHeight = height;
  }
  void clearPicture(int handle, media::Rgb fill) override {
    pic(handle).fill = fill;
    pic(handle).lines.clear();
  }
  void drawLine(int handle, int x0, int y0, int x1, int y1, media::Rgb colour, int width) override {
    pic(handle).lines.push_back({x0, y0, x1, y1, colour, width});
  }

  int createSprite(int picture, bool rotating) override {
    Sprite s;
    s.picture = picture;
    s.rotating = rotating;
    const Picture& p = pic(picture);
    s.width = p.patternWidth > 0 ? p.patternWidth : p.width;
    s.height = p.patternHeight > 0 ? p.patternHeight : p.height;
    sprites.push_back(s);
    return static_cast<int>(sprites.size()) - 1;
  }
  void setPosition(int sprite, double x, double y) override {
    at(sprite).x = x;
    at(sprite).y = y;
  }
  void setZ(int sprite, int z) override { at(sprite).z = z; }
  void setSize(int sprite, int width, int height) override {
    at(sprite).width = width;
    at(sprite).height = height;
  }
  void setVisible(int sprite, bool visible) override { at(sprite).visible = visible; }
  void setPattern(int sprite, int pattern) override { at(sprite).pattern = pattern; }
  void setAngle(int sprite, int angle) override {
    at(sprite).angle = angle;
    ++at(sprite).angleCalls;
  }
  void setAlpha(int sprite, int alpha) override { at(sprite).alpha = alpha; }

  Picture& pic(int handle) { return pictures.at(static_cast<std::size_t>(handle)); }
  const Picture& pic(int handle) const { return pictures.at(static_cast<std::size_t>(handle)); }
  Sprite& at(int sprite) { return sprites.at(static_cast<std::size_t>(sprite)); }
  Sprite& at(const std::optional<int>& sprite) { return at(sprite.value()); }

  std::vector<Picture> pictures;
  std::vector<Sprite> sprites;
  std::map<std::string, std::pair<int, int>> sizes;
  std::map<std::string, media::Rgb> corners;
  std::set<std::string> failing;
};

struct PanelTest : ::testing::Test {
  testing::RecordingSound sound;
  testing::RecordingMessages messages;
  FakeScreen screen;
  Drive drive{{}, DriveMedia{sound, screen, messages, nullptr, {}, {}, &screen, &screen}};
  TrainSpec& t = *drive.train;
  SimState& s = drive.state;
  CabPanel& p = drive.panel;

  void build() { buildPanel(drive, drive.panel, screen, screen); }

  // A strip whose picture was loaded as the train reader does.
  void strip(PictureStrip& strip, const std::string& file, int x, int y, int w, int h) {
    strip = {x, y, w, h, file, screen.load(file)};
  }
};

TEST_F(PanelTest, BuildsElementsWithTheirOrderTransparencyAndStartVisibility) {
  t.Panel = {"panel.bmp", 0, 340};
  t.Lamp_Door = {"door.bmp", 10, 400};
  t.Lamp_Ats1 = {"ats1.bmp", 20, 400};
  t.Needle_Speed = {"speed.bmp", 30, 410, 0, 0, 0, 1, 0};
  t.Lamp_Const = {"const.bmp", 40, 400};
  t.OtherCount = 3;
  t.Others[0] = {"o0.bmp", 1, 2};
  t.Others[1] = {"o1.bmp", 3, 4};
  t.Others[2] = {"o2.bmp", 5, 6};
  screen.corners["door.bmp"] = kMagenta;
  screen.corners["panel.bmp"] = kMagenta;
  build();

  EXPECT_FALSE(p.overlay);  // no "[Panel2]": no overlay
  const FakeScreen::Sprite& panel = screen.at(p.panel);
  EXPECT_EQ(panel.z, 0);
  EXPECT_EQ(panel.y, 340);
  EXPECT_FALSE(screen.pic(panel.picture).transparent);  // the panel itself is opaque
  // A lamp keys out the colour of its bottom-left pixel.
  EXPECT_TRUE(screen.pic(screen.at(p.lampDoor).picture).transparent);
  EXPECT_EQ(screen.pic(screen.at(p.lampDoor).picture).key, kMagenta);
  EXPECT_EQ(screen.pic(screen.at(p.lampAts1).picture).key, 0x123456u);
  EXPECT_EQ(screen.at(p.lampDoor).z, 1);
  EXPECT_TRUE(screen.at(p.lampDoor).visible);
  EXPECT_FALSE(screen.at(p.lampAts1).visible);
  EXPECT_TRUE(screen.at(p.needleSpeed).rotating);
  EXPECT_EQ(screen.at(p.needleSpeed).z, 14);
  EXPECT_EQ(screen.at(p.lampConst).z, 22);
  EXPECT_FALSE(screen.at(p.lampConst).visible);
  EXPECT_FALSE(p.lampPower);  // no file line: no sprite

  // Further pictures stack from Z 23; only the first shows at start.
  for (int i = 0; i < 3; ++i) {
    const FakeScreen::Sprite& other = screen.at(p.others[static_cast<std::size_t>(i)]);
    EXPECT_EQ(other.z, 23 + i);
    EXPECT_EQ(other.visible, i == 0);
    EXPECT_EQ(screen.pic(other.picture).name, "o" + std::to_string(i) + ".bmp");
  }
  EXPECT_FALSE(p.others[3]);

  // The clock picture exists even when "[Clock]" does not place it.
  ASSERT_TRUE(p.clockPicture);
  EXPECT_EQ(screen.pic(*p.clockPicture).width, 50);
  EXPECT_EQ(screen.pic(*p.clockPicture).height, 50);
  EXPECT_TRUE(screen.pic(*p.clockPicture).transparent);
  EXPECT_FALSE(p.clockSprite);
}

TEST_F(PanelTest, OverlayStartsAtAlphaZeroAndTheClockGetsASpriteWhenPlaced) {
  t.Panel2 = {"dark.bmp", 0, 340};
  t.Clock = {500, 400, 20};
  build();
  ASSERT_TRUE(p.overlay);
  EXPECT_TRUE(screen.at(p.overlay).rotating);
  EXPECT_EQ(screen.at(p.overlay).alpha, 0);
  EXPECT_EQ(screen.at(p.overlay).z, 99);
  ASSERT_TRUE(p.clockSprite);
  EXPECT_EQ(screen.at(p.clockSprite).picture, *p.clockPicture);
  EXPECT_EQ(screen.at(p.clockSprite).x, 500);
  EXPECT_EQ(screen.at(p.clockSprite).y, 400);
}

TEST_F(PanelTest, StripsAreCutIntoPatternsAndPlacedAtTheirOwnPlaces) {
  screen.sizes["b2.bmp"] = {400, 60};
  screen.corners["b2.bmp"] = kMagenta;
  strip(t.Lamp_signal, "sig.bmp", 1, 2, 10, 10);
  strip(t.NotchImageP, "p.bmp", 3, 4, 20, 10);
  strip(t.NotchImageB, "b.bmp", 5, 6, 20, 10);
  strip(t.NotchImageP2, "p2.bmp", 7, 8, 20, 10);
  strip(t.NotchImageB2, "b2.bmp", 9, 10, 40, 60);
  strip(t.GearImageList, "g.bmp", 11, 12, 30, 10);
  strip(t.GearImageList2, "gl.bmp", 13, 14, 30, 10);
  build();

  const std::optional<int> strips[] = {p.cabSignal, p.notchP, p.notchB,   p.notchP2,
                                       p.notchB2,   p.gear,   p.gearLever};
  for (int i = 0; i < 7; ++i) {
    const FakeScreen::Sprite& sprite = screen.at(strips[i]);
    EXPECT_EQ(sprite.z, 30 + i);
    EXPECT_EQ(sprite.x, 1 + 2 * i);
    EXPECT_EQ(sprite.y, 2 + 2 * i);
    EXPECT_TRUE(screen.pic(sprite.picture).transparent);
  }
  const FakeScreen::Sprite& b2 = screen.at(p.notchB2);
  EXPECT_EQ(b2.width, 40);
  EXPECT_EQ(b2.height, 60);
  EXPECT_EQ(screen.pic(b2.picture).patternWidth, 40);
  EXPECT_EQ(screen.pic(b2.picture).key, kMagenta);
  // The strip's picture is the one the train reader loaded, not a second copy.
  EXPECT_EQ(screen.pictures.size(), 9u);  // seven strips, the clock and the stop pointer
  ASSERT_TRUE(p.stopPointerPicture);
  EXPECT_TRUE(screen.pic(*p.stopPointerPicture).transparent);
}

TEST_F(PanelTest, APictureThatCannotBeLoadedNamesItsFile) {
  t.Needle_BC = {"bc.bmp", 0, 0, 0, 0, 0, 1, 0};
  screen.failing.insert("bc.bmp");
  try {
    build();
    FAIL() << "no error";
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "bc.bmpの生成エラー");
  }
}

TEST(NeedleAngle, FollowsOffsetAndRateAt255UnitsPerTurnAndRefusesGarbage) {
  GaugeNeedle n;
  n.needleOffset = 30;
  n.needleRate = 1.5L;
  EXPECT_EQ(needleAngle(n, 60), 85);  // 120 degrees
  // Pressures come as fixed-point values of scale 10000.
  EXPECT_EQ(needleAngle(n, 600000, 10000), 85);
  n.needleOffset = -90;               // below the turn's start: wraps into 0 .. 255
  EXPECT_EQ(needleAngle(n, 0), 192);  // round(-63.75) = -64
  n.needleRate = std::numeric_limits<long double>::quiet_NaN();
  EXPECT_FALSE(needleAngle(n, 1));
  n.needleRate = std::numeric_limits<long double>::infinity();
  EXPECT_FALSE(needleAngle(n, 1));
  n.needleRate = 1e30L;
  EXPECT_FALSE(needleAngle(n, 1));
  EXPECT_EQ(needleAngle(n, 0), 192);  // at zero the rate does not matter
}

TEST_F(PanelTest, NeedlesShowTheirValuesWithTheSpeedAndAmmeterRules) {
  const GaugeNeedle needle{"n.bmp", 0, 0, 0, 0, 30, 1.5L, 0};
  t.Needle_Speed = t.Needle_I = t.Needle_BP = t.Needle_ER = needle;
  build();
  FakeScreen::Sprite& speed = screen.at(p.needleSpeed);
  s.speed = 60;
  renderNeedles(drive, drive.panel);
  EXPECT_EQ(speed.angle, 85);
  s.speed = 170;  // beyond the dial: stays
  renderNeedles(drive, drive.panel);
  EXPECT_EQ(speed.angle, 85);
  s.speed = -0.5L;  // just below zero: stays
  renderNeedles(drive, drive.panel);
  EXPECT_EQ(speed.angle, 85);
  s.speed = -1;  // backwards shows the magnitude: round(31.5 x 255 / 360) = 22
  renderNeedles(drive, drive.panel);
  EXPECT_EQ(speed.angle, 22);

  FakeScreen::Sprite& current = screen.at(p.needleI);
  s.ammeter = 60;
  s.reverser = 0;
  renderNeedles(drive, drive.panel);
  EXPECT_EQ(current.angle, 0);  // neutral
  s.reverser = -1;
  renderNeedles(drive, drive.panel);
  EXPECT_EQ(current.angle, 256 - 85);
  s.reverser = 1;
  s.ammeter = -60;  // braking current: 30 - 90 = -60 degrees
  renderNeedles(drive, drive.panel);
  EXPECT_EQ(current.angle, 256 - 42);  // round(-42.5), halves to even
  t.Needle_I.needleAbsolute = 1;
  renderNeedles(drive, drive.panel);
  EXPECT_EQ(current.angle, 85);

  s.bp = Fixed::fromInt(60);
  s.er = 60;
  renderNeedles(drive, drive.panel);
  EXPECT_EQ(screen.at(p.needleBp).angle, 85);
  EXPECT_EQ(screen.at(p.needleEr).angle, 85);

  // A broken rate leaves the needle alone instead of turning it to garbage.
  t.Needle_BP.needleRate = std::numeric_limits<long double>::quiet_NaN();
  const int calls = screen.at(p.needleBp).angleCalls;
  renderNeedles(drive, drive.panel);
  EXPECT_EQ(screen.at(p.needleBp).angleCalls, calls);
}

TEST_F(PanelTest, LampsFollowHandlesDoorsAndStateFlags) {
  t.Brake = 8;
  t.Lose_elec = 5;
  for (PanelElement* lamp : {&t.Lamp_Power, &t.Lamp_Gen, &t.Lamp_Ele, &t.Lamp_Air, &t.Lamp_Const,
                             &t.Lamp_Ats1, &t.Lamp_Stop, &t.Lamp_EB}) {
    *lamp = {"lamp.bmp", 0, 0};
  }
  build();
  auto shown = [&](const std::optional<int>& sprite) { return screen.at(sprite).visible; };

  s.power_notch = 2;
  s.doors_open = false;
  s.brake_notch = 0;
  s.speed = 30;
  renderLamps(drive, drive.panel);
  EXPECT_TRUE(shown(p.lampPower));
  EXPECT_TRUE(shown(p.lampEle));
  EXPECT_FALSE(shown(p.lampAir));
  EXPECT_FALSE(shown(p.lampGen));
  s.doors_open = true;  // no power with open doors
  renderLamps(drive, drive.panel);
  EXPECT_FALSE(shown(p.lampPower));
  EXPECT_FALSE(shown(p.lampEle));

  // A service brake step above the electric-brake limit: regeneration and air.
  s.doors_open = false;
  s.power_notch = 0;
  s.brake_notch = -3;
  s.brake_handle = -3;
  renderLamps(drive, drive.panel);
  EXPECT_TRUE(shown(p.lampGen));
  EXPECT_TRUE(shown(p.lampEle));
  EXPECT_TRUE(shown(p.lampAir));
  s.speed = 5;  // not above Lose_elec
  renderLamps(drive, drive.panel);
  EXPECT_FALSE(shown(p.lampGen));
  EXPECT_FALSE(shown(p.lampEle));
  EXPECT_TRUE(shown(p.lampAir));
  s.brake_notch = -8;  // emergency is no service step
  renderLamps(drive, drive.panel);
  EXPECT_FALSE(shown(p.lampAir));

  // A power notch whose curve starts negative regenerates while the force brakes.
  s.brake_notch = 0;
  s.power_handle = 1;
  s.power_notch = 1;
  s.force = Fixed::fromInt(-100);
  t.Notches[0].accStart = -1;
  renderLamps(drive, drive.panel);
  EXPECT_TRUE(shown(p.lampGen));

  s.const_speed = true;
  s.lamp_ats1 = true;
  s.stop_marker = true;
  s.eb_lamp = true;
  renderLamps(drive, drive.panel);
  EXPECT_TRUE(shown(p.lampConst));
  EXPECT_TRUE(shown(p.lampAts1));
  EXPECT_TRUE(shown(p.lampStop));
  EXPECT_TRUE(shown(p.lampEb));
  s.const_speed = false;
  s.eb_lamp = false;
  renderLamps(drive, drive.panel);
  EXPECT_FALSE(shown(p.lampConst));
  EXPECT_FALSE(shown(p.lampEb));
}

TEST_F(PanelTest, TunnelOverlayFadesInHoldsAndFadesOut) {
  RouteData& route = *drive.route;
  route.tunnelCount = 2;
  route.tunnels[0] = {0, 0, 200, 10000, 20000};
  route.tunnels[1] = {0, 0, 0, 30000, 40000};
  EXPECT_EQ(tunnelAlpha(route, 10000), 0);    // on the portal: outside
  EXPECT_EQ(tunnelAlpha(route, 10750), 100);  // halfway through the first 15 m
  EXPECT_EQ(tunnelAlpha(route, 15000), 200);
  EXPECT_EQ(tunnelAlpha(route, 19700), 40);
  EXPECT_EQ(tunnelAlpha(route, 35000), 0);  // no darkness
  route.tunnelCount = 3;
  route.tunnels[2] = {0, 0, 50, 12000, 18000};  // a later record wins
  EXPECT_EQ(tunnelAlpha(route, 15000), 50);

  t.Panel2 = {"dark.bmp", 0, 0};
  build();
  s.position_cm = 15000;
  renderPanelIndicators(drive, drive.panel);
  EXPECT_TRUE(screen.at(p.overlay).visible);
  EXPECT_EQ(screen.at(p.overlay).alpha, 50);
  s.position_cm = 25000;
  renderPanelIndicators(drive, drive.panel);
  EXPECT_FALSE(screen.at(p.overlay).visible);
}

TEST_F(PanelTest, DoorSideIndicatorsFollowTheDoorCommandAndTheStationSide) {
  t.Lamp_Door = {"door.bmp", 0, 0};
  t.OtherCount = 3;
  for (auto& other : t.Others)
    other = {"o.bmp", 0, 0};
  build();
  drive.route->stationCount = 2;
  drive.route->stations[1].stationValue10 = 1;
  auto sides = [&] {
    renderPanelIndicators(drive, drive.panel);
    return std::pair{screen.at(p.others[1]).visible, screen.at(p.others[2]).visible};
  };
  s.door_cmd = true;
  EXPECT_EQ(sides(), (std::pair{true, false}));
  s.stations[1].in_window = true;
  EXPECT_EQ(sides(), (std::pair{false, true}));
  s.door_cmd = false;
  EXPECT_EQ(sides(), (std::pair{false, false}));
  s.stations[1].in_window = false;
  EXPECT_EQ(sides(), (std::pair{false, false}));
  // Open doors put the door lamp out.
  s.doors_open = true;
  renderPanelIndicators(drive, drive.panel);
  EXPECT_FALSE(screen.at(p.lampDoor).visible);
}

TEST(StopLine, MarkerGrowsTowardsTheStopAndThePointerMovesFasterNearIt) {
  RouteData route;
  route.perspectiveDistance = 10;
  route.perspectiveHeight = 100;
  route.stations[1].stationValue13 = 300;
  route.stations[1].stationValue14 = 40;
  SimState s;
  s.next_stop_station = 1;
  s.remain_cm = 1000;  // 10 m before: 20 pixels square
  placeStopLine(s, route);
  EXPECT_EQ(s.stop_line_size, 20);
  EXPECT_EQ(s.stop_line_top, 290);        // 340 - 10 / 20 x 100
  EXPECT_EQ(s.stop_line_left, 320 - 10);  // 40 / 20 x 10 + 300, less half the size
  s.remain_cm = -500;                     // 5 m past: 35 pixels
  placeStopLine(s, route);
  EXPECT_EQ(s.stop_line_size, 35);
  EXPECT_EQ(s.stop_line_top, 340 + 100);  // -5 / 5 x 100 below
  s.remain_cm = 3000;                     // too far: no marker
  placeStopLine(s, route);
  EXPECT_EQ(s.stop_line_size, 0);
  EXPECT_EQ(s.stop_line_left, 0);
  s.remain_cm = -1000;
  placeStopLine(s, route);
  EXPECT_EQ(s.stop_line_size, 0);
  route.perspectiveDistance = -10;  // a marker at infinity is left off
  s.remain_cm = 1000;
  placeStopLine(s, route);
  EXPECT_EQ(s.stop_line_size, 0);

  EXPECT_EQ(stopPointerTop(0), 332);
  EXPECT_EQ(stopPointerTop(100), 315);
  EXPECT_EQ(stopPointerTop(2000), 332 - 340);
  EXPECT_EQ(stopPointerTop(10000), 162);
  EXPECT_EQ(stopPointerTop(25000), -30);
  EXPECT_EQ(stopPointerTop(-999), 332 + 170);  // round(-169.83)
  EXPECT_EQ(stopPointerTop(-1000), 332 + 17);
  EXPECT_EQ(stopPointerTop(-5000), -30);
  EXPECT_EQ(stopPointerTop(std::nanl("")), -30);
}

TEST_F(PanelTest, StripPatternsAndTheClockPictureFollowTheState) {
  strip(t.NotchImageP, "p.bmp", 0, 0, 10, 10);
  strip(t.Lamp_signal, "sig.bmp", 0, 0, 10, 10);
  strip(t.GearImageList2, "gl.bmp", 0, 0, 10, 10);
  t.Clock = {400, 400, 20};
  build();
  s.notch_picture_p = 3;
  s.cab_signal_pattern = 2;
  s.cab_signal_visible = false;
  s.gear_lever_picture = 4;
  s.clock_hands = {{{25, 13}, {45, 25}, {25, 45}}};
  s.clock_redraw = true;
  renderPanelIndicators(drive, drive.panel);
  EXPECT_EQ(screen.at(p.notchP).pattern, 3);
  EXPECT_EQ(screen.at(p.cabSignal).pattern, 2);
  EXPECT_FALSE(screen.at(p.cabSignal).visible);
  EXPECT_EQ(screen.at(p.gearLever).pattern, 4);

  const FakeScreen::Picture& clock = screen.pic(*p.clockPicture);
  ASSERT_EQ(clock.lines.size(), 3u);
  EXPECT_EQ(clock.fill, CabPanel::kClockBackground);
  EXPECT_EQ(clock.lines[1].x0, 25);
  EXPECT_EQ(clock.lines[1].y0, 25);
  EXPECT_EQ(clock.lines[1].x1, 45);
  EXPECT_EQ(clock.lines[1].colour, 0u);
  EXPECT_FALSE(s.clock_redraw);
  // Without a new second the picture is left as it is.
  s.clock_hands[0] = {0, 0};
  renderPanelIndicators(drive, drive.panel);
  EXPECT_EQ(screen.pic(*p.clockPicture).lines[0].x1, 25);
}

TEST_F(PanelTest, TheTickMovesThePanelOnlyWithASpriteEngine) {
  t.Needle_Speed = {"n.bmp", 0, 0, 0, 0, 30, 1.5L, 0};
  t.Tons = Fixed::fromInt(30);
  t.EBPress = 400;
  build();
  simulationTick(drive);
  EXPECT_EQ(screen.at(p.needleSpeed).angle, 21);  // round(30 x 255 / 360) at standstill
  drive.media.sprites = nullptr;
  s.speed = 60;
  simulationTick(drive);  // headless: the sprites are not touched
  EXPECT_EQ(screen.at(p.needleSpeed).angle, 21);
}

}  // namespace
}  // namespace velimoro
