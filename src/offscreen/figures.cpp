// The figures: the graph window's frame drawn offscreen and written as PNG
// and animated GIF, with or without a display. EGL is used even when there
// is a display, so that a figure is the same picture wherever it is made.
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/options.h"
#include "app/window_system.h"
#include "app/windows.h"
#include "figures/gif_encode.h"
#include "figures/output_file.h"
#include "figures/png_encode.h"
#include "offscreen/bitmap_font.h"
#include "offscreen/egl_surface.h"
#include "render/frame.h"
#include "ui/graph_slots.h"

namespace fourview {

namespace {

// 50 ms a frame: the pace of a held rotation button in the controller.
constexpr int kGifDelayCentiseconds = 5;

// What the figures hold at once: the surface (colour and depth, 4 bytes
// each), the frame read back, and for a GIF every frame in RGB plus its
// palette indices. Refused when over half of the machine's memory.
bool fits_in_memory(const FigureOptions& f, std::string& error) {
    const double pixels = static_cast<double>(f.width) * f.height;
    double bytes = pixels * (4 + 4 + 3 + 3);
    if (!f.gif.empty()) bytes += pixels * 4 * (f.frames > 1 ? f.frames : 1);
    const long pages = sysconf(_SC_PHYS_PAGES), page_size = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || page_size <= 0) return true;
    const double budget = static_cast<double>(pages) * page_size / 2;
    if (bytes <= budget) return true;
    char line[160];
    std::snprintf(line, sizeof line, "needs %.1f GiB, more than half of this machine's memory",
                  bytes / (1 << 30));
    error = line;
    return false;
}

RgbImage draw_figure_frame(int width, int height) {
    display_graph();
    RgbImage image;
    image.width = width;
    image.height = height;
    image.rgb.resize(image.pixel_count() * 3);
    read_offscreen_pixels(width, height, image.rgb.data());
    return image;
}

// The start contents as main sets them up for the windows, and the first
// reshape the graph window gets when it maps.
void prepare_start_state(int width, int height) {
    init_graph_gl_state();
    init_contents();
    clear_graph_slots();
    load_default_equations(0);
    reshape_graph(width, height);
}

void report(const std::string& line) { std::fprintf(stderr, "fourview: %s\n", line.c_str()); }

struct Outputs {
    OutputFile png, gif;
    ~Outputs() {
        abandon_output(png);
        abandon_output(gif);
    }
};

bool write_output(OutputFile& out, const Bytes& data, bool encoded) {
    std::string error;
    if (!encoded) {
        report("cannot write " + out.path + ": the picture could not be encoded");
        return false;
    }
    if (!commit_output(out, data, error)) {
        report("cannot write " + error);
        return false;
    }
    return true;
}

bool open_outputs(const FigureOptions& f, Outputs& outputs) {
    std::string error;
    if ((!f.png.empty() && !open_output(f.png, outputs.png, error)) ||
        (!f.gif.empty() && !open_output(f.gif, outputs.gif, error))) {
        report("cannot write " + error);
        return false;
    }
    return true;
}

int draw_and_write(const StartOptions& options) {
    const FigureOptions& f = options.figures;
    use_offscreen_window_system(f.width, f.height);
    prepare_start_state(f.width, f.height);
    apply_start_options(options);
    apply_start_keys(options.keys);
    // Opened only now: what comes before may still end the program with a
    // usage error, which must leave no temporary file behind.
    Outputs outputs;
    if (!open_outputs(f, outputs)) return 1;
    std::vector<RgbImage> frames;
    frames.push_back(draw_figure_frame(f.width, f.height));
    if (!f.png.empty()) {
        Bytes png;
        if (!write_output(outputs.png, png, encode_png(frames[0], png))) return 1;
    }
    if (!f.gif.empty()) {
        // Each further frame one step forward in the plane, as the
        // controller's button for that plane turns it.
        for (int i = 1; i < f.frames; ++i) {
            app.rotation_request = 2 * f.turn_plane + 1;
            frames.push_back(draw_figure_frame(f.width, f.height));
        }
        Bytes gif;
        if (!write_output(outputs.gif, gif, encode_gif(frames, kGifDelayCentiseconds, gif))) return 1;
    }
    return 0;
}

}  // namespace

int make_figures(const StartOptions& options) {
    const FigureOptions& f = options.figures;
    const std::string size = "--size " + std::to_string(f.width) + "x" + std::to_string(f.height);
    std::string error;
    // The models' writers are not part of this build yet: refused rather
    // than reported as written.
    if (!f.obj.empty() || !f.stl.empty()) {
        report(std::string(f.obj.empty() ? "--stl" : "--obj") + ": models cannot be written yet");
        return 1;
    }
    if (!fits_in_memory(f, error)) {
        report(size + ": " + error);
        return 2;
    }
    switch (open_offscreen(f.width, f.height, error)) {
        case OffscreenResult::kReady: break;
        case OffscreenResult::kTooLarge: report(size + ": " + error); return 2;
        case OffscreenResult::kUnavailable: report(error); return 1;
    }
    if (!check_bitmap_fonts(error)) {
        report(error);
        close_offscreen();
        return 1;
    }
    // A size limit (ulimit -f) then fails the write instead of ending the
    // program, and the partial file is removed like any other.
    std::signal(SIGXFSZ, SIG_IGN);
    const int status = draw_and_write(options);
    close_offscreen();
    return status;
}

}  // namespace fourview
