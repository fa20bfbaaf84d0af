// libFuzzer target: any line of up to 200 bytes through the four stages of the expression engine.
//
// A line that the tokenizer and the syntax check accept must compile to a program of its own
// length that evaluates with exactly one stack entry left, which the evaluator confirms by
// printing nothing. Every other line must be refused with one message and never reach the
// program. The sanitizers catch any read or write outside the fixed buffers.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine_input.h"
#include "expr/compiler.h"
#include "expr/evaluator.h"
#include "expr/syntax.h"
#include "expr/tokenizer.h"

namespace {

using engine_input::printed;
using engine_input::start_output;

[[noreturn]] void fault(const char* what, const char* line)
{
    std::fprintf(stderr, "engine fault: %s\nline: \"%s\"\n", what, line);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    engine_input::capture_output();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    char line[EXPRESSION_TEXT_LENGTH + 1];
    engine_input::console_line(data, size, line);

    start_output();
    Token tokens[TOKEN_LIST_SIZE];
    const int divided = divide_token(line, tokens);
    if (divided < 0 || divided > TOKEN_LIST_SIZE) fault("token count out of range", line);
    if (divided == 0) return 0;
    if (printed()) fault("tokens returned with a message", line);

    const int checked = check_syntax(tokens, divided);
    if (checked != 0 && checked != divided) fault("check changed the count", line);
    if ((checked == 0) != printed()) fault("check refused without one message, or spoke on success", line);
    if (checked == 0) return 0;
    if (checked % 2 != 1) fault("accepted list of even length", line);

    Expression e;
    std::memset(&e, 0, sizeof e);
    e.count = checked;
    compile_expression(tokens, e.program, e.count);
    if (checked > EXPRESSION_TOKENS) {
        if (e.count != 0 || !printed()) fault("too long a list was compiled", line);
        return 0;
    }
    if (e.count != checked) fault("program length differs from the token list", line);
    if (printed()) fault("compiler spoke on a checked list", line);

    evaluate_expression(0.5, -1.25, 2.0, 3.0, e.program, e.count);
    if (printed()) fault("evaluation did not end with exactly one entry", line);
    return 0;
}
