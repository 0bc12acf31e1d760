// What ShaderQuad and ShaderPost keep from an event's first call to its last: the shader file, its
// program, the event's frame count, and whether its trouble has been told.
//
// Contracts
//  - start() (first call) reads and builds the shader named by text `shaderIndex`. A missing file or a
//    shader that does not build gives one log line, "EFFECT: FILE: ..." with the compiler's messages, and
//    the event then draws nothing.
//  - frame() (running call) rebuilds the program when the file changed on disk (looked at no more often
//    than every 250 ms of SDL_GetTicks); a failed rebuild keeps the program that worked and logs its
//    messages once per change, a successful one logs "EFFECT: FILE: reloaded". It fills the time inputs
//    (from the fixed demo clock: localTime and startTime) and counts the frame. False when there is no
//    program to draw with.
#pragma once

#include <vortel/plugin.h>

#include "shader_file.h"
#include "shader_program.h"

namespace shaders
{

class ShaderEvent
{
public:
    explicit ShaderEvent(const char* effect) : effect_(effect) {}

    void start(int32_t shaderIndex);
    bool frame(const StateStruct* state, ShaderInputs& inputs);

    // Logs `message` under the effect's name, once per event.
    void tell_once(const char* message);

    const ShaderProgram& program() const { return program_; }

private:
    void build(const std::string& source, bool reload);

    const char* effect_;
    ShaderFile file_;
    ShaderProgram program_;
    int32_t frames_ = 0;
    int32_t previousTime_ = -1;
    bool told_ = false;
};

} // namespace shaders
