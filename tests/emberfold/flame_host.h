// The stand-in player (tests/support/stand_in_host.h) around Emberfold: one '3DWR' group and optional
// 'TXTR' textures served under their names, and helpers that write flame description files.
#pragma once

#include "stand_in_host.h"

#include <map>
#include <string>
#include <vector>

#include "scene/group_node3d.h"

class FlameHost : public StandInHost
{
public:
    FlameHost();  // becomes the current host and runs Vortel_Init
    ~FlameHost(); // runs Vortel_Quit

    // Some log entry is exactly `line` ended by its line break.
    bool logged(const std::string& line) const;

    GroupNode3D group;                     // served as '3DWR' "flames", text 0 (the words' default)
    std::map<std::string, void*> textures; // served as 'TXTR'
    int textureHolds = 0;                  // texture acquisitions not released yet

    static FlameHost* current;
};

// One event on one track, called phase by phase.
struct Event {
    StateStruct state{};
    void* slot = nullptr;

    template <class Fn, class... Words> bool call(int32_t phase, Fn fn, Words... words)
    {
        state.phase = phase;
        state.status = 0;
        return fn(&state, &slot, int32_t(words)...);
    }
};

// Writes a file (in the test's working folder) and returns its name.
// Tests of one binary run side by side in one folder: each test writes files of names of its own.
std::string write_file(const std::string& name, const std::string& text);

// One transform as the description file writes it: scale, skew, rotation, translation, colour, weight and
// 50 variation weights (linear 1 unless given).
struct TransformText {
    float scale[3] = {0.5f, 0.5f, 0.5f};
    float skew[3] = {0, 0, 0};
    float rotation[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    float translation[3] = {0, 0, 0};
    float colour = 0;
    float weight = 1;
    float variations[50] = {1};
    std::string str() const;
};

// A whole description file: count-first when extension < 0, else "0 extension count" and, when
// extension > 0, the symmetry at the end. Palette stops as (position, signed colour).
std::string description_text(const std::vector<TransformText>& transforms,
                             const std::vector<std::pair<float, int32_t>>& palette, int extension = -1,
                             int symmetry = 0);

// The Sierpinski-like triangle of three maps used by several tests: scale 0.5, corners on a circle.
std::vector<TransformText> triangle_transforms();

// ShowFlame's 22 words with the defaults the tests start from.
struct ShowFlameWords {
    int32_t name = 0, x = 0, y = 0, z = -8000, qx = 0, qy = 0, qz = 0, qw = 10000, points = 20000,
            pointsFlag = 1, buffer = 0, colourMode = 0, time = 0, alpha = 255, scale = 100000, largest = 50,
            smallest = 20, batches = 1, group = 0, cross = 0, texture = -1, blend = 0;
};
bool call_show_flame(Event& event, int32_t phase, const ShowFlameWords& w);
