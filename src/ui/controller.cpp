#include "ui/controller.h"

#include <GL/glut.h>

#include <cstdio>

#include "app/app_state.h"
#include "app/window_system.h"
#include "ui/input.h"

namespace fourview {

ButtonPanel controller_buttons[kControllerButtonCount];
int controller_pressed = -1;

namespace {

constexpr int kWidth = 150, kHeight = 540;
constexpr int kButtonHeight = 30;
constexpr GLclampf kPanelGrey = 0.7490196f;  // 191/255

struct RotationButtonSpec {
    const char* label;
    int request;  // RotationRequest
};
// Three columns of 50 pixels, four rows: forward steps above their reverses.
constexpr RotationButtonSpec RotationButtons[kRotationButtonCount] = {
    {"XY", 1},   {"YZ", 3},   {"ZX", 5},   {"XY R", 2},  {"YZ R", 4},  {"ZX R", 6},
    {"WX", 7},   {"WY", 9},   {"WZ", 11},  {"WX R", 8},  {"WY R", 10}, {"WZ R", 12},
};

struct OptionButtonSpec {
    const char* label;  // nullptr: the label names the mode in force
    int command;
    int AppState::*flag;  // nullptr: always black
};
constexpr OptionButtonSpec OptionButtons[kControllerButtonCount - kRotationButtonCount] = {
    {"Reset View", 99, nullptr},
    {"Solid", 50, &AppState::solid},
    {"Transparent", 51, &AppState::transparent},
    {"Wireframe", 52, &AppState::wireframe},
    {"Cross Section", 57, &AppState::cross_section},
    {"Axes", 53, &AppState::axes},
    {"Label", 54, &AppState::label},
    {"Hight Quality", 55, &AppState::high_quality},
    {"Bold Line", 56, &AppState::bold_line},
    {"Save Screen", 58, &AppState::save_screen},
    {nullptr, 60, nullptr},
    {nullptr, 61, nullptr},
    {nullptr, 62, nullptr},
    {"Quit", 100, nullptr},
};

// Numbers the presses: a 50 ms timer carries the number of the press that
// armed it, and a timer of an earlier press (released, perhaps pressed
// again within 50 ms) ends itself instead of running beside the new chain.
int rotation_chain = 0;

void rotation_timer(int chain) {
    if (chain != rotation_chain || controller_pressed == -1) return;
    repeat_rotation_step(controller_buttons[controller_pressed].code);
}

}  // namespace

const char* rotation_mode_label(int rotation_mode) {
    return rotation_mode == kRotationGlobal ? "Global Rotation" : "Local Rotation";
}

const char* projection_mode_label(int projection_mode) {
    if (projection_mode == kProjectionStereographic) return "Stereographic";
    return projection_mode == kProjectionParallel ? "Ortho" : "Frustum";
}

const char* view_direction_label(int view_direction) {
    switch (view_direction) {
        case 1: return "from Y";
        case 2: return "from Z";
        default: return "from X";
    }
}

const char* view_button_label() {
    static char label[32];
    const char* direction = view_direction_label(app.view_direction);
    if (app.slice_view == kViewProjection) return direction;
    std::snprintf(label, sizeof label, "%s, %s", app.slice_view == kViewSlice ? "Slice" : "Both",
                  direction);
    return label;
}

void build_controller_panel() {
    for (int i = 0; i < kControllerButtonCount; ++i) {
        ButtonPanel& b = controller_buttons[i];
        b = ButtonPanel{};
        b.height = kButtonHeight;
        b.align = 0;
        if (i < kRotationButtonCount) {
            b.code = RotationButtons[i].request;
            set_button_text(b, RotationButtons[i].label);
            b.x = (i % 3) * 50;
            b.y = (i / 3) * kButtonHeight;
            b.width = 50;
            b.font = GLUT_BITMAP_HELVETICA_12;
        } else {
            const OptionButtonSpec& entry = OptionButtons[i - kRotationButtonCount];
            b.code = entry.command;
            if (entry.flag != nullptr) b.enable = &(app.*entry.flag);
            set_button_text(b, entry.label != nullptr ? entry.label : "");
            b.x = 0;
            b.y = 120 + kButtonHeight * (i - kRotationButtonCount);
            b.width = kWidth;
            b.font = GLUT_BITMAP_HELVETICA_18;
        }
    }
    set_button_text(controller_buttons[rotation_button_index],
                    rotation_mode_label(app.rotation_mode));
    set_button_text(controller_buttons[projection_button_index],
                    projection_mode_label(app.projection_mode));
    set_button_text(controller_buttons[view_button_index], view_button_label());
    for (ButtonPanel& b : controller_buttons) place_button_text(b);
    controller_pressed = -1;
}

void post_controller_redisplay() {
    if (app.controller_window != 0) post_window_redisplay(app.controller_window);
}

void redraw_controller_panel() {
    for (int i = 0; i < kControllerButtonCount; ++i)
        draw_button(controller_buttons[i], i == controller_pressed ? 0 : 1);
}

// Paints only when asked: a press, release or drag-off here, a command that
// changes a label or a flag shown here, or an expose. Never posts itself.
void display_controller() {
    select_window(app.controller_window);
    glClearColor(kPanelGrey, kPanelGrey, kPanelGrey, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    redraw_controller_panel();
    glFlush();
    swap_window_buffers();
    select_window(app.graph_window);
}

void reshape_controller(int width, int height) {
    reshape_panel(app.controller_window, width, height, kWidth, kHeight);
}

void mouse_controller(int button, int state, int x, int y) {
    if (button == GLUT_LEFT_BUTTON) ++rotation_chain;
    if (button == GLUT_LEFT_BUTTON && state == GLUT_DOWN) {
        for (int i = 0; i < kControllerButtonCount; ++i) {
            if (button_hit(controller_buttons[i], x, y) == 1) {
                controller_pressed = i;
                if (i < kRotationButtonCount) repeat_rotation_step(controller_buttons[i].code);
                break;
            }
        }
    } else if (button == GLUT_LEFT_BUTTON && state == GLUT_UP) {
        const int pressed = controller_pressed;
        controller_pressed = -1;
        // Option buttons act at the release, and only if the pointer is
        // still on them (a drag-off has already cleared the press).
        if (pressed >= kRotationButtonCount) execute_command(controller_buttons[pressed].code);
    }
    post_controller_redisplay();
}

void motion_controller(int x, int y) {
    if (controller_pressed != -1 && button_hit(controller_buttons[controller_pressed], x, y) == 0) {
        controller_pressed = -1;
        post_controller_redisplay();
    }
}

void repeat_rotation_step(int code) {
    if (controller_pressed == -1 || controller_buttons[controller_pressed].code != code) return;
    app.rotation_request = code;
    select_window(app.graph_window);
    post_redisplay();
    glutTimerFunc(50, rotation_timer, rotation_chain);
}

}  // namespace fourview
