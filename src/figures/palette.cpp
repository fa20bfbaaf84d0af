#include "figures/palette.h"

#include <algorithm>
#include <unordered_map>

namespace fourview {

namespace {

using Rgb24 = uint32_t;  // 0xRRGGBB

Rgb24 pack(const uint8_t* p) { return uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2]; }
int channel(Rgb24 c, int k) { return static_cast<int>(c >> (16 - 8 * k) & 0xff); }

struct Entry {
    Rgb24 colour;
    uint64_t count;
};

// A box of the colour cube: a run of `entries`, [begin, end).
struct Box {
    std::size_t begin, end;
    int axis;     // the channel with the widest range
    int range;    // that range
    uint64_t weight;
};

Box measure(std::vector<Entry>& entries, std::size_t begin, std::size_t end) {
    int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
    uint64_t weight = 0;
    for (std::size_t i = begin; i < end; ++i) {
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], channel(entries[i].colour, k));
            hi[k] = std::max(hi[k], channel(entries[i].colour, k));
        }
        weight += entries[i].count;
    }
    Box b{begin, end, 0, hi[0] - lo[0], weight};
    for (int k = 1; k < 3; ++k)
        if (hi[k] - lo[k] > b.range) b = Box{begin, end, k, hi[k] - lo[k], weight};
    return b;
}

// Median cut: split the box whose pixels spread widest (range times pixel
// count, so that a large smooth gradient gets more shades than a few
// stray pixels) at the median pixel of its widest channel.
std::vector<Box> cut_boxes(std::vector<Entry>& entries, std::size_t wanted) {
    std::vector<Box> boxes{measure(entries, 0, entries.size())};
    while (boxes.size() < wanted) {
        std::size_t pick = boxes.size();
        double best = 0;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const double score = static_cast<double>(boxes[i].range) * boxes[i].weight;
            if (boxes[i].end - boxes[i].begin > 1 && boxes[i].range > 0 && score > best) {
                best = score;
                pick = i;
            }
        }
        if (pick == boxes.size()) break;
        const Box b = boxes[pick];
        const int axis = b.axis;
        std::sort(entries.begin() + b.begin, entries.begin() + b.end,
                  [axis](const Entry& x, const Entry& y) {
                      return channel(x.colour, axis) < channel(y.colour, axis);
                  });
        uint64_t seen = 0;
        std::size_t split = b.begin + 1;
        for (std::size_t i = b.begin; i < b.end - 1; ++i) {
            seen += entries[i].count;
            split = i + 1;
            if (seen * 2 >= b.weight) break;
        }
        boxes[pick] = measure(entries, b.begin, split);
        boxes.push_back(measure(entries, split, b.end));
    }
    return boxes;
}

std::array<uint8_t, 3> mean_colour(const std::vector<Entry>& entries, const Box& b) {
    uint64_t sum[3] = {0, 0, 0};
    for (std::size_t i = b.begin; i < b.end; ++i)
        for (int k = 0; k < 3; ++k) sum[k] += entries[i].count * channel(entries[i].colour, k);
    std::array<uint8_t, 3> c{};
    for (int k = 0; k < 3; ++k) c[k] = static_cast<uint8_t>((sum[k] + b.weight / 2) / b.weight);
    return c;
}

uint8_t nearest(const Palette& palette, Rgb24 colour) {
    int best = 0;
    long best_distance = -1;
    for (std::size_t i = 0; i < palette.colours.size(); ++i) {
        long d = 0;
        for (int k = 0; k < 3; ++k) {
            const long e = channel(colour, k) - palette.colours[i][k];
            d += e * e;
        }
        if (best_distance < 0 || d < best_distance) {
            best_distance = d;
            best = static_cast<int>(i);
        }
    }
    return static_cast<uint8_t>(best);
}

}  // namespace

void count_colours(const RgbImage& frame, ColourCounts& counts) {
    for (std::size_t i = 0; i < frame.pixel_count(); ++i) ++counts[pack(&frame.rgb[3 * i])];
}

void choose_palette(const ColourCounts& counts, Palette& palette) {
    std::vector<Entry> entries;
    entries.reserve(counts.size());
    for (const auto& [colour, count] : counts) entries.push_back({colour, count});
    // Sorted so that the palette does not depend on the hash table's order.
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.colour < b.colour; });

    palette.colours.clear();
    palette.index_of.clear();
    if (entries.size() <= 256) {
        for (const Entry& e : entries) {
            palette.index_of[e.colour] = static_cast<uint8_t>(palette.colours.size());
            palette.colours.push_back({static_cast<uint8_t>(channel(e.colour, 0)),
                                       static_cast<uint8_t>(channel(e.colour, 1)),
                                       static_cast<uint8_t>(channel(e.colour, 2))});
        }
    } else {
        for (const Box& b : cut_boxes(entries, 256)) palette.colours.push_back(mean_colour(entries, b));
        for (const Entry& e : entries) palette.index_of[e.colour] = nearest(palette, e.colour);
    }
}

void palette_indices(const Palette& palette, const RgbImage& frame, Bytes& indices) {
    indices.resize(frame.pixel_count());
    for (std::size_t i = 0; i < frame.pixel_count(); ++i) {
        const auto it = palette.index_of.find(pack(&frame.rgb[3 * i]));
        indices[i] = it != palette.index_of.end() ? it->second : nearest(palette, pack(&frame.rgb[3 * i]));
    }
}

void choose_palette(const std::vector<RgbImage>& frames, Palette& palette,
                    std::vector<Bytes>& indices) {
    ColourCounts counts;
    for (const RgbImage& f : frames) count_colours(f, counts);
    choose_palette(counts, palette);
    indices.assign(frames.size(), Bytes{});
    for (std::size_t f = 0; f < frames.size(); ++f) palette_indices(palette, frames[f], indices[f]);
}

}  // namespace fourview
