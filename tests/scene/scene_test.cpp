// The scene file and the flights, without GL: the text written for a table
// of scenes reads back to the same bits and writes again to the same bytes;
// every kind of bad file is refused with its line and key and changes
// nothing; the orientation path of a flight is the geodesic.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <random>
#include <string>

#include "app/scene_checks.h"
#include "render/frame.h"
#include "scene/flight.h"
#include "scene/scene.h"
#include "../support/scratch_files.h"

namespace fourview {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kDegree = kPi / 180;

Matrix4 block(const Matrix5& m) {
    Matrix4 r{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) r[4 * i + j] = m[5 * i + j];
    return r;
}

Matrix4 turn(int plane, double radians) {
    // Built here from the definition, not by the code under test.
    Matrix4 m = identity_matrix4();
    const int a = RotationPlanes[plane].first, b = RotationPlanes[plane].second;
    m[4 * a + a] = std::cos(radians);
    m[4 * a + b] = -std::sin(radians);
    m[4 * b + a] = std::sin(radians);
    m[4 * b + b] = std::cos(radians);
    return m;
}

Matrix4 times(const Matrix4& a, const Matrix4& b) {
    Matrix4 m{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            for (int k = 0; k < 4; ++k) m[4 * i + j] += a[4 * i + k] * b[4 * k + j];
    return m;
}

double largest_difference(const Matrix4& a, const Matrix4& b) {
    double d = 0;
    for (int i = 0; i < 16; ++i) d = std::fmax(d, std::fabs(a[i] - b[i]));
    return d;
}

Matrix4 random_rotation(std::mt19937& random) {
    std::uniform_real_distribution<double> angle(-kPi, kPi);
    Matrix4 m = identity_matrix4();
    for (int k = 0; k < 12; ++k) m = times(m, turn(k % 6, angle(random)));
    return m;
}

// The bytes of every field: "the same bits" means this.
std::string bits(const Scene& s) {
    std::string b;
    auto add = [&b](const void* p, std::size_t n) { b.append(static_cast<const char*>(p), n); };
    add(&s.version, sizeof s.version);
    add(&s.model_id, sizeof s.model_id);
    b += s.polytope + '\1';
    for (const std::string& e : s.equations) b += e + '\1';
    add(s.window_size.data(), sizeof s.window_size);
    for (const std::string& t : s.s_range_text) b += t + '\1';
    for (const std::string& t : s.t_range_text) b += t + '\1';
    add(s.s_range.data(), sizeof s.s_range);
    add(s.t_range.data(), sizeof s.t_range);
    add(&s.infinity, sizeof s.infinity);
    add(&s.center, sizeof s.center);
    add(&s.rotation_angle, sizeof s.rotation_angle);
    add(s.hyperplane.data(), sizeof s.hyperplane);
    add(&s.section_offset, sizeof s.section_offset);
    add(&s.zoom, sizeof s.zoom);
    for (int v : {s.solid, s.transparent, s.wireframe, s.cross_section, s.axes, s.label,
                  s.high_quality, s.bold_line, s.colour_by_w, s.rotation_mode, s.projection_mode,
                  s.flat_projection, s.view_direction})
        add(&v, sizeof v);
    add(s.view_matrix.data(), sizeof s.view_matrix);
    add(s.rotation.data(), sizeof s.rotation);
    add(s.translation.data(), sizeof s.translation);
    return b;
}

struct SceneRow {
    const char* name;
    void (*make)(Scene& s);
};

const SceneRow SceneRows[] = {
    {"start", [](Scene&) {}},
    {"120-cell, parallel, local, turned in three planes",
     [](Scene& s) {
         s.model_id = kModelHundredTwentyCell;
         s.projection_mode = s.flat_projection = kProjectionParallel;
         s.rotation_mode = kRotationLocal;
         s.rotation = times(times(turn(3, 0.1), turn(0, 2.9)), turn(5, -1.3));
         s.zoom = 1.7320508075688772;
     }},
    {"user graph with awkward equations, stereographic",
     [](Scene& s) {
         s.model_id = kModelUserGraph;
         s.equations = {"s", " t*2 ", "SIN(x)*cos(y)", "x+y"};
         s.polytope =
             "x4o\"3\\o\t é¡Ωア、〇ⱞ⿿ﺿﻼ";  // escapes; letters toml++ cannot ask about
         s.projection_mode = kProjectionStereographic;
         s.flat_projection = kProjectionParallel;
         s.s_range_text = {"-pi/3", "2*pi"};
         s.s_range = {-kPi / 3, 2 * kPi};
         s.center = Point4{0.1, -1e-300, 5e-324, 1e300};
     }},
    {"hyperplane moved and cut, styles off",
     [](Scene& s) {
         s.hyperplane = {0.3, -0.2, 0.1, 1.0, 0.4};
         s.section_offset = -0.15000000000000002;
         s.translation = {0.0, 0.1, -0.2, -0.38};
         s.cross_section = 1;
         s.solid = s.wireframe = s.label = 0;
         s.bold_line = s.colour_by_w = 1;
         s.high_quality = 0;
     }},
    {"view dragged, from Z, torus, polytope symbol",
     [](Scene& s) {
         s.model_id = kModelTorus;
         s.view_direction = 2;
         const Matrix4 r =
             times(turn(0, 0.7), turn(1, -0.4));  // column-major: rows read as columns
         s.view_matrix = r;
         s.polytope = "x4o3o3o";
         s.window_size = {1280, 720};
         s.rotation_angle = -7;
         s.infinity = 0.1;
     }},
};

class SceneRoundTrip : public ::testing::TestWithParam<SceneRow> {};

TEST_P(SceneRoundTrip, WriteReadWriteGivesTheSameBitsAndBytes) {
    Scene s;
    GetParam().make(s);
    const std::string first = write_scene(s);
    Scene back;
    back.model_id = kModelCube;  // every key must be read, none left at a default
    back.zoom = 123;
    const SceneRead read = parse_scene(first, "row.toml", back, scene_refusal);
    ASSERT_TRUE(read.ok) << read.error << "\n" << first;
    EXPECT_TRUE(read.warnings.empty());
    EXPECT_EQ(bits(back), bits(s)) << first;
    EXPECT_EQ(write_scene(back), first);
}

INSTANTIATE_TEST_SUITE_P(Table, SceneRoundTrip, ::testing::ValuesIn(SceneRows));

TEST(SceneFile, PlaneAnglesGiveTheMatrixTheStepsBuilt) {
    struct Row {
        std::array<double, 6> degrees;  // in the file's order XY ZX WX YZ WY WZ
    };
    const Row rows[] = {
        {{0, 0, 0, 0, 0, 0}},
        {{0, 0, 30, 0, 0, 0}},
        {{10, -20, 30, -40, 50, -60}},
        {{170, 80, -170, 89, -89, 179}},
    };
    for (const Row& r : rows) {
        Matrix4 expected = identity_matrix4();
        std::array<double, 6> radians{};
        for (int i = 0; i < 6; ++i) {
            radians[i] = r.degrees[i] * kDegree;
            expected = times(expected, turn(kAnglePlaneOrder[i], radians[i]));
        }
        EXPECT_LT(largest_difference(rotation_from_plane_angles(radians), expected), 1e-15);
        // Angles within (-90, 90) for the middle planes come back as given.
        const std::array<double, 6> back = plane_angles(expected);
        EXPECT_LT(largest_difference(rotation_from_plane_angles(back), expected), 1e-14);
    }
    // A single step of the program's: one angle, the others 0.
    const std::array<double, 6> wx = plane_angles(block(step_matrix_for(7, 30)));
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(wx[i], i == 2 ? 30 * kDegree : 0.0, 1e-15) << i;
    // Angles alone in the file build the matrix.
    Scene s;
    const SceneRead read =
        parse_scene("format = 1\n[orientation]\nangles = { WX = 30, YZ = -45.5 }\n", "angles.toml",
                    s, scene_refusal);
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_LT(
        largest_difference(s.rotation, times(turn(3, 30 * kDegree), turn(1, -45.5 * kDegree))),
        1e-15);
}

struct BadRow {
    const char* name;
    const char* text;   // nullptr: no file at all
    const char* error;  // what the one line must hold
};

const BadRow BadRows[] = {
    {"missing file", nullptr, "bad.toml: No such file or directory"},
    {"syntax error", "format = 1\n[values]\nzoom = = 2\n", "bad.toml:3: "},
    {"wrong type", "format = 1\n\n[values]\nzoom = \"near\"\n",
     "bad.toml:4: values.zoom: is not a number"},
    {"wrong type in a list", "format = 1\n[values]\ncenter = [0, 0, \"0\", 0]\n",
     "bad.toml:3: values.center[2]: is not a number"},
    {"a table that is not", "format = 1\nvalues = 3\n", "bad.toml:2: values: is not a table"},
    {"newer version", "format = 2\n",
     "bad.toml:1: format: version 2 is newer than this fourview reads (1)"},
    {"no version", "[values]\nzoom = 1\n", "bad.toml: format: missing"},
    {"zoom refused", "format = 1\n[values]\nzoom = 0.0\n", "bad.toml:3: values.zoom: is outside"},
    {"no normal", "format = 1\n[values]\nhyperplane = [0, 0, 0, 0, 1]\n",
     "bad.toml:3: values.hyperplane: a, b, c, d give no usable normal"},
    {"range backwards", "format = 1\n[values]\ns_range = [\"1\", \"0\"]\n",
     "bad.toml:3: values.s_range: s_min must be finite and below s_max"},
    {"range text refused", "format = 1\n[values]\nt_range = [\"s\", \"1\"]\n",
     "bad.toml:3: values.t_range: 's' is refused"},
    {"infinity 0", "format = 1\n[values]\ninfinity = -1\n",
     "bad.toml:3: values.infinity: is not greater than 0"},
    {"window too large", "format = 1\n[values]\nwindow_size = [40000, 10]\n",
     "bad.toml:3: values.window_size: 40000x10 is no size"},
    {"equation x names x", "format = 1\n[equations]\nx = \"x\"\ny = \"t\"\nf = \"s\"\ng = \"t\"\n",
     "bad.toml:3: equations.x: 'x' is refused"},
    {"equation missing", "format = 1\n[equations]\nx = \"s\"\n",
     "bad.toml:2: equations.y: missing"},
    {"no such model", "format = 1\n[model]\nid = 9\n", "bad.toml:3: model.id: 9 is no model"},
    {"mode unknown", "format = 1\n[modes]\nprojection = \"fisheye\"\n",
     "bad.toml:3: modes.projection: 'fisheye' is not"},
    {"mirror", "format = 1\n[orientation]\nmatrix = [[-1,0,0,0],[0,1,0,0],[0,0,1,0],[0,0,0,1]]\n",
     "bad.toml:3: orientation.matrix: is not a rotation"},
    {"not orthonormal",
     "format = 1\n[orientation]\nmatrix = [[2,0,0,0],[0,1,0,0],[0,0,1,0],[0,0,0,0.5]]\n",
     "orientation.matrix: is not a rotation"},
    {"infinite", "format = 1\n[values]\nsection_offset = inf\n",
     "bad.toml:3: values.section_offset: is not a finite number"},
    {"int too large", "format = 1\n[values]\nrotation_angle = 3000000000\n",
     "values.rotation_angle: is out of range"},
    {"a newline in the reason", "format = 1\n[modes]\nprojection = \"two\\nlines\"\n",
     "bad.toml:3: modes.projection: 'two\\x0alines' is not"},
    {"a newline where a syntax error looks", "format = 1\nsolid = t\n", "bad.toml:2: "},
    {"a table header toml++ once asserted on", "format = 1\n[:rie5 }\n",
     "bad.toml:2: Error while parsing key"},
    {"a letter toml++ once reached unreachable code on",
     "format = 1\n[values]\nzoom = 3\xc2\xa1\"\xe3\x82\xa2\xef\xba\xbf\n", "bad.toml:3: "},
    {"a private-use letter", "format = 1\n# \xee\xbf\xbf\n", "bad.toml:2: a private-use letter"},
    {"view not a rotation",
     "format = 1\n[view]\nmatrix = [[1,0,0,0],[0,1,0,0],[0,0,1,0],[5,0,0,1]]\n",
     "bad.toml:3: view.matrix: is not a rotation"},
};

class BadScene : public ::testing::TestWithParam<BadRow> {};

TEST_P(BadScene, IsRefusedWithFileLineAndKeyAndChangesNothing) {
    const std::string dir = testing::make_scratch_directory("fourview-scene");
    ASSERT_FALSE(dir.empty());
    const std::string path = dir + "/bad.toml";
    if (GetParam().text != nullptr) std::ofstream(path) << GetParam().text;
    Scene s;
    s.zoom = 2.5;
    const std::string before = bits(s);
    const SceneRead read = read_scene_file(path, s, scene_refusal);
    EXPECT_FALSE(read.ok);
    EXPECT_NE(read.error.find(GetParam().error), std::string::npos) << read.error;
    EXPECT_EQ(read.error.find('\n'), std::string::npos) << "one line";
    EXPECT_EQ(bits(s), before) << "nothing changed";
    testing::remove_scratch_directory(dir);
}

INSTANTIATE_TEST_SUITE_P(Table, BadScene, ::testing::ValuesIn(BadRows));

TEST(SceneFile, UnknownKeysAreWarnedAboutAndTheRestRead) {
    Scene s;
    const SceneRead read =
        parse_scene("format = 1 # ¡\ncolour = 3\n[values]\nzoom = 3\nfov = 1\n[extra]\na = 1\n",
                    "w.toml", s, scene_refusal);
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(s.zoom, 3.0);
    ASSERT_EQ(read.warnings.size(), 3u);
    EXPECT_EQ(read.warnings[0], "w.toml:2: colour: unknown key, left alone");
    EXPECT_EQ(read.warnings[2], "w.toml:5: values.fov: unknown key, left alone");
}

TEST(Flight, QuaternionPairGivesTheRotationBack) {
    std::mt19937 random(23);
    for (int i = 0; i < 200; ++i) {
        const Matrix4 m = random_rotation(random);
        Quaternion l{}, r{};
        rotation_to_quaternions(m, l, r);
        EXPECT_LT(largest_difference(quaternions_to_rotation(l, r), m), 1e-13) << i;
    }
}

TEST(Flight, MiddleIsHalfTheRotation) {
    struct Row {
        const char* name;
        Matrix4 from, to, middle;
    };
    const Row rows[] = {
        {"WX 60", identity_matrix4(), turn(3, 60 * kDegree), turn(3, 30 * kDegree)},
        {"double XY 40, WZ 100", identity_matrix4(),
         times(turn(0, 40 * kDegree), turn(5, 100 * kDegree)),
         times(turn(0, 20 * kDegree), turn(5, 50 * kDegree))},
        {"the short way round: XY 350 is XY -10", identity_matrix4(), turn(0, 350 * kDegree),
         turn(0, -5 * kDegree)},
        {"from a turned start", turn(1, 1.0), times(turn(1, 1.0), turn(4, 1.2)),
         times(turn(1, 1.0), turn(4, 0.6))},
    };
    for (const Row& r : rows) {
        EXPECT_LT(largest_difference(rotation_between(r.from, r.to, 0.5), r.middle), 1e-14)
            << r.name;
        EXPECT_EQ(rotation_between(r.from, r.to, 0.0), r.from) << r.name;
        EXPECT_LT(largest_difference(rotation_between(r.from, r.to, 1.0), r.to), 1e-14) << r.name;
    }
}

TEST(Flight, PathIsAGeodesicAtConstantSpeed) {
    std::mt19937 random(4);
    constexpr int kFrames = 24;
    for (int i = 0; i < 50; ++i) {
        const Matrix4 a = random_rotation(random), b = random_rotation(random);
        const double whole = rotation_distance(a, b);
        double walked = 0;
        Matrix4 previous = a;
        for (int k = 1; k <= kFrames; ++k) {
            const Matrix4 now = rotation_between(a, b, static_cast<double>(k) / kFrames);
            const double d = rotation_distance(previous, now);
            EXPECT_NEAR(d, whole / kFrames, 1e-9) << i << " frame " << k;
            walked += d;
            previous = now;
        }
        // Along the path as far as straight there: no detour.
        EXPECT_NEAR(walked, whole, 1e-9) << i;
        // No geodesic is longer than pi * sqrt(2) (both angles pi).
        EXPECT_LE(whole, kPi * std::sqrt(2.0) + 1e-12);
    }
}

TEST(Flight, ScenesBetween) {
    Scene a, b;
    a.zoom = 1;
    b.zoom = 4;
    b.section_offset = 0.5;
    b.rotation = turn(3, 1.0);
    b.model_id = kModelTorus;
    b.solid = 0;
    const Scene half = scene_between(a, b, 0.5);
    EXPECT_DOUBLE_EQ(half.zoom, 2.0) << "equal steps of scale";
    EXPECT_DOUBLE_EQ(half.section_offset, 0.25);
    EXPECT_EQ(half.model_id, a.model_id) << "the first scene of the leg decides";
    EXPECT_EQ(half.solid, a.solid);
    // A flight from a scene to itself is still, to the bit.
    for (double t : {0.0, 0.3, 0.5, 1.0}) EXPECT_EQ(bits(scene_between(b, b, t)), bits(b)) << t;
}

}  // namespace
}  // namespace fourview
