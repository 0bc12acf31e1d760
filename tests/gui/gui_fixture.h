// A 320 x 240 GL window set up the way the setup window draws (y downwards, clip on the whole window,
// default font size 16), plus helpers that push synthetic SDL mouse events and run one event pass.
#pragma once

#include "gl_window.h"
#include "glstate.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

class GUIPainter;

// Opens the test window, retrying when the X server refuses the connection.
std::unique_ptr<GLWindow> open_window(int width, int height);

class GuiFixture : public ::testing::Test
{
protected:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 240;

    void SetUp() override;
    void TearDown() override;

    // Pushes the events; nothing happens until Pump().
    static void Press(int x, int y, int button = 1);
    static void Release(int x, int y, int button = 1);
    static void Drag(int x, int y, int button = 1);
    static void PushQuit();
    // One event pass of the handler; returns the quit flag.
    static bool Pump();
    // Press and release in two passes, the way a person clicks.
    static void Click(int x, int y);

    static Picture Screen();
    // Saves the picture next to the test binary's working folder under `name`.png.
    static void Save(const Picture& picture, const std::string& name);

    std::unique_ptr<GLWindow> window_;
    std::unique_ptr<GLStateContext> context_;
    GUIPainter* painter_ = nullptr;
};

// Whether a pixel differs from black.
inline bool lit(const Picture& p, int x, int y)
{
    return (p.at(x, y) & 0xFFFFFF) != 0;
}
