#pragma once

#include <cstdint>
#include <vector>

namespace markvane {

// An 8-bit coverage plane, row by row.
struct CoveragePlane {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> values;

    CoveragePlane() = default;
    CoveragePlane(int w, int h) : width(w), height(h), values(std::size_t(w) * h, 0) {}
    std::uint8_t& at(int x, int y) { return values[std::size_t(y) * width + x]; }
    std::uint8_t at(int x, int y) const { return values[std::size_t(y) * width + x]; }
};

// Grows every pixel whose coverage is at least `threshold` by a disc of
// `radius` pixels: full coverage wherever the distance to such a pixel is at
// most the radius, fading to none over the next pixel so the rim is smooth.
// Runs in time linear in the pixel count whatever the radius.
CoveragePlane dilateCoverage(const CoveragePlane& source, std::uint8_t threshold, double radius);

// Blurs the plane in place with a close approximation of a Gaussian of the
// given standard deviation in pixels (three box passes each way). Outside the
// plane counts as empty.
void blurCoverage(CoveragePlane& plane, double sigma);

} // namespace markvane
