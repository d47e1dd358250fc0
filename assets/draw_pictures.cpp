// Draws Zeilwerk's own txtbox.bmp (a Maker-like text box, 320 × 80) and txtclr.bmp (the
// white-to-grey text colour, 16 × 16) into the folder given as the argument.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Rgb {
    std::uint8_t r, g, b;
};

class Picture {
public:
    Picture(int w, int h) : m_w(w), m_h(h), m_pixels(static_cast<size_t>(w) * h) {}
    void set(int x, int y, Rgb c) { m_pixels[static_cast<size_t>(y) * m_w + x] = c; }

    // A 24-bit Windows bitmap, bottom row first, rows padded to four bytes.
    bool save(const std::string& path) const {
        const int rowBytes = (m_w * 3 + 3) / 4 * 4;
        const std::uint32_t dataSize = static_cast<std::uint32_t>(rowBytes) * m_h;
        std::vector<std::uint8_t> out;
        auto u16 = [&](std::uint32_t v) { out.push_back(v & 0xFF); out.push_back((v >> 8) & 0xFF); };
        auto u32 = [&](std::uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
        out.push_back('B');
        out.push_back('M');
        u32(54 + dataSize); u32(0); u32(54);
        u32(40); u32(m_w); u32(m_h); u16(1); u16(24); u32(0); u32(dataSize); u32(3780); u32(3780); u32(0); u32(0);
        for (int y = m_h - 1; y >= 0; --y) {
            for (int x = 0; x < m_w; ++x) {
                const Rgb& c = m_pixels[static_cast<size_t>(y) * m_w + x];
                out.push_back(c.b);
                out.push_back(c.g);
                out.push_back(c.r);
            }
            for (int pad = m_w * 3; pad < rowBytes; ++pad)
                out.push_back(0);
        }
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
        return static_cast<bool>(file);
    }

private:
    int m_w, m_h;
    std::vector<Rgb> m_pixels;
};

std::uint8_t mix(int from, int to, double t) {
    return static_cast<std::uint8_t>(std::lround(from + (to - from) * t));
}

// How far a pixel lies inside the box's rounded outline, in pixels; negative outside.
double insideBy(int x, int y, int w, int h, double radius) {
    const double px = x + 0.5;
    const double py = y + 0.5;
    const double cx = px < radius ? radius : (px > w - radius ? w - radius : px);
    const double cy = py < radius ? radius : (py > h - radius ? h - radius : py);
    if (cx == px || cy == py)
        return std::min(std::min(px, w - px), std::min(py, h - py));
    return radius - std::hypot(px - cx, py - cy);
}

Picture textBox() {
    constexpr int w = 320, h = 80;
    // The corners outside the rounded frame carry the colour that is not painted; (1, 1) is one.
    const Rgb transparent{255, 0, 255};
    Picture p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double d = insideBy(x, y, w, h, 8.0);
            if (d <= 0)
                p.set(x, y, transparent);
            else if (d <= 2)
                p.set(x, y, {222, 226, 255});
            else if (d <= 3)
                p.set(x, y, {112, 122, 196});
            else {
                const double t = static_cast<double>(y) / (h - 1);
                p.set(x, y, {mix(52, 14, t), mix(70, 20, t), mix(176, 92, t)});
            }
        }
    return p;
}

Picture textColour() {
    constexpr int size = 16;
    Picture p(size, size);
    for (int y = 0; y < size; ++y) {
        const std::uint8_t v = static_cast<std::uint8_t>(255 - 6 * y);
        for (int x = 0; x < size; ++x)
            p.set(x, y, {v, v, static_cast<std::uint8_t>(std::min(255, v + 10))});
    }
    return p;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw_pictures <folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    if (!textBox().save(folder + "/txtbox.bmp") || !textColour().save(folder + "/txtclr.bmp")) {
        std::fprintf(stderr, "draw_pictures: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
