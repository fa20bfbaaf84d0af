// The view of the graph as numbers: the one-step 4D rotation, the 3D view
// from each axis, the turn and zoom of a pointer drag, and the view a reset
// goes back to. Pure: the desktop windows and the web page share it.
#pragma once

#include "geom4/types.h"

namespace fourview {

// The one-step rotation for a request code 1..12 by `angle_degrees` (odd
// codes turn forward, even codes back); the identity for any other code.
Matrix5 step_matrix_for(int request, int angle_degrees);

// The view matrix (OpenGL column-major) that looks from X (0), Y (1) or Z
// (2); any other number looks from X.
Matrix4 view_direction_matrix(int direction);

// The view matrix after a drag of (dx, dy) pixels: one degree per pixel,
// down about +Y, right about +Z.
Matrix4 dragged_view(const Matrix4& view, int dx, int dy);

// The factor a Shift drag of `up_pixels` upward gives the zoom: 0.0005 less
// per pixel, whatever the zoom. Not above 0 means the drag is dropped.
double zoom_drag_factor(int up_pixels, double zoom);

// The view a reset goes back to: the view from app.view_direction, the
// transform that carries the hyperplane onto w = 0, no offset, the eye on
// X and the model's own zoom.
void reset_view_state();

// The image of app.graph_center under the base transform, on which the user
// graph's view is centred; false when it has no finite projection (at the
// perspective eye), and the scene is then left uncentred.
bool graph_centre_image(Point3& q);

// The projection after command 61 (parallel and perspective in turn, or
// back from stereographic), kCommandStereographic (63: stereographic on or
// off) or 65-67 (one by name), from `mode` with `flat` the one of parallel
// and perspective last in force; `mode` for any other command.
int projection_after(int command, int mode, int flat);

// A range for the parameter s or t: both bounds finite, the lower one below
// the upper one, and a finite width between them.
bool usable_range(double low, double high);

// A normal (a, b, c, d) of the cutting hyperplane that the view can be
// aligned with: not all 0, and a squared length that neither underflows to 0
// nor overflows.
bool usable_normal(double a, double b, double c, double d);

}  // namespace fourview
