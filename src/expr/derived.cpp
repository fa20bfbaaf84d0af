#include "expr/derived.h"

#include <cmath>
#include <cstring>

#include "expr/arithmetic.h"
#include "expr/evaluator.h"

namespace {

using expr_arithmetic::power;

// The operations of the derived form, each with the value it computes. Operand letters: R a
// register (r[a] for the first operand, r[b] for the second), K the instruction's constant, A the
// accumulator, which holds the previous instruction's result so that a chain of operations does
// not wait for a store and a load between them. Every result goes to the accumulator and to r[dst].
// "+" and "*" have no forms with K or A first: IEEE addition and multiplication are commutative
// to the bit (signed zeros and infinities included; a NaN stays a NaN), so the derivation swaps
// their operands instead.
#define R_A r[in->a]
#define R_B r[in->b]
#define K in->k
#define DERIVED_FUNCTION(X, NAME, f) X(NAME##_R, f(R_A)) X(NAME##_A, f(acc))
#define DERIVED_OPERATIONS(X)                                                                       \
    X(ADD_RR, R_A + R_B) X(ADD_RK, R_A + K) X(ADD_AR, acc + R_B) X(ADD_AK, acc + K)                 \
    X(MUL_RR, R_A * R_B) X(MUL_RK, R_A * K) X(MUL_AR, acc * R_B) X(MUL_AK, acc * K)                 \
    X(SUB_RR, R_A - R_B) X(SUB_RK, R_A - K) X(SUB_KR, K - R_B) X(SUB_AR, acc - R_B)                 \
    X(SUB_RA, R_A - acc) X(SUB_AK, acc - K) X(SUB_KA, K - acc)                                       \
    X(DIV_RR, R_A / R_B) X(DIV_RK, R_A / K) X(DIV_KR, K / R_B) X(DIV_AR, acc / R_B)                 \
    X(DIV_RA, R_A / acc) X(DIV_AK, acc / K) X(DIV_KA, K / acc)                                       \
    X(POW_RR, power(R_A, R_B)) X(POW_RK, power(R_A, K)) X(POW_KR, power(K, R_B))                    \
    X(POW_AR, power(acc, R_B)) X(POW_RA, power(R_A, acc)) X(POW_AK, power(acc, K))                  \
    X(POW_KA, power(K, acc))                                                                         \
    X(SQUARE_R, R_A * R_A) X(SQUARE_A, acc * acc)                                                    \
    DERIVED_FUNCTION(X, ASIN, std::asin) DERIVED_FUNCTION(X, ACOS, std::acos)                        \
    DERIVED_FUNCTION(X, ATAN, std::atan) DERIVED_FUNCTION(X, COS, std::cos)                          \
    DERIVED_FUNCTION(X, COSH, std::cosh) DERIVED_FUNCTION(X, EXP, std::exp)                          \
    DERIVED_FUNCTION(X, FABS, std::fabs) DERIVED_FUNCTION(X, LOG, std::log)                          \
    DERIVED_FUNCTION(X, SIN, std::sin) DERIVED_FUNCTION(X, SINH, std::sinh)                          \
    DERIVED_FUNCTION(X, SQRT, std::sqrt) DERIVED_FUNCTION(X, TAN, std::tan)                          \
    DERIVED_FUNCTION(X, TANH, std::tanh)

// Every operation comes twice: storing its result and going on, or, as the program's last
// instruction, returning it (OP_x + RETURNING). STORED hands the stored program to
// evaluate_expression; the RETURN_ ones are the whole program of a lone operand.
enum DerivedOp : std::uint8_t {
#define ENUM_STORE(name, value) OP_##name,
    DERIVED_OPERATIONS(ENUM_STORE)
#undef ENUM_STORE
    OPERATION_COUNT,
#define ENUM_RETURN(name, value) OP_##name##_RETURN,
    DERIVED_OPERATIONS(ENUM_RETURN)
#undef ENUM_RETURN
    OP_STORED,
    OP_RETURN_K,
    OP_RETURN_S,
    OP_RETURN_T,
    OP_RETURN_X,
    OP_RETURN_Y,
    OP_COUNT
};
constexpr int RETURNING = OP_ADD_RR_RETURN - OP_ADD_RR;
static_assert(RETURNING == OPERATION_COUNT + 1, "each operation's returning form lies RETURNING further");

// The forms of an operator by where its operands are, in the order of the columns below.
enum Form { FORM_RR, FORM_RK, FORM_KR, FORM_AR, FORM_RA, FORM_AK, FORM_KA, FORM_COUNT };
constexpr std::uint8_t SWAP = 0xff;  // a commutative operator takes the swapped form
constexpr std::uint8_t OPERATOR_OPS[][FORM_COUNT] = {
    {OP_ADD_RR, OP_ADD_RK, SWAP, OP_ADD_AR, SWAP, OP_ADD_AK, SWAP},
    {OP_SUB_RR, OP_SUB_RK, OP_SUB_KR, OP_SUB_AR, OP_SUB_RA, OP_SUB_AK, OP_SUB_KA},
    {OP_MUL_RR, OP_MUL_RK, SWAP, OP_MUL_AR, SWAP, OP_MUL_AK, SWAP},
    {OP_DIV_RR, OP_DIV_RK, OP_DIV_KR, OP_DIV_AR, OP_DIV_RA, OP_DIV_AK, OP_DIV_KA},
    {OP_POW_RR, OP_POW_RK, OP_POW_KR, OP_POW_AR, OP_POW_RA, OP_POW_AK, OP_POW_KA},
};
static_assert(sizeof OPERATOR_OPS / sizeof OPERATOR_OPS[0] == TOKEN_POWER - TOKEN_PLUS + 1, "one row per operator");
constexpr Form SWAPPED[FORM_COUNT] = {FORM_RR, FORM_KR, FORM_RK, FORM_RA, FORM_AR, FORM_KA, FORM_AK};

// The function instructions (register form; the accumulator form follows each) in the order of
// the kind codes.
constexpr std::uint8_t FUNCTION_OPS[] = {OP_ASIN_R, OP_ACOS_R, OP_ATAN_R, OP_COS_R,  OP_COSH_R,
                                         OP_EXP_R,  OP_FABS_R, OP_LOG_R,  OP_SIN_R,  OP_SINH_R,
                                         OP_SQRT_R, OP_TAN_R,  OP_TANH_R};
static_assert(sizeof FUNCTION_OPS == TOKEN_TANH - TOKEN_ASIN + 1, "one instruction per function");
static_assert(OP_SIN_A == OP_SIN_R + 1, "the accumulator form follows the register form");

// A value on the stored program's stack as the derivation follows it.
enum EntryKind : std::uint8_t { ENTRY_CONSTANT, ENTRY_REGISTER, ENTRY_OPENER };

struct Entry {
    EntryKind kind;
    std::uint8_t reg;     // ENTRY_REGISTER
    std::int32_t opener;  // ENTRY_OPENER: its kind code
    double k;             // ENTRY_CONSTANT
};

struct Derivation {
    explicit Derivation(DerivedProgram& program) : d(program) {}

    DerivedProgram& d;
    Entry stack[EXPRESSION_TOKENS];
    int depth = 0;
    // Numbers (not openers) on the stack. A result goes to register 4 + its index among them:
    // openers take no register, so dropping a plain "(" leaves its argument where it is, and no
    // value still needed is ever overwritten (everything above it has a higher index).
    int numbers = 0;
    // The register whose value the accumulator also holds: the last instruction's result.
    int accumulated = -1;

    void push(const Entry& e)
    {
        stack[depth++] = e;
        if (e.kind != ENTRY_OPENER) ++numbers;
    }
    Entry pop()
    {
        const Entry e = stack[--depth];
        if (e.kind != ENTRY_OPENER) --numbers;
        return e;
    }
    void push_constant(double k) { push({ENTRY_CONSTANT, 0, 0, k}); }
    void push_register(std::uint8_t reg) { push({ENTRY_REGISTER, reg, 0, 0.0}); }
    // The register of a result that lands at the current top of the numbers.
    std::uint8_t next_register() const { return static_cast<std::uint8_t>(4 + numbers); }

    void emit(std::uint8_t op, std::uint8_t a, std::uint8_t b, double k)
    {
        const std::uint8_t dst = next_register();
        d.code[d.length++] = {op, dst, a, b, k};
        push_register(dst);
        accumulated = dst;
    }

    bool in_accumulator(const Entry& e) const { return e.kind == ENTRY_REGISTER && e.reg == accumulated; }

    // "a op b" with at least one operand not a constant.
    void emit_operator(std::int32_t kind, Entry a, Entry b)
    {
        // power() squares exactly when the exponent equals 2.0.
        if (kind == TOKEN_POWER && a.kind == ENTRY_REGISTER && b.kind == ENTRY_CONSTANT && b.k == 2.0)
            return emit(in_accumulator(a) ? OP_SQUARE_A : OP_SQUARE_R, a.reg, 0, 0.0);
        // Where each operand is: 0 a register, 1 a constant, 2 the accumulator.
        constexpr Form FORMS[3][3] = {{FORM_RR, FORM_RK, FORM_RA}, {FORM_KR, FORM_RR, FORM_KA}, {FORM_AR, FORM_AK, FORM_RR}};
        const auto place = [this](const Entry& e) { return e.kind == ENTRY_CONSTANT ? 1 : in_accumulator(e) ? 2 : 0; };
        Form form = FORMS[place(a)][place(b)];
        std::uint8_t op = OPERATOR_OPS[kind - TOKEN_PLUS][form];
        if (op == SWAP) {
            const Entry first = a;
            a = b;
            b = first;
            form = SWAPPED[form];
            op = OPERATOR_OPS[kind - TOKEN_PLUS][form];
        }
        // A constant sits in k whichever side it is on.
        const double k = a.kind == ENTRY_CONSTANT ? a.k : b.k;
        emit(op, a.reg, b.reg, k);
    }

    // Follows one token; false when the evaluator would not run it as a clean stack of numbers
    // (a message, or an opener's 0.0 used as a value).
    bool step(const Token& token)
    {
        switch (token.kind) {
        case TOKEN_NUMBER: push_constant(token.value); return true;
        case TOKEN_PI: push_constant(EXPRESSION_PI); return true;
        case TOKEN_S: push_register(0); return true;
        case TOKEN_T: push_register(1); return true;
        case TOKEN_X: push_register(2); return true;
        case TOKEN_Y: push_register(3); return true;
        default: break;
        }
        if (is_opener(token.kind)) {
            push({ENTRY_OPENER, 0, token.kind, 0.0});
            return true;
        }
        if (depth < 2 || stack[depth - 1].kind == ENTRY_OPENER) return false;
        if (is_closer(token.kind)) {
            if (stack[depth - 2].kind != ENTRY_OPENER) return false;
            const Entry argument = pop();
            const std::int32_t opener = pop().opener;
            if (opener == TOKEN_OPEN) {
                push(argument);
            } else if (argument.kind == ENTRY_CONSTANT) {
                double value = 0.0;
                expr_arithmetic::apply_named_function(opener, argument.k, value);
                push_constant(value);
            } else {
                const std::uint8_t op = FUNCTION_OPS[opener - TOKEN_ASIN];
                emit(in_accumulator(argument) ? static_cast<std::uint8_t>(op + 1) : op, argument.reg, 0, 0.0);
            }
            return true;
        }
        if (!is_operator(token.kind) || stack[depth - 2].kind == ENTRY_OPENER) return false;
        const Entry b = pop();
        const Entry a = pop();
        if (a.kind == ENTRY_CONSTANT && b.kind == ENTRY_CONSTANT) {
            double value = 0.0;
            expr_arithmetic::apply_known_operator(token.kind, a.k, b.k, value);
            push_constant(value);
        } else {
            emit_operator(token.kind, a, b);
        }
        return true;
    }
};

void hand_over(DerivedProgram& d)
{
    d.code[0] = {OP_STORED, 0, 0, 0, 0.0};
    d.length = 1;
}

}  // namespace

void derive_program(DerivedProgram& d, const Token* program, std::int32_t count)
{
    d.source_count = count;
    const std::int32_t kept = count < 0 ? 0 : count > EXPRESSION_TOKENS ? EXPRESSION_TOKENS : count;
    if (kept > 0) std::memcpy(d.source, program, sizeof(Token) * static_cast<std::size_t>(kept));
    d.length = 0;
    if (count < 1 || count > EXPRESSION_TOKENS) return hand_over(d);

    Derivation run(d);
    for (int i = 0; i < count; ++i)
        if (!run.step(program[i])) return hand_over(d);
    if (run.depth != 1 || run.stack[0].kind == ENTRY_OPENER) return hand_over(d);

    const Entry& result = run.stack[0];
    if (d.length > 0) {
        // The result is the last instruction's: every other result is used by a later one.
        d.code[d.length - 1].op = static_cast<std::uint8_t>(d.code[d.length - 1].op + RETURNING);
    } else if (result.kind == ENTRY_CONSTANT) {
        d.code[d.length++] = {OP_RETURN_K, 0, 0, 0, result.k};
    } else {
        d.code[d.length++] = {static_cast<std::uint8_t>(OP_RETURN_S + result.reg), 0, 0, 0, 0.0};
    }
}

bool refresh_derived(DerivedProgram& d, const Token* program, std::int32_t count)
{
    bool same = d.length > 0 && d.source_count == count;
    for (int i = 0; same && i < count && i < EXPRESSION_TOKENS; ++i)
        same = d.source[i].kind == program[i].kind &&
               std::memcmp(&d.source[i].value, &program[i].value, sizeof(double)) == 0;
    if (same) return false;
    derive_program(d, program, count);
    return true;
}

namespace {

// Runs a derived program of at least one operation. Kept out of line so that evaluate_derived's
// short paths set up no frame.
#if defined(__GNUC__) && !defined(__clang__)
// GCC otherwise merges the handlers' common tails ("store, next, dispatch") into one shared
// indirect jump, which predicts worse than one jump per handler.
__attribute__((optimize("no-crossjumping")))
#endif
__attribute__((noinline)) double run_derived(const DerivedProgram& d, double s, double t, double x, double y)
{
    double r[DERIVED_REGISTERS];
    r[0] = s;
    r[1] = t;
    r[2] = x;
    r[3] = y;
    double acc = 0.0;
    const DerivedInstruction* in = d.code;

    // Threaded dispatch, as in the evaluator: each handler jumps straight to the next one's.
    static const void* const HANDLERS[] = {
#define LABEL_STORE(name, value) &&store_##name,
        DERIVED_OPERATIONS(LABEL_STORE)
#undef LABEL_STORE
        nullptr,
#define LABEL_RETURN(name, value) &&return_##name,
        DERIVED_OPERATIONS(LABEL_RETURN)
#undef LABEL_RETURN
    };
    static_assert(sizeof HANDLERS / sizeof HANDLERS[0] == OP_STORED, "one handler per operation, in DerivedOp order");

    goto* HANDLERS[in->op];
#define HANDLE(name, value)          \
    store_##name:                    \
    acc = (value);                   \
    r[in->dst] = acc;                \
    ++in;                            \
    goto* HANDLERS[in->op];          \
    return_##name:                   \
    return (value);
    DERIVED_OPERATIONS(HANDLE)
#undef HANDLE
}

}  // namespace

double evaluate_derived(const DerivedProgram& d, double s, double t, double x, double y)
{
    const DerivedInstruction& first = d.code[0];
    if (first.op < OP_STORED) return run_derived(d, s, t, x, y);
    switch (first.op) {
    case OP_RETURN_K: return first.k;
    case OP_RETURN_S: return s;
    case OP_RETURN_T: return t;
    case OP_RETURN_X: return x;
    case OP_RETURN_Y: return y;
    default: return evaluate_expression(s, t, x, y, d.source, d.source_count);
    }
}

#undef DERIVED_OPERATIONS
#undef DERIVED_FUNCTION
#undef K
#undef R_B
#undef R_A
