#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QStaticText>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "media/cab_screen.h"

class QPainter;

namespace velimoro::media {

/// The cab screen drawn with Qt into images: the pictures, the sprites that show them and the
/// 604 x 630 surface they are composed on. A window shows frontBuffer() after each flip.
///
/// Sprites are drawn in Z order (equal Z in creation order). A plain sprite copies its pattern at
/// its rounded position, scaled (nearest pixel) when its size differs from the pattern; a
/// rotating sprite turns the pattern clockwise on the screen by angle / 256 of a turn about the
/// centre of its rectangle, smoothed, and blends it by alpha. Angle and alpha change nothing on
/// a plain sprite. Text needs a QGuiApplication (for the fonts); the rest does not.
class QtCabScreen final : public PictureStore, public SpriteEngine, public CabSurface {
 public:
  static constexpr int kVideoWidth = 604;
  static constexpr int kVideoHeight = 340;
  /// Pictures and sprites are at most this many pixels a side; larger requests are refused
  /// (pictures) or clamped (sprite sizes).
  static constexpr int kMaxSide = 8192;
  /// The pictures together take at most this many bytes; a picture beyond it is refused (a
  /// load) or draws nothing (a created one), so that data files naming many large pictures do
  /// not take memory without limit.
  static constexpr std::size_t kPictureBudgetBytes = std::size_t{1} << 30;

  explicit QtCabScreen(std::size_t pictureBudgetBytes = kPictureBudgetBytes);

  /// Drops every picture and sprite (their handles mean nothing after) and frees their share of
  /// the budget; the screen surfaces stay as they are, ready for another set of pictures.
  void releasePictures();

  // PictureStore
  std::optional<int> load(const std::string& path) override;
  std::optional<std::pair<int, int>> size(int handle) const override;
  int createPicture(int width, int height, Rgb fill) override;
  std::optional<Rgb> pixel(int handle, int x, int y) const override;
  void setTransparent(int handle, bool on, Rgb colour) override;
  void setPatternSize(int handle, int width, int height) override;
  void clearPicture(int handle, Rgb fill) override;
  void drawLine(int handle, int x0, int y0, int x1, int y1, Rgb colour, int width) override;

  // SpriteEngine
  int createSprite(int picture, bool rotating) override;
  void setPosition(int sprite, double x, double y) override;
  void setZ(int sprite, int z) override;
  void setSize(int sprite, int width, int height) override;
  void setVisible(int sprite, bool visible) override;
  void setPattern(int sprite, int pattern) override;
  void setAngle(int sprite, int angle) override;
  void setAlpha(int sprite, int alpha) override;

  // CabSurface
  bool canDraw() const override { return m_canDraw; }
  std::pair<int, int> videoPixels() const override { return {m_video.width(), m_video.height()}; }
  PixelLayout videoLayout() const override { return PixelLayout::kXrgb32; }
  void setVideoPicture(const RgbPicture& picture) override;
  std::pair<int, int> drawText(int x, int y, const std::string& text, int size,
                               Rgb colour) override;
  std::pair<int, int> measureText(const std::string& text, int size) const override;
  void fillScreen(Rgb colour) override;
  void drawSprites() override;
  void drawVideoSurface() override;
  void drawPicture(int picture, int x, int y) override;
  void fillRectAlpha(int left, int top, int right, int bottom, Rgb colour, int alpha) override;
  void flip() override;

  /// Composes the screen at `scale` device pixels a screen pixel (clamped to 1 .. kMaxScale):
  /// places, sizes and text measures stay in the 604 x 630 screen's pixels, while the surfaces
  /// hold round(604 * scale) x round(630 * scale) pixels, the texts are written at the scaled
  /// size and the sprites are drawn smoothed. The screen shown so far is kept, scaled. At 1 the
  /// screen is composed as it always was.
  void setScale(double scale);
  double scale() const { return m_scale; }
  static constexpr double kMaxScale = 4.0;

  /// Drawing is possible unless the window pauses it (minimised, hidden).
  void setCanDraw(bool canDraw) { m_canDraw = canDraw; }
  /// The screen as of the last flip.
  const QImage& frontBuffer() const { return m_front; }
  /// The screen being composed.
  const QImage& backBuffer() const { return m_back; }
  /// Flips so far.
  std::int64_t flipCount() const { return m_flips; }
  /// Picture `handle` as it is drawn (its transparent colour cleared), for a window that shows
  /// it beside the screen; null when there is no such picture.
  const QImage* drawnPicture(int handle);
  /// The font family texts are written in ("Meiryo" where installed, else "Noto Sans CJK JP").
  QString fontFamily() const;

 private:
  struct Picture {
    QImage image;  // as loaded or drawn; `pixel` reads it
    QImage drawn;  // premultiplied, transparent colour cleared; rebuilt when null
    QImage fine;   // `drawn` scaled smoothly to the screen's scale, for sprites drawn unscaled
    qint64 fineFrom = 0;  // the cache key of the `drawn` it was made from
    double fineScale = 0;
    bool transparent = false;
    Rgb key = 0;
    int patternWidth = 0;  // 0: the whole picture
    int patternHeight = 0;
    // A created picture holds only its fill and the lines drawn on it since: they are drawn
    // again at the screen's scale for `fine`, so that they stay sharp there. Unset for a loaded
    // picture, and for one with more lines than it keeps.
    struct Stroke {
      int x0, y0, x1, y1, width;
      Rgb colour;
    };
    std::optional<std::vector<Stroke>> strokes;
    Rgb fill = 0;
    // The part of each pattern that is not clear, by the pattern's corner; for `drawn` of
    // this cache key.
    std::unordered_map<std::uint64_t, QRect> visible;
    qint64 visibleFrom = 0;
  };
  struct Sprite {
    int picture = -1;
    bool rotating = false;
    bool visible = true;
    double x = 0.0;
    double y = 0.0;
    int z = 0;
    std::optional<std::pair<int, int>> size;  // unset: the picture's pattern size
    int pattern = 0;
    int angle = 0;
    int alpha = 255;
  };

  Picture* picture(int handle);
  const Picture* picture(int handle) const;
  Sprite* sprite(int id);
  int addPicture(QImage image);
  bool affordable(std::int64_t width, std::int64_t height) const;
  const QImage& drawnImage(Picture& picture);
  const QImage* fineImage(Picture& picture);
  QRect visiblePart(Picture& picture, const QImage& drawn, const QRect& source);
  static constexpr std::size_t kMaxVisibleParts = 256;
  QImage strokedAtScale(const Picture& picture, int width, int height) const;
  std::pair<int, int> patternSize(const Picture& picture) const;
  std::optional<QRect> patternRect(const Picture& picture, int pattern) const;
  void drawSprite(QPainter& painter, Sprite& sprite);
  QFont font(int size, double scale = 1.0) const;

  // A text at one size: its measures on the screen's pixels, and its layout at the screen's
  // scale once it has been drawn.
  struct Text {
    QString string;
    int width = 0;
    int height = 0;
    QStaticText shown;
    bool prepared = false;
  };
  Text& cachedText(const std::string& text, int size) const;
  static constexpr std::size_t kMaxCachedTexts = 512;

  static constexpr std::size_t kMaxStrokes = 4096;  // lines a created picture keeps

  std::vector<Picture> m_pictures;
  std::size_t m_pictureBudget;
  std::size_t m_pictureBytes = 0;  // of the pictures as loaded or created
  std::size_t m_fineBytes = 0;     // of their copies at the screen's scale
  std::vector<Sprite> m_sprites;
  QImage m_back;
  QImage m_front;
  QImage m_video;
  mutable QString m_family;  // found on first use
  mutable std::unordered_map<std::string, Text> m_texts;
  std::int64_t m_flips = 0;
  double m_scale = 1.0;
  bool m_canDraw = true;
};

}  // namespace velimoro::media
