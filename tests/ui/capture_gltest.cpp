// Frames saved from the graph window's back buffer: directory, numbering,
// header and raster, the on-screen message, the limit and failures.
#include <GL/freeglut.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "gl_fixture.h"
#include "ui/capture.h"
#include "../support/scratch_files.h"

namespace fourview {
namespace {

// Every test of this executable runs in a scratch directory of its own, so
// that a capture can never land in the source or build tree.
class ScratchDirectory : public ::testing::Environment {
public:
    void SetUp() override {
        root = testing::make_scratch_directory("fourview-gltest");
        ASSERT_FALSE(root.empty());
        ASSERT_EQ(chdir(root.c_str()), 0);
    }
    void TearDown() override {
        if (chdir("/") != 0) return;
        if (!testing::remove_scratch_directory(root)) ADD_FAILURE() << "could not remove " << root;
    }
    std::string root;
};
ScratchDirectory* const scratch = static_cast<ScratchDirectory*>(
    ::testing::AddGlobalTestEnvironment(new ScratchDirectory));

std::vector<unsigned char> read_all(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool exists(const std::string& p) {
    struct stat st {};
    return stat(p.c_str(), &st) == 0;
}

class CaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::start_program();
        // A fresh directory for each test, with the "PPM_P6" step not yet taken.
        char tmpl[] = "/tmp/fourview-capture.XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        ASSERT_EQ(chdir(dir.c_str()), 0);
        capture_counter = 0;
        capture_directory_done = false;
        capture_limit_reported = false;
    }
    void TearDown() override {
        app.save_screen = 0;
        ASSERT_EQ(chdir(scratch->root.c_str()), 0);
        const std::string cmd = "rm -rf '" + dir + "'";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
    }
    // One graph frame with Save Screen on; the picture as it went on screen.
    testing::Pixels saved_frame(int frame_changed = 1) {
        app.save_screen = 1;
        app.frame_changed = frame_changed;
        return testing::render_graph_frame();
    }
    std::string in_ppm(const char* name) const { return dir + "/PPM_P6/" + name; }
    std::string dir;
};

constexpr size_t kHeader640 = sizeof("P6\n640 480\n255\n") - 1;

testing::Rgb file_pixel(const std::vector<unsigned char>& bytes, size_t header, int width, int x,
                        int y) {
    const size_t i = header + (static_cast<size_t>(y) * width + x) * 3;
    return testing::Rgb{bytes[i], bytes[i + 1], bytes[i + 2]};
}

TEST_F(CaptureTest, FirstCaptureMakesAndEntersItsDirectory) {
    ::testing::internal::CaptureStdout();
    saved_frame();
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "0\n0\n") << "the results of mkdir and chdir";
    EXPECT_TRUE(exists(in_ppm("P6_0000.PPM")));
    char cwd[512];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(std::string(cwd), dir + "/PPM_P6");
    EXPECT_EQ(capture_counter, 1);
}

TEST_F(CaptureTest, AnExistingDirectoryIsEnteredAnyway) {
    ASSERT_EQ(mkdir("PPM_P6", 0755), 0);
    ::testing::internal::CaptureStdout();
    saved_frame();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "-1\n0\n");
    EXPECT_TRUE(exists(in_ppm("P6_0000.PPM")));
}

TEST_F(CaptureTest, TheFileIsTheFrameRowsFromTheTopWithoutTheMessage) {
    const testing::Pixels screen = saved_frame();
    const std::vector<unsigned char> bytes = read_all(in_ppm("P6_0000.PPM"));
    ASSERT_EQ(bytes.size(), kHeader640 + 921600);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + kHeader640), "P6\n640 480\n255\n");
    EXPECT_EQ(file_pixel(bytes, kHeader640, 640, 0, 0), screen.at(0, 0))
        << "the first pixel is the window's top-left one";
    ASSERT_FALSE(screen.at(0, 0) == screen.at(0, 479)) << "the gradient tells top from bottom";
    for (int x = 0; x < 640; ++x)
        ASSERT_EQ(file_pixel(bytes, kHeader640, 640, x, 10), screen.at(x, 10)) << x;

    // The message went on screen after the read: the bottom-left corner of
    // the screen differs from the file there, and the file is the plain frame.
    int differing = 0;
    for (int y = 440; y < 480; ++y)
        for (int x = 0; x < 250; ++x)
            if (!(file_pixel(bytes, kHeader640, 640, x, y) == screen.at(x, y))) ++differing;
    EXPECT_GT(differing, 100) << "\"Save as\" is on screen";
    app.save_screen = 0;
    app.frame_changed = 1;
    const testing::Pixels plain = testing::render_graph_frame();
    int mismatches = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (!(file_pixel(bytes, kHeader640, 640, x, y) == plain.at(x, y))) ++mismatches;
    EXPECT_EQ(mismatches, 0) << "\"Save as\" is not in the file";
}

TEST_F(CaptureTest, OnlyChangedFramesAreSavedAndNumberedOnwards) {
    saved_frame();
    saved_frame(0);  // an expose: nothing changed
    EXPECT_EQ(capture_counter, 1);
    EXPECT_FALSE(exists(in_ppm("P6_0001.PPM")));
    app.rotation_request = 7;  // a rotation step changes the frame
    saved_frame(0);
    EXPECT_TRUE(exists(in_ppm("P6_0001.PPM")));
    EXPECT_EQ(capture_counter, 2);
    app.save_screen = 0;
    app.rotation_request = 7;
    testing::render_graph_frame();
    EXPECT_EQ(capture_counter, 2) << "Save Screen off";
    saved_frame();
    EXPECT_TRUE(exists(in_ppm("P6_0002.PPM"))) << "numbering goes on";
}

TEST_F(CaptureTest, NumbersAcrossTheDigitBoundaries) {
    ::testing::internal::CaptureStdout();
    saved_frame();
    ::testing::internal::GetCapturedStdout();
    for (int n : {9, 10, 999, 1000, 9999}) {
        capture_counter = n;
        saved_frame();
        EXPECT_EQ(capture_counter, n + 1);
    }
    for (const char* name : {"P6_0009.PPM", "P6_0010.PPM", "P6_0999.PPM", "P6_1000.PPM",
                             "P6_9999.PPM"})
        EXPECT_TRUE(exists(in_ppm(name))) << name;
}

TEST_F(CaptureTest, NoFileAfterTheLimit) {
    ::testing::internal::CaptureStdout();
    capture_counter = 10000;
    const testing::Pixels screen = saved_frame();
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(capture_counter, 10000);
    EXPECT_FALSE(exists(in_ppm("P6_10000.PPM")));
    EXPECT_FALSE(exists(dir + "/P6_10000.PPM"));
    EXPECT_EQ(out, "") << "nothing reported, no directory made";
}

TEST_F(CaptureTest, AFullFolderStopsTheCaptureWithOneLine) {
    ASSERT_EQ(mkdir("PPM_P6", 0755), 0);
    std::ofstream("PPM_P6/P6_9999.PPM") << "an earlier run's";
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    saved_frame();
    saved_frame();
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "fourview: cannot save more frames: P6_9999.PPM is the last name\n");
    EXPECT_EQ(read_all(in_ppm("P6_9999.PPM")).size(), 16u) << "kept";
    EXPECT_EQ(capture_counter, 10000);
}

TEST_F(CaptureTest, AFileThatCannotBeOpenedStopsTheCaptureSafely) {
    ASSERT_EQ(mkdir("PPM_P6", 0755), 0);
    ASSERT_EQ(mkdir("PPM_P6/P6_0000.PPM", 0755), 0);  // a directory in the file's place
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const testing::Pixels screen = saved_frame();
    const std::string err = ::testing::internal::GetCapturedStderr();
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(capture_counter, 0) << "the counter stays";
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("P6_0000.PPM"), std::string::npos) << err;

    // Nothing was saved, so nothing says it was.
    app.save_screen = 0;
    app.frame_changed = 1;
    const testing::Pixels plain = testing::render_graph_frame();
    EXPECT_EQ(screen.data, plain.data);

    // The next changed frame tries again, in the same directory: entering
    // "PPM_P6" once more would nest a new one inside it.
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    saved_frame();
    EXPECT_EQ(std::string(::testing::internal::GetCapturedStderr()).empty(), false);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_FALSE(exists(in_ppm("PPM_P6")));
    rmdir(in_ppm("P6_0000.PPM").c_str());
    saved_frame();
    EXPECT_TRUE(exists(in_ppm("P6_0000.PPM")));
    EXPECT_EQ(capture_counter, 1);
}

TEST_F(CaptureTest, AWideWindowIsSavedWhole) {
    glutSetWindow(app.graph_window);
    glutReshapeWindow(1200, 200);
    for (int i = 0; i < 200 && glutGet(GLUT_WINDOW_WIDTH) != 1200; ++i) glutMainLoopEvent();
    ASSERT_EQ(glutGet(GLUT_WINDOW_WIDTH), 1200);
    ::testing::internal::CaptureStdout();
    const testing::Pixels screen = saved_frame();
    ::testing::internal::GetCapturedStdout();
    const std::vector<unsigned char> bytes = read_all(in_ppm("P6_0000.PPM"));
    const std::string header = "P6\n1200 200\n255\n";
    ASSERT_EQ(bytes.size(), header.size() + 1200 * 200 * 3);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + header.size()), header);
    EXPECT_EQ(file_pixel(bytes, header.size(), 1200, 1199, 0), screen.at(1199, 0));
}

}  // namespace
}  // namespace fourview
