// The checks a scene passes before it may touch the program: the same ones
// the values window's dialogues, the equation dialogue and the command line
// make, so that no file can bring about a state the program would refuse.
// No GL: the fuzz target of the scene reader runs them.
#pragma once

#include <string>

#include "scene/scene.h"

namespace fourview {

// A SceneCheck (scene/scene.h): "" when `scene` passes, else the reason and
// the refused `key`. Works out a range given only as text.
std::string scene_refusal(Scene& scene, std::string& key);

}  // namespace fourview
