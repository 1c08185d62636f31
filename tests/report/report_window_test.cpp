// The report window drawn on the offscreen platform: it lays out at its size and its plot shows
// the driven speed and the limits.
#include <gtest/gtest.h>
#include <QApplication>
#include <QImage>

#include <cstdlib>
#include <memory>

#include "report/report_drive.h"
#include "shell/report_window.h"
#include "support/qt_app.h"

namespace velimoro {
namespace {

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new testing::QtEnvironment);

int pixelsOf(const QImage& image, QRgb colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x)
      count += image.pixel(x, y) == colour;
  }
  return count;
}

TEST(ReportWindow, ShowsThePlotOfADrive) {
  const auto drive =
      testing::runReportedDrive("electric_protection", "train_QT600.dat", "line_up3.dat", 300);
  ReportWindow window(drive.report);
  window.show();
  const QImage shot = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
  if (const char* path = std::getenv("VELIMORO_REPORT_SCREENSHOT")) shot.save(path);
  EXPECT_EQ(shot.size(), QSize(1000, 680));
  // The speed line, the limit lines and the protection marks are drawn in their colours.
  const QImage plot = shot.copy(0, 0, shot.width(), shot.height() / 2);
  EXPECT_GT(pixelsOf(plot, qRgb(0x1a, 0x7f, 0x37)), 200);
  EXPECT_GT(pixelsOf(plot, qRgb(0xd0, 0x20, 0x20)), 20);
  EXPECT_GT(pixelsOf(plot, qRgb(0xc0, 0x00, 0x00)), 10);
}

}  // namespace
}  // namespace velimoro
