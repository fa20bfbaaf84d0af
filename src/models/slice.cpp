#include "models/slice.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "geom4/transform.h"
#include "geom4/vector3.h"

namespace fourview {

namespace {

constexpr double kOnHyperplane = 1e-9;

// The edge between consecutive corners of every 2-face, found once per
// lattice: the slice asks for it at every corner of every cell each frame.
// What tells one lattice from another at the same address (the uniform
// model's lattice is replaced in place by the next one chosen): the sizes
// and places of its tables and a sample of their entries, a few
// microseconds a frame whatever the polytope.
std::uint64_t lattice_fingerprint(const PolytopeLattice& lattice) {
    std::uint64_t h = 1469598103934665603ull;
    auto mix = [&h](std::uint64_t v) { h = (h ^ v) * 1099511628211ull; };
    auto sample = [&mix](const std::vector<int>& table) {
        mix(table.size());
        mix(reinterpret_cast<std::uintptr_t>(table.data()));
        const std::size_t step = table.size() / 256 + 1;
        for (std::size_t k = 0; k < table.size(); k += step) mix(static_cast<std::uint64_t>(table[k]));
    };
    sample(lattice.face_corners);
    sample(lattice.cell_faces);
    mix(lattice.vertices.size());
    mix(reinterpret_cast<std::uintptr_t>(lattice.vertices.data()));
    mix(lattice.edges.size());
    mix(reinterpret_cast<std::uintptr_t>(lattice.edges.data()));
    const std::size_t step = lattice.edges.size() / 256 + 1;
    for (std::size_t k = 0; k < lattice.edges.size(); k += step)
        mix(static_cast<std::uint64_t>(lattice.edges[k][0]) << 32 | static_cast<std::uint32_t>(lattice.edges[k][1]));
    return h;
}

void index_corner_edges(const PolytopeLattice& lattice, SliceScratch& s) {
    const std::uint64_t fingerprint = lattice_fingerprint(lattice);
    if (s.lattice == &lattice && s.fingerprint == fingerprint) return;
    const int v_count = lattice.vertex_count();
    // Each edge filed under its lower end (the tables of the regular models
    // keep their own order of ends).
    auto low = [&](int e) { return std::min(lattice.edges[e][0], lattice.edges[e][1]); };
    auto high = [&](int e) { return std::max(lattice.edges[e][0], lattice.edges[e][1]); };
    std::vector<int> start(v_count + 1, 0), incident;
    for (int e = 0; e < lattice.edge_count(); ++e) ++start[low(e) + 1];
    for (int v = 0; v < v_count; ++v) start[v + 1] += start[v];
    incident.assign(lattice.edges.size(), -1);
    std::vector<int> fill(start.begin(), start.end() - 1);
    for (int e = 0; e < lattice.edge_count(); ++e) incident[fill[low(e)]++] = e;
    auto find = [&](int a, int b) {
        if (a > b) std::swap(a, b);
        for (int k = start[a]; k < start[a + 1]; ++k)
            if (high(incident[k]) == b) return incident[k];
        return -1;
    };
    s.corner_edge.assign(lattice.face_corners.size(), -1);
    for (int f = 0; f < lattice.face_count(); ++f) {
        const int n = lattice.face_size(f);
        const int* c = lattice.face(f);
        for (int k = 0; k < n; ++k) s.corner_edge[lattice.face_start[f] + k] = find(c[k], c[(k + 1) % n]);
    }
    // The vertices of every cell, each once: most cells lie wholly on one
    // side, and their vertices alone tell so.
    s.cell_vertex_start.assign(1, 0);
    s.cell_vertices.clear();
    std::vector<int> seen(v_count, -1);
    for (int c = 0; c < lattice.cell_count(); ++c) {
        for (int k = lattice.cell_start[c]; k < lattice.cell_start[c + 1]; ++k) {
            const int f = lattice.cell_faces[k];
            for (int j = 0; j < lattice.face_size(f); ++j) {
                const int v = lattice.face(f)[j];
                if (seen[v] == c) continue;
                seen[v] = c;
                s.cell_vertices.push_back(v);
            }
        }
        s.cell_vertex_start.push_back(static_cast<int>(s.cell_vertices.size()));
    }
    // Room for the largest slice there can be, so that no frame allocates:
    // a cell's section has at most a corner per vertex and edge of the cell.
    std::size_t cell_slots = s.cell_vertices.size(), largest_cell = 0;
    for (int c = 0; c < lattice.cell_count(); ++c) {
        std::size_t slots = s.cell_vertex_start[c + 1] - s.cell_vertex_start[c];
        for (int k = lattice.cell_start[c]; k < lattice.cell_start[c + 1]; ++k)
            slots += lattice.face_size(lattice.cell_faces[k]);
        cell_slots += slots - (s.cell_vertex_start[c + 1] - s.cell_vertex_start[c]);
        largest_cell = std::max(largest_cell, slots);
    }
    s.corner_capacity = cell_slots;
    s.gathered.reserve(largest_cell);
    s.angle.reserve(largest_cell);
    s.order.reserve(largest_cell);
    s.flat_faces.reserve(lattice.cell_count());
    s.lattice = &lattice;
    s.fingerprint = fingerprint;
}

// The same corners facing the same way: a 2-face lying in the hyperplane
// is the section of both its cells when they lie on either side of it.
bool same_face(const PolytopeSlice& out, int f, int g) {
    if (out.face_size(f) != out.face_size(g) || dot(out.face_normal[f], out.face_normal[g]) <= 0)
        return false;
    const int* a = out.face(f);
    const int* b = out.face(g);
    for (int i = 0; i < out.face_size(f); ++i)
        if (std::find(b, b + out.face_size(g), a[i]) == b + out.face_size(g)) return false;
    return true;
}

}  // namespace

void polytope_w_range(const PolytopeLattice& lattice, const Matrix5& transform, double& low,
                      double& high) {
    low = 0;
    high = 0;
    for (int v = 0; v < lattice.vertex_count(); ++v) {
        const double w = transform_point4(transform, lattice.vertices[v]).w;
        if (v == 0 || w < low) low = w;
        if (v == 0 || w > high) high = w;
    }
}

void slice_polytope(const PolytopeLattice& lattice, const Matrix5& transform, double level,
                    PolytopeSlice& out, SliceScratch& s) {
    out.points.clear();
    out.face_start.assign(1, 0);
    out.corners.clear();
    out.face_cell.clear();
    out.face_normal.clear();
    index_corner_edges(lattice, s);
    out.points.reserve(lattice.vertices.size() + lattice.edges.size());
    out.corners.reserve(s.corner_capacity);
    out.face_start.reserve(lattice.cell_count() + 1);
    out.face_cell.reserve(lattice.cell_count());
    out.face_normal.reserve(lattice.cell_count());
    const int v_count = lattice.vertex_count();
    const int ids = v_count + lattice.edge_count();
    s.moved.resize(v_count);
    s.side.resize(v_count);
    s.point_of.assign(ids, -1);
    s.stamp.assign(ids, -1);
    bool below = false, above = false;
    for (int v = 0; v < v_count; ++v) {
        s.moved[v] = transform_point4(transform, lattice.vertices[v]);
        double d = s.moved[v].w - level;
        if (std::fabs(d) < kOnHyperplane) d = 0;
        s.side[v] = d;
        below = below || d < 0;
        above = above || d > 0;
    }
    if (!(below && above) && v_count > 0) {
        // Wholly on one side: only a cell, face, edge or vertex can touch.
        int on = 0;
        for (int v = 0; v < v_count; ++v) on += s.side[v] == 0;
        if (on < 3) return;
    }
    std::vector<int>& flat_faces_seen = s.flat_faces;
    flat_faces_seen.clear();
    const Point3 zero{};
    for (int c = 0; c < lattice.cell_count(); ++c) {
        int on = 0;
        bool cell_below = false, cell_above = false;
        for (int k = s.cell_vertex_start[c]; k < s.cell_vertex_start[c + 1]; ++k) {
            const double d = s.side[s.cell_vertices[k]];
            on += d == 0;
            cell_below = cell_below || d < 0;
            cell_above = cell_above || d > 0;
        }
        if (!(cell_below && cell_above) && on < 3) continue;
        s.gathered.clear();
        bool all_vertices = true;
        for (int k = lattice.cell_start[c]; k < lattice.cell_start[c + 1]; ++k) {
            const int f = lattice.cell_faces[k];
            const int n = lattice.face_size(f);
            const int* corner = lattice.face(f);
            for (int j = 0; j < n; ++j) {
                const int a = corner[j], b = corner[(j + 1) % n];
                if (s.side[a] == 0 && s.stamp[a] != c) {
                    s.stamp[a] = c;
                    s.gathered.push_back(a);
                }
                const int e = s.corner_edge[lattice.face_start[f] + j];
                if (e >= 0 && s.side[a] * s.side[b] < 0 && s.stamp[v_count + e] != c) {
                    s.stamp[v_count + e] = c;
                    s.gathered.push_back(v_count + e);
                    all_vertices = false;
                }
            }
        }
        const int n = static_cast<int>(s.gathered.size());
        if (n < 3) continue;
        // The cell's outward normal, turned, has its hyperplane part as the
        // outward normal of the section; none when the cell lies parallel.
        const Point4& m = lattice.cell_normal[c];
        Point3 normal{transform[0] * m.x + transform[1] * m.y + transform[2] * m.z + transform[3] * m.w,
                      transform[5] * m.x + transform[6] * m.y + transform[7] * m.z + transform[8] * m.w,
                      transform[10] * m.x + transform[11] * m.y + transform[12] * m.z + transform[13] * m.w};
        if (dot(normal, normal) < 1e-18) continue;
        normal = unit(normal);
        // The points, each made once for all the cells that share it.
        Point3 centre = zero;
        for (int& id : s.gathered) {
            int& p = s.point_of[id];
            if (p < 0) {
                p = static_cast<int>(out.points.size());
                if (id < v_count) {
                    const Point4& q = s.moved[id];
                    out.points.push_back(Point3{q.x, q.y, q.z});
                } else {
                    const auto& e = lattice.edges[id - v_count];
                    const Point4 &a = s.moved[e[0]], &b = s.moved[e[1]];
                    const double t = s.side[e[0]] / (s.side[e[0]] - s.side[e[1]]);
                    out.points.push_back(Point3{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t,
                                                a.z + (b.z - a.z) * t});
                }
            }
            id = p;
            centre = Point3{centre.x + out.points[p].x, centre.y + out.points[p].y,
                            centre.z + out.points[p].z};
        }
        centre = Point3{centre.x / n, centre.y / n, centre.z / n};
        // Every gathered point is a corner (a vertex of the cell stays
        // extreme in its section), so the angle about the centre orders them.
        const Point3 u = unit(minus(out.points[s.gathered[0]], centre));
        const Point3 v = cross(normal, u);
        s.angle.resize(n);
        s.order.resize(n);
        for (int k = 0; k < n; ++k) {
            const Point3 d = minus(out.points[s.gathered[k]], centre);
            s.angle[k] = std::atan2(dot(d, v), dot(d, u));
            s.order[k] = k;
        }
        std::sort(s.order.begin(), s.order.end(), [&s](int a, int b) { return s.angle[a] < s.angle[b]; });
        for (int k = 0; k < n; ++k) out.corners.push_back(s.gathered[s.order[k]]);
        out.face_start.push_back(static_cast<int>(out.corners.size()));
        out.face_cell.push_back(c);
        out.face_normal.push_back(normal);
        if (all_vertices) {
            const int f = out.face_count() - 1;
            bool twin = false;
            for (int g : flat_faces_seen) twin = twin || same_face(out, f, g);
            if (twin) {
                out.corners.resize(out.face_start[f]);
                out.face_start.pop_back();
                out.face_cell.pop_back();
                out.face_normal.pop_back();
            } else {
                flat_faces_seen.push_back(f);
            }
        }
    }
}

double slice_volume(const PolytopeSlice& slice) {
    double six_v = 0;
    for (int f = 0; f < slice.face_count(); ++f) {
        const int* c = slice.face(f);
        const Point3& a = slice.points[c[0]];
        for (int k = 1; k + 1 < slice.face_size(f); ++k)
            six_v += dot(a, cross(slice.points[c[k]], slice.points[c[k + 1]]));
    }
    return six_v / 6;
}

}  // namespace fourview
