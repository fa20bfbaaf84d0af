#include "render/slice_overlay.h"

#include <GL/glut.h>

#include "app/window_system.h"
#include "models/slice_models.h"
#include "render/materials.h"
#include "render/text.h"

namespace fourview {

namespace {

constexpr int kMostLegendRows = 12;
constexpr int kRowHeight = 18, kSwatch = 12, kMargin = 10;

}  // namespace

void draw_slice_overlay(int left, bool slice_drawn) {
    const int w = window_width(), h = window_height();
    if (!slice_drawn) {
        draw_outlined_text(left + kMargin, h - 20, GLUT_BITMAP_HELVETICA_18,
                           "The hyperplane misses the model");
        return;
    }
    const PolytopeLattice* lattice = last_slice_lattice();
    const PolytopeSlice& slice = last_slice();
    if (lattice == nullptr || slice.empty()) return;
    // The kinds present, in the lattice's order of kinds.
    int kinds[kMostLegendRows];
    int count = 0;
    for (int k = 0; k < static_cast<int>(lattice->cell_kind_names.size()) && count < kMostLegendRows; ++k)
        for (int f = 0; f < slice.face_count(); ++f)
            if (lattice->cell_kind[slice.face_cell[f]] == k) {
                kinds[count++] = k;
                break;
            }
    // On a light panel, so that one pass of black text reads on any
    // background (an outline would draw every name five times).
    int text_width = 0;
    for (int r = 0; r < count; ++r) {
        int width = 0;
        for (unsigned char ch : lattice->cell_kind_names[kinds[r]]) width += bitmap_width(GLUT_BITMAP_HELVETICA_12, ch);
        if (width > text_width) text_width = width;
    }
    const int x0 = left + kMargin - 4, x1 = left + kMargin + kSwatch + 6 + text_width + 4;
    const int y0 = h - kMargin - count * kRowHeight, y1 = h - kMargin + 2;
    push_window_matrices();
    glOrtho(0, w, h, 0, -1, 1);  // window pixels, y downwards
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glColor3f(0.95f, 0.95f, 0.95f);
    glRecti(x0, y0, x1, y1);
    for (int r = 0; r < count; ++r) {
        const int y = h - kMargin - (count - r) * kRowHeight;
        const Colour c = cell_kind_colour(lattice->cell_kind_names[kinds[r]]);
        glColor3f(c.r, c.g, c.b);
        glRecti(left + kMargin, y + 3, left + kMargin + kSwatch, y + 3 + kSwatch);
    }
    glColor3f(0, 0, 0);
    glBegin(GL_LINES);
    for (int r = -1; r < count; ++r) {
        if (r < 0) {  // the panel's frame
            const double a = x0 + 0.5, b = x1 - 0.5, c = y0 + 0.5, d = y1 - 0.5;
            const double frame[8][2] = {{a, c}, {b, c}, {b, c}, {b, d}, {b, d}, {a, d}, {a, d}, {a, c}};
            for (const auto& p : frame) glVertex2d(p[0], p[1]);
            continue;
        }
        const double y = h - kMargin - (count - r) * kRowHeight;
        const double a = left + kMargin + 0.5, b = left + kMargin + kSwatch - 0.5, c = y + 3.5,
                     d = y + 2.5 + kSwatch;
        const double box[8][2] = {{a, c}, {b, c}, {b, c}, {b, d}, {b, d}, {a, d}, {a, d}, {a, c}};
        for (const auto& p : box) glVertex2d(p[0], p[1]);
    }
    glEnd();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    pop_window_matrices();
    set_color(5);
    for (int r = 0; r < count; ++r) {
        const int y = h - kMargin - (count - r) * kRowHeight;
        draw_text(left + kMargin + kSwatch + 6, y + 6, GLUT_BITMAP_HELVETICA_12,
                  lattice->cell_kind_names[kinds[r]].c_str());
    }
}

}  // namespace fourview
