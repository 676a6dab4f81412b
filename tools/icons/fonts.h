#pragma once
// The two type faces of the icon pictures: a 5 x 7 pixel font of capitals for
// small print, and a geometric stroke font for the few letters of the product and
// maker names, drawn at any size with round-ended strokes.

#include <array>
#include <string_view>
#include <vector>

#include "canvas.h"

namespace arkivo::icons {

// Rows of 5 pixels, most significant of the low 5 bits on the left.
struct PixelGlyph {
    char Letter;
    std::array<std::uint8_t, 7> Rows;
};

inline constexpr std::array<PixelGlyph, 27> PixelFont = {{
    {' ', {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
    {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}},
    {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
    {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}},
    {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
    {'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}},
    {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
    {'Y', {0x11, 0x11, 0x0A, 0x04, 0x04, 0x04, 0x04}},
    {'Z', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
}};

// Width in pixels of text in the pixel font with the given gap between letters.
inline int PixelTextWidth(std::string_view text, int gap) {
    return text.empty() ? 0 : static_cast<int>(text.size()) * (5 + gap) - gap;
}

// Writes text with its top left corner at (x, y); unknown characters are blank.
inline void DrawPixelText(Canvas& canvas, int x, int y, std::string_view text, int gap,
                          Colour ink) {
    for (char letter : text) {
        for (const PixelGlyph& glyph : PixelFont) {
            if (glyph.Letter != letter) {
                continue;
            }
            for (int row = 0; row < 7; ++row) {
                for (int column = 0; column < 5; ++column) {
                    if (glyph.Rows[row] & (0x10 >> column)) {
                        canvas.Set(x + column, y + row, ink);
                    }
                }
            }
        }
        x += 5 + gap;
    }
}

// Stroke glyphs are laid out in units of the x-height, y upwards from the baseline:
// lower-case letters reach 1, capitals 1.4, ascenders 1.45.
struct StrokeGlyph {
    double Width;  // the ink's width, without spacing
    std::vector<Shape> (*Strokes)(Point origin, double unit, double pen);
};

namespace strokes {

inline Point At(Point origin, double unit, double x, double y) {
    return {origin.X + x * unit, origin.Y - y * unit};
}

inline std::vector<Shape> CapitalA(Point o, double u, double pen) {
    return {Line(At(o, u, 0, 0), At(o, u, 0.58, 1.4), pen),
            Line(At(o, u, 0.58, 1.4), At(o, u, 1.16, 0), pen),
            Line(At(o, u, 0.24, 0.45), At(o, u, 0.92, 0.45), pen)};
}
inline std::vector<Shape> CapitalQ(Point o, double u, double pen) {
    return {Arc(At(o, u, 0.7, 0.7), 0.7 * u, 0, 360, pen),
            Line(At(o, u, 0.95, 0.3), At(o, u, 1.4, -0.12), pen)};
}
inline std::vector<Shape> SmallE(Point o, double u, double pen) {
    return {Arc(At(o, u, 0.5, 0.5), 0.5 * u, 0, 315, pen),
            Line(At(o, u, 0, 0.5), At(o, u, 1, 0.5), pen)};
}
inline std::vector<Shape> SmallI(Point o, double u, double pen) {
    return {Line(At(o, u, 0, 0), At(o, u, 0, 1), pen),
            Circle(At(o, u, 0, 1.38).X, At(o, u, 0, 1.38).Y, pen * 0.65)};
}
inline std::vector<Shape> SmallK(Point o, double u, double pen) {
    return {Line(At(o, u, 0, 0), At(o, u, 0, 1.45), pen),
            Line(At(o, u, 0.72, 1), At(o, u, 0.02, 0.38), pen),
            Line(At(o, u, 0.3, 0.62), At(o, u, 0.78, 0), pen)};
}
inline std::vector<Shape> SmallL(Point o, double u, double pen) {
    return {Line(At(o, u, 0, 0), At(o, u, 0, 1.45), pen)};
}
inline std::vector<Shape> SmallN(Point o, double u, double pen) {
    return {Line(At(o, u, 0, 0), At(o, u, 0, 1), pen),
            Arc(At(o, u, 0.48, 0.52), 0.48 * u, 0, 180, pen),
            Line(At(o, u, 0.96, 0.52), At(o, u, 0.96, 0), pen)};
}
inline std::vector<Shape> SmallO(Point o, double u, double pen) {
    return {Arc(At(o, u, 0.52, 0.5), 0.5 * u, 0, 360, pen)};
}
inline std::vector<Shape> SmallR(Point o, double u, double pen) {
    return {Line(At(o, u, 0, 0), At(o, u, 0, 1), pen),
            Arc(At(o, u, 0.5, 0.5), 0.5 * u, 65, 115, pen)};
}
inline std::vector<Shape> SmallU(Point o, double u, double pen) {
    return {Line(At(o, u, 0, 1), At(o, u, 0, 0.48), pen),
            Arc(At(o, u, 0.48, 0.48), 0.48 * u, 180, 180, pen),
            Line(At(o, u, 0.96, 1), At(o, u, 0.96, 0), pen)};
}
inline std::vector<Shape> SmallV(Point o, double u, double pen) {
    return {Line(At(o, u, 0, 1), At(o, u, 0.46, 0), pen),
            Line(At(o, u, 0.46, 0), At(o, u, 0.92, 1), pen)};
}
inline std::vector<Shape> SmallW(Point o, double u, double pen) {
    return {Line(At(o, u, 0, 1), At(o, u, 0.33, 0), pen),
            Line(At(o, u, 0.33, 0), At(o, u, 0.66, 0.9), pen),
            Line(At(o, u, 0.66, 0.9), At(o, u, 0.99, 0), pen),
            Line(At(o, u, 0.99, 0), At(o, u, 1.32, 1), pen)};
}

}  // namespace strokes

inline const StrokeGlyph* StrokeGlyphOf(char letter) {
    static const std::array<std::pair<char, StrokeGlyph>, 12> glyphs = {{
        {'A', {1.16, strokes::CapitalA}},
        {'Q', {1.4, strokes::CapitalQ}},
        {'e', {1.0, strokes::SmallE}},
        {'i', {0.0, strokes::SmallI}},
        {'k', {0.78, strokes::SmallK}},
        {'l', {0.0, strokes::SmallL}},
        {'n', {0.96, strokes::SmallN}},
        {'o', {1.04, strokes::SmallO}},
        {'r', {0.72, strokes::SmallR}},
        {'u', {0.96, strokes::SmallU}},
        {'v', {0.92, strokes::SmallV}},
        {'w', {1.32, strokes::SmallW}},
    }};
    for (const auto& [key, glyph] : glyphs) {
        if (key == letter) {
            return &glyph;
        }
    }
    return nullptr;
}

// Gap between letters, in x-heights, on top of the pen width.
inline constexpr double LetterGap = 0.24;

// Width in pixels of text in the stroke font at the given x-height and pen width.
inline double StrokeTextWidth(std::string_view text, double unit, double pen) {
    double width = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const StrokeGlyph* glyph = StrokeGlyphOf(text[at]);
        width += (glyph ? glyph->Width : 0.5) * unit +
                 (at + 1 < text.size() ? pen + LetterGap * unit : 0);
    }
    return width + pen;
}

// The shape of text whose left ink edge is at x and whose baseline is at y.
inline Shape StrokeText(std::string_view text, double x, double baseline, double unit, double pen) {
    std::vector<Shape> shapes;
    double cursor = x + pen / 2;
    for (char letter : text) {
        const StrokeGlyph* glyph = StrokeGlyphOf(letter);
        if (glyph) {
            for (Shape& shape : glyph->Strokes({cursor, baseline}, unit, pen)) {
                shapes.push_back(std::move(shape));
            }
        }
        cursor += (glyph ? glyph->Width : 0.5) * unit + pen + LetterGap * unit;
    }
    return Union(std::move(shapes));
}

}  // namespace arkivo::icons
