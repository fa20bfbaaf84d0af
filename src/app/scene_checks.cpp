#include "app/scene_checks.h"

#include <cctype>
#include <cmath>

#include "expr/equation_entry.h"
#include "expr/graph_slots.h"
#include "ui/settings.h"

namespace fourview {

namespace {

bool blank(const std::string& s) {
    for (const char c : s)
        if (!std::isspace(static_cast<unsigned char>(c))) return false;
    return true;
}

}  // namespace

std::string scene_refusal(Scene& s, std::string& key) {
    static constexpr const char* kEquationKeys[4] = {"equations.x", "equations.y", "equations.f",
                                                     "equations.g"};
    if (!s.equations[0].empty() || !s.equations[3].empty()) {
        for (int i = 0; i < kEquationsPerSet; ++i) {
            key = kEquationKeys[i];
            Expression e{};
            if (blank(s.equations[i])) return "is empty";
            if (!compile_equation(e, s.equations[i].c_str()) || !parametric_equation_ok(e, i))
                return "'" + s.equations[i] + "' is refused by the equation engine";
        }
    }
    key = "values.window_size";
    if (!window_size_fits(s.window_size[0], s.window_size[1]))
        return std::to_string(s.window_size[0]) + "x" + std::to_string(s.window_size[1]) +
               " is no size the renderer can take";
    struct Range {
        const char *text_key, *value_key, *low_name, *high_name;
        std::array<std::string, 2>& texts;
        std::array<double, 2>& values;
    };
    Range ranges[2] = {
        {"values.s_range", "values.s_range_value", "s_min", "s_max", s.s_range_text, s.s_range},
        {"values.t_range", "values.t_range_value", "t_min", "t_max", s.t_range_text, s.t_range}};
    for (Range& r : ranges) {
        key = r.text_key;
        double from_text[2] = {0, 0};
        for (int i = 0; i < 2; ++i) {
            if (r.texts[i].size() >= static_cast<std::size_t>(kRangeTextSize))
                return "'" + r.texts[i] + "' is longer than a bound can be";
            if (!constant_from_text(r.texts[i].c_str(), i == 0 ? r.low_name : r.high_name,
                                    from_text[i]))
                return "'" + r.texts[i] + "' is refused by the equation engine";
        }
        // Given as text only: the text is the value.
        const bool text_only = std::isnan(r.values[0]) && std::isnan(r.values[1]);
        if (text_only) r.values = {from_text[0], from_text[1]};
        if (!usable_range(r.values[0], r.values[1])) {
            key = text_only ? r.text_key : r.value_key;
            return std::string(r.low_name) + " must be finite and below " + r.high_name;
        }
    }
    key = "values.infinity";
    if (!(s.infinity > 0) || !std::isfinite(s.infinity)) return "is not greater than 0";
    key = "values.hyperplane";
    if (!usable_normal(s.hyperplane[0], s.hyperplane[1], s.hyperplane[2], s.hyperplane[3]))
        return "a, b, c, d give no usable normal";
    key = "values.zoom";
    if (!zoom_allowed(s.zoom)) return "is outside 1e-06 to 1e+06";
    key.clear();
    return "";
}

}  // namespace fourview
