// Scenes in and out of the running program: the state record as a scene,
// and a checked scene made the state, with the windows, menus and buttons
// following as if the user had set each value by hand.
#pragma once

#include <string>

#include "scene/scene.h"

namespace fourview {

// The view in force. The user graph's current set is included whatever the
// model, so that a scene switched to the graph later still has it.
Scene scene_from_app();

// Makes `scene` (read and checked: scene_refusal) the view in force. The
// equations become the current set, as if entered under "NEW", unless they
// are the current set already; a scene without equations leaves the sets.
void apply_scene(const Scene& scene);

// Reads, checks and applies a scene file. False, with `error` the one line
// naming the file, the line and the key, when the file is refused: nothing
// has changed then. Warnings (unknown keys) go to standard error.
bool load_scene_file(const std::string& path, std::string& error);

}  // namespace fourview
