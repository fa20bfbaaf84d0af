// Scenes in the real windows: a view reached by keys, arrows, drags and
// dialogues, saved, the program started afresh and the scene loaded, is the
// same picture, the same values window and the same controller labels, and
// saves to the same file; the middle frame of a flight is the picture of
// the half rotation; Save Scene and Load Scene of the graph menu.
#include <GL/freeglut.h>

#include <fstream>
#include <sstream>
#include <string>

#include "../expr/dialogue_helpers.h"
#include "../support/scratch_files.h"
#include "app/app_state.h"
#include "app/scene_state.h"
#include "app/windows.h"
#include "gl_fixture.h"
#include "render/frame.h"
#include "scene/flight.h"
#include "ui/capture.h"
#include "ui/controller.h"
#include "ui/input.h"
#include "ui/scene_menu.h"
#include "ui/settings.h"
#include "ui/values.h"

namespace fourview {
namespace {

// What the panels show besides the picture.
std::string panels() {
    std::string all;
    for (const ButtonPanel& f : value_fields) all += std::string(f.text) + " | ";
    for (int i : {rotation_button_index, projection_button_index, view_button_index})
        all += std::string(controller_buttons[i].text) + " | ";
    return all;
}

class SceneWindows : public ::testing::Test {
protected:
    void SetUp() override { testing::start_program(); }
    dialogue::Console console_;
};

TEST_F(SceneWindows, SavedAndLoadedIsTheSamePictureAndFile) {
    struct Row {
        const char* name;
        const char* keys;
        void (*more)();
    };
    const Row rows[] = {
        {"start", "", [] {}},
        {"turned, cut, parallel", "4433f:", [] {}},
        {"120-cell, local, stereographic", "1;2p", [] { app.model_id = kModelHundredTwentyCell; }},
        {"hyperplane moved, cut moved by the arrows", "f5",
         [] {
             app.hyperplane = {0.2, 0, 1, 1, 0.3};
             refresh_value_field(85, value_hyperplane_row);
             reset_view();
             special_key(GLUT_KEY_RIGHT, 0, 0);
             special_key(GLUT_KEY_RIGHT, 0, 0);
         }},
        {"dragged, zoomed, from Z, styles off", "mads",
         [] {
             mouse_graph_with_modifiers(GLUT_LEFT_BUTTON, GLUT_DOWN, 100, 100, 0);
             motion_graph(130, 80);
             mouse_graph_with_modifiers(GLUT_LEFT_BUTTON, GLUT_UP, 130, 80, 0);
             app.zoom = 1.25;
             refresh_value_field(89, value_zoom_row);
             apply_projection();
         }},
        {"user graph, bold, colour by w", "kw",
         [] {
             app.model_id = kModelUserGraph;
             app.graph_center = Point4{0.25, 0, 0, 0};
             refresh_value_field(83, 4);
         }},
    };
    for (const Row& r : rows) {
        testing::restore_start_state();
        for (const char* k = r.keys; *k != '\0'; ++k) {
            keyboard(static_cast<unsigned char>(*k), 0, 0);
            display_graph();
        }
        r.more();
        const std::string saved = write_scene(scene_from_app());
        const testing::Pixels picture = testing::render_graph_frame();
        const std::string shown = panels();

        testing::restore_start_state();
        Scene scene = scene_from_app();
        const SceneRead read = parse_scene(saved, "row.toml", scene, nullptr);
        ASSERT_TRUE(read.ok) << r.name << ": " << read.error;
        apply_scene(scene);
        EXPECT_EQ(write_scene(scene_from_app()), saved) << r.name;
        EXPECT_EQ(panels(), shown) << r.name;
        const testing::Pixels again = testing::render_graph_frame();
        EXPECT_TRUE(again.data == picture.data) << r.name << ": the same picture";
    }
}

TEST_F(SceneWindows, MiddleOfAFlightIsTheHalfRotation) {
    struct Row {
        const char* name;
        int request;  // a step code 1-12 of the plane
        int degrees;
    };
    const Row rows[] = {{"WX by 60", 7, 60}, {"YZ by -80", 4, 80}, {"WZ by 120", 11, 120}};
    for (const Row& r : rows) {
        testing::restore_start_state();
        const Scene from = scene_from_app();
        Scene to = from;
        Scene half = from;
        const Matrix5 whole = step_matrix_for(r.request, r.degrees);
        const Matrix5 middle = step_matrix_for(r.request, r.degrees / 2);
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j) {
                to.rotation[4 * i + j] = whole[5 * i + j];
                half.rotation[4 * i + j] = middle[5 * i + j];
            }
        apply_scene(half);
        const testing::Pixels expected = testing::render_graph_frame();
        apply_scene(scene_between(from, to, 0.5));
        const testing::Pixels flown = testing::render_graph_frame();
        EXPECT_TRUE(flown.data == expected.data) << r.name;
        apply_scene(from);
        EXPECT_FALSE(testing::render_graph_frame().data == expected.data)
            << r.name << ": the rotation shows";
    }
}

TEST_F(SceneWindows, MenuSavesNumberedScenesAndLoadsThemBack) {
    testing::restore_start_state();
    const std::string dir = testing::make_scratch_directory("fourview-scenes");
    ASSERT_FALSE(dir.empty());
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    const bool capture_done = capture_directory_done;
    capture_directory_done = false;

    keyboard('4', 0, 0);
    display_graph();
    const std::string saved = write_scene(scene_from_app());
    char path[256] = "";
    ASSERT_TRUE(save_scene_in_capture_folder(path, sizeof path));
    EXPECT_STREQ(path, "PPM_P6/SCENE_0000.toml");
    std::ofstream("PPM_P6/SCENE_0002.toml") << "a file of the user's";
    ASSERT_TRUE(save_scene_in_capture_folder(path, sizeof path));
    EXPECT_STREQ(path, "PPM_P6/SCENE_0003.toml") << "after the highest, as Save Screen numbers";
    std::stringstream kept;
    kept << std::ifstream("PPM_P6/SCENE_0002.toml").rdbuf();
    EXPECT_EQ(kept.str(), "a file of the user's");
    std::stringstream written;
    written << std::ifstream("PPM_P6/SCENE_0000.toml").rdbuf();
    EXPECT_EQ(written.str(), saved);

    keyboard('5', 0, 0);
    display_graph();
    const std::string turned = write_scene(scene_from_app());
    for (const char* answer : {"PPM_P6/SCENE_0002.toml\n", "none.toml\n", "\n"}) {
        console_.fresh(answer);
        const dialogue::Result r = console_.run([] { execute_command(kCommandLoadScene); });
        EXPECT_NE(r.out.find("file = "), std::string::npos);
        EXPECT_NE(r.err.find("nothing changed"), std::string::npos) << answer << r.err;
        EXPECT_EQ(write_scene(scene_from_app()), turned) << answer;
    }
    console_.fresh("PPM_P6/SCENE_0000.toml\n");
    console_.run([] { execute_command(kCommandLoadScene); });
    EXPECT_EQ(write_scene(scene_from_app()), saved);

    capture_directory_done = capture_done;
    ASSERT_EQ(chdir(previous), 0);
    testing::remove_scratch_directory(dir);
}

}  // namespace
}  // namespace fourview
