#include "imaging/palette_quantizer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <unordered_set>

namespace palette {
namespace {

constexpr std::uint32_t kRgbMask = 0x00FFFFFF;

int Red(std::uint32_t colour) { return static_cast<int>((colour >> 16) & 0xFF); }
int Green(std::uint32_t colour) { return static_cast<int>((colour >> 8) & 0xFF); }
int Blue(std::uint32_t colour) { return static_cast<int>(colour & 0xFF); }

std::uint32_t Opaque(int red, int green, int blue) {
    return 0xFF000000u | (static_cast<std::uint32_t>(red) << 16) |
           (static_cast<std::uint32_t>(green) << 8) | static_cast<std::uint32_t>(blue);
}

// The picture's distinct colours when there are at most `maxColours` of them.
bool CollectExactColours(const PixelView& view, int maxColours, std::vector<std::uint32_t>& out) {
    std::unordered_set<std::uint32_t> seen;
    seen.reserve(static_cast<std::size_t>(maxColours) * 2);
    for (int y = 0; y < view.height; ++y) {
        const std::uint32_t* row = view.Row(y);
        std::uint32_t previous = 0xFFFFFFFFu;  // never a masked colour
        for (int x = 0; x < view.width; ++x) {
            const std::uint32_t colour = row[x] & kRgbMask;
            if (colour == previous) continue;
            previous = colour;
            if (seen.insert(colour).second && seen.size() > static_cast<std::size_t>(maxColours)) {
                return false;
            }
        }
    }
    out.assign(seen.begin(), seen.end());
    std::sort(out.begin(), out.end());
    for (std::uint32_t& colour : out) colour |= 0xFF000000u;
    return true;
}

// The pixels that fall into one cell of a 5-bit-per-channel histogram, as sums.
struct Cell {
    double count = 0;
    std::array<double, 3> sum{};  // red, green, blue
    double squares = 0;           // sum of r² + g² + b²

    double Mean(int axis) const { return sum[axis] / count; }
};

struct Box {
    std::size_t begin = 0, end = 0;  // cells [begin, end)
    Cell total;
    double error = 0;  // sum of squared distances to the mean

    bool Splittable() const { return end - begin >= 2; }
};

double SquaredError(const Cell& cell) {
    if (cell.count <= 0) return 0;
    const double meanSquares =
        (cell.sum[0] * cell.sum[0] + cell.sum[1] * cell.sum[1] + cell.sum[2] * cell.sum[2]) /
        cell.count;
    return std::max(0.0, cell.squares - meanSquares);
}

void Add(Cell& into, const Cell& cell) {
    into.count += cell.count;
    for (int axis = 0; axis < 3; ++axis) into.sum[axis] += cell.sum[axis];
    into.squares += cell.squares;
}

Box MakeBox(const std::vector<Cell>& cells, std::size_t begin, std::size_t end) {
    Box box;
    box.begin = begin;
    box.end = end;
    for (std::size_t i = begin; i < end; ++i) Add(box.total, cells[i]);
    box.error = SquaredError(box.total);
    return box;
}

std::vector<Cell> BuildHistogram(const PixelView& view) {
    std::vector<Cell> grid(1u << 15);
    for (int y = 0; y < view.height; ++y) {
        const std::uint32_t* row = view.Row(y);
        for (int x = 0; x < view.width; ++x) {
            const int r = Red(row[x]), g = Green(row[x]), b = Blue(row[x]);
            Cell& cell =
                grid[static_cast<std::size_t>(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3))];
            cell.count += 1;
            cell.sum[0] += r;
            cell.sum[1] += g;
            cell.sum[2] += b;
            cell.squares += static_cast<double>(r * r + g * g + b * b);
        }
    }
    std::vector<Cell> occupied;
    for (const Cell& cell : grid) {
        if (cell.count > 0) occupied.push_back(cell);
    }
    return occupied;
}

// Splits a box along its axis of largest spread, where the two halves' summed error is least.
std::pair<Box, Box> Split(std::vector<Cell>& cells, const Box& box) {
    int axis = 0;
    double widest = -1;
    for (int a = 0; a < 3; ++a) {
        double low = std::numeric_limits<double>::max(), high = -1;
        double weighted = 0, weightedSquares = 0;
        for (std::size_t i = box.begin; i < box.end; ++i) {
            const double mean = cells[i].Mean(a);
            low = std::min(low, mean);
            high = std::max(high, mean);
            weighted += cells[i].sum[a];
            weightedSquares += cells[i].count * mean * mean;
        }
        const double variance = weightedSquares - weighted * weighted / box.total.count;
        if (variance > widest) {
            widest = variance;
            axis = a;
        }
    }
    std::sort(cells.begin() + static_cast<std::ptrdiff_t>(box.begin),
              cells.begin() + static_cast<std::ptrdiff_t>(box.end),
              [axis](const Cell& a, const Cell& b) { return a.Mean(axis) < b.Mean(axis); });

    std::size_t bestCut = box.begin + 1;
    double bestError = std::numeric_limits<double>::max();
    Cell left;
    for (std::size_t cut = box.begin + 1; cut < box.end; ++cut) {
        Add(left, cells[cut - 1]);
        Cell right = box.total;
        right.count -= left.count;
        for (int a = 0; a < 3; ++a) right.sum[a] -= left.sum[a];
        right.squares -= left.squares;
        const double error = SquaredError(left) + SquaredError(right);
        if (error < bestError) {
            bestError = error;
            bestCut = cut;
        }
    }
    return {MakeBox(cells, box.begin, bestCut), MakeBox(cells, bestCut, box.end)};
}

// The error a pixel takes from its neighbours, in whole steps. It is bounded: where the palette
// has no colour near a pixel's own, unbounded error would pile up and throw whole runs of pixels
// onto far colours.
int CarriedError(int sixteenths) {
    constexpr int kMostCarried = 8;
    return std::clamp(sixteenths / 16, -kMostCarried, kMostCarried);
}

int RoundedMean(double sum, double count) {
    return std::clamp(static_cast<int>(std::lround(sum / count)), 0, 255);
}

int SquaredDistance(std::uint32_t colour, int red, int green, int blue) {
    const int dr = Red(colour) - red, dg = Green(colour) - green, db = Blue(colour) - blue;
    return dr * dr + dg * dg + db * db;
}

std::size_t NearestIndex(const std::vector<std::uint32_t>& colours, int red, int green, int blue) {
    std::size_t best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const int distance = SquaredDistance(colours[i], red, green, blue);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

// Moves each palette colour to the mean of the cells nearest to it.
void Refine(const std::vector<Cell>& cells, std::vector<std::uint32_t>& colours, int rounds) {
    for (int round = 0; round < rounds; ++round) {
        std::vector<Cell> clusters(colours.size());
        for (const Cell& cell : cells) {
            const std::size_t nearest = NearestIndex(colours, RoundedMean(cell.sum[0], cell.count),
                                                     RoundedMean(cell.sum[1], cell.count),
                                                     RoundedMean(cell.sum[2], cell.count));
            Add(clusters[nearest], cell);
        }
        for (std::size_t i = 0; i < colours.size(); ++i) {
            const Cell& cluster = clusters[i];
            if (cluster.count <= 0) continue;
            colours[i] = Opaque(RoundedMean(cluster.sum[0], cluster.count),
                                RoundedMean(cluster.sum[1], cluster.count),
                                RoundedMean(cluster.sum[2], cluster.count));
        }
    }
}

}  // namespace

Palette BuildPalette(const PixelView& view, int maxColours) {
    maxColours = std::clamp(maxColours, 1, 256);
    Palette palette;
    if (view.pixels == nullptr || view.width <= 0 || view.height <= 0) {
        palette.colours = {Opaque(0, 0, 0)};
        palette.exact = true;
        return palette;
    }
    if (CollectExactColours(view, maxColours, palette.colours)) {
        palette.exact = true;
        return palette;
    }

    std::vector<Cell> cells = BuildHistogram(view);
    std::vector<Box> boxes = {MakeBox(cells, 0, cells.size())};
    while (boxes.size() < static_cast<std::size_t>(maxColours)) {
        auto worst = boxes.end();
        for (auto it = boxes.begin(); it != boxes.end(); ++it) {
            if (it->Splittable() && (worst == boxes.end() || it->error > worst->error)) worst = it;
        }
        if (worst == boxes.end()) break;
        auto halves = Split(cells, *worst);
        *worst = halves.first;
        boxes.push_back(halves.second);
    }
    for (const Box& box : boxes) {
        palette.colours.push_back(Opaque(RoundedMean(box.total.sum[0], box.total.count),
                                         RoundedMean(box.total.sum[1], box.total.count),
                                         RoundedMean(box.total.sum[2], box.total.count)));
    }
    Refine(cells, palette.colours, 6);
    return palette;
}

Ditherer::Ditherer(const Palette& palette, int width)
    : palette_(palette.colours),
      exact_(palette.exact),
      width_(std::max(width, 0)),
      currentError_((static_cast<std::size_t>(width_) + 2) * 3, 0),
      nextError_((static_cast<std::size_t>(width_) + 2) * 3, 0) {
    if (palette_.empty()) palette_.push_back(Opaque(0, 0, 0));
    if (exact_) {
        for (std::size_t i = 0; i < palette_.size(); ++i) {
            exactIndex_.emplace(palette_[i] & kRgbMask, static_cast<std::uint8_t>(i));
        }
    } else {
        nearestCache_.assign(1u << 18, -1);
    }
}

void Ditherer::MapRow(const std::uint32_t* pixels, std::uint8_t* indices) {
    if (exact_) {
        MapRowExactly(pixels, indices);
        return;
    }
    // Errors are kept in sixteenths: Floyd–Steinberg passes on 7, 3, 5 and 1 of 16 parts.
    std::swap(currentError_, nextError_);
    std::fill(nextError_.begin(), nextError_.end(), 0);
    const int step = leftToRight_ ? 1 : -1;
    for (int i = 0; i < width_; ++i) {
        const int x = leftToRight_ ? i : width_ - 1 - i;
        const std::size_t here = static_cast<std::size_t>(x + 1) * 3;
        const std::size_t ahead = static_cast<std::size_t>(x + 1 + step) * 3;
        const std::size_t behind = static_cast<std::size_t>(x + 1 - step) * 3;
        const int wanted[3] = {
            std::clamp(Red(pixels[x]) + CarriedError(currentError_[here]), 0, 255),
            std::clamp(Green(pixels[x]) + CarriedError(currentError_[here + 1]), 0, 255),
            std::clamp(Blue(pixels[x]) + CarriedError(currentError_[here + 2]), 0, 255),
        };
        const int index = Nearest(wanted[0], wanted[1], wanted[2]);
        indices[x] = static_cast<std::uint8_t>(index);
        const std::uint32_t chosen = palette_[static_cast<std::size_t>(index)];
        const int got[3] = {Red(chosen), Green(chosen), Blue(chosen)};
        for (int c = 0; c < 3; ++c) {
            const int error = wanted[c] - got[c];
            currentError_[ahead + c] += error * 7;
            nextError_[behind + c] += error * 3;
            nextError_[here + c] += error * 5;
            nextError_[ahead + c] += error;
        }
    }
    leftToRight_ = !leftToRight_;
}

void Ditherer::MapRowExactly(const std::uint32_t* pixels, std::uint8_t* indices) {
    std::uint32_t previous = 0xFFFFFFFFu;
    std::uint8_t previousIndex = 0;
    for (int x = 0; x < width_; ++x) {
        const std::uint32_t colour = pixels[x] & kRgbMask;
        if (colour != previous) {
            auto found = exactIndex_.find(colour);
            previousIndex = found != exactIndex_.end()
                                ? found->second
                                : static_cast<std::uint8_t>(
                                      NearestSearch(Red(colour), Green(colour), Blue(colour)));
            previous = colour;
        }
        indices[x] = previousIndex;
    }
}

int Ditherer::Nearest(int red, int green, int blue) {
    const std::size_t key =
        static_cast<std::size_t>(((red >> 2) << 12) | ((green >> 2) << 6) | (blue >> 2));
    std::int16_t& cached = nearestCache_[key];
    if (cached < 0) {
        // The centre of the cell stands for every colour in it.
        cached = static_cast<std::int16_t>(
            NearestSearch((red & ~3) + 2, (green & ~3) + 2, (blue & ~3) + 2));
    }
    return cached;
}

int Ditherer::NearestSearch(int red, int green, int blue) const {
    return static_cast<int>(NearestIndex(palette_, red, green, blue));
}

}  // namespace palette
