// libFuzzer target: the command-line reader.
//
// The input is an argument list, the arguments separated by NUL bytes. It
// goes through parse_options as main hands it over: option parsing, GLUT's
// options taken out, every value checked, the options checked together.
// Nothing is drawn and nothing is written but the messages (the fuzzer is
// run with standard output and error closed: -close_fd_mask=3).
//
// What must hold: the outcome is one of the three; and what the reader
// accepts keeps each option's rule, so that nothing unchecked reaches the
// windows or the figures: sizes within their rules, the frames, the scale,
// the zoom and the infinity within theirs, every equation and range one the
// engine takes, ranges with MIN below MAX.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/options.h"
#include "expr/equation_entry.h"
#include "ui/settings.h"

namespace fourview {
namespace {

constexpr int kMostArguments = 64;

// Standard error as it was before libFuzzer closed it for the target: a
// fault is said there.
int fault_fd = 2;

[[noreturn]] void fault(const char* what, const std::vector<std::string>& args) {
    std::string line = std::string("options fault: ") + what + "\nargs:";
    for (const std::string& a : args) line += " [" + a + "]";
    line += "\n";
    if (write(fault_fd, line.data(), line.size()) < 0) std::abort();
    std::abort();
}

void check_accepted(const StartOptions& o, const std::vector<std::string>& args) {
    const FigureOptions& f = o.figures;
    if (f.width < 1 || f.height < 1 || f.width > 4096 || f.height > 4096)
        fault("--size outside each side 1 to 4096", args);
    if (o.window_size.given && !window_size_fits(o.window_size.value[0], o.window_size.value[1]))
        fault("--window-size outside its rule", args);
    if (o.geometry.sized && !window_size_fits(o.geometry.width, o.geometry.height))
        fault("-geometry's size outside the window's rule", args);
    if (o.geometry.placed && (o.geometry.x < 0 || o.geometry.y < 0)) fault("-geometry's place negative", args);
    if (f.frames < 1 || f.frames > 3600) fault("--frames outside 1 to 3600", args);
    if (f.turn_plane < 0 || f.turn_plane > 5) fault("--turn outside the six planes", args);
    if (!(f.scale_mm > 0) || !std::isfinite(f.scale_mm)) fault("--scale not a finite positive number", args);
    if (o.zoom.given && !zoom_allowed(o.zoom.value)) fault("--zoom outside its range", args);
    if (o.infinity.given && !(o.infinity.value > 0 && std::isfinite(o.infinity.value)))
        fault("--infinity not a finite positive number", args);
    if (o.hyperplane.given) {
        const auto& h = o.hyperplane.value;
        if (!usable_normal(h[0], h[1], h[2], h[3]) || !std::isfinite(h[4])) fault("--hyperplane unusable", args);
    }
    if (o.equations.given)
        for (const std::string& text : o.equations.value) {
            Expression e{};
            if (!compile_equation(e, text.c_str())) fault("an equation the engine refuses", args);
        }
    for (const auto* range : {&o.s_range, &o.t_range}) {
        if (!range->given) continue;
        double low = 0, high = 0;
        if (!constant_from_text(range->value[0].c_str(), "min", low) ||
            !constant_from_text(range->value[1].c_str(), "max", high))
            fault("a range bound the engine refuses", args);
        if (!usable_range(low, high)) fault("a range not finite or not rising", args);
    }
    for (unsigned char c : o.keys)
        if (c == 27 || c == 'l') fault("Esc or l accepted in --keys", args);
}

}  // namespace
}  // namespace fourview

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Before -close_fd_mask takes effect.
    const int fd = dup(2);
    if (fd >= 0) fourview::fault_fd = fd;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace fourview;
    std::vector<std::string> args{"fourview"};
    std::string current;
    for (size_t i = 0; i < size && args.size() < kMostArguments; ++i) {
        if (data[i] == 0) {
            args.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(data[i]);
        }
    }
    if (!current.empty() && args.size() < kMostArguments) args.push_back(current);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const std::vector<std::string> copy = args;  // getopt_long may permute argv

    StartOptions options;
    switch (parse_options(static_cast<int>(args.size()), argv.data(), options)) {
        case ParseOutcome::kRun: check_accepted(options, copy); break;
        case ParseOutcome::kExitOk:
        case ParseOutcome::kExitFailure:
        case ParseOutcome::kUsageError: break;
        default: fault("an outcome of no kind", copy);
    }
    return 0;
}
