#pragma once
// Runs the engine's stages on equation texts and records what they printed.

#include <string>
#include <vector>

#include "expr/compiler.h"
#include "expr/console.h"
#include "expr/dump.h"
#include "expr/evaluator.h"
#include "expr/syntax.h"
#include "expr/tokenizer.h"
#include "stdout_capture.h"

namespace engine_test {

// The engine's messages as they reach a UTF-8 console: the text and the empty line after it.
namespace message {
inline const std::string too_many_tokens = "入力された要素数が多すぎます\n\n";
inline const std::string number_too_long = "入力された数値が長過ぎます\n\n";
inline const std::string illegal_character = "数式に不正な文字が含まれています\n\n";
inline const std::string line_too_long = "数式が長過ぎます\n\n";
inline const std::string bad_start = "数式の始まり方が不正です。\n\n";
inline const std::string bad_end = "数式の終わり方が不正です。\n\n";
inline const std::string bad_opener = "数学関数の配置の配置が不正です\n\n";
inline const std::string bad_closer = "閉括弧の配置が不正です\n\n";
inline const std::string unopened_closer = "閉括弧の対する開括弧が有りません\n\n";
inline const std::string bad_operator = "演算子の配置が不正です\n\n";
inline const std::string bad_operand = "数値の配置が不正です\n\n";
inline const std::string unbalanced = "開閉の括弧の数が不正です\n\n";
inline const std::string unknown_kind = "ここのエラーは divide_token で引っかかってるはず\n\n";
inline const std::string compile_failed = "中間ファイルの作成に失敗しました\n\n";
inline const std::string evaluation_failed = "数式の計算に失敗しました\n\n";
inline const std::string unknown_function = "予期せぬ関数が含まれています\n\n";
inline const std::string unknown_operator = "予期せぬ演算子\n\n";
}  // namespace message

// What `run` printed to standard output, on a console forced to UTF-8.
template <class Run>
std::string output_of(Run&& run)
{
    console_set_encoding(ConsoleEncoding::utf8);
    StdoutCapture capture;
    run();
    return capture.take();
}

struct TokenList {
    int count = 0;
    Token tokens[TOKEN_LIST_SIZE];
    std::string output;

    std::string text() const { return dump_tokens(tokens, count); }
};

inline TokenList tokenize(const std::string& text)
{
    TokenList list;
    list.output = output_of([&] { list.count = divide_token(text.c_str(), list.tokens); });
    return list;
}

// Builds a token list straight from kind codes (numbers get the value 1), for lists the tokenizer
// cannot make.
inline std::vector<Token> kinds(std::initializer_list<std::int32_t> codes)
{
    std::vector<Token> tokens;
    for (std::int32_t code : codes) tokens.push_back({code, code == TOKEN_NUMBER ? 1.0 : 0.0});
    return tokens;
}

struct Compiled {
    Expression expression{};
    int token_count = 0;
    std::string output;
};

// The whole entry chain: tokenize, check, compile. expression.count is 0 when a stage refused.
inline Compiled compile(const std::string& text)
{
    Compiled result;
    result.output = output_of([&] {
        TokenList list;
        list.count = divide_token(text.c_str(), list.tokens);
        if (list.count > 0) list.count = check_syntax(list.tokens, list.count);
        result.token_count = list.count;
        result.expression.count = list.count;
        compile_expression(list.tokens, result.expression.program, result.expression.count);
    });
    return result;
}

// `n` copies of `piece` joined together.
inline std::string repeat(const std::string& piece, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i) out += piece;
    return out;
}

}  // namespace engine_test
