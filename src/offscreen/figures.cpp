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
#include "figures/output_file.h"
#include "figures/png_encode.h"
#include "figures/video_encode.h"
#include "offscreen/bitmap_font.h"
#include "offscreen/egl_surface.h"
#include "render/frame.h"
#include "scene/flight.h"
#include "ui/graph_slots.h"

namespace fourview {

namespace {

// 50 ms a frame: the pace of a held rotation button in the controller.
constexpr int kGifDelayCentiseconds = 5;

// What the figures hold at once: the surface (colour and depth, 4 bytes
// each), the frame read back, and for a GIF every frame in RGB plus its
// palette indices. Refused when over half of the machine's memory.
// A video's frames go to the encoder as they are drawn and are not counted.
bool fits_in_memory(const FigureOptions& f, int frames, std::string& error) {
    const double pixels = static_cast<double>(f.width) * f.height;
    double bytes = pixels * (4 + 4 + 3 + 3);
    if (!f.gif.empty()) bytes += pixels * 4 * (frames > 1 ? frames : 1);
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
    OutputFile png, gif, obj, mtl, stl, video, scene;
    ~Outputs() {
        for (OutputFile* out : {&png, &gif, &obj, &mtl, &stl, &video, &scene}) abandon_output(*out);
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
        (!f.stl.empty() && !open_output(f.stl, outputs.stl, error)) ||
        (!f.video.empty() && !open_output(f.video, outputs.video, error)) ||
        (!f.save_scene.empty() && !open_output(f.save_scene, outputs.scene, error))) {
        report("cannot write " + error);
        return false;
    }
    return true;
}

// The frames of the animation: those of the GIF, the video, or both.
struct Animation {
    bool keep;  // the GIF needs them all for its palette
    std::vector<RgbImage> frames;
    VideoEncoderPtr video;
    std::string error;

    bool add(RgbImage frame) {
        if (video != nullptr && !add_video_frame(*video, frame, error)) return false;
        if (keep) frames.push_back(std::move(frame));
        return true;
    }
};

// The scenes of a flight as the options make them: each scene with the
// other options applied after it, as the first one is.
std::vector<Scene> flight_scenes(const StartOptions& options) {
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

// Each further frame one step forward in the plane, as the controller's
// button for that plane turns it; or, on a flight, --frames frames a leg
// and the last scene itself at the end.
bool animate(const StartOptions& options, Animation& animation) {
    const FigureOptions& f = options.figures;
    if (options.to_scenes.empty()) {
        for (int i = 1; i < f.frames; ++i) {
            app.rotation_request = 2 * f.turn_plane + 1;
            if (!animation.add(draw_figure_frame(f.width, f.height))) return false;
        }
        return true;
    }
    const std::vector<Scene> scenes = flight_scenes(options);
    const int legs = static_cast<int>(scenes.size()) - 1;
    for (int k = 1; k <= legs * f.frames; ++k) {
        const int leg = k / f.frames;
        apply_scene(k == legs * f.frames ? scenes[legs]
                                         : scene_between(scenes[leg], scenes[leg + 1],
                                                         static_cast<double>(k % f.frames) / f.frames));
        if (!animation.add(draw_figure_frame(f.width, f.height))) return false;
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
    if (!f.save_scene.empty()) {
        const std::string text = write_scene(scene_from_app());
        if (!write_output(outputs.scene, Bytes(text.begin(), text.end()), true)) return 1;
    }
    if (f.png.empty() && f.gif.empty() && f.video.empty() && f.obj.empty() && f.stl.empty()) return 0;
    const Scene first = scene_from_app();
    Animation animation{!f.gif.empty(), {}, nullptr, {}};
    if (!f.video.empty()) {
        animation.video = open_video(video_format_for(f.video), f.width, f.height, animation.error);
        if (animation.video == nullptr) {
            report("cannot write " + f.video + ": " + animation.error);
            return 1;
        }
    }
    RgbImage picture = draw_figure_frame(f.width, f.height);
    if (!f.png.empty()) {
        Bytes png;
        if (!write_output(outputs.png, png, encode_png(picture, png))) return 1;
    }
    if (!f.gif.empty() || !f.video.empty()) {
        if (!animation.add(std::move(picture)) || !animate(options, animation)) {
            report("cannot write " + f.video + ": " + animation.error);
            return 1;
        }
    }
    if (!f.gif.empty()) {
        Bytes gif;
        if (!write_output(outputs.gif, gif, encode_gif(animation.frames, kGifDelayCentiseconds, gif)))
            return 1;
        animation.frames.clear();
    }
    if (!f.video.empty()) {
        Bytes video;
        if (!finish_video(*animation.video, video, animation.error)) {
            report("cannot write " + f.video + ": " + animation.error);
            return 1;
        }
        if (!write_output(outputs.video, video, true)) return 1;
    }
    // The models: the geometry of the first frame, whatever the animation turned.
    if (!f.gif.empty() || !f.video.empty()) apply_scene(first);
    if (!f.obj.empty() && !write_model(outputs, f.obj, true, f.scale_mm)) return 1;
    if (!f.stl.empty() && !write_model(outputs, f.stl, false, f.scale_mm)) return 1;
    return 0;
}

}  // namespace

int make_figures(const StartOptions& options) {
    const FigureOptions& f = options.figures;
    const std::string size = "--size " + std::to_string(f.width) + "x" + std::to_string(f.height);
    std::string error;
    const int legs = static_cast<int>(options.to_scenes.size());
    if (!fits_in_memory(f, legs > 0 ? legs * f.frames + 1 : f.frames, error)) {
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
