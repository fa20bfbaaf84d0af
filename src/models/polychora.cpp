#include "models/polychora.h"

#include <cmath>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "geom4/vector4.h"
#include "models/lattice_build.h"
#include "models/tables.h"
#include "models/uniform.h"

namespace fourview {

namespace {

constexpr double kPhi = 1.6180339887498949;  // the golden ratio
constexpr int kMaxVertices = 600;
constexpr int kMaxDegree = 12;


// A polytope with more pieces than its storage holds is a fault of this
// file's tables, never of the user: stop at once rather than draw a part.
[[noreturn]] void overflow(const char* what, int capacity) {
    std::fprintf(stderr, "fourview: a polytope has more than its %d %s\n", capacity, what);
    std::abort();
}

// Fixed storage of one generated polytope.
template <int V, int E, int F, int K>
struct Storage {
    Point4 vertices[V];
    int edges[E][2];
    int faces[F * K];
};

// A growing list of distinct points, scaled as they arrive.
struct PointList {
    Point4* points;
    int capacity;
    int count = 0;
    double scale;
    void add(const Point4& p) {
        const Point4 q = scaled(p, scale);
        for (int k = 0; k < count; ++k)
            if (distance2(points[k], q) < 1e-12) return;
        if (count == capacity) overflow("vertices", capacity);
        points[count++] = q;
    }
};

// Every permutation of the four coordinates (only the even ones when asked),
// each with every choice of signs of its non-zero entries.
void add_orbit(PointList& list, const double (&base)[4], bool even_only) {
    static const int kPermutations[24][4] = {
        {0, 1, 2, 3}, {0, 1, 3, 2}, {0, 2, 1, 3}, {0, 2, 3, 1}, {0, 3, 1, 2}, {0, 3, 2, 1},
        {1, 0, 2, 3}, {1, 0, 3, 2}, {1, 2, 0, 3}, {1, 2, 3, 0}, {1, 3, 0, 2}, {1, 3, 2, 0},
        {2, 0, 1, 3}, {2, 0, 3, 1}, {2, 1, 0, 3}, {2, 1, 3, 0}, {2, 3, 0, 1}, {2, 3, 1, 0},
        {3, 0, 1, 2}, {3, 0, 2, 1}, {3, 1, 0, 2}, {3, 1, 2, 0}, {3, 2, 0, 1}, {3, 2, 1, 0},
    };
    for (const auto& perm : kPermutations) {
        int inversions = 0;
        for (int i = 0; i < 4; ++i)
            for (int j = i + 1; j < 4; ++j) inversions += perm[i] > perm[j];
        if (even_only && inversions % 2 == 1) continue;
        for (int signs = 0; signs < 16; ++signs) {
            double c[4];
            for (int i = 0; i < 4; ++i) c[i] = (signs >> i & 1) ? -base[perm[i]] : base[perm[i]];
            list.add(Point4{c[0], c[1], c[2], c[3]});
        }
    }
}

// Adjacency of the polytope being built: scratch of the generation only.
struct Adjacency {
    int degree[kMaxVertices];
    int neighbours[kMaxVertices][kMaxDegree];
};

// The vertex pairs at the shortest distance, within a relative tolerance.
int find_edges(const Point4* v, int n, int (*edges)[2], int capacity, Adjacency& adj,
               double& edge_length) {
    double shortest = 0;
    for (int a = 0; a < n; ++a)
        for (int b = a + 1; b < n; ++b) {
            const double d = distance2(v[a], v[b]);
            if (shortest == 0 || d < shortest) shortest = d;
        }
    edge_length = std::sqrt(shortest);
    int count = 0;
    for (int a = 0; a < n; ++a) adj.degree[a] = 0;
    for (int a = 0; a < n; ++a)
        for (int b = a + 1; b < n; ++b) {
            if (std::fabs(distance2(v[a], v[b]) - shortest) > 1e-9 * shortest) continue;
            if (count == capacity) overflow("edges", capacity);
            edges[count][0] = a;
            edges[count][1] = b;
            ++count;
            if (adj.degree[a] < kMaxDegree) adj.neighbours[a][adj.degree[a]++] = b;
            if (adj.degree[b] < kMaxDegree) adj.neighbours[b][adj.degree[b]++] = a;
        }
    return count;
}

// The 2-faces with `size` corners. A face is a plane polygon of edges; two
// edges at a vertex span at most one face. So from every vertex v and every
// pair of its neighbours (a, b), walk from v to a and on along edges that
// stay in the plane of v, a and b until the walk comes back to v: a closed
// walk of `size` edges that ends through b is a face. Every face is met
// once from each corner; it is kept from its lowest-numbered one. Other
// planes through two edges (the 16-cell's squares through opposite
// neighbours, the 600-cell's decagons) close after more edges, or never.
int find_faces(const Point4* v, int n, const Adjacency& adj, int size, int* faces, int capacity) {
    int count = 0;
    for (int s = 0; s < n; ++s)
        for (int i = 0; i < adj.degree[s]; ++i)
            for (int j = i + 1; j < adj.degree[s]; ++j) {
                const int a = adj.neighbours[s][i], b = adj.neighbours[s][j];
                if (a < s || b < s) continue;
                // An orthonormal basis (e1, e2) of the plane's directions.
                Point4 e1 = minus(v[a], v[s]);
                e1 = scaled(e1, 1 / std::sqrt(dot(e1, e1)));
                Point4 e2 = minus(v[b], v[s]);
                e2 = minus(e2, scaled(e1, dot(e2, e1)));
                const double length2 = dot(e2, e2);
                if (length2 < 1e-12) continue;  // a and b in line with v
                e2 = scaled(e2, 1 / std::sqrt(length2));
                auto in_plane = [&](int k) {
                    const Point4 d = minus(v[k], v[s]);
                    const Point4 r = minus(minus(d, scaled(e1, dot(d, e1))), scaled(e2, dot(d, e2)));
                    return dot(r, r) < 1e-12;
                };
                int walk[8] = {s, a};
                int length = 2;
                int previous = s, current = a;
                bool closed = false, lowest = true;
                while (length <= size) {
                    int next = -1;
                    for (int k = 0; k < adj.degree[current]; ++k) {
                        const int c = adj.neighbours[current][k];
                        if (c != previous && in_plane(c)) {
                            next = c;
                            break;
                        }
                    }
                    if (next < 0) break;
                    if (next == s) {
                        closed = true;
                        break;
                    }
                    if (next < s) lowest = false;
                    walk[length++] = next;
                    previous = current;
                    current = next;
                }
                if (!closed || !lowest || length != size || walk[size - 1] != b) continue;
                if (count == capacity) overflow("faces", capacity);
                for (int k = 0; k < size; ++k) faces[count * size + k] = walk[k];
                ++count;
            }
    return count;
}

// Scratch adjacency shared by the generations, which run one at a time.
Adjacency& scratch_adjacency() {
    static Adjacency adjacency;
    return adjacency;
}

template <int V, int E, int F, int K>
Polytope generate(Storage<V, E, F, K>& store, const char* cell_name, double scale,
                  void (*add_points)(PointList&)) {
    PointList list{store.vertices, V, 0, scale};
    add_points(list);
    Polytope p{};
    p.cell_name = cell_name;
    p.vertices = store.vertices;
    p.vertex_count = list.count;
    Adjacency& adj = scratch_adjacency();
    p.edge_count = find_edges(store.vertices, list.count, store.edges, E, adj, p.edge_length);
    p.edges = store.edges;
    p.face_size = K;
    p.face_count = find_faces(store.vertices, list.count, adj, K, store.faces, F);
    p.faces = store.faces;
    return p;
}

// The description of a polytope whose edges and faces are tabled.
template <int V, int E>
Polytope from_tables(const Point4 (&vertices)[V], const int (&edges)[E][2], const int* faces,
                     int face_size, int face_count, const char* cell_name) {
    Polytope p{};
    p.cell_name = cell_name;
    p.vertices = vertices;
    p.vertex_count = V;
    p.edges = edges;
    p.edge_count = E;
    p.faces = faces;
    p.face_size = face_size;
    p.face_count = face_count;
    p.edge_length = std::sqrt(distance2(vertices[edges[0][0]], vertices[edges[0][1]]));
    return p;
}

const Polytope& five_cell() {
    static Polytope p = from_tables(FiveCellVertices, FiveCellEdges, &FiveCellTriangles[0][0],
                                          3, 10, "tetrahedra");
    return p;
}

const Polytope& hypercube() {
    // The tabled squares (a, b, c, d) run round as a, b, d, c.
    static int squares[24][4];
    static Polytope p = [] {
        for (int k = 0; k < 24; ++k) {
            const int* s = HypercubeSquares[k];
            squares[k][0] = s[0];
            squares[k][1] = s[1];
            squares[k][2] = s[3];
            squares[k][3] = s[2];
        }
        return from_tables(HypercubeVertices, HypercubeEdges, &squares[0][0], 4, 24, "cubes");
    }();
    return p;
}

const Polytope& sixteen_cell() {
    static Storage<8, 24, 32, 3> store;
    static Polytope p = generate(store, "tetrahedra", 1.0, [](PointList& l) {
        add_orbit(l, {1, 0, 0, 0}, false);
    });
    return p;
}

const Polytope& twenty_four_cell() {
    static Storage<24, 96, 96, 3> store;
    static Polytope p = generate(store, "octahedra", 1 / std::sqrt(2.0), [](PointList& l) {
        add_orbit(l, {1, 1, 0, 0}, false);
    });
    return p;
}

const Polytope& hundred_twenty_cell() {
    static Storage<600, 1200, 720, 5> store;
    static Polytope p =
        generate(store, "dodecahedra", 1 / std::sqrt(8.0), [](PointList& l) {
            const double r5 = std::sqrt(5.0), f = kPhi, g = 1 / kPhi, g2 = 1 / (kPhi * kPhi);
            add_orbit(l, {0, 0, 2, 2}, false);
            add_orbit(l, {1, 1, 1, r5}, false);
            add_orbit(l, {g2, f, f, f}, false);
            add_orbit(l, {g, g, g, f * f}, false);
            add_orbit(l, {0, g2, 1, f * f}, true);
            add_orbit(l, {0, g, f, r5}, true);
            add_orbit(l, {g, 1, f, 2}, true);
        });
    return p;
}

const Polytope& six_hundred_cell() {
    static Storage<120, 720, 1200, 3> store;
    static Polytope p = generate(store, "tetrahedra", 1.0, [](PointList& l) {
        add_orbit(l, {0.5, 0.5, 0.5, 0.5}, false);
        add_orbit(l, {1, 0, 0, 0}, false);
        add_orbit(l, {kPhi / 2, 0.5, 0.5 / kPhi, 0}, true);
    });
    return p;
}

// The face lattice of a tabled polytope, its vertices, edges and faces in
// the table's order (the pictures depend on it), its cells found.
PolytopeLattice lattice_of(const Polytope& p, const char* name) {
    PolytopeLattice l;
    l.name = name;
    l.vertices.assign(p.vertices, p.vertices + p.vertex_count);
    for (int e = 0; e < p.edge_count; ++e) l.edges.push_back({p.edges[e][0], p.edges[e][1]});
    l.face_corners.assign(p.faces, p.faces + p.face_count * p.face_size);
    for (int f = 1; f <= p.face_count; ++f) l.face_start.push_back(f * p.face_size);
    l.edge_length = p.edge_length;
    l.circumradius = std::sqrt(dot(p.vertices[0], p.vertices[0]));
    const std::string why = find_lattice_cells(l);
    if (!why.empty()) {
        std::fprintf(stderr, "fourview: the %s: %s\n", name, why.c_str());
        std::abort();
    }
    return l;
}

struct Regular {
    const Polytope& table;
    PolytopeLattice lattice;
};

Regular& regular(const Polytope& table, const char* name) {
    // One per table, made the first time it is asked for.
    static Regular* made[6] = {};
    static const Polytope* keys[6] = {};
    int k = 0;
    while (k < 6 && keys[k] != nullptr && keys[k] != &table) ++k;
    if (keys[k] == nullptr) {
        keys[k] = &table;
        made[k] = new Regular{table, lattice_of(table, name)};
        const_cast<Polytope&>(table).cell_count = made[k]->lattice.cell_count();
    }
    return *made[k];
}

const Polytope* table_of(ModelId model) {
    switch (model) {
        case kModelFiveCell: return &five_cell();
        case kModelHypercube: return &hypercube();
        case kModelSixteenCell: return &sixteen_cell();
        case kModelTwentyFourCell: return &twenty_four_cell();
        case kModelHundredTwentyCell: return &hundred_twenty_cell();
        case kModelSixHundredCell: return &six_hundred_cell();
        default: return nullptr;
    }
}

const char* regular_name(ModelId model) {
    switch (model) {
        case kModelFiveCell: return "5-cell";
        case kModelHypercube: return "tesseract";
        case kModelSixteenCell: return "16-cell";
        case kModelTwentyFourCell: return "24-cell";
        case kModelHundredTwentyCell: return "120-cell";
        default: return "600-cell";
    }
}

PolytopeLattice& chosen() {
    static PolytopeLattice lattice;
    return lattice;
}

// Its caption's counts, made once when it is chosen.
std::string& chosen_counts() {
    static std::string counts;
    return counts;
}

}  // namespace

const Polytope* find_polytope(ModelId model) {
    const Polytope* table = table_of(model);
    if (table != nullptr) regular(*table, regular_name(model));
    return table;
}

const PolytopeLattice* find_lattice(ModelId model) {
    if (model == kModelUniform) return chosen().vertices.empty() ? nullptr : &chosen();
    const Polytope* table = table_of(model);
    return table == nullptr ? nullptr : &regular(*table, regular_name(model)).lattice;
}

std::string choose_uniform_polytope(const std::string& text) {
    PolytopeLattice l;
    const std::string why = make_polytope(text, l, true);
    if (why.empty()) {
        chosen() = std::move(l);
        chosen_counts() = lattice_counts(chosen());
    }
    return why;
}

const char* uniform_caption_counts() { return chosen_counts().c_str();
}

double polytope_tube_radius(const Polytope& p) { return 0.05 * p.edge_length; }
double polytope_ball_radius(const Polytope& p) { return 0.075 * p.edge_length; }
double polytope_tube_radius(const PolytopeLattice& p) { return 0.05 * p.edge_length; }
double polytope_ball_radius(const PolytopeLattice& p) { return 0.075 * p.edge_length; }

double bold_cut_radius(ModelId model) {
    switch (model) {
        case kModelFiveCell:
        case kModelHypercube: return 0.025;
        case kModelSixteenCell:
        case kModelTwentyFourCell:
        case kModelHundredTwentyCell:
        case kModelSixHundredCell: return 0.0125 * find_polytope(model)->edge_length;
        case kModelUniform: return find_lattice(model) != nullptr ? 0.0125 * find_lattice(model)->edge_length : 0;
        default: return 0;
    }
}

}  // namespace fourview
