#include "media/qt_cab_screen.h"

#include <QColor>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QPen>
#include <QString>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numeric>

namespace velimoro::media {
namespace {

constexpr int kPointsPerInch = 72;
constexpr int kDotsPerInch = 96;
// Text sizes beyond this many pixels are drawn at it; nothing on the screen is that tall.
constexpr int kMaxTextPixels = 1024;

QColor toColour(Rgb colour, int alpha = 255) {
  return QColor(static_cast<int>((colour >> 16) & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>(colour & 0xFF), alpha);
}

QRgb opaque(Rgb colour) {
  return 0xFF000000u | (colour & 0xFFFFFFu);
}

// `side` screen pixels in device pixels at `scale`.
int scaledSide(int side, double scale) {
  return static_cast<int>(std::lround(side * scale));
}

bool validSide(int side) {
  return side > 0 && side <= QtCabScreen::kMaxSide;
}

// Pictures keep one of two formats: RGB32 when opaque, ARGB32 (not premultiplied, so `pixel`
// reads the colour as stored) when the file brought an alpha channel.
QImage normalised(const QImage& image) {
  return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                       : QImage::Format_RGB32);
}

// Whether the text functions can reach the fonts: only with a QGuiApplication running.
bool fontsAvailable() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

}  // namespace

QtCabScreen::QtCabScreen(std::size_t pictureBudgetBytes)
    : m_pictureBudget(pictureBudgetBytes),
      m_back(kWidth, kHeight, QImage::Format_RGB32),
      m_front(kWidth, kHeight, QImage::Format_RGB32),
      m_video(kVideoWidth, kVideoHeight, QImage::Format_RGB32) {
  m_back.fill(opaque(0));
  m_front.fill(opaque(0));
  m_video.fill(opaque(0));
}

// ---- Pictures ----

void QtCabScreen::releasePictures() {
  m_sprites.clear();
  m_pictures.clear();
  m_pictureBytes = 0;
  m_fineBytes = 0;
}

QtCabScreen::Picture* QtCabScreen::picture(int handle) {
  if (handle < 0 || static_cast<std::size_t>(handle) >= m_pictures.size()) return nullptr;
  Picture& found = m_pictures[static_cast<std::size_t>(handle)];
  return found.image.isNull() ? nullptr : &found;
}

const QtCabScreen::Picture* QtCabScreen::picture(int handle) const {
  if (handle < 0 || static_cast<std::size_t>(handle) >= m_pictures.size()) return nullptr;
  const Picture& found = m_pictures[static_cast<std::size_t>(handle)];
  return found.image.isNull() ? nullptr : &found;
}

bool QtCabScreen::affordable(std::int64_t width, std::int64_t height) const {
  // Four bytes a pixel, as the pictures are kept.
  return m_pictureBytes <= m_pictureBudget &&
         static_cast<std::size_t>(width * height * 4) <= m_pictureBudget - m_pictureBytes;
}

int QtCabScreen::addPicture(QImage image) {
  m_pictureBytes += static_cast<std::size_t>(image.sizeInBytes());
  Picture added;
  added.image = std::move(image);
  m_pictures.push_back(std::move(added));
  return static_cast<int>(m_pictures.size()) - 1;
}

std::optional<int> QtCabScreen::load(const std::string& path) {
  QImageReader reader(QString::fromStdString(path));
  // The size the header claims is refused before a pixel is decoded: a small file that claims
  // a huge picture takes no memory.
  const QSize claimed = reader.size();
  if (claimed.isValid() && (!validSide(claimed.width()) || !validSide(claimed.height()) ||
                            !affordable(claimed.width(), claimed.height())))
    return std::nullopt;
  QImage image;
  if (!reader.read(&image)) return std::nullopt;
  if (!validSide(image.width()) || !validSide(image.height()) ||
      !affordable(image.width(), image.height()))
    return std::nullopt;
  image = normalised(image);
  if (image.isNull()) return std::nullopt;
  return addPicture(std::move(image));
}

std::optional<std::pair<int, int>> QtCabScreen::size(int handle) const {
  const Picture* found = picture(handle);
  if (found == nullptr) return std::nullopt;
  return std::pair<int, int>(found->image.width(), found->image.height());
}

int QtCabScreen::createPicture(int width, int height, Rgb fill) {
  // A refused size still gets a handle, of a picture that draws nothing.
  QImage image;
  if (validSide(width) && validSide(height) && affordable(width, height)) {
    image = QImage(width, height, QImage::Format_RGB32);
    if (!image.isNull()) image.fill(opaque(fill));
  }
  const int handle = addPicture(std::move(image));
  Picture& created = m_pictures[static_cast<std::size_t>(handle)];
  created.strokes.emplace();
  created.fill = fill;
  return handle;
}

std::optional<Rgb> QtCabScreen::pixel(int handle, int x, int y) const {
  const Picture* found = picture(handle);
  if (found == nullptr || !found->image.valid(x, y)) return std::nullopt;
  return static_cast<Rgb>(found->image.pixel(x, y) & 0xFFFFFFu);
}

void QtCabScreen::setTransparent(int handle, bool on, Rgb colour) {
  Picture* found = picture(handle);
  if (found == nullptr) return;
  found->transparent = on;
  found->key = colour & 0xFFFFFFu;
  found->drawn = QImage();
}

void QtCabScreen::setPatternSize(int handle, int width, int height) {
  Picture* found = picture(handle);
  if (found == nullptr) return;
  // A size of nothing goes back to one pattern, the whole picture.
  const bool valid = width > 0 && height > 0;
  found->patternWidth = valid ? width : 0;
  found->patternHeight = valid ? height : 0;
}

void QtCabScreen::clearPicture(int handle, Rgb fill) {
  Picture* found = picture(handle);
  if (found == nullptr) return;
  found->image.fill(opaque(fill));
  found->drawn = QImage();
  found->strokes.emplace();  // a loaded picture cleared is a created one from now on
  found->fill = fill;
}

void QtCabScreen::drawLine(int handle, int x0, int y0, int x1, int y1, Rgb colour, int width) {
  Picture* found = picture(handle);
  if (found == nullptr) return;
  QPainter painter(&found->image);
  painter.setRenderHint(QPainter::Antialiasing, false);
  QPen pen(toColour(colour));
  pen.setWidth(std::clamp(width, 1, kMaxSide));
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  painter.setPen(pen);
  // Ends far outside the picture are pulled in so the rasteriser's fixed-point coordinates
  // cannot overflow; such a line may change direction, but no drawing of the clock needs one.
  const auto bound = [](int v) { return std::clamp(v, -2 * kMaxSide, 2 * kMaxSide); };
  painter.drawLine(bound(x0), bound(y0), bound(x1), bound(y1));
  painter.end();
  found->drawn = QImage();
  if (found->strokes) {
    if (found->strokes->size() < kMaxStrokes)
      found->strokes->push_back(
          {bound(x0), bound(y0), bound(x1), bound(y1), std::clamp(width, 1, kMaxSide), colour});
    else
      found->strokes.reset();  // scaled smoothly from now on
  }
}

// The created picture drawn at `width` x `height`: its fill, then its lines at their scaled
// width, smoothed at their edges. Its transparent colour is left out as the picture drawn leaves
// it out, so that the smoothed edges blend with what lies under the sprite, not with that colour.
QImage QtCabScreen::strokedAtScale(const Picture& found, int width, int height) const {
  QImage fine(width, height, QImage::Format_ARGB32_Premultiplied);
  const auto keyed = [&](Rgb colour) {
    return found.transparent && (colour & 0xFFFFFFu) == found.key;
  };
  fine.fill(keyed(found.fill) ? QColor(Qt::transparent) : toColour(found.fill));
  QPainter painter(&fine);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.scale(static_cast<double>(width) / found.image.width(),
                static_cast<double>(height) / found.image.height());
  for (const Picture::Stroke& line : *found.strokes) {
    painter.setCompositionMode(keyed(line.colour) ? QPainter::CompositionMode_Clear
                                                  : QPainter::CompositionMode_SourceOver);
    QPen pen(toColour(line.colour));
    pen.setWidthF(line.width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    // A pixel of the picture is the square from its corner; the line runs through the centres.
    painter.drawLine(QPointF(line.x0 + 0.5, line.y0 + 0.5), QPointF(line.x1 + 0.5, line.y1 + 0.5));
  }
  return fine;
}

const QImage& QtCabScreen::drawnImage(Picture& found) {
  if (!found.drawn.isNull()) return found.drawn;
  if (!found.transparent && !found.image.hasAlphaChannel()) {
    found.drawn = found.image;  // shared, not copied
    return found.drawn;
  }
  // The transparent colour is matched on the picture as stored, then cleared in the copy that
  // is drawn; premultiplied pixels draw fastest and blend correctly when smoothed.
  QImage keyed = found.image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  if (found.transparent) {
    for (int y = 0; y < found.image.height(); ++y) {
      const auto* source = reinterpret_cast<const QRgb*>(found.image.constScanLine(y));
      auto* target = reinterpret_cast<QRgb*>(keyed.scanLine(y));
      for (int x = 0; x < found.image.width(); ++x) {
        if ((source[x] & 0xFFFFFFu) == found.key) target[x] = 0;
      }
    }
  }
  found.drawn = std::move(keyed);
  return found.drawn;
}

// The picture as drawn, scaled once to the screen's scale, so that a sprite drawn at its own size
// is copied rather than scaled on every pass; null when the copies would take more than the
// pictures' budget allows them.
const QImage* QtCabScreen::fineImage(Picture& found) {
  const QImage& drawn = drawnImage(found);
  if (!found.fine.isNull() && found.fineFrom == drawn.cacheKey() && found.fineScale == m_scale)
    return &found.fine;
  m_fineBytes -= static_cast<std::size_t>(found.fine.sizeInBytes());
  found.fine = QImage();
  const std::int64_t width = scaledSide(drawn.width(), m_scale);
  const std::int64_t height = scaledSide(drawn.height(), m_scale);
  const auto bytes = static_cast<std::size_t>(width * height * 4);
  if (bytes > m_pictureBudget / 2 || m_fineBytes > m_pictureBudget / 2 - bytes) return nullptr;
  found.fine = found.strokes
                   ? strokedAtScale(found, static_cast<int>(width), static_cast<int>(height))
                   : drawn.scaled(static_cast<int>(width), static_cast<int>(height),
                                  Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  found.fineFrom = drawn.cacheKey();
  found.fineScale = m_scale;
  m_fineBytes += static_cast<std::size_t>(found.fine.sizeInBytes());
  return &found.fine;
}

std::pair<int, int> QtCabScreen::patternSize(const Picture& found) const {
  if (found.patternWidth > 0) return {found.patternWidth, found.patternHeight};
  return {found.image.width(), found.image.height()};
}

std::optional<QRect> QtCabScreen::patternRect(const Picture& found, int pattern) const {
  if (pattern < 0) return std::nullopt;
  const auto [width, height] = patternSize(found);
  const std::int64_t columns = std::max(1, found.image.width() / width);
  const std::int64_t column = pattern % columns;
  const std::int64_t row = pattern / columns;
  if (row * height >= found.image.height()) return std::nullopt;
  // A pattern that the picture cuts short shows what there is of it.
  const QRect rect =
      QRect(static_cast<int>(column * width), static_cast<int>(row * height), width, height)
          .intersected(found.image.rect());
  if (rect.isEmpty()) return std::nullopt;
  return rect;
}

// The part of `source` in `drawn` (the picture as drawn) that holds pixels which are not clear,
// with a clear margin of two pixels so that smoothing at the part's edges blends the same clear
// pixels the whole pattern has there; the whole of `source` for an opaque picture. Kept per pattern
// until the picture changes.
QRect QtCabScreen::visiblePart(Picture& found, const QImage& drawn, const QRect& source) {
  if (!drawn.hasAlphaChannel()) return source;
  if (found.visibleFrom != drawn.cacheKey()) {
    found.visible.clear();
    found.visibleFrom = drawn.cacheKey();
  }
  const std::uint64_t key = static_cast<std::uint64_t>(static_cast<std::uint32_t>(source.left()))
                                << 32 |
                            static_cast<std::uint32_t>(source.top());
  if (const auto known = found.visible.find(key); known != found.visible.end())
    return known->second;
  int left = source.right() + 1;
  int right = source.left() - 1;
  int top = source.bottom() + 1;
  int bottom = source.top() - 1;
  for (int y = source.top(); y <= source.bottom(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
    for (int x = source.left(); x <= source.right(); ++x) {
      if (qAlpha(row[x]) == 0) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  constexpr int kMargin = 2;
  const QRect part = right < left ? QRect()
                                  : QRect(QPoint(left, top), QPoint(right, bottom))
                                        .adjusted(-kMargin, -kMargin, kMargin, kMargin)
                                        .intersected(source);
  // Patterns are few; a picture cut into very many keeps only the latest ones.
  if (found.visible.size() >= kMaxVisibleParts) found.visible.clear();
  found.visible.emplace(key, part);
  return part;
}

// ---- Sprites ----

QtCabScreen::Sprite* QtCabScreen::sprite(int id) {
  if (id < 0 || static_cast<std::size_t>(id) >= m_sprites.size()) return nullptr;
  return &m_sprites[static_cast<std::size_t>(id)];
}

int QtCabScreen::createSprite(int pictureHandle, bool rotating) {
  // A sprite of a missing picture is kept (its calls do no harm) and draws nothing.
  Sprite added;
  added.picture = pictureHandle;
  added.rotating = rotating;
  m_sprites.push_back(added);
  return static_cast<int>(m_sprites.size()) - 1;
}

void QtCabScreen::setPosition(int id, double x, double y) {
  if (Sprite* found = sprite(id)) {
    found->x = x;
    found->y = y;
  }
}

void QtCabScreen::setZ(int id, int z) {
  if (Sprite* found = sprite(id)) found->z = z;
}

void QtCabScreen::setSize(int id, int width, int height) {
  if (Sprite* found = sprite(id)) {
    found->size =
        std::pair<int, int>(std::clamp(width, 0, kMaxSide), std::clamp(height, 0, kMaxSide));
  }
}

void QtCabScreen::setVisible(int id, bool visible) {
  if (Sprite* found = sprite(id)) found->visible = visible;
}

void QtCabScreen::setPattern(int id, int pattern) {
  if (Sprite* found = sprite(id)) found->pattern = pattern;
}

void QtCabScreen::setAngle(int id, int angle) {
  if (Sprite* found = sprite(id)) found->angle = angle & 0xFF;
}

void QtCabScreen::setAlpha(int id, int alpha) {
  if (Sprite* found = sprite(id)) found->alpha = std::clamp(alpha, 0, 255);
}

void QtCabScreen::drawSprite(QPainter& painter, Sprite& shown) {
  Picture* found = picture(shown.picture);
  if (found == nullptr) return;
  const std::optional<QRect> source = patternRect(*found, shown.pattern);
  if (!source) return;
  const auto [patternWidth, patternHeight] = patternSize(*found);
  const auto [width, height] =
      shown.size.value_or(std::pair<int, int>(patternWidth, patternHeight));
  if (width <= 0 || height <= 0) return;
  if (shown.rotating && shown.alpha == 0) return;

  // Positions far off the screen (or not numbers) draw nothing; within reach they are rounded
  // to whole pixels. The test is in doubles so no int overflows on the way.
  if (!std::isfinite(shown.x) || !std::isfinite(shown.y)) return;
  const double reach = 4.0 * kMaxSide;
  if (std::abs(shown.x) > reach || std::abs(shown.y) > reach) return;
  const int left = static_cast<int>(std::lround(shown.x));
  const int top = static_cast<int>(std::lround(shown.y));
  const bool turned = shown.rotating && shown.angle != 0;
  const double radius = turned ? std::hypot(width, height) / 2.0 : 0.0;
  const double centreX = left + width / 2.0;
  const double centreY = top + height / 2.0;
  const double halfWidth = turned ? radius : width / 2.0;
  const double halfHeight = turned ? radius : height / 2.0;
  if (centreX + halfWidth <= 0 || centreX - halfWidth >= kWidth || centreY + halfHeight <= 0 ||
      centreY - halfHeight >= kHeight) {
    return;
  }

  const QImage& image = drawnImage(*found);
  // The part of the pattern the picture holds, in screen pixels (the whole pattern unless the
  // picture cuts it short).
  const double scaleX = static_cast<double>(width) / patternWidth;
  const double scaleY = static_cast<double>(height) / patternHeight;
  const QRectF target(0.0, 0.0, source->width() * scaleX, source->height() * scaleY);

  painter.save();
  if (shown.rotating) painter.setOpacity(shown.alpha / 255.0);
  if (turned) {
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.translate(centreX, centreY);
    painter.rotate(shown.angle * 360.0 / 256.0);
    // Only the part of the pattern that shows is drawn: a needle is a thin line across a
    // clear square, and the clear rest would be blended for nothing.
    const QRect lit = visiblePart(*found, image, *source);
    if (lit.isEmpty()) {
      painter.restore();
      return;
    }
    const QRectF placed((lit.left() - source->left()) * scaleX,
                        (lit.top() - source->top()) * scaleY, lit.width() * scaleX,
                        lit.height() * scaleY);
    painter.drawImage(placed.translated(-width / 2.0, -height / 2.0), image, QRectF(lit));
  } else if (width == patternWidth && height == patternHeight && m_scale == 1.0) {
    painter.drawImage(QPoint(left, top), image, *source);
  } else if (const QImage* fine =
                 width == patternWidth && height == patternHeight ? fineImage(*found) : nullptr) {
    // At the screen's scale the pattern is copied from the picture scaled once.
    const auto device = [this](int side) { return scaledSide(side, m_scale); };
    const QRect from(QPoint(device(source->left()), device(source->top())),
                     QPoint(device(source->right() + 1) - 1, device(source->bottom() + 1) - 1));
    painter.resetTransform();
    painter.drawImage(QPoint(device(left), device(top)), *fine, from);
  } else {
    // Enlarged by the pattern's own pixels on the screen's pixels, smoothed on finer ones.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, m_scale != 1.0);
    painter.drawImage(target.translated(left, top), image, QRectF(*source));
  }
  painter.restore();
}

// ---- Surface ----

void QtCabScreen::setScale(double scale) {
  const double wanted = std::isfinite(scale) ? std::clamp(scale, 1.0, kMaxScale) : 1.0;
  if (wanted == m_scale) return;
  m_scale = wanted;
  m_texts.clear();  // laid out at the old scale
  const auto resized = [wanted](const QImage& image, int width, int height) {
    return image
        .scaled(scaledSide(width, wanted), scaledSide(height, wanted), Qt::IgnoreAspectRatio,
                Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB32);
  };
  // What the window shows until the next pass composes the screen anew.
  m_front = resized(m_front, kWidth, kHeight);
  m_back = m_front.copy();
  m_video = resized(m_video, kVideoWidth, kVideoHeight);
}

void QtCabScreen::setVideoPicture(const RgbPicture& picture) {
  // A picture that does not hold what its size says is refused; the surface keeps the last.
  if (!validSide(picture.width) || !validSide(picture.height)) return;
  const bool words = picture.layout == PixelLayout::kXrgb32;
  const auto rowBytes = static_cast<qsizetype>(picture.width) * picture.bytesPerPixel();
  if (picture.pixels.size() < static_cast<std::size_t>(rowBytes) * picture.height) return;
  const QImage wrapped(picture.pixels.data(), picture.width, picture.height, rowBytes,
                       words ? QImage::Format_RGB32 : QImage::Format_RGB888);
  const QSize size = m_video.size();
  if (picture.width == size.width() && picture.height == size.height()) {
    if (words && m_video.format() == QImage::Format_RGB32 && m_video.bytesPerLine() == rowBytes)
      std::memcpy(m_video.bits(), picture.pixels.data(),
                  static_cast<std::size_t>(rowBytes) * picture.height);
    else
      m_video = wrapped.convertToFormat(QImage::Format_RGB32);
  } else {
    // Another size fills the surface, scaled.
    m_video = wrapped.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                  .convertToFormat(QImage::Format_RGB32);
  }
}

QString QtCabScreen::fontFamily() const {
  if (m_family.isEmpty() && fontsAvailable()) {
    const QStringList installed = QFontDatabase::families();
    m_family = installed.contains(QStringLiteral("Meiryo"), Qt::CaseInsensitive)
                   ? QStringLiteral("Meiryo")
                   : QStringLiteral("Noto Sans CJK JP");
  }
  return m_family;
}

QFont QtCabScreen::font(int size, double scale) const {
  // Sizes are in points at 96 dots an inch, on the screen's pixels.
  auto pixels =
      static_cast<int>(std::lround(static_cast<double>(size) * kDotsPerInch / kPointsPerInch));
  if (scale != 1.0) pixels = scaledSide(pixels, scale);
  QFont chosen(fontFamily());
  chosen.setPixelSize(std::clamp(pixels, 1, kMaxTextPixels));
  chosen.setStyleStrategy(QFont::NoSubpixelAntialias);
  return chosen;
}

QtCabScreen::Text& QtCabScreen::cachedText(const std::string& text, int size) const {
  std::string key = std::to_string(size);
  key += '\n';
  key += text;
  if (const auto found = m_texts.find(key); found != m_texts.end()) return found->second;
  // Texts that change on every pass (the speed, the clock) would pile up: the cache starts
  // afresh when it is full.
  if (m_texts.size() >= kMaxCachedTexts) m_texts.clear();
  Text made;
  made.string = QString::fromStdString(text);
  const QFontMetrics metrics(font(size));
  made.width = metrics.horizontalAdvance(made.string);
  made.height = metrics.height();
  return m_texts.emplace(std::move(key), std::move(made)).first->second;
}

std::pair<int, int> QtCabScreen::measureText(const std::string& text, int size) const {
  if (size <= 0 || !fontsAvailable()) return {0, 0};
  const Text& found = cachedText(text, size);
  return {found.width, found.height};
}

std::pair<int, int> QtCabScreen::drawText(int x, int y, const std::string& text, int size,
                                          Rgb colour) {
  if (size <= 0 || !fontsAvailable()) return {0, 0};
  Text& found = cachedText(text, size);
  const int width = found.width;
  const int height = found.height;
  if (width <= 0 || height <= 0) return {width, height};
  // (x, y) is the top left of the text's box; only a box on the surface is drawn.
  const QRect box(std::clamp(x, -2 * kMaxSide, 2 * kMaxSide),
                  std::clamp(y, -2 * kMaxSide, 2 * kMaxSide), width, height);
  if (!box.intersects(QRect(0, 0, kVideoWidth, kVideoHeight))) return {width, height};
  // Written at the scaled size from the scaled place; the measures given back stay the
  // screen's, so the layout is the same at every scale. The text is laid out once and kept,
  // so that a pass does not shape its texts anew.
  const QFont chosen = font(size, m_scale);
  if (!found.prepared) {
    // A text is one line, whatever line breaks it holds, as the screen has always written it.
    QString line = found.string;
    line.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    found.shown.setText(line);
    found.shown.setTextFormat(Qt::PlainText);
    found.shown.prepare(QTransform(), chosen);
    found.prepared = true;
  }
  QPainter painter(&m_video);
  painter.setFont(chosen);
  painter.setPen(toColour(colour));
  painter.drawStaticText(QPoint(scaledSide(box.left(), m_scale), scaledSide(box.top(), m_scale)),
                         found.shown);
  return {width, height};
}

void QtCabScreen::fillScreen(Rgb colour) {
  m_back.fill(opaque(colour));
}

void QtCabScreen::drawSprites() {
  std::vector<std::size_t> order(m_sprites.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
    return m_sprites[a].z < m_sprites[b].z;
  });
  QPainter painter(&m_back);
  if (m_scale != 1.0) {
    painter.scale(m_scale, m_scale);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
  }
  for (const std::size_t index : order) {
    Sprite& shown = m_sprites[index];
    if (shown.visible) drawSprite(painter, shown);
  }
}

void QtCabScreen::drawVideoSurface() {
  QPainter painter(&m_back);
  painter.drawImage(QPoint(0, 0), m_video);
}

void QtCabScreen::drawPicture(int handle, int x, int y) {
  Picture* shown = picture(handle);
  if (shown == nullptr) return;
  const QImage& image = drawnImage(*shown);
  const QRect place(std::clamp(x, -2 * kMaxSide, 2 * kMaxSide),
                    std::clamp(y, -2 * kMaxSide, 2 * kMaxSide), image.width(), image.height());
  if (!place.intersects(QRect(0, 0, kWidth, kHeight))) return;
  QPainter painter(&m_back);
  if (m_scale == 1.0) {
    painter.drawImage(place.topLeft(), image);
  } else if (const QImage* fine = fineImage(*shown)) {
    painter.drawImage(QPoint(scaledSide(place.left(), m_scale), scaledSide(place.top(), m_scale)),
                      *fine);
  } else {
    painter.scale(m_scale, m_scale);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(place.topLeft(), image);
  }
}

const QImage* QtCabScreen::drawnPicture(int handle) {
  Picture* shown = picture(handle);
  return shown == nullptr ? nullptr : &drawnImage(*shown);
}

void QtCabScreen::fillRectAlpha(int left, int top, int right, int bottom, Rgb colour, int alpha) {
  // Right and bottom are just outside the rectangle; it is clipped to the screen.
  const int x0 = std::clamp(left, 0, kWidth);
  const int x1 = std::clamp(right, 0, kWidth);
  const int y0 = std::clamp(top, 0, kHeight);
  const int y1 = std::clamp(bottom, 0, kHeight);
  const int opacity = std::clamp(alpha, 0, 255);
  if (x1 <= x0 || y1 <= y0 || opacity == 0) return;
  QPainter painter(&m_back);
  const auto device = [this](int side) { return scaledSide(side, m_scale); };
  painter.fillRect(QRect(device(x0), device(y0), device(x1) - device(x0), device(y1) - device(y0)),
                   toColour(colour, opacity));
}

void QtCabScreen::flip() {
  // The composed screen is shown as it is, not copied. The back takes the screen shown before:
  // every composition fills it anew from its first pixel.
  m_back.swap(m_front);
  ++m_flips;
}

}  // namespace velimoro::media
