#include "ui/input.h"

#include <GL/freeglut.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/app_state.h"
#include "app/window_system.h"
#include "app/windows.h"
#include "geom4/view.h"
#include "render/frame.h"
#include "ui/controller.h"
#include "ui/menus.h"
#include "ui/scene_menu.h"
#include "ui/sweep.h"
#include "ui/values.h"

namespace fourview {

namespace {

void toggle(int& flag) { flag = flag == 0 ? 1 : 0; }

void post_graph_redisplay() {
    select_window(app.graph_window);
    post_redisplay();
}

// freeglut, unlike the GLUT the key table was made for, reports the
// modifier keys themselves as special keys. They are no keys of ours.
bool is_modifier_key(int key) { return key >= GLUT_KEY_SHIFT_L && key <= GLUT_KEY_SUPER_R; }

void set_projection(int mode) {
    if (mode != kProjectionStereographic) app.flat_projection = mode;
    app.projection_mode = mode;
    ButtonPanel& b = controller_buttons[projection_button_index];
    set_button_text(b, projection_mode_label(app.projection_mode));
    place_button_text(b);
}

}  // namespace

int* option_flag(int command) {
    switch (command) {
        case 50: return &app.solid;
        case 51: return &app.transparent;
        case 52: return &app.wireframe;
        case 53: return &app.axes;
        case 54: return &app.label;
        case 55: return &app.high_quality;
        case 56: return &app.bold_line;
        case 57: return &app.cross_section;
        case 58: return &app.save_screen;
        case 59: return &app.colour_by_w;
        default: return nullptr;
    }
}

bool key_is_known(unsigned char key) {
    for (const RotationKey& k : RotationKeys)
        if (k.key == key) return true;
    for (const CommandKey& k : CommandKeys)
        if (k.key == key) return true;
    for (const PresetKey& k : PresetKeys)
        if (k.key == key) return true;
    return key == ' ';
}

void describe_keys(void (*line)(const char* key, const char* what)) {
    char key[8], what[64];
    for (const RotationKey& k : RotationKeys) {
        std::snprintf(key, sizeof key, "%c", k.key);
        std::snprintf(what, sizeof what, "turn in the %s plane by %sthe rotation angle",
                      RotationPlanes[(k.request - 1) / 2].name, k.request % 2 == 1 ? "" : "minus ");
        line(key, what);
    }
    for (const CommandKey& k : CommandKeys) {
        std::snprintf(key, sizeof key, k.key == 27 ? "Esc" : "%c", k.key);
        const char* name = "";
        for (const OptionEntry& o : OptionEntries)
            if (o.command == k.command) name = o.label;
        if (name[0] != '\0')
            std::snprintf(what, sizeof what, "%s on or off", name);
        else if (k.command == 60)
            std::snprintf(what, sizeof what, "Global or Local Rotation");
        else if (k.command == 61)
            std::snprintf(what, sizeof what, "parallel or perspective projection");
        else if (k.command == 62)
            std::snprintf(what, sizeof what, "view from the next axis (X, Y, Z)");
        else if (k.command == kCommandStereographic)
            std::snprintf(what, sizeof what, "stereographic on, or back to parallel or perspective");
        else if (k.command == kCommandSliceView)
            std::snprintf(what, sizeof what, "Slice View: projection, slice, or both side by side");
        else if (k.command == kCommandSweep)
            std::snprintf(what, sizeof what, "sweep the cut through the model (any key stops)");
        else
            std::snprintf(what, sizeof what, "quit");
        line(key, what);
    }
    for (const PresetKey& k : PresetKeys) {
        std::snprintf(key, sizeof key, "%c", k.key);
        std::snprintf(what, sizeof what, "view from %c", "XYZ"[(k.previous_direction + 1) % 3]);
        line(key, what);
    }
    line("Space", "Transparent and the projection switched together");
}

void keyboard(unsigned char key, int, int) {
    if (sweep_running()) {
        stop_sweep();  // the key that stops a sweep does nothing else
        return;
    }
    for (const RotationKey& k : RotationKeys)
        if (k.key == key) app.rotation_request = k.request;
    for (const CommandKey& k : CommandKeys)
        if (k.key == key) execute_command(k.command);
    for (const PresetKey& k : PresetKeys) {
        if (k.key == key) {
            app.view_direction = k.previous_direction;
            execute_command(62);
        }
    }
    if (key == ' ') {
        execute_command(51);
        execute_command(61);
    }
    post_graph_redisplay();
}

void special_key(int key, int, int) {
    if (is_modifier_key(key)) return;
    if (sweep_running()) {
        stop_sweep();
        return;
    }
    if (key == GLUT_KEY_LEFT)
        app.section_offset -= kSectionStep;
    else if (key == GLUT_KEY_RIGHT)
        app.section_offset += kSectionStep;
    else if (key == GLUT_KEY_DOWN)
        app.section_offset = 0.0;
    refresh_value_field(85, value_hyperplane_row);
    app.frame_changed = 1;
    post_graph_redisplay();
}

void mouse_graph(int button, int state, int x, int y) {
    // The modifiers matter only when a left drag begins.
    const int modifiers = button == GLUT_LEFT_BUTTON && state == GLUT_DOWN ? pointer_modifiers() : 0;
    mouse_graph_with_modifiers(button, state, x, y, modifiers);
}

void mouse_graph_with_modifiers(int button, int state, int x, int y, int modifiers) {
    if (button != GLUT_LEFT_BUTTON) {
        // The left release may go to the menu or be lost while another
        // button is down: the drag ends here, or the next motion with any
        // button held would turn from the old press point.
        if (state == GLUT_DOWN) app.dragging = 0;
        return;  // the right button opens the menu
    }
    if (state == GLUT_DOWN) {
        app.last_mouse_x = x;
        app.last_mouse_y = y;
        app.dragging = 1;
        // Shift alone zooms; with Ctrl or Alt as well it is a rotation drag.
        app.zoom_drag = modifiers == GLUT_ACTIVE_SHIFT ? 1 : 0;
    } else if (state == GLUT_UP) {
        app.dragging = 0;
    }
}

void motion_graph(int x, int y) {
    if (app.dragging != 1) return;
    if (app.zoom_drag == 1) {
        const double f = zoom_drag_factor(app.last_mouse_y - y, app.zoom);
        // A zoom of 0 would make the view box infinite, so 0 is refused like
        // a negative zoom: the event is dropped whole and the pointer can
        // come back down without a jump.
        if (!(f > 0.0)) return;
        app.zoom *= f;
        refresh_value_field(89, value_zoom_row);
        apply_projection();
    } else {
        app.view_matrix = dragged_view(app.view_matrix, x - app.last_mouse_x, y - app.last_mouse_y);
    }
    app.last_mouse_x = x;
    app.last_mouse_y = y;
    app.frame_changed = 1;
    post_graph_redisplay();
}

void execute_command(int command) {
    if (int* flag = option_flag(command); flag != nullptr && command != 55) {
        toggle(*flag);
    } else if (command == 55) {
        if (app.high_quality == 1) {
            app.high_quality = 0;
            app.mesh_resolution = 25;
        } else {
            app.high_quality = 1;
            app.mesh_resolution = 51;
        }
    } else if (command == 60) {
        app.rotation_mode = app.rotation_mode == kRotationGlobal ? kRotationLocal : kRotationGlobal;
        ButtonPanel& b = controller_buttons[rotation_button_index];
        set_button_text(b, rotation_mode_label(app.rotation_mode));
        place_button_text(b);
    } else if (command == 61 || command == kCommandStereographic ||
               (command >= kProjectionParallel && command <= kProjectionStereographic)) {
        set_projection(projection_after(command, app.projection_mode, app.flat_projection));
    } else if (command == 62) {
        app.view_direction = app.view_direction == 0 ? 1 : app.view_direction == 1 ? 2 : 0;
        // The new label keeps the place computed for the old one.
        set_button_text(controller_buttons[view_button_index], view_button_label());
        apply_view_direction();
    } else if (command == kCommandSliceView) {
        app.slice_view = (app.slice_view + 1) % 3;
        ButtonPanel& b = controller_buttons[view_button_index];
        set_button_text(b, view_button_label());
        place_button_text(b);
    } else if (command == kCommandSweep) {
        start_sweep();
    } else if (command == 99) {
        reset_view();
    } else if (command == 100) {
        quit_now();
    } else if (command == kCommandSaveScene) {
        save_scene_in_capture_folder(nullptr, 0);
    } else if (command == kCommandLoadScene) {
        load_scene_dialogue();
    }
    select_window(app.graph_window);
    refresh_option_labels();
    app.frame_changed = 1;
    post_redisplay();
    // Labels and flag colours of the controller may have changed.
    post_controller_redisplay();
}

void quit_now() {
    // Everything of the program's own is in its files and on its streams
    // once these are flushed (a capture is closed frame by frame). What
    // std::exit would run next is the GL driver's teardown: the rasteriser
    // threads joined, the shared-memory images of the three windows
    // detached one X round trip each, the driver libraries unloaded. The
    // windows are already gone from the screen by then, so the process
    // seemed to hang on after them; the kernel and the X server free all of
    // it anyway when the process ends.
    std::fflush(nullptr);
    std::_Exit(0);
}

void apply_view_direction() { app.view_matrix = view_direction_matrix(app.view_direction); }

}  // namespace fourview
