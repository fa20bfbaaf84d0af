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

}  // namespace
}  // namespace fourview
