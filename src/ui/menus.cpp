#include "ui/menus.h"

#include <GL/glut.h>

#include <cstdio>
#include <cstring>
#include <iterator>

#include "app/app_state.h"
#include "app/window_system.h"
#include "models/polychora.h"
#include "models/uniform.h"
#include "render/frame.h"
#include "ui/controller.h"
#include "ui/graph_slots.h"
#include "ui/input.h"
#include "ui/scene_menu.h"
#include "ui/values.h"

namespace fourview {

namespace {

constexpr int kOptionsEntries = 2 + kOptionEntryCount + 1;  // the last: Slice View
constexpr int kLabelSize = 32;  // the longest, "* Cross Section", has 15 characters
char option_labels[kOptionsEntries][kLabelSize];

struct ModelEntry {
    const char* label;
    ModelId model;
};
constexpr ModelEntry Models4[] = {
    {"Klein Bottle on Four Dimensions", kModelKleinBottle4d},
    {"Hyper Sphere", kModelHyperSphere},
    {"5 Cell Envelope", kModelFiveCell},
    {"Hypercube (8 Cell Envelope)", kModelHypercube},
    {"16 Cell Envelope", kModelSixteenCell},
    {"24 Cell Envelope", kModelTwentyFourCell},
    {"120 Cell Envelope", kModelHundredTwentyCell},
    {"600 Cell Envelope", kModelSixHundredCell},
};
constexpr ModelEntry Models3[] = {
    {"Cube", kModelCube},
    {"Cylinder", kModelCylinder},
    {"Moebius Strip", kModelMoebiusStrip},
    {"Sphere", kModelSphere},
    {"Torus", kModelTorus},
    {"Klein Bottle Part I", kModelKleinBottle1},
    {"Klein Bottle Part II", kModelKleinBottle2},
    {"Two Moebius Strips", kModelTwoMoebiusStrips},
};

constexpr int kNewEquations = 20;
constexpr int kFirstSlotEntry = 21;
constexpr int kSlotCount = 6;

void set_label(int entry, const char* text) {
    std::snprintf(option_labels[entry - 1], kLabelSize, "%s", text);
}

// freeglut ends the program on any menu change while a menu is up, and keys
// still reach the other windows then: such changes wait for it to close.
bool menu_up = false;
bool change_due[2] = {false, false};

}  // namespace

bool menu_change_allowed(MenuChange change) {
    const int k = static_cast<int>(change);
    change_due[k] = menu_up;
    return !menu_up;
}

void menu_status(int status, int, int) {
    menu_up = status == GLUT_MENU_IN_USE;
    if (menu_up) {
        // The menu takes the left button's release: a drag cannot end by it.
        app.dragging = 0;
        return;
    }
    if (change_due[static_cast<int>(MenuChange::option_labels)]) refresh_option_labels();
    if (change_due[static_cast<int>(MenuChange::graph_entries)]) rebuild_graph_menu();
}

bool option_is_on(int command) {
    if (command == 55) return app.mesh_resolution == 51;
    const int* flag = option_flag(command);
    return flag != nullptr && *flag == 1;
}

void compose_option_label(char* out, std::size_t size, const OptionEntry& entry) {
    std::snprintf(out, size, "%s%s", option_is_on(entry.command) ? "* " : "  ", entry.label);
}

const char* projection_menu_label(int projection_mode) {
    for (const ProjectionName& p : ProjectionNames)
        if (p.mode == projection_mode) return p.menu_label;
    return ProjectionNames[1].menu_label;
}

const char* slice_view_menu_label(int view) {
    return view == kViewSlice       ? "Slice View: Slice"
           : view == kViewSideBySide ? "Slice View: Side by Side"
                                     : "Slice View: Projection";
}

const char* options_menu_label(int entry) {
    return entry >= 1 && entry <= kOptionsEntries ? option_labels[entry - 1] : "";
}

void build_menus() {
    select_window(app.graph_window);

    // The slot entries get their labels from rebuild_graph_menu.
    app.graph_menu = glutCreateMenu(select_model);
    glutAddMenuEntry("NEW", kNewEquations);
    for (int k = 0; k < kSlotCount; ++k) glutAddMenuEntry("", kFirstSlotEntry + k);

    // The uniform polychora, a submenu per family, after the 4D models.
    int families[16] = {};
    int family_count = 0;
    const char* family_names[16] = {};
    for (int k = 0; k < kUniformCatalogueCount && family_count < 16; ++k) {
        const char* family = kUniformCatalogue[k].family;
        if (family_count > 0 && std::strcmp(family, family_names[family_count - 1]) == 0) continue;
        families[family_count] = glutCreateMenu(select_uniform);
        family_names[family_count++] = family;
        for (int j = k; j < kUniformCatalogueCount && std::strcmp(kUniformCatalogue[j].family, family) == 0; ++j)
            glutAddMenuEntry(kUniformCatalogue[j].name, j);
    }
    const int uniform_menu = glutCreateMenu(select_uniform);
    for (int f = 0; f < family_count; ++f) glutAddSubMenu(family_names[f], families[f]);

    app.models4_menu = glutCreateMenu(select_model);
    for (const ModelEntry& m : Models4) glutAddMenuEntry(m.label, m.model);
    glutAddSubMenu("Uniform Polychora", uniform_menu);
    app.models3_menu = glutCreateMenu(select_model);
    for (const ModelEntry& m : Models3) glutAddMenuEntry(m.label, m.model);

    app.rotation_menu = glutCreateMenu(select_rotation_mode);
    glutAddMenuEntry("Global Rotation", kRotationGlobal);
    glutAddMenuEntry("Local Rotation", kRotationLocal);
    app.projection_menu = glutCreateMenu(select_projection);
    for (const ProjectionName& p : ProjectionNames) glutAddMenuEntry(p.menu_label, p.mode);

    app.options_menu = glutCreateMenu(execute_command);
    glutAddSubMenu("Global Rotation", app.rotation_menu);
    glutAddSubMenu(projection_menu_label(kProjectionParallel), app.projection_menu);
    for (const OptionEntry& o : OptionEntries) glutAddMenuEntry(o.label, o.command);
    glutAddMenuEntry("Slice View", kCommandSliceView);
    refresh_option_labels();

    app.main_menu = glutCreateMenu(execute_command);
    glutAddMenuEntry("Reset", 99);
    glutAddSubMenu("4R Izure", app.graph_menu);
    glutAddSubMenu("4D Models", app.models4_menu);
    glutAddSubMenu("3D Models", app.models3_menu);
    glutAddSubMenu("Options", app.options_menu);
    glutAddMenuEntry("Quit", 100);
    glutAddMenuEntry("Save Scene", kCommandSaveScene);
    glutAddMenuEntry("Load Scene", kCommandLoadScene);
    glutAttachMenu(GLUT_RIGHT_BUTTON);
    glutMenuStatusFunc(menu_status);
}

void refresh_option_labels() {
    if (app.options_menu == 0) return;  // before the menus exist
    if (!menu_change_allowed(MenuChange::option_labels)) return;
    const int previous = glutGetMenu();
    glutSetMenu(app.options_menu);
    set_label(1, rotation_mode_label(app.rotation_mode));
    glutChangeToSubMenu(1, options_menu_label(1), app.rotation_menu);
    set_label(2, projection_menu_label(app.projection_mode));
    glutChangeToSubMenu(2, options_menu_label(2), app.projection_menu);
    for (int i = 0; i < kOptionEntryCount; ++i) {
        compose_option_label(option_labels[2 + i], kLabelSize, OptionEntries[i]);
        glutChangeToMenuEntry(3 + i, option_labels[2 + i], OptionEntries[i].command);
    }
    const int slice_entry = 3 + kOptionEntryCount;
    set_label(slice_entry, slice_view_menu_label(app.slice_view));
    glutChangeToMenuEntry(slice_entry, options_menu_label(slice_entry), kCommandSliceView);
    if (previous != 0) glutSetMenu(previous);
}

void select_model(int value) {
    ModelId model = value;
    if (value == kNewEquations) {
        // A dialogue cut short by the end of the console input stored
        // nothing: the picture stays what it was.
        if (!console_input_gone()) show_console_notice();
        if (!enter_new_equations()) {
            select_window(app.graph_window);
            post_redisplay();  // without the notice
            return;
        }
        rebuild_graph_menu();
        model = kModelUserGraph;
    } else if (value >= kFirstSlotEntry && value < kFirstSlotEntry + kSlotCount) {
        const int slot = value - kFirstSlotEntry;
        if (!graph_slot_filled(slot)) return;  // an empty entry changes nothing at all
        bring_slot_to_front(slot);
        model = kModelUserGraph;
    }
    // Keep the zoom relative to each model's own default.
    app.zoom = app.zoom * default_zoom(model) / default_zoom(app.model_id);
    refresh_value_field(89, value_zoom_row);
    apply_projection();
    app.model_id = model;
    select_window(app.graph_window);
    post_redisplay();
}

void select_uniform(int value) {
    if (value < 0 || value >= kUniformCatalogueCount) return;
    if (!choose_uniform_polytope(kUniformCatalogue[value].symbol).empty()) return;
    select_model(kModelUniform);
}

int menu_model_count() {
    return static_cast<int>(std::size(Models4) + std::size(Models3));
}

ModelId menu_model(int index, const char** label) {
    const int count4 = static_cast<int>(std::size(Models4));
    const ModelEntry& m = index < count4 ? Models4[index] : Models3[index - count4];
    if (label != nullptr) *label = m.label;
    return m.model;
}

void select_rotation_mode(int value) {
    if (value != app.rotation_mode) execute_command(60);
}

void select_projection(int value) {
    if (value != app.projection_mode) execute_command(value);
}

}  // namespace fourview
