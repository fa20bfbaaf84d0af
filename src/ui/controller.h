// The controller window: rotation buttons and option buttons.
#pragma once

namespace fourview {

void build_controller_panel();
void display_controller();
void reshape_controller(int width, int height);
void mouse_controller(int button, int state, int x, int y);
void motion_controller(int x, int y);

}  // namespace fourview
