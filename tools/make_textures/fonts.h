#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "canvas.h"

namespace tex {

// One rendered glyph: an 8-bit coverage bitmap and where it sits relative
// to the pen on the baseline (left: right of the pen, top: above it).
struct Glyph {
    int left = 0;
    int top = 0;
    int width = 0;
    int rows = 0;
    double advance = 0.0;  // pixels
    std::vector<std::uint8_t> coverage;
};

// A FreeType face at one pixel size. Throws std::runtime_error when the
// file cannot be opened as a font.
class Font {
public:
    explicit Font(const std::string& path);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    void setPixelSize(int pixels);
    // Hinted glyphs are crisper at small sizes; large titles look better
    // with the outlines left as drawn.
    Glyph render(char32_t code, bool hinted) const;

    // Width of a line: advances plus extra spacing between letters.
    double measure(const std::string& text, double spacing, bool hinted) const;

    // Adds coverage (0..1) of the text to the mask, pen starting at x on
    // the baseline row baseline. Spacing is added after every letter.
    // Returns the pen position after the last letter.
    double draw(Mask& mask, const std::string& text, double x, int baseline, double spacing,
              bool hinted) const;

private:
    struct Handles;
    std::unique_ptr<Handles> handles_;
};

}  // namespace tex
