#include "ui/scene_menu.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/app_state.h"
#include "app/scene_state.h"
#include "app/window_system.h"
#include "expr/console.h"
#include "expr/equation_entry.h"
#include "render/frame.h"
#include "ui/capture.h"

namespace fourview {

const char* const kCaptureFolder = "PPM_P6";

namespace {

// The next number to try; it only grows while the program runs, as the
// capture counter does.
int scene_counter = 0;

void say(const char* text) { console_write(stdout, text); }

// The whole text into a new file `path`, or nothing: O_EXCL refuses a file
// that is there already, and a failed write removes what it made.
int write_new_file(const std::string& path, const std::string& text) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return errno;
    int failure = 0;
    std::size_t done = 0;
    while (done < text.size() && failure == 0) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else if (n < 0 && errno != EINTR)
            failure = errno;
        else if (n == 0)
            failure = EIO;
    }
    if (close(fd) != 0 && failure == 0) failure = errno;
    if (failure != 0) unlink(path.c_str());
    return failure;
}

}  // namespace

void scene_file_name(char* out, std::size_t size, int number) {
    std::snprintf(out, size, "SCENE_%04d.toml", number);
}

bool save_scene_in_capture_folder(char* written, std::size_t size) {
    // Before the first capture the folder is still to be made; the program
    // stays where it is (the capture enters the folder itself).
    std::string folder = ".";
    if (!capture_directory_done) {
        if (mkdir(kCaptureFolder, 0777) != 0 && errno != EEXIST) {
            std::fprintf(stderr, "fourview: cannot save the scene: %s: %s\n", kCaptureFolder,
                         std::strerror(errno));
            return false;
        }
        folder = kCaptureFolder;
    }
    const int first = first_free_file_number(folder.c_str(), "SCENE_", ".toml");
    if (first > scene_counter) scene_counter = first;
    const std::string text = write_scene(scene_from_app());
    for (; scene_counter < kCaptureLimit; ++scene_counter) {
        char name[32];
        scene_file_name(name, sizeof name, scene_counter);
        const std::string path = folder == "." ? name : folder + "/" + name;
        const int failure = write_new_file(path, text);
        if (failure == EEXIST) continue;  // made meanwhile: the next number
        if (failure != 0) {
            std::fprintf(stderr, "fourview: cannot save %s: %s\n", path.c_str(),
                         std::strerror(failure));
            return false;
        }
        ++scene_counter;
        std::printf("Scene saved as \"%s\".\n", path.c_str());
        std::fflush(stdout);
        if (written != nullptr) std::snprintf(written, size, "%s", path.c_str());
        return true;
    }
    std::fprintf(stderr, "fourview: cannot save the scene: SCENE_9999.toml is the last name\n");
    return false;
}

void load_scene_dialogue() {
    if (console_input_gone()) return;
    show_console_notice();
    say("\nPlease input Scene file.\n");
    say("file = ");
    char name[EXPRESSION_TEXT_LENGTH + 1];
    const int length = read_equation_line(name);
    std::string error;
    if (length > 0 && load_scene_file(name, error)) return;
    if (length > 0)
        std::fprintf(stderr, "fourview: %s; nothing changed\n", error.c_str());
    else if (length == 0)
        std::fprintf(stderr, "fourview: no file named; nothing changed\n");
    // The frame without the notice, as after any dialogue.
    select_window(app.graph_window);
    post_redisplay();
}

}  // namespace fourview
