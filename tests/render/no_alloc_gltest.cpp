// No graph frame allocates from the heap: every model, every style, with a
// rotation step in the frame. The global allocation functions of this test
// executable count their calls while a frame is watched.
#include <GL/freeglut.h>

#include <cstdlib>
#include <new>

#include "app/app_state.h"
#include "gl_fixture.h"
#include "models/polychora.h"
#include "render/frame.h"

namespace {
bool watching = false;
long allocations = 0;

void* allocate(std::size_t size) {
    if (watching) ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (watching) ++allocations;
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (watching) ++allocations;
    return std::malloc(size == 0 ? 1 : size);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace fourview {
namespace {

// The allocations of three frames, a rotation step in each, after three
// more: the first use of anything (the sphere quadric, llvmpipe's shader
// variants for each state the steps reach) stays outside the count.
long allocations_of_frames() {
    for (int step : {7, 10, 0}) {
        app.rotation_request = step;
        display_graph();
    }
    watching = true;
    allocations = 0;
    for (int step : {7, 10, 0}) {
        app.rotation_request = step;
        display_graph();
    }
    watching = false;
    return allocations;
}

TEST(NoAllocation, TheCounterSeesAnAllocation) {
    watching = true;
    allocations = 0;
    int* p = new int(3);
    watching = false;
    delete p;
    EXPECT_EQ(allocations, 1);
}

TEST(NoAllocation, GraphFramesAllocateNothing) {
    testing::start_program();
    const ModelId models[] = {0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 13, 14, 15, 16, 17, 20, 99};
    // Plain, then stereographic and coloured by w, then stereographic alone.
    for (int curved : {0, 1, 2})
    for (int bold : {0, 1})
        for (ModelId model : models) {
            // The curved drawing of a few models of each kind, to keep it quick.
            if (curved > 0 && model != 0 && model != 3 && model != 11 && model != 13 &&
                model != 16 && model != 20)
                continue;
            app.projection_mode = curved > 0 ? kProjectionStereographic : kProjectionPerspective;
            app.colour_by_w = curved == 1 ? 1 : 0;
            app.model_id = model;
            app.cross_section = 1;
            app.bold_line = bold;
            EXPECT_EQ(allocations_of_frames(), 0) << "model " << model << ", bold " << bold << ", curved " << curved;
        }
}

// The uniform polychora: once one is built (outside the count), its frames
// allocate nothing in any style, the first frame after it grows the
// drawing's tables included in the warm-up.
TEST(NoAllocation, UniformPolychoronFramesAllocateNothing) {
    testing::start_program();
    for (const char* polytope : {"grand antiprism", "x3o x8o", "x4x3o3o", "snub dodecahedral prism", "o5o3x3o"}) {
        ASSERT_EQ(choose_uniform_polytope(polytope), "");
        for (int curved : {0, 1, 2})
            for (int bold : {0, 1}) {
                app.projection_mode = curved > 0 ? kProjectionStereographic : kProjectionPerspective;
                app.colour_by_w = curved == 1 ? 1 : 0;
                app.model_id = kModelUniform;
                app.solid = app.transparent = app.wireframe = app.cross_section = 1;
                app.bold_line = bold;
                EXPECT_EQ(allocations_of_frames(), 0) << polytope << ", bold " << bold << ", curved " << curved;
            }
    }
}

// The slice view, alone and beside the projection: its tables have room
// for the largest slice from the first frame of a polytope on.
TEST(NoAllocation, SliceViewFramesAllocateNothing) {
    testing::start_program();
    ASSERT_EQ(choose_uniform_polytope("x4x3o3o"), "");
    const ModelId models[] = {3, 10, 11, 12, 13, 15, 16, 17, 20, kModelUniform};
    for (int view : {kViewSlice, kViewSideBySide})
        for (int bold : {0, 1})
            for (ModelId model : models) {
                app.slice_view = view;
                app.model_id = model;
                app.bold_line = bold;
                for (int step : {7, 10, 0}) {
                    app.rotation_request = step;
                    display_graph();
                }
                watching = true;
                allocations = 0;
                for (int step : {9, 11, 8, 0}) {
                    app.rotation_request = step;
                    display_graph();
                }
                watching = false;
                EXPECT_EQ(allocations, 0) << "model " << model << ", bold " << bold << ", view " << view;
            }
    app.slice_view = kViewProjection;
}

}  // namespace
}  // namespace fourview
