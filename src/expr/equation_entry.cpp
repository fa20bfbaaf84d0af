#include "expr/equation_entry.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

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

// Where the characters of a numeric answer come from: the console's stream,
// or a text given whole (a command-line option).
struct CharSource {
    std::FILE* file;
    const char* text;
    std::size_t at;

    int get() {
        if (file != nullptr) {
            const int c = std::fgetc(file);
            if (c == EOF) input_ended = true;
            return c;
        }
        return text[at] != '\0' ? static_cast<unsigned char>(text[at++]) : EOF;
    }
    void unget(int c) {
        if (c == EOF) return;
        if (file != nullptr)
            std::ungetc(c, file);
        else
            --at;
    }
};

CharSource console_source() { return CharSource{input(), nullptr, 0}; }

// The pieces of a numeric answer: numbers (words), and the commas and the
// one pair of parentheses that the values window shows around them.
enum class Piece { word, comma, open, close, line_end, end };

bool is_mark(int c) { return c == ',' || c == '(' || c == ')'; }

// Skips blanks (and, unless `within_line`, newlines, as scanf does) and
// reads the next piece. A word ends at a blank or a mark, which is left for
// the next read; an overlong word comes back empty, which no parser accepts.
Piece read_piece(CharSource& in, char* word, bool within_line) {
    int c;
    for (;;) {
        c = in.get();
        if (c == EOF) return Piece::end;
        if (c == '\n' && within_line) return Piece::line_end;
        if (!is_blank(c)) break;
    }
    if (c == ',') return Piece::comma;
    if (c == '(') return Piece::open;
    if (c == ')') return Piece::close;
    std::size_t n = 0;
    bool overflow = false;
    while (c != EOF && !is_blank(c) && !is_mark(c)) {
        if (n + 1 < kWordSize)
            word[n++] = static_cast<char>(c);
        else
            overflow = true;
        c = in.get();
    }
    in.unget(c);
    word[overflow ? 0 : n] = '\0';
    return Piece::word;
}

// One answer per line: whatever follows it on its line is dropped, so it can
// neither be taken for the next answer nor leave an empty line for the next
// equation prompt.
void drop_rest_of_line(CharSource& in) {
    int c;
    do c = in.get();
    while (c != EOF && c != '\n');
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
bool ask_parametric(Expression& e, int index) {
    do {
        if (!ask_expression(e, EquationNames[index])) return false;
    } while (!parametric_equation_ok(e, index));
    return true;
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
    for (;;) {
        if (input_gone()) return false;
        console_printf(stdout, "%s = ", name);
        const int length = read_equation_line(line);
        if (length < 0) return false;
        if (length == 0) continue;
        if (compile_equation(expression, line)) return true;
    }
}

bool compile_equation(Expression& expression, const char* text) {
    // A console line is cut at this length, with the same message.
    if (std::strlen(text) > static_cast<std::size_t>(EXPRESSION_TEXT_LENGTH)) {
        print_error("数式が長過ぎます");
        return false;
    }
    Token tokens[TOKEN_LIST_SIZE];
    int count = divide_token(text, tokens);
    if (count > 0) count = check_syntax(tokens, count);
    // 101 or 102 tokens pass the tokenizer but do not fit a program.
    if (count < 1 || count > EXPRESSION_TOKENS) return false;
    expression.count = count;
    compile_expression(tokens, expression.program, expression.count);
    std::snprintf(expression.text, sizeof expression.text, "%s", text);
    return true;
}

bool constant_names_no_parameter(const Expression& bound, const char* name) {
    if (!names_any(bound, TOKEN_S, TOKEN_Y)) return true;
    // The blank after 'y' is the full-width one (U+3000).
    console_write(stdout, name);
    console_write(stdout, " に 's', 't', 'x' ,'y'\u3000は使用できません\n");
    return false;
}

bool ask_constant(double& value, char* text, const char* name) {
    Expression bound;
    do {
        if (!ask_expression(bound, name)) return false;
    } while (!constant_names_no_parameter(bound, name));
    value = evaluate_expression(0, 0, 0, 0, bound.program, bound.count);
    std::snprintf(text, EXPRESSION_TEXT_LENGTH + 1, "%s", bound.text);
    return true;
}

bool constant_from_text(const char* text, const char* name, double& value) {
    Expression bound;
    if (!compile_equation(bound, text) || !constant_names_no_parameter(bound, name)) return false;
    value = evaluate_expression(0, 0, 0, 0, bound.program, bound.count);
    return true;
}

bool parametric_equation_ok(const Expression& e, int index) {
    if (index != kEquationX && index != kEquationY) return true;
    if (!names_any(e, TOKEN_X, TOKEN_Y)) return true;
    console_write(stdout, index == kEquationX ? "x(s,t) に対して、'x', 'y' は無効です.\n"
                                              : "y(s,t) に対して、'x', 'y' は無効です.\n");
    return false;
}

namespace {

constexpr int kMostValues = 8;

// Reads one answer of `least` to `most` numbers: separated by blanks or by
// commas, the whole optionally in one pair of parentheses, as the values
// window shows them ("(x, y, z, w)", "{ 0.5, 0, 0, 0 }"). The first `least`
// numbers may stand on several lines, as for scanf; more than `least` only on
// the line of the one before. A comma after the last number may only close
// the list. From the console the rest of the line is dropped; a `whole` text
// must hold nothing else.
template <typename T, typename Parse>
Answer read_numbers(CharSource& in, T* values, int least, int most, int& count, bool whole,
                    Parse parse) {
    if (least < 1 || most < least || most > kMostValues) return Answer::not_a_number;
    T read[kMostValues];
    char word[kWordSize];
    bool opened = false;
    int n = 0;
    auto refuse = [&](Piece p) {
        if (!whole && p != Piece::line_end && p != Piece::end) drop_rest_of_line(in);
        return Answer::not_a_number;
    };
    Piece p = read_piece(in, word, false);
    if (p == Piece::open) {
        opened = true;
        p = read_piece(in, word, false);
    }
    for (;;) {
        if (p == Piece::end && !whole) return Answer::ended;
        if (p != Piece::word || !parse(word, read[n])) return refuse(p);
        ++n;
        const bool line_only = n >= least;
        p = read_piece(in, word, line_only);
        if (p == Piece::comma) {
            p = read_piece(in, word, line_only);
            if (n == most && p == Piece::word) return refuse(p);
        }
        if (n == most || (line_only && p != Piece::word)) break;
    }
    if (opened != (p == Piece::close)) return refuse(p);
    if (opened) p = read_piece(in, word, true);
    if (whole ? p != Piece::end : p != Piece::line_end && p != Piece::end) {
        if (whole) return Answer::not_a_number;
        drop_rest_of_line(in);
    }
    for (int i = 0; i < n; ++i) values[i] = read[i];
    count = n;
    return Answer::ok;
}

Answer console_doubles(double* values, int count) {
    if (input_gone()) return Answer::ended;
    console_init();  // strtod must read '.' whatever the user's locale
    CharSource in = console_source();
    int n = 0;
    const Answer a = read_numbers(in, values, count, count, n, false, parse_double);
    if (a == Answer::ended) input_gone();
    return a;
}

}  // namespace

Answer read_double_answers(double* values, int count) { return console_doubles(values, count); }

Answer read_int_answers(int* values, int least, int most, int& count) {
    if (input_gone()) return Answer::ended;
    CharSource in = console_source();
    const Answer a = read_numbers(in, values, least, most, count, false, parse_int);
    if (a == Answer::ended) input_gone();
    return a;
}

Answer read_int_answer(int& value) {
    int count = 0;
    return read_int_answers(&value, 1, 1, count);
}

bool parse_number_text(const char* text, double* values, int count) {
    console_init();
    CharSource in{nullptr, text, 0};
    int n = 0;
    return read_numbers(in, values, count, count, n, true, parse_double) == Answer::ok;
}

bool parse_int_text(const char* text, int* values, int count) {
    CharSource in{nullptr, text, 0};
    int n = 0;
    return read_numbers(in, values, count, count, n, true, parse_int) == Answer::ok;
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
        ask_parametric(slot.equation[kEquationX], kEquationX) &&
        ask_parametric(slot.equation[kEquationY], kEquationY) &&
        ask_expression(slot.equation[kEquationF], EquationNames[kEquationF]) &&
        ask_expression(slot.equation[kEquationG], EquationNames[kEquationG]);
    if (!entered)
        for (int k = 0; k < kGraphSlotCount; ++k) copy_graph_slot(saved[k], graph_slots[k]);
    return entered;
}

}  // namespace fourview
