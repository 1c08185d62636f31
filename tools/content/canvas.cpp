#include "tools/content/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <stdexcept>

namespace velimoro::content {
namespace {

std::uint8_t channel(double v) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

// Segments a..g of a seven-segment character: top, upper right, lower right, bottom, lower left,
// upper left, middle.
unsigned segmentsOf(char c) {
  switch (c) {
    case '0':
      return 0b0111111;
    case '1':
      return 0b0000110;
    case '2':
      return 0b1011011;
    case '3':
      return 0b1001111;
    case '4':
      return 0b1100110;
    case '5':
      return 0b1101101;
    case '6':
      return 0b1111101;
    case '7':
      return 0b0000111;
    case '8':
      return 0b1111111;
    case '9':
      return 0b1101111;
    case 'A':
      return 0b1110111;
    case 'B':
      return 0b1111100;
    case 'C':
      return 0b0111001;
    case 'D':
      return 0b1011110;
    case 'E':
      return 0b1111001;
    case 'F':
      return 0b1110001;
    case 'G':
      return 0b0111101;
    case 'H':
      return 0b1110110;
    case 'I':
      return 0b0000110;
    case 'J':
      return 0b0011110;
    case 'L':
      return 0b0111000;
    case 'N':
      return 0b1010100;
    case 'O':
      return 0b1011100;
    case 'P':
      return 0b1110011;
    case 'R':
      return 0b1010000;
    case 'S':
      return 0b1101101;
    case 'T':
      return 0b1111000;
    case 'U':
      return 0b0111110;
    case 'Y':
      return 0b1101110;
    case '-':
      return 0b1000000;
    default:
      return 0;
  }
}

}  // namespace

Rgb mix(Rgb a, Rgb b, double t) {
  return {channel(a.r + (b.r - a.r) * t), channel(a.g + (b.g - a.g) * t),
          channel(a.b + (b.b - a.b) * t)};
}

Canvas::Canvas(int width, int height, Rgb fill) : m_width(width), m_height(height) {
  if (width <= 0 || height <= 0) throw std::invalid_argument("empty canvas");
  m_pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
}

Rgb Canvas::at(int x, int y) const {
  return m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
                  static_cast<std::size_t>(x)];
}

void Canvas::set(int x, int y, Rgb colour) {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
  m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
           static_cast<std::size_t>(x)] = colour;
}

void Canvas::fillRect(int x, int y, int w, int h, Rgb colour) {
  const int left = std::max(x, 0);
  const int right = std::min(x + w, m_width);
  if (left >= right) return;
  for (int row = std::max(y, 0); row < std::min(y + h, m_height); ++row) {
    const auto start = m_pixels.begin() + static_cast<std::ptrdiff_t>(row) * m_width;
    std::fill(start + left, start + right, colour);
  }
}

void Canvas::frameRect(int x, int y, int w, int h, int thickness, Rgb colour) {
  fillRect(x, y, w, thickness, colour);
  fillRect(x, y + h - thickness, w, thickness, colour);
  fillRect(x, y, thickness, h, colour);
  fillRect(x + w - thickness, y, thickness, h, colour);
}

void Canvas::line(double x0, double y0, double x1, double y1, double thickness, Rgb colour) {
  const double half = thickness / 2;
  const int left = static_cast<int>(std::floor(std::min(x0, x1) - half));
  const int right = static_cast<int>(std::ceil(std::max(x0, x1) + half));
  const int top = static_cast<int>(std::floor(std::min(y0, y1) - half));
  const int bottom = static_cast<int>(std::ceil(std::max(y0, y1) + half));
  const double dx = x1 - x0, dy = y1 - y0;
  const double lengthSq = dx * dx + dy * dy;
  for (int y = std::max(top, 0); y <= std::min(bottom, m_height - 1); ++y) {
    for (int x = std::max(left, 0); x <= std::min(right, m_width - 1); ++x) {
      double t = lengthSq > 0 ? ((x - x0) * dx + (y - y0) * dy) / lengthSq : 0;
      t = std::clamp(t, 0.0, 1.0);
      const double px = x0 + t * dx - x, py = y0 + t * dy - y;
      if (px * px + py * py <= half * half + 0.25) set(x, y, colour);
    }
  }
}

void Canvas::fillCircle(double cx, double cy, double r, Rgb colour) {
  ring(cx, cy, -1, r, colour);
}

void Canvas::ring(double cx, double cy, double inner, double outer, Rgb colour) {
  const int top = static_cast<int>(std::floor(cy - outer));
  const int bottom = static_cast<int>(std::ceil(cy + outer));
  const int left = static_cast<int>(std::floor(cx - outer));
  const int right = static_cast<int>(std::ceil(cx + outer));
  for (int y = std::max(top, 0); y <= std::min(bottom, m_height - 1); ++y) {
    for (int x = std::max(left, 0); x <= std::min(right, m_width - 1); ++x) {
      const double d = std::hypot(x - cx, y - cy);
      if (d <= outer && d > inner) set(x, y, colour);
    }
  }
}

void Canvas::gradientRect(int x, int y, int w, int h, Rgb top, Rgb bottom) {
  for (int row = 0; row < h; ++row)
    fillRect(x, y + row, w, 1, mix(top, bottom, h > 1 ? static_cast<double>(row) / (h - 1) : 0));
}

int Canvas::textWidth(int size, const std::string& marks) {
  const int advance = size / 2 + std::max(2, size / 6);
  return static_cast<int>(marks.size()) * advance;
}

void Canvas::text(int x, int y, int size, const std::string& marks, Rgb colour) {
  const int w = size / 2;
  const int t = std::max(1, size / 8);
  const int half = size / 2;
  const int advance = w + std::max(2, size / 6);
  for (char raw : marks) {
    const char c = static_cast<char>(raw >= 'a' && raw <= 'z' ? raw - 'a' + 'A' : raw);
    const unsigned s = segmentsOf(c);
    if (s & 0b0000001) fillRect(x, y, w, t, colour);
    if (s & 0b0000010) fillRect(x + w - t, y, t, half, colour);
    if (s & 0b0000100) fillRect(x + w - t, y + half, t, size - half, colour);
    if (s & 0b0001000) fillRect(x, y + size - t, w, t, colour);
    if (s & 0b0010000) fillRect(x, y + half, t, size - half, colour);
    if (s & 0b0100000) fillRect(x, y, t, half, colour);
    if (s & 0b1000000) fillRect(x, y + half - t / 2, w, t, colour);
    if (c == '.') fillRect(x + w / 2 - t / 2, y + size - t, t, t, colour);
    x += advance;
  }
}

void Canvas::blit(const Canvas& other, int x, int y, bool useKey, Rgb key) {
  for (int row = 0; row < other.height(); ++row) {
    for (int col = 0; col < other.width(); ++col) {
      const Rgb c = other.at(col, row);
      if (useKey && c == key) continue;
      set(x + col, y + row, c);
    }
  }
}

void Canvas::darken(double factor) {
  for (Rgb& c : m_pixels)
    c = mix(Rgb{}, c, factor);
}

void fillPolygon(Canvas& c, const PointF* p, int count, Rgb colour) {
  // A point projected from the camera's own plane (or behind it) has no place on the picture.
  for (int i = 0; i < count; ++i)
    if (!std::isfinite(p[i].x) || !std::isfinite(p[i].y)) return;
  double top = p[0].y, bottom = p[0].y;
  for (int i = 1; i < count; ++i) {
    top = std::min(top, p[i].y);
    bottom = std::max(bottom, p[i].y);
  }
  // Rows are counted within the picture: a point far off it must not overflow the count.
  const double limit = c.height() + 1.0;
  const int first = static_cast<int>(std::ceil(std::clamp(top, -1.0, limit) - 0.5));
  const int last = static_cast<int>(std::ceil(std::clamp(bottom, -1.0, limit) - 0.5)) - 1;
  for (int y = std::max(first, 0); y <= std::min(last, c.height() - 1); ++y) {
    const double sy = y + 0.5;
    double left = 1e9, right = -1e9;
    for (int i = 0; i < count; ++i) {
      const PointF a = p[i], b = p[(i + 1) % count];
      if ((sy < a.y) == (sy < b.y)) continue;
      const double x = a.x + (b.x - a.x) * (sy - a.y) / (b.y - a.y);
      left = std::min(left, x);
      right = std::max(right, x);
    }
    if (left > right) continue;
    left = std::clamp(left, -1.0, c.width() + 1.0);
    right = std::clamp(right, -1.0, c.width() + 1.0);
    const int x0 = static_cast<int>(std::lround(left));
    const int x1 = std::max(x0 + 1, static_cast<int>(std::lround(right)));
    c.fillRect(x0, y, x1 - x0, 1, colour);
  }
}

}  // namespace velimoro::content
