#include "models/polychora.h"

#include <cmath>

#include "models/tables.h"

namespace fourview {

namespace {

constexpr double kPhi = 1.6180339887498949;  // the golden ratio
constexpr int kMaxVertices = 600;
constexpr int kMaxDegree = 12;

double dot(const Point4& a, const Point4& b) { return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w; }
Point4 minus(const Point4& a, const Point4& b) { return {a.x - b.x, a.y - b.y, a.z - b.z, a.w - b.w}; }
Point4 scaled(const Point4& a, double s) { return {a.x * s, a.y * s, a.z * s, a.w * s}; }
double distance2(const Point4& a, const Point4& b) {
    const Point4 d = minus(a, b);
    return dot(d, d);
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
        if (count < capacity) points[count++] = q;
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
            if (count < capacity) {
                edges[count][0] = a;
                edges[count][1] = b;
            }
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
                if (count < capacity)
                    for (int k = 0; k < size; ++k) faces[count * size + k] = walk[k];
                ++count;
            }
    return count;
}

// The determinant of the 3x3 matrix of rows r0, r1, r2 of the columns a, b, c.
double minor3(const Point4& r0, const Point4& r1, const Point4& r2, int a, int b, int c) {
    auto at = [](const Point4& p, int k) { return k == 0 ? p.x : k == 1 ? p.y : k == 2 ? p.z : p.w; };
    return at(r0, a) * (at(r1, b) * at(r2, c) - at(r1, c) * at(r2, b)) -
           at(r0, b) * (at(r1, a) * at(r2, c) - at(r1, c) * at(r2, a)) +
           at(r0, c) * (at(r1, a) * at(r2, b) - at(r1, b) * at(r2, a));
}

// The cells: the hyperplanes through a vertex and three of its neighbours
// that leave every vertex on the side of the centre. Each cell is counted
// from its lowest-numbered vertex, once however many neighbour triples
// span it there.
int count_cells(const Point4* v, int n, const Adjacency& adj) {
    int count = 0;
    for (int s = 0; s < n; ++s) {
        Point4 found[220];  // the normals found at s; C(12, 3) triples at most
        int found_count = 0;
        const int d = adj.degree[s];
        for (int i = 0; i < d; ++i)
            for (int j = i + 1; j < d; ++j)
                for (int k = j + 1; k < d; ++k) {
                    const Point4 p = minus(v[adj.neighbours[s][i]], v[s]);
                    const Point4 q = minus(v[adj.neighbours[s][j]], v[s]);
                    const Point4 r = minus(v[adj.neighbours[s][k]], v[s]);
                    // The normal: the 4D cross product of p, q and r.
                    Point4 normal{minor3(p, q, r, 1, 2, 3), -minor3(p, q, r, 0, 2, 3),
                                  minor3(p, q, r, 0, 1, 3), -minor3(p, q, r, 0, 1, 2)};
                    const double length2 = dot(normal, normal);
                    if (length2 < 1e-18) continue;  // the four lie in one plane
                    normal = scaled(normal, 1 / std::sqrt(length2));
                    double offset = dot(normal, v[s]);
                    if (offset < 0) {
                        normal = scaled(normal, -1);
                        offset = -offset;
                    }
                    if (offset < 1e-6) continue;  // through the centre: no cell
                    bool supporting = true, lowest = true;
                    for (int m = 0; m < n && supporting; ++m) {
                        const double h = dot(normal, v[m]) - offset;
                        if (h > 1e-5) supporting = false;
                        if (h > -1e-5 && m < s) lowest = false;
                    }
                    if (!supporting || !lowest) continue;
                    bool known = false;
                    for (int f = 0; f < found_count && !known; ++f)
                        known = distance2(found[f], normal) < 1e-10;
                    if (known) continue;
                    if (found_count < 220) found[found_count++] = normal;
                    ++count;
                }
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
    p.cell_count = count_cells(store.vertices, list.count, adj);
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
    Adjacency& adj = scratch_adjacency();
    for (int a = 0; a < V; ++a) adj.degree[a] = 0;
    for (const auto& e : edges) {
        adj.neighbours[e[0]][adj.degree[e[0]]++] = e[1];
        adj.neighbours[e[1]][adj.degree[e[1]]++] = e[0];
    }
    p.cell_count = count_cells(vertices, V, adj);
    return p;
}

const Polytope& five_cell() {
    static const Polytope p = from_tables(FiveCellVertices, FiveCellEdges, &FiveCellTriangles[0][0],
                                          3, 10, "tetrahedra");
    return p;
}

const Polytope& hypercube() {
    // The tabled squares (a, b, c, d) run round as a, b, d, c.
    static int squares[24][4];
    static const Polytope p = [] {
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
    static const Polytope p = generate(store, "tetrahedra", 1.0, [](PointList& l) {
        add_orbit(l, {1, 0, 0, 0}, false);
    });
    return p;
}

const Polytope& twenty_four_cell() {
    static Storage<24, 96, 96, 3> store;
    static const Polytope p = generate(store, "octahedra", 1 / std::sqrt(2.0), [](PointList& l) {
        add_orbit(l, {1, 1, 0, 0}, false);
    });
    return p;
}

const Polytope& hundred_twenty_cell() {
    static Storage<600, 1200, 720, 5> store;
    static const Polytope p =
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
    static const Polytope p = generate(store, "tetrahedra", 1.0, [](PointList& l) {
        add_orbit(l, {0.5, 0.5, 0.5, 0.5}, false);
        add_orbit(l, {1, 0, 0, 0}, false);
        add_orbit(l, {kPhi / 2, 0.5, 0.5 / kPhi, 0}, true);
    });
    return p;
}

}  // namespace

const Polytope* find_polytope(ModelId model) {
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

double polytope_tube_radius(const Polytope& p) { return 0.05 * p.edge_length; }
double polytope_ball_radius(const Polytope& p) { return 0.075 * p.edge_length; }

double bold_cut_radius(ModelId model) {
    switch (model) {
        case kModelFiveCell:
        case kModelHypercube: return 0.025;
        case kModelSixteenCell:
        case kModelTwentyFourCell:
        case kModelHundredTwentyCell:
        case kModelSixHundredCell: return 0.0125 * find_polytope(model)->edge_length;
        default: return 0;
    }
}

}  // namespace fourview
