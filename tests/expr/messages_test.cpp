// The bytes of every engine message on the console: UTF-8 by default, CP932 under a Shift-JIS
// locale. The locale cases run this test binary again as a child process with a locale built by
// localedef, because the encoding is chosen once per process from the environment.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "engine_helpers.h"

extern char** environ;

namespace {

using namespace engine_test;

void tokenize_line(const std::string& text)
{
    Token tokens[TOKEN_LIST_SIZE];
    divide_token(text.c_str(), tokens);
}

void check_line(const std::string& text)
{
    Token tokens[TOKEN_LIST_SIZE];
    const int count = divide_token(text.c_str(), tokens);
    if (count > 0) check_syntax(tokens, count);
}

void check_kinds(std::initializer_list<std::int32_t> codes)
{
    const std::vector<Token> tokens = kinds(codes);
    check_syntax(tokens.data(), static_cast<int>(tokens.size()));
}

void compile_kinds(std::initializer_list<std::int32_t> codes)
{
    const std::vector<Token> tokens = kinds(codes);
    Expression e{};
    e.count = static_cast<std::int32_t>(tokens.size());
    compile_expression(tokens.data(), e.program, e.count);
}

void evaluate_kinds(std::initializer_list<std::int32_t> codes)
{
    const std::vector<Token> program = kinds(codes);
    evaluate_expression(1, 2, 3, 4, program.data(), static_cast<std::int32_t>(program.size()));
}

struct MessageCase {
    const char* name;
    std::function<void()> trigger;  // makes the engine print exactly this message
    const char* utf8;
    const char* cp932;
};

// The CP932 column is written out byte by byte; note the 0x5C trail byte of "予".
const MessageCase MESSAGES[] = {
    {"too_many_tokens", [] { tokenize_line(repeat("s+", 51)); },
     "入力された要素数が多すぎます",
    "\x93\xfc\x97\xcd\x82\xb3\x82\xea\x82\xbd\x97\x76\x91\x66\x90\x94\x82\xaa\x91\xbd\x82\xb7\x82\xac\x82\xdc\x82\xb7"},
    {"number_too_long", [] { tokenize_line(repeat("1", 101)); },
     "入力された数値が長過ぎます",
    "\x93\xfc\x97\xcd\x82\xb3\x82\xea\x82\xbd\x90\x94\x92\x6c\x82\xaa\x92\xb7\x89\xdf\x82\xac\x82\xdc\x82\xb7"},
    {"illegal_character", [] { tokenize_line("s+z"); },
     "数式に不正な文字が含まれています",
    "\x90\x94\x8e\xae\x82\xc9\x95\x73\x90\xb3\x82\xc8\x95\xb6\x8e\x9a\x82\xaa\x8a\xdc\x82\xdc\x82\xea\x82\xc4\x82\xa2\x82\xdc\x82\xb7"},
    {"line_too_long", [] { tokenize_line(repeat("s", 201)); },
     "数式が長過ぎます",
    "\x90\x94\x8e\xae\x82\xaa\x92\xb7\x89\xdf\x82\xac\x82\xdc\x82\xb7"},
    {"bad_start", [] { check_line("+s"); },
     "数式の始まり方が不正です。",
    "\x90\x94\x8e\xae\x82\xcc\x8e\x6e\x82\xdc\x82\xe8\x95\xfb\x82\xaa\x95\x73\x90\xb3\x82\xc5\x82\xb7\x81\x42"},
    {"bad_end", [] { check_line("s+"); },
     "数式の終わり方が不正です。",
    "\x90\x94\x8e\xae\x82\xcc\x8f\x49\x82\xed\x82\xe8\x95\xfb\x82\xaa\x95\x73\x90\xb3\x82\xc5\x82\xb7\x81\x42"},
    {"bad_opener", [] { check_line("s(t)"); },
     "数学関数の配置の配置が不正です",
    "\x90\x94\x8a\x77\x8a\xd6\x90\x94\x82\xcc\x94\x7a\x92\x75\x82\xcc\x94\x7a\x92\x75\x82\xaa\x95\x73\x90\xb3\x82\xc5\x82\xb7"},
    {"bad_closer", [] { check_line("()"); },
     "閉括弧の配置が不正です",
    "\x95\xc2\x8a\x87\x8c\xca\x82\xcc\x94\x7a\x92\x75\x82\xaa\x95\x73\x90\xb3\x82\xc5\x82\xb7"},
    {"unopened_closer", [] { check_line("s)"); },
     "閉括弧の対する開括弧が有りません",
    "\x95\xc2\x8a\x87\x8c\xca\x82\xcc\x91\xce\x82\xb7\x82\xe9\x8a\x4a\x8a\x87\x8c\xca\x82\xaa\x97\x4c\x82\xe8\x82\xdc\x82\xb9\x82\xf1"},
    {"bad_operator", [] { check_line("s*-t"); },
     "演算子の配置が不正です",
    "\x89\x89\x8e\x5a\x8e\x71\x82\xcc\x94\x7a\x92\x75\x82\xaa\x95\x73\x90\xb3\x82\xc5\x82\xb7"},
    {"bad_operand", [] { check_line("2s"); },
     "数値の配置が不正です",
    "\x90\x94\x92\x6c\x82\xcc\x94\x7a\x92\x75\x82\xaa\x95\x73\x90\xb3\x82\xc5\x82\xb7"},
    {"unbalanced", [] { check_line("((s)"); },
     "開閉の括弧の数が不正です",
    "\x8a\x4a\x95\xc2\x82\xcc\x8a\x87\x8c\xca\x82\xcc\x90\x94\x82\xaa\x95\x73\x90\xb3\x82\xc5\x82\xb7"},
    {"unknown_kind", [] { check_kinds({TOKEN_S, TOKEN_PLUS, 50}); },
     "ここのエラーは divide_token で引っかかってるはず",
    "\x82\xb1\x82\xb1\x82\xcc\x83\x47\x83\x89\x81\x5b\x82\xcd\x20\x64\x69\x76\x69\x64\x65\x5f\x74\x6f\x6b\x65\x6e\x20\x82\xc5\x88\xf8\x82\xc1\x82\xa9\x82\xa9\x82\xc1\x82\xc4\x82\xe9\x82\xcd\x82\xb8"},
    {"compile_failed", [] { compile_kinds({TOKEN_S, 50}); },
     "中間ファイルの作成に失敗しました",
    "\x92\x86\x8a\xd4\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcc\x8d\xec\x90\xac\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd"},
    {"evaluation_failed", [] { evaluate_kinds({TOKEN_S, TOKEN_T}); },
     "数式の計算に失敗しました",
    "\x90\x94\x8e\xae\x82\xcc\x8c\x76\x8e\x5a\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd"},
    {"unknown_function", [] { evaluate_kinds({TOKEN_S, TOKEN_T, TOKEN_CLOSE}); },
     "予期せぬ関数が含まれています",
    "\x97\x5c\x8a\xfa\x82\xb9\x82\xca\x8a\xd6\x90\x94\x82\xaa\x8a\xdc\x82\xdc\x82\xea\x82\xc4\x82\xa2\x82\xdc\x82\xb7"},
    {"unknown_operator", [] { evaluate_kinds({TOKEN_S, TOKEN_T, 30}); },
     "予期せぬ演算子",
    "\x97\x5c\x8a\xfa\x82\xb9\x82\xca\x89\x89\x8e\x5a\x8e\x71"},
};

std::string each_message(const char* MessageCase::*column)
{
    std::string all;
    for (const MessageCase& m : MESSAGES) all += std::string(m.*column) + "\n\n";
    return all;
}

std::string triggered_output()
{
    StdoutCapture capture;
    for (const MessageCase& m : MESSAGES) m.trigger();
    return capture.take();
}

TEST(MessageBytes, Utf8)
{
    for (const MessageCase& m : MESSAGES) EXPECT_EQ(output_of(m.trigger), std::string(m.utf8) + "\n\n") << m.name;
}

TEST(MessageBytes, Cp932WhenForced)
{
    for (const MessageCase& m : MESSAGES) {
        console_set_encoding(ConsoleEncoding::cp932);
        StdoutCapture capture;
        m.trigger();
        EXPECT_EQ(capture.take(), std::string(m.cp932) + "\n\n") << m.name;
    }
    console_set_encoding(ConsoleEncoding::utf8);
}

// --- Child processes -------------------------------------------------------------------------

const char* const CHILD_OUT = "FOURVIEW_EXPR_CHILD_OUT";
const char* const CHILD_MODE = "FOURVIEW_EXPR_CHILD_MODE";

// Runs in the child only (the parent asks for disabled tests): writes what reached standard
// output, with the encoding the process chose from its own locale, to the file CHILD_OUT names.
TEST(LocaleChild, DISABLED_Write)
{
    const char* out = std::getenv(CHILD_OUT);
    const char* mode = std::getenv(CHILD_MODE);
    if (out == nullptr || mode == nullptr) GTEST_SKIP() << "runs only as the child of LocaleChildProcess";
    std::string bytes;
    if (std::strcmp(mode, "messages") == 0) {
        bytes = triggered_output();  // the first message initialises the console
    } else {
        StdoutCapture capture;
        console_printf(stdout, "%f ", 1.5);
        Token tokens[TOKEN_LIST_SIZE];
        Expression e{};
        e.count = divide_token("1.5+1", tokens);
        compile_expression(tokens, e.program, e.count);
        console_printf(stdout, "%g", evaluate_expression(0, 0, 0, 0, e.program, e.count));
        bytes = capture.take();
    }
    std::ofstream(out, std::ios::binary) << bytes;
}

bool exists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// Runs a program with standard output and error on /dev/null; returns its exit status or -1.
int run(const std::vector<std::string>& args, const std::vector<std::string>& environment, bool search_path)
{
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : environment) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid;
    const int error = search_path ? posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data())
                                  : posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// The environment without any locale setting, so that the child sees only what a case gives it.
std::vector<std::string> environment_without_locale()
{
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        if (entry.rfind("LANG=", 0) == 0 || entry.rfind("LANGUAGE=", 0) == 0 || entry.rfind("LC_", 0) == 0 ||
            entry.rfind("LOCPATH=", 0) == 0 || entry.rfind("FOURVIEW_EXPR_", 0) == 0)
            continue;
        env.push_back(entry);
    }
    return env;
}

class LocaleChildProcess : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char pattern[] = "/tmp/fourview-locale-XXXXXX";
        if (mkdtemp(pattern) != nullptr) directory_ = pattern;
    }

    static void TearDownTestSuite()
    {
        if (!directory_.empty()) run({"rm", "-rf", directory_}, environment_without_locale(), true);
        directory_.clear();
    }

    // Builds a locale from the system's sources under the private LOCPATH; false if that is
    // impossible here (no localedef, or the `locales` package's sources are missing).
    static bool build_locale(const std::string& source, const std::string& charmap, const std::string& name)
    {
        if (directory_.empty() || !exists("/usr/share/i18n/locales/" + source)) return false;
        const std::string target = directory_ + "/" + name;
        if (exists(target + "/LC_CTYPE")) return true;
        // localedef may exit non-zero over warnings about the charmap and still write the locale.
        run({"localedef", "--no-warnings=ascii", "-f", charmap, "-i", source, target}, environment_without_locale(),
            true);
        return exists(target + "/LC_CTYPE");
    }

    // Runs LocaleChild in a child process with the given locale variables; returns its bytes.
    static std::string child_output(const std::string& mode, const std::vector<std::string>& locale)
    {
        const std::string out = directory_ + "/out-" + mode;
        std::vector<std::string> env = environment_without_locale();
        env.insert(env.end(), locale.begin(), locale.end());
        env.push_back(std::string(CHILD_OUT) + "=" + out);
        env.push_back(std::string(CHILD_MODE) + "=" + mode);
        std::remove(out.c_str());
        const int status = run({"/proc/self/exe", "--gtest_also_run_disabled_tests",
                                "--gtest_filter=LocaleChild.DISABLED_Write"},
                               env, false);
        EXPECT_EQ(status, 0) << "child process for " << mode;
        std::ifstream in(out, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    static std::string directory_;
};

std::string LocaleChildProcess::directory_;

TEST_F(LocaleChildProcess, NoLocaleWritesUtf8)
{
    ASSERT_FALSE(directory_.empty());
    EXPECT_EQ(child_output("messages", {}), each_message(&MessageCase::utf8));
}

TEST_F(LocaleChildProcess, Utf8LocaleWritesUtf8)
{
    ASSERT_FALSE(directory_.empty());
    EXPECT_EQ(child_output("messages", {"LC_ALL=C.UTF-8"}), each_message(&MessageCase::utf8));
}

TEST_F(LocaleChildProcess, ShiftJisLocaleWritesCp932)
{
    if (!build_locale("ja_JP", "SHIFT_JIS", "ja_JP.SJIS"))
        GTEST_SKIP() << "cannot build a Shift-JIS locale here (needs localedef and /usr/share/i18n/locales/ja_JP "
                        "from the locales package)";
    EXPECT_EQ(child_output("messages", {"LOCPATH=" + directory_, "LC_ALL=ja_JP.SJIS"}),
              each_message(&MessageCase::cp932));
}

TEST_F(LocaleChildProcess, ShiftJisFromLangWritesCp932)
{
    if (!build_locale("ja_JP", "SHIFT_JIS", "ja_JP.SJIS"))
        GTEST_SKIP() << "cannot build a Shift-JIS locale here (needs localedef and /usr/share/i18n/locales/ja_JP "
                        "from the locales package)";
    EXPECT_EQ(child_output("messages", {"LOCPATH=" + directory_, "LANG=ja_JP.SJIS"}),
              each_message(&MessageCase::cp932));
}

// A locale whose decimal point is a comma must not change how numbers are read or written.
TEST_F(LocaleChildProcess, NumbersKeepTheDecimalPoint)
{
    if (!build_locale("de_DE", "UTF-8", "de_DE.UTF-8"))
        GTEST_SKIP() << "cannot build a de_DE locale here (needs localedef and /usr/share/i18n/locales/de_DE)";
    EXPECT_EQ(child_output("numbers", {"LOCPATH=" + directory_, "LC_ALL=de_DE.UTF-8"}), "1.500000 2.5");
}

}  // namespace
