#include "ui/capture.h"

#include <GL/glut.h>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/app_state.h"
#include "app/window_system.h"
#include "render/materials.h"
#include "render/text.h"

namespace fourview {

int capture_counter = 0;
bool capture_directory_done = false;
bool capture_limit_reported = false;

namespace {

// One window row; grows to the widest window seen and is kept, so a capture
// allocates nothing once the window has had its size.
std::vector<unsigned char> row_buffer;

// The terminal bell stands in for the system beep; written only to a
// terminal so that captured output stays clean.
void beep() {
    if (isatty(fileno(stdout)) == 1) {
        std::fputs("\a", stdout);
        std::fflush(stdout);
    }
}

void report_failure(const char* name, int error) {
    std::fprintf(stderr, "fourview: cannot save %s: %s\n", name, std::strerror(error));
}

// Past P6_9999.PPM there is no name left; said once, as a failed save is.
bool numbers_left() {
    if (capture_counter < kCaptureLimit) return true;
    if (!capture_limit_reported)
        std::fprintf(stderr, "fourview: cannot save more frames: P6_9999.PPM is the last name\n");
    capture_limit_reported = true;
    return false;
}

void read_back_buffer_row(int gl_row, int width, unsigned char* row, void*) {
    glReadPixels(0, gl_row, width, 1, GL_RGB, GL_UNSIGNED_BYTE, row);
}

}  // namespace

int first_free_capture_number(const char* folder) { return first_free_file_number(folder, "P6_", ".PPM"); }

int first_free_file_number(const char* folder, const char* prefix, const char* suffix) {
    DIR* d = opendir(folder);
    if (d == nullptr) return 0;
    const std::size_t head = std::strlen(prefix), length = head + 4 + std::strlen(suffix);
    int next = 0;
    while (const dirent* e = readdir(d)) {
        const char* n = e->d_name;
        if (std::strlen(n) != length || std::strncmp(n, prefix, head) != 0 ||
            std::strcmp(n + head + 4, suffix) != 0)
            continue;
        int number = 0;
        bool digits = true;
        for (std::size_t i = head; i < head + 4; ++i) {
            digits = digits && n[i] >= '0' && n[i] <= '9';
            number = number * 10 + (n[i] - '0');
        }
        // Only files count: a device or folder in a file's place holds
        // nothing to keep, and the save there fails on its own.
        struct stat st {};
        if (!digits || fstatat(dirfd(d), n, &st, 0) != 0 || !S_ISREG(st.st_mode)) continue;
        if (number + 1 > next) next = number + 1;
    }
    closedir(d);
    return next;
}

void capture_file_name(char* out, std::size_t size, int counter) {
    std::snprintf(out, size, "P6_%04d.PPM", counter);
}

bool write_ppm_file(const char* name, int width, int height, CaptureRowReader read_row,
                    void* context) {
    // The size lines through a text stream, the rest in binary, as the
    // format's two halves were always written.
    std::FILE* f = std::fopen(name, "w");
    if (f == nullptr) {
        report_failure(name, errno);
        return false;
    }
    // The first failure's errno is the reason: later calls (the frame's
    // reads among them) may change errno, and after a failed write nothing
    // more is read or written.
    int error = 0;
    auto failed = [&error] { if (error == 0) error = errno != 0 ? errno : EIO; };
    errno = 0;
    if (std::fprintf(f, "P6\n%d %d\n", width, height) < 0) failed();
    if (std::fclose(f) != 0) failed();
    if (error == 0) {
        f = std::fopen(name, "ab");
        if (f == nullptr) failed();
    }
    if (error == 0) {
        static constexpr unsigned char kMaxValue[4] = {'2', '5', '5', 10};
        if (std::fwrite(kMaxValue, 1, sizeof kMaxValue, f) != sizeof kMaxValue) failed();
        const std::size_t row_bytes = static_cast<std::size_t>(width) * 3;
        if (row_buffer.size() < row_bytes) row_buffer.resize(row_bytes);
        for (int r = height - 1; r >= 0 && error == 0; --r) {  // OpenGL's row height - 1 is the top
            read_row(r, width, row_buffer.data(), context);
            errno = 0;
            if (std::fwrite(row_buffer.data(), 1, row_bytes, f) != row_bytes) failed();
        }
        errno = 0;
        if (std::fclose(f) != 0) failed();
    }
    if (error != 0) {
        std::remove(name);  // no part of a frame is left behind
        report_failure(name, error);
        return false;
    }
    return true;
}

void capture_frame() {
    beep();
    write_ppm_capture();
    beep();
}

void write_ppm_capture() {
    select_window(app.graph_window);
    const int w = window_width();
    const int h = window_height();
    if (w < 1 || h < 1) return;
    if (!numbers_left()) return;

    // Once per run, not per counter 0: after a failed first file, entering
    // "PPM_P6" again would nest a new one inside it.
    if (!capture_directory_done) {
        capture_directory_done = true;
        // Under a limit on file size (ulimit -f) a long write would end the
        // whole program with SIGXFSZ; ignored, the write fails with EFBIG
        // and the capture stops as it does on a full disk.
        std::signal(SIGXFSZ, SIG_IGN);
        std::printf("%d\n", mkdir("PPM_P6", 0777));
        const int entered = chdir("PPM_P6");
        const int error = errno;
        std::printf("%d\n", entered);
        std::fflush(stdout);
        // The frames then go where the program runs, as they always have
        // (a plain file named PPM_P6, a folder not to be entered): the
        // -1 above is easy to miss, so say where.
        if (entered != 0) {
            char here[4096];
            std::fprintf(stderr, "fourview: cannot enter PPM_P6 (%s): frames are saved in %s\n",
                         std::strerror(error),
                         getcwd(here, sizeof here) != nullptr ? here : "the current folder");
        }
        // An earlier run's pictures stay: numbering goes on after them.
        const int next = first_free_capture_number(".");
        if (next > capture_counter) capture_counter = next;
        if (!numbers_left()) return;
    }
    char name[32];
    capture_file_name(name, sizeof name, capture_counter);

    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    const bool saved = write_ppm_file(name, w, h, read_back_buffer_row, nullptr);
    glPopClientAttrib();
    if (!saved) return;  // no file, the counter stays: the next frame tries again

    // Drawn after the read: on screen, not in the file.
    char message[64];
    std::snprintf(message, sizeof message, "Save as \"%s\".", name);
    draw_outlined_text(10, h - 20, GLUT_BITMAP_HELVETICA_18, message);
    ++capture_counter;
}

}  // namespace fourview
