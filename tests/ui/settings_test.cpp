// The console dialogues of the values window's "Change" buttons, fed from a
// stream: every heading and prompt byte for byte, each validation loop,
// answers that are not numbers, and the end of input at every prompt.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "../expr/dialogue_helpers.h"
#include "app/app_state.h"
#include "ui/settings.h"

namespace fourview {
namespace {

const double kPi = 3.141592653589793;

// Every setting a dialogue may write, for before/after comparisons.
std::string settings() {
    char s[4096];
    std::snprintf(s, sizeof s,
                  "size %d %d | s %.17g %.17g [%s] [%s] | t %.17g %.17g [%s] [%s] | inf %.17g | "
                  "center %.17g %.17g %.17g %.17g | angle %d | plane %.17g %.17g %.17g %.17g %.17g "
                  "| offset %.17g | zoom %.17g",
                  app.window_width, app.window_height, app.s_min, app.s_max, app.s_min_text,
                  app.s_max_text, app.t_min, app.t_max, app.t_min_text, app.t_max_text, app.infinity,
                  app.graph_center.x, app.graph_center.y, app.graph_center.z, app.graph_center.w,
                  app.rotation_angle, app.hyperplane[0], app.hyperplane[1], app.hyperplane[2],
                  app.hyperplane[3], app.hyperplane[4], app.section_offset, app.zoom);
    return s;
}

class SettingsDialogue : public ::testing::Test {
protected:
    void SetUp() override {
        app = AppState{};
        app.s_min = app.t_min = -kPi;
        app.s_max = app.t_max = kPi;
        std::snprintf(app.s_min_text, kRangeTextSize, "%f", -kPi);
        std::snprintf(app.s_max_text, kRangeTextSize, "%f", kPi);
        std::snprintf(app.t_min_text, kRangeTextSize, "%f", -kPi);
        std::snprintf(app.t_max_text, kRangeTextSize, "%f", kPi);
        app.section_offset = 0.25;
    }

    // Runs the dialogue of `code` on `answers`.
    dialogue::Result ask(int code, const std::string& answers) {
        console_.fresh(answers);
        return console_.run([&] { changed_ = ask_setting(code); });
    }
    // The same dialogue again, on the stream as it is.
    dialogue::Result ask_again(int code) {
        return console_.run([&] { changed_ = ask_setting(code); });
    }

    dialogue::Console console_;
    bool changed_ = false;
};

TEST_F(SettingsDialogue, WindowSize) {
    const auto r = ask(92, "0\n-5\nabc\n12abc\n800\n0\n600\nnext\n");
    ASSERT_TRUE(changed_);
    EXPECT_EQ(r.out, "\nPlease input Window Size.\nwidht = widht = widht = widht = widht = height = height = ");
    EXPECT_EQ(app.window_width, 800);
    EXPECT_EQ(app.window_height, 600);
    EXPECT_EQ(r.unread, "next\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(SettingsDialogue, WindowSidesThatXCannotHoldAreAskedAgain) {
    const auto r = ask(92, "65536\n32768\n32767\n70000\n1\n");
    ASSERT_TRUE(changed_);
    EXPECT_EQ(r.out, "\nPlease input Window Size.\nwidht = widht = widht = height = height = ");
    EXPECT_EQ(app.window_width, 32767);
    EXPECT_EQ(app.window_height, 1);
}

TEST_F(SettingsDialogue, SRangeAsConstantExpressionsShownAsTyped) {
    const auto r = ask(81, "-pi/2\n2*pi\n");
    ASSERT_TRUE(changed_);
    EXPECT_EQ(r.out, "\ns_min <= s <= s_max\ns_min = s_max = ");
    EXPECT_DOUBLE_EQ(app.s_min, -kPi / 2);
    EXPECT_DOUBLE_EQ(app.s_max, 2 * kPi);
    EXPECT_STREQ(app.s_min_text, "-pi/2");
    EXPECT_STREQ(app.s_max_text, "2*pi");
    EXPECT_STREQ(app.t_min_text, "-3.141593") << "t untouched";
}

TEST_F(SettingsDialogue, AnEmptyRangeRepeatsTheWholeDialogue) {
    const auto r = ask(81, "1\n1\n2\n1\n0\n1\n");
    ASSERT_TRUE(changed_);
    const std::string once = "\ns_min <= s <= s_max\ns_min = s_max = ";
    EXPECT_EQ(r.out, once + once + once);
    EXPECT_EQ(app.s_min, 0.0);
    EXPECT_EQ(app.s_max, 1.0);
}

TEST_F(SettingsDialogue, BoundsThatAreNoFiniteNumbersRepeatTheDialogueToo) {
    // sqrt(-1) is NaN and 1/0 infinite: every sample of the graph would be NaN.
    const auto r = ask(82, "sqrt(-1)\n1\n0\nsqrt(-1)\n-1/0\n0\n0\n10^308*10\n-10^308\n10^308\n-1\npi\n");
    ASSERT_TRUE(changed_);
    const std::string once = "\nt_min <= t <= t_max\nt_min = t_max = ";
    EXPECT_EQ(r.out, once + once + once + once + once + once);
    EXPECT_EQ(app.t_min, -1.0);
    EXPECT_EQ(app.t_max, kPi);
    EXPECT_STREQ(app.t_min_text, "-1");
}

TEST_F(SettingsDialogue, ParametersInABoundAreRefusedOnTheSpot) {
    const auto r = ask(81, "t\n-1\ns\n1\n");
    ASSERT_TRUE(changed_);
    EXPECT_EQ(r.out,
              "\ns_min <= s <= s_max\ns_min = s_min に 's', 't', 'x' ,'y'\u3000は使用できません\n"
              "s_min = s_max = s_max に 's', 't', 'x' ,'y'\u3000は使用できません\ns_max = ");
}

TEST_F(SettingsDialogue, EngineMessagesForABoundThatDoesNotCheck) {
    const auto r = ask(82, "(1\n\n-1\n1\n");
    EXPECT_EQ(r.out, "\nt_min <= t <= t_max\nt_min = 開閉の括弧の数が不正です\n\nt_min = t_min = t_max = ");
}

TEST_F(SettingsDialogue, ALongBoundKeepsItsWholeText) {
    // 200 characters: -1 written with a 100-digit and a 98-digit number.
    const std::string typed = "-" + dialogue::repeat("0", 99) + "1/" + dialogue::repeat("0", 97) + "1";
    ASSERT_EQ(typed.size(), 200u);
    ask(81, typed + "\n1\n");
    ASSERT_TRUE(changed_);
    EXPECT_EQ(app.s_min, -1.0);
    EXPECT_EQ(std::string(app.s_min_text), typed);
}

TEST_F(SettingsDialogue, Infinity) {
    const auto r = ask(80, "0\n-1\nx\nnan\n250\n");
    ASSERT_TRUE(changed_);
    EXPECT_EQ(r.out, "\nInfinity = \nInfinity = \nInfinity = \nInfinity = \nInfinity = ");
    EXPECT_EQ(app.infinity, 250.0);
}

TEST_F(SettingsDialogue, CenterOnOneLineOrSeveral) {
    const auto r = ask(83, "1 2\n3 x\n-1.5 0\n2 0.25\n");
    ASSERT_TRUE(changed_);
    EXPECT_EQ(r.out, "\nPlease input graph_center.\n(x, y, z, w) = (x, y, z, w) = ");
    EXPECT_EQ(app.graph_center.x, -1.5);
    EXPECT_EQ(app.graph_center.y, 0.0);
    EXPECT_EQ(app.graph_center.z, 2.0);
    EXPECT_EQ(app.graph_center.w, 0.25);
}

// The values window shows "{ 0.5, 0, 0, 0 }" and the prompts "(x, y, z, w)":
// commas and one enclosing pair of parentheses are taken as well as blanks,
// in every answer of several numbers on one line.
TEST_F(SettingsDialogue, SeveralNumbersWithCommasAndParentheses) {
    struct Row {
        int code;
        const char* typed;
        const char* prompts;  // after the heading
        std::string after;    // the settings it leaves
    };
    const std::string heading85 = "\nPlease input aX + bY + cZ + dW = e\n";
    const Row rows[] = {
        {83, "0.5, 0, 0, 0\n", "(x, y, z, w) = ", "center 0.5 0 0 0"},
        {83, "(0.5, 0, 0, -1)\n", "(x, y, z, w) = ", "center 0.5 0 0 -1"},
        {83, "(1,2,3,4)\n", "(x, y, z, w) = ", "center 1 2 3 4"},
        {83, "( 1 , 2 , 3 , 4 ) and more\n", "(x, y, z, w) = ", "center 1 2 3 4"},
        {83, "(1, 2, 3, 4\n1, 2\n3, 5\n", "(x, y, z, w) = (x, y, z, w) = ", "center 1 2 3 5"},
        {83, "1, 2, 3, 4, 5\n(1 2 3 4 5)\n6 7 8 9\n",
         "(x, y, z, w) = (x, y, z, w) = (x, y, z, w) = ", "center 6 7 8 9"},
        {85, "(0, 0, 1, 0, 2)\n", "(a,b,c,d,e) = ", "plane 0 0 1 0 2"},
        {85, "0,0,0,1,-1\n", "(a,b,c,d,e) = ", "plane 0 0 0 1 -1"},
        {92, "800, 600\n", "widht = ", "size 800 600"},
        {92, "(800 600)\n", "widht = ", "size 800 600"},
        {92, "(800)\n(600)\n", "widht = height = ", "size 800 600"},
        {92, "800,\n600\n", "widht = height = ", "size 800 600"},
        {92, "800, 600, 1\n(800, 600\n800 0\n700 500\n", "widht = widht = widht = widht = ",
         "size 700 500"},
    };
    for (const Row& row : rows) {
        SetUp();
        const auto r = ask(row.code, row.typed);
        EXPECT_TRUE(changed_) << row.typed;
        const std::string heading = row.code == 83   ? "\nPlease input graph_center.\n"
                                    : row.code == 85 ? heading85
                                                     : "\nPlease input Window Size.\n";
        EXPECT_EQ(r.out, heading + row.prompts) << row.typed;
        EXPECT_NE(settings().find(row.after), std::string::npos) << row.typed << ": " << settings();
    }
}

// Sizes that X takes but GL cannot: over GL_MAX_VIEWPORT_DIMS, or over the
// memory bound; zooms that overflow the projection in single precision.
TEST_F(SettingsDialogue, SizesAndZoomsTheRendererCannotTakeAreAskedAgain) {
    set_viewport_limit(16384, 16384);
    auto r = ask(92, "16385\n16384\n2049\n2048\n");
    EXPECT_EQ(r.out, "\nPlease input Window Size.\nwidht = widht = height = height = ");
    EXPECT_EQ(app.window_width, 16384) << "16384 x 2048 is the most pixels allowed";
    EXPECT_EQ(app.window_height, 2048);
    r = ask(92, "10000 10000\n1000 30000\n1000 1000\n");
    EXPECT_EQ(r.out, "\nPlease input Window Size.\nwidht = widht = widht = ");
    EXPECT_EQ(app.window_width, 1000);
    set_viewport_limit(0, 0);

    r = ask(89, "1e-300\n1e300\n1e-7\n2e6\n1e6\n");
    EXPECT_EQ(r.out, "Please input Zoom rate.\nZoom = Zoom = Zoom = Zoom = Zoom = ");
    EXPECT_EQ(app.zoom, 1e6);
    ask(89, "1e-6\n");
    EXPECT_EQ(app.zoom, 1e-6);
}

TEST(WindowSizeFits, SidesPixelsAndTheViewport) {
    EXPECT_TRUE(window_size_fits(1, 1));
    EXPECT_TRUE(window_size_fits(32767, 1));
    EXPECT_TRUE(window_size_fits(7680, 4320)) << "an 8K screen";
    EXPECT_FALSE(window_size_fits(0, 1));
    EXPECT_FALSE(window_size_fits(32768, 1));
    EXPECT_FALSE(window_size_fits(8192, 4097));
    set_viewport_limit(4096, 2048);
    EXPECT_TRUE(window_size_fits(4096, 2048));
    EXPECT_FALSE(window_size_fits(4097, 10));
    EXPECT_FALSE(window_size_fits(10, 2049));
    set_viewport_limit(0, 0);
}

TEST_F(SettingsDialogue, RotationAngleAcceptsAnyInt) {
    auto r = ask(84, "-15\n");
    ASSERT_TRUE(changed_);
    EXPECT_EQ(r.out, "\nPlease input roation angle.\n");
    EXPECT_EQ(app.rotation_angle, -15);
    // The heading is its only prompt: a word that is no int brings it back.
    r = ask(84, "ten\n0\n");
    EXPECT_EQ(r.out, "\nPlease input roation angle.\n\nPlease input roation angle.\n");
    EXPECT_EQ(app.rotation_angle, 0);
}

TEST_F(SettingsDialogue, HyperplaneWithoutANormalIsAskedAgain) {
    const auto r = ask(85, "0 0 0 0 5\n0 0 a\n0 0 1 -1 2\n");
    ASSERT_TRUE(changed_);
    const std::string heading = "\nPlease input aX + bY + cZ + dW = e\n";
    EXPECT_EQ(r.out, heading + "(a,b,c,d,e) = " + heading + "(a,b,c,d,e) = (a,b,c,d,e) = ");
    EXPECT_EQ(app.hyperplane[2], 1.0);
    EXPECT_EQ(app.hyperplane[3], -1.0);
    EXPECT_EQ(app.hyperplane[4], 2.0);
    EXPECT_EQ(app.section_offset, 0.25) << "reset_view, run by edit_setting, clears it";
}

TEST_F(SettingsDialogue, ZoomHeadingOnceThenThePromptUntilPositive) {
    const auto r = ask(89, "0\n-1\n0.5\n");
    ASSERT_TRUE(changed_);
    EXPECT_EQ(r.out, "Please input Zoom rate.\nZoom = Zoom = Zoom = ");
    EXPECT_EQ(app.zoom, 0.5);
}

TEST_F(SettingsDialogue, TheStarButtonAsksNothing) {
    const auto r = ask(88, "5\n");
    EXPECT_TRUE(changed_);
    EXPECT_EQ(app.section_offset, 0.0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.unread, "5\n");
}

TEST_F(SettingsDialogue, CodesWithoutADialogue) {
    for (int code : {86, 87, 90, 91, 99, 0}) {
        const std::string before = settings();
        const auto r = ask(code, "5\n");
        EXPECT_FALSE(changed_) << code;
        EXPECT_EQ(r.out, "") << code;
        EXPECT_EQ(r.unread, "5\n") << code;
        EXPECT_EQ(settings(), before) << code;
    }
}

TEST_F(SettingsDialogue, TheEndOfInputAtEveryPromptKeepsThePreviousValues) {
    struct Cut {
        int code;
        const char* answers;
    };
    const Cut cuts[] = {
        {92, ""},        {92, "0\n"},          {92, "640x\n"},  {92, "800\n"},        {92, "800\n0\n"},
        {81, ""},        {81, "1\n"},          {81, "1\n1\n"},  {81, "1\n1\n0\n"},    {81, "t\n"},
        {82, "-1\n"},    {82, "(\n"},          {80, ""},        {80, "0\n"},          {80, "x\n"},
        {83, ""},        {83, "1 2 3\n"},      {83, "1 x\n"},   {84, ""},             {84, "x\n"},
        {85, ""},        {85, "0 0 0 0 5\n"},  {85, "1 2 3 4"}, {89, ""},             {89, "0\n"},
        {89, "-1\n\n"},
    };
    for (const Cut& cut : cuts) {
        SetUp();
        const std::string before = settings();
        const auto r = ask(cut.code, cut.answers);
        EXPECT_FALSE(changed_) << cut.code << " " << cut.answers;
        EXPECT_EQ(settings(), before) << cut.code << " " << cut.answers;
        EXPECT_EQ(r.err, dialogue::input_ended) << cut.code << " " << cut.answers;
        // Every later dialogue returns at once, without a word.
        for (int code : {92, 81, 82, 80, 83, 84, 85, 89}) {
            const auto again = ask_again(code);
            EXPECT_FALSE(changed_);
            EXPECT_EQ(again.out, "") << code;
            EXPECT_EQ(again.err, "") << code;
        }
        EXPECT_EQ(settings(), before);
    }
}

TEST_F(SettingsDialogue, AnswersOnTheLastLineWithoutNewline) {
    const auto r = ask(89, "2");
    EXPECT_TRUE(changed_);
    EXPECT_EQ(app.zoom, 2.0);
    EXPECT_EQ(r.err, "");
    const auto again = ask_again(80);
    EXPECT_FALSE(changed_);
    EXPECT_EQ(again.out, "");
    EXPECT_EQ(again.err, dialogue::input_ended) << "said by the first dialogue that finds no input";
}

TEST_F(SettingsDialogue, TheStarButtonWorksAfterTheEnd) {
    ask(89, "");
    app.section_offset = 1.0;
    ask_again(88);
    EXPECT_TRUE(changed_);
    EXPECT_EQ(app.section_offset, 0.0);
}

TEST_F(SettingsDialogue, HyperplaneWithANormalTooSmallOrTooLargeIsAskedAgain) {
    const auto r = ask(85, "1e-170 0 0 0 1\n0 0 0 1e200 1\n0 0 0 -0 1\n0 0 1e-9 0 1\n");
    ASSERT_TRUE(changed_);
    const std::string once = "\nPlease input aX + bY + cZ + dW = e\n(a,b,c,d,e) = ";
    EXPECT_EQ(r.out, once + once + once + once);
    EXPECT_EQ(app.hyperplane[2], 1e-9);
}

TEST(UsableNormal, NotZeroAndNotOverflowing) {
    EXPECT_TRUE(usable_normal(0, 0, 0, 1));
    EXPECT_TRUE(usable_normal(0, -2, 0, 0));
    EXPECT_TRUE(usable_normal(1e-150, 0, 0, 0));
    EXPECT_TRUE(usable_normal(1e150, 1e150, 0, 0));
    EXPECT_FALSE(usable_normal(0, 0, 0, 0));
    EXPECT_FALSE(usable_normal(-0.0, 0, 0, 0));
    EXPECT_FALSE(usable_normal(1e-170, 1e-170, 0, 0));
    EXPECT_FALSE(usable_normal(0, 0, 1e200, 0));
}

TEST(UsableRange, FiniteBoundsInOrder) {
    const double nan = std::nan("");
    const double inf = HUGE_VAL;
    EXPECT_TRUE(usable_range(-1, 1));
    EXPECT_TRUE(usable_range(-1e300, 1e300));
    EXPECT_FALSE(usable_range(1, 1));
    EXPECT_FALSE(usable_range(2, 1));
    EXPECT_FALSE(usable_range(nan, 1));
    EXPECT_FALSE(usable_range(0, nan));
    EXPECT_FALSE(usable_range(-inf, 0));
    EXPECT_FALSE(usable_range(0, inf));
    EXPECT_FALSE(usable_range(-1.7e308, 1.7e308)) << "the width overflows";
}

}  // namespace
}  // namespace fourview
