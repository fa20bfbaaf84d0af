// Capture file names and the PPM layout, written from a synthetic frame.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ui/capture.h"
#include "../support/scratch_files.h"

namespace fourview {
namespace {

std::string name_for(int counter) {
    char out[32];
    capture_file_name(out, sizeof out, counter);
    return out;
}

TEST(CaptureNames, FourDigitsWithLeadingZeros) {
    EXPECT_EQ(name_for(0), "P6_0000.PPM");
    EXPECT_EQ(name_for(9), "P6_0009.PPM");
    EXPECT_EQ(name_for(10), "P6_0010.PPM");
    EXPECT_EQ(name_for(99), "P6_0099.PPM");
    EXPECT_EQ(name_for(100), "P6_0100.PPM");
    EXPECT_EQ(name_for(999), "P6_0999.PPM");
    EXPECT_EQ(name_for(1000), "P6_1000.PPM");
    EXPECT_EQ(name_for(9999), "P6_9999.PPM");
}

class PpmFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testing::make_scratch_directory("fourview-ppm");
        ASSERT_FALSE(dir.empty());
    }
    void TearDown() override { ASSERT_TRUE(testing::remove_scratch_directory(dir)); }
    std::string path(const char* name) const { return dir + "/" + name; }
    static std::vector<unsigned char> read_all(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::string dir;
};

// Pixel (x, gl_row) = (x, gl_row, 7): the bytes tell where each came from.
void coded_rows(int gl_row, int width, unsigned char* row, void* calls) {
    for (int x = 0; x < width; ++x) {
        row[3 * x] = static_cast<unsigned char>(x);
        row[3 * x + 1] = static_cast<unsigned char>(gl_row);
        row[3 * x + 2] = 7;
    }
    ++*static_cast<int*>(calls);
}

TEST_F(PpmFile, NumberingGoesOnAfterTheHighestPictureInTheFolder) {
    EXPECT_EQ(first_free_capture_number(dir.c_str()), 0) << "a fresh folder";
    EXPECT_EQ(first_free_capture_number((dir + "/none").c_str()), 0);
    auto touch = [&](const char* name) { std::ofstream(path(name)) << "x"; };
    // Not pictures of ours: other names, and a folder or device in a picture's place.
    for (const char* name : {"P6_12.PPM", "P6_0042.PPM.bak", "p6_0050.ppm", "P6_00a9.PPM", "x"})
        touch(name);
    ASSERT_EQ(mkdir(path("P6_0060.PPM").c_str(), 0755), 0);
    ASSERT_EQ(symlink("/dev/full", path("P6_0070.PPM").c_str()), 0);
    EXPECT_EQ(first_free_capture_number(dir.c_str()), 0);
    const std::pair<const char*, int> pictures[] = {
        {"P6_0003.PPM", 4}, {"P6_0001.PPM", 4}, {"P6_0999.PPM", 1000}, {"P6_9999.PPM", 10000}};
    for (const auto& [name, next] : pictures) {
        touch(name);
        EXPECT_EQ(first_free_capture_number(dir.c_str()), next) << name;
    }
}

TEST_F(PpmFile, HeaderByteForByteThenRowsFromTheTop) {
    int calls = 0;
    const std::string p = path("P6_0000.PPM");
    ASSERT_TRUE(write_ppm_file(p.c_str(), 3, 2, coded_rows, &calls));
    EXPECT_EQ(calls, 2) << "one row read at a time";
    const std::vector<unsigned char> bytes = read_all(p);
    const std::string header = "P6\n3 2\n255\n";
    ASSERT_EQ(bytes.size(), header.size() + 3 * 2 * 3);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + header.size()), header);
    // First the top row (OpenGL row 1), then the bottom one, left to right.
    const unsigned char raster[] = {0, 1, 7, 1, 1, 7, 2, 1, 7, 0, 0, 7, 1, 0, 7, 2, 0, 7};
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin() + header.size(), bytes.end()),
              std::vector<unsigned char>(std::begin(raster), std::end(raster)));
}

TEST_F(PpmFile, TheRowBufferFitsAnyWidth) {
    int calls = 0;
    const std::string p = path("wide.PPM");
    ASSERT_TRUE(write_ppm_file(p.c_str(), 20000, 2, coded_rows, &calls));
    const std::vector<unsigned char> bytes = read_all(p);
    const std::string header = "P6\n20000 2\n255\n";
    ASSERT_EQ(bytes.size(), header.size() + 20000 * 2 * 3);
    // The last pixel of the last row: x = 19999 (low byte 0x1F), row 0.
    EXPECT_EQ(bytes[bytes.size() - 3], 19999 & 0xFF);
    EXPECT_EQ(bytes[bytes.size() - 2], 0);
}

TEST_F(PpmFile, AFileThatCannotBeOpenedLeavesNothingAndSaysSoOnce) {
    // A directory in the file's place cannot be opened for writing, even by root.
    const std::string p = path("P6_0003.PPM");
    ASSERT_EQ(mkdir(p.c_str(), 0755), 0);
    int calls = 0;
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(write_ppm_file(p.c_str(), 4, 4, coded_rows, &calls));
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(calls, 0);
    struct stat st {};
    ASSERT_EQ(stat(p.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode)) << "the directory is left as it was";
    EXPECT_NE(err.find("P6_0003.PPM"), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
}

TEST_F(PpmFile, AMissingDirectoryFailsCleanly) {
    int calls = 0;
    const std::string p = path("no/such/dir/P6_0000.PPM");
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(write_ppm_file(p.c_str(), 4, 4, coded_rows, &calls));
    EXPECT_FALSE(::testing::internal::GetCapturedStderr().empty());
}

// A frame reader that, like GL calls can, leaves errno changed behind it.
void rows_touching_errno(int gl_row, int width, unsigned char* row, void* calls) {
    coded_rows(gl_row, width, row, calls);
    errno = EAGAIN;
}

// A limit on the size of files this process writes: a disk that fills up
// in the middle of a file. Writes past it fail with EFBIG (the signal that
// would otherwise end the process is ignored meanwhile).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ok_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, old_handler_);
    }
    bool ok() const { return ok_; }

private:
    rlimit saved_{};
    void (*old_handler_)(int) = SIG_DFL;
    bool ok_ = false;
};

TEST_F(PpmFile, ADiskFullInTheMiddleLeavesNoPartFileAndSaysWhyOnce) {
    const std::string p = path("P6_0000.PPM");
    int calls = 0;
    ::testing::internal::CaptureStderr();
    bool written = true;
    {
        FileSizeLimit limit(64 * 1024);
        ASSERT_TRUE(limit.ok());
        written = write_ppm_file(p.c_str(), 640, 480, rows_touching_errno, &calls);
    }
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(written);
    EXPECT_NE(access(p.c_str(), F_OK), 0) << "the part written is removed";
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("P6_0000.PPM"), std::string::npos) << err;
    EXPECT_NE(err.find(std::strerror(EFBIG)), std::string::npos)
        << "the write's own error, not what later calls left in errno: " << err;
    EXPECT_LT(calls, 480) << "no more rows are read once a write has failed";
}

}  // namespace
}  // namespace fourview
