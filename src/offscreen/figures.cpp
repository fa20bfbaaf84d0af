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
#include "export/export.h"
#include "figures/gif_encode.h"
#include "figures/output_file.h"
#include "figures/png_encode.h"
#include "offscreen/bitmap_font.h"
#include "offscreen/egl_surface.h"
#include "render/frame.h"
#include "models/slice.h"
#include "ui/graph_slots.h"
#include "ui/sweep.h"

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
    OutputFile png, gif, obj, mtl, stl;
    std::vector<OutputFile> stack;  // --stl with --sweep: one file a step
    ~Outputs() {
        for (OutputFile* out : {&png, &gif, &obj, &mtl, &stl}) abandon_output(*out);
        for (OutputFile& out : stack) abandon_output(out);
    }
};

// Step i (from 0) of a stack of n: "slices.stl" -> "slices-001.stl", the
// number as wide as the largest, three figures at least.
std::string stack_path(const std::string& stl, int i, int n) {
    std::string base = stl;
    if (base.size() > 4 && base.compare(base.size() - 4, 4, ".stl") == 0) base.resize(base.size() - 4);
    const int width = n >= 1000 ? 4 : 3;
    char number[16];
    std::snprintf(number, sizeof number, "-%0*d.stl", width, i + 1);
    return base + number;
}

// The sweep's frames: the hyperplane at each step, from where it first
// touches the model to where it leaves, then back where it was.
bool sweep_offsets(int steps, std::vector<double>& offsets) {
    double low = 0, high = 0;
    if (!sweep_range(low, high)) return false;
    offsets.clear();
    for (int i = 0; i < steps; ++i) offsets.push_back(sweep_level(low, high, i, steps));
    return true;
}

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

// An OBJ file with its material library beside it, or an STL file. A frame
// with nothing to export still gives a valid file, and a line that says so.
bool write_model(Outputs& outputs, const std::string& path, bool obj, double scale_mm) {
    Bytes model, materials;
    const std::string mtl_path = mtl_path_for(path);
    const size_t slash = mtl_path.rfind('/');
    const bool any = obj ? encode_obj(mtl_path.substr(slash == std::string::npos ? 0 : slash + 1), model,
                                      materials)
                         : encode_stl(scale_mm, model);
    if (!any) report(path + ": nothing to export (no style on, or nothing within the infinity bound); the file holds no geometry");
    if (obj && !write_output(outputs.mtl, materials, true)) return false;
    if (write_output(obj ? outputs.obj : outputs.stl, model, true)) return true;
    // The material library alone is no model: it goes as well.
    if (obj) std::remove(mtl_path.c_str());
    return false;
}

bool open_outputs(const FigureOptions& f, Outputs& outputs) {
    std::string error;
    if ((!f.png.empty() && !open_output(f.png, outputs.png, error)) ||
        (!f.gif.empty() && !open_output(f.gif, outputs.gif, error)) ||
        (!f.obj.empty() && !open_output(f.obj, outputs.obj, error)) ||
        (!f.obj.empty() && !open_output(mtl_path_for(f.obj), outputs.mtl, error)) ||
        (!f.stl.empty() && !f.sweep && !open_output(f.stl, outputs.stl, error))) {
        report("cannot write " + error);
        return false;
    }
    if (!f.stl.empty() && f.sweep) {
        outputs.stack.resize(f.frames);
        for (int i = 0; i < f.frames; ++i)
            if (!open_output(stack_path(f.stl, i, f.frames), outputs.stack[i], error)) {
                report("cannot write " + error);
                return false;
            }
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
    const Matrix5 first_transform = app.transform;
    if (!f.png.empty()) {
        Bytes png;
        if (!write_output(outputs.png, png, encode_png(frames[0], png))) return 1;
    }
    const double start_offset = app.section_offset;
    std::vector<double> offsets;
    if (f.sweep && !sweep_offsets(f.frames, offsets)) {
        report("--sweep: the model has no extent across the hyperplane to sweep");
        return 1;
    }
    if (!f.gif.empty()) {
        if (f.sweep) {
            frames.clear();
            for (double offset : offsets) {
                app.section_offset = offset;
                frames.push_back(draw_figure_frame(f.width, f.height));
            }
            app.section_offset = start_offset;
        } else {
            // Each further frame one step forward in the plane, as the
            // controller's button for that plane turns it.
            for (int i = 1; i < f.frames; ++i) {
                app.rotation_request = 2 * f.turn_plane + 1;
                frames.push_back(draw_figure_frame(f.width, f.height));
            }
        }
        Bytes gif;
        if (!write_output(outputs.gif, gif, encode_gif(frames, kGifDelayCentiseconds, gif))) return 1;
    }
    // The models: the geometry of the first frame, whatever the GIF turned.
    if (!frames.empty() && !f.gif.empty()) app.transform = first_transform;
    if (!f.obj.empty() && !write_model(outputs, f.obj, true, f.scale_mm)) return 1;
    if (!f.stl.empty() && !f.sweep && !write_model(outputs, f.stl, false, f.scale_mm)) return 1;
    if (!f.stl.empty() && f.sweep) {
        // A stack of slices whichever view is in force: that is what it is for.
        const int view = app.slice_view;
        if (view == kViewProjection) app.slice_view = kViewSlice;
        for (int i = 0; i < f.frames; ++i) {
            app.section_offset = offsets[i];
            Bytes model;
            encode_stl(f.scale_mm, model);
            if (!write_output(outputs.stack[i], model, true)) return 1;
        }
        app.slice_view = view;
        app.section_offset = start_offset;
    }
    return 0;
}

}  // namespace

int make_figures(const StartOptions& options) {
    const FigureOptions& f = options.figures;
    const std::string size = "--size " + std::to_string(f.width) + "x" + std::to_string(f.height);
    std::string error;
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
