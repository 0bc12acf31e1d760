// What ShaderQuad and ShaderPost keep from an event's first call to its last: the shader it draws with
// (shared with every event naming the same file, shader_cache.h) and the event's frame count.
//
// Contracts
//  - start() (first call) takes the shader named by text `shaderIndex`. A missing file or a shader that
//    does not build gives the event one log line, "EFFECT: the shader file 'FILE' ..." or "EFFECT:
//    FILE:LINE: message; ..." with the compiler's messages, unless a running event already logged that
//    failure when it saw the file change.
//  - frame() (running call) rebuilds the shader when its file changed on disk, looked at no more often
//    than every 250 ms of SDL_GetTicks (any mode: nothing changes while capturing); a failed rebuild keeps
//    the program that worked and is logged once. It fills the time inputs (the demo clock: localTime and
//    startTime) and counts the frame. False when there is no program to draw with.
#pragma once

#include <vortel/plugin.h>

#include "shader_program.h"

namespace shaders
{

struct CachedShader;

class ShaderEvent
{
public:
    explicit ShaderEvent(const char* effect) : effect_(effect) {}

    void start(int32_t shaderIndex);
    bool frame(const StateStruct* state, ShaderInputs& inputs);
    // Only after frame() returned true.
    const ShaderProgram& program() const;

    // Logs `message` under the effect's name, once per event.
    void tell_once(const char* message);

private:
    const char* effect_;
    CachedShader* shader_ = nullptr;
    int32_t frames_ = 0;
    int32_t previousTime_ = -1;
    bool told_ = false;
};

} // namespace shaders
