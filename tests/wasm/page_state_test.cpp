// The page's address: a view written and read back whole, bit for bit, and
// every malformed text refused with the state left as it was.
#include <gtest/gtest.h>

#include <string>

#include "app/app_state.h"
#include "geom4/transform.h"
#include "geom4/view.h"
#include "models/polychora.h"
#include "web/model_list.h"
#include "web/page_state.h"

namespace fourview {
namespace {

class PageState : public ::testing::Test {
protected:
    void SetUp() override {
        app = AppState{};
        reset_view_state();
    }
};

TEST_F(PageState, AViewReadsBackWhole) {
    const struct {
        ModelId model;
        int turn, plane_d, projection;
        double offset, zoom;
    } table[] = {
        {kModelHypercube, 0, 1, kProjectionPerspective, 0, 1},
        {kModelSixHundredCell, 7, 2, kProjectionStereographic, -0.35, 1.75},
        {kModelTorus, 11, 1, kProjectionParallel, 1e-9, 0.123456789012345},
        {kModelUserGraph, 4, -3, kProjectionPerspective, 2.5, 1e5},
    };
    for (const auto& row : table) {
        SetUp();
        app.model_id = row.model;
        app.hyperplane = {0.5, 0, 0, static_cast<double>(row.plane_d), 0.25};
        reset_transform();
        app.transform = multiply_matrix5(app.transform, step_matrix_for(row.turn, 33));
        app.projection_mode = row.projection;
        app.section_offset = row.offset;
        app.zoom = row.zoom;
        app.wireframe = 0;
        app.bold_line = 1;
        app.view_matrix = dragged_view(app.view_matrix, 17, -40);
        const AppState written = app;
        const std::string text = encode_page_state();
        SetUp();
        std::string error;
        ASSERT_TRUE(decode_page_state(text.c_str(), error)) << text << ": " << error;
        EXPECT_EQ(app.model_id, written.model_id) << text;
        EXPECT_EQ(app.transform, written.transform) << text;
        EXPECT_EQ(app.base_transform, written.base_transform) << text;
        EXPECT_EQ(app.view_matrix, written.view_matrix) << text;
        EXPECT_EQ(app.hyperplane, written.hyperplane) << text;
        EXPECT_EQ(app.section_offset, written.section_offset) << text;
        EXPECT_EQ(app.zoom, written.zoom) << text;
        EXPECT_EQ(app.projection_mode, written.projection_mode) << text;
        EXPECT_EQ(app.wireframe, 0);
        EXPECT_EQ(app.bold_line, 1);
        EXPECT_EQ(encode_page_state(), text);
    }
}

TEST_F(PageState, AMalformedTextChangesNothing) {
    const char* table[] = {
        "model=99",                  // no such model
        "model=13.5",                // not whole
        "model=",                    // no number
        "style=111",                 // too few digits
        "style=111211011",           // a digit that is no flag
        "projection=64",             // out of range
        "plane=0,0,0,0,1",           // a normal of 0
        "plane=1,2,3",               // too few
        "plane=1,2,3,4,5,6",         // too many
        "turn=1,2,nan",              // not a number
        "zoom=0",                    // out of range
        "zoom=1e400",                // not finite
        "offset=1x",                 // rubbish after the number
        "colour=red",                // an unknown key
        "model=13&&zoom=1",          // an empty part
        "model",                     // no value
        "model=12&zoom=2&view=1,0",  // the last part bad: nothing taken, not even the first
        "model=30&polytope=x9q",     // a symbol that does not read
        "polytope=",                 // no symbol
        "model=30&polytope=x4o3o3o&zoom=0",  // the polytope good, the rest not
    };
    for (const char* text : table) {
        SetUp();
        app.zoom = 0.5;
        const std::string before = encode_page_state();
        std::string error;
        EXPECT_FALSE(decode_page_state(text, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
        EXPECT_EQ(encode_page_state(), before) << text;
    }
}

// A uniform polychoron goes by its symbol, spaces as "_", and a link
// chooses it again; a refused one leaves the one before.
TEST_F(PageState, AUniformPolychoronReadsBack) {
    const struct {
        const char* chosen;
        const char* written;
    } table[] = {{"x4x3o3o", "polytope=x4x3o3o"}, {"x5o x8o", "polytope=x5o_x8o"}, {"snub 24-cell", "polytope=snub_24-cell"}};
    for (const auto& row : table) {
        SetUp();
        ASSERT_EQ(choose_uniform_polytope(row.chosen), "") << row.chosen;
        app.model_id = kModelUniform;
        const std::string text = encode_page_state();
        EXPECT_NE(text.find(row.written), std::string::npos) << text;
        ASSERT_EQ(choose_uniform_polytope("x3o3o3o"), "");
        SetUp();
        std::string error;
        ASSERT_TRUE(decode_page_state(text.c_str(), error)) << text << ": " << error;
        EXPECT_EQ(app.model_id, kModelUniform);
        EXPECT_EQ(encode_page_state(), text);
        EXPECT_FALSE(decode_page_state("model=30&polytope=x9q", error));
        EXPECT_EQ(encode_page_state(), text) << "a refused polytope keeps the one shown";
    }
    SetUp();
    std::string error;
    EXPECT_TRUE(decode_page_state("model=12", error)) << error;
    EXPECT_EQ(encode_page_state().find("polytope"), std::string::npos) << "only model 30 carries one";
}

TEST_F(PageState, ThePickerListsEveryModelOnce) {
    ModelId ids[64];
    const int n = model_list(ids, 64);
    const ModelId expected[] = {10, 11, 12, 13, 14, 15, 16, 17, 0, 1, 2, 3, 4, 5, 6, 7, 20};
    ASSERT_EQ(n, 17);
    for (int k = 0; k < n; ++k) EXPECT_EQ(ids[k], expected[k]) << k;
    EXPECT_EQ(model_list(ids, 3), 3);
}

}  // namespace
}  // namespace fourview
