#include "ui/values.h"

#include <GL/glut.h>

#include "app/app_state.h"
#include "app/window_system.h"
#include "render/frame.h"
#include "render/materials.h"
#include "render/text.h"
#include "ui/settings.h"
#include "ui/value_text.h"

namespace fourview {

int value_window_size_row = 0;
int value_hyperplane_row = 6;
int value_zoom_row = 7;

ButtonPanel value_fields[kValueFieldCount];
ButtonPanel value_buttons[kValueButtonCount];
int value_pressed = -1;

namespace {

constexpr int kWidth = 630, kHeight = 210;
constexpr GLclampf kPanelGrey = 0.7490196f;  // 191/255
constexpr double kSectionStep = 0.05;
constexpr double kZoomStep = 0.01;

// Lines are refreshed from reset_view before the fields are set up.
bool fields_ready = false;

struct FieldSpec {
    int code;
    int width;
};
// Rows 0-7; the last two leave room for their step buttons.
constexpr FieldSpec Fields[kValueFieldCount] = {
    {92, 500}, {81, 500}, {82, 500}, {80, 500}, {83, 500}, {84, 500}, {85, 380}, {89, 380},
};

struct ButtonSpec {
    int code;
    const char* label;
    int x, y, width;
};
constexpr ButtonSpec Buttons[kValueButtonCount] = {
    {92, "Change", 520, 10, 100},  {81, "Change", 520, 35, 100},  {82, "Change", 520, 60, 100},
    {80, "Change", 520, 85, 100},  {83, "Change", 520, 110, 100}, {84, "Change", 520, 135, 100},
    {85, "Change", 520, 160, 100}, {89, "Change", 520, 185, 100},
    {86, ">>", 480, 160, 30},      {87, "<<", 400, 160, 30},      {88, "*", 440, 160, 30},
    {90, ">>", 460, 185, 50},      {91, "<<", 400, 185, 50},
};

bool is_held_code(int code) { return code == 86 || code == 87 || code == 90 || code == 91; }

// As for the controller's rotation buttons: a timer armed by an earlier
// press ends itself, so a press has one chain behind it.
int value_chain = 0;

void value_timer(int chain) {
    if (chain != value_chain || value_pressed == -1) return;
    repeat_value_step(value_buttons[value_pressed].code);
}

}  // namespace

void post_values_redisplay() {
    if (app.values_window != 0) post_window_redisplay(app.values_window);
}

void setup_value_fields() {
    for (int row = 0; row < kValueFieldCount; ++row) {
        ButtonPanel& f = value_fields[row];
        f = ButtonPanel{};
        f.code = Fields[row].code;
        f.x = 10;
        f.y = 10 + 25 * row;
        f.width = Fields[row].width;
        f.height = 20;
        f.align = 0;
        f.font = GLUT_BITMAP_8_BY_13;
    }
    for (int i = 0; i < kValueButtonCount; ++i) {
        ButtonPanel& b = value_buttons[i];
        b = ButtonPanel{};
        b.code = Buttons[i].code;
        set_button_text(b, Buttons[i].label);
        b.x = Buttons[i].x;
        b.y = Buttons[i].y;
        b.width = Buttons[i].width;
        b.height = 20;
        b.align = 0;
        b.font = GLUT_BITMAP_9_BY_15;
        place_button_text(b);
    }
    value_pressed = -1;
    fields_ready = true;
    for (int row = 0; row < kValueFieldCount; ++row) refresh_value_field(Fields[row].code, row);
}

void refresh_value_field(int code, int field) {
    if (!fields_ready || field < 0 || field >= kValueFieldCount) return;
    ButtonPanel& f = value_fields[field];
    char line[kValueLineWork];
    if (value_line_text(line, sizeof line, code, app)) {
        // A "%f" of a huge number outgrows the cell: cut it first, then fit.
        cut_to_cell(line, kButtonTextSize - 1);
        set_button_text(f, line);
    }
    fit_text_to_width(f.text, kButtonTextSize - 1, f.width, f.font, bitmap_width);
    place_button_text(f);
    post_values_redisplay();
}

void draw_value_field(const ButtonPanel& f) {
    glLineWidth(1.0f);
    glBegin(GL_LINES);
    set_color(5);  // dark top and left: the field is sunk into the panel
    glVertex2i(f.x, f.y + 1);
    glVertex2i(f.x + f.width, f.y + 1);
    glVertex2i(f.x, f.y);
    glVertex2i(f.x, f.y + f.height);
    set_color(4);
    glVertex2i(f.x, f.y + f.height);
    glVertex2i(f.x + f.width, f.y + f.height);
    glVertex2i(f.x + f.width - 1, f.y);
    glVertex2i(f.x + f.width - 1, f.y + f.height);
    glEnd();
    set_color(4);
    draw_text(f.x + f.text_x - 1, f.y + f.text_y - 1, f.font, f.text);
    set_color(5);
    draw_text(f.x + f.text_x, f.y + f.text_y, f.font, f.text);
}

// Paints only when asked: a press, release or drag-off here, a line rebuilt
// by refresh_value_field, or an expose. Never posts itself.
void display_values() {
    select_window(app.values_window);
    glClearColor(kPanelGrey, kPanelGrey, kPanelGrey, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    for (int i = 0; i < kValueButtonCount; ++i)
        draw_button(value_buttons[i], i == value_pressed ? 0 : 1);
    for (const ButtonPanel& f : value_fields) draw_value_field(f);
    glFlush();
    swap_window_buffers();
}

void reshape_values(int width, int height) {
    reshape_panel(app.values_window, width, height, kWidth, kHeight);
}

void mouse_values(int button, int state, int x, int y) {
    if (button != GLUT_LEFT_BUTTON) return;
    ++value_chain;
    if (state == GLUT_DOWN) {
        for (int i = 0; i < kValueButtonCount; ++i) {
            if (button_hit(value_buttons[i], x, y) == 1) {
                value_pressed = i;
                if (is_held_code(value_buttons[i].code)) repeat_value_step(value_buttons[i].code);
                break;
            }
        }
    } else if (state == GLUT_UP && value_pressed != -1) {
        const int pressed = value_pressed;
        edit_setting(value_buttons[pressed].code, pressed);
        value_pressed = -1;
    }
    post_values_redisplay();
}

void motion_values(int x, int y) {
    if (value_pressed != -1 && button_hit(value_buttons[value_pressed], x, y) == 0) {
        value_pressed = -1;
        post_values_redisplay();
    }
}

void repeat_value_step(int code) {
    // Only the button that started this chain keeps it going: a press on
    // another button in the meantime must not inherit the stepping.
    if (value_pressed == -1 || value_buttons[value_pressed].code != code) return;
    switch (code) {
        case 86:
        case 87:
            app.section_offset += code == 86 ? kSectionStep : -kSectionStep;
            refresh_value_field(85, value_hyperplane_row);
            break;
        case 90:
        case 91: {
            const double zoom = app.zoom + (code == 90 ? kZoomStep : -kZoomStep);
            if (!(zoom > 0.0)) return;  // the zoom floor: no step, the chain ends
            app.zoom = zoom;
            apply_projection();
            refresh_value_field(89, value_zoom_row);
            break;
        }
        default:
            return;
    }
    glutTimerFunc(50, value_timer, value_chain);
    app.frame_changed = 1;
    select_window(app.graph_window);
    post_redisplay();
}

}  // namespace fourview
