// The menu callbacks and the option marks, in the program's own windows
// with its menus built.
#include <GL/freeglut.h>

#include "app/app_state.h"
#include "gl_fixture.h"
#include "ui/controller.h"
#include "ui/graph_slots.h"
#include "ui/input.h"
#include "ui/menus.h"
#include "ui/values.h"

namespace fourview {
namespace {

class MenusTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::start_program();
        clear_graph_slots();
        load_default_equations(0);
        refresh_option_labels();
        app.frame_changed = 0;
    }
    // A frame drawn later must not save anything.
    void TearDown() override { app.save_screen = 0; }
};

TEST_F(MenusTest, MenusExistAndAreDistinct) {
    const int ids[] = {app.main_menu,     app.options_menu, app.rotation_menu, app.projection_menu,
                       app.graph_menu,    app.models4_menu, app.models3_menu};
    for (int i = 0; i < 7; ++i) {
        EXPECT_GT(ids[i], 0);
        for (int j = 0; j < i; ++j) EXPECT_NE(ids[i], ids[j]);
    }
}

TEST_F(MenusTest, OptionsAtStartUp) {
    const char* expected[] = {
        "Global Rotation", "Tooshi toei (perspective)", "* Solid", "* Transparent",
        "* Wireframe", "  Cross Section", "* Axes", "* Label", "* Hight Quality",
        "  Bold Line", "  Save Screen",
    };
    for (int entry = 1; entry <= 11; ++entry)
        EXPECT_STREQ(options_menu_label(entry), expected[entry - 1]) << entry;
}

// freeglut ends the program on a menu change while a menu is up: the
// command acts at once, its marks follow when the menu closes.
TEST_F(MenusTest, MarksWaitForAnOpenMenuToClose) {
    menu_status(GLUT_MENU_IN_USE, 0, 0);
    execute_command(50);
    EXPECT_EQ(app.solid, 0);
    EXPECT_STREQ(options_menu_label(3), "* Solid");
    menu_status(GLUT_MENU_NOT_IN_USE, 0, 0);
    EXPECT_STREQ(options_menu_label(3), "  Solid");
}

TEST_F(MenusTest, MarksAreRewrittenAfterEveryCommand) {
    for (const OptionEntry& o : OptionEntries) {
        execute_command(o.command);
        char expected[32];
        compose_option_label(expected, sizeof expected, o);
        EXPECT_EQ(expected[0], option_is_on(o.command) ? '*' : ' ');
        bool found = false;
        for (int entry = 3; entry <= 11; ++entry)
            if (std::string(options_menu_label(entry)) == expected) found = true;
        EXPECT_TRUE(found) << expected;
    }
    EXPECT_STREQ(options_menu_label(3), "  Solid");
    EXPECT_STREQ(options_menu_label(11), "* Save Screen");
}

TEST_F(MenusTest, ModelSelectionKeepsTheZoomRelativeToTheModel) {
    app.zoom = 1.5;
    select_model(kModelCylinder);  // default 2.0 against the hypercube's 1.0
    EXPECT_EQ(app.model_id, kModelCylinder);
    EXPECT_DOUBLE_EQ(app.zoom, 3.0);
    EXPECT_STREQ(value_fields[value_zoom_row].text, "Zoom = 3.000000");
    EXPECT_EQ(app.frame_changed, 1);
    select_model(kModelHypercube);
    EXPECT_DOUBLE_EQ(app.zoom, 1.5);
    select_model(kModelKleinBottle2);
    EXPECT_DOUBLE_EQ(app.zoom, 1.5 * 0.125);
    select_model(kModelTorus);
    EXPECT_DOUBLE_EQ(app.zoom, 1.5 * 0.75);
}

TEST_F(MenusTest, ModelSelectionResetsNothingElse) {
    app.view_direction = 2;
    app.transform[3] = 0.25;
    app.solid = 0;
    app.section_offset = 0.4;
    select_model(kModelSphere);
    EXPECT_EQ(app.view_direction, 2);
    EXPECT_EQ(app.transform[3], 0.25);
    EXPECT_EQ(app.solid, 0);
    EXPECT_EQ(app.section_offset, 0.4);
}

TEST_F(MenusTest, CylinderFromTheHypercubeAtZoomOneGivesTwoAndBack) {
    select_model(kModelCylinder);
    EXPECT_DOUBLE_EQ(app.zoom, 2.0);
    select_model(kModelHypercube);
    EXPECT_DOUBLE_EQ(app.zoom, 1.0);
}

TEST_F(MenusTest, AStoredSetBecomesTheUserGraph) {
    select_model(21);
    EXPECT_EQ(app.model_id, kModelUserGraph);
    EXPECT_DOUBLE_EQ(app.zoom, 0.75);
}

TEST_F(MenusTest, NewWithTheConsoleInputEndedChangesNothing) {
    // The fixture's console input is empty: the dialogue ends at once.
    select_model(20);
    EXPECT_EQ(app.model_id, kModelHypercube);
    EXPECT_EQ(app.zoom, 1.0);
}

TEST_F(MenusTest, AnEmptySlotChangesNothingAtAll) {
    ASSERT_FALSE(graph_slot_filled(3));
    select_model(24);
    EXPECT_EQ(app.model_id, kModelHypercube);
    EXPECT_EQ(app.zoom, 1.0);
    EXPECT_EQ(app.frame_changed, 0) << "no redisplay either";
}

TEST_F(MenusTest, ChoosingTheRotationModeInForceDoesNothing) {
    select_rotation_mode(kRotationGlobal);
    EXPECT_EQ(app.rotation_mode, kRotationGlobal);
    EXPECT_EQ(app.frame_changed, 0);
    select_rotation_mode(kRotationLocal);
    EXPECT_EQ(app.rotation_mode, kRotationLocal);
    EXPECT_EQ(app.frame_changed, 1);
    EXPECT_STREQ(controller_buttons[rotation_button_index].text, "Local Rotation");
    EXPECT_STREQ(options_menu_label(1), "Local Rotation");
    app.frame_changed = 0;
    select_rotation_mode(kRotationLocal);
    EXPECT_EQ(app.rotation_mode, kRotationLocal);
    EXPECT_EQ(app.frame_changed, 0);
}

TEST_F(MenusTest, ChoosingTheProjectionInForceDoesNothing) {
    select_projection(kProjectionPerspective);
    EXPECT_EQ(app.frame_changed, 0);
    select_projection(kProjectionParallel);
    EXPECT_EQ(app.projection_mode, kProjectionParallel);
    EXPECT_STREQ(controller_buttons[projection_button_index].text, "Ortho");
    EXPECT_STREQ(options_menu_label(2), "Heiko toei (parallel)");
}

}  // namespace
}  // namespace fourview
