// libFuzzer target: every console dialogue fed arbitrary bytes that then end.
//
// The first byte chooses the dialogue: read_equation_line, ask_expression,
// ask_constant, the "NEW" dialogue of the equation sets, or one of the
// values window's "Change" dialogues, through ask_setting (the console half,
// whose answer says whether the dialogue finished) or through edit_setting
// (the whole button, with the refresh of the line, the window size, the
// view reset and the redraw). The rest of the input is the console. The
// dialogue is run again and again until the console has ended; each run must
// read something, so a dialogue that loops without reading is caught.
//
// What must hold:
//   - a finished dialogue stores only what it asks for, and only what it
//     accepts: lines of at most 200 characters, programs of 1 to 100 tokens
//     that evaluate without a message, x(s,t) and y(s,t) without x or y,
//     window sizes of 1 to 32767, finite ranges with low < high, a positive
//     finite infinity and zoom, a usable hyperplane with a finite view;
//   - a dialogue that the end of input cut short leaves every value as it was
//     (for "NEW", the six stored sets as they were);
//   - once the input has ended, every dialogue returns at once without a
//     prompt or a change, and standard error holds exactly one line saying so.

#include <fuzzer/FuzzedDataProvider.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/app_state.h"
#include "expr/console.h"
#include "expr/equation_entry.h"
#include "expr/evaluator.h"
#include "expr/graph_slots.h"
#include "headless_glut.h"
#include "ui/settings.h"
#include "ui/values.h"

namespace fourview {
namespace {

// Standard output and standard error of the dialogues go to in-memory files.
int out_fd = -1;
int err_fd = -1;
std::FILE* real_stderr = nullptr;  // for this target's own fault reports

long file_size(std::FILE* stream, int fd) {
    std::fflush(stream);
    struct stat st;
    if (fstat(fd, &st) != 0) std::abort();
    return static_cast<long>(st.st_size);
}

void empty_file(std::FILE* stream, int fd) {
    std::fflush(stream);
    if (ftruncate(fd, 0) != 0 || lseek(fd, 0, SEEK_SET) != 0) std::abort();
}

int err_lines() {
    std::fflush(stderr);
    char buffer[4096];
    const ssize_t n = pread(err_fd, buffer, sizeof buffer, 0);
    int lines = 0;
    for (ssize_t i = 0; i < n; ++i) lines += buffer[i] == '\n';
    return lines;
}

[[noreturn]] void fault(const char* what) {
    std::fflush(stdout);
    std::fprintf(real_stderr, "dialogue fault: %s\n", what);
    std::fflush(real_stderr);
    std::abort();
}

// The settings a "Change" dialogue may write.
struct Settings {
    int window_width, window_height;
    double s_min, s_max, t_min, t_max;
    char s_min_text[kRangeTextSize], s_max_text[kRangeTextSize];
    char t_min_text[kRangeTextSize], t_max_text[kRangeTextSize];
    double infinity;
    Point4 center;
    int rotation_angle;
    std::array<double, 5> hyperplane;
    double section_offset, zoom;
};

Settings settings_now() {
    Settings s{};
    s.window_width = app.window_width;
    s.window_height = app.window_height;
    s.s_min = app.s_min;
    s.s_max = app.s_max;
    s.t_min = app.t_min;
    s.t_max = app.t_max;
    std::memcpy(s.s_min_text, app.s_min_text, kRangeTextSize);
    std::memcpy(s.s_max_text, app.s_max_text, kRangeTextSize);
    std::memcpy(s.t_min_text, app.t_min_text, kRangeTextSize);
    std::memcpy(s.t_max_text, app.t_max_text, kRangeTextSize);
    s.infinity = app.infinity;
    s.center = app.graph_center;
    s.rotation_angle = app.rotation_angle;
    s.hyperplane = app.hyperplane;
    s.section_offset = app.section_offset;
    s.zoom = app.zoom;
    return s;
}

// Same bits: a NaN stored again is no change.
bool same(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Which groups of settings differ between a and b.
enum Group : unsigned {
    kWindow = 1, kSRange = 2, kTRange = 4, kInfinity = 8, kCenter = 16, kAngle = 32,
    kPlane = 64, kOffset = 128, kZoom = 256,
};
unsigned changed_groups(const Settings& a, const Settings& b) {
    unsigned g = 0;
    if (a.window_width != b.window_width || a.window_height != b.window_height) g |= kWindow;
    if (!same(a.s_min, b.s_min) || !same(a.s_max, b.s_max) ||
        std::strcmp(a.s_min_text, b.s_min_text) != 0 || std::strcmp(a.s_max_text, b.s_max_text) != 0)
        g |= kSRange;
    if (!same(a.t_min, b.t_min) || !same(a.t_max, b.t_max) ||
        std::strcmp(a.t_min_text, b.t_min_text) != 0 || std::strcmp(a.t_max_text, b.t_max_text) != 0)
        g |= kTRange;
    if (!same(a.infinity, b.infinity)) g |= kInfinity;
    if (!same(a.center.x, b.center.x) || !same(a.center.y, b.center.y) || !same(a.center.z, b.center.z) ||
        !same(a.center.w, b.center.w))
        g |= kCenter;
    if (a.rotation_angle != b.rotation_angle) g |= kAngle;
    for (int i = 0; i < 5; ++i)
        if (!same(a.hyperplane[i], b.hyperplane[i])) g |= kPlane;
    if (!same(a.section_offset, b.section_offset)) g |= kOffset;
    if (!same(a.zoom, b.zoom)) g |= kZoom;
    return g;
}

// The groups that the dialogue of `code` may change when it finishes.
unsigned groups_of(int code) {
    switch (code) {
        case 92: return kWindow;
        case 81: return kSRange;
        case 82: return kTRange;
        case 80: return kInfinity;
        case 83: return kCenter;
        case 84: return kAngle;
        case 85: return kPlane | kOffset | kZoom;  // then the view is reset
        case 88: return kOffset;
        case 89: return kZoom;
        default: return 0;
    }
}

void check_text(const char* text, std::size_t size) {
    if (strnlen(text, size) >= size) fault("a stored text without its end");
}

void check_settings(const Settings& s) {
    check_text(s.s_min_text, kRangeTextSize);
    check_text(s.s_max_text, kRangeTextSize);
    check_text(s.t_min_text, kRangeTextSize);
    check_text(s.t_max_text, kRangeTextSize);
    if (s.window_width < 1 || s.window_width > 32767 || s.window_height < 1 || s.window_height > 32767)
        fault("window size out of range");
    if (!usable_range(s.s_min, s.s_max) || !usable_range(s.t_min, s.t_max)) fault("unusable range");
    if (!(s.infinity > 0.0) || !std::isfinite(s.infinity)) fault("infinity not positive and finite");
    if (!std::isfinite(s.center.x) || !std::isfinite(s.center.y) || !std::isfinite(s.center.z) ||
        !std::isfinite(s.center.w))
        fault("centre not finite");
    if (!usable_normal(s.hyperplane[0], s.hyperplane[1], s.hyperplane[2], s.hyperplane[3]) ||
        !std::isfinite(s.hyperplane[4]))
        fault("unusable hyperplane");
    for (double v : app.transform)
        if (!std::isfinite(v)) fault("the view's transform is not finite");
    if (!(s.zoom > 0.0) || !std::isfinite(s.zoom)) fault("zoom not positive and finite");
}

void check_value_fields() {
    for (const ButtonPanel& f : value_fields) check_text(f.text, kButtonTextSize);
}

// A stored program must run to one value without a message.
void check_program(const Expression& e) {
    if (e.count < 1 || e.count > EXPRESSION_TOKENS) fault("program length out of range");
    check_text(e.text, sizeof e.text);
    const long before = file_size(stdout, out_fd);
    evaluate_expression(0.5, -1.25, 2.0, 3.0, e.program, e.count);
    if (file_size(stdout, out_fd) != before) fault("a stored program does not evaluate");
}

bool names(const Expression& e, std::int32_t kind) {
    for (int i = 0; i < e.count; ++i)
        if (e.program[i].kind == kind) return true;
    return false;
}

bool same_expression(const Expression& a, const Expression& b) {
    if (a.count != b.count || std::strcmp(a.text, b.text) != 0) return false;
    for (int i = 0; i < a.count; ++i)
        if (a.program[i].kind != b.program[i].kind || !same(a.program[i].value, b.program[i].value))
            return false;
    return true;
}

bool same_slot(const GraphSlot& a, const GraphSlot& b) {
    for (int k = 0; k < kEquationsPerSet; ++k)
        if (!same_expression(a.equation[k], b.equation[k])) return false;
    return true;
}

GraphSlot slots_before[kGraphSlotCount];

void save_slots() {
    for (int k = 0; k < kGraphSlotCount; ++k) copy_graph_slot(graph_slots[k], slots_before[k]);
}

enum Dialogue { kLine, kExpression, kConstant, kNewSet, kAskSetting, kEditSetting, kDialogues };
constexpr int SettingCodes[] = {92, 81, 82, 80, 83, 84, 85, 88, 89};
// The values-window button of each code ("*" is button 10).
constexpr int SettingButtons[] = {0, 1, 2, 3, 4, 5, 6, 10, 7};

// Runs the dialogue once. `finished` tells whether it was answered.
void run(Dialogue d, int code, int button, bool& finished) {
    switch (d) {
        case kLine: {
            char buffer[EXPRESSION_TEXT_LENGTH + 1];
            std::memset(buffer, '#', sizeof buffer);
            const int n = read_equation_line(buffer);
            finished = n >= 0;
            if (n < -1 || n > EXPRESSION_TEXT_LENGTH) fault("line length out of range");
            // A NUL byte typed on the console ends the text early but counts.
            if (n >= 0 && (buffer[n] != '\0' || strnlen(buffer, sizeof buffer) > static_cast<std::size_t>(n)))
                fault("line length differs from the text");
            if (n > 0 && std::strchr(buffer, '\n') != nullptr) fault("a newline in the line");
            return;
        }
        case kExpression: {
            Expression e;
            std::memset(&e, 0x5a, sizeof e);
            Expression untouched = e;
            finished = ask_expression(e, "x(s,t)");
            if (finished)
                check_program(e);
            else if (std::memcmp(&e, &untouched, sizeof e) != 0)
                fault("an ended ask_expression wrote the expression");
            return;
        }
        case kConstant: {
            double value = 12345.0;
            char text[EXPRESSION_TEXT_LENGTH + 1];
            std::strcpy(text, "previous");
            finished = ask_constant(value, text, "s_min");
            check_text(text, sizeof text);
            if (!finished && (value != 12345.0 || std::strcmp(text, "previous") != 0))
                fault("an ended ask_constant wrote its value or text");
            return;
        }
        case kNewSet: {
            save_slots();
            finished = enter_new_equations();
            if (!finished) {
                for (int k = 0; k < kGraphSlotCount; ++k)
                    if (!same_slot(graph_slots[k], slots_before[k])) fault("an ended NEW changed the sets");
                return;
            }
            for (const Expression& e : graph_slots[0].equation) check_program(e);
            for (int k : {kEquationX, kEquationY})
                if (names(graph_slots[0].equation[k], TOKEN_X) || names(graph_slots[0].equation[k], TOKEN_Y))
                    fault("x(s,t) or y(s,t) names x or y");
            for (int k = 1; k < kGraphSlotCount; ++k)
                if (!same_slot(graph_slots[k], slots_before[k - 1])) fault("NEW did not move the sets down");
            return;
        }
        case kAskSetting:
        case kEditSetting: {
            const Settings before = settings_now();
            headless::reset_counts();
            if (d == kAskSetting) {
                finished = ask_setting(code);
            } else {
                app.frame_changed = 0;
                edit_setting(code, button);
                if (app.frame_changed != 1 || headless::redisplays == 0)
                    fault("edit_setting did not have the graph redrawn");
                finished = changed_groups(before, settings_now()) != 0;
            }
            const Settings after = settings_now();
            const unsigned changed = changed_groups(before, after);
            if ((changed & ~groups_of(code)) != 0) fault("a dialogue changed a setting it does not ask for");
            if (!finished && changed != 0) fault("an unfinished dialogue changed a setting");
            check_settings(after);
            check_value_fields();
            if (d == kEditSetting && code == 92 && changed != 0 &&
                (headless::reshapes != 1 || headless::last_reshape_width != after.window_width ||
                 headless::last_reshape_height != after.window_height))
                fault("the graph window was not given the new size");
            return;
        }
        default:
            return;
    }
}

void fresh_state() {
    app = AppState{};
    const double pi = 3.141592653589793;
    app.s_min = app.t_min = -pi;
    app.s_max = app.t_max = pi;
    std::snprintf(app.s_min_text, kRangeTextSize, "%f", app.s_min);
    std::snprintf(app.s_max_text, kRangeTextSize, "%f", app.s_max);
    std::snprintf(app.t_min_text, kRangeTextSize, "%f", app.t_min);
    std::snprintf(app.t_max_text, kRangeTextSize, "%f", app.t_max);
    app.zoom = default_zoom(app.model_id);
    setup_value_fields();
    clear_graph_slots();
    fill_default_sets(0);
}

}  // namespace
}  // namespace fourview

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    console_set_encoding(ConsoleEncoding::utf8);
    fourview::out_fd = memfd_create("dialogue-stdout", 0);
    if (fourview::out_fd < 0 || dup2(fourview::out_fd, 1) < 0) std::abort();
    fourview::out_fd = 1;
    // The dialogues write to the stream stderr; libFuzzer and the sanitizers
    // keep the real standard error, which they took before this.
    fourview::err_fd = memfd_create("dialogue-stderr", 0);
    std::FILE* err = fdopen(fourview::err_fd, "w");
    fourview::real_stderr = fdopen(dup(2), "w");
    if (err == nullptr || fourview::real_stderr == nullptr) std::abort();
    stderr = err;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fourview;
    if (size < 1) return 0;
    const Dialogue d = static_cast<Dialogue>(data[0] % kDialogues);
    const int setting = (data[0] / kDialogues) % (sizeof SettingCodes / sizeof SettingCodes[0]);
    const int code = SettingCodes[setting], button = SettingButtons[setting];

    fresh_state();
    empty_file(stdout, out_fd);
    empty_file(stderr, err_fd);
    // The console: the rest of the input, then its end.
    std::vector<char> answers(data + 1, data + size);
    answers.push_back('\0');  // fmemopen needs room; the stream ends before it
    std::FILE* console = size > 1 ? fmemopen(answers.data(), size - 1, "r") : std::fopen("/dev/null", "r");
    if (console == nullptr) std::abort();
    set_console_input(console);

    const bool reads = !((d == kAskSetting || d == kEditSetting) && code == 88);
    std::size_t runs = 0;
    bool finished = false;
    do {
        // Every finished run reads at least one byte (a newline).
        if (++runs > size + 1) fault("a dialogue goes on without reading");
        run(d, code, button, finished);
    } while (reads && !console_input_ended());

    if (reads) {
        // Ended: once more, at once, with no prompt and no change.
        const Settings s = settings_now();
        save_slots();
        const long out = file_size(stdout, out_fd);
        run(d, code, button, finished);
        if (finished) fault("a dialogue was answered after the input ended");
        if (file_size(stdout, out_fd) != out) fault("a dialogue prompted after the input ended");
        if (changed_groups(s, settings_now()) != 0) fault("a dialogue changed a setting after the input ended");
        for (int k = 0; k < kGraphSlotCount; ++k)
            if (!same_slot(graph_slots[k], slots_before[k])) fault("the sets changed after the input ended");
        if (err_lines() != 1) fault("not exactly one line on standard error for the end of input");
    }
    set_console_input(nullptr);
    std::fclose(console);
    return 0;
}
