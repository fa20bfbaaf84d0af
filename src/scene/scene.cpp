#include "scene/scene.h"

#include <charconv>
#include <cmath>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <limits>

// toml++ 3.3 asserts on a table header such as "[:" before it reports the
// error it finds there anyway, and built with NDEBUG under clang it assumes
// the same thing, which is undefined behaviour on such a file. Its asserts
// are switched off here; what they check is reported as a syntax error.
#pragma push_macro("NDEBUG")
#undef NDEBUG
#define TOML_ASSERT(expr) static_cast<void>(0)
#include <toml++/toml.h>
#pragma pop_macro("NDEBUG")

#include "render/caption_table.h"

namespace fourview {

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;

// The shortest text that reads back to the same double, made a TOML float
// ("1" would read as an integer, which is still accepted, but says less).
std::string number(double v) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, v);
    std::string s(text, result.ptr);
    if (s.find_first_of(".eEn") == std::string::npos) s += ".0";
    return s;
}

// A TOML basic string: quotes, backslashes and control characters escaped.
std::string quoted(const std::string& s) {
    std::string out = "\"";
    for (const char c : s) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20 || u == 0x7f) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", u);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string flag(int on) { return on == 1 ? "true" : "false"; }

template <std::size_t N>
std::string numbers(const std::array<double, N>& v, std::size_t first = 0, std::size_t count = N) {
    std::string s = "[";
    for (std::size_t i = first; i < first + count; ++i) s += (i > first ? ", " : "") + number(v[i]);
    return s + "]";
}

std::string matrix_rows(const Matrix4& m) {
    std::string s = "[\n";
    for (int r = 0; r < 4; ++r) s += "    " + numbers(m, 4 * r, 4) + ",\n";
    return s + "]";
}

// The words of the enumerations, as the file writes them.
struct Word {
    int value;
    const char* word;
};
constexpr Word RotationModeWords[] = {{kRotationGlobal, "global"}, {kRotationLocal, "local"}};
constexpr Word ProjectionWords[] = {{kProjectionParallel, "parallel"},
                                    {kProjectionPerspective, "perspective"},
                                    {kProjectionStereographic, "stereographic"}};
constexpr Word FlatProjectionWords[] = {{kProjectionParallel, "parallel"},
                                        {kProjectionPerspective, "perspective"}};
constexpr Word ViewWords[] = {{0, "x"}, {1, "y"}, {2, "z"}};

template <std::size_t N>
const char* word_of(const Word (&words)[N], int value) {
    for (const Word& w : words)
        if (w.value == value) return w.word;
    return words[0].word;
}

template <std::size_t N>
std::string word_list(const Word (&words)[N]) {
    std::string s;
    for (std::size_t i = 0; i < N; ++i)
        s += std::string(i == 0 ? "" : i + 1 == N ? " or " : ", ") + "\"" + words[i].word + "\"";
    return s;
}

// The option keys of [options], in the Options menu's order.
struct OptionKey {
    const char* key;
    int Scene::*field;
};
constexpr OptionKey OptionKeys[] = {
    {"solid", &Scene::solid},
    {"transparent", &Scene::transparent},
    {"wireframe", &Scene::wireframe},
    {"cross_section", &Scene::cross_section},
    {"axes", &Scene::axes},
    {"label", &Scene::label},
    {"high_quality", &Scene::high_quality},
    {"bold_line", &Scene::bold_line},
    {"colour_by_w", &Scene::colour_by_w},
};

constexpr const char* EquationKeys[4] = {"x", "y", "f", "g"};

// Every key this version reads, by table; others are warned about.
struct KnownTable {
    const char* table;
    const char* keys[16];
};
constexpr KnownTable KnownKeys[] = {
    {"", {"format", "model", "equations", "values", "options", "modes", "view", "orientation"}},
    {"model", {"id", "name", "polytope"}},
    {"equations", {"x", "y", "f", "g"}},
    {"values",
     {"window_size", "s_range", "s_range_value", "t_range", "t_range_value", "infinity", "center",
      "rotation_angle", "hyperplane", "section_offset", "zoom"}},
    {"options",
     {"solid", "transparent", "wireframe", "cross_section", "axes", "label", "high_quality",
      "bold_line", "colour_by_w"}},
    {"modes", {"rotation", "projection", "flat_projection", "view_direction"}},
    {"view", {"matrix"}},
    {"orientation", {"matrix", "translation", "angles"}},
};

}  // namespace

std::string write_scene(const Scene& s) {
    const Caption* caption = find_caption(s.model_id);
    std::string t;
    t += "# A fourview scene: one view of a model, everything that makes the picture.\n";
    t += "# Open it with  fourview --scene FILE  or the graph menu's \"Load Scene\".\n";
    t += "# Numbers are written so that they read back to the same bits.\n";
    t += "format = " + std::to_string(s.version) + "\n\n";

    t += "[model]\n";
    t += "# The id as fourview --help lists them; 20 is the graph of [equations].\n";
    t += "id = " + std::to_string(s.model_id) + "\n";
    t += "name = " + quoted(caption != nullptr ? caption->name : "") + "  # for the reader only\n";
    if (!s.polytope.empty())
        t += "polytope = " + quoted(s.polytope) + "\n";
    else
        t += "# polytope = \"x4o3o3o\"  # a uniform polytope's symbol, when the model is one\n";

    if (!s.equations[0].empty()) {
        t += "\n[equations]\n";
        t += "# The user graph's current set, as typed: x(s,t), y(s,t), f(x,y,s,t), g(x,y,s,t).\n";
        for (int i = 0; i < 4; ++i)
            t += std::string(EquationKeys[i]) + " = " + quoted(s.equations[i]) + "\n";
    }

    t += "\n[values]\n";
    t += "# The settings of the values window.\n";
    t += "window_size = [" + std::to_string(s.window_size[0]) + ", " +
         std::to_string(s.window_size[1]) + "]\n";
    t += "s_range = [" + quoted(s.s_range_text[0]) + ", " + quoted(s.s_range_text[1]) +
         "]  # as typed\n";
    t += "s_range_value = " + numbers(s.s_range) + "  # exact; wins over the text\n";
    t += "t_range = [" + quoted(s.t_range_text[0]) + ", " + quoted(s.t_range_text[1]) + "]\n";
    t += "t_range_value = " + numbers(s.t_range) + "\n";
    t += "infinity = " + number(s.infinity) + "\n";
    t += "center = " +
         numbers(std::array<double, 4>{s.center.x, s.center.y, s.center.z, s.center.w}) +
         "  # graph_center (x, y, z, w)\n";
    t += "rotation_angle = " + std::to_string(s.rotation_angle) + "  # degrees of one step\n";
    t += "hyperplane = " + numbers(s.hyperplane) + "  # a, b, c, d, e of aX + bY + cZ + dW = e\n";
    t += "section_offset = " + number(s.section_offset) + "  # how far the cut has been moved\n";
    t += "zoom = " + number(s.zoom) + "\n";

    t += "\n[options]\n";
    for (const OptionKey& o : OptionKeys) t += std::string(o.key) + " = " + flag(s.*o.field) + "\n";

    t += "\n[modes]\n";
    t += "rotation = \"" + std::string(word_of(RotationModeWords, s.rotation_mode)) + "\"  # " +
         word_list(RotationModeWords) + "\n";
    t += "projection = \"" + std::string(word_of(ProjectionWords, s.projection_mode)) + "\"  # " +
         word_list(ProjectionWords) + "\n";
    t += "flat_projection = \"" + std::string(word_of(FlatProjectionWords, s.flat_projection)) +
         "\"  # the one stereographic goes back to\n";
    t += "view_direction = \"" + std::string(word_of(ViewWords, s.view_direction)) +
         "\"  # the axis the 3D view was last set to look from\n";

    t += "\n[view]\n";
    t += "# The 3D view after the mouse drags: OpenGL's 4x4 matrix, column by column.\n";
    t += "matrix = " + matrix_rows(s.view_matrix) + "\n";

    t += "\n[orientation]\n";
    t += "# The 4D rotation in force, row by row over (x, y, z, w): a point p is drawn\n";
    t += "# at matrix * p + translation. Reset gives the hyperplane's own orientation.\n";
    t += "matrix = " + matrix_rows(s.rotation) + "\n";
    t += "translation = " + numbers(s.translation) + "\n";
    t += "# The same rotation as six plane turns in degrees, matrix = XY ZX WX YZ WY WZ\n";
    t += "# (a positive angle turns as the plane's forward key). Read only without matrix.\n";
    const std::array<double, 6> a = plane_angles(s.rotation);
    t += "angles = { ";
    for (int i = 0; i < 6; ++i)
        t += std::string(i > 0 ? ", " : "") + RotationPlanes[kAnglePlaneOrder[i]].name + " = " +
             number(a[i] * kDegreesPerRadian);
    t += " }\n";
    return t;
}

namespace {

// A reason is one line on a terminal: the file's own bytes quoted in it
// (a string, a key, the character a syntax error saw) may hold any control
// character, shown here as \xNN.
std::string unshelter_letters(const std::string& text);

std::string one_line(const std::string& sheltered) {
    const std::string text = unshelter_letters(sheltered);
    std::string out;
    for (const char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", u);
            out += escape;
        } else {
            out += c;
        }
    }
    return out;
}

// One reading of a scene: the first failure ends it, with its line.
struct Reader {
    const std::string& name;
    SceneRead& result;
    Scene scene;

    bool fail(const toml::node* node, const std::string& key, const std::string& reason) {
        const int line = node != nullptr ? static_cast<int>(node->source().begin.line) : 0;
        result.error = one_line(name + (line > 0 ? ":" + std::to_string(line) : std::string()) +
                                ": " + key + ": " + reason);
        return false;
    }

    // A number, integers included (a hand-written "1" is one), finite.
    bool real(const toml::node* n, const std::string& key, double& out) {
        std::optional<double> v;
        if (n != nullptr && n->is_integer())
            v = static_cast<double>(*n->value<int64_t>());
        else if (n != nullptr && n->is_floating_point())
            v = n->value<double>();
        if (!v) return fail(n, key, "is not a number");
        if (!std::isfinite(*v)) return fail(n, key, "is not a finite number");
        out = *v;
        return true;
    }

    bool whole(const toml::node* n, const std::string& key, int& out) {
        if (n == nullptr || !n->is_integer()) return fail(n, key, "is not a whole number");
        const int64_t v = *n->value<int64_t>();
        if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
            return fail(n, key, "is out of range");
        out = static_cast<int>(v);
        return true;
    }

    bool text(const toml::node* n, const std::string& key, std::string& out) {
        if (n == nullptr || !n->is_string()) return fail(n, key, "is not a string");
        out = unshelter_letters(*n->value<std::string>());
        if (out.find('\0') != std::string::npos) return fail(n, key, "holds a NUL character");
        return true;
    }

    bool boolean(const toml::node* n, const std::string& key, int& out) {
        if (n == nullptr || !n->is_boolean()) return fail(n, key, "is not true or false");
        out = *n->value<bool>() ? 1 : 0;
        return true;
    }

    const toml::array* list(const toml::node* n, const std::string& key, std::size_t count) {
        const toml::array* a = n != nullptr ? n->as_array() : nullptr;
        if (a == nullptr || a->size() != count) {
            fail(n, key, "is not a list of " + std::to_string(count));
            return nullptr;
        }
        return a;
    }

    template <std::size_t N>
    bool reals(const toml::node* n, const std::string& key, std::array<double, N>& out) {
        const toml::array* a = list(n, key, N);
        if (a == nullptr) return false;
        std::array<double, N> v{};
        for (std::size_t i = 0; i < N; ++i)
            if (!real(a->get(i), key + "[" + std::to_string(i) + "]", v[i])) return false;
        out = v;
        return true;
    }

    bool matrix(const toml::node* n, const std::string& key, Matrix4& out) {
        const toml::array* rows = list(n, key, 4);
        if (rows == nullptr) return false;
        Matrix4 m{};
        for (int r = 0; r < 4; ++r) {
            std::array<double, 4> row{};
            if (!reals(rows->get(r), key + "[" + std::to_string(r) + "]", row)) return false;
            for (int c = 0; c < 4; ++c) m[4 * r + c] = row[c];
        }
        out = m;
        return true;
    }

    template <std::size_t N>
    bool word(const toml::node* n, const std::string& key, const Word (&words)[N], int& out) {
        std::string w;
        if (!text(n, key, w)) return false;
        for (const Word& candidate : words)
            if (w == candidate.word) {
                out = candidate.value;
                return true;
            }
        return fail(n, key, "'" + w + "' is not " + word_list(words));
    }

    void warn_unknown(const toml::table& root) {
        for (const KnownTable& k : KnownKeys) {
            const toml::table* t = k.table[0] == '\0' ? &root : root[k.table].as_table();
            if (t == nullptr) continue;
            for (const auto& [key, node] : *t) {
                bool known = false;
                for (const char* name : k.keys)
                    known = known || (name != nullptr && key.str() == name);
                if (known) continue;
                const std::string full = k.table[0] == '\0'
                                             ? std::string(key.str())
                                             : std::string(k.table) + "." + std::string(key.str());
                result.warnings.push_back(one_line(name + ":" +
                                                   std::to_string(node.source().begin.line) + ": " +
                                                   full + ": unknown key, left alone"));
            }
        }
    }

    bool read(const toml::table& root) {
        const toml::node* format = root.get("format");
        if (format == nullptr) return fail(nullptr, "format", "missing: this is no fourview scene");
        if (!whole(format, "format", scene.version)) return false;
        if (scene.version > kSceneVersion)
            return fail(format, "format",
                        "version " + std::to_string(scene.version) +
                            " is newer than this fourview reads (" + std::to_string(kSceneVersion) +
                            "); update fourview");
        if (scene.version < 1) return fail(format, "format", "is no version (1 or more)");
        // Each table must be a table when present.
        for (const char* t :
             {"model", "equations", "values", "options", "modes", "view", "orientation"})
            if (const toml::node* n = root.get(t); n != nullptr && !n->is_table())
                return fail(n, t, "is not a table");
        const toml::node_view<const toml::node> r{root};
        auto at = [&](const char* table, const char* key) { return r[table][key].node(); };
        auto full = [](const char* table, const char* key) {
            return std::string(table) + "." + key;
        };

        if (const toml::node* n = at("model", "id")) {
            if (!whole(n, "model.id", scene.model_id)) return false;
            if (find_caption(scene.model_id) == nullptr)
                return fail(
                    n, "model.id",
                    std::to_string(scene.model_id) + " is no model (fourview --help lists them)");
        }
        if (const toml::node* n = at("model", "name")) {
            std::string ignored;
            if (!text(n, "model.name", ignored)) return false;
        }
        if (const toml::node* n = at("model", "polytope");
            n != nullptr && !text(n, "model.polytope", scene.polytope))
            return false;

        if (root.get("equations") != nullptr) {
            for (int i = 0; i < 4; ++i) {
                const toml::node* n = at("equations", EquationKeys[i]);
                if (n == nullptr)
                    return fail(root.get("equations"), full("equations", EquationKeys[i]),
                                "missing: a set has all four equations");
                if (!text(n, full("equations", EquationKeys[i]), scene.equations[i])) return false;
            }
        }

        if (const toml::node* n = at("values", "window_size")) {
            const toml::array* a = list(n, "values.window_size", 2);
            if (a == nullptr) return false;
            for (int i = 0; i < 2; ++i)
                if (!whole(a->get(i), "values.window_size", scene.window_size[i])) return false;
        }
        struct Range {
            const char *text_key, *value_key;
            std::array<std::string, 2>& texts;
            std::array<double, 2>& values;
        };
        Range ranges[2] = {{"s_range", "s_range_value", scene.s_range_text, scene.s_range},
                           {"t_range", "t_range_value", scene.t_range_text, scene.t_range}};
        for (Range& g : ranges) {
            if (const toml::node* n = at("values", g.text_key)) {
                const toml::array* a = list(n, full("values", g.text_key), 2);
                if (a == nullptr) return false;
                for (int i = 0; i < 2; ++i)
                    if (!text(a->get(i), full("values", g.text_key), g.texts[i])) return false;
                // Without its exact value the text is the value (NaN: to be
                // worked out by the equation engine when checked).
                if (at("values", g.value_key) == nullptr)
                    g.values = {std::numeric_limits<double>::quiet_NaN(),
                                std::numeric_limits<double>::quiet_NaN()};
            }
            if (const toml::node* n = at("values", g.value_key);
                n != nullptr && !reals(n, full("values", g.value_key), g.values))
                return false;
        }
        if (const toml::node* n = at("values", "infinity");
            n != nullptr && !real(n, "values.infinity", scene.infinity))
            return false;
        if (const toml::node* n = at("values", "center")) {
            std::array<double, 4> c{};
            if (!reals(n, "values.center", c)) return false;
            scene.center = Point4{c[0], c[1], c[2], c[3]};
        }
        if (const toml::node* n = at("values", "rotation_angle");
            n != nullptr && !whole(n, "values.rotation_angle", scene.rotation_angle))
            return false;
        if (const toml::node* n = at("values", "hyperplane");
            n != nullptr && !reals(n, "values.hyperplane", scene.hyperplane))
            return false;
        if (const toml::node* n = at("values", "section_offset");
            n != nullptr && !real(n, "values.section_offset", scene.section_offset))
            return false;
        if (const toml::node* n = at("values", "zoom");
            n != nullptr && !real(n, "values.zoom", scene.zoom))
            return false;

        for (const OptionKey& o : OptionKeys)
            if (const toml::node* n = at("options", o.key);
                n != nullptr && !boolean(n, full("options", o.key), scene.*o.field))
                return false;

        if (const toml::node* n = at("modes", "rotation");
            n != nullptr && !word(n, "modes.rotation", RotationModeWords, scene.rotation_mode))
            return false;
        if (const toml::node* n = at("modes", "projection");
            n != nullptr && !word(n, "modes.projection", ProjectionWords, scene.projection_mode))
            return false;
        if (const toml::node* n = at("modes", "flat_projection");
            n != nullptr &&
            !word(n, "modes.flat_projection", FlatProjectionWords, scene.flat_projection))
            return false;
        if (const toml::node* n = at("modes", "view_direction");
            n != nullptr && !word(n, "modes.view_direction", ViewWords, scene.view_direction))
            return false;
        // A stereographic projection alone names the flat one it came from.
        if (scene.projection_mode != kProjectionStereographic &&
            at("modes", "projection") != nullptr)
            scene.flat_projection = scene.projection_mode;

        if (const toml::node* n = at("view", "matrix")) {
            if (!matrix(n, "view.matrix", scene.view_matrix)) return false;
            Matrix4 rows{};  // the rotation part, read as rows; the rest fixed
            for (int r = 0; r < 3; ++r)
                for (int c = 0; c < 3; ++c) rows[4 * r + c] = scene.view_matrix[4 * r + c];
            rows[15] = 1;
            const Matrix4& v = scene.view_matrix;
            if (!is_rotation(rows) || v[3] != 0 || v[7] != 0 || v[11] != 0 || v[12] != 0 ||
                v[13] != 0 || v[14] != 0 || v[15] != 1)
                return fail(n, "view.matrix", "is not a rotation of 3-space");
        }

        const toml::node* m = at("orientation", "matrix");
        const toml::node* angles = at("orientation", "angles");
        if (m != nullptr) {
            if (!matrix(m, "orientation.matrix", scene.rotation)) return false;
            if (!is_rotation(scene.rotation))
                return fail(m, "orientation.matrix",
                            "is not a rotation (orthonormal, determinant 1)");
        }
        if (angles != nullptr) {
            const toml::table* a = angles->as_table();
            if (a == nullptr)
                return fail(angles, "orientation.angles", "is not a table of the six planes");
            std::array<double, 6> degrees{};
            for (int i = 0; i < 6; ++i) {
                const char* plane = RotationPlanes[kAnglePlaneOrder[i]].name;
                const toml::node* p = a->get(plane);
                if (p != nullptr &&
                    !real(p, std::string("orientation.angles.") + plane, degrees[i]))
                    return false;
            }
            if (m == nullptr) {
                std::array<double, 6> radians{};
                for (int i = 0; i < 6; ++i) radians[i] = degrees[i] / kDegreesPerRadian;
                scene.rotation = rotation_from_plane_angles(radians);
            }
        }
        if (const toml::node* n = at("orientation", "translation");
            n != nullptr && !reals(n, "orientation.translation", scene.translation))
            return false;
        warn_unknown(root);
        return true;
    }
};

// toml++ 3.3 asks its table of Unicode blanks about letters it meets in a
// file, and for U+00A1-U+0499, U+2C5E-U+2FFF, U+3001-U+3057 and
// U+FB26-U+FEFE that table reaches __builtin_unreachable(). Before toml++
// sees the text, each such letter is sheltered as one of U+E000 to U+EFFF,
// private letters the table answers for (1024 for each range), and every
// text read from the file is given its own letters back; a file that holds
// those private letters itself is refused.
constexpr char32_t kShelter = 0xE000;
constexpr char32_t kShelterEnd = 0xF000;
struct LetterRange {
    char32_t first, last;
};
constexpr LetterRange ShelteredLetters[] = {
    {0xA1, 0x499}, {0x2C5E, 0x2FFF}, {0x3001, 0x3057}, {0xFB26, 0xFEFE}};
constexpr char32_t kShelterPerRange = 0x400;

void append_utf8(std::string& out, char32_t c) {
    if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The letter at text[i] of a two- or three-byte sequence (overlong ones
// too, which a lax decoder might take); `length` 0 for anything else.
char32_t letter_at(const std::string& text, std::size_t i, std::size_t& length) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const auto follows = [&](std::size_t k) { return k < text.size() && (byte(k) & 0xC0) == 0x80; };
    length = 0;
    if ((byte(i) & 0xE0) == 0xC0 && follows(i + 1)) {
        length = 2;
        return static_cast<char32_t>(((byte(i) & 0x1F) << 6) | (byte(i + 1) & 0x3F));
    }
    if ((byte(i) & 0xF0) == 0xE0 && follows(i + 1) && follows(i + 2)) {
        length = 3;
        return static_cast<char32_t>(((byte(i) & 0x0F) << 12) | ((byte(i + 1) & 0x3F) << 6) |
                                     (byte(i + 2) & 0x3F));
    }
    return 0;
}

// The text toml++ may read; 0 in `refused_line`, or the line of a private
// letter of the shelter's.
std::string shelter_letters(const std::string& text, int& refused_line) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    int line = 1;
    refused_line = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == '\n') ++line;
        std::size_t length = 0;
        const char32_t c = letter_at(text, i, length);
        if (length == 0) {
            out += text[i++];
            continue;
        }
        if (c >= kShelter && c < kShelterEnd) {
            refused_line = line;
            return std::string();
        }
        bool sheltered = false;
        for (std::size_t k = 0; k < std::size(ShelteredLetters); ++k) {
            const LetterRange& r = ShelteredLetters[k];
            if (c >= r.first && c <= r.last) {
                append_utf8(out,
                            kShelter + static_cast<char32_t>(k) * kShelterPerRange + (c - r.first));
                sheltered = true;
            }
        }
        if (!sheltered) out.append(text, i, length);
        i += length;
    }
    return out;
}

std::string unshelter_letters(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 0;
        const char32_t c = letter_at(text, i, length);
        const std::size_t k = (c - kShelter) / kShelterPerRange;
        if (length == 3 && c >= kShelter && c < kShelterEnd && k < std::size(ShelteredLetters) &&
            ShelteredLetters[k].first + (c - kShelter) % kShelterPerRange <=
                ShelteredLetters[k].last) {
            append_utf8(out, ShelteredLetters[k].first + (c - kShelter) % kShelterPerRange);
            i += 3;
        } else {
            out += text[i++];
        }
    }
    return out;
}

}  // namespace

SceneRead parse_scene(const std::string& text, const std::string& name, Scene& scene,
                      SceneCheck check) {
    SceneRead result;
    Reader reader{name, result, scene};
    int refused_line = 0;
    const std::string sheltered = shelter_letters(text, refused_line);
    if (refused_line > 0) {
        result.error = one_line(name) + ":" + std::to_string(refused_line) +
                       ": a private-use letter (U+E000 to U+EFFF), which a scene never holds";
        return result;
    }
    try {
        const toml::table root = toml::parse(sheltered, name);
        if (!reader.read(root)) return result;
        std::string key;
        const std::string refused = check != nullptr ? check(reader.scene, key) : std::string();
        if (!refused.empty()) {
            reader.fail(toml::at_path(root, key).node(), key, refused);
            return result;
        }
    } catch (const toml::parse_error& e) {
        const auto& where = e.source().begin;
        result.error =
            one_line(name + ":" + std::to_string(where.line) + ": " + std::string(e.description()));
        return result;
    }
    scene = reader.scene;
    result.ok = true;
    return result;
}

SceneRead read_scene_file(const std::string& path, Scene& scene, SceneCheck check) {
    SceneRead result;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        result.error = one_line(path + ": " + std::strerror(errno));
        return result;
    }
    std::string text;
    char block[4096];
    std::size_t n = 0;
    while ((n = std::fread(block, 1, sizeof block, f)) > 0 && text.size() <= kLargestSceneFile)
        text.append(block, n);
    const bool failed = std::ferror(f) != 0;
    const int error = errno;
    std::fclose(f);
    if (failed) {
        result.error = one_line(path + ": " + std::strerror(error));
        return result;
    }
    if (text.size() > kLargestSceneFile) {
        result.error = one_line(path) + ": larger than a scene can be (" +
                       std::to_string(kLargestSceneFile) + " bytes)";
        return result;
    }
    return parse_scene(text, path, scene, check);
}

bool is_rotation(const Matrix4& m) {
    // A long run of steps leaves rounding of some 1e-13 (a million steps
    // not 1e-9); a matrix that is no rotation is off by far more.
    constexpr double kTolerance = 1e-6;
    for (double v : m)
        if (!std::isfinite(v)) return false;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double dot = 0;
            for (int k = 0; k < 4; ++k) dot += m[4 * i + k] * m[4 * j + k];
            if (std::fabs(dot - (i == j ? 1.0 : 0.0)) > kTolerance) return false;
        }
    // Orthonormal rows: the determinant is +1 or -1; a mirror is refused.
    double det = 0;
    for (int c = 0; c < 4; ++c) {
        double minor[9];
        int k = 0;
        for (int r = 1; r < 4; ++r)
            for (int cc = 0; cc < 4; ++cc)
                if (cc != c) minor[k++] = m[4 * r + cc];
        const double d3 = minor[0] * (minor[4] * minor[8] - minor[5] * minor[7]) -
                          minor[1] * (minor[3] * minor[8] - minor[5] * minor[6]) +
                          minor[2] * (minor[3] * minor[7] - minor[4] * minor[6]);
        det += ((c & 1) ? -1.0 : 1.0) * m[c] * d3;
    }
    return det > 0;
}

std::array<double, 6> plane_angles(const Matrix4& rotation) {
    // Givens rotations clear the columns below the diagonal in the order
    // of kAnglePlaneOrder; each leaves a non-negative diagonal entry, so
    // what is left is the identity and the product of the turns is R.
    Matrix4 b = rotation;
    std::array<double, 6> angles{};
    for (int i = 0; i < 6; ++i) {
        const RotationPlane& p = RotationPlanes[kAnglePlaneOrder[i]];
        const int column = p.first;
        const double theta = std::atan2(b[4 * p.second + column], b[4 * p.first + column]);
        angles[i] = theta;
        const double c = std::cos(theta), s = std::sin(theta);
        for (int k = 0; k < 4; ++k) {  // b <- P(theta)^T b
            const double top = b[4 * p.first + k], bottom = b[4 * p.second + k];
            b[4 * p.first + k] = c * top + s * bottom;
            b[4 * p.second + k] = -s * top + c * bottom;
        }
    }
    return angles;
}

Matrix4 rotation_from_plane_angles(const std::array<double, 6>& angles) {
    Matrix4 m = identity_matrix4();
    for (int i = 0; i < 6; ++i) {
        const RotationPlane& p = RotationPlanes[kAnglePlaneOrder[i]];
        const double c = std::cos(angles[i]), s = std::sin(angles[i]);
        for (int r = 0; r < 4; ++r) {  // m <- m * P(angle)
            const double a = m[4 * r + p.first], b = m[4 * r + p.second];
            m[4 * r + p.first] = c * a + s * b;
            m[4 * r + p.second] = -s * a + c * b;
        }
    }
    return m;
}

}  // namespace fourview
