// One linked GL program made from a fragment shader file's text, and the uniforms the engine feeds it.
//
// Contracts
//  - build() compiles the text in its form (glsl/shader_source.h) with the pass-through vertex shader and
//    links both; on failure it keeps the program it had and returns the compiler's or linker's messages,
//    "FILE:LINE: message" joined with "; ", lines counted in the author's file.
//  - Uniform locations are looked up once per link: a uniform is set only when the program has it under
//    that name with the type below (anything else the shader declares keeps GL's default, 0).
//  - iChannel0 reads texture unit 0, iChannel1 unit 1 (set once, at link time).
//  - Needs GL 2.0 entry points (GLEW, initialised by the player) and the GL context current. Leaves no
//    program in use.
#pragma once

#include <cstdint>
#include <string>

namespace shaders
{

// What a program is given for one draw.
struct ShaderInputs {
    float width = 1, height = 1;    // the target, pixels
    float time = 0;                 // iTime, fGlobalTime: s since the event started
    float timeDelta = 0;            // iTimeDelta: s since the event's previous drawn frame
    float demoTime = 0;             // iDemoTime: s of demo time
    int32_t frame = 0;              // iFrame: frames drawn before this one
    float params[4] = {0, 0, 0, 0}; // iParams
    float opacity = 1;              // iOpacity, 0..1
    // fragCoord = (gl_FragCoord.x - x0, y0 + sy * gl_FragCoord.y): places the mainImage origin at the
    // bottom-left of the target whichever way its rows run.
    float x0 = 0, y0 = 0, sy = 1;
    float channelSize[2][2] = {{1, 1}, {1, 1}}; // iChannelResolution[0..1].xy
};

class ShaderProgram
{
public:
    ShaderProgram() = default;
    ~ShaderProgram();
    ShaderProgram(const ShaderProgram&) = delete;
    ShaderProgram& operator=(const ShaderProgram&) = delete;

    // Builds from `source` (the file's text); `file` names it in messages. True on success, else false with
    // the messages in `errors` and the previous program kept.
    bool build(const std::string& source, const std::string& file, std::string& errors);

    bool ready() const { return program_ != 0; }
    bool reads_channel(int channel) const { return locations_[kChannel0 + channel] >= 0; }

    // Makes the program current and uploads the inputs it reads; glUseProgram(0) undoes it.
    void use(const ShaderInputs& inputs) const;

private:
    enum Uniform {
        kResolution,
        kTime,
        kTimeDelta,
        kFrame,
        kFrameRate,
        kDemoTime,
        kParams,
        kOpacity,
        kChannelResolution,
        kSampleRate,
        kGlobalTime,
        kResolution2,
        kFrameMap,
        kChannel0,
        kChannel1,
        kUniformCount
    };
    void find_uniforms();

    uint32_t program_ = 0;
    int32_t locations_[kUniformCount] = {};
    int32_t channelResolutions_ = 0; // elements of iChannelResolution set: the program's array may be shorter
};

} // namespace shaders
