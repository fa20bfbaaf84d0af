// Renders the graph window of every model, with the start-up options, into
// binary PPM files, with option flags set directly (the pictures of docs/
// are made by the program itself: scripts/gallery.sh).
//   fourview_gallery OUT_DIR [field=value ...]
// Optional assignments change an option flag before drawing (solid,
// transparent, wireframe, cross_section, bold_line, axes, label,
// high_quality, colour_by_w), the projection (projection=65, 66 or 67) or the
// rotation steps applied first (steps=7,7,9 for WX,
// WX, WY), so that the same tool can picture other combinations.
#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/windows.h"
#include "gl_fixture.h"

namespace {

using namespace fourview;

bool write_ppm(const std::string& path, const fourview::testing::Pixels& p) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    std::fprintf(f, "P6\n%d %d\n255\n", p.width, p.height);
    // GL rows run bottom to top; the file's run top to bottom.
    for (int y = p.height - 1; y >= 0; --y)
        std::fwrite(&p.data[static_cast<size_t>(y) * p.width * 3], 1,
                    static_cast<size_t>(p.width) * 3, f);
    return std::fclose(f) == 0;
}

int* option_field(const std::string& name) {
    if (name == "solid") return &app.solid;
    if (name == "transparent") return &app.transparent;
    if (name == "wireframe") return &app.wireframe;
    if (name == "cross_section") return &app.cross_section;
    if (name == "bold_line") return &app.bold_line;
    if (name == "axes") return &app.axes;
    if (name == "label") return &app.label;
    if (name == "high_quality") return &app.high_quality;
    if (name == "colour_by_w") return &app.colour_by_w;
    if (name == "projection") return &app.projection_mode;
    return nullptr;
}

struct Settings {
    std::vector<std::pair<int*, int>> flags;
    std::vector<int> steps;
};

bool parse(int argc, char** argv, Settings& s) {
    for (int i = 2; i < argc; ++i) {
        const char* eq = std::strchr(argv[i], '=');
        if (eq == nullptr) return false;
        const std::string name(argv[i], static_cast<size_t>(eq - argv[i]));
        if (name == "steps") {
            for (const char* c = eq + 1; *c != '\0';) {
                char* end;
                s.steps.push_back(static_cast<int>(std::strtol(c, &end, 10)));
                if (end == c) return false;
                c = *end == ',' ? end + 1 : end;
            }
            continue;
        }
        int* field = option_field(name);
        if (field == nullptr) return false;
        const int value = std::atoi(eq + 1);
        s.flags.emplace_back(field, field == &app.projection_mode ? value : value == 1 ? 1 : 0);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Settings settings;
    if (argc < 2 || !parse(argc, argv, settings)) {
        std::fprintf(stderr, "usage: %s OUT_DIR [field=value ...]\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    static const ModelId kModels[] = {0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 13, 14, 15, 16, 17, 20};
    fourview::testing::start_program();
    for (ModelId model : kModels) {
        fourview::testing::restore_start_state();
        app.model_id = model;
        for (const auto& f : settings.flags) *f.first = f.second;
        app.mesh_resolution = app.high_quality == 1 ? 51 : 25;
        reset_view();  // the model's own default zoom
        for (int step : settings.steps) {
            app.rotation_request = step;
            fourview::testing::render_graph_frame();
        }
        char name[32];
        std::snprintf(name, sizeof name, "model%02d.ppm", model);
        if (!write_ppm(dir + "/" + name, fourview::testing::render_graph_frame())) {
            std::fprintf(stderr, "cannot write %s/%s\n", dir.c_str(), name);
            return 1;
        }
    }
    return 0;
}
