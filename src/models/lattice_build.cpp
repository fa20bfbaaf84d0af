#include "models/lattice_build.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "geom4/vector4.h"

namespace fourview {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kCellSide = 0.125;  // of PointIndex's grid; vertices lie an edge (>= 1/4 or so) apart
constexpr int kMostCorners = 200;    // the 200-gon of x100x

std::uint64_t cell_key(const int (&c)[4]) {
    std::uint64_t key = 0;
    for (int i = 0; i < 4; ++i) key = key << 16 | static_cast<std::uint16_t>(c[i] + 32768);
    return key;
}

// The vertices joined to each vertex, as a table of rows.
struct Adjacency {
    std::vector<int> start, next;
    explicit Adjacency(const PolytopeLattice& l) : start(l.vertex_count() + 1, 0) {
        for (const auto& e : l.edges) {
            ++start[e[0] + 1];
            ++start[e[1] + 1];
        }
        for (int v = 0; v < l.vertex_count(); ++v) start[v + 1] += start[v];
        next.resize(start.back());
        std::vector<int> fill(start.begin(), start.end() - 1);
        for (const auto& e : l.edges) {
            next[fill[e[0]]++] = e[1];
            next[fill[e[1]]++] = e[0];
        }
    }
    int degree(int v) const { return start[v + 1] - start[v]; }
    const int* of(int v) const { return next.data() + start[v]; }
    // The place of w among v's neighbours, or -1.
    int slot(int v, int w) const {
        for (int k = 0; k < degree(v); ++k)
            if (of(v)[k] == w) return k;
        return -1;
    }
};

// An orthonormal basis (n1, n2) of the directions perpendicular to the
// orthonormal e1, e2: the two coordinate axes with the largest remainders.
void normal_space(const Point4& e1, const Point4& e2, Point4& n1, Point4& n2) {
    Point4 rest[4];
    for (int i = 0; i < 4; ++i) {
        Point4 a{};
        coordinate(a, i) = 1;
        a = minus(a, scaled(e1, dot(a, e1)));
        rest[i] = minus(a, scaled(e2, dot(a, e2)));
    }
    int best = 0;
    for (int i = 1; i < 4; ++i)
        if (dot(rest[i], rest[i]) > dot(rest[best], rest[best])) best = i;
    n1 = rest[best];
    unit(n1);
    int second = -1;
    double most = -1;
    for (int i = 0; i < 4; ++i) {
        if (i == best) continue;
        const Point4 r = minus(rest[i], scaled(n1, dot(rest[i], n1)));
        if (dot(r, r) > most) {
            most = dot(r, r);
            second = i;
            n2 = r;
        }
    }
    (void)second;
    unit(n2);
}

// The plane of face f: a corner and an orthonormal basis of its directions.
void face_plane(const PolytopeLattice& l, int f, Point4& origin, Point4& e1, Point4& e2) {
    const int* c = l.face(f);
    const int n = l.face_size(f);
    origin = l.vertices[c[0]];
    e1 = minus(l.vertices[c[1]], origin);
    unit(e1);
    e2 = minus(l.vertices[c[n - 1]], origin);
    e2 = minus(e2, scaled(e1, dot(e2, e1)));
    unit(e2);
}

// The two outermost directions, in the normal plane (n1, n2) of face f, of
// the edges that leave the face: false if they span a half-turn or more
// (the polygon is no face of the hull) or there are none.
bool outer_edges(const PolytopeLattice& l, const Adjacency& adj, int f, const Point4& n1, const Point4& n2,
                 double (&low)[2], double (&high)[2]) {
    const int* c = l.face(f);
    const int n = l.face_size(f);
    double ref[2] = {0, 0};
    double lo = 0, hi = 0;
    bool any = false;
    for (int k = 0; k < n; ++k) {
        const Point4& p = l.vertices[c[k]];
        for (int j = 0; j < adj.degree(c[k]); ++j) {
            const Point4 d = minus(l.vertices[adj.of(c[k])[j]], p);
            double u[2] = {dot(d, n1), dot(d, n2)};
            const double r = std::sqrt(u[0] * u[0] + u[1] * u[1]);
            if (r < 1e-7 * l.edge_length) continue;  // an edge of the face, or in its plane
            u[0] /= r;
            u[1] /= r;
            if (!any) {
                ref[0] = u[0];
                ref[1] = u[1];
                low[0] = high[0] = u[0];
                low[1] = high[1] = u[1];
                any = true;
                continue;
            }
            // A measure that grows with the angle from the first direction:
            // 1 - cos on the one side, cos - 1 on the other.
            const double cosine = ref[0] * u[0] + ref[1] * u[1];
            const double angle = ref[0] * u[1] - ref[1] * u[0] >= 0 ? 1 - cosine : cosine - 1;
            if (angle < lo) {
                lo = angle;
                low[0] = u[0];
                low[1] = u[1];
            }
            if (angle > hi) {
                hi = angle;
                high[0] = u[0];
                high[1] = u[1];
            }
        }
    }
    // Less than a half-turn from low round to high.
    return any && low[0] * high[1] - low[1] * high[0] > 1e-7;
}

struct CellKind {
    const char* name;
    int sizes[3][2];  // {corners, count} of its faces, by corners
};
// The cells of the convex uniform polychora other than prisms and antiprisms.
constexpr CellKind kCellKinds[] = {
    {"tetrahedron", {{3, 4}}},
    {"cube", {{4, 6}}},
    {"octahedron", {{3, 8}}},
    {"dodecahedron", {{5, 12}}},
    {"icosahedron", {{3, 20}}},
    {"truncated tetrahedron", {{3, 4}, {6, 4}}},
    {"cuboctahedron", {{3, 8}, {4, 6}}},
    {"truncated cube", {{3, 8}, {8, 6}}},
    {"truncated octahedron", {{4, 6}, {6, 8}}},
    {"rhombicuboctahedron", {{3, 8}, {4, 18}}},
    {"truncated cuboctahedron", {{4, 12}, {6, 8}, {8, 6}}},
    {"snub cube", {{3, 32}, {4, 6}}},
    {"icosidodecahedron", {{3, 20}, {5, 12}}},
    {"truncated dodecahedron", {{3, 20}, {10, 12}}},
    {"truncated icosahedron", {{5, 12}, {6, 20}}},
    {"rhombicosidodecahedron", {{3, 20}, {4, 30}, {5, 12}}},
    {"truncated icosidodecahedron", {{4, 30}, {6, 20}, {10, 12}}},
    {"snub dodecahedron", {{3, 80}, {5, 12}}},
};

const char* const kPolygonNames[] = {"triangle", "square", "pentagon", "hexagon", "heptagon",
                                     "octagon", "enneagon", "decagon", "hendecagon", "dodecagon"};

// The name of a cell with these faces ({corners: count}).
std::string cell_kind_name(const std::map<int, int>& sizes) {
    for (const CellKind& kind : kCellKinds) {
        std::map<int, int> want;
        for (const auto& s : kind.sizes)
            if (s[0] > 0) want[s[0]] = s[1];
        if (want == sizes) return kind.name;
    }
    // A prism: two n-gons and n squares; an antiprism: two n-gons and 2n
    // triangles (the 3- and 4-gonal ones are the octahedron and cube above).
    if (sizes.size() == 2) {
        const auto a = *sizes.begin(), b = *sizes.rbegin();
        const std::string base = b.first == 4 ? "square" : polygon_name(b.first, false) + "al";
        if (a.first == 3 && b.second == 2 && a.second == 2 * b.first) return base + " antiprism";
        if (a.first == 3 && a.second == 2 && b.first == 4 && b.second == 3) return "triangular prism";
        if (a.first == 4 && b.second == 2 && a.second == b.first) return base + " prism";
    }
    std::string name = "polyhedron of";
    for (const auto& s : sizes) name += " " + std::to_string(s.second) + " " + polygon_name(s.first, true);
    return name;
}

}  // namespace

std::size_t slot_of(std::uint64_t cell, std::size_t mask) { return (cell * 0x9E3779B97F4A7C15ull >> 20) & mask; }

void PointIndex::reserve(std::size_t n) {
    std::size_t size = 16;
    while (size < 2 * n) size *= 2;
    if (size <= slots_.size()) return;
    std::vector<Slot> old(size, Slot{0, -1});
    old.swap(slots_);
    used_ = 0;
    for (const Slot& s : old)
        if (s.point >= 0) insert(s.point);
}

int PointIndex::find(const Point4& p) const {
    if (slots_.empty()) return -1;
    const std::size_t mask = slots_.size() - 1;
    int base[4], side[4];
    for (int i = 0; i < 4; ++i) {
        const double x = coordinate(p, i) / kCellSide;
        const double f = std::floor(x);
        base[i] = static_cast<int>(f);
        side[i] = x - f < kPointTolerance / kCellSide ? -1 : (f + 1 - x < kPointTolerance / kCellSide ? 1 : 0);
    }
    for (int pick = 0; pick < 16; ++pick) {
        int c[4];
        bool skip = false;
        for (int i = 0; i < 4; ++i) {
            const bool other = pick >> i & 1;
            if (other && side[i] == 0) skip = true;
            c[i] = base[i] + (other ? side[i] : 0);
        }
        if (skip) continue;
        const std::uint64_t cell = cell_key(c);
        for (std::size_t k = slot_of(cell, mask); slots_[k].point >= 0; k = (k + 1) & mask)
            if (slots_[k].cell == cell && distance2(points_[slots_[k].point], p) < kPointTolerance * kPointTolerance)
                return slots_[k].point;
    }
    return -1;
}

void PointIndex::insert(int point) {
    if (2 * (used_ + 1) > slots_.size()) reserve(2 * (used_ + 1));
    int c[4];
    for (int i = 0; i < 4; ++i) c[i] = static_cast<int>(std::floor(coordinate(points_[point], i) / kCellSide));
    const std::uint64_t cell = cell_key(c);
    const std::size_t mask = slots_.size() - 1;
    std::size_t k = slot_of(cell, mask);
    while (slots_[k].point >= 0) k = (k + 1) & mask;
    slots_[k] = Slot{cell, point};
    ++used_;
}

void find_lattice_edges(PolytopeLattice& l) {
    const int n = l.vertex_count();
    double shortest = 0;
    for (int a = 0; a < n; ++a)
        for (int b = a + 1; b < n; ++b) {
            const double d = distance2(l.vertices[a], l.vertices[b]);
            if (shortest == 0 || d < shortest) shortest = d;
        }
    l.edge_length = std::sqrt(shortest);
    l.edges.clear();
    for (int a = 0; a < n; ++a)
        for (int b = a + 1; b < n; ++b)
            if (std::fabs(distance2(l.vertices[a], l.vertices[b]) - shortest) <= 1e-9 * shortest)
                l.edges.push_back({a, b});
}

namespace {

// In the normal space of each polygon's plane the two outermost edges
// leaving it give the hyperplanes of its two cells; a polygon whose edges
// leave it all round is inside the hull: dropped when asked, else an error.
std::string hull_faces_and_cells(PolytopeLattice& l, const Adjacency& adj, bool drop_inner) {
    std::vector<Point4> normals;
    std::vector<double> offsets;
    PointIndex index(normals);
    std::vector<int> face_cell, start{0}, kept;
    face_cell.reserve(2 * l.face_count());
    kept.reserve(l.face_corners.size());
    for (int f = 0; f < l.face_count(); ++f) {
        Point4 o, e1, e2, n1, n2;
        face_plane(l, f, o, e1, e2);
        normal_space(e1, e2, n1, n2);
        double low[2], high[2];
        if (!outer_edges(l, adj, f, n1, n2, low, high)) {
            if (drop_inner) continue;
            return "a polygon does not bound the hull";
        }
        kept.insert(kept.end(), l.face(f), l.face(f) + l.face_size(f));
        start.push_back(static_cast<int>(kept.size()));
        // Turned a quarter away from the other outer edge: the outward
        // normals of the two hyperplanes through the face.
        const double out[2][2] = {{low[1], -low[0]}, {-high[1], high[0]}};
        for (int s = 0; s < 2; ++s) {
            const Point4 normal = plus(scaled(n1, out[s][0]), scaled(n2, out[s][1]));
            int c = index.find(normal);
            if (c < 0) {
                c = static_cast<int>(normals.size());
                normals.push_back(normal);
                offsets.push_back(dot(normal, o));
                index.insert(c);
            }
            face_cell.push_back(c);
        }
    }
    l.face_start.swap(start);
    l.face_corners.swap(kept);
    if (l.face_count() == 0) return "the vertices span no polygon of edges";
    const int cells = static_cast<int>(normals.size());
    l.cell_start.assign(cells + 1, 0);
    for (int c : face_cell) ++l.cell_start[c + 1];
    for (int c = 0; c < cells; ++c) l.cell_start[c + 1] += l.cell_start[c];
    l.cell_faces.assign(l.cell_start.back(), 0);
    std::vector<int> fill(l.cell_start.begin(), l.cell_start.end() - 1);
    for (int k = 0; k < 2 * l.face_count(); ++k) l.cell_faces[fill[face_cell[k]]++] = k / 2;
    l.cell_normal = normals;
    l.cell_offset = offsets;

    // Kinds by their faces, listed with the most faces first.
    std::vector<std::string> names(cells);
    std::map<std::string, int> face_counts;
    for (int c = 0; c < cells; ++c) {
        std::map<int, int> sizes;
        for (int k = l.cell_start[c]; k < l.cell_start[c + 1]; ++k) ++sizes[l.face_size(l.cell_faces[k])];
        names[c] = cell_kind_name(sizes);
        face_counts[names[c]] = l.cell_start[c + 1] - l.cell_start[c];
    }
    std::vector<std::pair<int, std::string>> order;
    for (const auto& kv : face_counts) order.push_back({-kv.second, kv.first});
    std::sort(order.begin(), order.end());
    l.cell_kind_names.clear();
    for (const auto& o : order) l.cell_kind_names.push_back(o.second);
    l.cell_kind.resize(cells);
    for (int c = 0; c < cells; ++c)
        l.cell_kind[c] = static_cast<int>(
            std::find(l.cell_kind_names.begin(), l.cell_kind_names.end(), names[c]) - l.cell_kind_names.begin());
    return "";
}

}  // namespace

std::string find_lattice_faces_and_cells(PolytopeLattice& l) {
    const Adjacency adj(l);
    // used[start[v] * ... ]: the corners (two edges at a vertex) already in
    // a polygon; two edges at a vertex span one plane, so one polygon.
    std::vector<int> used_start(l.vertex_count() + 1, 0);
    for (int v = 0; v < l.vertex_count(); ++v) used_start[v + 1] = used_start[v] + adj.degree(v) * adj.degree(v);
    std::vector<char> used(used_start.back(), 0);
    auto mark = [&](int prev, int v, int next) {
        const int a = adj.slot(v, prev), b = adj.slot(v, next), d = adj.degree(v);
        if (a < 0 || b < 0) return;
        used[used_start[v] + a * d + b] = used[used_start[v] + b * d + a] = 1;
    };
    l.face_start.assign(1, 0);
    l.face_corners.clear();
    const double edge = l.edge_length;
    std::vector<int> corners;
    for (int v = 0; v < l.vertex_count(); ++v) {
        const int d = adj.degree(v);
        const Point4& p = l.vertices[v];
        for (int i = 0; i < d; ++i)
            for (int j = i + 1; j < d; ++j) {
                if (used[used_start[v] + i * d + j]) continue;
                const int a = adj.of(v)[i], b = adj.of(v)[j];
                const Point4 da = minus(l.vertices[a], p), db = minus(l.vertices[b], p);
                // The corner angle of a regular n-gon is pi - 2 pi / n.
                const double cosine = dot(da, db) / (edge * edge);
                if (!(cosine > -1 + 1e-9)) continue;
                const double turn = kPi - std::acos(std::max(-1.0, std::min(1.0, cosine)));
                const double sides = 2 * kPi / turn;
                const int n = static_cast<int>(std::lround(sides));
                if (n < 3 || n > kMostCorners || std::fabs(sides - n) > 1e-5 * n) continue;
                // The polygon's centre lies on the corner's bisector, its
                // circumradius away. Turning about it by 2 pi / n takes a
                // corner to the next: q(k+1) = 2 cos(2 pi / n) q(k) - q(k-1)
                // from the centre, each step from the corners found, so that
                // no error gathers; the next corner is the neighbour there.
                const double radius = edge / (2 * std::sin(kPi / n));
                Point4 bisector = plus(da, db);
                if (!unit(bisector)) continue;
                const Point4 centre = plus(p, scaled(bisector, radius));
                const double twice_cos = 2 * std::cos(2 * kPi / n);
                corners.assign(1, v);
                corners.push_back(a);
                bool whole = true;
                for (int k = 2; k < n && whole; ++k) {
                    const int here = corners[k - 1];
                    const Point4 q = plus(centre, minus(scaled(minus(l.vertices[here], centre), twice_cos),
                                                        minus(l.vertices[corners[k - 2]], centre)));
                    int w = -1;
                    for (int j = 0; j < adj.degree(here) && w < 0; ++j)
                        if (distance2(l.vertices[adj.of(here)[j]], q) < kPointTolerance * kPointTolerance)
                            w = adj.of(here)[j];
                    whole = w >= 0;
                    corners.push_back(w);
                }
                if (!whole || corners.back() != b) continue;
                for (int k = 0; k < n; ++k) mark(corners[(k + n - 1) % n], corners[k], corners[(k + 1) % n]);
                l.face_corners.insert(l.face_corners.end(), corners.begin(), corners.end());
                l.face_start.push_back(static_cast<int>(l.face_corners.size()));
            }
    }
    return hull_faces_and_cells(l, adj, true);
}

std::string find_lattice_cells(PolytopeLattice& l) { return hull_faces_and_cells(l, Adjacency(l), false); }

std::string lattice_from_vertices(PolytopeLattice& l) {
    if (l.vertex_count() < 5) return "fewer than five vertices";
    double radius = 0;
    for (const Point4& p : l.vertices) radius = std::max(radius, std::sqrt(dot(p, p)));
    l.circumradius = radius;
    if (l.edges.empty()) find_lattice_edges(l);
    return find_lattice_faces_and_cells(l);
}

void scale_lattice(PolytopeLattice& l, double factor) {
    for (Point4& p : l.vertices) p = scaled(p, factor);
    for (double& o : l.cell_offset) o *= factor;
    l.edge_length *= factor;
    l.circumradius *= factor;
}

std::string polygon_name(int corners, bool plural) {
    std::string name = corners >= 3 && corners <= 12 ? kPolygonNames[corners - 3] : std::to_string(corners) + "-gon";
    return plural ? name + "s" : name;
}

std::string plural_cell_name(const std::string& name) {
    const std::string hedron = "hedron";
    if (name.size() >= hedron.size() && name.compare(name.size() - hedron.size(), hedron.size(), hedron) == 0)
        return name.substr(0, name.size() - 2) + "a";
    return name + "s";
}

std::string lattice_counts(const PolytopeLattice& l) {
    std::map<int, int> sizes;
    for (int f = 0; f < l.face_count(); ++f) ++sizes[l.face_size(f)];
    std::vector<int> kinds(l.cell_kind_names.size(), 0);
    for (int k : l.cell_kind) ++kinds[k];
    std::string s = std::to_string(l.vertex_count()) + " vertices, " + std::to_string(l.edge_count()) + " edges, ";
    const char* plus_sign = "";
    for (const auto& kv : sizes) {
        s += plus_sign + std::to_string(kv.second) + " " + polygon_name(kv.first, kv.second != 1);
        plus_sign = " + ";
    }
    s += ", ";
    plus_sign = "";
    for (std::size_t k = 0; k < kinds.size(); ++k) {
        if (kinds[k] == 0) continue;
        const std::string& name = l.cell_kind_names[k];
        s += plus_sign + std::to_string(kinds[k]) + " " + (kinds[k] == 1 ? name : plural_cell_name(name));
        plus_sign = " + ";
    }
    return s;
}

}  // namespace fourview
