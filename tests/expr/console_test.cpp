#include <gtest/gtest.h>

#include "expr/console.h"
#include "stdout_capture.h"

namespace {

TEST(ConsoleCodeset, ChoosesCp932OnlyForShiftJisNames)
{
    struct Row {
        const char* codeset;
        ConsoleEncoding encoding;
    };
    const Row rows[] = {
        {"SHIFT_JIS", ConsoleEncoding::cp932},   {"Shift-JIS", ConsoleEncoding::cp932},
        {"SJIS", ConsoleEncoding::cp932},        {"sjis", ConsoleEncoding::cp932},
        {"CP932", ConsoleEncoding::cp932},       {"WINDOWS-31J", ConsoleEncoding::cp932},
        {"MS_KANJI", ConsoleEncoding::cp932},    {"UTF-8", ConsoleEncoding::utf8},
        {"ANSI_X3.4-1968", ConsoleEncoding::utf8}, {"EUC-JP", ConsoleEncoding::utf8},
        {"SHIFT_JISX0213", ConsoleEncoding::utf8}, {"", ConsoleEncoding::utf8},
        {nullptr, ConsoleEncoding::utf8},
        {"SHIFT_JIS_AND_A_NAME_LONGER_THAN_ANY_CODESET", ConsoleEncoding::utf8},
    };
    for (const Row& row : rows)
        EXPECT_EQ(console_encoding_for_codeset(row.codeset), row.encoding) << (row.codeset ? row.codeset : "null");
}

struct WriteCase {
    const char* name;
    std::string text;
    std::string utf8;   // bytes on a UTF-8 console
    std::string cp932;  // bytes on a CP932 console
};

std::string written(ConsoleEncoding encoding, const std::string& text, int* result = nullptr)
{
    console_set_encoding(encoding);
    StdoutCapture capture;
    const int r = console_write(stdout, text.c_str());
    if (result != nullptr) *result = r;
    return capture.take();
}

TEST(ConsoleWrite, OneEncodingPerRunAndQuestionMarksForTheRest)
{
    const WriteCase rows[] = {
        {"ascii", "x(s,t) = ", "x(s,t) = ", "x(s,t) = "},
        {"backslash and tilde stay ASCII", "\\~", "\\~", "\\~"},
        {"kana and kanji", "平行投影", "平行投影", "\x95\xbd\x8d\x73\x93\x8a\x89\x65"},
        {"trail byte 0x5C", "予", "予", "\x97\x5c"},
        {"character CP932 lacks", "a\xf0\x9f\x98\x80" "b", "a\xf0\x9f\x98\x80" "b", "a?b"},
        {"stray bytes", "a\x80\xff" "b", "a??b", "a??b"},
        {"cut-off sequence at the end", "a\xe6\x95", "a??", "a??"},
        {"overlong form", "\xc0\xaf", "??", "??"},
        {"surrogate", "\xed\xa0\x80", "???", "???"},
        {"empty", "", "", ""},
    };
    for (const WriteCase& row : rows) {
        int result = -2;
        EXPECT_EQ(written(ConsoleEncoding::utf8, row.text, &result), row.utf8) << row.name;
        EXPECT_EQ(result, static_cast<int>(row.utf8.size())) << row.name;
        EXPECT_EQ(written(ConsoleEncoding::cp932, row.text, &result), row.cp932) << row.name;
        EXPECT_EQ(result, static_cast<int>(row.cp932.size())) << row.name;
    }
    console_set_encoding(ConsoleEncoding::utf8);
}

TEST(ConsoleWrite, LongTextsConvertWhole)
{
    std::string text, sjis;
    for (int i = 0; i < 1000; ++i) {
        text += "数式";
        sjis += "\x90\x94\x8e\xae";
    }
    EXPECT_EQ(written(ConsoleEncoding::cp932, text), sjis);
    EXPECT_EQ(written(ConsoleEncoding::utf8, text), text);
    console_set_encoding(ConsoleEncoding::utf8);
}

TEST(ConsolePrintf, FormatsThenConverts)
{
    struct Row {
        ConsoleEncoding encoding;
        std::string expected;
    };
    const std::string long_name(700, 'x');
    const Row rows[] = {
        {ConsoleEncoding::utf8, "数式 = 0.500000 " + long_name + "\n"},
        {ConsoleEncoding::cp932, "\x90\x94\x8e\xae = 0.500000 " + long_name + "\n"},
    };
    for (const Row& row : rows) {
        console_set_encoding(row.encoding);
        StdoutCapture capture;
        const int result = console_printf(stdout, "%s = %f %s\n", "数式", 0.5, long_name.c_str());
        EXPECT_EQ(capture.take(), row.expected);
        EXPECT_EQ(result, static_cast<int>(row.expected.size()));
    }
    console_set_encoding(ConsoleEncoding::utf8);
}

TEST(ConsoleWrite, ReportsAWriteError)
{
    std::FILE* full = std::fopen("/dev/full", "w");
    if (full == nullptr) GTEST_SKIP() << "/dev/full is not available";
    console_set_encoding(ConsoleEncoding::utf8);
    EXPECT_EQ(console_write(full, "数式"), -1);
    std::fclose(full);
}

}  // namespace
