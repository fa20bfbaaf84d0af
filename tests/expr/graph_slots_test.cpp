// The table of equation sets: defaults, moves, copies and menu labels.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dialogue_helpers.h"
#include "expr/dump.h"
#include "expr/evaluator.h"
#include "expr/graph_slots.h"

namespace fourview {
namespace {

void set_slot(int k, const char* x, const char* y, const char* f, const char* g) {
    set_expression(graph_slots[k].equation[kEquationX], x);
    set_expression(graph_slots[k].equation[kEquationY], y);
    set_expression(graph_slots[k].equation[kEquationF], f);
    set_expression(graph_slots[k].equation[kEquationG], g);
}

// A to F: sets told apart by every one of their four equations.
void fill_a_to_f() {
    clear_graph_slots();
    const char* names[] = {"1", "2", "3", "4", "5", "6"};
    for (int k = 0; k < 6; ++k) {
        const std::string n = names[k];
        set_slot(k, n.c_str(), ("s+" + n).c_str(), ("x*" + n).c_str(), ("y-" + n).c_str());
    }
}

// The sets in slot order as the x texts spell them: "412356".
std::string order() {
    std::string s;
    for (const GraphSlot& slot : graph_slots) s += slot.equation[kEquationX].count > 0 ? slot.equation[kEquationX].text : "-";
    return s;
}

// The whole slot, texts and programs, as one string for comparisons.
std::string contents(const GraphSlot& slot) {
    std::string s;
    for (const Expression& e : slot.equation)
        s += std::string(e.text) + " [" + std::to_string(e.count) + "] " + (e.count > 0 ? dump(e) : "") + "\n";
    return s;
}

std::string table() {
    std::string s;
    for (const GraphSlot& slot : graph_slots) s += contents(slot) + "--\n";
    return s;
}

std::string label(int k) {
    char out[kGraphMenuLabelSize];
    std::memset(out, '#', sizeof out);
    compose_graph_menu_label(out, graph_slots[k]);
    return out;
}

TEST(GraphSlots, ClearEmptiesAllTwentyFourExpressions) {
    fill_a_to_f();
    clear_graph_slots();
    for (int k = 0; k < kGraphSlotCount; ++k) {
        EXPECT_FALSE(graph_slot_filled(k));
        for (const Expression& e : graph_slots[k].equation) {
            EXPECT_EQ(e.count, 0);
            EXPECT_STREQ(e.text, "");
        }
    }
}

TEST(GraphSlots, DefaultSetsFillThreeSlots) {
    clear_graph_slots();
    fill_default_sets(0);
    EXPECT_EQ(order(), "sin(s+t)cos(s)*(2+cos(t))s---");
    const char* expected[3][4] = {
        {"sin(s+t)", "cos(s+t)", "sin(s-t)", "cos(s-t)"},
        {"cos(s)*(2+cos(t))", "sin(s)*(2+cos(t))", "sin(t)", "0"},
        {"s", "t", "x^2 - y^2", "2*x*y"},
    };
    for (int k = 0; k < 3; ++k)
        for (int i = 0; i < 4; ++i) EXPECT_STREQ(graph_slots[k].equation[i].text, expected[k][i]);
    EXPECT_EQ(dump(graph_slots[1].equation[kEquationX]), "cos( s ) ( 2 cos( t ) + ) *");
    EXPECT_EQ(dump(graph_slots[2].equation[kEquationF]), "x 2 ^ y 2 ^ -");
    for (int k = 3; k < 6; ++k) EXPECT_FALSE(graph_slot_filled(k));
}

TEST(GraphSlots, DefaultSetsStopAtTheLastSlot) {
    clear_graph_slots();
    fill_default_sets(4);
    EXPECT_EQ(order(), "----sin(s+t)cos(s)*(2+cos(t))");
}

TEST(GraphSlots, ChoosingSlotThreeMovesTheThreeBeforeItDown) {
    fill_a_to_f();
    const GraphSlot d = graph_slots[3];
    const GraphSlot e = graph_slots[4];
    ASSERT_TRUE(move_slot_to_front(3));
    EXPECT_EQ(order(), "412356");  // D-A-B-C-E-F
    EXPECT_EQ(contents(graph_slots[0]), contents(d)) << "the whole set moves, programs included";
    EXPECT_EQ(contents(graph_slots[4]), contents(e));
}

TEST(GraphSlots, ChoosingSlotZeroKeepsTheOrder) {
    fill_a_to_f();
    const std::string before = table();
    ASSERT_TRUE(move_slot_to_front(0));
    EXPECT_EQ(table(), before);
}

TEST(GraphSlots, ChoosingTheLastSlotBringsItToTheFront) {
    fill_a_to_f();
    ASSERT_TRUE(move_slot_to_front(5));
    EXPECT_EQ(order(), "612345");
}

TEST(GraphSlots, AnEmptySlotChangesNothing) {
    clear_graph_slots();
    fill_default_sets(0);
    const std::string before = table();
    for (int n : {3, 4, 5, -1, 6, 26}) {
        EXPECT_FALSE(move_slot_to_front(n)) << n;
        EXPECT_EQ(table(), before) << n;
    }
}

TEST(GraphSlots, RoomForANewSetDropsTheLast) {
    fill_a_to_f();
    make_room_for_new_set();
    EXPECT_EQ(order(), "112345");  // slot 0 still holds A until the new set is written
    set_slot(0, "s*t", "t", "x", "y");
    EXPECT_EQ(order(), "s*t12345");  // new-A-B-C-D-E; F is gone
}

TEST(GraphSlots, CopyTakesTextsCountsAndPrograms) {
    clear_graph_slots();
    set_slot(0, "   sin( s )  ", "cos(t)", "x^2 - y^2", "2*x*y");
    copy_graph_slot(graph_slots[0], graph_slots[5]);
    EXPECT_EQ(contents(graph_slots[5]), contents(graph_slots[0]));
    EXPECT_STREQ(graph_slots[5].equation[kEquationX].text, "   sin( s )  ") << "blanks kept as typed";
    const Expression& f = graph_slots[5].equation[kEquationF];
    EXPECT_DOUBLE_EQ(evaluate_expression(0, 0, 3, 2, f.program, f.count), 5.0);
    copy_graph_slot(graph_slots[5], graph_slots[5]);
    EXPECT_EQ(contents(graph_slots[5]), contents(graph_slots[0])) << "a copy onto itself";
}

TEST(GraphSlots, AFailingFixedTextLeavesTheExpressionEmptyAndItsTextAlone) {
    clear_graph_slots();
    set_slot(0, "s", "t", "x", "y");
    dialogue::Console console;
    const dialogue::Result r = console.run([] { set_expression(graph_slots[0].equation[kEquationX], "s+"); });
    EXPECT_EQ(r.out, "数式の終わり方が不正です。\n\n");
    EXPECT_EQ(graph_slots[0].equation[kEquationX].count, 0);
    EXPECT_STREQ(graph_slots[0].equation[kEquationX].text, "s");
    EXPECT_FALSE(graph_slot_filled(0)) << "an empty x(s,t) makes the slot empty";
    const dialogue::Result blank = console.run([] { set_expression(graph_slots[0].equation[kEquationY], "   "); });
    EXPECT_EQ(blank.out, "") << "a blank text fails silently";
    EXPECT_EQ(graph_slots[0].equation[kEquationY].count, 0);
}

TEST(GraphMenuLabels, TheDefaultSets) {
    clear_graph_slots();
    fill_default_sets(0);
    EXPECT_EQ(label(0), "x(s,t) = sin(s+t) , y(s,t) = cos(s+t) , f(x,y,s,t) = sin(s-t...");
    EXPECT_EQ(label(1), "x(s,t) = cos(s)*(2+cos(t)) , y(s,t) = sin(s)*(2+cos(t)) , f(...");
    EXPECT_EQ(label(2), "x(s,t) = s , y(s,t) = t , f(x,y,s,t) = x^2 - y^2 , g(x,y,s,t...");
    for (int k = 3; k < 6; ++k) EXPECT_EQ(label(k), "") << k;
}

TEST(GraphMenuLabels, SixtyCharactersAreCutToo) {
    clear_graph_slots();
    // 53 characters of names and separators, and 7 of equations.
    set_slot(0, "s", "t", "x+y", "10");
    set_slot(1, "s", "t", "x+y", "1");
    ASSERT_EQ(std::strlen("x(s,t) = s , y(s,t) = t , f(x,y,s,t) = x+y , g(x,y,s,t) = 10"), 60u);
    EXPECT_EQ(label(0), "x(s,t) = s , y(s,t) = t , f(x,y,s,t) = x+y , g(x,y,s,t) = 10...");
    EXPECT_EQ(label(1), "x(s,t) = s , y(s,t) = t , f(x,y,s,t) = x+y , g(x,y,s,t) = 1");
}

TEST(GraphMenuLabels, NeverLongerThanSixtyThreeCharacters) {
    clear_graph_slots();
    const std::string longest = dialogue::repeat("1", 100) + "+" + dialogue::repeat("2", 99);  // 200 characters
    set_slot(0, longest.c_str(), longest.c_str(), longest.c_str(), longest.c_str());
    ASSERT_TRUE(graph_slot_filled(0));
    EXPECT_EQ(label(0), "x(s,t) = " + longest.substr(0, 51) + "...");
    EXPECT_EQ(label(0).size(), 63u);
}

TEST(GraphMenuLabels, AnEmptySlotHasAnEmptyLabelWhateverItsOtherTexts) {
    clear_graph_slots();
    set_slot(0, "s", "t", "x", "y");
    graph_slots[0].equation[kEquationX].count = 0;
    EXPECT_EQ(label(0), "");
}

}  // namespace
}  // namespace fourview
