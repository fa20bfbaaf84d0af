// The figure writers without GL: PNG and GIF round trips through their
// libraries' decoders, the shared palette, and whole-or-nothing outputs.
#include <gtest/gtest.h>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "figures/gif_encode.h"
#include "figures/memory_limit.h"
#include "figures/palette.h"
#include "figures/output_file.h"
#include "figures/png_encode.h"
#include "figures/video_encode.h"
#include "../support/scratch_files.h"

namespace fourview {
namespace {

// A gradient with `levels` greys per row and a red and a blue corner mark:
// every pixel tells where it belongs.
RgbImage test_image(int width, int height, int shift) {
    RgbImage im;
    im.width = width;
    im.height = height;
    im.rgb.resize(im.pixel_count() * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &im.rgb[3 * (static_cast<std::size_t>(y) * width + x)];
            const uint8_t grey = static_cast<uint8_t>((x + shift) * 255 / (width + shift));
            p[0] = p[1] = p[2] = grey;
        }
    im.rgb[0] = 255, im.rgb[1] = 0, im.rgb[2] = 0;  // top-left red
    uint8_t* last = &im.rgb[im.rgb.size() - 3];
    last[0] = 0, last[1] = 0, last[2] = 255;  // bottom-right blue
    return im;
}

int largest_difference(const RgbImage& a, const RgbImage& b) {
    int most = 0;
    for (std::size_t i = 0; i < a.rgb.size(); ++i) most = std::max(most, std::abs(a.rgb[i] - b.rgb[i]));
    return most;
}

TEST(PngEncode, RoundTripKeepsEveryPixelAndTheRowOrder) {
    const RgbImage im = test_image(37, 11, 0);
    Bytes png;
    ASSERT_TRUE(encode_png(im, png));
    RgbImage back;
    ASSERT_TRUE(decode_png(png, back));
    EXPECT_EQ(back.width, 37);
    EXPECT_EQ(back.height, 11);
    EXPECT_EQ(back.rgb, im.rgb);
    EXPECT_FALSE(encode_png(RgbImage{}, png));
}

// Frames of few colours keep them exactly; frames of many share 256 chosen
// colours, each pixel taking one close to its own.
// A picture of coloured blocks: what 4:2:0 keeps well, so the decoded
// frame can be held to a few levels of the original.
RgbImage block_image(int width, int height, int shift) {
    RgbImage im;
    im.width = width;
    im.height = height;
    im.rgb.resize(im.pixel_count() * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &im.rgb[3 * (static_cast<std::size_t>(y) * width + x)];
            const int block = ((x + shift) / 16 + y / 16) % 4;
            const uint8_t colours[4][3] = {{255, 255, 255}, {40, 40, 220}, {200, 60, 60}, {90, 90, 90}};
            for (int c = 0; c < 3; ++c) p[c] = colours[block][c];
        }
    return im;
}

TEST(VideoEncode, FramesSizeRateAndFirstFrameDecodedBack) {
    struct Row {
        const char* file;
        VideoFormat format;
        const char* codec;
    };
    const Row rows[] = {{"a.mp4", VideoFormat::kMp4, "h264"}, {"a.WebM", VideoFormat::kWebm, "vp9"}};
    constexpr int kWidth = 96, kHeight = 64, kFrames = 12;
    for (const Row& r : rows) {
        ASSERT_EQ(video_format_for(r.file), r.format) << r.file;
        std::string error;
        VideoEncoderPtr video = open_video(r.format, kWidth, kHeight, error);
        ASSERT_NE(video, nullptr) << error;
        for (int i = 0; i < kFrames; ++i)
            ASSERT_TRUE(add_video_frame(*video, block_image(kWidth, kHeight, 2 * i), error)) << error;
        EXPECT_FALSE(add_video_frame(*video, block_image(kWidth + 2, kHeight, 0), error)) << "another size";
        Bytes file;
        ASSERT_TRUE(finish_video(*video, file, error)) << error;
        std::vector<RgbImage> frames;
        double rate = 0;
        std::string codec;
        ASSERT_TRUE(decode_video(file, frames, rate, codec)) << r.file;
        EXPECT_EQ(codec, r.codec);
        EXPECT_EQ(rate, 25.0);
        ASSERT_EQ(frames.size(), static_cast<std::size_t>(kFrames)) << r.file;
        EXPECT_EQ(frames[0].width, kWidth);
        EXPECT_EQ(frames[0].height, kHeight);
        const RgbImage first = block_image(kWidth, kHeight, 0);
        double error_sum = 0;
        for (std::size_t i = 0; i < first.rgb.size(); ++i) error_sum += std::abs(first.rgb[i] - frames[0].rgb[i]);
        EXPECT_LT(error_sum / first.rgb.size(), 6.0) << r.file << ": mean difference per channel";
    }
    EXPECT_EQ(video_format_for("a.gif"), VideoFormat::kNone);
    EXPECT_EQ(video_format_for("mp4"), VideoFormat::kNone);
    EXPECT_EQ(video_format_for("a.mp4/b"), VideoFormat::kNone);
}

TEST(GifEncode, FramesPaletteAndLoop) {
    struct Case {
        int width, frames;
        bool exact;
        int tolerance;
    };
    // 400 columns: 256 greys, a red and a blue, one too many for the palette.
    const Case cases[] = {{60, 1, true, 0}, {60, 3, true, 0}, {400, 5, false, 4}};
    for (const Case& c : cases) {
        std::vector<RgbImage> frames;
        for (int f = 0; f < c.frames; ++f) frames.push_back(test_image(c.width, 7, f * 13));
        Bytes gif;
        ASSERT_TRUE(encode_gif(frames, 5, gif));
        std::vector<RgbImage> back;
        int loop = 0;
        ASSERT_TRUE(decode_gif(gif, back, loop));
        EXPECT_EQ(loop, 0) << "loops for ever";
        ASSERT_EQ(back.size(), frames.size());
        for (int f = 0; f < c.frames; ++f) {
            if (c.exact) {
                EXPECT_EQ(back[f].rgb, frames[f].rgb) << c.width << " frame " << f;
            }
            EXPECT_LE(largest_difference(back[f], frames[f]), c.tolerance) << c.width << " frame " << f;
        }
    }
    Bytes gif;
    EXPECT_FALSE(encode_gif({test_image(5, 5, 0), test_image(6, 5, 0)}, 5, gif));
}

// The palette for more than 256 colours: a median cut splits each box at
// the pixel in the middle of its weight, so that the shades go where the
// pixels are. Rows: colours and their counts; at most this far (in levels
// of one channel) from any pixel to its palette colour.
TEST(Palette, MedianCutSpendsTheShadesWhereThePixelsAre) {
    const struct {
        const char* name;
        std::vector<std::pair<uint32_t, uint64_t>> counts;
        int worst;
    } rows[] = {
        // 512 reds, each as common: two neighbours per palette colour.
        {"even ramp", [] {
             std::vector<std::pair<uint32_t, uint64_t>> c;
             for (uint32_t r = 0; r < 256; ++r) c.push_back({r << 16, 1}), c.push_back({r << 16 | 0x80, 1});
             return c;
         }(), 1},
        // Most pixels dark, and still every shade near one of the palette.
        {"dark ramp", [] {
             std::vector<std::pair<uint32_t, uint64_t>> c;
             for (uint32_t r = 0; r < 256; ++r)
                 for (uint32_t g : {0u, 64u}) c.push_back({r << 16 | g << 8, r < 64 ? 1000u : 1u});
             return c;
         }(), 1},
    };
    for (const auto& row : rows) {
        ColourCounts counts(row.counts.begin(), row.counts.end());
        Palette palette;
        choose_palette(counts, palette);
        ASSERT_EQ(palette.colours.size(), 256u) << row.name;
        int worst = 0;
        for (const auto& [colour, count] : row.counts) {
            (void)count;
            const auto& p = palette.colours.at(palette.index_of.at(colour));
            const int c[3] = {static_cast<int>(colour >> 16), static_cast<int>(colour >> 8 & 0xff),
                              static_cast<int>(colour & 0xff)};
            for (int k = 0; k < 3; ++k) worst = std::max(worst, std::abs(c[k] - p[k]));
        }
        EXPECT_LE(worst, row.worst) << row.name;
    }
}

class Output : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testing::make_scratch_directory("fourview-figure");
        ASSERT_FALSE(dir.empty());
    }
    void TearDown() override { ASSERT_TRUE(testing::remove_scratch_directory(dir)); }
    std::vector<std::string> listing() const {
        std::vector<std::string> names;
        DIR* d = opendir(dir.c_str());
        while (dirent* e = readdir(d))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
        closedir(d);
        return names;
    }
    static std::string contents(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    bool write(const std::string& path, const std::string& text, std::string& error) {
        OutputFile out;
        if (!open_output(path, out, error)) return false;
        return commit_output(out, Bytes(text.begin(), text.end()), error);
    }
    std::string dir;
};

TEST_F(Output, NewAndReplacedFilesAreWholeWithTheirModes) {
    std::string error;
    ASSERT_TRUE(write(dir + "/a.png", "first", error)) << error;
    EXPECT_EQ(contents(dir + "/a.png"), "first");
    ASSERT_EQ(chmod((dir + "/a.png").c_str(), 0640), 0);
    ASSERT_EQ(symlink("a.png", (dir + "/link.png").c_str()), 0);
    ASSERT_TRUE(write(dir + "/link.png", "second", error)) << error;
    struct stat st{}, lst{};
    ASSERT_EQ(stat((dir + "/a.png").c_str(), &st), 0);
    ASSERT_EQ(lstat((dir + "/link.png").c_str(), &lst), 0);
    EXPECT_EQ(contents(dir + "/a.png"), "second") << "written through the link";
    EXPECT_TRUE(S_ISLNK(lst.st_mode)) << "the link is kept";
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(listing().size(), 2u) << "no temporary file left";
}

TEST_F(Output, FailuresNameThePathAndLeaveNothing) {
    struct Case {
        std::string path, reason;
    };
    const Case cases[] = {
        {dir + "/missing/a.png", "No such file or directory"},
        {"/dev/full", "No space left on device"},
        {dir, "Is a directory"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(write(c.path, "data", error)) << c.path;
        EXPECT_EQ(error, c.path + ": " + c.reason);
        EXPECT_TRUE(listing().empty()) << c.path;
    }
    OutputFile out;
    std::string error;
    ASSERT_TRUE(open_output(dir + "/b.gif", out, error));
    abandon_output(out);
    EXPECT_TRUE(listing().empty()) << "an abandoned figure leaves nothing";
}

// The outputs of a run go in place together: one that fails (a full
// device) leaves every other target as it was, and no temporary file.
TEST_F(Output, AllOutputsOrNone) {
    for (bool by_copy : {false, true}) {
    SCOPED_TRACE(by_copy ? "copied into place" : "linked into place");
    outputs_by_copy = by_copy;
    std::string error;
    ASSERT_TRUE(write(dir + "/old", "old", error)) << error;
    const struct {
        std::vector<std::string> paths;
        bool ok;
    } rows[] = {
        {{dir + "/old", dir + "/new", "/dev/full"}, false},
        {{"/dev/full", dir + "/new"}, false},
        {{dir + "/old", dir + "/new"}, true},
    };
    for (const auto& row : rows) {
        std::vector<OutputFile> outs(row.paths.size());
        std::vector<OutputFile*> list;
        for (std::size_t i = 0; i < outs.size(); ++i) {
            ASSERT_TRUE(open_output(row.paths[i], outs[i], error)) << error;
            ASSERT_TRUE(append_output(outs[i], reinterpret_cast<const uint8_t*>("fresh"), 5, error));
            list.push_back(&outs[i]);
        }
        EXPECT_EQ(commit_outputs(list, error), row.ok) << error;
        for (OutputFile& out : outs) abandon_output(out);
        EXPECT_EQ(contents(dir + "/old"), row.ok ? "fresh" : "old");
        EXPECT_EQ(access((dir + "/new").c_str(), F_OK) == 0, row.ok);
        EXPECT_EQ(listing().size(), row.ok ? 2u : 1u) << "no temporary file";
    }
    ASSERT_EQ(unlink((dir + "/new").c_str()), 0);
    ASSERT_EQ(chmod((dir + "/old").c_str(), 0604), 0);
    ASSERT_TRUE(write(dir + "/old", "again", error)) << error;
    struct stat st{};
    ASSERT_EQ(stat((dir + "/old").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0604u) << "the mode kept";
    EXPECT_EQ(contents(dir + "/old"), "again");
    }
    outputs_by_copy = false;
}

TEST(OutputPaths, DescriptorsNamedByPath) {
    const std::string own = "/proc/" + std::to_string(getpid()) + "/fd/3";
    const std::pair<std::string, int> rows[] = {
        {"-", 1},          {"/dev/stdout", 1}, {"/dev/stderr", 2},   {"/dev/fd/7", 7},
        {"/proc/self/fd/12", 12}, {own, 3},    {"/dev/fd/", -1},     {"/dev/fd/x", -1},
        {"/dev/fd/1/a", -1}, {"a.png", -1},    {"./-", -1},          {"/dev/fd/99999999999", -1},
    };
    for (const auto& [path, fd] : rows) EXPECT_EQ(descriptor_named(path), fd) << path;
}

TEST_F(Output, TwoNamesOfOneFileAreTheSame) {
    std::string error;
    ASSERT_TRUE(write(dir + "/a", "x", error));
    ASSERT_EQ(link((dir + "/a").c_str(), (dir + "/b").c_str()), 0);
    const struct {
        std::string first, second;
        bool same;
    } rows[] = {
        {dir + "/a", dir + "/b", true},          // hard links
        {dir + "/a", dir + "/./a", true},
        {dir + "/new", dir + "/../" + dir.substr(dir.rfind('/') + 1) + "/new", true},  // not there yet
        {dir + "/new", dir + "/other", false},
        {dir + "/a", dir + "/new", false},
    };
    for (const auto& row : rows) {
        OutputFile one, two;
        ASSERT_TRUE(open_output(row.first, one, error)) << error;
        ASSERT_TRUE(open_output(row.second, two, error)) << error;
        EXPECT_EQ(same_file(one, two), row.same) << row.first << " " << row.second;
        abandon_output(one);
        abandon_output(two);
    }
    EXPECT_EQ(listing().size(), 2u) << "opening makes nothing";
}

// The cgroup limit: v2's memory.max and v1's memory.limit_in_bytes, the
// least on the way up; "max" and v1's huge number are no limit.
TEST_F(Output, CgroupMemoryLimits) {
    auto put = [&](const std::string& path, const std::string& text) {
        std::string folder = dir + path.substr(0, path.rfind('/'));
        ASSERT_EQ(std::system(("mkdir -p '" + folder + "'").c_str()), 0);
        std::ofstream(dir + path) << text << "\n";
    };
    put("/a/b/memory.max", "max");
    put("/a/memory.max", "1073741824");
    put("/memory/p/q/memory.limit_in_bytes", "9223372036854771712");
    put("/memory/p/memory.limit_in_bytes", "536870912");
    const std::pair<const char*, double> rows[] = {
        {"0::/a/b\n", 1073741824.0},
        {"0::/\n", 0},
        {"4:memory:/p/q\n0::/\n", 536870912.0},
        {"3:cpu,memory:/p\n", 536870912.0},
        {"2:cpu:/p\n", 0},
        {"0::/none\n", 0},
    };
    for (const auto& [text, limit] : rows) EXPECT_EQ(cgroup_memory_limit(text, dir), limit) << text;
    EXPECT_GT(process_memory_limit(), 0);
}

}  // namespace
}  // namespace fourview
