#include "app/scene_state.h"

#include <cstdio>
#include <cstring>

#include "app/app_state.h"
#include "app/scene_checks.h"
#include "app/window_system.h"
#include "expr/equation_entry.h"
#include "expr/graph_slots.h"
#include "geom4/transform.h"
#include "render/frame.h"
#include "ui/controller.h"
#include "ui/graph_slots.h"
#include "ui/input.h"
#include "ui/menus.h"
#include "ui/values.h"

namespace fourview {

namespace {

// The values window's lines: code and row.
constexpr int ValueLines[][2] = {{92, 0}, {81, 1}, {82, 2}, {80, 3},
                                 {83, 4}, {84, 5}, {85, 6}, {89, 7}};

struct Flag {
    int Scene::*scene;
    int AppState::*app;
};
constexpr Flag Flags[] = {
    {&Scene::solid, &AppState::solid},
    {&Scene::transparent, &AppState::transparent},
    {&Scene::wireframe, &AppState::wireframe},
    {&Scene::cross_section, &AppState::cross_section},
    {&Scene::axes, &AppState::axes},
    {&Scene::label, &AppState::label},
    {&Scene::high_quality, &AppState::high_quality},
    {&Scene::bold_line, &AppState::bold_line},
    {&Scene::colour_by_w, &AppState::colour_by_w},
};

bool set_is_current(const Scene& s) {
    if (!graph_slot_filled(0)) return false;
    for (int i = 0; i < kEquationsPerSet; ++i)
        if (s.equations[i] != graph_slots[0].equation[i].text) return false;
    return true;
}

void set_button(int index, const char* text) {
    ButtonPanel& b = controller_buttons[index];
    set_button_text(b, text);
    place_button_text(b);
}

}  // namespace

Scene scene_from_app() {
    Scene s;
    s.model_id = app.model_id;
    if (graph_slot_filled(0))
        for (int i = 0; i < kEquationsPerSet; ++i) s.equations[i] = graph_slots[0].equation[i].text;
    s.window_size = {app.window_width, app.window_height};
    s.s_range_text = {app.s_min_text, app.s_max_text};
    s.t_range_text = {app.t_min_text, app.t_max_text};
    s.s_range = {app.s_min, app.s_max};
    s.t_range = {app.t_min, app.t_max};
    s.infinity = app.infinity;
    s.center = app.graph_center;
    s.rotation_angle = app.rotation_angle;
    s.hyperplane = app.hyperplane;
    s.section_offset = app.section_offset;
    s.zoom = app.zoom;
    for (const Flag& f : Flags) s.*f.scene = app.*f.app;
    s.rotation_mode = app.rotation_mode;
    s.projection_mode = app.projection_mode;
    s.flat_projection = app.flat_projection;
    s.view_direction = app.view_direction;
    s.view_matrix = app.view_matrix;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) s.rotation[4 * r + c] = app.transform[5 * r + c];
        s.translation[r] = app.transform[5 * r + 4];
    }
    return s;
}

void apply_scene(const Scene& s) {
    if (!s.equations[0].empty() && !set_is_current(s)) {
        make_room_for_new_set();
        for (int i = 0; i < kEquationsPerSet; ++i)
            compile_equation(graph_slots[0].equation[i], s.equations[i].c_str());
        rebuild_graph_menu();
    }
    app.model_id = s.model_id;
    if (s.window_size[0] != app.window_width || s.window_size[1] != app.window_height) {
        app.window_width = s.window_size[0];
        app.window_height = s.window_size[1];
        select_window(app.graph_window);
        reshape_window(app.window_width, app.window_height);
    }
    app.s_min = s.s_range[0];
    app.s_max = s.s_range[1];
    app.t_min = s.t_range[0];
    app.t_max = s.t_range[1];
    std::snprintf(app.s_min_text, kRangeTextSize, "%s", s.s_range_text[0].c_str());
    std::snprintf(app.s_max_text, kRangeTextSize, "%s", s.s_range_text[1].c_str());
    std::snprintf(app.t_min_text, kRangeTextSize, "%s", s.t_range_text[0].c_str());
    std::snprintf(app.t_max_text, kRangeTextSize, "%s", s.t_range_text[1].c_str());
    app.infinity = s.infinity;
    app.graph_center = s.center;
    app.rotation_angle = s.rotation_angle;
    for (const Flag& f : Flags) app.*f.app = s.*f.scene;
    app.mesh_resolution = app.high_quality == 1 ? 51 : 25;

    app.rotation_mode = s.rotation_mode;
    set_button(rotation_button_index, rotation_mode_label(app.rotation_mode));
    app.flat_projection = s.flat_projection;
    app.projection_mode = s.projection_mode;
    set_button(projection_button_index, projection_mode_label(app.projection_mode));
    app.view_direction = s.view_direction;
    set_button_text(controller_buttons[view_button_index],
                    view_direction_label(app.view_direction));
    app.view_matrix = s.view_matrix;

    // The hyperplane gives the reset transform (which centres the user
    // graph); the rotation in force is the scene's own.
    app.hyperplane = s.hyperplane;
    reset_transform();
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) app.transform[5 * r + c] = s.rotation[4 * r + c];
        app.transform[5 * r + 4] = s.translation[r];
    }
    app.section_offset = s.section_offset;
    app.zoom = s.zoom;
    app.rotation_request = 0;

    for (const auto& line : ValueLines) refresh_value_field(line[0], line[1]);
    apply_projection();
    refresh_option_labels();
    app.frame_changed = 1;
    select_window(app.graph_window);
    post_redisplay();
    post_controller_redisplay();
}

bool load_scene_file(const std::string& path, std::string& error) {
    Scene scene = scene_from_app();
    const SceneRead read = read_scene_file(path, scene, scene_refusal);
    for (const std::string& w : read.warnings) std::fprintf(stderr, "fourview: %s\n", w.c_str());
    if (!read.ok) {
        error = read.error;
        return false;
    }
    apply_scene(scene);
    return true;
}

}  // namespace fourview
