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
#include "app/scene_state.h"
#include "app/window_system.h"
#include "app/windows.h"
#include "export/export.h"
#include "figures/gif_encode.h"
#include "figures/memory_limit.h"
#include "figures/output_file.h"
#include "figures/palette.h"
#include "figures/png_encode.h"
#include "figures/video_encode.h"
#include "offscreen/bitmap_font.h"
#include "offscreen/egl_surface.h"
#include "render/frame.h"
#include "models/slice.h"
#include "scene/flight.h"
#include "ui/graph_slots.h"
#include "ui/sweep.h"

namespace fourview {

namespace {

// 50 ms a frame: the pace of a held rotation button in the controller.
constexpr int kGifDelayCentiseconds = 5;

// What the figures hold at once: the surface (colour and depth, 4 bytes
// each), the frame read back in RGB, and for a GIF one frame's palette
// indices (an animation is drawn twice, a frame at a time, rather than
// held). Refused when over half of the memory this process may use. A
// video's frames go to the encoder as they are drawn and are not counted.
bool fits_in_memory(const FigureOptions& f, std::string& error) {
    const double pixels = static_cast<double>(f.width) * f.height;
    double bytes = pixels * (4 + 4 + 3);
    if (!f.gif.empty()) bytes += pixels;
    const double budget = process_memory_limit() / 2;
    if (budget <= 0 || bytes <= budget) return true;
    char line[160];
    std::snprintf(line, sizeof line, "needs %.1f GiB, more than half of the memory this process may use",
                  bytes / (1 << 30));
    error = line;
    return false;
}

void draw_figure_frame(RgbImage& image, int width, int height) {
    display_graph();
    image.width = width;
    image.height = height;
    image.rgb.resize(image.pixel_count() * 3);
    read_offscreen_pixels(width, height, image.rgb.data());
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

// The outputs of one run, in the order of their options; the .mtl beside
// the OBJ is one of them.
enum OutputSlot { kPng, kGif, kObj, kMtl, kStl, kVideo, kScene, kOutputSlots };
constexpr const char* kSlotOption[kOutputSlots] = {"--png", "--gif",   "--obj",       "--obj",
                                                   "--stl", "--video", "--save-scene"};

struct Outputs {
    OutputFile file[kOutputSlots];
    bool used[kOutputSlots] = {};
    std::vector<OutputFile> stack;  // --stl with --sweep: one file a step
    ~Outputs() {
        for (OutputFile& out : file) abandon_output(out);
        for (OutputFile& out : stack) abandon_output(out);
    }
    std::vector<OutputFile*> opened() {
        std::vector<OutputFile*> list;
        for (int i = 0; i < kOutputSlots; ++i)
            if (used[i]) list.push_back(&file[i]);
        for (OutputFile& out : stack) list.push_back(&out);
        return list;
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

// The sweep's frames: the offset of the hyperplane at each step, from where
// it first touches the model to where it leaves.
bool sweep_offsets(int steps, std::vector<double>& offsets) {
    double low = 0, high = 0;
    if (!sweep_range(low, high)) return false;
    offsets.clear();
    for (int i = 0; i < steps; ++i) offsets.push_back(sweep_level(low, high, i, steps));
    return true;
}

// 0 when every output could be opened; 1 when one cannot be written; 2
// when two name the same file, which would leave only one of them.
int open_outputs(const FigureOptions& f, Outputs& outputs) {
    const std::string paths[kOutputSlots] = {
        f.png, f.gif, f.obj, f.obj.empty() ? "" : mtl_path_for(f.obj), f.sweep ? "" : f.stl, f.video, f.save_scene};
    std::string error;
    for (int i = 0; i < kOutputSlots; ++i) {
        if (paths[i].empty()) continue;
        if (!open_output(paths[i], outputs.file[i], error)) {
            report("cannot write " + error);
            return 1;
        }
        outputs.used[i] = true;
    }
    if (!f.stl.empty() && f.sweep) {
        outputs.stack.resize(f.frames);
        for (int i = 0; i < f.frames; ++i)
            if (!open_output(stack_path(f.stl, i, f.frames), outputs.stack[i], error)) {
                report("cannot write " + error);
                return 1;
            }
    }
    auto named = [&](int i) {
        return i == kMtl ? "the material library " + paths[i] + " of --obj" : std::string(kSlotOption[i]) + " " + paths[i];
    };
    for (int i = 0; i < kOutputSlots; ++i)
        for (int j = 0; j < i; ++j)
            if (outputs.used[i] && outputs.used[j] && same_file(outputs.file[i], outputs.file[j])) {
                report(named(i) + ": the same file as " + named(j));
                return 2;
            }
    return 0;
}

bool put(OutputFile& out, const Bytes& data) {
    std::string error;
    if (append_output(out, data.data(), data.size(), error)) return true;
    report("cannot write " + error);
    return false;
}

// The frames of an animation, in order: a turn, one step forward in the
// plane a frame as the controller's button for that plane turns it; or a
// flight, --frames frames a leg from each scene to the next and the last
// scene itself at the end. Frame 0 is the view the options describe; or,
// with --sweep, the cutting hyperplane at each step of the sweep.
struct Animation {
    const StartOptions& options;
    Matrix5 first_transform;
    std::vector<Scene> scenes;  // a flight's, with the options applied after each
    std::vector<double> sweep;  // the section offset of each frame of a sweep

    int count() const {
        const int legs = static_cast<int>(scenes.size()) - 1;
        return legs > 0 ? legs * options.figures.frames + 1 : options.figures.frames;
    }
    // Puts the state of frame k in force; frames are asked for in order.
    void go_to(int k) {
        if (!sweep.empty()) {
            app.section_offset = sweep[k];
            return;
        }
        const int frames = options.figures.frames;
        if (scenes.empty()) {
            if (k == 0) app.transform = first_transform;
            app.rotation_request = k == 0 ? 0 : 2 * options.figures.turn_plane + 1;
            return;
        }
        const int legs = static_cast<int>(scenes.size()) - 1;
        const int leg = k / frames;
        apply_scene(k == 0      ? scenes[0]
                    : leg == legs ? scenes[legs]
                                  : scene_between(scenes[leg], scenes[leg + 1],
                                                static_cast<double>(k % frames) / frames));
    }
};

// The scenes of a flight as the options make them: each scene with the
// other options applied after it, as the first one is.
std::vector<Scene> flight_scenes(const StartOptions& options) {
    if (options.to_scenes.empty()) return {};
    std::vector<Scene> scenes{scene_from_app()};
    StartOptions rest = options;
    rest.equations.given = false;  // the set is in force already
    for (const Scene& s : options.to_scenes) {
        rest.scene = {true, s};
        apply_start_options(rest);
        scenes.push_back(scene_from_app());
    }
    apply_scene(scenes[0]);
    return scenes;
}

// A GIF and a video of the animation. Drawn twice a frame at a time when a
// GIF is asked for: once to count its colours (and to encode the video),
// once to encode the GIF with the palette they give (the frames are the
// same both times), so that memory does not grow with the number of frames.
bool write_animation(const FigureOptions& f, Outputs& outputs, Animation& animation, RgbImage& frame) {
    std::string error;
    VideoEncoderPtr video;
    if (!f.video.empty()) {
        video = open_video(video_format_for(f.video), f.width, f.height, error);
        if (video == nullptr) {
            report("cannot write " + f.video + ": " + error);
            return false;
        }
    }
    ColourCounts counts;
    for (int i = 0; i < animation.count(); ++i) {
        if (i > 0 || !animation.sweep.empty()) {  // a sweep's frame 0 is its first step
            animation.go_to(i);
            draw_figure_frame(frame, f.width, f.height);
        }
        if (!f.gif.empty()) count_colours(frame, counts);
        if (video != nullptr && !add_video_frame(*video, frame, error)) {
            report("cannot write " + f.video + ": " + error);
            return false;
        }
    }
    if (video != nullptr) {
        Bytes bytes;
        if (!finish_video(*video, bytes, error)) {
            report("cannot write " + f.video + ": " + error);
            return false;
        }
        if (!put(outputs.file[kVideo], bytes)) return false;
    }
    if (f.gif.empty()) return true;

    OutputFile& out = outputs.file[kGif];
    Palette palette;
    choose_palette(counts, palette);
    ColourCounts().swap(counts);
    bool sink_failed = false;
    GifWriter gif;
    bool ok = gif_begin(gif, f.width, f.height, palette, [&](const uint8_t* data, std::size_t size) {
        sink_failed = !sink_failed && !append_output(out, data, size, error);
        return !sink_failed;
    });
    Bytes indices;
    for (int i = 0; ok && i < animation.count(); ++i) {
        animation.go_to(i);
        draw_figure_frame(frame, f.width, f.height);
        palette_indices(palette, frame, indices);
        ok = gif_add_frame(gif, indices, kGifDelayCentiseconds);
    }
    ok = gif_end(gif, ok);
    if (sink_failed)
        report("cannot write " + error);
    else if (!ok)
        report("cannot write " + out.path + ": the picture could not be encoded");
    return ok && !sink_failed;
}

// An OBJ file with its material library beside it, or an STL file. A frame
// with nothing to export still gives a valid file, and a line that says so.
bool write_model(Outputs& outputs, const FigureOptions& f, bool obj) {
    Bytes model, materials;
    const std::string path = obj ? f.obj : f.stl;
    const std::string mtl_path = mtl_path_for(path);
    const size_t slash = mtl_path.rfind('/');
    const bool any = obj ? encode_obj(mtl_path.substr(slash == std::string::npos ? 0 : slash + 1), model,
                                      materials)
                         : encode_stl(f.scale_mm, f.thickness_mm, model);
    if (!any) report(path + ": nothing to export (no style on, or nothing within the infinity bound); the file holds no geometry");
    if (obj && !put(outputs.file[kMtl], materials)) return false;
    return put(outputs.file[obj ? kObj : kStl], model);
}

int draw_and_write(const StartOptions& options) {
    const FigureOptions& f = options.figures;
    use_offscreen_window_system(f.width, f.height);
    prepare_start_state(f.width, f.height);
    apply_start_options(options);
    apply_start_keys(options.keys);
    Outputs outputs;
    if (const int status = open_outputs(f, outputs); status != 0) return status;
    if (!f.save_scene.empty()) {
        const std::string text = write_scene(scene_from_app());
        if (!put(outputs.file[kScene], Bytes(text.begin(), text.end()))) return 1;
    }
    if (!(f.png.empty() && f.gif.empty() && f.video.empty() && f.obj.empty() && f.stl.empty())) {
        const Scene first = scene_from_app();
        Animation animation{options, app.transform, flight_scenes(options), {}};
        const double start_offset = app.section_offset;
        if (f.sweep && !sweep_offsets(f.frames, animation.sweep)) {
            report("--sweep: the model has no extent across the hyperplane to sweep");
            return 1;
        }
        RgbImage frame;
        if (!f.png.empty() || !f.gif.empty() || !f.video.empty()) draw_figure_frame(frame, f.width, f.height);
        if (!f.png.empty()) {
            Bytes png;
            if (!encode_png(frame, png)) {
                report("cannot write " + f.png + ": the picture could not be encoded");
                return 1;
            }
            if (!put(outputs.file[kPng], png)) return 1;
        }
        if ((!f.gif.empty() || !f.video.empty()) && !write_animation(f, outputs, animation, frame)) return 1;
        // The models: the geometry of the first frame, whatever the animation turned.
        app.section_offset = start_offset;
        if (animation.scenes.empty())
            app.transform = animation.first_transform;
        else
            apply_scene(first);
        if (!f.obj.empty() && !write_model(outputs, f, true)) return 1;
        if (!f.stl.empty() && !f.sweep && !write_model(outputs, f, false)) return 1;
        if (!f.stl.empty() && f.sweep) {
            // A stack of slices whichever view is in force: that is what it is for.
            const int view = app.slice_view;
            if (view == kViewProjection) app.slice_view = kViewSlice;
            for (int i = 0; i < f.frames; ++i) {
                app.section_offset = animation.sweep[i];
                Bytes model;
                encode_stl(f.scale_mm, f.thickness_mm, model);
                if (!put(outputs.stack[i], model)) return 1;
            }
            app.slice_view = view;
        }
        app.section_offset = start_offset;
    }
    // Every output complete: all of them go in place together, or none.
    std::string error;
    if (!commit_outputs(outputs.opened(), error)) {
        report("cannot write " + error);
        return 1;
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
    // A reader that went away fails the write the same way.
    std::signal(SIGPIPE, SIG_IGN);
    remove_temporaries_on_signals();
    const int status = draw_and_write(options);
    close_offscreen();
    return status;
}

}  // namespace fourview
