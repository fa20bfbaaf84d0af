#include "expr/tokenizer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "expr/console.h"

namespace {

const char* const MESSAGE_TOO_MANY_TOKENS = "入力された要素数が多すぎます";
const char* const MESSAGE_NUMBER_TOO_LONG = "入力された数値が長過ぎます";
const char* const MESSAGE_ILLEGAL_CHARACTER = "数式に不正な文字が含まれています";
const char* const MESSAGE_LINE_TOO_LONG = "数式が長過ぎます";

// Tokens present before an element is read; the element may add two more (a unary minus).
constexpr int ELEMENT_LIMIT = 100;

// The normalised line: blanks gone, letters folded. Its length n bounds every look-ahead.
struct Line {
    char text[EXPRESSION_TEXT_LENGTH + 1];
    int n;
};

// ASCII folding rather than tolower: under a locale such as tr_TR tolower('I') is not 'i',
// and "PI" must mean pi whatever the user's locale is. Bytes >= 0x80 stay as they are and are
// refused as illegal characters.
char fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool normalise(const char* text, Line& line)
{
    line.n = 0;
    for (int i = 0; text[i] != '\0'; ++i) {
        if (i >= EXPRESSION_TEXT_LENGTH) return false;
        if (text[i] == ' ' || text[i] == '\t') continue;
        line.text[line.n++] = fold(text[i]);
    }
    line.text[line.n] = '\0';
    return true;
}

bool is_number_char(char c) { return (c >= '0' && c <= '9') || c == '.'; }

// True when `word` stands in the line at position i, every character of it below n.
bool word_at(const Line& line, int i, const char* word)
{
    for (int k = 0; word[k] != '\0'; ++k)
        if (i + k >= line.n || line.text[i + k] != word[k]) return false;
    return true;
}

struct Word {
    const char* text;
    std::int32_t kind;
};

// What a letter may begin, tried in order. A function name counts only with its "(" behind it.
const Word A_WORDS[] = {{"asin(", TOKEN_ASIN}, {"acos(", TOKEN_ACOS}, {"atan(", TOKEN_ATAN}, {nullptr, 0}};
const Word C_WORDS[] = {{"cos(", TOKEN_COS}, {"cosh(", TOKEN_COSH}, {nullptr, 0}};
const Word E_WORDS[] = {{"exp(", TOKEN_EXP}, {nullptr, 0}};
const Word F_WORDS[] = {{"fabs(", TOKEN_FABS}, {nullptr, 0}};
const Word L_WORDS[] = {{"log(", TOKEN_LOG}, {nullptr, 0}};
const Word P_WORDS[] = {{"pi", TOKEN_PI}, {nullptr, 0}};
const Word S_WORDS[] = {{"sin(", TOKEN_SIN}, {"sinh(", TOKEN_SINH}, {"sqrt(", TOKEN_SQRT}, {nullptr, 0}};
const Word T_WORDS[] = {{"tan(", TOKEN_TAN}, {"tanh(", TOKEN_TANH}, {nullptr, 0}};
const Word NO_WORDS[] = {{nullptr, 0}};

// The words a first character may begin and, if none matches, the single-letter token it is
// on its own (0 for an illegal character).
struct Start {
    const Word* words;
    std::int32_t alone;
};

Start start_of(char c)
{
    switch (c) {
    case '(': return {NO_WORDS, TOKEN_OPEN};
    case ')': return {NO_WORDS, TOKEN_CLOSE};
    case '+': return {NO_WORDS, TOKEN_PLUS};
    case '-': return {NO_WORDS, TOKEN_MINUS};
    case '*': return {NO_WORDS, TOKEN_TIMES};
    case '/': return {NO_WORDS, TOKEN_DIVIDE};
    case '^': return {NO_WORDS, TOKEN_POWER};
    case 'a': return {A_WORDS, 0};
    case 'c': return {C_WORDS, 0};
    case 'e': return {E_WORDS, 0};
    case 'f': return {F_WORDS, 0};
    case 'l': return {L_WORDS, 0};
    case 'p': return {P_WORDS, 0};
    case 's': return {S_WORDS, TOKEN_S};
    case 't': return {T_WORDS, TOKEN_T};
    case 'x': return {NO_WORDS, TOKEN_X};
    case 'y': return {NO_WORDS, TOKEN_Y};
    default: return {NO_WORDS, 0};
    }
}

int fail(const char* message)
{
    print_error(message);
    return 0;
}

}  // namespace

void print_error(const char* message)
{
    console_printf(stdout, "%s\n\n", message);
    std::fflush(stdout);
}

int divide_token(const char* text, Token* tokens)
{
    Line line;
    if (!normalise(text, line)) return fail(MESSAGE_LINE_TOO_LONG);

    int count = 0;
    int i = 0;
    while (i < line.n) {
        if (count > ELEMENT_LIMIT) return fail(MESSAGE_TOO_MANY_TOKENS);
        const char c = line.text[i];

        if (is_number_char(c)) {
            int length = 0;
            while (i + length < line.n && is_number_char(line.text[i + length])) ++length;
            if (length > NUMBER_LENGTH) return fail(MESSAGE_NUMBER_TOO_LONG);
            char number[NUMBER_LENGTH + 1];
            std::memcpy(number, line.text + i, static_cast<size_t>(length));
            number[length] = '\0';
            // atof reads what it can: "1.2.3" is 1.2 and "." is 0.
            tokens[count++] = {TOKEN_NUMBER, std::atof(number)};
            i += length;
            continue;
        }

        if (c == '-' && (i == 0 || line.text[i - 1] == '(')) {
            tokens[count++] = {TOKEN_NUMBER, 0.0};
            tokens[count++] = {TOKEN_MINUS, 0.0};
            ++i;
            continue;
        }

        const Start start = start_of(c);
        const Word* match = start.words;
        while (match->text != nullptr && !word_at(line, i, match->text)) ++match;
        if (match->text != nullptr) {
            tokens[count++] = {match->kind, 0.0};
            i += static_cast<int>(std::strlen(match->text));
        } else if (start.alone != 0) {
            tokens[count++] = {start.alone, 0.0};
            ++i;
        } else {
            return fail(MESSAGE_ILLEGAL_CHARACTER);
        }
    }
    return count;
}
