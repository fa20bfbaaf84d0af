// The values window's line texts, built from the state, and their fitting
// to a field: no display needed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "ui/value_text.h"

namespace fourview {
namespace {

AppState start_state() {
    AppState s;
    std::strcpy(s.s_min_text, "-3.141593");
    std::strcpy(s.s_max_text, "3.141593");
    std::strcpy(s.t_min_text, "-3.141593");
    std::strcpy(s.t_max_text, "3.141593");
    return s;
}

std::string line(int code, const AppState& s) {
    char out[kValueLineWork] = "unchanged";
    if (!value_line_text(out, sizeof out, code, s)) return "<unchanged>";
    return out;
}

std::string short_of(double v) {
    char out[400];
    short_number(out, sizeof out, v);
    return out;
}

std::string plane_of(std::array<double, 5> p, double offset) {
    char out[kValueLineWork];
    hyperplane_text(out, sizeof out, p, offset);
    return out;
}

TEST(ValueLines, EveryCodeAtStartUp) {
    const AppState s = start_state();
    EXPECT_EQ(line(80, s), "Infinity = 500.000000");
    EXPECT_EQ(line(81, s), "{ s : -3.141593 <= s <= 3.141593 }");
    EXPECT_EQ(line(82, s), "{ t : -3.141593 <= t <= 3.141593 }");
    EXPECT_EQ(line(83, s), "Center =  { 0, 0, 0, 0 }");
    EXPECT_EQ(line(84, s), "Rotation Angle = 10");
    EXPECT_EQ(line(85, s), "W = 0.000000");
    EXPECT_EQ(line(86, s), "W = 0.000000");
    EXPECT_EQ(line(87, s), "W = 0.000000");
    EXPECT_EQ(line(89, s), "Zoom = 1.000000");
    EXPECT_EQ(line(90, s), "Zoom = 1.000000");
    EXPECT_EQ(line(91, s), "Zoom = 1.000000");
    EXPECT_EQ(line(92, s), "Window Size = (640, 480)");
}

TEST(ValueLines, CodesWithoutALineLeaveTheTextAlone) {
    const AppState s = start_state();
    for (int code : {0, 79, 88, 93, 100}) EXPECT_EQ(line(code, s), "<unchanged>") << code;
}

TEST(ValueLines, RangesShowTheTextsAsTyped) {
    AppState s = start_state();
    std::strcpy(s.s_min_text, "-pi/2");
    std::strcpy(s.s_max_text, "2*pi");
    EXPECT_EQ(line(81, s), "{ s : -pi/2 <= s <= 2*pi }");
}

TEST(ValueLines, ShortNumbers) {
    EXPECT_EQ(short_of(1.0), "1");
    EXPECT_EQ(short_of(0.5), "0.5");
    EXPECT_EQ(short_of(0.0), "0");
    EXPECT_EQ(short_of(3.14159265), "3.141593");
    EXPECT_EQ(short_of(100.0), "100") << "zeros before the point stay";
    EXPECT_EQ(short_of(10.25), "10.25");
    EXPECT_EQ(short_of(-2.5), "2.5") << "the magnitude only";
    EXPECT_EQ(short_of(0.0000001), "0") << "below %f's six decimals";
    EXPECT_EQ(short_of(INFINITY), "inf") << "nothing to strip without a point";
}

TEST(ValueLines, CenterWithSignsAndShortNumbers) {
    AppState s = start_state();
    s.graph_center = Point4{-1.5, 0, 2, 0.25};
    EXPECT_EQ(line(83, s), "Center =  { -1.5, 0, 2, 0.25 }");
    s.graph_center = Point4{-0.0, 1e6, -3.14159265, 7};
    EXPECT_EQ(line(83, s), "Center =  { 0, 1000000, -3.141593, 7 }");
}

TEST(ValueLines, HyperplaneEquation) {
    EXPECT_EQ(plane_of({0, 0, 0, 1, 0}, 0), "W = 0.000000");
    EXPECT_EQ(plane_of({1, -2, 0, 0.5, 3}, 0), "X - 2*Y + 0.5*W = 3.000000");
    EXPECT_EQ(plane_of({-1, 0, 0, 0, 0}, 0), "- X = 0.000000");
    EXPECT_EQ(plane_of({0, 0, 1, -1, 2}, 0.5), "Z - W = 2.500000");
    EXPECT_EQ(plane_of({2.5, 1, -1, -0.25, -1}, -0.1), "2.5*X + Y - Z - 0.25*W = -1.100000");
    EXPECT_EQ(plane_of({0, 0, 0, 0, 4}, 0), "= 4.000000");
}

TEST(ValueLines, HyperplaneLineFollowsTheOffset) {
    AppState s = start_state();
    s.section_offset = -0.1;
    EXPECT_EQ(line(85, s), "W = -0.100000");
}

// Fixed-pitch stand-ins for the bitmap fonts.
int eight_pixels(void*, int) { return 8; }
int narrow_dots(void*, int c) { return c == '.' ? 2 : 10; }

std::string fitted(const char* text, int width, int (*w)(void*, int), std::size_t max = 99) {
    char buf[200];
    std::strcpy(buf, text);
    fit_text_to_width(buf, max, width, nullptr, w);
    return buf;
}

int width_of(const std::string& s, int (*w)(void*, int)) {
    int sum = 0;
    for (char c : s) sum += w(nullptr, c);
    return sum;
}

TEST(ValueFitting, ATextThatFitsStaysWhole) {
    EXPECT_EQ(fitted("abcde", 40, eight_pixels), "abcde") << "exactly the width fits";
    EXPECT_EQ(fitted("", 0, eight_pixels), "");
}

TEST(ValueFitting, OverflowEndsInDotsThatFitStrictlyInside) {
    // "abcdef" is 48 pixels in 40: the kept characters plus three dots must
    // be narrower than the field, so only "a" (8 + 24 = 32) stays.
    EXPECT_EQ(fitted("abcdef", 40, eight_pixels), "a...");
    EXPECT_EQ(fitted("abcdefgh", 41, eight_pixels), "ab...");
    // Narrow dots leave room for more characters.
    EXPECT_EQ(fitted("abcdefgh", 45, narrow_dots), "abc...");
}

TEST(ValueFitting, AFieldTooNarrowForAnythingGetsTheDotsAlone) {
    EXPECT_EQ(fitted("abc", 10, eight_pixels), "...");
}

TEST(ValueFitting, StartUpLinesFitTheirFields) {
    const AppState s = start_state();
    for (int code : {80, 81, 82, 83, 84, 92}) {
        const std::string l = line(code, s);
        EXPECT_EQ(fitted(l.c_str(), 500, eight_pixels), l) << code;
    }
}

TEST(ValueFitting, AHugeInfinityIsCutSafelyThenFitted) {
    AppState s = start_state();
    s.infinity = 1e100;
    char text[kValueLineWork];
    ASSERT_TRUE(value_line_text(text, sizeof text, 80, s));
    ASSERT_GT(std::strlen(text), 99u) << "the case this guards against";
    cut_to_cell(text, 99);
    EXPECT_EQ(std::strlen(text), 99u);
    EXPECT_EQ(std::string(text).substr(96), "...");
    char cell[100];
    std::strcpy(cell, text);
    fit_text_to_width(cell, 99, 500, nullptr, eight_pixels);
    const std::string shown = cell;
    EXPECT_LT(width_of(shown, eight_pixels), 500);
    EXPECT_EQ(shown.substr(0, 13), "Infinity = 10");
    EXPECT_EQ(shown.substr(shown.size() - 3), "...");
}

TEST(ValueFitting, TheLargestDoubleInEveryHyperplaneTermStaysInBounds) {
    AppState s = start_state();
    s.hyperplane = {-1.7e308, 1.7e308, -1.7e308, 1.7e308, 1.7e308};
    char text[kValueLineWork];
    ASSERT_TRUE(value_line_text(text, sizeof text, 85, s));
    EXPECT_LT(std::strlen(text), sizeof text);
    EXPECT_EQ(std::string(text).substr(0, 3), "- 1");
    cut_to_cell(text, 99);
    EXPECT_EQ(std::strlen(text), 99u);
}

TEST(ValueFitting, NeverGrowsPastTheCell) {
    // One-pixel characters in a 98-pixel field: the overflow comes at the
    // 99th character, and "..." must still end inside 99 characters.
    std::string ninety_nine(99, 'a');
    const std::string r = fitted(ninety_nine.c_str(), 98, [](void*, int) { return 1; }, 99);
    EXPECT_LE(r.size(), 99u);
    EXPECT_EQ(r.substr(r.size() - 3), "...");
}

TEST(ValueFitting, CutLeavesShortTextsAlone) {
    char text[20] = "short";
    cut_to_cell(text, 99);
    EXPECT_STREQ(text, "short");
}

}  // namespace
}  // namespace fourview
