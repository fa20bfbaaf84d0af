// The console dialogues of the equations, fed from a stream: every prompt
// and message byte for byte, the loops that ask again, and the end of input
// at every prompt.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "dialogue_helpers.h"
#include "expr/dump.h"
#include "expr/evaluator.h"
#include "expr/graph_slots.h"

namespace fourview {
namespace {

using dialogue::repeat;

const std::string too_long = "数式が長過ぎます\n\n";
const std::string heading = "\nplease input equations.\n";
const std::string x_refused = "x(s,t) に対して、'x', 'y' は無効です.\n";
const std::string y_refused = "y(s,t) に対して、'x', 'y' は無効です.\n";

// ---------------------------------------------------------------- lines

struct LineRead {
    int length = 0;
    std::string text;
    dialogue::Result r;
};

LineRead read_line(dialogue::Console& console) {
    LineRead l;
    char buffer[EXPRESSION_TEXT_LENGTH + 1];
    std::memset(buffer, '#', sizeof buffer);
    l.r = console.run([&] { l.length = read_equation_line(buffer); });
    l.text = buffer;
    return l;
}

TEST(ReadEquationLine, OneLineWithoutItsNewline) {
    dialogue::Console console;
    console.fresh("sin(s)\nnext\n");
    const LineRead l = read_line(console);
    EXPECT_EQ(l.length, 6);
    EXPECT_EQ(l.text, "sin(s)");
    EXPECT_EQ(l.r.out, "");
    EXPECT_EQ(l.r.unread, "next\n");
}

TEST(ReadEquationLine, AnEmptyLineIsZero) {
    dialogue::Console console;
    console.fresh("\nnext\n");
    const LineRead l = read_line(console);
    EXPECT_EQ(l.length, 0);
    EXPECT_EQ(l.text, "");
    EXPECT_EQ(l.r.out, "");
    EXPECT_EQ(l.r.unread, "next\n");
}

TEST(ReadEquationLine, TwoHundredCharactersFit) {
    dialogue::Console console;
    const std::string line = repeat("1234567890", 20);
    console.fresh(line + "\n");
    const LineRead l = read_line(console);
    EXPECT_EQ(l.length, 200);
    EXPECT_EQ(l.text, line);
    EXPECT_EQ(l.r.out, "");
}

TEST(ReadEquationLine, TwoHundredAndOneAreReadToTheEndAndRefused) {
    dialogue::Console console;
    console.fresh(repeat("1234567890", 20) + "1\nnext\n");
    const LineRead l = read_line(console);
    EXPECT_EQ(l.length, 0);
    EXPECT_EQ(l.text, "");
    EXPECT_EQ(l.r.out, too_long);
    EXPECT_EQ(l.r.unread, "next\n") << "the rest of the long line is dropped, not read as the next answer";
}

TEST(ReadEquationLine, AVeryLongLineIsDroppedWhole) {
    dialogue::Console console;
    console.fresh(repeat("s+", 5000) + "s\nnext\n");
    const LineRead l = read_line(console);
    EXPECT_EQ(l.length, 0);
    EXPECT_EQ(l.r.out, too_long);
    EXPECT_EQ(l.r.unread, "next\n");
}

TEST(ReadEquationLine, TheCarriageReturnOfAWindowsLineIsNoPartOfIt) {
    dialogue::Console console;
    console.fresh("cos(t)\r\n" + repeat("1234567890", 20) + "\r\n");
    LineRead l = read_line(console);
    EXPECT_EQ(l.length, 6);
    EXPECT_EQ(l.text, "cos(t)");
    l = read_line(console);
    EXPECT_EQ(l.length, 200) << "200 characters and \\r\\n still fit";
}

TEST(ReadEquationLine, TheEndOfInputIsMinusOneAndSaidOnceOnStandardError) {
    dialogue::Console console;
    console.fresh("last");
    LineRead l = read_line(console);
    EXPECT_EQ(l.length, 4) << "a last line without a newline still counts";
    EXPECT_EQ(l.text, "last");
    EXPECT_EQ(l.r.err, "");
    l = read_line(console);
    EXPECT_EQ(l.length, -1);
    EXPECT_EQ(l.r.out, "");
    EXPECT_EQ(l.r.err, dialogue::input_ended);
    EXPECT_TRUE(console_input_ended());
    l = read_line(console);
    EXPECT_EQ(l.length, -1);
    EXPECT_EQ(l.text, "") << "the buffer holds an empty text after every end, not what was there";
    EXPECT_EQ(l.r.err, "") << "one line for the whole run";
}

// ---------------------------------------------------------------- ask_expression

struct Asked {
    bool ok = false;
    Expression e{};
    dialogue::Result r;
};

Asked ask(const std::string& answers, const char* name = "x(s,t)") {
    dialogue::Console console;
    console.fresh(answers);
    Asked a;
    std::strcpy(a.e.text, "old");
    a.e.count = 0;
    a.r = console.run([&] { a.ok = ask_expression(a.e, name); });
    return a;
}

TEST(AskExpression, PromptsOnTheSameLineAndStoresTheLineAsTyped) {
    const Asked a = ask("  COS(s)*(2+cos( t ))\nnext\n");
    ASSERT_TRUE(a.ok);
    EXPECT_EQ(a.r.out, "x(s,t) = ");
    EXPECT_STREQ(a.e.text, "  COS(s)*(2+cos( t ))");
    EXPECT_EQ(dump(a.e), "cos( s ) ( 2 cos( t ) + ) *");
    EXPECT_DOUBLE_EQ(evaluate_expression(0, 0, 0, 0, a.e.program, a.e.count), 3.0);
    EXPECT_EQ(a.r.unread, "next\n");
}

TEST(AskExpression, EmptyLinesAskAgainSilently) {
    const Asked a = ask("\n   \nt\n", "y(s,t)");
    ASSERT_TRUE(a.ok);
    EXPECT_EQ(a.r.out, "y(s,t) = y(s,t) = y(s,t) = ");
    EXPECT_STREQ(a.e.text, "t");
}

TEST(AskExpression, EachStageReportsAndAsksAgain) {
    const Asked a = ask("s+\nz\n1e3\n(s\nsin()\ns\n", "f(x,y,s,t)");
    ASSERT_TRUE(a.ok);
    EXPECT_EQ(a.r.out,
              "f(x,y,s,t) = 数式の終わり方が不正です。\n\n"
              "f(x,y,s,t) = 数式に不正な文字が含まれています\n\n"
              "f(x,y,s,t) = 数式に不正な文字が含まれています\n\n"
              "f(x,y,s,t) = 開閉の括弧の数が不正です\n\n"
              "f(x,y,s,t) = 閉括弧の配置が不正です\n\n"
              "f(x,y,s,t) = ");
    EXPECT_STREQ(a.e.text, "s");
}

TEST(AskExpression, ALineOf201CharactersIsRefused) {
    const Asked a = ask(repeat("1", 100) + "+" + repeat("2", 100) + "\n" + repeat("1", 100) + "+" + repeat("2", 99) + "\n");
    ASSERT_TRUE(a.ok);
    EXPECT_EQ(a.r.out, "x(s,t) = " + too_long + "x(s,t) = ");
    EXPECT_EQ(std::strlen(a.e.text), 200u);
    EXPECT_EQ(a.e.count, 3);
}

TEST(AskExpression, ManyTokensAreRefusedWithoutAMessage) {
    // Fifty-one "s" joined by fifty "+": 101 tokens, one more than a program holds.
    const std::string tokens101 = "s" + repeat("+s", 50);
    const std::string tokens99 = "s" + repeat("+s", 49);
    const Asked a = ask(tokens101 + "\n" + tokens99 + "\n", "g(x,y,s,t)");
    ASSERT_TRUE(a.ok);
    EXPECT_EQ(a.r.out, "g(x,y,s,t) = g(x,y,s,t) = ");
    EXPECT_EQ(a.e.count, 99);
    EXPECT_DOUBLE_EQ(evaluate_expression(2, 0, 0, 0, a.e.program, a.e.count), 100.0);
    // More text after 101 tokens is the tokenizer's to refuse, with its message.
    const Asked b = ask(tokens101 + "+s\ns\n", "g(x,y,s,t)");
    EXPECT_EQ(b.r.out, "g(x,y,s,t) = 入力された要素数が多すぎます\n\ng(x,y,s,t) = ");
}

TEST(AskExpression, TheEndOfInputLeavesTheExpressionAlone) {
    for (const char* answers : {"", "\n", "s+\n", "\n\n   "}) {
        const Asked a = ask(answers);
        EXPECT_FALSE(a.ok) << answers;
        EXPECT_STREQ(a.e.text, "old") << answers;
        EXPECT_EQ(a.e.count, 0);
        EXPECT_EQ(a.r.err, dialogue::input_ended) << answers;
    }
    const Asked a = ask("\n\n");
    EXPECT_EQ(a.r.out, "x(s,t) = x(s,t) = x(s,t) = ") << "one prompt per line, then the end";
    const Asked b = ask("   ");
    EXPECT_EQ(b.r.out, "x(s,t) = ") << "a blank last line is an empty answer, and nothing can follow it";
}

TEST(AskExpression, ALastLineWithoutNewlineIsTaken) {
    const Asked a = ask("sin(t)");
    ASSERT_TRUE(a.ok);
    EXPECT_STREQ(a.e.text, "sin(t)");
    EXPECT_EQ(a.r.err, "") << "nothing was missing yet";
}

// ---------------------------------------------------------------- ask_constant

struct Constant {
    bool ok = false;
    double value = -7;
    char text[EXPRESSION_TEXT_LENGTH + 1] = "-7";
    dialogue::Result r;
};

Constant constant(const std::string& answers, ConsoleEncoding encoding = ConsoleEncoding::utf8) {
    dialogue::Console console;
    console.fresh(answers);
    Constant c;
    c.r = console.run([&] { c.ok = ask_constant(c.value, c.text, "s_min"); }, encoding);
    return c;
}

TEST(AskConstant, AConstantExpressionKeepsItsText) {
    struct Row {
        const char* typed;
        double value;
    };
    const Row rows[] = {{"pi", 3.141592653589793},  {"-pi/2", -1.5707963267948966},
                        {"2*pi", 6.283185307179586}, {"sqrt(2)", std::sqrt(2.0)},
                        {" 1 . 5 ", 1.5},           {"-3", -3.0}};
    for (const Row& row : rows) {
        const Constant c = constant(std::string(row.typed) + "\n");
        ASSERT_TRUE(c.ok) << row.typed;
        EXPECT_EQ(c.r.out, "s_min = ") << row.typed;
        EXPECT_EQ(c.value, row.value) << row.typed;
        EXPECT_STREQ(c.text, row.typed);
    }
}

TEST(AskConstant, ParametersAndVariablesAreRefused) {
    const Constant c = constant("t\n2*x\ns+1\ny\n1\n");
    ASSERT_TRUE(c.ok);
    const std::string refused = "s_min に 's', 't', 'x' ,'y'\u3000は使用できません\n";
    EXPECT_EQ(c.r.out, "s_min = " + refused + "s_min = " + refused + "s_min = " + refused + "s_min = " +
                           refused + "s_min = ");
    EXPECT_NE(refused.find("'y'\xe3\x80\x80\xe3\x81\xaf"), std::string::npos) << "the full-width blank";
    EXPECT_EQ(c.value, 1.0);
}

TEST(AskConstant, TheRefusalInCp932) {
    const Constant c = constant("t\n0\n", ConsoleEncoding::cp932);
    EXPECT_EQ(c.r.out, "s_min = s_min \x82\xc9 's', 't', 'x' ,'y'\x81\x40\x82\xcd\x8eg\x97p\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\n"
                       "s_min = ");
}

TEST(AskConstant, AWholeLineOfTextIsKept) {
    const std::string typed = repeat("1", 100) + "-" + repeat("1", 99);  // 200 characters, value 0.0...
    const Constant c = constant(typed + "\n");
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(std::string(c.text), typed);
}

TEST(AskConstant, TheEndOfInputLeavesTheBoundAlone) {
    for (const char* answers : {"", "t\n", "x\n\n"}) {
        const Constant c = constant(answers);
        EXPECT_FALSE(c.ok);
        EXPECT_EQ(c.value, -7);
        EXPECT_STREQ(c.text, "-7");
        EXPECT_EQ(c.r.err, dialogue::input_ended);
    }
}

TEST(AskConstant, NotANumberIsStillAConstant) {
    // The range dialogue judges the value; this only reads it.
    const Constant c = constant("sqrt(-1)\n");
    ASSERT_TRUE(c.ok);
    EXPECT_TRUE(std::isnan(c.value));
    EXPECT_STREQ(c.text, "sqrt(-1)");
}

// ---------------------------------------------------------------- numbers

struct IntRead {
    Answer answer{};
    int value = -99;
    dialogue::Result r;
};

IntRead read_int(const std::string& answers) {
    dialogue::Console console;
    console.fresh(answers);
    IntRead i;
    i.r = console.run([&] { i.answer = read_int_answer(i.value); });
    return i;
}

TEST(ReadIntAnswer, AWholeIntAndTheRestOfItsLineDropped) {
    IntRead i = read_int("42\nnext\n");
    EXPECT_EQ(i.answer, Answer::ok);
    EXPECT_EQ(i.value, 42);
    EXPECT_EQ(i.r.unread, "next\n");
    i = read_int("  \n\n\t-7 and more\nnext\n");
    EXPECT_EQ(i.answer, Answer::ok) << "blank lines are skipped, as by scanf";
    EXPECT_EQ(i.value, -7);
    EXPECT_EQ(i.r.unread, "next\n");
    i = read_int("+3");
    EXPECT_EQ(i.answer, Answer::ok);
    EXPECT_EQ(i.value, 3);
    EXPECT_EQ(i.r.out, "");
}

TEST(ReadIntAnswer, WordsThatAreNoIntConsumeTheirLine) {
    for (const char* typed : {"abc def", "12abc", "1.5", "99999999999", "-", "0x10", "nan"}) {
        const IntRead i = read_int(std::string(typed) + "\n5\n");
        EXPECT_EQ(i.answer, Answer::not_a_number) << typed;
        EXPECT_EQ(i.value, -99) << typed;
        EXPECT_EQ(i.r.unread, "5\n") << typed << ": the line is used up, the next one waits";
        EXPECT_EQ(i.r.out, "");
    }
    const IntRead i = read_int(repeat("9", 2000) + "\n5\n");
    EXPECT_EQ(i.answer, Answer::not_a_number) << "an overlong word";
    EXPECT_EQ(i.r.unread, "5\n");
}

TEST(ReadIntAnswer, TheEndOfInput) {
    for (const char* answers : {"", "\n\n  "}) {
        const IntRead i = read_int(answers);
        EXPECT_EQ(i.answer, Answer::ended);
        EXPECT_EQ(i.value, -99);
        EXPECT_EQ(i.r.err, dialogue::input_ended);
    }
}

struct DoubleRead {
    Answer answer{};
    double values[5] = {-1, -1, -1, -1, -1};
    dialogue::Result r;
};

DoubleRead read_doubles(const std::string& answers, int count) {
    dialogue::Console console;
    console.fresh(answers);
    DoubleRead d;
    d.r = console.run([&] { d.answer = read_double_answers(d.values, count); });
    return d;
}

TEST(ReadDoubleAnswers, AGroupOnOneLineOrOnSeveral) {
    DoubleRead d = read_doubles("1 2.5 -3 4e1 0\nnext\n", 5);
    ASSERT_EQ(d.answer, Answer::ok);
    EXPECT_EQ(d.values[1], 2.5);
    EXPECT_EQ(d.values[3], 40.0);
    EXPECT_EQ(d.r.unread, "next\n");
    d = read_doubles("1\n2\n\n3 4 extra\nnext\n", 4);
    ASSERT_EQ(d.answer, Answer::ok);
    EXPECT_EQ(d.values[3], 4.0);
    EXPECT_EQ(d.r.unread, "next\n");
    d = read_doubles(".5\n", 1);
    EXPECT_EQ(d.values[0], 0.5);
}

TEST(ReadDoubleAnswers, CommasAndOnePairOfParentheses) {
    for (const char* typed : {"1, 2, 3, 4", "(1, 2, 3, 4)", "(1,2,3,4)", "1,2 3,4", "( 1 2 3 4 )",
                              "(1,\n2,3,4)", "1, 2, 3, 4, ", "(1, 2, 3, 4,)", "1,2,3,4 5"}) {
        const DoubleRead d = read_doubles(std::string(typed) + "\nnext\n", 4);
        ASSERT_EQ(d.answer, Answer::ok) << typed;
        for (int i = 0; i < 4; ++i) EXPECT_EQ(d.values[i], i + 1) << typed;
        EXPECT_EQ(d.r.unread, "next\n") << typed;
    }
}

TEST(ParseNumberText, AWholeTextOfExactlyTheNumbers) {
    double v[4] = {};
    EXPECT_TRUE(parse_number_text("(1, 2, 3, 4)", v, 4));
    EXPECT_EQ(v[3], 4.0);
    EXPECT_TRUE(parse_number_text(" 1 2,3 ,4 ", v, 4));
    for (const char* text : {"1 2 3", "1 2 3 4 5", "(1 2 3 4", "1 2 3 4)", "1 2 3 4 x", "", "1,,2,3,4"})
        EXPECT_FALSE(parse_number_text(text, v, 4)) << text;
    int n[2] = {};
    EXPECT_TRUE(parse_int_text("640,480", n, 2));
    EXPECT_EQ(n[1], 480);
    EXPECT_FALSE(parse_int_text("640.5,480", n, 2));
}

TEST(ReadDoubleAnswers, ABadWordSpoilsTheGroupAndItsLine) {
    for (const char* typed : {"1 x 3 4", "1,,2,3,4", "(1 2 3 4", "1 2 3 4)", "1, 2, 3, 4, 5", "nan 1 2 3", "inf 1 2 3", "1e999 1 2 3", "1 2 3 4abc"}) {
        const DoubleRead d = read_doubles(std::string(typed) + "\n5 6 7 8\n", 4);
        EXPECT_EQ(d.answer, Answer::not_a_number) << typed;
        for (double v : d.values) EXPECT_EQ(v, -1) << typed << ": nothing is stored";
        EXPECT_EQ(d.r.unread, "5 6 7 8\n") << typed;
    }
}

TEST(ReadDoubleAnswers, AGroupCutShortByTheEndOfInput) {
    const DoubleRead d = read_doubles("1 2\n3", 4);
    EXPECT_EQ(d.answer, Answer::ended);
    for (double v : d.values) EXPECT_EQ(v, -1);
    EXPECT_EQ(d.r.err, dialogue::input_ended);
}

// ---------------------------------------------------------------- "NEW"

// The sets in slot order as their x texts spell them.
std::string order() {
    std::string s;
    for (const GraphSlot& slot : graph_slots) s += std::string(slot.equation[kEquationX].count > 0 ? slot.equation[kEquationX].text : "-") + "|";
    return s;
}

std::string table() {
    std::string s;
    for (const GraphSlot& slot : graph_slots)
        for (const Expression& e : slot.equation) s += std::string(e.text) + "/" + std::to_string(e.count) + "/" + (e.count > 0 ? dump(e) : "") + "\n";
    return s;
}

struct NewSet {
    bool ok = false;
    dialogue::Result r;
};

NewSet enter(dialogue::Console& console, const std::string& answers, ConsoleEncoding encoding = ConsoleEncoding::utf8) {
    console.fresh(answers);
    NewSet n;
    n.r = console.run([&] { n.ok = enter_new_equations(); }, encoding);
    return n;
}

// "NEW" again on the same stream, which has ended.
NewSet enter_again(dialogue::Console& console) {
    NewSet n;
    n.r = console.run([&] { n.ok = enter_new_equations(); });
    return n;
}

void defaults() {
    clear_graph_slots();
    fill_default_sets(0);
}

TEST(NewEquations, FourPromptsAfterTheHeading) {
    defaults();
    dialogue::Console console;
    const NewSet n = enter(console, "s\nt\nx^2 - y^2\n   sin( s )  \n");
    ASSERT_TRUE(n.ok);
    EXPECT_EQ(n.r.out, heading + "x(s,t) = y(s,t) = f(x,y,s,t) = g(x,y,s,t) = ");
    EXPECT_EQ(n.r.err, "");
    EXPECT_EQ(order(), "s|sin(s+t)|cos(s)*(2+cos(t))|s|-|-|");
    const GraphSlot& s0 = graph_slots[0];
    EXPECT_STREQ(s0.equation[kEquationF].text, "x^2 - y^2");
    EXPECT_STREQ(s0.equation[kEquationG].text, "   sin( s )  ");
    const Expression& f = s0.equation[kEquationF];
    EXPECT_DOUBLE_EQ(evaluate_expression(0, 0, 3, 2, f.program, f.count), 5.0);
}

TEST(NewEquations, AFullTableLosesItsLastSet) {
    clear_graph_slots();
    const char* names[] = {"1", "2", "3", "4", "5", "6"};
    for (int k = 0; k < 6; ++k)
        for (int i = 0; i < 4; ++i) set_expression(graph_slots[k].equation[i], names[k]);
    dialogue::Console console;
    ASSERT_TRUE(enter(console, "s*t\nt\nx\ny\n").ok);
    EXPECT_EQ(order(), "s*t|1|2|3|4|5|");  // new-A-B-C-D-E
}

TEST(NewEquations, XAndYAreRefusedInTheFirstTwoWithoutTheHeadingAgain) {
    defaults();
    dialogue::Console console;
    const NewSet n = enter(console, "x+s\ny\ns\n2*x\nt\nx*y\n-y\n");
    ASSERT_TRUE(n.ok);
    EXPECT_EQ(n.r.out, heading + "x(s,t) = " + x_refused + "x(s,t) = " + x_refused + "x(s,t) = " +
                           "y(s,t) = " + y_refused + "y(s,t) = f(x,y,s,t) = g(x,y,s,t) = ");
    EXPECT_STREQ(graph_slots[0].equation[kEquationX].text, "s");
    EXPECT_STREQ(graph_slots[0].equation[kEquationY].text, "t");
    EXPECT_STREQ(graph_slots[0].equation[kEquationF].text, "x*y") << "f and g may use x and y";
}

TEST(NewEquations, TheRefusalInCp932) {
    defaults();
    dialogue::Console console;
    const NewSet n = enter(console, "x\ns\nt\nx\ny\n", ConsoleEncoding::cp932);
    EXPECT_EQ(n.r.out, heading + "x(s,t) = x(s,t) \x82\xc9\x91\xce\x82\xb5\x82\xc4\x81" "A'x', 'y' \x82\xcd\x96\xb3\x8c\xf8\x82\xc5\x82\xb7.\n"
                                 "x(s,t) = y(s,t) = f(x,y,s,t) = g(x,y,s,t) = ");
}

TEST(NewEquations, EngineMessagesAndEmptyLinesOnTheWay) {
    defaults();
    dialogue::Console console;
    const NewSet n = enter(console, "\ns t\ns\n" + repeat("s", 201) + "\nt\nsin(x\nx\n" + "s" + repeat("+s", 50) + "\ny\n");
    ASSERT_TRUE(n.ok);
    EXPECT_EQ(n.r.out, heading + "x(s,t) = x(s,t) = 数値の配置が不正です\n\nx(s,t) = y(s,t) = " + too_long +
                           "y(s,t) = f(x,y,s,t) = 開閉の括弧の数が不正です\n\nf(x,y,s,t) = g(x,y,s,t) = g(x,y,s,t) = ");
}

TEST(NewEquations, TheEndOfInputAtEveryPromptLeavesTheTableAsItWas) {
    const char* cut_answers[] = {
        "",                      // at x(s,t)
        "s\n",                   // at y(s,t)
        "s\nt\n",                // at f(x,y,s,t)
        "s\nt\nx\n",             // at g(x,y,s,t)
        "x\n",                   // while x(s,t) is asked again
        "s\ny\n\n",              // while y(s,t) is asked again
        "s\nt\ns+\n",            // after an engine message
    };
    for (const char* answers : cut_answers) {
        defaults();
        set_expression(graph_slots[5].equation[kEquationX], "1");  // the set that "NEW" would drop
        for (int i = 1; i < 4; ++i) set_expression(graph_slots[5].equation[i], "2");
        const std::string before = table();
        dialogue::Console console;
        const NewSet n = enter(console, answers);
        EXPECT_FALSE(n.ok) << answers;
        EXPECT_EQ(table(), before) << answers << ": slot 5 is back, no half set became a slot";
        EXPECT_EQ(n.r.err, dialogue::input_ended) << answers;
        EXPECT_EQ(n.r.out.substr(0, heading.size()), heading);
        // Later dialogues return at once, without a word.
        const NewSet again = enter_again(console);
        EXPECT_FALSE(again.ok);
        EXPECT_EQ(again.r.out, "");
        EXPECT_EQ(again.r.err, "");
        EXPECT_EQ(table(), before);
    }
}

TEST(NewEquations, ALastSetWithoutTheFinalNewlineIsEntered) {
    defaults();
    dialogue::Console console;
    const NewSet n = enter(console, "s\nt\nx\ny");
    EXPECT_TRUE(n.ok);
    EXPECT_STREQ(graph_slots[0].equation[kEquationG].text, "y");
    EXPECT_EQ(n.r.err, "");
    const NewSet again = enter_again(console);
    EXPECT_FALSE(again.ok);
    EXPECT_EQ(again.r.out, "") << "the input has ended: no heading";
    EXPECT_EQ(again.r.err, dialogue::input_ended) << "said when a dialogue first finds it";
}

}  // namespace
}  // namespace fourview
