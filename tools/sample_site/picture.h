#pragma once
// True-colour pictures for the sample site's photographs and video frames, painted
// from layers of the icon shapes: each pixel is sampled 4 x 4 times and every
// sample takes the paint of the topmost layer that covers it.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "../icons/canvas.h"

namespace arkivo::samples {

using icons::Colour;
using icons::Hex;
using icons::Paint;
using icons::Shape;

struct Rgb {
    std::uint8_t R = 0, G = 0, B = 0;
};

struct Layer {
    Shape Figure;
    Paint Fill;
};

struct Picture {
    int Width = 0;
    int Height = 0;
    std::vector<Rgb> Pixels;  // row by row from the top

    Rgb At(int x, int y) const { return Pixels[static_cast<std::size_t>(y * Width + x)]; }
};

inline Picture Render(int width, int height, const std::vector<Layer>& layers) {
    constexpr int Samples = 4;
    Picture picture{width, height, {}};
    picture.Pixels.reserve(static_cast<std::size_t>(width * height));
    const auto level = [](double v) {
        return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
    };
    for (int py = 0; py < height; ++py) {
        for (int px = 0; px < width; ++px) {
            Colour sum{0, 0, 0};
            for (int sy = 0; sy < Samples; ++sy) {
                for (int sx = 0; sx < Samples; ++sx) {
                    const double x = px + (sx + 0.5) / Samples, y = py + (sy + 0.5) / Samples;
                    const auto top = std::find_if(layers.rbegin(), layers.rend(),
                                                  [&](const Layer& l) { return l.Figure(x, y); });
                    const Colour c = top == layers.rend() ? Hex(0) : top->Fill(x, y);
                    sum = {sum.R + c.R, sum.G + c.G, sum.B + c.B};
                }
            }
            constexpr double Count = Samples * Samples;
            picture.Pixels.push_back(
                {level(sum.R / Count), level(sum.G / Count), level(sum.B / Count)});
        }
    }
    return picture;
}

}  // namespace arkivo::samples
