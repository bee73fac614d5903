#include "annotations/MaskFilters.h"

#include <algorithm>
#include <cmath>

namespace markvane {
namespace {

constexpr float kFar = 1e20f;

// Squared distance along one line: the lower envelope of the parabolas rooted
// at every sample (Felzenszwalb and Huttenlocher). `f` holds the input,
// `d` receives the result; `v` and `z` are scratch of n and n + 1 entries.
void distanceTransform1D(const float* f, float* d, int n, int* v, float* z) {
    int k = 0;
    v[0] = 0;
    z[0] = -kFar;
    z[1] = kFar;
    const auto intersection = [f](int q, int p) {
        return ((f[q] + float(q) * float(q)) - (f[p] + float(p) * float(p))) / float(2 * (q - p));
    };
    for (int q = 1; q < n; ++q) {
        // z[0] lies below every intersection, so k never drops under 0.
        float s = intersection(q, v[k]);
        while (s <= z[k]) {
            --k;
            s = intersection(q, v[k]);
        }
        ++k;
        v[k] = q;
        z[k] = s;
        z[k + 1] = kFar;
    }
    k = 0;
    for (int q = 0; q < n; ++q) {
        while (z[k + 1] < float(q))
            ++k;
        const float offset = float(q - v[k]);
        d[q] = offset * offset + f[v[k]];
    }
}

// Box sizes whose three successive passes approximate a Gaussian of sigma.
void boxSizesForGaussian(double sigma, int sizes[3]) {
    const double ideal = std::sqrt(12 * sigma * sigma / 3 + 1);
    int lower = int(std::floor(ideal));
    if (lower % 2 == 0)
        --lower;
    const int upper = lower + 2;
    const double m =
        (12 * sigma * sigma - 3.0 * lower * lower - 12.0 * lower - 9) / (-4.0 * lower - 4);
    const int lowerCount = int(std::lround(m));
    for (int i = 0; i < 3; ++i)
        sizes[i] = i < lowerCount ? lower : upper;
}

// One running-sum box pass over `n` samples spaced `stride` apart.
void boxPass(std::uint8_t* data, int n, int stride, int radius, std::vector<std::uint8_t>& line) {
    line.resize(std::size_t(n));
    for (int i = 0; i < n; ++i)
        line[std::size_t(i)] = data[std::ptrdiff_t(i) * stride];
    const int size = 2 * radius + 1;
    int sum = 0;
    for (int i = 0; i <= std::min(radius, n - 1); ++i)
        sum += line[std::size_t(i)];
    for (int i = 0; i < n; ++i) {
        data[std::ptrdiff_t(i) * stride] = std::uint8_t((sum + size / 2) / size);
        const int entering = i + radius + 1;
        const int leaving = i - radius;
        if (entering < n)
            sum += line[std::size_t(entering)];
        if (leaving >= 0)
            sum -= line[std::size_t(leaving)];
    }
}

} // namespace

CoveragePlane dilateCoverage(const CoveragePlane& source, std::uint8_t threshold, double radius) {
    const int w = source.width;
    const int h = source.height;
    CoveragePlane result(w, h);
    if (w <= 0 || h <= 0)
        return result;
    const auto longest = std::size_t(std::max(w, h));
    std::vector<float> grid(std::size_t(w) * std::size_t(h));
    std::vector<float> in(longest);
    std::vector<float> out(longest);
    std::vector<int> v(longest);
    std::vector<float> z(longest + 1);

    for (std::size_t i = 0; i < grid.size(); ++i)
        grid[i] = source.values[i] >= threshold ? 0.0f : kFar;
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y)
            in[std::size_t(y)] = grid[std::size_t(y) * w + x];
        distanceTransform1D(in.data(), out.data(), h, v.data(), z.data());
        for (int y = 0; y < h; ++y)
            grid[std::size_t(y) * w + x] = out[std::size_t(y)];
    }
    const double full = radius * radius;
    const double none = (radius + 1) * (radius + 1);
    for (int y = 0; y < h; ++y) {
        float* row = grid.data() + std::size_t(y) * w;
        distanceTransform1D(row, out.data(), w, v.data(), z.data());
        std::uint8_t* target = result.values.data() + std::size_t(y) * w;
        for (int x = 0; x < w; ++x) {
            const double squared = out[std::size_t(x)];
            if (squared <= full)
                target[x] = 255;
            else if (squared < none)
                target[x] = std::uint8_t(std::lround((radius + 1 - std::sqrt(squared)) * 255));
        }
    }
    return result;
}

void blurCoverage(CoveragePlane& plane, double sigma) {
    if (!(sigma > 0) || plane.width <= 0 || plane.height <= 0)
        return;
    int sizes[3];
    boxSizesForGaussian(sigma, sizes);
    std::vector<std::uint8_t> line;
    for (const int size : sizes) {
        const int radius = size / 2;
        if (radius <= 0)
            continue;
        for (int y = 0; y < plane.height; ++y)
            boxPass(&plane.at(0, y), plane.width, 1, radius, line);
        for (int x = 0; x < plane.width; ++x)
            boxPass(&plane.at(x, 0), plane.height, plane.width, radius, line);
    }
}

} // namespace markvane
