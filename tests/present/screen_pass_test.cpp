#include "present/screen_pass.h"
#include "cab/drive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "present/aid_overlay.h"
#include "present/scene_movies.h"
#include "sim/driver_aids.h"
#include "support/test_support.h"

namespace velimoro {
namespace {

// A reader whose frame n is a picture of grey level n % 256 (or of `fill` when set).
class FakeVideo final : public media::VideoReader {
 public:
  std::map<std::string, int> frameCounts;  // files that open, with their frame counts
  std::vector<std::string> opened;
  std::vector<int> decoded;
  std::string current;
  int fill = -1;
  int width = 604;
  int height = 340;

  bool open(const std::string& path, std::string& error) override {
    opened.push_back(path);
    if (!frameCounts.contains(path)) {
      error = "missing";
      current.clear();
      return false;
    }
    current = path;
    return true;
  }
  int frameCount() const override {
    const auto it = frameCounts.find(current);
    return it == frameCounts.end() ? 0 : it->second;
  }
  bool decodeFrame(int n, media::RgbPicture& picture) override {
    decoded.push_back(n);
    if (n < 0 || n >= frameCount()) return false;
    picture.width = width;
    picture.height = height;
    picture.layout = media::PixelLayout::kRgb24;  // a reader that converts to no other
    picture.pixels.assign(static_cast<std::size_t>(width) * height * 3,
                          static_cast<std::uint8_t>(fill >= 0 ? fill : n % 256));
    return true;
  }
  void prefetch(int, int) override {}
};

struct TextCall {
  int x, y, size;
  std::string text;
  media::Rgb colour;
  bool operator==(const TextCall&) const = default;
};

// A surface that records what is drawn; a text is 6 pixels a byte wide and size + 4 high.
class FakeSurface final : public media::CabSurface {
 public:
  bool drawable = true;
  media::RgbPicture video;
  std::vector<TextCall> texts;
  std::vector<int> fades;
  int flips = 0;
  std::vector<std::string> steps;

  media::PixelLayout layout = media::PixelLayout::kRgb24;
  bool canDraw() const override { return drawable; }
  media::PixelLayout videoLayout() const override { return layout; }
  void setVideoPicture(const media::RgbPicture& picture) override {
    video = picture;
    texts.clear();
  }
  std::pair<int, int> drawText(int x, int y, const std::string& text, int size,
                               media::Rgb colour) override {
    texts.push_back({x, y, size, text, colour});
    return measureText(text, size);
  }
  std::pair<int, int> measureText(const std::string& text, int size) const override {
    return {6 * static_cast<int>(text.size()), size + 4};
  }
  void fillScreen(media::Rgb) override { steps.push_back("fill"); }
  void drawSprites() override { steps.push_back("sprites"); }
  void drawVideoSurface() override { steps.push_back("video"); }
  void drawPicture(int picture, int x, int y) override {
    steps.push_back("picture " + std::to_string(picture) + " at " + std::to_string(x) + "," +
                    std::to_string(y));
  }
  void fillRectAlpha(int left, int top, int right, int bottom, media::Rgb, int alpha) override {
    EXPECT_EQ(left, 0);
    EXPECT_EQ(top, 0);
    EXPECT_EQ(right, 604);
    EXPECT_EQ(bottom, 654);
    fades.push_back(alpha);
  }
  void flip() override {
    ++flips;
    steps.push_back("flip");
  }
  int channel(int x, int y) const {
    return video.pixels[(static_cast<std::size_t>(y) * video.width + x) * 3];
  }
};

constexpr const char* kRouteFile = "movie/line1.avi";

struct ScreenPassTest : ::testing::Test {
  testing::RecordingSound sound;
  testing::RecordingPictures pictures;
  testing::RecordingMessages messages;
  Drive drive{{}, DriveMedia{sound, pictures, messages, nullptr}};
  SimState& s = drive.state;
  FakeVideo video;
  FakeSurface surface;
  ScreenPass pass;
  std::uint32_t now = 1000;

  ScreenPassTest() {
    drive.strings.Path = "movie/";
    drive.route->dataName = "line1";
    video.frameCounts[kRouteFile] = 5000;
    std::string message;
    openRouteVideo(drive, video, message);
  }
  // A pass 40 ms after the last one.
  bool step() {
    now += 40;
    return runScreenPass(pass, drive, drive.panel, &video, surface, now, true);
  }
  void setTexts() {
    s.speed_text = "45 km/h";
    s.reverser_text = "前";
    s.power_text = "P3";
    s.brake_text = "B0";
    s.gear_text = "直結1";
    s.next_station_text = "A駅";
    s.crew_text = "4両";
  }
};

TEST_F(ScreenPassTest, PassesComeAtMostEvery33MsWhileTheSimulationRuns) {
  EXPECT_FALSE(runScreenPass(pass, drive, drive.panel, &video, surface, 1000, true));
  EXPECT_EQ(pass.fps, 1);
  EXPECT_EQ(surface.steps, (std::vector<std::string>{"fill", "sprites", "video", "flip"}));
  runScreenPass(pass, drive, drive.panel, &video, surface, 1040, true);
  EXPECT_EQ(pass.fps, 25);
  EXPECT_EQ(surface.flips, 2);
  // 20 ms later: nothing drawn, the rate and the time of the last pass kept.
  runScreenPass(pass, drive, drive.panel, &video, surface, 1060, true);
  EXPECT_EQ(surface.flips, 2);
  EXPECT_EQ(pass.fps, 25);
  EXPECT_EQ(pass.lastPassTime, 1040u);
  runScreenPass(pass, drive, drive.panel, &video, surface, 1100, false);
  EXPECT_EQ(surface.flips, 2);
  runScreenPass(pass, drive, drive.panel, &video, surface, 1073, true);
  EXPECT_EQ(pass.fps, 30);
  EXPECT_EQ(surface.flips, 3);
  // A surface that cannot draw gets the picture but no flip.
  surface.drawable = false;
  step();
  EXPECT_EQ(surface.flips, 3);
}

TEST_F(ScreenPassTest, NothingIsRedrawnWithin500FramesPastTheEndFrame) {
  drive.route->movieStop[0] = 1000;
  drive.route->movieStopCount = 1;
  s.speed = 10;
  s.frame = 1200;
  step();
  EXPECT_EQ(surface.flips, 0);
  EXPECT_TRUE(video.decoded.empty());
  s.frame = 1500;
  step();
  EXPECT_EQ(surface.flips, 1);
  s.frame = 1000;
  step();
  EXPECT_EQ(surface.flips, 2);
  s.frame = 1001;
  s.speed = 0;  // standing: drawn
  step();
  EXPECT_EQ(surface.flips, 3);
  // After a switchback the hold looks backwards.
  pass.reverseFlag = 1;
  s.speed = -10;
  s.frame = 700;
  step();
  EXPECT_EQ(surface.flips, 3);
  s.frame = 500;
  step();
  EXPECT_EQ(surface.flips, 4);
  // A scene movie is never held.
  s.frame = 700;
  pass.videoMode = kRunningScene;
  step();
  EXPECT_EQ(surface.flips, 5);
}

TEST_F(ScreenPassTest, ARouteWithoutAnEndFrameIsNotHeld) {
  s.speed = 10;
  s.frame = 200;
  step();
  EXPECT_EQ(surface.flips, 1);
}

TEST_F(ScreenPassTest, AFrameIsDecodedOnlyWhenItChanges) {
  s.frame = 10;
  step();
  step();
  EXPECT_EQ(video.decoded, std::vector<int>{10});
  EXPECT_EQ(surface.channel(300, 100), 10);
  s.frame = 11;
  step();
  EXPECT_EQ(video.decoded, (std::vector<int>{10, 11}));
  EXPECT_EQ(pass.lastFetchedFrame, 11);
  // The other run modes show the video by time or the frame less the offset.
  s.run_mode = 1;
  s.timed_frame = 30;
  step();
  s.run_mode = 2;
  s.follow_offset = 5;
  step();
  EXPECT_EQ(video.decoded, (std::vector<int>{10, 11, 30, 6}));
  // Beyond the video's frames nothing is fetched or drawn.
  s.run_mode = 0;
  s.frame = 5001;
  const int flips = surface.flips;
  step();
  EXPECT_EQ(surface.flips, flips);
  EXPECT_EQ(video.decoded.size(), 4u);
}

TEST_F(ScreenPassTest, AFrameOfAnotherSizeFillsThePicture) {
  video.width = 302;
  video.height = 170;
  s.frame = 77;
  step();
  ASSERT_EQ(surface.video.width, 604);
  ASSERT_EQ(surface.video.height, 340);
  EXPECT_EQ(surface.channel(603, 339), 77);
}

TEST_F(ScreenPassTest, WithoutAVideoTheCabIsStillDrawn) {
  FakeVideo none;
  s.frame = 10;
  EXPECT_FALSE(runScreenPass(pass, drive, drive.panel, &none, surface, 1000, true));
  EXPECT_FALSE(runScreenPass(pass, drive, drive.panel, nullptr, surface, 1040, true));
  EXPECT_EQ(surface.flips, 2);
  EXPECT_EQ(surface.channel(10, 10), 0);
}

TEST_F(ScreenPassTest, TheFadeClosesTheCabAfter26Passes) {
  pass.fadeLevel = 1;
  for (int i = 0; i < 25; ++i)
    EXPECT_FALSE(step());
  EXPECT_TRUE(step());
  EXPECT_EQ(pass.fadeLevel, 0);
  ASSERT_EQ(surface.fades.size(), 26u);
  EXPECT_EQ(surface.fades.front(), 1);
  EXPECT_EQ(surface.fades.back(), 251);
  EXPECT_EQ(surface.flips, 26);  // the closing pass is shown too
  EXPECT_EQ(surface.steps[surface.steps.size() - 2], "video");
  EXPECT_FALSE(step());
  EXPECT_EQ(surface.fades.size(), 26u);
}

TEST_F(ScreenPassTest, TextsAreDrawnInOrderEachAfterItsShadow) {
  setTexts();
  s.pattern_text = "停車パターン発生中";
  s.traffic_stop_text = "120m";
  s.traffic_detect_text = "トロコン反応";
  pass.extraTextA = "A";
  pass.extraTextB = "B";
  s.guidance_shown = "ブレーキ";
  step();
  const std::vector<std::tuple<int, int, int, std::string>> places = {
      {495, 271, 14, "45 km/h"},
      {470, 310, 12, "前"},
      {518, 310, 12, "P3"},
      {550, 310, 12, "B0"},
      {418, 310, 12, "直結1"},
      {5, 282, 12, "A駅"},
      {418, 235, 12, s.pattern_text},
      {5, 222, 12, "120m"},
      {5, 192, 12, "トロコン反応"},
      {5, 252, 12, "4両"},
      {100, 281, 12, "A"},
      {5, 311, 12, "B"},
      {300, 15, 12, "ブレーキ"}};
  ASSERT_EQ(surface.texts.size(), 2 * places.size());
  for (std::size_t i = 0; i < places.size(); ++i) {
    const auto& [x, y, size, text] = places[i];
    EXPECT_EQ(surface.texts[2 * i], (TextCall{x + 1, y + 1, size, text, 0x000000})) << text;
    EXPECT_EQ(surface.texts[2 * i + 1], (TextCall{x, y, size, text, 0xFFFFFF})) << text;
  }
  // The guidance is centred by the width it had on the last pass: 12 bytes, 72 pixels.
  step();
  EXPECT_EQ(surface.texts.back().x, 300 - 36);
}

TEST_F(ScreenPassTest, EmptyOptionalTextsAreSkippedAndTheTransponderTextDropsDown) {
  setTexts();
  s.traffic_detect_text = "トロコン反応";
  step();
  std::vector<std::string> drawn;
  for (const TextCall& call : surface.texts) {
    if (call.colour == 0xFFFFFF) drawn.push_back(call.text);
    if (call.text == "トロコン反応" && call.colour == 0xFFFFFF) {
      EXPECT_EQ(call.y, 222);
    }
  }
  EXPECT_EQ(drawn, (std::vector<std::string>{"45 km/h", "前", "P3", "B0", "直結1", "A駅",
                                             "トロコン反応", "4両"}));
}

TEST_F(ScreenPassTest, TextBoxesMeasuredOnTheLastPassAreShaded) {
  video.fill = 255;
  setTexts();
  step();
  // Nothing was measured before the first pass.
  EXPECT_EQ(surface.channel(500, 275), 255);
  step();
  // Speed text: 7 bytes, 42 x 18 at (495, 271): white inside loses 153.
  EXPECT_EQ(surface.channel(500, 275), 255 - 153);
  EXPECT_EQ(surface.channel(495 + 42, 271 + 16), 255 - 153);
  EXPECT_EQ(surface.channel(495 + 42 + 6, 275), 255);
  // The shading does not pile up from pass to pass.
  step();
  EXPECT_EQ(surface.channel(500, 275), 255 - 153);
  // A text that became empty leaves no box behind.
  s.crew_text.clear();
  step();
  EXPECT_EQ(surface.channel(6, 255), 255);
  EXPECT_EQ(surface.channel(300, 100), 255);
}

TEST_F(ScreenPassTest, TheStopLineGoesOnTheSquareTheTickPlacedBeforeTheShading) {
  // A 2 x 2 marker: red, keyed grey bottom-left.
  pass.stopLine.picture = {2, 2, {200, 0, 0, 200, 0, 0, 90, 90, 90, 200, 0, 0}};
  pass.stopLine.key = 0x5A5A5A;
  video.fill = 40;
  s.stop_line_left = 100;
  s.stop_line_top = 200;
  s.stop_line_size = 20;
  s.crew_text = "4両";  // box at (5, 252), far from the marker
  step();
  EXPECT_EQ(surface.channel(100, 200), 200);
  EXPECT_EQ(surface.channel(119, 219), 200);
  EXPECT_EQ(surface.channel(105, 215), 40);  // the keyed quarter lets the video through
  EXPECT_EQ(surface.channel(120, 205), 40);
  EXPECT_EQ(surface.channel(99, 205), 40);
  // The shading darkens the marker as it darkens the video under a text.
  s.stop_line_left = 0;
  s.stop_line_top = 252;
  step();
  EXPECT_EQ(surface.channel(6, 255), 200 - 40);
  // Size 0 (no stop near) draws nothing; band mode draws no marker.
  s.stop_line_size = 0;
  step();
  EXPECT_EQ(surface.channel(100, 200), 40);
  s.stop_line_size = 20;
  s.stop_line_left = 100;
  s.stop_line_top = 200;
  pass.bandMode = true;
  step();
  EXPECT_EQ(surface.channel(100, 200), 40);
}

TEST_F(ScreenPassTest, TheStopPointerIsDrawnOverTheVideoAtTheRowOfTheTick) {
  drive.panel.stopPointerPicture = 7;
  s.stop_pointer_top = 315;
  step();
  EXPECT_EQ(surface.steps,
            (std::vector<std::string>{"fill", "sprites", "video", "picture 7 at 589,315", "flip"}));
}

TEST_F(ScreenPassTest, BandModeWritesOnlyTheGuidanceLineOnTheLightenedBand) {
  pass.bandMode = true;
  video.fill = 50;
  setTexts();
  step();
  EXPECT_TRUE(surface.texts.empty());
  EXPECT_EQ(surface.channel(10, 320), 50);
  s.guidance_shown = "発車";  // 6 bytes, 36 x 16
  step();
  EXPECT_EQ(surface.texts, (std::vector<TextCall>{{284, 318, 12, "発車", 0x000000}}));
  EXPECT_EQ(surface.channel(10, 311), 50);
  EXPECT_EQ(surface.channel(10, 312), 150);
  EXPECT_EQ(surface.channel(603, 339), 150);
  step();
  EXPECT_EQ(surface.channel(10, 320), 150);
}

// The aids of a train 123.4 m before its stop point under a caution signal, in a 45 limit with
// an 85 ahead, in the normal mode whose top notch is P5.
void setAids(SimDrive& drive) {
  SimState& s = drive.state;
  drive.train->PowerModes[0] = {"P", "通常"};
  s.aid_stop_ahead = true;
  s.aid_stop_cm = 12340;
  s.aid_signal_aspect = 10;
  s.aid_signal_cm = 41100;
  s.aid_limit = 45;
  s.aid_next_limit = 85;
  s.aid_next_limit_cm = 32000;
  s.aid_top_notch = 5;
}

using AidOverlay = ScreenPassTest;

TEST_F(AidOverlay, LinesSayWhatTheDriverNeedsToStopAtTheMark) {
  setAids(drive);
  const auto texts = [this] {
    std::vector<std::string> out;
    for (const AidLine& line : aidLines(drive))
      out.push_back(line.alert ? "!" + line.text : line.text);
    return out;
  };
  EXPECT_EQ(texts(), (std::vector<std::string>{"停止位置まで 123 m", "信号 注意  411 m",
                                               "制限 45  次 85 (320 m)", "通常 最大 P5"}));
  // The last 50 m to a tenth; a limit and a signal that are not there leave their words out.
  s.aid_stop_cm = 4321;
  s.aid_signal_aspect = 999;
  s.aid_limit = 0;
  s.aid_next_limit_cm = 0;
  EXPECT_EQ(texts(), (std::vector<std::string>{"停止位置まで 43.2 m", "制限 -", "通常 最大 P5"}));
  // At rest the stop's result, within the tolerance or outside it.
  s.aid_stopped = true;
  s.aid_stop_tolerance_cm = 100;
  s.aid_stop_result_cm = 40;
  EXPECT_EQ(texts().front(), "0.4 m 手前 (±1.0 m)");
  s.aid_stop_result_cm = -180;
  EXPECT_EQ(texts().front(), "1.8 m 行き過ぎ (±1.0 m 外)");
  // A refusal stays on red for 20 ticks; the brake's cause while it holds, with its release.
  s.aid_refused = static_cast<int>(AidRefusal::kTopNotch);
  s.aid_refused_tick = 100;
  s.tick_count = 119;
  s.brake_cause = static_cast<int>(BrakeCause::kVigilance);
  EXPECT_EQ(texts().back(), "!EB装置: 操作がありませんでした  非常位置で R");
  EXPECT_EQ(texts()[texts().size() - 2], "!これ以上のノッチはありません");
  s.tick_count = 120;
  s.brake_cause = 0;
  EXPECT_EQ(texts().back(), "通常 最大 P5");
}

TEST_F(ScreenPassTest, TheAidPanelLiesOverTheClassicPictureAndLeavesNoTrace) {
  video.fill = 200;
  setTexts();
  setAids(drive);
  s.brake_cause = static_cast<int>(BrakeCause::kAtsPattern);
  step();
  step();  // the classic texts' boxes measured
  const media::RgbPicture classic = surface.video;
  const std::vector<TextCall> classicTexts = surface.texts;
  drive.setup.settings.aids = 1;
  step();
  const AidPanelPlace place = aidPanelPlace(aidLines(drive), surface);
  int changed = 0;
  for (int y = 0; y < classic.height; ++y) {
    for (int x = 0; x < classic.width; ++x) {
      const bool inside = x >= place.left && x < place.right && y >= place.top && y < place.bottom;
      const bool differs = surface.channel(x, y) !=
                           classic.pixels[(static_cast<std::size_t>(y) * classic.width + x) * 3];
      EXPECT_FALSE(differs && !inside) << x << "," << y;
      changed += differs;
      if (differs && !inside) return;
    }
  }
  EXPECT_GT(changed, (place.right - place.left) * (place.bottom - place.top) / 2);
  // The classic texts as they were, then the panel's five lines, each after its shadow.
  ASSERT_EQ(surface.texts.size(), classicTexts.size() + 10);
  EXPECT_TRUE(std::equal(classicTexts.begin(), classicTexts.end(), surface.texts.begin()));
  EXPECT_EQ(surface.texts.back().text, brakeCauseText(BrakeCause::kAtsPattern));
  // A screen that takes 32-bit pixels gets the same colours.
  const media::RgbPicture withAids = surface.video;
  surface.layout = media::PixelLayout::kXrgb32;
  step();
  ASSERT_EQ(surface.video.pixels.size(), withAids.pixels.size() / 3 * 4);
  for (std::size_t i = 0; i < withAids.pixels.size() / 3; ++i)
    ASSERT_EQ(surface.video.rgbAt(i * 4), withAids.rgbAt(i * 3)) << i;
  surface.layout = media::PixelLayout::kRgb24;
  // Off again, the very next pass is the classic screen, byte for byte.
  drive.setup.settings.aids = 0;
  step();
  EXPECT_EQ(surface.video.pixels, classic.pixels);
  EXPECT_EQ(surface.texts, classicTexts);
}

TEST_F(ScreenPassTest, OpeningTheRouteVideoKeepsItsFrameCountOrTellsWhyNot) {
  EXPECT_EQ(video.opened.back(), kRouteFile);
  EXPECT_EQ(s.video_end_frame, 5000);
  drive.route->dataName = "line2";
  s.video_end_frame = 0;
  std::string message;
  EXPECT_FALSE(openRouteVideo(drive, video, message));
  EXPECT_EQ(message, "movie/line2.avi映像ファイルを開けません");
  EXPECT_EQ(s.video_end_frame, 0);
}

struct SceneMovieTest : ScreenPassTest {
  SceneMovieTest() {
    video.frameCounts["movie/scene1.avi"] = 60;
    video.frameCounts["movie/scene2.avi"] = 60;
    drive.route->frameRate = 15;
    auto& table = drive.route->movieSwitches;
    table[0] = {2, 100, 200, "scene1", 60, false, 150};
    table[1] = {0, 300, 359, "scene2", 60, false, 400};
    drive.route->movieSwitchCount = 2;
    video.opened.clear();
  }
};

TEST_F(SceneMovieTest, AStandingScenePlaysByTimeThenTheRouteResumes) {
  s.frame = 120;
  s.speed = 5;
  runSceneMovies(pass, drive, video);
  EXPECT_EQ(pass.videoMode, kRouteVideo);
  s.speed = 0.4L;  // rounds to a standstill
  runSceneMovies(pass, drive, video);
  EXPECT_EQ(video.opened, std::vector<std::string>{"movie/scene1.avi"});
  EXPECT_EQ(pass.videoMode, kStandingScene);
  EXPECT_EQ(pass.subFrame, 0);
  EXPECT_EQ(pass.sceneLength, 60);
  EXPECT_EQ(pass.sceneStartFrame, 120);
  step();
  EXPECT_EQ(video.decoded.back(), 0);
  // 15 frames a second: one frame every second fast step.
  for (int i = 0; i < 119; ++i)
    advanceSceneFrame(pass, drive);
  EXPECT_EQ(pass.subFrame, 59);
  step();
  EXPECT_EQ(video.decoded.back(), 59);
  runSceneMovies(pass, drive, video);
  EXPECT_EQ(pass.videoMode, kStandingScene);
  advanceSceneFrame(pass, drive);
  runSceneMovies(pass, drive, video);
  EXPECT_EQ(video.opened.back(), kRouteFile);
  EXPECT_EQ(pass.videoMode, kRouteVideo);
  EXPECT_EQ(s.frame, 150);
  EXPECT_EQ(pass.subFrame, 0);
  EXPECT_EQ(pass.lastFetchedFrame, -1);
  EXPECT_TRUE(drive.route->movieSwitches[0].done);
  // Done for the rest of the run.
  runSceneMovies(pass, drive, video);
  EXPECT_EQ(pass.videoMode, kRouteVideo);
  EXPECT_EQ(video.opened.size(), 2u);
}

TEST_F(SceneMovieTest, ARunningSceneFollowsTheTrainAndEndsPastItsRange) {
  s.speed = 40;
  s.frame = 310;
  runSceneMovies(pass, drive, video);
  EXPECT_EQ(video.opened, std::vector<std::string>{"movie/scene2.avi"});
  EXPECT_EQ(pass.videoMode, kRunningScene);
  EXPECT_EQ(pass.subFrame, 10);
  EXPECT_EQ(pass.sceneStartFrame, 300);
  EXPECT_EQ(video.decoded, std::vector<int>{1});
  s.frame = 355;
  advanceSceneFrame(pass, drive);
  runSceneMovies(pass, drive, video);
  EXPECT_EQ(pass.videoMode, kRunningScene);
  step();
  EXPECT_EQ(video.decoded.back(), 55);
  s.frame = 360;
  advanceSceneFrame(pass, drive);
  runSceneMovies(pass, drive, video);
  EXPECT_EQ(pass.videoMode, kRouteVideo);
  EXPECT_EQ(s.frame, 400);
  EXPECT_EQ(video.opened.back(), kRouteFile);
  // The scene that played is the one done; the standing record is still to come.
  EXPECT_TRUE(drive.route->movieSwitches[1].done);
  EXPECT_FALSE(drive.route->movieSwitches[0].done);
}

TEST_F(SceneMovieTest, ASceneThatCannotBeOpenedLeavesTheRouteVideo) {
  drive.route->movieSwitches[1].movieText = "lost";
  s.frame = 310;
  runSceneMovies(pass, drive, video);
  EXPECT_EQ(video.opened, (std::vector<std::string>{"movie/lost.avi", kRouteFile}));
  EXPECT_EQ(pass.videoMode, kRouteVideo);
  EXPECT_EQ(s.frame, 310);
  EXPECT_TRUE(drive.route->movieSwitches[1].done);
  step();
  EXPECT_EQ(video.decoded.back(), 310);
}

}  // namespace
}  // namespace velimoro
