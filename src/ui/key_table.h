// The keys of the graph window as plain tables: what each one asks for.
// Pure (no GL or GLUT), so that the desktop windows and the web page take
// the same keys from one place.
#pragma once

namespace fourview {

// Command codes: 50-59 option toggles, 60 rotation mode, 61 projection,
// 62 view direction, 63 stereographic, 65-67 a projection chosen by name,
// 99 reset, 100 quit.
//
// 61 switches between parallel and perspective, and from stereographic
// goes back to whichever of them was in force before; 63 ("p") turns
// stereographic on, or off again to that same one.
constexpr int kCommandStereographic = 63;
// 68 ("v", "Slice View") steps the view: projection, slice, side by side;
// 69 ("t") sweeps the cutting hyperplane through the model.
constexpr int kCommandSliceView = 68;
constexpr int kCommandSweep = 69;

// Keys that only ask for one rotation step; the next graph frame takes it.
struct RotationKey {
    unsigned char key;
    int request;
};
constexpr RotationKey RotationKeys[] = {
    {'3', 1}, {'c', 2}, {'1', 3}, {'z', 4}, {'2', 5}, {'x', 6},
    {'4', 7}, {'7', 8}, {'5', 9}, {'8', 10}, {'6', 11}, {'9', 12},
};

struct CommandKey {
    unsigned char key;
    int command;
};
constexpr CommandKey CommandKeys[] = {
    {27, 100}, {'a', 50}, {'s', 51}, {'d', 52}, {'f', 57}, {'g', 53}, {'h', 54},
    {'j', 55}, {'k', 56}, {'l', 58}, {';', 60}, {':', 61}, {']', 62},
    {'w', 59}, {'p', kCommandStereographic}, {'v', kCommandSliceView}, {'t', kCommandSweep},
};

// "n", "m", "b" land on a preset by stepping from the one before it.
struct PresetKey {
    unsigned char key;
    int previous_direction;
};
constexpr PresetKey PresetKeys[] = {{'n', 0}, {'m', 1}, {'b', 2}};

// The section offset's step under the arrow keys.
constexpr double kSectionStep = 0.05;

}  // namespace fourview
