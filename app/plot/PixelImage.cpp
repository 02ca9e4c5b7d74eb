#include "app/plot/PixelImage.h"

#include <algorithm>

#include "app/plot/PlotScene.h"

namespace {

void fillRect(PixelImage& image, int left, int top, int right, int bottom, std::uint32_t colour) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, image.width);
    bottom = std::min(bottom, image.height);
    for (int y = top; y < bottom; ++y) {
        std::uint32_t* row = image.pixels + static_cast<long>(y) * image.stride;
        std::fill(row + left, row + std::max(left, right), colour);
    }
}

}  // namespace

void fillImage(PixelImage& image, std::uint32_t colour) { fillRect(image, 0, 0, image.width, image.height, colour); }

void fillSquare(PixelImage& image, int x, int y, int radius, std::uint32_t colour) {
    fillRect(image, x - radius, y - radius, x + radius + 1, y + radius + 1, colour);
}

void frameSquare(PixelImage& image, int x, int y, int radius, int thickness, std::uint32_t colour) {
    int left = x - radius, top = y - radius, right = x + radius + 1, bottom = y + radius + 1;
    thickness = std::min(std::max(thickness, 0), radius + 1);
    fillRect(image, left, top, right, top + thickness, colour);
    fillRect(image, left, bottom - thickness, right, bottom, colour);
    fillRect(image, left, top + thickness, left + thickness, bottom - thickness, colour);
    fillRect(image, right - thickness, top + thickness, right, bottom - thickness, colour);
}

void paintMarksOneByOne(PixelImage& image, const PlotScene& scene, std::uint32_t colour) {
    for (const PlotMark& mark : scene.marks()) fillSquare(image, mark.x, mark.y, scene.markRadius(), colour);
}

// A pixel is painted when an occupied pixel lies within the mark radius of
// it along both axes: the grid is widened along each row first (into
// work), then down each column, each with a running count of the occupied
// pixels in reach.
void paintMarksFromGrid(PixelImage& image, const PlotScene& scene, std::uint32_t colour,
                        std::vector<std::uint8_t>& work) {
    const int radius = scene.markRadius();
    const int reach = 2 * radius + 1;
    const int width = std::min(scene.width(), image.width), height = std::min(scene.height(), image.height);
    if (width <= 0 || height <= 0 || scene.occupiedCount() == 0) return;
    const int gridHeight = scene.gridHeight();
    // work row g, pixel x: an occupied pixel in grid row g within radius of x.
    work.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(gridHeight), 0);
    for (int g = 0; g < gridHeight; ++g) {
        const std::uint8_t* grid = scene.gridRow(g);
        std::uint8_t* wide = work.data() + static_cast<std::size_t>(g) * static_cast<std::size_t>(width);
        // Grid column x + radius is pixel x; pixel x reaches grid columns x .. x + 2 radius.
        int count = 0;
        for (int k = 0; k < reach - 1; ++k) count += grid[k];
        for (int x = 0; x < width; ++x) {
            count += grid[x + reach - 1];
            wide[x] = count > 0;
            count -= grid[x];
        }
    }
    std::vector<int> counts(static_cast<std::size_t>(width), 0);
    for (int g = 0; g < reach - 1; ++g) {
        const std::uint8_t* wide = work.data() + static_cast<std::size_t>(g) * static_cast<std::size_t>(width);
        for (int x = 0; x < width; ++x) counts[x] += wide[x];
    }
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* entering =
            work.data() + static_cast<std::size_t>(y + reach - 1) * static_cast<std::size_t>(width);
        const std::uint8_t* leaving = work.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        std::uint32_t* row = image.pixels + static_cast<long>(y) * image.stride;
        for (int x = 0; x < width; ++x) {
            int count = counts[x] + entering[x];
            if (count > 0) row[x] = colour;
            counts[x] = count - leaving[x];
        }
    }
}

void paintMarks(PixelImage& image, const PlotScene& scene, std::uint32_t colour, std::vector<std::uint8_t>& work) {
    const long side = 2L * scene.markRadius() + 1;
    const long oneByOne = static_cast<long>(scene.marks().size()) * side * side;
    const long fromGrid = 3L * scene.gridWidth() * scene.gridHeight();
    if (scene.listsEveryMark() && oneByOne <= fromGrid)
        paintMarksOneByOne(image, scene, colour);
    else
        paintMarksFromGrid(image, scene, colour, work);
}
