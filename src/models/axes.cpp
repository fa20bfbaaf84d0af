#include "models/axes.h"

#include "app/app_state.h"
#include "draw/geometry_sink.h"
#include "geom4/projection.h"
#include "geom4/transform.h"
#include "models/mesh.h"

namespace fourview {

namespace {

// Axis k from the origin to the image of end under the base transform; an
// axis that projects onto the origin is left out.
void draw_axis(const Point4& end, int k, void (*letter)(const Point3& at, int k)) {
    // The base transform, not the transform: the axes show the frame of the
    // last reset and do not turn with the rotation steps.
    const Point3 q = project_point(transform_point4(app.base_transform, end));
    // Also leaves out an end projected from w = 2, which is not finite.
    if (!(q.x * q.x + q.y * q.y + q.z * q.z > kZeroSquared) || !fits_gl(q)) return;
    // Outside any bracket the line reaches the back end at once, before the
    // letter is placed with the normal it leaves current.
    GeometrySink& g = geometry();
    g.begin(Primitive::kLines);
    g.vertex(Point3{0, 0, 0});
    g.vertex(q);
    g.end();
    // At 80 % of the view's half-height (3/zoom) along an axis in the screen
    // plane, moved a tenth of the half-height diagonally.
    const double shift = 3 / app.zoom * 0.1;
    letter(Point3{q.x * 0.008 + shift, q.y * 0.008 + shift, q.z * 0.008 + shift}, k);
}

}  // namespace

void draw_axes_with(void (*letter)(const Point3& at, int k)) {
    static const int kColours[4] = {1, 2, 3, 5};  // red, green, blue, black
    GeometrySink& g = geometry();
    g.line_width(2.0f);
    g.normal(Point3{1, 1, 1});
    // 100 times the view's half-height: the axes cross the window at any zoom.
    const double length = 300 / app.zoom;
    const Point4 ends[4] = {{length, 0, 0, 0}, {0, length, 0, 0}, {0, 0, length, 0},
                            {0, 0, 0, length}};
    for (int k = 0; k < 4; ++k) {
        g.color(kColours[k]);
        draw_axis(ends[k], k, letter);
    }
}

}  // namespace fourview
