#include "expr/equation_entry.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "expr/console.h"
#include "expr/evaluator.h"
#include "expr/graph_slots.h"
#include "expr/syntax.h"
#include "expr/tokenizer.h"

namespace fourview {

namespace {

std::FILE* input_stream = nullptr;  // nullptr: standard input
bool input_ended = false;           // the stream has given its end (or an error)
bool end_announced = false;         // the line on standard error has been written

std::FILE* input() { return input_stream != nullptr ? input_stream : stdin; }

// True when no more answers can come. The first time, says so on standard
// error: the person at the console may be gone, but a log keeps the line.
bool input_gone() {
    if (!input_ended) return false;
    if (!end_announced) {
        end_announced = true;
        console_write(stderr, "fourview: the console input has ended; the dialogue keeps the previous values\n");
    }
    return true;
}

bool names_any(const Expression& e, std::int32_t first_kind, std::int32_t last_kind) {
    for (int i = 0; i < e.count; ++i)
        if (e.program[i].kind >= first_kind && e.program[i].kind <= last_kind) return true;
    return false;
}

// A word longer than this is no number anyone types (the longest "%f" of a
// double has 316 characters).
constexpr std::size_t kWordSize = 512;

bool is_blank(int c) { return c != EOF && std::isspace(static_cast<unsigned char>(c)); }

// Skips white space, newlines included, as scanf does, and reads the next
// word into `word`; `end` gets the character that ended it ('\n', another
// blank, or EOF). False when the input ends before a word begins. An
// overlong word comes back empty, which no parser accepts.
bool read_word(char* word, int& end) {
    std::FILE* in = input();
    int c;
    do c = std::fgetc(in);
    while (is_blank(c));
    if (c == EOF) {
        input_ended = true;
        return false;
    }
    std::size_t n = 0;
    bool overflow = false;
    while (c != EOF && !is_blank(c)) {
        if (n + 1 < kWordSize)
            word[n++] = static_cast<char>(c);
        else
            overflow = true;
        c = std::fgetc(in);
    }
    if (c == EOF) input_ended = true;
    word[overflow ? 0 : n] = '\0';
    end = c;
    return true;
}

// One answer per line: whatever follows it on its line is dropped, so it can
// neither be taken for the next answer nor leave an empty line for the next
// equation prompt.
void drop_rest_of_line(int end) {
    if (end == '\n' || end == EOF) return;
    int c;
    do c = std::fgetc(input());
    while (c != EOF && c != '\n');
    if (c == EOF) input_ended = true;
}

bool parse_double(const char* word, double& value) {
    if (word[0] == '\0') return false;
    char* stop = nullptr;
    const double v = std::strtod(word, &stop);
    if (*stop != '\0' || !std::isfinite(v)) return false;
    value = v;
    return true;
}

bool parse_int(const char* word, int& value) {
    if (word[0] == '\0') return false;
    char* stop = nullptr;
    errno = 0;
    const long v = std::strtol(word, &stop, 10);
    if (*stop != '\0' || errno == ERANGE || v < INT_MIN || v > INT_MAX) return false;
    value = static_cast<int>(v);
    return true;
}

// Asks for x(s,t) or y(s,t) until it names neither x nor y: they are the
// values these two equations produce.
bool ask_parametric(Expression& e, const char* name, const char* refusal) {
    for (;;) {
        if (!ask_expression(e, name)) return false;
        if (!names_any(e, TOKEN_X, TOKEN_Y)) return true;
        console_write(stdout, refusal);
    }
}

}  // namespace

void set_console_input(std::FILE* stream) {
    input_stream = stream;
    input_ended = false;
    end_announced = false;
}

bool console_input_ended() { return input_ended; }

bool console_input_gone() { return input_gone(); }

int read_equation_line(char* buffer) {
    // Every -1 leaves an empty text, as the end met during the read does: a
    // caller that shows or copies the buffer must not read past its end.
    if (input_gone()) {
        buffer[0] = '\0';
        return -1;
    }
    std::FILE* in = input();
    std::size_t total = 0, stored = 0;
    int c, last = 0;
    while ((c = std::fgetc(in)) != EOF && c != '\n') {
        if (stored < static_cast<std::size_t>(EXPRESSION_TEXT_LENGTH)) buffer[stored++] = static_cast<char>(c);
        ++total;
        last = c;
    }
    if (c == EOF) {
        input_ended = true;
        if (total == 0) {
            buffer[0] = '\0';
            input_gone();
            return -1;
        }
    }
    // A line from a Windows editor or terminal ends in "\r\n"; the "\r" is no
    // part of the equation.
    if (total > 0 && last == '\r') {
        --total;
        if (stored > total) stored = total;
    }
    if (total > static_cast<std::size_t>(EXPRESSION_TEXT_LENGTH)) {
        buffer[0] = '\0';
        print_error("数式が長過ぎます");
        return 0;
    }
    buffer[stored] = '\0';
    return static_cast<int>(stored);
}

bool ask_expression(Expression& expression, const char* name) {
    char line[EXPRESSION_TEXT_LENGTH + 1];
    Token tokens[TOKEN_LIST_SIZE];
    for (;;) {
        if (input_gone()) return false;
        console_printf(stdout, "%s = ", name);
        const int length = read_equation_line(line);
        if (length < 0) return false;
        if (length == 0) continue;
        int count = divide_token(line, tokens);
        if (count > 0) count = check_syntax(tokens, count);
        // 101 or 102 tokens pass the tokenizer but do not fit a program.
        if (count < 1 || count > EXPRESSION_TOKENS) continue;
        expression.count = count;
        compile_expression(tokens, expression.program, expression.count);
        std::snprintf(expression.text, sizeof expression.text, "%s", line);
        return true;
    }
}

bool ask_constant(double& value, char* text, const char* name) {
    Expression bound;
    for (;;) {
        if (!ask_expression(bound, name)) return false;
        if (!names_any(bound, TOKEN_S, TOKEN_Y)) break;
        // The blank after 'y' is the full-width one (U+3000).
        console_write(stdout, name);
        console_write(stdout, " に 's', 't', 'x' ,'y'\u3000は使用できません\n");
    }
    value = evaluate_expression(0, 0, 0, 0, bound.program, bound.count);
    std::snprintf(text, EXPRESSION_TEXT_LENGTH + 1, "%s", bound.text);
    return true;
}

Answer read_double_answers(double* values, int count) {
    constexpr int kMostValues = 8;
    if (count < 1 || count > kMostValues) return Answer::not_a_number;
    if (input_gone()) return Answer::ended;
    console_init();  // strtod must read '.' whatever the user's locale
    double read[kMostValues];
    char word[kWordSize];
    int end = '\n';
    for (int i = 0; i < count; ++i) {
        if (!read_word(word, end)) {
            input_gone();
            return Answer::ended;
        }
        if (!parse_double(word, read[i])) {
            drop_rest_of_line(end);
            return Answer::not_a_number;
        }
    }
    drop_rest_of_line(end);
    for (int i = 0; i < count; ++i) values[i] = read[i];
    return Answer::ok;
}

Answer read_int_answer(int& value) {
    if (input_gone()) return Answer::ended;
    char word[kWordSize];
    int end = '\n';
    if (!read_word(word, end)) {
        input_gone();
        return Answer::ended;
    }
    int read = 0;
    const bool ok = parse_int(word, read);
    drop_rest_of_line(end);
    if (!ok) return Answer::not_a_number;
    value = read;
    return Answer::ok;
}

bool enter_new_equations() {
    if (input_gone()) return false;
    // The table as it was, for an input that ends halfway: a half-entered set
    // must not become a slot, and the set moved out of slot 5 must come back.
    static GraphSlot saved[kGraphSlotCount];
    for (int k = 0; k < kGraphSlotCount; ++k) copy_graph_slot(graph_slots[k], saved[k]);

    make_room_for_new_set();
    GraphSlot& slot = graph_slots[0];
    for (Expression& e : slot.equation) e.text[0] = '\0';
    console_write(stdout, "\nplease input equations.\n");
    const bool entered =
        ask_parametric(slot.equation[kEquationX], EquationNames[kEquationX], "x(s,t) に対して、'x', 'y' は無効です.\n") &&
        ask_parametric(slot.equation[kEquationY], EquationNames[kEquationY], "y(s,t) に対して、'x', 'y' は無効です.\n") &&
        ask_expression(slot.equation[kEquationF], EquationNames[kEquationF]) &&
        ask_expression(slot.equation[kEquationG], EquationNames[kEquationG]);
    if (!entered)
        for (int k = 0; k < kGraphSlotCount; ++k) copy_graph_slot(saved[k], graph_slots[k]);
    return entered;
}

}  // namespace fourview
