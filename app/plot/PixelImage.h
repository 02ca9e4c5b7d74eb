// A picture of 32-bit pixels, 0x00RRGGBB, row by row from the top, and the
// few ways the plot paints into it. Everything is clipped to the picture.
#pragma once

#include <cstdint>
#include <vector>

class PlotScene;

struct PixelImage {
    std::uint32_t* pixels;
    int width;
    int height;
    int stride;  // pixels from one row to the next

    std::uint32_t at(int x, int y) const { return pixels[static_cast<long>(y) * stride + x]; }
};

void fillImage(PixelImage& image, std::uint32_t colour);
// The square of the pixels from (x - radius, y - radius) to (x + radius,
// y + radius).
void fillSquare(PixelImage& image, int x, int y, int radius, std::uint32_t colour);
// The outline of that square, thickness pixels wide inward.
void frameSquare(PixelImage& image, int x, int y, int radius, int thickness, std::uint32_t colour);

// Every visible mark of the scene, a square of the scene's mark radius round
// its point's pixel, in colour; the picture is the scene's size. Marks are
// painted one by one when the scene lists them and that is the cheaper way,
// otherwise from the grid of occupied pixels (work is needed as a scratch
// buffer); both paint the same pixels.
void paintMarks(PixelImage& image, const PlotScene& scene, std::uint32_t colour, std::vector<std::uint8_t>& work);

// The same, the way it is asked for: one by one (the scene must list its
// marks) or from the grid.
void paintMarksOneByOne(PixelImage& image, const PlotScene& scene, std::uint32_t colour);
void paintMarksFromGrid(PixelImage& image, const PlotScene& scene, std::uint32_t colour,
                        std::vector<std::uint8_t>& work);
