// Saving the graph window's frames as numbered binary PPM files.
#pragma once

namespace fourview {

// Called by the frame with the back buffer holding the finished picture.
void capture_frame();

}  // namespace fourview
