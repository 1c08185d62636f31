// The program's icon, written as PNG, decodes with Qt's own reader to the very pixels drawn.
#include "tools/content/icon_art.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cstring>

namespace velimoro::content {
namespace {

TEST(ProgramIcon, PngReadsBackPixelForPixelWithTransparentCornersAndAnOpaqueTrain) {
  for (const int size : iconSizes()) {
    const RgbaPicture icon = programIcon(size);
    const std::string png = pngBytes(icon);
    QImage read = QImage::fromData(reinterpret_cast<const uchar*>(png.data()),
                                   static_cast<int>(png.size()), "PNG");
    ASSERT_FALSE(read.isNull()) << size;
    ASSERT_EQ(read.width(), size);
    ASSERT_EQ(read.height(), size);
    ASSERT_TRUE(read.hasAlphaChannel());
    read = read.convertToFormat(QImage::Format_RGBA8888);
    for (int y = 0; y < size; ++y)
      ASSERT_EQ(std::memcmp(read.constScanLine(y), &icon.pixels[std::size_t(y) * size * 4],
                            std::size_t(size) * 4),
                0)
          << "size " << size << ", row " << y;
    EXPECT_EQ(qAlpha(read.pixel(0, 0)), 0) << size;
    EXPECT_EQ(qAlpha(read.pixel(size - 1, size - 1)), 0) << size;
    EXPECT_EQ(qAlpha(read.pixel(size / 2, size / 2)), 255) << size;
  }
  EXPECT_THROW(pngBytes(RgbaPicture{2, 2, {}}), std::runtime_error);
}

}  // namespace
}  // namespace velimoro::content
