// The panel record's arithmetic: hit test borders, label placement, labels
// of the mode buttons and of the option menu entries. No display needed.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/app_state.h"
#include "ui/button_panel.h"
#include "ui/controller.h"
#include "ui/menus.h"

namespace fourview {
namespace {

ButtonPanel rect(int x, int y, int w, int h) {
    ButtonPanel b;
    b.x = x;
    b.y = y;
    b.width = w;
    b.height = h;
    return b;
}

TEST(ButtonHit, EdgesCountAsInside) {
    const ButtonPanel b = rect(50, 30, 50, 30);
    EXPECT_EQ(button_hit(b, 50, 30), 1);
    EXPECT_EQ(button_hit(b, 100, 60), 1);
    EXPECT_EQ(button_hit(b, 75, 45), 1);
    EXPECT_EQ(button_hit(b, 49, 45), 0);
    EXPECT_EQ(button_hit(b, 101, 45), 0);
    EXPECT_EQ(button_hit(b, 75, 29), 0);
    EXPECT_EQ(button_hit(b, 75, 61), 0);
}

TEST(ButtonHit, NeighboursShareTheirBorderAndTheFirstWins) {
    // "XY" above "XY R": the line y = 30 belongs to both rectangles.
    const ButtonPanel panel[2] = {rect(0, 0, 50, 30), rect(0, 30, 50, 30)};
    EXPECT_EQ(button_hit(panel[0], 25, 30), 1);
    EXPECT_EQ(button_hit(panel[1], 25, 30), 1);
    int first = -1;
    for (int i = 0; i < 2 && first < 0; ++i)
        if (button_hit(panel[i], 25, 30) == 1) first = i;
    EXPECT_EQ(first, 0);
}

TEST(ButtonText, PlacementByAlignment) {
    ButtonPanel b = rect(0, 0, 150, 30);
    b.font = GLUT_BITMAP_HELVETICA_18;
    place_button_text_for_width(b, 41);
    EXPECT_EQ(b.text_x, 54) << "(150 - 41) / 2 truncated";
    EXPECT_EQ(b.text_y, 13);
    b.align = 1;
    place_button_text_for_width(b, 41);
    EXPECT_EQ(b.text_x, 2);
    b.align = 2;
    place_button_text_for_width(b, 41);
    EXPECT_EQ(b.text_x, 150 - 41 - 2);
}

TEST(ButtonText, AWideLabelOverflowsToTheLeftTruncatingTowardZero) {
    ButtonPanel b = rect(0, 0, 50, 30);
    b.font = GLUT_BITMAP_HELVETICA_12;
    place_button_text_for_width(b, 61);
    EXPECT_EQ(b.text_x, -5) << "-5.5 truncated toward zero";
}

TEST(ButtonText, BaselineOffsetsPerFont) {
    ButtonPanel b = rect(0, 0, 50, 30);
    b.font = GLUT_BITMAP_HELVETICA_12;
    place_button_text_for_width(b, 0);
    EXPECT_EQ(b.text_y, 12);  // baseline 20 below the top with draw_text's 8
    b.font = GLUT_BITMAP_HELVETICA_18;
    place_button_text_for_width(b, 0);
    EXPECT_EQ(b.text_y, 13);  // baseline 21
    b.height = 20;
    b.font = GLUT_BITMAP_8_BY_13;
    place_button_text_for_width(b, 0);
    EXPECT_EQ(b.text_y, 7);
    b.font = GLUT_BITMAP_9_BY_15;
    place_button_text_for_width(b, 0);
    EXPECT_EQ(b.text_y, 8);
    b.height = 21;
    place_button_text_for_width(b, 0);
    EXPECT_EQ(b.text_y, 8) << "10.5 truncated";
}

TEST(ButtonText, LabelsAreCutToTheCell) {
    ButtonPanel b;
    const std::string long_text(150, 'x');
    set_button_text(b, long_text.c_str());
    EXPECT_EQ(std::strlen(b.text), 99u);
    set_button_text(b, "Quit");
    EXPECT_STREQ(b.text, "Quit");
}

TEST(ButtonPanelRecord, DefaultsToTheAlwaysOnFlag) {
    const ButtonPanel b;
    EXPECT_EQ(b.enable, &always_on_flag);
    EXPECT_EQ(always_on_flag, 1);
}

TEST(ModeLabels, NameTheModeInForce) {
    EXPECT_STREQ(rotation_mode_label(63), "Global Rotation");
    EXPECT_STREQ(rotation_mode_label(64), "Local Rotation");
    EXPECT_STREQ(projection_mode_label(65), "Ortho");
    EXPECT_STREQ(projection_mode_label(66), "Frustum");
    EXPECT_STREQ(view_direction_label(0), "from X");
    EXPECT_STREQ(view_direction_label(1), "from Y");
    EXPECT_STREQ(view_direction_label(2), "from Z");
    EXPECT_STREQ(view_direction_label(7), "from X");
}

std::string option_label(int command) {
    for (const OptionEntry& e : OptionEntries) {
        if (e.command == command) {
            char out[32];
            compose_option_label(out, sizeof out, e);
            return out;
        }
    }
    return "<none>";
}

class OptionLabels : public ::testing::Test {
protected:
    void SetUp() override {
        app = AppState{};
        app.mesh_resolution = 51;
    }
    void TearDown() override { app = AppState{}; }
};

TEST_F(OptionLabels, MarksAtStartUp) {
    EXPECT_EQ(option_label(50), "* Solid");
    EXPECT_EQ(option_label(51), "* Transparent");
    EXPECT_EQ(option_label(52), "* Wireframe");
    EXPECT_EQ(option_label(57), "  Cross Section");
    EXPECT_EQ(option_label(53), "* Axes");
    EXPECT_EQ(option_label(54), "* Label");
    EXPECT_EQ(option_label(55), "* Hight Quality");
    EXPECT_EQ(option_label(56), "  Bold Line");
    EXPECT_EQ(option_label(58), "  Save Screen");
    EXPECT_EQ(option_label(59), "  Colour by W");
}

TEST_F(OptionLabels, EntriesInMenuOrder) {
    const int order[] = {50, 51, 52, 57, 53, 54, 55, 56, 58, 59};
    static_assert(sizeof order / sizeof order[0] == kOptionEntryCount, "every entry in order");
    for (int i = 0; i < kOptionEntryCount; ++i) EXPECT_EQ(OptionEntries[i].command, order[i]);
}

TEST_F(OptionLabels, MarksFollowTheFlags) {
    app.solid = 0;
    app.cross_section = 1;
    app.save_screen = 1;
    EXPECT_EQ(option_label(50), "  Solid");
    EXPECT_EQ(option_label(57), "* Cross Section");
    EXPECT_EQ(option_label(58), "* Save Screen");
    EXPECT_EQ(option_label(57).size(), 15u) << "the longest label";
}

TEST_F(OptionLabels, HightQualityShowsTheMeshNotTheFlag) {
    app.high_quality = 1;
    app.mesh_resolution = 25;
    EXPECT_EQ(option_label(55), "  Hight Quality");
    app.high_quality = 0;
    app.mesh_resolution = 51;
    EXPECT_EQ(option_label(55), "* Hight Quality");
}

TEST(ProjectionLabels, LegibleInTheMenusJapaneseInTheProgram) {
    EXPECT_STREQ(projection_menu_label(65), "Heiko toei (parallel)");
    EXPECT_STREQ(projection_menu_label(66), "Tooshi toei (perspective)");
    EXPECT_STREQ(projection_menu_label(67), "Stereographic");
    EXPECT_STREQ(projection_mode_label(67), "Stereographic");
    EXPECT_STREQ(ProjectionNames[0].name, "平行投影");
    EXPECT_STREQ(ProjectionNames[1].name, "透視投影");
    for (const ProjectionName& p : ProjectionNames)
        for (const char* c = p.menu_label; *c; ++c)
            EXPECT_LT(static_cast<unsigned char>(*c), 0x80) << p.menu_label;
}

}  // namespace
}  // namespace fourview
