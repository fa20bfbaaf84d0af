// The "4R Izure" menu and the equation sets behind it, in the program's own
// windows with its menus built.
#include <GL/freeglut.h>

#include <string>

#include "../expr/dialogue_helpers.h"
#include "app/app_state.h"
#include "gl_fixture.h"
#include "render/text.h"
#include "ui/graph_slots.h"
#include "ui/menus.h"

namespace fourview {
namespace {

class GraphMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::start_program();
        app.frame_changed = 0;
    }
    dialogue::Console console_;
};

const char* const kDefaultLabels[3] = {
    "x(s,t) = sin(s+t) , y(s,t) = cos(s+t) , f(x,y,s,t) = sin(s-t...",
    "x(s,t) = cos(s)*(2+cos(t)) , y(s,t) = sin(s)*(2+cos(t)) , f(...",
    "x(s,t) = s , y(s,t) = t , f(x,y,s,t) = x^2 - y^2 , g(x,y,s,t...",
};

int menu_items() {
    glutSetMenu(app.graph_menu);
    return glutGet(GLUT_MENU_NUM_ITEMS);
}

TEST_F(GraphMenuTest, AtStartThreeLabelsAndThreeEmptyEntries) {
    EXPECT_EQ(menu_items(), 7) << "NEW and six slot entries";
    for (int k = 0; k < 3; ++k) EXPECT_STREQ(graph_menu_label(k), kDefaultLabels[k]);
    for (int k = 3; k < 6; ++k) EXPECT_STREQ(graph_menu_label(k), "");
    EXPECT_STREQ(graph_slot0_text(0), "sin(s+t)");
    EXPECT_STREQ(graph_slot0_text(3), "cos(s-t)");
}

TEST_F(GraphMenuTest, RebuildingKeepsSevenEntries) {
    for (int i = 0; i < 3; ++i) rebuild_graph_menu();
    EXPECT_EQ(menu_items(), 7);
}

TEST_F(GraphMenuTest, ChoosingAStoredSetMakesItCurrentAndRelabels) {
    select_model(23);
    EXPECT_EQ(app.model_id, kModelUserGraph);
    EXPECT_STREQ(graph_menu_label(0), kDefaultLabels[2]);
    EXPECT_STREQ(graph_menu_label(1), kDefaultLabels[0]);
    EXPECT_STREQ(graph_menu_label(2), kDefaultLabels[1]);
    EXPECT_STREQ(graph_slot0_text(2), "x^2 - y^2") << "the caption follows slot 0";
    EXPECT_EQ(menu_items(), 7);
}

TEST_F(GraphMenuTest, AnEmptyEntryChangesNothing) {
    select_model(25);
    EXPECT_EQ(app.model_id, kModelHypercube);
    EXPECT_EQ(app.frame_changed, 0);
    for (int k = 0; k < 3; ++k) EXPECT_STREQ(graph_menu_label(k), kDefaultLabels[k]);
}

TEST_F(GraphMenuTest, NewReadsASetFromTheConsole) {
    console_.fresh("s*t\nt\nx+y\nx-y\n");
    const dialogue::Result r = console_.run([] { select_model(20); });
    EXPECT_EQ(r.out, "\nplease input equations.\nx(s,t) = y(s,t) = f(x,y,s,t) = g(x,y,s,t) = ");
    EXPECT_EQ(app.model_id, kModelUserGraph);
    EXPECT_STREQ(graph_menu_label(0), "x(s,t) = s*t , y(s,t) = t , f(x,y,s,t) = x+y , g(x,y,s,t) = ...");
    for (int k = 0; k < 3; ++k) EXPECT_STREQ(graph_menu_label(k + 1), kDefaultLabels[k]);
    EXPECT_STREQ(graph_menu_label(4), "");
    EXPECT_STREQ(graph_slot0_text(0), "s*t");
}

TEST_F(GraphMenuTest, NewCutShortByTheEndOfInputKeepsTheSets) {
    console_.fresh("s*t\nt\n");
    const dialogue::Result r = console_.run([] { select_model(20); });
    EXPECT_EQ(r.err, dialogue::input_ended);
    for (int k = 0; k < 3; ++k) EXPECT_STREQ(graph_menu_label(k), kDefaultLabels[k]);
    EXPECT_STREQ(graph_menu_label(3), "");
    EXPECT_STREQ(graph_slot0_text(0), "sin(s+t)");
    EXPECT_EQ(app.model_id, kModelHypercube) << "nothing was entered: the model stays";
}

}  // namespace
}  // namespace fourview
