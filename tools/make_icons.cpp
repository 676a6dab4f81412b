// Draws the 28 GIF icons of the offline index and writes them, named by their
// lower-case words, into the directory given (resources/images when none is):
//
//   make_icons [directory]
//
// Kind icons are 20 x 18, the kind buttons of the navigation bar 28 x 24 (up,
// down for the page shown, grey for a kind without files), the tree pictures of
// the domain list 38 x 18, the product banner 250 x 75 and the maker's logo
// 197 x 74. Every picture is drawn here from shapes and two small built-in fonts,
// so the icons can be rebuilt and changed with the code.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "icons/canvas.h"
#include "icons/fonts.h"
#include "tool_options.h"

namespace arkivo::icons {
namespace {

constexpr int KindWidth = 20, KindHeight = 18;
constexpr int ButtonWidth = 28, ButtonHeight = 24;
constexpr int TreeWidth = 38, TreeHeight = 18;

enum class Kind { Text, Image, Audio, Video, Other };

Colour AccentOf(Kind kind) {
    switch (kind) {
        case Kind::Text:
            return Hex(0x2F6DB5);
        case Kind::Image:
            return Hex(0x3A9D3A);
        case Kind::Audio:
            return Hex(0x7B4FB8);
        case Kind::Video:
            return Hex(0xC83A2E);
        case Kind::Other:
            return Hex(0xD08A1C);
    }
    return Hex(0);
}

// A shape moved by (x, y): every picture below is drawn around its own origin.
Shape At(double x, double y, Shape shape) {
    return Offset(std::move(shape), x, y);
}

void DrawTextPage(Canvas& c, double x, double y) {
    const Colour edge = Hex(0x5A6B7D);
    c.Fill(At(x, y, Polygon({{3, 0.5}, {12.5, 0.5}, {16.5, 4.5}, {16.5, 17.5}, {3, 17.5}})), edge);
    c.Fill(At(x, y, Polygon({{4, 1.5}, {12, 1.5}, {15.5, 5}, {15.5, 16.5}, {4, 16.5}})),
           Hex(0xFFFFFF));
    c.Fill(At(x, y, Polygon({{12, 1.5}, {12, 5}, {15.5, 5}})), Hex(0xC9D3DE));
    const Colour ink = AccentOf(Kind::Text);
    for (const auto& [top, right] : {std::pair{7, 14}, {9, 14}, {11, 14}, {13, 11}}) {
        c.Fill(At(x, y, Rect(6, top, right, top + 1)), ink);
    }
}

void DrawImageIcon(Canvas& c, double x, double y) {
    c.Fill(At(x, y, RoundRect(1, 2, 19, 16, 1.5)), Hex(0x4A5A6A));
    c.Fill(At(x, y, Rect(2, 3, 18, 15)),
           VerticalGradient(Hex(0xCDEBFF), Hex(0x7FBFEF), y + 3, y + 15));
    c.Fill(At(x, y, Circle(13.5, 6.5, 2)), Hex(0xFFC83D));
    c.Fill(At(x, y, Polygon({{2, 15}, {2, 11.5}, {6.5, 7.5}, {11, 12}, {2, 15}})), Hex(0x2E7D32));
    c.Fill(At(x, y, Polygon({{2, 15}, {7, 11.5}, {11, 11}, {14, 9.5}, {18, 12}, {18, 15}})),
           AccentOf(Kind::Image));
}

void DrawAudioIcon(Canvas& c, double x, double y) {
    const Colour ink = AccentOf(Kind::Audio);
    c.Fill(At(x, y, Ellipse(5.8, 14, 2.9, 2.2)), ink);
    c.Fill(At(x, y, Ellipse(14.3, 12, 2.9, 2.2)), ink);
    c.Fill(At(x, y, Rect(7.5, 4.5, 8.9, 14)), ink);
    c.Fill(At(x, y, Rect(16, 2.5, 17.4, 12)), ink);
    c.Fill(At(x, y, Polygon({{7.5, 4.3}, {17.4, 2}, {17.4, 5}, {7.5, 7.3}})), ink);
}

void DrawVideoIcon(Canvas& c, double x, double y) {
    c.Fill(At(x, y, RoundRect(1, 2.5, 19, 15.5, 1)), Hex(0x2B2B33));
    for (double hole : {2.5, 6.0, 9.5, 13.0, 16.5}) {
        c.Fill(At(x, y, Rect(hole, 3.5, hole + 1.5, 5)), Hex(0xF2F2F2));
        c.Fill(At(x, y, Rect(hole, 13, hole + 1.5, 14.5)), Hex(0xF2F2F2));
    }
    c.Fill(At(x, y, Rect(2.5, 6, 17.5, 12)),
           VerticalGradient(Hex(0xE8665A), Hex(0xA82A20), y + 6, y + 12));
    c.Fill(At(x, y, Polygon({{8.3, 7}, {8.3, 11}, {12.2, 9}})), Hex(0xFFFFFF));
}

void DrawOtherIcon(Canvas& c, double x, double y) {
    c.Fill(At(x, y, Polygon({{1.5, 5.5}, {10, 1.5}, {18.5, 5.5}, {10, 9.5}})), Hex(0xF4C873));
    c.Fill(At(x, y, Polygon({{1.5, 5.5}, {10, 9.5}, {10, 17.5}, {1.5, 13.5}})),
           AccentOf(Kind::Other));
    c.Fill(At(x, y, Polygon({{10, 9.5}, {18.5, 5.5}, {18.5, 13.5}, {10, 17.5}})), Hex(0xA4670F));
    c.Fill(At(x, y, Polygon({{5.2, 3.7}, {6.8, 3}, {15.2, 7}, {13.6, 7.7}})), Hex(0xC2913F));
    c.Fill(At(x, y, Polygon({{13.6, 7.7}, {15.2, 7}, {15.2, 10.2}, {13.6, 11}})), Hex(0xE7C27A));
}

void DrawKindIcon(Canvas& c, Kind kind, double x, double y) {
    switch (kind) {
        case Kind::Text:
            DrawTextPage(c, x, y);
            break;
        case Kind::Image:
            DrawImageIcon(c, x, y);
            break;
        case Kind::Audio:
            DrawAudioIcon(c, x, y);
            break;
        case Kind::Video:
            DrawVideoIcon(c, x, y);
            break;
        case Kind::Other:
            DrawOtherIcon(c, x, y);
            break;
    }
}

Canvas KindIcon(Kind kind) {
    Canvas c(KindWidth, KindHeight);
    DrawKindIcon(c, kind, 0, 0);
    return c;
}

enum class ButtonState { Up, Down, Grey };

Canvas KindButton(Kind kind, ButtonState state) {
    const Colour navBar = Hex(0xCCCCCC);
    Canvas c(ButtonWidth, ButtonHeight, navBar);
    const Shape outer = RoundRect(0, 0, ButtonWidth, ButtonHeight, 4);
    const Shape inner = RoundRect(1, 1, ButtonWidth - 1, ButtonHeight - 1, 3);
    const Colour accent = AccentOf(kind);
    switch (state) {
        case ButtonState::Up:
            c.Fill(outer, Hex(0x7D7D7D));
            c.Fill(inner, VerticalGradient(Hex(0xFFFFFF), Hex(0xDCDCDC), 1, ButtonHeight - 1));
            DrawKindIcon(c, kind, 4, 3);
            break;
        case ButtonState::Down:
            c.Fill(outer, Mix(accent, Hex(0x000000), 0.25));
            c.Fill(inner, VerticalGradient(Mix(accent, Hex(0xFFFFFF), 0.55),
                                           Mix(accent, Hex(0xFFFFFF), 0.8), 1, ButtonHeight - 1));
            c.Fill(Rect(2, 1, ButtonWidth - 2, 2), Mix(accent, Hex(0x000000), 0.1));
            DrawKindIcon(c, kind, 4, 4);
            break;
        case ButtonState::Grey: {
            const Colour face = Hex(0xDADADA);
            c.Fill(outer, Hex(0xB4B4B4));
            c.Fill(inner, face);
            c.SetFilter([face](Colour colour) {
                const double grey = 0.3 * colour.R + 0.59 * colour.G + 0.11 * colour.B;
                return Mix(Colour{grey, grey, grey}, face, 0.6);
            });
            DrawKindIcon(c, kind, 4, 3);
            c.SetFilter(nullptr);
            break;
        }
    }
    return c;
}

// The dotted tree lines of the domain list: down the left (to the middle for the
// last entry) and across to the picture.
void DrawTreeLines(Canvas& c, bool last) {
    const Colour dots = Hex(0x8C8C8C);
    for (int y = 0; y <= (last ? 9 : TreeHeight - 1); y += 2) {
        c.Set(9, y, dots);
    }
    for (int x = 11; x <= 17; x += 2) {
        c.Set(x, 9, dots);
    }
}

void DrawClosedFolder(Canvas& c, double x, double y) {
    const Colour edge = Hex(0xB7862A);
    c.Fill(At(x, y, RoundRect(1, 2, 9, 6, 1.2)), edge);
    c.Fill(At(x, y, RoundRect(2, 3, 8, 6, 0.8)), Hex(0xF5C65A));
    c.Fill(At(x, y, RoundRect(1, 4, 19, 17, 1.5)), edge);
    c.Fill(At(x, y, RoundRect(2, 5, 18, 16, 1)),
           VerticalGradient(Hex(0xFFE08A), Hex(0xF0B53A), y + 5, y + 16));
    c.Fill(At(x, y, Rect(2.5, 5.5, 17.5, 6.5)), Hex(0xFFF0C2));
}

Canvas TreeFolder(bool last) {
    Canvas c(TreeWidth, TreeHeight);
    DrawTreeLines(c, last);
    DrawClosedFolder(c, 18, 0);
    return c;
}

Canvas TreeText(bool last) {
    Canvas c(TreeWidth, TreeHeight);
    DrawTreeLines(c, last);
    DrawTextPage(c, 19, 0);
    return c;
}

Canvas OpenFolder() {
    Canvas c(22, TreeHeight);
    const Colour edge = Hex(0xB7862A);
    c.Fill(RoundRect(1, 2, 9, 6, 1.2), edge);
    c.Fill(RoundRect(1, 4, 18, 17, 1.5), edge);
    c.Fill(RoundRect(2, 5, 17, 16, 1), Hex(0xE2A93A));
    c.Fill(Rect(5, 3, 15, 10), Hex(0x9AA5B1));
    c.Fill(Rect(5.5, 3.5, 14.5, 10), Hex(0xFFFFFF));
    c.Fill(Polygon({{4, 8}, {21.5, 8}, {18, 17}, {0.5, 17}}), edge);
    c.Fill(Polygon({{4.8, 9}, {20.2, 9}, {17.3, 16}, {1.9, 16}}),
           VerticalGradient(Hex(0xFFE6A0), Hex(0xF2B840), 9, 16));
    return c;
}

Canvas NotFound() {
    Canvas c(24, 24);
    c.Fill(RoundRect(0, 0, 24, 24, 3), Hex(0xB5B5B5));
    c.Fill(RoundRect(1, 1, 23, 23, 2), Hex(0xF1F1F1));
    c.SetFilter([](Colour colour) {
        const double grey = 0.3 * colour.R + 0.59 * colour.G + 0.11 * colour.B;
        return Mix(Colour{grey, grey, grey}, Hex(0xF1F1F1), 0.35);
    });
    DrawImageIcon(c, 1, 1);
    c.SetFilter(nullptr);
    c.Fill(Circle(17, 17, 5.5), Hex(0xFFFFFF));
    c.Fill(Circle(17, 17, 4.6), Hex(0xD93025));
    c.Fill(Line({15, 15}, {19, 19}, 1.5), Hex(0xFFFFFF));
    c.Fill(Line({19, 15}, {15, 19}, 1.5), Hex(0xFFFFFF));
    return c;
}

Canvas Banner() {
    Canvas c(250, 75);
    // The emblem: an archive box on a blue tile.
    const Paint tile = VerticalGradient(Hex(0x4A8BE0), Hex(0x1F4E9A), 9, 65);
    c.Fill(RoundRect(8, 9, 64, 65, 11), tile);
    c.Fill(RoundRect(17, 21, 55, 30, 2.5), Hex(0xFFFFFF));
    c.Fill(RoundRect(20, 32, 52, 55, 2), Hex(0xFFFFFF));
    c.Fill(RoundRect(29.5, 36, 42.5, 40.5, 2.2), tile);
    // The name and what the program does.
    const double unit = 23, pen = 4.8, left = 78, baseline = 45;
    c.Fill(StrokeText("Arkivo", left, baseline, unit, pen),
           VerticalGradient(Hex(0x2A5298), Hex(0x15305F), 10, 46));
    DrawPixelText(c, 79, 55, "OFFLINE WEB ARCHIVE", 2, Hex(0x5B7BA8));
    return c;
}

Canvas MakerLogo() {
    Canvas c(197, 74);
    const double unit = 19.5, pen = 3.6, left = 10, baseline = 44;
    const double split = left + pen + 1.4 * unit + LetterGap * unit / 2;
    const Colour orange = Hex(0xE8731E), grey = Hex(0x3A3F47);
    c.Fill(StrokeText("Quenlow", left, baseline, unit, pen),
           [&](double x, double) { return x < split ? orange : grey; });
    const double right = left + StrokeTextWidth("Quenlow", unit, pen);
    c.Fill(RoundRect(left, 52, right - 70, 54.5, 1.2), orange);
    DrawPixelText(c, static_cast<int>(right) - PixelTextWidth("SOFTWARE", 3), 50, "SOFTWARE", 3,
                  Hex(0x6B7280));
    return c;
}

struct Picture {
    std::string Word;  // the file's name, without ".gif"
    Canvas Drawing;
};

std::vector<Picture> AllPictures() {
    const std::pair<const char*, Kind> kinds[] = {{"audio", Kind::Audio},
                                                  {"text", Kind::Text},
                                                  {"video", Kind::Video},
                                                  {"other", Kind::Other},
                                                  {"image", Kind::Image}};
    std::vector<Picture> pictures;
    for (const auto& [word, kind] : kinds) {
        pictures.push_back({word, KindIcon(kind)});
    }
    const std::pair<const char*, ButtonState> states[] = {
        {"u", ButtonState::Up}, {"d", ButtonState::Down}, {"g", ButtonState::Grey}};
    for (const auto& [prefix, state] : states) {
        for (const auto& [word, kind] : kinds) {
            pictures.push_back({std::string(prefix) + word, KindButton(kind, state)});
        }
    }
    pictures.push_back({"folder", TreeFolder(false)});
    pictures.push_back({"lfolder", TreeFolder(true)});
    pictures.push_back({"ofolder", OpenFolder()});
    pictures.push_back({"ftext", TreeText(false)});
    pictures.push_back({"ltext", TreeText(true)});
    pictures.push_back({"notfound", NotFound()});
    pictures.push_back({"arkivo", Banner()});
    pictures.push_back({"quenlogo", MakerLogo()});
    return pictures;
}

}  // namespace
}  // namespace arkivo::icons

int main(int argc, char** argv) {
    arkivo::tools::TakeNoOptions(argc, argv, "make_icons",
                                 "usage: make_icons [DIRECTORY]   (default: resources/images)\n");
    const std::string directory = argc > 1 ? argv[1] : "resources/images";
    for (const auto& picture : arkivo::icons::AllPictures()) {
        const std::string path = directory + "/" + picture.Word + ".gif";
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file << picture.Drawing.ToGif();
        if (!file.flush()) {
            std::cerr << "make_icons: cannot write " << path << "\n";
            return 1;
        }
    }
    return 0;
}
