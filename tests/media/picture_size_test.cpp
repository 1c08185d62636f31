// The picture sizes the file-check loader reads from BMP headers, which give the panel strips
// their pattern counts.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "media/picture_loader.h"
#include "support/test_support.h"

namespace velimoro::media {
namespace {

void put(std::string& bytes, std::size_t at, std::int64_t value, int count) {
  for (int i = 0; i < count; ++i)
    bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A BMP file header and an information header of `infoSize` bytes (12: the old 16-bit form).
std::string bmpHeader(int infoSize, int width, int height) {
  std::string bytes(14 + 40, '\0');
  bytes[0] = 'B';
  bytes[1] = 'M';
  put(bytes, 14, infoSize, 4);
  if (infoSize == 12) {
    put(bytes, 18, width, 2);
    put(bytes, 20, height, 2);
  } else {
    put(bytes, 18, width, 4);
    put(bytes, 22, height, 4);
  }
  return bytes;
}

TEST(PictureSize, FileCheckLoaderKnowsBmpSizes) {
  velimoro::testing::TempDir dir;
  FileCheckPictureLoader loader;
  const auto strip = loader.load(dir.writeBytes("strip.bmp", bmpHeader(40, 200, 30)));
  const auto topDown = loader.load(dir.writeBytes("down.bmp", bmpHeader(124, 64, -32)));
  const auto old = loader.load(dir.writeBytes("old.bmp", bmpHeader(12, 300, 20)));
  const auto other = loader.load(dir.writeBytes("strip.png", "\x89PNG\r\n\x1a\n...."));
  const auto truncated = loader.load(dir.writeBytes("short.bmp", "BM"));
  ASSERT_TRUE(strip && topDown && old && other && truncated);
  EXPECT_EQ(loader.size(*strip), std::make_pair(200, 30));
  EXPECT_EQ(loader.size(*topDown), std::make_pair(64, 32));
  EXPECT_EQ(loader.size(*old), std::make_pair(300, 20));
  EXPECT_EQ(loader.size(*other), std::nullopt);
  EXPECT_EQ(loader.size(*truncated), std::nullopt);
  EXPECT_EQ(loader.size(99), std::nullopt);
  EXPECT_EQ(loader.size(-1), std::nullopt);
}

}  // namespace
}  // namespace velimoro::media
