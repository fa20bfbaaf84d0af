// The slice view's drawing: what the cutting hyperplane leaves of the model,
// in the hyperplane's own x, y, z, through the geometry seam.
#include <cmath>
#include <cstring>

#include "app/app_state.h"
#include "draw/geometry_sink.h"
#include "geom4/projection.h"
#include "geom4/section.h"
#include "geom4/transform.h"
#include "geom4/vector3.h"
#include "models/models.h"
#include "models/slice_models.h"
#include "models/surface_grid.h"

namespace fourview {

namespace {

// One colour per kind, far enough apart to tell neighbouring cells apart;
// the prisms in blues and greens, the antiprisms in purples, the truncated
// forms in warm colours.
struct KindColour {
    const char* kind;
    Colour colour;
};
constexpr KindColour KindColours[] = {
    {"tetrahedron", {0.90f, 0.20f, 0.20f}},
    {"cube", {0.95f, 0.75f, 0.15f}},
    {"octahedron", {0.20f, 0.70f, 0.30f}},
    {"dodecahedron", {0.25f, 0.45f, 0.90f}},
    {"icosahedron", {0.60f, 0.30f, 0.80f}},
    {"truncated tetrahedron", {0.95f, 0.50f, 0.20f}},
    {"cuboctahedron", {0.20f, 0.75f, 0.75f}},
    {"truncated cube", {0.85f, 0.35f, 0.55f}},
    {"truncated octahedron", {0.55f, 0.80f, 0.20f}},
    {"rhombicuboctahedron", {0.95f, 0.60f, 0.60f}},
    {"truncated cuboctahedron", {0.55f, 0.40f, 0.25f}},
    {"snub cube", {0.70f, 0.70f, 0.30f}},
    {"icosidodecahedron", {0.30f, 0.55f, 0.55f}},
    {"truncated dodecahedron", {0.80f, 0.55f, 0.85f}},
    {"truncated icosahedron", {0.45f, 0.65f, 0.95f}},
    {"rhombicosidodecahedron", {0.95f, 0.85f, 0.55f}},
    {"truncated icosidodecahedron", {0.65f, 0.25f, 0.30f}},
    {"snub dodecahedron", {0.50f, 0.75f, 0.55f}},
    {"triangular prism", {0.30f, 0.60f, 0.85f}},
    {"square antiprism", {0.70f, 0.50f, 0.90f}},
    {"pentagonal prism", {0.20f, 0.50f, 0.45f}},
    {"pentagonal antiprism", {0.50f, 0.25f, 0.65f}},
    {"hexagonal prism", {0.45f, 0.85f, 0.70f}},
    {"octagonal prism", {0.15f, 0.35f, 0.65f}},
    {"decagonal prism", {0.35f, 0.80f, 0.95f}},
};
// Kinds not in the table: the larger prisms and antiprisms of the families,
// and whatever else a catalogue names.
constexpr Colour SpareColours[] = {
    {0.60f, 0.60f, 0.60f}, {0.75f, 0.45f, 0.35f}, {0.40f, 0.70f, 0.45f}, {0.45f, 0.45f, 0.75f},
    {0.80f, 0.65f, 0.40f}, {0.55f, 0.35f, 0.55f},
};

PolytopeSlice slice;
SliceScratch scratch;
const PolytopeLattice* slice_lattice = nullptr;

// The edges of the slice, each once: a side of a closed polyhedron is met
// in opposite directions by its two faces, and drawn from the one that
// meets it upwards.
std::vector<int> edge_pairs;

void draw_polytope_slice(const PolytopeLattice& lattice) {
    GeometrySink& g = geometry();
    if (app.solid == 1) {
        begin_surface();
        g.colours(GeometrySink::ColourUse::kMaterial);
        for (int f = 0; f < slice.face_count(); ++f) {
            g.colour(cell_kind_colour(lattice.cell_kind_names[lattice.cell_kind[slice.face_cell[f]]]));
            g.normal(slice.face_normal[f]);
            g.begin(Primitive::kTriangles);
            const int* c = slice.face(f);
            for (int k = 1; k + 1 < slice.face_size(f); ++k) {
                g.vertex(slice.points[c[0]]);
                g.vertex(slice.points[c[k]]);
                g.vertex(slice.points[c[k + 1]]);
            }
            g.end();
        }
        g.colours(GeometrySink::ColourUse::kNone);
        end_surface();
    }
    if (app.wireframe != 1) return;
    edge_pairs.clear();
    edge_pairs.reserve(slice.corners.capacity());
    for (int f = 0; f < slice.face_count(); ++f) {
        const int* c = slice.face(f);
        const int n = slice.face_size(f);
        for (int k = 0; k < n; ++k)
            if (c[k] < c[(k + 1) % n]) {
                edge_pairs.push_back(c[k]);
                edge_pairs.push_back(c[(k + 1) % n]);
            }
    }
    begin_wire();
    if (app.bold_line == 1) {
        bold_edge_material();
        const double radius = 0.05 * lattice.edge_length;
        g.tubes(slice.points.data(), reinterpret_cast<const int(*)[2]>(edge_pairs.data()),
                static_cast<int>(edge_pairs.size() / 2), radius, 12);
        g.balls(slice.points.data(), static_cast<int>(slice.points.size()), radius, 8, 6);
    } else {
        g.color(5);
        g.line_width(1);
        g.begin(Primitive::kLines);
        for (int p : edge_pairs) g.vertex(slice.points[p]);
        g.end();
    }
    end_wire();
}

// The hypersphere's slice: a sphere about the foot of its centre.
bool draw_sphere_slice(double level) {
    constexpr int kRings = 24, kSegments = 48;
    const Point4 c = model_centre();
    const double d = c.w - level, r2 = 1 - d * d;
    if (r2 <= 0) return false;
    const double r = std::sqrt(r2);
    static Point3 points[(kRings + 1) * (kSegments + 1)], normals[(kRings + 1) * (kSegments + 1)];
    static int triangles[2 * kRings * kSegments][3];
    const double pi = 3.141592653589793;
    for (int i = 0; i <= kRings; ++i)
        for (int j = 0; j <= kSegments; ++j) {
            const double theta = pi * i / kRings, phi = 2 * pi * j / kSegments;
            const Point3 n{std::sin(theta) * std::cos(phi), std::sin(theta) * std::sin(phi), std::cos(theta)};
            normals[i * (kSegments + 1) + j] = n;
            points[i * (kSegments + 1) + j] = Point3{c.x + r * n.x, c.y + r * n.y, c.z + r * n.z};
        }
    int t = 0;
    for (int i = 0; i < kRings; ++i)
        for (int j = 0; j < kSegments; ++j) {
            const int a = i * (kSegments + 1) + j, b = a + kSegments + 1;
            triangles[t][0] = a, triangles[t][1] = b, triangles[t][2] = a + 1, ++t;
            triangles[t][0] = a + 1, triangles[t][1] = b, triangles[t][2] = b + 1, ++t;
        }
    if (app.solid == 1) {
        begin_surface();
        geometry().triangle_mesh(points, normals, nullptr, triangles, t);
        end_surface();
    }
    if (app.wireframe == 1) {
        GeometrySink& g = geometry();
        begin_wire();
        g.color(5);
        g.line_width(1);
        for (int i = 1; i < kRings; i += 2) {
            g.begin(Primitive::kLineLoop);
            for (int j = 0; j < kSegments; ++j) g.vertex(points[i * (kSegments + 1) + j]);
            g.end();
        }
        end_wire();
    }
    return true;
}

// A surface meets the hyperplane in curves: the model's own cut, drawn
// with w dropped (the cut lies at w = level, so that is the hyperplane's
// frame) and nothing else of the model.
bool draw_surface_slice(double level) {
    double low = 0, high = 0;
    const bool known = model_w_range(low, high);
    if (known && (level < low || level > high)) return false;
    const int solid = app.solid, wireframe = app.wireframe, colour_by_w = app.colour_by_w,
              cross_section = app.cross_section, projection = app.projection_mode;
    app.solid = 0;
    app.wireframe = 0;
    app.colour_by_w = 0;
    app.cross_section = 1;
    app.projection_mode = kProjectionParallel;
    draw_model();
    app.solid = solid;
    app.wireframe = wireframe;
    app.colour_by_w = colour_by_w;
    app.cross_section = cross_section;
    app.projection_mode = projection;
    return true;
}

}  // namespace

Colour cell_kind_colour(const std::string& kind) {
    for (const KindColour& k : KindColours)
        if (kind == k.kind) return k.colour;
    unsigned hash = 2166136261u;  // FNV-1a: the same spare colour on every machine
    for (unsigned char ch : kind) hash = (hash ^ ch) * 16777619u;
    return SpareColours[hash % (sizeof SpareColours / sizeof SpareColours[0])];
}

const PolytopeSlice& last_slice() { return slice; }
const PolytopeLattice* last_slice_lattice() { return slice_lattice; }

bool model_w_range(double& low, double& high) {
    if (const PolytopeLattice* lattice = find_lattice(app.model_id)) {
        polytope_w_range(*lattice, app.transform, low, high);
        return true;
    }
    const Point4 c = model_centre();
    if (app.model_id == kModelHyperSphere) {
        low = c.w - 1;
        high = c.w + 1;
        return true;
    }
    // The grid models: the samples the last frame drew.
    const int n = app.mesh_resolution;
    if (app.model_id == kModelCube || app.model_id == kModelUserGraph || n < 4 || n > kGridMax) {
        low = c.w - app.model_radius;
        high = c.w + app.model_radius;
        return false;
    }
    bool any = false;
    for (int i = 1; i < n - 1; ++i)
        for (int j = 1; j < n - 1; ++j) {
            const double w = transform_point4(app.transform, surface_grid.samples[i][j]).w;
            if (!std::isfinite(w)) continue;
            if (!any || w < low) low = w;
            if (!any || w > high) high = w;
            any = true;
        }
    return any;
}

bool compute_polytope_slice() {
    slice.points.clear();
    slice.face_start.assign(1, 0);
    slice.corners.clear();
    slice.face_cell.clear();
    slice.face_normal.clear();
    slice_lattice = find_lattice(app.model_id);
    if (slice_lattice == nullptr) return false;
    slice_polytope(*slice_lattice, app.transform, section_level(), slice, scratch);
    return !slice.empty();
}

bool draw_model_slice() {
    const double level = section_level();
    if (compute_polytope_slice()) {
        draw_polytope_slice(*slice_lattice);
        return true;
    }
    if (slice_lattice != nullptr) return false;
    if (app.model_id == kModelHyperSphere) return draw_sphere_slice(level);
    return draw_surface_slice(level);
}

}  // namespace fourview
