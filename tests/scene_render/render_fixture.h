// A real GL window with a GL state cache made current, and a small scene to render into it: a root group
// holding a camera at the origin that looks down -z (frustum ±1 × ±1/aspect at near plane 1).
#pragma once

#include "gl_window.h"
#include "glstate.h"
#include "scene/camera3d.h"
#include "scene/group_node3d.h"
#include "scene/render_visitor.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

constexpr int kWidth = 256;
constexpr int kHeight = 192;

class RenderTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    // Traverses the root with a fresh visitor and renders it.
    Picture render(bool clear = true, bool flipVertical = false, int alpha = 255, int red = 0, int green = 0,
                   int blue = 0, bool ortho = false);
    // Writes the picture as <test name>.png in the test's working folder, to look at.
    void save(const Picture& picture, const std::string& suffix = "") const;

    static std::unique_ptr<GLWindow> window_;
    static std::unique_ptr<GLStateContext> cache_;

    GroupNode3D root;
    Camera3D camera{float(kWidth) / kHeight, 1.0f, 100.0f};
};

// Counts pixels whose colour is within `tolerance` of rgb on every channel.
int countPixels(const Picture& picture, uint32_t rgb, int tolerance = 2);
// Whether the pixel at (x, y) is within `tolerance` of rgb on every channel.
bool pixelIs(const Picture& picture, int x, int y, uint32_t rgb, int tolerance = 2);
