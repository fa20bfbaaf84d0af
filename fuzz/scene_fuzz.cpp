// libFuzzer target: the scene reader fed arbitrary bytes as a scene file.
//
// The bytes go through parse_scene with the checks the dialogues make, over
// a scene of start values. What must hold: nothing crashes or hangs; a
// refused file leaves the scene bit for bit as it was and says why in one
// line that names the file; an accepted scene is one the program's own
// dialogues would take — every value checked again here with the
// dialogues' own tests, not with the scene code's — and writing it and
// reading it back gives the same text.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "expr/equation_entry.h"
#include "expr/graph_slots.h"
#include "app/scene_checks.h"
#include "scene/scene.h"
#include "ui/settings.h"

namespace fourview {
namespace {

[[noreturn]] void fault(const char* what, const std::string& detail) {
    std::fprintf(stderr, "scene fault: %s\n%s\n", what, detail.c_str());
    std::abort();
}

bool finite_all(const double* v, int n) {
    for (int i = 0; i < n; ++i)
        if (!std::isfinite(v[i])) return false;
    return true;
}

// What the dialogues and the menus would refuse, tested with their own code.
const char* refused(const Scene& s) {
    if (!window_size_fits(s.window_size[0], s.window_size[1])) return "window size";
    if (!usable_range(s.s_range[0], s.s_range[1]) || !usable_range(s.t_range[0], s.t_range[1]))
        return "range";
    for (const std::string* t :
         {&s.s_range_text[0], &s.s_range_text[1], &s.t_range_text[0], &s.t_range_text[1]}) {
        double v = 0;
        if (t->size() >= static_cast<std::size_t>(kRangeTextSize) ||
            !constant_from_text(t->c_str(), "s_min", v))
            return "range text";
    }
    if (!(s.infinity > 0) || !std::isfinite(s.infinity)) return "infinity";
    if (!finite_all(&s.center.x, 4)) return "center";
    if (!finite_all(s.hyperplane.data(), 5) ||
        !usable_normal(s.hyperplane[0], s.hyperplane[1], s.hyperplane[2], s.hyperplane[3]))
        return "hyperplane";
    if (!std::isfinite(s.section_offset)) return "section offset";
    if (!zoom_allowed(s.zoom)) return "zoom";
    for (int flag : {s.solid, s.transparent, s.wireframe, s.cross_section, s.axes, s.label,
                     s.high_quality, s.bold_line, s.colour_by_w})
        if (flag != 0 && flag != 1) return "option";
    if (s.rotation_mode != kRotationGlobal && s.rotation_mode != kRotationLocal)
        return "rotation mode";
    if (s.projection_mode < kProjectionParallel || s.projection_mode > kProjectionStereographic)
        return "projection";
    if (s.flat_projection != kProjectionParallel && s.flat_projection != kProjectionPerspective)
        return "flat projection";
    if (s.view_direction < 0 || s.view_direction > 2) return "view direction";
    if (!is_rotation(s.rotation) || !finite_all(s.translation.data(), 4)) return "orientation";
    if (!finite_all(s.view_matrix.data(), 16)) return "view";
    if (!s.equations[0].empty()) {
        for (int i = 0; i < kEquationsPerSet; ++i) {
            Expression e{};
            if (!compile_equation(e, s.equations[i].c_str()) || !parametric_equation_ok(e, i))
                return "equation";
        }
    }
    return nullptr;
}

}  // namespace
}  // namespace fourview

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The equation engine says why it refuses on standard output.
    if (std::freopen("/dev/null", "w", stdout) == nullptr) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace fourview;
    const std::string text(reinterpret_cast<const char*>(data), size);
    Scene scene;
    scene.zoom = 2;
    const std::string before = write_scene(scene);
    const SceneRead read = parse_scene(text, "fuzz.toml", scene, scene_refusal);
    if (!read.ok) {
        if (write_scene(scene) != before) fault("a refused file changed the scene", read.error);
        if (read.error.rfind("fuzz.toml", 0) != 0 || read.error.find('\n') != std::string::npos)
            fault("the reason is not one line naming the file", read.error);
        return 0;
    }
    if (const char* what = refused(scene))
        fault("a scene the dialogues would refuse was taken", what);
    const std::string written = write_scene(scene);
    Scene again;
    const SceneRead back = parse_scene(written, "again.toml", again, scene_refusal);
    if (!back.ok) fault("a taken scene, written, is refused", back.error + "\n" + written);
    if (write_scene(again) != written)
        fault("a taken scene does not read back to the same text", written);
    return 0;
}
