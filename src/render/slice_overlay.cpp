#include "render/slice_overlay.h"

#include <GL/glut.h>

#include "app/window_system.h"
#include "models/slice_models.h"
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
    push_window_matrices();
    glOrtho(0, w, h, 0, -1, 1);  // window pixels, y downwards
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    for (int r = 0; r < count; ++r) {
        const int y = h - kMargin - (count - r) * kRowHeight;
        const Colour c = cell_kind_colour(lattice->cell_kind_names[kinds[r]]);
        glColor3f(c.r, c.g, c.b);
        glRecti(left + kMargin, y + 3, left + kMargin + kSwatch, y + 3 + kSwatch);
        glColor3f(0, 0, 0);
        glBegin(GL_LINE_LOOP);
        glVertex2d(left + kMargin + 0.5, y + 3.5);
        glVertex2d(left + kMargin + kSwatch - 0.5, y + 3.5);
        glVertex2d(left + kMargin + kSwatch - 0.5, y + 2.5 + kSwatch);
        glVertex2d(left + kMargin + 0.5, y + 2.5 + kSwatch);
        glEnd();
    }
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    pop_window_matrices();
    for (int r = 0; r < count; ++r) {
        const int y = h - kMargin - (count - r) * kRowHeight;
        draw_outlined_text(left + kMargin + kSwatch + 6, y + 6, GLUT_BITMAP_HELVETICA_12,
                           lattice->cell_kind_names[kinds[r]].c_str());
    }
}

}  // namespace fourview
