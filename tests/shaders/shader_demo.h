// Small demo documents around Shaders.so (with Scaffold, Paint and Media), captured by the real player.
#pragma once

#include <gl_window.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// A ShaderQuad event; params are p0..p3.
std::string shader_quad(int32_t start, int32_t end, int32_t shader, int32_t channel0, int32_t channel1,
                        const std::vector<int32_t>& params, int32_t opacity = 255, int32_t blendSrc = 0,
                        int32_t blendDst = 0, int32_t renderTo = 0);
// scaffold_demo (Scaffold, Paint and Media) with Shaders.so declared too.
std::string shader_demo(int32_t runningTime, const std::vector<std::string>& tracks,
                        const std::vector<std::string>& texts);

using Files = std::vector<std::pair<std::string, std::string>>;
// A fresh folder for the test holding demo.xml and `files`.
std::string demo_folder(const std::string& name, const std::string& demo, const Files& files);
// Captures the demo in `folder` at 20 frames per second on a 320 x 240 window unless `extra` gives a
// --size (frame k shows demo time 50 k ms); the run's log goes to *log when given.
std::vector<Picture> capture_in(const std::string& folder, const std::vector<std::string>& extra = {},
                                std::string* log = nullptr);
// Whether each channel of a and b differs by at most `tolerance`.
bool near(uint32_t a, uint32_t b, int tolerance = 2);
