// The offscreen surface on each EGL platform it may use: Mesa's surfaceless
// one, and a device's display where that is missing.
#include <gtest/gtest.h>
#include <GL/gl.h>

#include <string>
#include <vector>

#include "offscreen/egl_surface.h"

namespace fourview {
namespace {

TEST(Offscreen, EachPlatformDrawsAndReadsBack) {
    const struct {
        const char* name;
        OffscreenPlatform platform;
    } rows[] = {{"surfaceless", OffscreenPlatform::kSurfaceless},
                {"device", OffscreenPlatform::kDevice},
                {"any", OffscreenPlatform::kAny}};
    for (const auto& row : rows) {
        std::string error;
        ASSERT_EQ(open_offscreen(32, 16, error, row.platform), OffscreenResult::kReady) << row.name << ": " << error;
        glClearColor(1, 0.5f, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        std::vector<unsigned char> rgb(32 * 16 * 3);
        read_offscreen_pixels(32, 16, rgb.data());
        EXPECT_EQ(rgb[0], 255) << row.name;
        EXPECT_NEAR(rgb[1], 128, 1) << row.name;
        EXPECT_EQ(rgb[rgb.size() - 1], 0) << row.name;
        close_offscreen();
    }
}

}  // namespace
}  // namespace fourview
