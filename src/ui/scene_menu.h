// "Save Scene" and "Load Scene" of the graph window's menu.
#pragma once

#include <cstddef>

namespace fourview {

// The menu entries' command codes, after Quit's 100.
constexpr int kCommandSaveScene = 101;
constexpr int kCommandLoadScene = 102;

// The folder captures go to: "PPM_P6" until the first capture has entered
// it, "." after.
extern const char* const kCaptureFolder;

// Writes the view in force as the next free "SCENE_nnnn.toml" where the
// captures go (numbered as Save Screen numbers its frames), never over an
// existing file; says where on standard output, or why not on standard
// error. True when written; `written` (if not null) gets the path.
bool save_scene_in_capture_folder(char* written, std::size_t size);

// Asks on the console for a scene file and loads it; a refused file
// changes nothing and one line says why.
void load_scene_dialogue();

// "SCENE_0000.toml" for 0 up to "SCENE_9999.toml".
void scene_file_name(char* out, std::size_t size, int number);

}  // namespace fourview
