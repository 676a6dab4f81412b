#pragma once
// A small anti-aliased painter for the icon pictures: shapes are tests of a point
// against a figure, painted with 4 x 4 samples per pixel, and the finished picture
// is reduced to a GIF palette.

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <vector>

#include "gif_writer.h"

namespace arkivo::icons {

struct Colour {
    double R = 1, G = 1, B = 1;
};

inline Colour Hex(unsigned value) {
    return {((value >> 16) & 0xFF) / 255.0, ((value >> 8) & 0xFF) / 255.0, (value & 0xFF) / 255.0};
}

inline Colour Mix(Colour a, Colour b, double t) {
    return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t};
}

struct Point {
    double X = 0, Y = 0;
};

// A figure: true when the point lies inside it.
using Shape = std::function<bool(double x, double y)>;
// The paint at a point.
using Paint = std::function<Colour(double x, double y)>;

inline Paint Solid(Colour colour) {
    return [colour](double, double) { return colour; };
}

// From top (at y0) to bottom (at y1) colour.
inline Paint VerticalGradient(Colour top, Colour bottom, double y0, double y1) {
    return [=](double, double y) {
        return Mix(top, bottom, std::clamp((y - y0) / (y1 - y0), 0.0, 1.0));
    };
}

inline Shape Rect(double x0, double y0, double x1, double y1) {
    return [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}

inline Shape RoundRect(double x0, double y0, double x1, double y1, double radius) {
    return [=](double x, double y) {
        if (x < x0 || x >= x1 || y < y0 || y >= y1) {
            return false;
        }
        const double cx = std::clamp(x, x0 + radius, x1 - radius);
        const double cy = std::clamp(y, y0 + radius, y1 - radius);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    };
}

inline Shape Ellipse(double cx, double cy, double rx, double ry) {
    return [=](double x, double y) {
        const double dx = (x - cx) / rx, dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
    };
}

inline Shape Circle(double cx, double cy, double r) {
    return Ellipse(cx, cy, r, r);
}

inline double SegmentDistance(Point a, Point b, double x, double y) {
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    const double length2 = dx * dx + dy * dy;
    const double t =
        length2 == 0 ? 0 : std::clamp(((x - a.X) * dx + (y - a.Y) * dy) / length2, 0.0, 1.0);
    const double px = a.X + t * dx - x, py = a.Y + t * dy - y;
    return std::sqrt(px * px + py * py);
}

// A stroke of the given width along the segment, with round ends.
inline Shape Line(Point a, Point b, double width) {
    return [=](double x, double y) { return SegmentDistance(a, b, x, y) <= width / 2; };
}

// A stroke along a circular arc; angles in degrees, counter-clockwise on the screen
// (y down), from start through the sweep; round ends.
inline Shape Arc(Point centre, double radius, double start, double sweep, double width) {
    const double pi = std::acos(-1.0);
    const double a0 = start * pi / 180, span = sweep * pi / 180;
    const Point end0{centre.X + radius * std::cos(a0), centre.Y - radius * std::sin(a0)};
    const Point end1{centre.X + radius * std::cos(a0 + span),
                     centre.Y - radius * std::sin(a0 + span)};
    return [=](double x, double y) {
        const double dx = x - centre.X, dy = centre.Y - y;
        double angle = std::atan2(dy, dx) - a0;
        while (angle < 0) {
            angle += 2 * pi;
        }
        const double half = width / 2;
        if (angle <= span) {
            return std::abs(std::sqrt(dx * dx + dy * dy) - radius) <= half;
        }
        auto near = [&](Point p) {
            return (x - p.X) * (x - p.X) + (y - p.Y) * (y - p.Y) <= half * half;
        };
        return near(end0) || near(end1);
    };
}

inline Shape Polygon(std::vector<Point> points) {
    return [points = std::move(points)](double x, double y) {
        bool inside = false;
        for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const Point& a = points[i];
            const Point& b = points[j];
            if ((a.Y > y) != (b.Y > y) && x < (b.X - a.X) * (y - a.Y) / (b.Y - a.Y) + a.X) {
                inside = !inside;
            }
        }
        return inside;
    };
}

inline Shape Union(std::vector<Shape> shapes) {
    return [shapes = std::move(shapes)](double x, double y) {
        return std::any_of(shapes.begin(), shapes.end(), [&](const Shape& s) { return s(x, y); });
    };
}

inline Shape Minus(Shape shape, Shape hole) {
    return [=](double x, double y) { return shape(x, y) && !hole(x, y); };
}

inline Shape Offset(Shape shape, double dx, double dy) {
    return [=](double x, double y) { return shape(x - dx, y - dy); };
}

class Canvas {
  public:
    Canvas(int width, int height, Colour background = Hex(0xFFFFFF))
        : width_(width),
          height_(height),
          pixels_(static_cast<std::size_t>(width * height), background) {}

    int Width() const { return width_; }
    int Height() const { return height_; }

    // A change applied to every colour painted from now on (greying a disabled
    // button); none by default.
    void SetFilter(std::function<Colour(Colour)> filter) { filter_ = std::move(filter); }

    void Fill(const Shape& shape, const Paint& paint) {
        constexpr int Samples = 4;
        for (int py = 0; py < height_; ++py) {
            for (int px = 0; px < width_; ++px) {
                int hits = 0;
                Colour sum{0, 0, 0};
                for (int sy = 0; sy < Samples; ++sy) {
                    for (int sx = 0; sx < Samples; ++sx) {
                        const double x = px + (sx + 0.5) / Samples;
                        const double y = py + (sy + 0.5) / Samples;
                        if (shape(x, y)) {
                            const Colour c = paint(x, y);
                            sum = {sum.R + c.R, sum.G + c.G, sum.B + c.B};
                            ++hits;
                        }
                    }
                }
                if (hits == 0) {
                    continue;
                }
                Colour mean{sum.R / hits, sum.G / hits, sum.B / hits};
                if (filter_) {
                    mean = filter_(mean);
                }
                Colour& pixel = pixels_[static_cast<std::size_t>(py * width_ + px)];
                pixel = Mix(pixel, mean, static_cast<double>(hits) / (Samples * Samples));
            }
        }
    }

    void Fill(const Shape& shape, Colour colour) { Fill(shape, Solid(colour)); }

    // One pixel exactly, for crisp one-pixel details.
    void Set(int x, int y, Colour colour) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) {
            pixels_[static_cast<std::size_t>(y * width_ + x)] = filter_ ? filter_(colour) : colour;
        }
    }

    // The picture as a GIF: the exact colours when there are at most 256 of them,
    // otherwise 256 found by splitting the colour box at its widest side.
    std::string ToGif() const {
        std::vector<Rgb> rgb;
        rgb.reserve(pixels_.size());
        for (const Colour& c : pixels_) {
            auto level = [](double v) {
                return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
            };
            rgb.push_back({level(c.R), level(c.G), level(c.B)});
        }
        const std::vector<Rgb> palette = PaletteOf(rgb);
        std::vector<std::uint8_t> indices;
        indices.reserve(rgb.size());
        for (const Rgb& c : rgb) {
            indices.push_back(Nearest(palette, c));
        }
        return EncodeGif(width_, height_, palette, indices);
    }

  private:
    static std::uint32_t Key(Rgb c) { return (c.R << 16) | (c.G << 8) | c.B; }

    static std::vector<Rgb> PaletteOf(const std::vector<Rgb>& colours) {
        std::map<std::uint32_t, Rgb> unique;
        for (const Rgb& c : colours) {
            unique.emplace(Key(c), c);
        }
        std::vector<std::vector<Rgb>> boxes(1);
        for (const auto& entry : unique) {
            boxes[0].push_back(entry.second);
        }
        while (boxes.size() < 256) {
            // Split the box with the widest channel range in two at its median.
            std::size_t widest = 0;
            int widestRange = -1, widestChannel = 0;
            for (std::size_t i = 0; i < boxes.size(); ++i) {
                if (boxes[i].size() < 2) {
                    continue;
                }
                for (int channel = 0; channel < 3; ++channel) {
                    const auto [lo, hi] = std::minmax_element(
                        boxes[i].begin(), boxes[i].end(),
                        [&](Rgb a, Rgb b) { return Channel(a, channel) < Channel(b, channel); });
                    const int range = Channel(*hi, channel) - Channel(*lo, channel);
                    if (range > widestRange) {
                        widest = i, widestRange = range, widestChannel = channel;
                    }
                }
            }
            if (widestRange <= 0) {
                break;
            }
            std::vector<Rgb>& box = boxes[widest];
            std::sort(box.begin(), box.end(), [&](Rgb a, Rgb b) {
                return Channel(a, widestChannel) < Channel(b, widestChannel);
            });
            std::vector<Rgb> upper(box.begin() + static_cast<long>(box.size() / 2), box.end());
            box.resize(box.size() / 2);
            boxes.push_back(std::move(upper));
        }
        std::vector<Rgb> palette;
        for (const auto& box : boxes) {
            long r = 0, g = 0, b = 0;
            for (const Rgb& c : box) {
                r += c.R, g += c.G, b += c.B;
            }
            const long n = static_cast<long>(box.size());
            palette.push_back({static_cast<std::uint8_t>(r / n), static_cast<std::uint8_t>(g / n),
                               static_cast<std::uint8_t>(b / n)});
        }
        return palette;
    }

    static int Channel(Rgb c, int channel) { return channel == 0 ? c.R : channel == 1 ? c.G : c.B; }

    static std::uint8_t Nearest(const std::vector<Rgb>& palette, Rgb c) {
        std::size_t best = 0;
        long bestDistance = -1;
        for (std::size_t i = 0; i < palette.size(); ++i) {
            const long dr = palette[i].R - c.R, dg = palette[i].G - c.G, db = palette[i].B - c.B;
            const long distance = dr * dr + dg * dg + db * db;
            if (bestDistance < 0 || distance < bestDistance) {
                best = i, bestDistance = distance;
            }
        }
        return static_cast<std::uint8_t>(best);
    }

    int width_;
    int height_;
    std::vector<Colour> pixels_;
    std::function<Colour(Colour)> filter_;
};

}  // namespace arkivo::icons
