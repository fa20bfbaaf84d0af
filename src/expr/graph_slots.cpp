#include "expr/graph_slots.h"

#include <cstdio>
#include <cstring>

#include "expr/syntax.h"
#include "expr/tokenizer.h"

namespace fourview {

GraphSlot graph_slots[kGraphSlotCount];

namespace {

constexpr int kDefaultSetCount = 3;
constexpr const char* DefaultSets[kDefaultSetCount][kEquationsPerSet] = {
    {"sin(s+t)", "cos(s+t)", "sin(s-t)", "cos(s-t)"},
    {"cos(s)*(2+cos(t))", "sin(s)*(2+cos(t))", "sin(t)", "0"},
    {"s", "t", "x^2 - y^2", "2*x*y"},
};

// A label is cut after this many characters.
constexpr std::size_t kLabelCut = 60;

void copy_expression(const Expression& source, Expression& destination) {
    if (&source == &destination) return;
    std::int32_t count = source.count;
    if (count < 0) count = 0;
    if (count > EXPRESSION_TOKENS) count = EXPRESSION_TOKENS;
    std::memcpy(destination.text, source.text, sizeof destination.text);
    destination.text[EXPRESSION_TEXT_LENGTH] = '\0';
    destination.count = source.count;
    std::memcpy(destination.program, source.program, sizeof(Token) * static_cast<std::size_t>(count));
}

}  // namespace

void clear_graph_slots() {
    for (GraphSlot& slot : graph_slots)
        for (Expression& e : slot.equation) {
            e.count = 0;
            e.text[0] = '\0';
        }
}

void copy_graph_slot(const GraphSlot& source, GraphSlot& destination) {
    for (int i = 0; i < kEquationsPerSet; ++i) copy_expression(source.equation[i], destination.equation[i]);
}

bool graph_slot_filled(int n) {
    return n >= 0 && n < kGraphSlotCount && graph_slots[n].equation[kEquationX].count > 0;
}

void set_expression(Expression& expression, const char* text) {
    Token tokens[TOKEN_LIST_SIZE];
    int count = divide_token(text, tokens);
    if (count > 0) count = check_syntax(tokens, count);
    if (count <= 0) {
        expression.count = 0;
        return;
    }
    expression.count = count;
    compile_expression(tokens, expression.program, expression.count);
    std::snprintf(expression.text, sizeof expression.text, "%s", text);
}

void fill_default_sets(int first) {
    for (int k = 0; k < kDefaultSetCount; ++k) {
        const int slot = first + k;
        if (slot < 0 || slot >= kGraphSlotCount) continue;
        for (int i = 0; i < kEquationsPerSet; ++i) set_expression(graph_slots[slot].equation[i], DefaultSets[k][i]);
    }
}

void make_room_for_new_set() {
    for (int n = kGraphSlotCount - 1; n > 0; --n) copy_graph_slot(graph_slots[n - 1], graph_slots[n]);
}

bool move_slot_to_front(int n) {
    if (!graph_slot_filled(n)) return false;
    // The chosen set waits outside the table while the sets before it move down.
    static GraphSlot chosen;
    copy_graph_slot(graph_slots[n], chosen);
    for (int k = n; k > 0; --k) copy_graph_slot(graph_slots[k - 1], graph_slots[k]);
    copy_graph_slot(chosen, graph_slots[0]);
    return true;
}

void compose_graph_menu_label(char* out, const GraphSlot& slot) {
    out[0] = '\0';
    if (slot.equation[kEquationX].count <= 0) return;
    // Four names, four texts of up to 200 characters and the separators.
    char full[4 * (EXPRESSION_TEXT_LENGTH + 16) + 64];
    std::snprintf(full, sizeof full, "%s = %s , %s = %s , %s = %s , %s = %s", EquationNames[0],
                  slot.equation[0].text, EquationNames[1], slot.equation[1].text, EquationNames[2],
                  slot.equation[2].text, EquationNames[3], slot.equation[3].text);
    if (std::strlen(full) >= kLabelCut) std::memcpy(full + kLabelCut, "...", 4);
    // At most kGraphMenuLabelSize - 1 characters, as the cut leaves them.
    std::snprintf(out, kGraphMenuLabelSize, "%.*s", static_cast<int>(kGraphMenuLabelSize - 1), full);
}

}  // namespace fourview
