// The start options in the real program's windows: each setting leaves the
// state and the values window's line exactly as the "Change" dialogue given
// the same answer does; the equations become stored set 0; the model and the
// keys act as the menu and the typed keys do.
#include <GL/freeglut.h>

#include <cstring>
#include <string>
#include <vector>

#include "../expr/dialogue_helpers.h"
#include "app/app_state.h"
#include "app/options.h"
#include "expr/graph_slots.h"
#include "gl_fixture.h"
#include "render/frame.h"
#include "ui/graph_slots.h"
#include "ui/input.h"
#include "ui/settings.h"
#include "ui/values.h"

namespace fourview {
namespace {

StartOptions parsed(std::vector<std::string> args) {
    args.insert(args.begin(), "fourview");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    StartOptions o;
    EXPECT_EQ(parse_options(static_cast<int>(args.size()), argv.data(), o), ParseOutcome::kRun);
    return o;
}

// Everything a setting may change, the lines of the values window included.
std::string snapshot() {
    char s[4096];
    std::snprintf(s, sizeof s,
                  "s %.17g %.17g [%s] [%s] t %.17g %.17g [%s] [%s] inf %.17g center %.17g %.17g "
                  "%.17g %.17g angle %d plane %.17g %.17g %.17g %.17g %.17g zoom %.17g model %d",
                  app.s_min, app.s_max, app.s_min_text, app.s_max_text, app.t_min, app.t_max,
                  app.t_min_text, app.t_max_text, app.infinity, app.graph_center.x,
                  app.graph_center.y, app.graph_center.z, app.graph_center.w, app.rotation_angle,
                  app.hyperplane[0], app.hyperplane[1], app.hyperplane[2], app.hyperplane[3],
                  app.hyperplane[4], app.zoom, app.model_id);
    std::string all = s;
    for (const ButtonPanel& f : value_fields) all += std::string(" | ") + f.text;
    return all;
}

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::start_program();
        clear_graph_slots();
        load_default_equations(0);
    }
    dialogue::Console console_;
};

TEST_F(OptionsTest, EachSettingAsTheDialogueLeavesIt) {
    struct Row {
        std::vector<std::string> args;
        int code;
        const char* answers;
    };
    const Row rows[] = {
        {{"--s-range", "-pi/2, 2*pi"}, 81, "-pi/2\n2*pi\n"},
        {{"--t-range=0,1"}, 82, "0\n1\n"},
        {{"--infinity", "250"}, 80, "250\n"},
        {{"--center", "(0.5, 0, 0, -1)"}, 83, "0.5 0 0 -1\n"},
        {{"--rotation-angle", "-15"}, 84, "-15\n"},
        {{"--hyperplane", "0,0,1,0,2"}, 85, "0 0 1 0 2\n"},
        {{"--zoom", "2.5"}, 89, "2.5\n"},
    };
    for (const Row& row : rows) {
        SetUp();
        apply_start_options(parsed(row.args));
        const std::string by_option = snapshot();
        SetUp();
        console_.fresh(row.answers);
        console_.run([&] { edit_setting(row.code, -1); });
        EXPECT_EQ(by_option, snapshot()) << row.args[0];
    }
}

TEST_F(OptionsTest, EquationsBecomeSetZeroAndModelTwenty) {
    const std::string old_first = graph_slots[0].equation[kEquationF].text;
    apply_start_options(parsed({"--equations", "s; t; x^2 - y^2; 2*x*y"}));
    EXPECT_EQ(app.model_id, kModelUserGraph);
    EXPECT_STREQ(graph_slots[0].equation[kEquationX].text, "s");
    EXPECT_STREQ(graph_slots[0].equation[kEquationF].text, "x^2 - y^2");
    EXPECT_GT(graph_slots[0].equation[kEquationG].count, 0);
    EXPECT_EQ(old_first, graph_slots[1].equation[kEquationF].text) << "the old sets move down one";
    EXPECT_EQ(app.zoom, default_zoom(kModelUserGraph));

    SetUp();
    apply_start_options(parsed({"--equations", "s;t;x;y", "--model", "klein-bottle-part-ii"}));
    EXPECT_EQ(app.model_id, kModelKleinBottle2) << "--model wins";
    EXPECT_EQ(app.zoom, default_zoom(kModelKleinBottle2));
    SetUp();
    apply_start_options(parsed({"--model", "torus", "--zoom", "3"}));
    EXPECT_EQ(app.model_id, kModelTorus);
    EXPECT_EQ(app.zoom, 3.0) << "the zoom option after the model's own";
}

TEST_F(OptionsTest, ModelsByIdAndByName) {
    const std::pair<const char*, ModelId> rows[] = {
        {"0", kModelCube},          {"13", kModelHypercube},   {"20", kModelUserGraph},
        {"HYPERCUBE", kModelHypercube}, {"Hyper Sphere", kModelHyperSphere},
        {"klein-bottle-part-i", kModelKleinBottle1}, {"5-cell", kModelFiveCell},
        {"4R Izure", kModelUserGraph}, {"sphere", kModelSphere},
    };
    for (const auto& [name, model] : rows) EXPECT_EQ(parsed({"--model", name}).model.value, model) << name;
}

TEST_F(OptionsTest, KeysActAsTypedWithAFrameAfterEach) {
    apply_start_keys("4444f:");
    const AppState by_option = app;
    SetUp();
    for (unsigned char k : {'4', '4', '4', '4', 'f', ':'}) {
        keyboard(k, 0, 0);
        display_graph();
    }
    EXPECT_EQ(by_option.transform, app.transform);
    EXPECT_NE(app.transform, identity_matrix5());
    EXPECT_EQ(by_option.cross_section, 1);
    EXPECT_EQ(by_option.projection_mode, kProjectionParallel);
}

TEST_F(OptionsTest, GlutOptionsPassThroughInOrder) {
    const StartOptions o = parsed({"-display", ":7", "--zoom", "2", "-iconic", "-geometry", "300x200+1+2"});
    // -geometry is the program's: GLUT's would be overridden by the
    // windows' fixed places.
    EXPECT_EQ(o.glut_args, (std::vector<std::string>{"-display", ":7", "-iconic"}));
    EXPECT_TRUE(o.display.given);
    EXPECT_EQ(o.display.value, ":7");
    EXPECT_TRUE(o.zoom.given);
    EXPECT_EQ(parsed({"--png", "-sync", "-sync"}).figures.png, "-sync") << "a value stays a value";
}

TEST_F(OptionsTest, GeometryAsXWritesIt) {
    const struct {
        const char* text;
        bool sized, placed;
        int width, height, x, y;
        bool from_right, from_bottom;
    } rows[] = {
        {"300x200+1+2", true, true, 300, 200, 1, 2, false, false},
        {"=80X60", true, false, 80, 60, 0, 0, false, false},
        {"+5-6", false, true, 0, 0, 5, 6, false, true},
        {"-0+0", false, true, 0, 0, 0, 0, true, false},
        {"640x480-10-20", true, true, 640, 480, 10, 20, true, true},
    };
    for (const auto& r : rows) {
        const WindowGeometry g = parsed({"-geometry", r.text}).geometry;
        EXPECT_EQ(g.sized, r.sized) << r.text;
        EXPECT_EQ(g.placed, r.placed) << r.text;
        EXPECT_EQ(g.width, r.width) << r.text;
        EXPECT_EQ(g.height, r.height) << r.text;
        EXPECT_EQ(g.x, r.x) << r.text;
        EXPECT_EQ(g.y, r.y) << r.text;
        EXPECT_EQ(g.from_right, r.from_right) << r.text;
        EXPECT_EQ(g.from_bottom, r.from_bottom) << r.text;
    }
}

TEST_F(OptionsTest, FigureOptions) {
    const StartOptions o =
        parsed({"--gif", "a.gif", "--size", "320x200", "--frames", "12", "--turn", "wz"});
    EXPECT_TRUE(figures_requested(o.figures));
    EXPECT_EQ(o.figures.width, 320);
    EXPECT_EQ(o.figures.height, 200);
    EXPECT_EQ(o.figures.frames, 12);
    EXPECT_EQ(o.figures.turn_plane, 5);
    EXPECT_FALSE(figures_requested(parsed({"--zoom", "2"}).figures));
    EXPECT_EQ(parsed({"--stl", "m.stl", "--scale", "50"}).figures.scale_mm, 50.0);
}

}  // namespace
}  // namespace fourview
