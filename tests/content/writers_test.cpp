#include "tools/content/writers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "content/jpeg_decoder.h"
#include "data/route_reader.h"
#include "data/text_file.h"
#include "media/picture_loader.h"
#include "support/test_support.h"
#include "tools/content/canvas.h"
#include "tools/content/synth.h"

namespace velimoro::content {
namespace {

using velimoro::testing::TempDir;

using testing::decodeJpeg;
using Decoded = testing::DecodedJpeg;

Canvas halves() {
  Canvas c(64, 48, Rgb{200, 30, 30});
  c.fillRect(32, 0, 32, 48, Rgb{20, 60, 220});
  return c;
}

TEST(PictureWriters, BmpIsReadBackWithItsSizeRowsAndTransparentCorner) {
  TempDir dir;
  Canvas c(5, 3, Rgb{10, 20, 30});  // 15 bytes a row, padded to 16
  c.set(4, 0, Rgb{1, 2, 3});
  writeBmp(dir.file("a/b.bmp"), c, kTransparentKey);
  EXPECT_EQ(media::bmpSize(dir.file("a/b.bmp")), std::make_pair(5, 3));
  media::FileCheckPictureLoader loader;
  ASSERT_TRUE(loader.load(dir.file("a/b.bmp")).has_value());
  const std::string bytes = bmpBytes(c, kTransparentKey);
  ASSERT_EQ(bytes.size(), 54u + 16 * 3);
  // Rows are stored bottom first: the first pixel stored is the bottom-left, the key colour.
  EXPECT_EQ(static_cast<unsigned char>(bytes[54]), 255);  // blue
  EXPECT_EQ(static_cast<unsigned char>(bytes[55]), 0);    // green
  EXPECT_EQ(static_cast<unsigned char>(bytes[56]), 255);  // red
  // The top row is last; its fifth pixel is (1, 2, 3) as blue, green, red.
  EXPECT_EQ(bytes.substr(54 + 32 + 12, 3), std::string("\x03\x02\x01", 3));
  EXPECT_EQ(bmpBytes(c).substr(54, 3), std::string("\x1e\x14\x0a", 3));
}

TEST(PictureWriters, JpegDecodesToThePictureWithinCompressionLoss) {
  const std::string bytes = jpegBytes(halves(), 90);
  Decoded d;
  ASSERT_TRUE(decodeJpeg(bytes, d));
  ASSERT_EQ(d.width, 64);
  ASSERT_EQ(d.height, 48);
  const auto near = [&](int x, int y, Rgb expected) {
    const std::size_t at = (static_cast<std::size_t>(y) * 64 + static_cast<std::size_t>(x)) * 3;
    EXPECT_NEAR(d.rgb[at], expected.r, 12) << x << "," << y;
    EXPECT_NEAR(d.rgb[at + 1], expected.g, 12) << x << "," << y;
    EXPECT_NEAR(d.rgb[at + 2], expected.b, 12) << x << "," << y;
  };
  near(8, 8, {200, 30, 30});
  near(56, 40, {20, 60, 220});
  EXPECT_EQ(jpegBytes(halves(), 90), bytes);  // no time stamp or random part
}

TEST(SoundWriters, WaveHeadersAndSamplesReadBack) {
  TempDir dir;
  Samples s(22050, 0.0f);
  s[0] = 1.0f;
  s[1] = -1.0f;
  s[2] = 2.0f;  // clipped
  writeWave(dir.file("s8.wav"), s, 22050, 8);
  writeWave(dir.file("s16.wav"), Samples(52920, 0.5f), 22050, 16);
  int seconds = 0;
  std::string error;
  ASSERT_TRUE(waveLengthSeconds(dir.file("s8.wav"), seconds, error)) << error;
  EXPECT_EQ(seconds, 1);
  ASSERT_TRUE(waveLengthSeconds(dir.file("s16.wav"), seconds, error)) << error;
  EXPECT_EQ(seconds, 2);  // 2.4 s
  const std::string bytes8 = waveBytes(s, 22050, 8);
  EXPECT_EQ(bytes8.substr(0, 4), "RIFF");
  EXPECT_EQ(static_cast<unsigned char>(bytes8[44]), 255);
  EXPECT_EQ(static_cast<unsigned char>(bytes8[45]), 1);
  EXPECT_EQ(static_cast<unsigned char>(bytes8[46]), 255);
  EXPECT_EQ(static_cast<unsigned char>(bytes8[47]), 128);
  const std::string bytes16 = waveBytes({0.5f}, 22050, 16);
  EXPECT_EQ(bytes16.size(), 46u);
  EXPECT_EQ(bytes16.substr(44, 2), std::string("\x00\x40", 2));
  EXPECT_EQ(bytes16[34], 16);                          // bits a sample
  EXPECT_EQ(waveBytes({0.0f}, 22050, 8).size(), 46u);  // the odd data chunk is padded
  EXPECT_THROW(waveBytes(s, 22050, 12), std::invalid_argument);
}

TEST(TextWriters, Cp932LinesEndInCrLfAndReadBackAsUtf8) {
  TempDir dir;
  writeCp932Lines(dir.file("t.dat"), {"[Forward]", "前進", ""});
  TextFileReader reader;
  ASSERT_TRUE(reader.open(dir.file("t.dat")));
  std::string line;
  std::vector<std::string> lines;
  while (reader.readLine(line) == TextFileReader::Line::kRead)
    lines.push_back(line);
  EXPECT_EQ(lines, (std::vector<std::string>{"[Forward]", "前進", ""}));
  EXPECT_EQ(toCp932("前進\r\n", "x"), std::string("\x91\x4f\x90\x69\r\n", 6));
  try {
    toCp932("a\xf0\x9f\x9a\x83", "route.dat");
    ADD_FAILURE() << "an emoji has no CP932 form";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("route.dat"), std::string::npos);
  }
}

TEST(Synth, NoiseAndLoopsAreRepeatable) {
  EXPECT_EQ(filteredNoise(5, 0.5, 0.1), filteredNoise(5, 0.5, 0.1));
  EXPECT_NE(filteredNoise(5, 0.5, 0.1), filteredNoise(6, 0.5, 0.1));
  Samples s = harmonics(441, {1.0}, 1.0);
  makeLoop(s, 0.1);
  EXPECT_EQ(s.size(), sampleCount(0.9));
  // The loop's end runs into its start without a jump.
  EXPECT_LT(std::fabs(s.back() - s.front()), 0.2f);
}

}  // namespace
}  // namespace velimoro::content
