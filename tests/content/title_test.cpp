#include "tools/content/title_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>

#include "content/jpeg_decoder.h"
#include "media/picture_loader.h"
#include "support/test_support.h"
#include "tools/content/glyphs.h"

namespace velimoro::content {
namespace {

using velimoro::testing::readFile;
using velimoro::testing::TempDir;

std::uint32_t little(const std::string& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i)
    v = (v << 8) | static_cast<unsigned char>(b.at(at + static_cast<std::size_t>(i)));
  return v;
}

std::string twoDigits(int n) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", n);
  return text;
}

// The files the title screen opens, with the picture sizes the menu's layout needs.
std::map<std::string, std::pair<int, int>> expectedPictures() {
  std::map<std::string, std::pair<int, int>> files;
  for (int i = 1; i <= 6; ++i)
    files["image/title/line" + std::to_string(i) + ".bmp"] = {280, 62};
  for (const char* map : {"A", "B", "C"})
    files[std::string("image/title/line") + map + ".bmp"] = {400, 250};
  files["image/title/train1.bmp"] = {195, 120};
  files["image/title/train2.bmp"] = {195, 120};
  for (int i = 1; i <= 6; ++i)
    files["image/title/title" + twoDigits(i) + ".jpg"] = {800, 600};
  files["image/title/title2.jpg"] = {800, 600};
  for (int i = 1; i <= 20; ++i)
    files["image/title/op/" + twoDigits(i) + ".jpg"] = {800, 600};
  for (int i = 1; i <= 16; ++i)
    files["image/title/ed/" + twoDigits(i) + ".jpg"] = {800, 600};
  return files;
}

const std::vector<std::string> kSounds = {"sound/42213.wav", "sound/akaneiro.wav",
                                          "sound/start.wav"};

// The title files are written once for the suite.
class TitleFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = std::make_unique<TempDir>();
    writeTitleFiles(dir->path());
  }
  static void TearDownTestSuite() { dir.reset(); }

  static std::unique_ptr<TempDir> dir;
};

std::unique_ptr<TempDir> TitleFiles::dir;

TEST_F(TitleFiles, EveryPictureTheTitleScreenOpensIsThereAndDecodesAtItsSize) {
  std::set<std::string> written;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir->path()))
    if (entry.is_regular_file())
      written.insert(std::filesystem::relative(entry.path(), dir->path()).generic_string());
  std::set<std::string> expected(kSounds.begin(), kSounds.end());
  for (const auto& [name, size] : expectedPictures())
    expected.insert(name);
  // Nothing else: in particular no opening movie, so the slideshow runs alone.
  EXPECT_EQ(written, expected);
  const auto listed = titleFileNames();
  EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), expected);

  media::FileCheckPictureLoader loader;
  std::set<std::string> distinct;
  for (const auto& [name, size] : expectedPictures()) {
    SCOPED_TRACE(name);
    const std::string path = dir->file(name);
    ASSERT_TRUE(loader.load(path).has_value());
    const std::string bytes = readFile(path);
    distinct.insert(bytes);
    if (name.ends_with(".bmp")) {
      EXPECT_EQ(media::bmpSize(path), size);
      EXPECT_EQ(little(bytes, 28, 2), 24u);  // bits a pixel
    } else {
      testing::DecodedJpeg decoded;
      ASSERT_TRUE(testing::decodeJpeg(bytes, decoded));
      EXPECT_EQ(std::make_pair(decoded.width, decoded.height), size);
      EXPECT_LT(bytes.size(), 200u * 1024);  // quality 80 keeps them small
    }
  }
  // Every picture is its own: no slide or button is written twice by mistake.
  EXPECT_EQ(distinct.size(), expectedPictures().size());
}

TEST_F(TitleFiles, MusicIsMono16BitPcmOfTheStatedLengths) {
  const std::map<std::string, std::pair<double, double>> lengths = {
      {"sound/42213.wav", {35, 45}},
      {"sound/akaneiro.wav", {55, 65}},
      {"sound/start.wav", {1.2, 1.8}}};
  for (const auto& [name, range] : lengths) {
    SCOPED_TRACE(name);
    const std::string b = readFile(dir->file(name));
    ASSERT_GE(b.size(), 44u);
    EXPECT_EQ(b.substr(0, 4), "RIFF");
    EXPECT_EQ(little(b, 4, 4), b.size() - 8);
    EXPECT_EQ(b.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(little(b, 20, 2), 1u);  // PCM
    EXPECT_EQ(little(b, 22, 2), 1u);  // mono
    EXPECT_EQ(little(b, 24, 4), 22050u);
    EXPECT_EQ(little(b, 34, 2), 16u);
    EXPECT_EQ(b.substr(36, 4), "data");
    const std::uint32_t data = little(b, 40, 4);
    EXPECT_EQ(data + 44 + (data & 1), b.size());
    const double seconds = data / 2.0 / 22050;
    EXPECT_GE(seconds, range.first);
    EXPECT_LE(seconds, range.second);
    // Loud enough to hear, never clipped.
    int peak = 0;
    for (std::size_t at = 44; at + 1 < b.size(); at += 2)
      peak =
          std::max(peak, std::abs(static_cast<int>(static_cast<std::int16_t>(little(b, at, 2)))));
    EXPECT_GT(peak, 16000);
    EXPECT_LT(peak, 32767);
  }
}

TEST_F(TitleFiles, ASecondRunWritesTheSameBytes) {
  TempDir again;
  writeTitleFiles(again.path());
  for (const std::string& name : titleFileNames()) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(readFile(dir->file(name)) == readFile(again.file(name)));
  }
}

TEST(TitleLayout, MenuPicturesFitTheScreenWithoutOverlapping) {
  std::vector<MenuBox> boxes;
  for (int i = 0; i < 6; ++i)
    boxes.push_back({kRouteButton.x, kRouteButton.y + i * kRouteButtonPitch, kRouteButton.width,
                     kRouteButton.height});
  boxes.push_back(kRouteMap);
  boxes.push_back(kTrainButtons[0]);
  boxes.push_back(kTrainButtons[1]);
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const MenuBox& a = boxes[i];
    EXPECT_GE(a.x, 0) << i;
    EXPECT_GE(a.y, 72) << i;  // below the title band
    EXPECT_LE(a.x + a.width, kTitleWidth) << i;
    EXPECT_LE(a.y + a.height, 540) << i;  // above the row of the program's own buttons
    for (std::size_t j = i + 1; j < boxes.size(); ++j) {
      const MenuBox& b = boxes[j];
      const bool apart = a.x + a.width <= b.x || b.x + b.width <= a.x || a.y + a.height <= b.y ||
                         b.y + b.height <= a.y;
      EXPECT_TRUE(apart) << i << " and " << j;
    }
  }
  // The selection cursor needs room left of the route buttons.
  EXPECT_GE(kRouteButton.x, 30);
  EXPECT_EQ(routeButton(0).width(), kRouteButton.width);
  EXPECT_EQ(routeMap('B').height(), kRouteMap.height);
  EXPECT_EQ(trainButton(1).width(), kTrainButtons[1].width);
  EXPECT_THROW(routeMap('D'), std::out_of_range);
  EXPECT_THROW(openingSlide(kOpeningSlides), std::out_of_range);
}

int inkOf(const TextMask& m) {
  int sum = 0;
  for (std::uint8_t v : m.coverage)
    sum += v;
  return sum;
}

TEST(Glyphs, KanjiAreDrawnAntialiasedAndMeasured) {
  const TextMask one = renderText("鉄", 32);
  const TextMask two = renderText("鉄道", 32);
  EXPECT_EQ(two.height, one.height);
  EXPECT_GT(inkOf(two), inkOf(one));
  EXPECT_GT(inkOf(one), 255 * 60);  // a kanji covers a good part of its square
  // Antialiased: edges are partly covered.
  EXPECT_TRUE(std::any_of(two.coverage.begin(), two.coverage.end(),
                          [](std::uint8_t v) { return v > 20 && v < 235; }));
  // Full-width characters advance about one em each.
  EXPECT_NEAR(measureText("鉄", 32), 32, 2);
  EXPECT_NEAR(measureText("鉄道", 32), 64, 3);
  EXPECT_GT(measureText("鉄道運転", 32), measureText("鉄道", 32));
  EXPECT_GT(measureText("鉄道", 48), measureText("鉄道", 32));
  EXPECT_EQ(two.advance, measureText("鉄道", 32));
  EXPECT_GT(inkOf(renderText("鉄道", 32, FontWeight::kBold)), inkOf(two));

  // Drawn onto a canvas: the ink is where the box is and only there.
  Canvas c(200, 60, Rgb{255, 255, 255});
  const int advance = drawText(c, 20, 10, "鉄道", 32, Rgb{0, 0, 0});
  EXPECT_EQ(advance, two.advance);
  int dark = 0;
  for (int y = 0; y < c.height(); ++y) {
    for (int x = 0; x < c.width(); ++x) {
      if (c.at(x, y) == Rgb{255, 255, 255}) continue;
      ++dark;
      EXPECT_TRUE(x >= 20 && x < 20 + two.width && y >= 10 && y < 10 + two.height) << x << "," << y;
    }
  }
  EXPECT_GT(dark, 300);
}

TEST(Glyphs, RejectsTextItCannotDraw) {
  EXPECT_THROW(renderText("\xe9\x89", 20), std::invalid_argument);  // cut short
  EXPECT_THROW(renderText("a\xff", 20), std::invalid_argument);
  try {
    renderText("駅\xf0\x9f\x9a\x83", 20);  // a train emoji: not in the font
    ADD_FAILURE() << "the emoji has no glyph";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("U+1F683"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find(fontFile(FontWeight::kRegular)), std::string::npos);
  }
}

}  // namespace
}  // namespace velimoro::content
