// One labelled rectangle of a panel window, and the three routines every
// panel (the controller's buttons, the values window's buttons and fields)
// draws, hit-tests and lays out its records with.
#pragma once

namespace fourview {

// Labels that are always drawn black point here.
inline constexpr int always_on_flag = 1;

constexpr int kButtonTextSize = 100;  // 99 characters and the NUL
// The grey of a label whose option is off, between the black of an "on"
// label and the panels' 191.
constexpr unsigned char kOffLabelGrey = 128;

struct ButtonPanel {
    int code = 0;                       // what the record sends when used
    const int* enable = &always_on_flag;  // label black while *enable is 1, grey otherwise
    char text[kButtonTextSize] = "";
    int x = 0, y = 0;                   // top-left corner, window pixels, y downwards
    int width = 0, height = 0;
    int text_x = 0, text_y = 0;         // label origin relative to (x, y)
    int align = 0;                      // 0 centred, 1 left, 2 right (2-pixel margins)
    void* font = nullptr;               // a GLUT bitmap font
};

// Copies `text` into the record, cut to the 99 characters it holds.
void set_button_text(ButtonPanel& b, const char* text);

// Computes text_x and text_y for a label `text_width` pixels wide.
void place_button_text_for_width(ButtonPanel& b, int text_width);
// The same, measuring the label with the record's font.
void place_button_text(ButtonPanel& b);

// A raised (1) or sunken (0) bevel and the shadowed label, in the current
// window, whose projection must map window pixels with y downwards.
void draw_button(const ButtonPanel& b, int raised);

// 1 when (x, y) lies inside the record, right and bottom edges included, so
// two neighbours share their border line; callers test in table order and
// the first hit wins it.
int button_hit(const ButtonPanel& b, int x, int y);

// Reshape callback body shared by the panel windows: their buttons fill a
// fixed size, so any other size is taken back; the projection maps window
// pixels with y growing downwards.
void reshape_panel(int window, int width, int height, int fixed_width, int fixed_height);

}  // namespace fourview
