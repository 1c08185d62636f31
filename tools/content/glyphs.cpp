#include "tools/content/glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <stdexcept>

#include "media/translate.h"

namespace velimoro::content {
namespace {

constexpr const char* kFontFolder = "/usr/share/fonts/opentype/noto/";
constexpr const char* kJapaneseFamily = "Noto Sans CJK JP";

// Code points of UTF-8 text; throws on malformed sequences.
std::u32string decodeUtf8(const std::string& text) {
  std::u32string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int extra = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
      cp = lead;
    } else if ((lead & 0xe0) == 0xc0) {
      cp = lead & 0x1f;
      extra = 1;
    } else if ((lead & 0xf0) == 0xe0) {
      cp = lead & 0x0f;
      extra = 2;
    } else if ((lead & 0xf8) == 0xf0) {
      cp = lead & 0x07;
      extra = 3;
    } else {
      throw std::invalid_argument("text is not UTF-8: \"" + text + "\"");
    }
    if (i + static_cast<std::size_t>(extra) >= text.size())
      throw std::invalid_argument("text is not UTF-8 (cut short): \"" + text + "\"");
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      if ((next & 0xc0) != 0x80) throw std::invalid_argument("text is not UTF-8: \"" + text + "\"");
      cp = (cp << 6) | (next & 0x3f);
    }
    out.push_back(cp);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

// The FreeType library and the Japanese face of each weight, opened on first use and shared;
// FreeType objects are not thread-safe, so every use holds the lock.
class Fonts {
 public:
  static Fonts& instance() {
    static Fonts fonts;
    return fonts;
  }

  std::mutex& lock() { return m_lock; }

  FT_Face face(FontWeight weight) {
    FT_Face& slot = m_faces[weight == FontWeight::kBold ? 1 : 0];
    if (slot == nullptr) slot = openJapaneseFace(fontFile(weight));
    return slot;
  }

  Fonts(const Fonts&) = delete;
  Fonts& operator=(const Fonts&) = delete;

 private:
  Fonts() = default;
  ~Fonts() {
    for (FT_Face f : m_faces)
      if (f != nullptr) FT_Done_Face(f);
    if (m_library != nullptr) FT_Done_FreeType(m_library);
  }

  FT_Face openJapaneseFace(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
      throw std::runtime_error(
          media::fill(media::translate("ContentProgress",
                                       "日本語のフォント %1 がありません。fonts-noto-cjk "
                                       "をインストールしてください（scripts/install-deps）"),
                      {path}));
    if (m_library == nullptr && FT_Init_FreeType(&m_library) != 0)
      throw std::runtime_error(media::translate("ContentProgress", "FreeType を始められません"));
    FT_Face probe = nullptr;
    if (FT_New_Face(m_library, path.c_str(), -1, &probe) != 0)
      throw std::runtime_error(
          media::fill(media::translate("ContentProgress", "フォント %1 を読めません"), {path}));
    const FT_Long faces = probe->num_faces;
    FT_Done_Face(probe);
    // A collection holds one face per language; the Japanese one draws kanji in their
    // Japanese forms.
    for (FT_Long i = 0; i < faces; ++i) {
      FT_Face f = nullptr;
      if (FT_New_Face(m_library, path.c_str(), i, &f) != 0) continue;
      if (f->family_name != nullptr && std::strcmp(f->family_name, kJapaneseFamily) == 0) return f;
      FT_Done_Face(f);
    }
    throw std::runtime_error(
        media::fill(media::translate("ContentProgress", "フォント %1 には書体「%2」がありません"),
                    {path, kJapaneseFamily}));
  }

  std::mutex m_lock;
  FT_Library m_library = nullptr;
  FT_Face m_faces[2] = {nullptr, nullptr};
};

std::string codeName(char32_t cp) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(cp));
  return name;
}

struct PlacedGlyph {
  int left = 0;  // pixels from the box's left edge
  int top = 0;   // pixels from the box's top edge
  int width = 0;
  int rows = 0;
  std::vector<std::uint8_t> pixels;
};

struct Layout {
  std::vector<PlacedGlyph> glyphs;
  int advance = 0;
};

int baselineOf(int pixelSize) {
  return static_cast<int>(std::lround(pixelSize * 0.98));
}

int boxHeightOf(int pixelSize) {
  return static_cast<int>(std::ceil(pixelSize * 1.25));
}

// Loads every glyph of the text at the size; with `render` also keeps the coverage.
Layout layOut(const std::string& utf8, int pixelSize, FontWeight weight, bool render) {
  if (pixelSize <= 0) throw std::invalid_argument("text size must be positive");
  const std::u32string text = decodeUtf8(utf8);
  Fonts& fonts = Fonts::instance();
  const std::lock_guard<std::mutex> hold(fonts.lock());
  FT_Face face = fonts.face(weight);
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize)) != 0)
    throw std::runtime_error("the font cannot be set to " + std::to_string(pixelSize) + " px");
  const int baseline = baselineOf(pixelSize);
  Layout layout;
  FT_Pos pen = 0;  // 26.6 fixed point
  for (char32_t cp : text) {
    const FT_UInt index = FT_Get_Char_Index(face, cp);
    if (index == 0) {
      throw std::runtime_error("the font " + fontFile(weight) + " has no glyph for " +
                               codeName(cp) + " in \"" + utf8 + "\"");
    }
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT) != 0)
      throw std::runtime_error("cannot load a glyph of \"" + utf8 + "\"");
    FT_GlyphSlot slot = face->glyph;
    if (render) {
      if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
        throw std::runtime_error("cannot render a glyph of \"" + utf8 + "\"");
      const FT_Bitmap& b = slot->bitmap;
      if (b.width > 0 && b.rows > 0 && b.pixel_mode == FT_PIXEL_MODE_GRAY) {
        PlacedGlyph g;
        g.left = static_cast<int>((pen + 32) >> 6) + slot->bitmap_left;
        g.top = baseline - slot->bitmap_top;
        g.width = static_cast<int>(b.width);
        g.rows = static_cast<int>(b.rows);
        g.pixels.resize(static_cast<std::size_t>(g.width) * static_cast<std::size_t>(g.rows));
        for (int row = 0; row < g.rows; ++row) {
          const unsigned char* src = b.buffer + static_cast<std::ptrdiff_t>(row) * b.pitch;
          std::copy(src, src + g.width,
                    g.pixels.begin() + static_cast<std::ptrdiff_t>(row) * g.width);
        }
        layout.glyphs.push_back(std::move(g));
      }
    }
    pen += slot->advance.x;
  }
  layout.advance = static_cast<int>((pen + 32) >> 6);
  return layout;
}

}  // namespace

std::string fontFile(FontWeight weight) {
  return std::string(kFontFolder) +
         (weight == FontWeight::kBold ? "NotoSansCJK-Bold.ttc" : "NotoSansCJK-Regular.ttc");
}

TextMask renderText(const std::string& utf8, int pixelSize, FontWeight weight) {
  const Layout layout = layOut(utf8, pixelSize, weight, true);
  TextMask mask;
  mask.height = boxHeightOf(pixelSize);
  mask.baseline = baselineOf(pixelSize);
  mask.advance = layout.advance;
  mask.width = std::max(1, layout.advance);
  for (const PlacedGlyph& g : layout.glyphs)
    mask.width = std::max(mask.width, g.left + g.width);
  mask.coverage.assign(static_cast<std::size_t>(mask.width) * static_cast<std::size_t>(mask.height),
                       0);
  for (const PlacedGlyph& g : layout.glyphs) {
    for (int row = 0; row < g.rows; ++row) {
      const int y = g.top + row;
      if (y < 0 || y >= mask.height) continue;
      for (int col = 0; col < g.width; ++col) {
        const int x = g.left + col;
        if (x < 0 || x >= mask.width) continue;
        std::uint8_t& out =
            mask.coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(mask.width) +
                          static_cast<std::size_t>(x)];
        out = std::max(out,
                       g.pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(g.width) +
                                static_cast<std::size_t>(col)]);
      }
    }
  }
  return mask;
}

int measureText(const std::string& utf8, int pixelSize, FontWeight weight) {
  return layOut(utf8, pixelSize, weight, false).advance;
}

void drawMask(Canvas& canvas, const TextMask& mask, int x, int y, Rgb colour, double opacity) {
  const int alpha = static_cast<int>(std::lround(std::clamp(opacity, 0.0, 1.0) * 255));
  if (alpha == 0) return;
  const auto blend = [](int from, int to, int k) { return (from * (65025 - k) + to * k) / 65025; };
  for (int row = 0; row < mask.height; ++row) {
    const int cy = y + row;
    if (cy < 0 || cy >= canvas.height()) continue;
    for (int col = 0; col < mask.width; ++col) {
      const int cx = x + col;
      if (cx < 0 || cx >= canvas.width()) continue;
      const int k = mask.at(col, row) * alpha;  // 0 .. 255 × 255
      if (k == 0) continue;
      const Rgb under = canvas.at(cx, cy);
      canvas.set(cx, cy,
                 Rgb{static_cast<std::uint8_t>(blend(under.r, colour.r, k)),
                     static_cast<std::uint8_t>(blend(under.g, colour.g, k)),
                     static_cast<std::uint8_t>(blend(under.b, colour.b, k))});
    }
  }
}

int drawText(Canvas& canvas, int x, int y, const std::string& utf8, int pixelSize, Rgb colour,
             FontWeight weight) {
  const TextMask mask = renderText(utf8, pixelSize, weight);
  drawMask(canvas, mask, x, y, colour);
  return mask.advance;
}

}  // namespace velimoro::content
