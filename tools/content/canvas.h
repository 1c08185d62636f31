#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velimoro::content {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;

  bool operator==(const Rgb&) const = default;
};

/// The colour that marks transparent pixels of the generated panel parts.
inline constexpr Rgb kTransparentKey{255, 0, 255};

/// A 24-bit picture in memory with the few drawing operations the generated artwork needs.
/// Drawing outside the picture is clipped.
class Canvas {
 public:
  Canvas(int width, int height, Rgb fill = {});

  int width() const { return m_width; }
  int height() const { return m_height; }
  Rgb at(int x, int y) const;
  void set(int x, int y, Rgb colour);

  /// Fills the rectangle with its top-left corner at (x, y).
  void fillRect(int x, int y, int w, int h, Rgb colour);
  /// A rectangle outline `thickness` pixels wide, inside the given bounds.
  void frameRect(int x, int y, int w, int h, int thickness, Rgb colour);
  /// A straight line of `thickness` pixels between two points (inclusive).
  void line(double x0, double y0, double x1, double y1, double thickness, Rgb colour);
  /// A filled disc of radius `r` centred on (cx, cy).
  void fillCircle(double cx, double cy, double r, Rgb colour);
  /// The ring between radii `inner` and `outer`.
  void ring(double cx, double cy, double inner, double outer, Rgb colour);
  /// Vertical blend from `top` to `bottom` over the rectangle.
  void gradientRect(int x, int y, int w, int h, Rgb top, Rgb bottom);
  /// Marks drawn as seven-segment characters, `size` pixels high (width about half of it).
  /// Knows 0-9, A-Z where a seven-segment form reads, "-", "." and " ".
  void text(int x, int y, int size, const std::string& marks, Rgb colour);
  /// Width in pixels that text() takes for `marks` at `size`.
  static int textWidth(int size, const std::string& marks);
  /// Copies `other` with its top-left corner at (x, y); pixels equal to `key` are skipped
  /// when `useKey` is set.
  void blit(const Canvas& other, int x, int y, bool useKey = false, Rgb key = kTransparentKey);
  /// Multiplies every colour by `factor` (0..1).
  void darken(double factor);

  const std::vector<Rgb>& pixels() const { return m_pixels; }

 private:
  int m_width;
  int m_height;
  std::vector<Rgb> m_pixels;  // rows top to bottom
};

/// A point of the picture in sub-pixel coordinates.
struct PointF {
  double x = 0;
  double y = 0;
};

/// Fills the polygon of `count` points (even-odd by rows, pixel centres inside); a polygon
/// with a point that is not finite (projected from behind the eye) is not drawn.
void fillPolygon(Canvas& c, const PointF* points, int count, Rgb colour);

/// Blend of two colours, `t` 0 gives `a`, 1 gives `b`.
Rgb mix(Rgb a, Rgb b, double t);

}  // namespace velimoro::content
