// The scale bar of the plot: a round length, 1, 2 or 5 times a power of ten
// units of the instrument, the longest such that fits the room it is given.
#pragma once

#include <string>

struct ScaleBar {
    int digit = 1;     // 1, 2 or 5
    int exponent = 0;  // the power of ten
    double length = 1; // digit * 10^exponent units
    double pixels = 0; // the length on the window
};

// The longest round length whose bar at scale (pixels per unit, finite and
// above 0) is at most maxPixels long. Lengths of 10^-300 and less, or of
// 5 * 10^300 and more, are never chosen: the bar is then that bound,
// whatever its length in pixels.
ScaleBar chooseScaleBar(double scale, double maxPixels);

// The bar's length as the plot writes it: plain digits from 0.0001 to
// 5000000 ("0.05", "2", "500"), otherwise digit and power ("2e-7", "5e12").
std::string scaleBarText(const ScaleBar& bar);
