#include "fonts.h"

#include <cmath>
#include <stdexcept>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace tex {

struct Font::Handles {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

Font::Font(const std::string& path) : handles_(std::make_unique<Handles>()) {
    if (FT_Init_FreeType(&handles_->library) != 0) throw std::runtime_error("cannot start FreeType");
    if (FT_New_Face(handles_->library, path.c_str(), 0, &handles_->face) != 0) {
        FT_Done_FreeType(handles_->library);
        throw std::runtime_error("cannot open font " + path);
    }
}

Font::~Font() {
    FT_Done_Face(handles_->face);
    FT_Done_FreeType(handles_->library);
}

void Font::setPixelSize(int pixels) {
    if (FT_Set_Pixel_Sizes(handles_->face, 0, static_cast<FT_UInt>(pixels)) != 0)
        throw std::runtime_error("font cannot be set to the pixel size");
}

Glyph Font::render(char32_t code, bool hinted) const {
    const FT_Int32 flags = FT_LOAD_RENDER | (hinted ? FT_LOAD_TARGET_NORMAL : FT_LOAD_NO_HINTING);
    if (FT_Load_Char(handles_->face, code, flags) != 0)
        throw std::runtime_error("font has no glyph for code " + std::to_string(code));
    const FT_GlyphSlot slot = handles_->face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.rows > 0)
        throw std::runtime_error("unexpected glyph bitmap format");

    Glyph glyph;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.rows = static_cast<int>(bitmap.rows);
    glyph.advance = slot->advance.x / 64.0;
    glyph.coverage.resize(static_cast<std::size_t>(glyph.width) * glyph.rows);
    for (int y = 0; y < glyph.rows; ++y)
        for (int x = 0; x < glyph.width; ++x)
            glyph.coverage[static_cast<std::size_t>(y) * glyph.width + x] =
                bitmap.buffer[y * bitmap.pitch + x];
    return glyph;
}

double Font::measure(const std::string& text, double spacing, bool hinted) const {
    double width = 0.0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        width += render(static_cast<unsigned char>(text[i]), hinted).advance;
        if (i + 1 < text.size()) width += spacing;
    }
    return width;
}

double Font::draw(Mask& mask, const std::string& text, double x, int baseline, double spacing,
                bool hinted) const {
    double pen = x;
    for (const char ch : text) {
        const Glyph g = render(static_cast<unsigned char>(ch), hinted);
        const int ox = static_cast<int>(std::floor(pen + 0.5)) + g.left;
        const int oy = baseline - g.top;
        for (int y = 0; y < g.rows; ++y) {
            for (int gx = 0; gx < g.width; ++gx) {
                const int mx = ox + gx;
                const int my = oy + y;
                if (mx < 0 || my < 0 || mx >= mask.width || my >= mask.height) continue;
                const double c = g.coverage[static_cast<std::size_t>(y) * g.width + gx] / 255.0;
                double& m = mask.at(mx, my);
                m = m + c - m * c;  // overlapping letters do not add past full
            }
        }
        pen += g.advance + spacing;
    }
    return pen;
}

}  // namespace tex
