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

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "expr/compiler.h"
#include "expr/console.h"
#include "expr/evaluator.h"
#include "expr/syntax.h"
#include "expr/tokenizer.h"

namespace {

// Standard output goes to an in-memory file whose size tells whether the engine printed.
int output_fd = -1;

void start_output()
{
    std::fflush(stdout);
    if (ftruncate(output_fd, 0) != 0 || lseek(output_fd, 0, SEEK_SET) != 0) std::abort();
}

bool printed()
{
    std::fflush(stdout);
    struct stat st;
    if (fstat(output_fd, &st) != 0) std::abort();
    return st.st_size > 0;
}

[[noreturn]] void fault(const char* what, const char* line)
{
    std::fprintf(stderr, "engine fault: %s\nline: \"%s\"\n", what, line);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    console_set_encoding(ConsoleEncoding::utf8);
    output_fd = memfd_create("engine-output", 0);
    if (output_fd < 0 || dup2(output_fd, 1) < 0) std::abort();
    output_fd = 1;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A console line: at most 200 bytes, ending at the first NUL or newline.
    char line[EXPRESSION_TEXT_LENGTH + 1];
    std::size_t length = 0;
    while (length < size && length < EXPRESSION_TEXT_LENGTH && data[length] != '\0' && data[length] != '\n') {
        line[length] = static_cast<char>(data[length]);
        ++length;
    }
    line[length] = '\0';

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
