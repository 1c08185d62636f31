#include "present/picture_effects.h"

#include <gtest/gtest.h>

namespace velimoro {
namespace {

media::RgbPicture filled(std::uint8_t value, int width = 604, int height = 340) {
  media::RgbPicture p;
  p.width = width;
  p.height = height;
  p.pixels.assign(static_cast<std::size_t>(width) * height * 3, value);
  return p;
}

int channel(const media::RgbPicture& p, int x, int y, int c = 0) {
  return p.pixels[(static_cast<std::size_t>(y) * p.width + x) * 3 + c];
}

TEST(ShadeTextBox, DarkensInsideByAFifthOfTheSumAndFadesOverFivePixels) {
  media::RgbPicture p = filled(255);
  shadeTextBox(p, 100, 50, 10, 20);
  // Inside: 150 x 765 / 750 = 153 off each channel of a white pixel.
  EXPECT_EQ(channel(p, 100, 50), 255 - 153);
  EXPECT_EQ(channel(p, 120, 60, 2), 255 - 153);
  // One pixel outside: k = 120, 120 x 765 / 750 = 122.4, rounded 122.
  EXPECT_EQ(channel(p, 99, 55), 255 - 122);
  // Two outside in both directions: k = 150 - 60 - 60 = 30: 30.6 rounds to 31.
  EXPECT_EQ(channel(p, 98, 48), 255 - 31);
  // Five outside: k = 0, untouched; six outside is beyond the box.
  EXPECT_EQ(channel(p, 95, 55), 255);
  EXPECT_EQ(channel(p, 126, 55), 255);
}

TEST(ShadeTextBox, StopsAtThePicturesEdges) {
  media::RgbPicture p = filled(200);
  shadeTextBox(p, -3, 335, 10, 8);           // reaches past the left edge and the bottom row 339
  EXPECT_EQ(channel(p, 0, 339), 200 - 120);  // 150 x 600 / 750
  media::RgbPicture tall = filled(200, 604, 360);
  shadeTextBox(tall, 10, 335, 10, 8);
  EXPECT_EQ(channel(tall, 10, 340), 200);  // rows at or beyond 340 are not processed
  media::RgbPicture black = filled(0);
  shadeTextBox(black, 10, 10, 5, 5);
  EXPECT_EQ(channel(black, 10, 10), 0);
}

TEST(LightenTextBand, AddsOneHundredToTheBandRowsOnly) {
  media::RgbPicture p = filled(180);
  lightenTextBand(p);
  EXPECT_EQ(channel(p, 0, 311), 180);
  EXPECT_EQ(channel(p, 0, 312), 255);  // clamped
  EXPECT_EQ(channel(p, 603, 339, 2), 255);
  media::RgbPicture dark = filled(20);
  lightenTextBand(dark);
  EXPECT_EQ(channel(dark, 300, 320, 1), 120);
}

TEST(Fade, ClosesTheCabTwentySixPassesAfterItStarts) {
  int level = 0;
  EXPECT_FALSE(advanceFade(level));  // no fade
  EXPECT_EQ(level, 0);
  level = 1;  // the back command
  int passes = 0;
  bool closed = false;
  while (!closed) {
    closed = advanceFade(level);
    ++passes;
  }
  // 1, 11, ..., 251 are drawn; the pass that reaches 261 closes.
  EXPECT_EQ(passes, 26);
  EXPECT_EQ(level, 0);
}

TEST(StretchKeyed, ScalesByTheNearestPixelSkipsTheKeyAndClipsAtTheEdges) {
  // 4 x 2 source: columns 0..3 of levels 10, 20, 30, 40 in row 0, key 99 in row 1.
  KeyedPicture marker;
  marker.picture.width = 4;
  marker.picture.height = 2;
  for (int v : {10, 20, 30, 40})
    marker.picture.pixels.insert(marker.picture.pixels.end(), 3, static_cast<std::uint8_t>(v));
  marker.picture.pixels.insert(marker.picture.pixels.end(), 12, 99);
  marker.key = 0x636363;
  media::RgbPicture target = filled(0, 20, 20);
  stretchKeyed(marker, target, 2, 3, 8);
  EXPECT_EQ(channel(target, 2, 3), 10);
  EXPECT_EQ(channel(target, 3, 3), 10);
  EXPECT_EQ(channel(target, 4, 3), 20);
  EXPECT_EQ(channel(target, 9, 6), 40);
  EXPECT_EQ(channel(target, 9, 7), 0);  // the keyed row is not drawn
  EXPECT_EQ(channel(target, 10, 3), 0);
  EXPECT_EQ(channel(target, 1, 3), 0);
  // Partly or wholly off the picture, and absurd sizes, draw only what lies on it.
  media::RgbPicture edge = filled(0, 20, 20);
  stretchKeyed(marker, edge, -4, 16, 8);
  EXPECT_EQ(channel(edge, 0, 16), 30);
  EXPECT_EQ(channel(edge, 3, 19), 40);
  stretchKeyed(marker, edge, -2000000000, -2000000000, 2000000000);
  stretchKeyed(marker, edge, 1000, 1000, 50);
  stretchKeyed(marker, edge, 5, 5, -3);
  stretchKeyed(KeyedPicture{}, edge, 0, 0, 10);
  EXPECT_EQ(channel(edge, 5, 5), 0);
}

}  // namespace
}  // namespace velimoro
