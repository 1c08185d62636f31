// The cab screen drawn with Qt: pictures, sprites and the composed surface, checked pixel by
// pixel on the back buffer.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <limits>
#include <string>

#include "media/qt_cab_screen.h"
#include "support/test_support.h"

namespace velimoro::media {
namespace {

// Fonts need a QGuiApplication; the offscreen platform needs no display.
class QtApplication : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    m_app = new QGuiApplication(m_argc, m_argv);
  }
  void TearDown() override { delete m_app; }

 private:
  int m_argc = 1;
  char m_name[16] = "test_media";
  char* m_argv[2] = {m_name, nullptr};
  QGuiApplication* m_app = nullptr;
};

[[maybe_unused]] ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new QtApplication);

constexpr Rgb kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kYellow = 0xFFFF00;
constexpr Rgb kMagenta = 0xFF00FF, kWhite = 0xFFFFFF, kBlack = 0x000000;

Rgb at(const QImage& image, int x, int y) {
  return image.pixel(x, y) & 0xFFFFFFu;
}

// Whether `got` is within `tolerance` of `want` in every channel.
bool close(QRgb got, Rgb want, int tolerance) {
  return std::abs(qRed(got) - qRed(want)) <= tolerance &&
         std::abs(qGreen(got) - qGreen(want)) <= tolerance &&
         std::abs(qBlue(got) - qBlue(want)) <= tolerance;
}

// Whether some pixel within one of (x, y) is close to `colour`.
bool near(const QImage& image, int x, int y, Rgb colour) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (close(image.pixel(x + dx, y + dy), colour, 8)) return true;
  return false;
}

// A picture of `width` x `height` in `colour`, with rectangles filled in other colours.
QImage filled(int width, int height, Rgb colour,
              std::initializer_list<std::pair<QRect, Rgb>> patches = {}) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(0xFF000000u | colour);
  QPainter painter(&image);
  for (const auto& [rect, patch] : patches)
    painter.fillRect(rect, QColor(0xFF000000u | patch));
  return image;
}

// Saves `image` as `name` in `dir` and loads it into `screen`.
int loadSaved(QtCabScreen& screen, const velimoro::testing::TempDir& dir, const QImage& image,
              const std::string& name) {
  const std::string path = dir.file(name);
  EXPECT_TRUE(image.save(QString::fromStdString(path)));
  const auto handle = screen.load(path);
  EXPECT_TRUE(handle.has_value()) << name;
  return handle.value_or(-1);
}

TEST(QtCabScreen, LoadsPictureFilesAndRefusesBadOnes) {
  velimoro::testing::TempDir dir;
  QtCabScreen screen;
  const QImage picture = filled(30, 20, kBlue, {{{29, 19, 1, 1}, kYellow}});
  const int bmp = loadSaved(screen, dir, picture, "a.bmp");
  const int png = loadSaved(screen, dir, picture, "a.png");
  const int jpeg = loadSaved(screen, dir, picture, "a.jpg");
  for (const int handle : {bmp, png, jpeg}) {
    EXPECT_EQ(screen.size(handle), std::make_pair(30, 20));
  }
  EXPECT_EQ(screen.pixel(bmp, 29, 19), kYellow);
  EXPECT_EQ(screen.pixel(png, 0, 0), kBlue);
  EXPECT_EQ(screen.pixel(bmp, 30, 0), std::nullopt);

  EXPECT_EQ(screen.load(dir.file("missing.bmp")), std::nullopt);
  EXPECT_EQ(screen.load(dir.writeBytes("junk.bmp", "BM not a picture")), std::nullopt);
  std::string empty(54, '\0');  // a BMP header of 0 x 0
  empty[0] = 'B', empty[1] = 'M', empty[14] = 40, empty[26] = 1, empty[28] = 24;
  EXPECT_EQ(screen.load(dir.writeBytes("empty.bmp", empty)), std::nullopt);
  std::string huge = empty;  // a header that claims 20000 x 20000 pixels
  huge[18] = huge[22] = 0x20, huge[19] = huge[23] = 0x4E;
  EXPECT_EQ(screen.load(dir.writeBytes("huge.bmp", huge)), std::nullopt);

  // The pictures together stay within the store's budget, here two of these pictures.
  QtCabScreen small(2 * 30 * 20 * 4);
  EXPECT_TRUE(small.load(dir.file("a.bmp")));
  EXPECT_TRUE(small.load(dir.file("a.png")));
  EXPECT_EQ(small.load(dir.file("a.jpg")), std::nullopt);
  EXPECT_FALSE(small.size(small.createPicture(30, 20, kBlue)));
  // Released pictures give their share back.
  small.releasePictures();
  EXPECT_EQ(small.size(0), std::nullopt);
  EXPECT_TRUE(small.load(dir.file("a.jpg")));
  EXPECT_TRUE(small.size(small.createPicture(30, 20, kBlue)));
}

TEST(QtCabScreen, ColourKeyMakesEveryPixelOfThatColourTransparent) {
  velimoro::testing::TempDir dir;
  QtCabScreen screen;
  QImage picture = filled(8, 8, kRed);
  for (int i = 0; i < 8; ++i)
    picture.setPixel(i, 7 - i, 0xFF000000u | kMagenta);  // incl. (0, 7)
  picture.setPixel(3, 3, 0xFFFE00FFu);                   // one step off magenta: drawn
  const int handle = loadSaved(screen, dir, picture, "key.bmp");
  screen.setTransparent(handle, true, *screen.pixel(handle, 0, 7));
  const int sprite = screen.createSprite(handle, false);
  screen.setPosition(sprite, 10, 20);
  screen.fillScreen(kGreen);
  screen.drawSprites();
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const Rgb expected = x == 7 - y ? kGreen : (x == 3 && y == 3 ? 0xFE00FFu : kRed);
      EXPECT_EQ(at(screen.backBuffer(), 10 + x, 20 + y), expected) << x << "," << y;
    }
  }
  EXPECT_EQ(screen.pixel(handle, 0, 7), kMagenta);  // the picture keeps its colours

  screen.setTransparent(handle, false, kMagenta);
  screen.drawSprites();
  EXPECT_EQ(at(screen.backBuffer(), 10, 27), kMagenta);
}

// A strip of four 40 x 60 patterns in two rows; each pattern has its own colour and a white
// pixel at (1, 2) of the pattern.
TEST(QtCabScreen, SpriteShowsItsPatternOfTheStrip) {
  velimoro::testing::TempDir dir;
  QtCabScreen screen;
  const Rgb colours[4] = {kRed, kGreen, kBlue, kYellow};
  const QImage strip = filled(80, 120, kRed,
                              {{{40, 0, 40, 60}, kGreen},
                               {{0, 60, 40, 60}, kBlue},
                               {{40, 60, 40, 60}, kYellow},
                               {{1, 2, 1, 1}, kWhite},
                               {{41, 2, 1, 1}, kWhite},
                               {{1, 62, 1, 1}, kWhite},
                               {{41, 62, 1, 1}, kWhite}});
  const int handle = loadSaved(screen, dir, strip, "strip.bmp");
  screen.setPatternSize(handle, 40, 60);
  const int sprite = screen.createSprite(handle, false);
  screen.setPosition(sprite, 100.4, 49.6);  // drawn at (100, 50)
  for (int p = 0; p < 4; ++p) {
    screen.setPattern(sprite, p);
    screen.fillScreen(kBlack);
    screen.drawSprites();
    const QImage& back = screen.backBuffer();
    EXPECT_EQ(at(back, 100, 50), colours[p]) << p;
    EXPECT_EQ(at(back, 139, 109), colours[p]) << p;
    EXPECT_EQ(at(back, 101, 52), kWhite) << p;
    EXPECT_EQ(at(back, 99, 50), kBlack) << p;
    EXPECT_EQ(at(back, 140, 109), kBlack) << p;
    EXPECT_EQ(at(back, 100, 110), kBlack) << p;
  }
  screen.setPattern(sprite, 4);  // beyond the picture
  screen.fillScreen(kBlack);
  screen.drawSprites();
  EXPECT_EQ(at(screen.backBuffer(), 110, 60), kBlack);

  // Sized differently, the pattern is scaled to the sprite's rectangle.
  screen.setPattern(sprite, 3);
  screen.setSize(sprite, 80, 120);
  screen.drawSprites();
  EXPECT_EQ(at(screen.backBuffer(), 179, 169), kYellow);
  EXPECT_EQ(at(screen.backBuffer(), 102, 54), kWhite);
  EXPECT_EQ(at(screen.backBuffer(), 180, 169), kBlack);
}

TEST(QtCabScreen, SpritesDrawInZOrderThenCreationOrderAndOnlyWhenVisible) {
  QtCabScreen screen;
  const int red = screen.createSprite(screen.createPicture(10, 10, kRed), false);
  const int green = screen.createSprite(screen.createPicture(10, 10, kGreen), false);
  const int blue = screen.createSprite(screen.createPicture(10, 10, kBlue), true);
  const auto topColour = [&] {
    screen.fillScreen(kBlack);
    screen.drawSprites();
    return at(screen.backBuffer(), 5, 5);
  };
  EXPECT_EQ(topColour(), kBlue);  // equal Z: the last created on top
  screen.setZ(red, 5);
  EXPECT_EQ(topColour(), kRed);
  screen.setZ(green, 5);
  EXPECT_EQ(topColour(), kGreen);
  screen.setZ(blue, -1);
  screen.setVisible(green, false);
  EXPECT_EQ(topColour(), kRed);
  screen.setVisible(red, false);
  EXPECT_EQ(topColour(), kBlue);
  screen.setVisible(blue, false);
  EXPECT_EQ(topColour(), kBlack);
}

// A 20 x 10 picture: red on the left half, blue on the right, a yellow 4 x 4 block at the top
// left. A quarter turn is clockwise on the screen about the centre of the sprite's rectangle.
TEST(QtCabScreen, RotatingSpriteTurnsAboutItsCentre) {
  velimoro::testing::TempDir dir;
  QtCabScreen screen;
  const QImage picture = filled(20, 10, kRed, {{{10, 0, 10, 10}, kBlue}, {{0, 0, 4, 4}, kYellow}});
  const int sprite = screen.createSprite(loadSaved(screen, dir, picture, "turn.png"), true);
  screen.setPosition(sprite, 100, 100);  // centre (110, 105)
  const auto draw = [&](int angle) {
    screen.setAngle(sprite, angle);
    screen.fillScreen(kBlack);
    screen.drawSprites();
    return screen.backBuffer();
  };
  const QImage straight = draw(256);  // low 8 bits: no turn, drawn as a plain sprite
  EXPECT_EQ(at(straight, 100, 100), kYellow);
  EXPECT_EQ(at(straight, 119, 109), kBlue);
  EXPECT_EQ(at(straight, 120, 109), kBlack);

  // Picture pixel (px, py) lands at (110 - (py + 0.5 - 5), 105 + (px + 0.5 - 10)).
  const QImage quarter = draw(64);
  EXPECT_TRUE(near(quarter, 113, 96, kYellow));  // from (1, 1)
  EXPECT_TRUE(near(quarter, 112, 101, kRed));    // from (6, 2)
  EXPECT_TRUE(near(quarter, 107, 112, kBlue));   // from (17, 7)
  EXPECT_TRUE(near(quarter, 110, 90, kBlack));   // outside the turned picture
  EXPECT_TRUE(near(quarter, 101, 105, kBlack));

  const QImage half = draw(128 - 256 * 3);  // 1/2 turn: the yellow block at the bottom right
  EXPECT_TRUE(near(half, 118, 108, kYellow));
  EXPECT_TRUE(near(half, 102, 102, kBlue));
}

// A turned sprite is drawn from the part of its pattern that is not clear: the screen must look
// as the whole pattern turned and smoothed looks, at any angle, pattern and scale.
TEST(QtCabScreen, ATurnedNeedleLooksAsTheWholeTurnedPatternWould) {
  velimoro::testing::TempDir dir;
  QtCabScreen screen;
  // Two 40 x 40 patterns on black, which is made clear: a needle up from the centre, and one
  // to the right.
  const QImage sheet =
      filled(80, 40, kBlack, {{{19, 4, 3, 17}, kWhite}, {{60, 19, 16, 2}, kYellow}});
  const int picture = loadSaved(screen, dir, sheet, "needle.png");
  screen.setTransparent(picture, true, kBlack);
  screen.setPatternSize(picture, 40, 40);
  const int sprite = screen.createSprite(picture, true);
  screen.setPosition(sprite, 100, 100);  // centre (120, 120)
  screen.setAlpha(sprite, 200);
  for (const double scale : {1.0, 1.5}) {
    screen.setScale(scale);
    for (const int pattern : {0, 1}) {
      for (const int angle : {5, 64, 100, 200}) {
        screen.setPattern(sprite, pattern);
        screen.setAngle(sprite, angle);
        screen.fillScreen(kBlue);
        screen.drawSprites();
        QImage whole(screen.backBuffer().size(), QImage::Format_RGB32);
        whole.fill(0xFF000000u | kBlue);
        QPainter painter(&whole);
        painter.scale(scale, scale);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setOpacity(200 / 255.0);
        painter.translate(120, 120);
        painter.rotate(angle * 360.0 / 256.0);
        painter.drawImage(QRectF(-20, -20, 40, 40), *screen.drawnPicture(picture),
                          QRectF(40 * pattern, 0, 40, 40));
        painter.end();
        // Smoothing from another corner of the picture rounds a little differently; a needle
        // out of place would differ by far more.
        int largest = 0;
        for (int y = 0; y < whole.height(); ++y)
          for (int x = 0; x < whole.width(); ++x) {
            const QRgb got = screen.backBuffer().pixel(x, y);
            const QRgb want = whole.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(got) - qRed(want)),
                                std::abs(qGreen(got) - qGreen(want)),
                                std::abs(qBlue(got) - qBlue(want))});
          }
        EXPECT_LE(largest, 8) << scale << " " << pattern << " " << angle;
      }
    }
  }
}

TEST(QtCabScreen, AlphaBlendsRotatingSprites) {
  QtCabScreen screen;
  const int sprite = screen.createSprite(screen.createPicture(10, 10, kWhite), true);
  const auto drawnAt = [&](int alpha) {
    screen.setAlpha(sprite, alpha);
    screen.fillScreen(kBlack);
    screen.drawSprites();
    return at(screen.backBuffer(), 5, 5);
  };
  EXPECT_TRUE(close(drawnAt(128), 0x808080, 3));
  EXPECT_EQ(drawnAt(0), kBlack);
  EXPECT_EQ(drawnAt(1000), kWhite);
}

TEST(QtCabScreen, FillRectAlphaBlendsOverWhatIsThere) {
  QtCabScreen screen;
  screen.fillScreen(kWhite);
  screen.fillRectAlpha(10, 10, 20, 20, kBlack, 0);
  screen.fillRectAlpha(30, 10, 40, 20, kBlack, 128);
  screen.fillRectAlpha(50, 10, 60, 20, kRed, 255);
  screen.fillRectAlpha(-100, 600, 1000, 1000, kBlue, 255);  // clipped to the screen
  const QImage& back = screen.backBuffer();
  EXPECT_EQ(at(back, 15, 15), kWhite);
  EXPECT_NEAR(static_cast<int>(at(back, 35, 15) & 0xFF), 127, 3);
  EXPECT_EQ(at(back, 50, 10), kRed);
  EXPECT_EQ(at(back, 59, 19), kRed);
  EXPECT_EQ(at(back, 60, 19), kWhite);  // right and bottom lie outside
  EXPECT_EQ(at(back, 59, 20), kWhite);
  EXPECT_EQ(at(back, 0, 629), kBlue);
  EXPECT_EQ(at(back, 603, 600), kBlue);
  EXPECT_EQ(at(back, 603, 599), kWhite);
}

RgbPicture videoPicture(int width, int height, Rgb colour) {
  RgbPicture picture{width, height, {}};
  for (int i = 0; i < width * height; ++i) {
    picture.pixels.push_back(static_cast<std::uint8_t>(colour >> 16));
    picture.pixels.push_back(static_cast<std::uint8_t>(colour >> 8));
    picture.pixels.push_back(static_cast<std::uint8_t>(colour));
  }
  return picture;
}

TEST(QtCabScreen, VideoSurfaceIsDrawnUnderTheSprites) {
  QtCabScreen screen;
  RgbPicture video = videoPicture(604, 340, kBlue);
  video.pixels[(339 * 604 + 603) * 3] = 0xFF;  // bottom right: magenta
  screen.setVideoPicture(video);
  const int sprite = screen.createSprite(screen.createPicture(10, 10, kRed), false);
  screen.setPosition(sprite, 300, 335);
  screen.fillScreen(kGreen);
  screen.drawVideoSurface();
  screen.drawSprites();
  const QImage& back = screen.backBuffer();
  EXPECT_EQ(at(back, 0, 0), kBlue);
  EXPECT_EQ(at(back, 603, 339), kMagenta);
  EXPECT_EQ(at(back, 0, 340), kGreen);
  EXPECT_EQ(at(back, 305, 336), kRed);
  EXPECT_EQ(at(back, 305, 344), kRed);

  // A picture short of its pixels is refused; another size is scaled to the surface.
  screen.setVideoPicture(RgbPicture{604, 340, std::vector<std::uint8_t>(100)});
  screen.drawVideoSurface();
  EXPECT_EQ(at(screen.backBuffer(), 0, 0), kBlue);
  screen.setVideoPicture(videoPicture(32, 18, kYellow));
  screen.drawVideoSurface();
  EXPECT_EQ(at(screen.backBuffer(), 603, 339), kYellow);
}

TEST(QtCabScreen, APictureDrawnOverTheVideoKeepsItsTransparencyAndClips) {
  QtCabScreen screen;
  screen.setVideoPicture(videoPicture(604, 340, kBlue));
  const int arrow = screen.createPicture(15, 15, kMagenta);
  screen.setTransparent(arrow, true, kMagenta);
  screen.drawLine(arrow, 7, 0, 7, 14, kYellow, 1);
  screen.fillScreen(kGreen);
  screen.drawVideoSurface();
  screen.drawPicture(arrow, 589, 330);
  const QImage& back = screen.backBuffer();
  EXPECT_EQ(at(back, 596, 335), kYellow);
  EXPECT_EQ(at(back, 596, 344), kYellow);  // over the panel too
  EXPECT_EQ(at(back, 590, 335), kBlue);    // the key lets the video through
  // Off the screen, far off or with no such picture: nothing happens.
  screen.drawPicture(arrow, 595, -30);
  screen.drawPicture(arrow, INT_MAX, INT_MIN);
  screen.drawPicture(99, 0, 0);
  EXPECT_EQ(at(screen.backBuffer(), 0, 0), kBlue);
}

TEST(QtCabScreen, TextIsWrittenOnTheVideoSurfaceWithinItsMeasuredBox) {
  QtCabScreen screen;
  const QString family = screen.fontFamily();
  EXPECT_TRUE(family == "Meiryo" || family == "Noto Sans CJK JP") << family.toStdString();
  EXPECT_TRUE(QFontDatabase::families().contains(family)) << "font not installed";

  const std::string text = "運転 Ag 123";
  const auto measured = screen.measureText(text, 12);
  EXPECT_GE(measured.second, 16);  // 12 points at 96 dpi is 16 pixels, plus the line's spacing
  EXPECT_GT(screen.measureText(text, 24).first, measured.first);
  EXPECT_GT(measured.first, screen.measureText("運転", 12).first);
  EXPECT_EQ(screen.measureText(text, 0), std::make_pair(0, 0));

  screen.setVideoPicture(videoPicture(604, 340, kBlack));
  const int x = 50, y = 80;
  EXPECT_EQ(screen.drawText(x, y, text, 12, kYellow), measured);
  screen.fillScreen(kBlue);
  screen.drawVideoSurface();
  const QImage& back = screen.backBuffer();
  int inside = 0, outside = 0;
  for (int py = 0; py < 340; ++py) {
    for (int px = 0; px < 604; ++px) {
      if (at(back, px, py) == kBlack) continue;
      const bool inBox = px >= x && px < x + measured.first && py >= y && py < y + measured.second;
      (inBox ? inside : outside) += 1;
    }
  }
  EXPECT_GT(inside, 50);
  EXPECT_EQ(outside, 0);
  EXPECT_EQ(at(back, 0, 400), kBlue);  // only the video surface was written on
}

TEST(QtCabScreen, ClockPictureTakesLinesAndClears) {
  QtCabScreen screen;
  const int clock = screen.createPicture(50, 50, kWhite);
  screen.setTransparent(clock, true, kWhite);
  screen.createSprite(clock, true);
  screen.fillScreen(kBlue);
  screen.drawSprites();  // the picture is drawn once before the line goes on
  screen.drawLine(clock, 10, 25, 40, 25, kBlack, 3);
  EXPECT_EQ(screen.pixel(clock, 25, 24), kBlack);
  EXPECT_EQ(screen.pixel(clock, 25, 26), kBlack);
  EXPECT_EQ(screen.pixel(clock, 25, 22), kWhite);
  for (int y = 0; y < 50; ++y) {  // no antialiasing: only the two colours
    for (int x = 0; x < 50; ++x) {
      const Rgb colour = *screen.pixel(clock, x, y);
      EXPECT_TRUE(colour == kBlack || colour == kWhite) << x << "," << y;
    }
  }
  screen.drawSprites();
  EXPECT_EQ(at(screen.backBuffer(), 25, 25), kBlack);
  EXPECT_EQ(at(screen.backBuffer(), 25, 10), kBlue);

  // At three times the size the line is drawn again, three times as wide and as sharp: its
  // nine rows are black through, the rows beside them keep the screen's blue.
  screen.setScale(3.0);
  screen.fillScreen(kBlue);
  screen.drawSprites();
  for (int y = 72; y <= 80; ++y)
    EXPECT_EQ(at(screen.backBuffer(), 75, y), kBlack) << y;
  EXPECT_EQ(at(screen.backBuffer(), 75, 70), kBlue);
  EXPECT_EQ(at(screen.backBuffer(), 75, 82), kBlue);

  screen.clearPicture(clock, kWhite);
  EXPECT_EQ(screen.pixel(clock, 25, 25), kWhite);
  for (const double scale : {3.0, 1.0}) {
    screen.setScale(scale);
    screen.fillScreen(kBlue);
    screen.drawSprites();
    const int middle = static_cast<int>(25 * scale);
    EXPECT_EQ(at(screen.backBuffer(), middle, middle), kBlue);
  }
}

TEST(QtCabScreen, FlipPresentsTheComposedScreen) {
  QtCabScreen screen;
  EXPECT_EQ(screen.frontBuffer().size(), QSize(604, 630));
  screen.fillScreen(kRed);
  screen.flip();
  const QImage shown = screen.frontBuffer();  // a window's copy
  screen.fillScreen(kGreen);
  EXPECT_EQ(at(screen.frontBuffer(), 603, 629), kRed);
  screen.flip();
  EXPECT_EQ(at(screen.frontBuffer(), 0, 0), kGreen);
  EXPECT_EQ(at(shown, 0, 0), kRed);
  EXPECT_EQ(screen.flipCount(), 2);
}

TEST(QtCabScreen, BadInputDrawsNothingAndDoesNotCrash) {
  QtCabScreen screen;
  const int good = screen.createPicture(10, 10, kRed);
  const int empty = screen.createPicture(0, 0, kRed);
  const int huge = screen.createPicture(-5, 1 << 30, kRed);
  EXPECT_EQ(screen.size(empty), std::nullopt);
  EXPECT_EQ(screen.size(huge), std::nullopt);
  for (const int missing : {-1, 999, empty, huge})
    screen.createSprite(missing, missing % 2 == 0);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const double positions[][2] = {{nan, 0}, {0, nan}, {inf, 0}, {-inf, 5}, {1e300, -1e300}};
  for (const auto& [x, y] : positions) {
    for (const bool rotating : {false, true}) {
      const int sprite = screen.createSprite(good, rotating);
      screen.setPosition(sprite, x, y);
      screen.setAngle(sprite, INT_MIN + 7);
    }
  }
  screen.setSize(screen.createSprite(good, false), 0, 10);
  screen.setPattern(screen.createSprite(good, true), INT_MAX);
  screen.setPattern(screen.createSprite(good, false), -1);
  for (const int unknown : {-1, 1000}) {
    screen.setPosition(unknown, 1, 1);
    screen.setZ(unknown, 1);
    screen.setSize(unknown, 5, 5);
    screen.setVisible(unknown, true);
    screen.setPattern(unknown, 1);
    screen.setAngle(unknown, 3);
    screen.setAlpha(unknown, 3);
    screen.setTransparent(unknown, true, kRed);
    screen.setPatternSize(unknown, 1, 1);
    screen.clearPicture(unknown, kRed);
    screen.drawLine(unknown, 0, 0, 5, 5, kRed, 2);
  }
  screen.drawLine(good, INT_MIN, INT_MIN, INT_MAX, INT_MAX, kBlue, INT_MAX);
  screen.fillScreen(kBlack);
  screen.drawSprites();
  screen.fillRectAlpha(INT_MIN, INT_MIN, INT_MIN + 1, INT_MAX, kRed, 255);
  screen.drawText(INT_MAX, INT_MIN, "x", 12, kRed);
  screen.drawText(0, 0, "big", INT_MAX, kRed);  // on the video surface, which is not drawn
  EXPECT_TRUE(screen.backBuffer() == filled(604, 630, kBlack));
}

}  // namespace
}  // namespace velimoro::media
