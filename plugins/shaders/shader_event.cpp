#include "shader_event.h"

#include <vortel/plugin_helper.h>

#include <SDL.h>

namespace shaders
{

void ShaderEvent::start(int32_t shaderIndex)
{
    const char* name = vortel::text(shaderIndex);
    if (!name) {
        vortel::log("%s: text %d names no shader file", effect_, int(shaderIndex));
        return;
    }
    std::string source, why;
    if (!file_.read(name, source, why)) {
        vortel::log("%s: the shader file '%s' %s", effect_, name, why.c_str());
        return;
    }
    build(source, false);
}

void ShaderEvent::build(const std::string& source, bool reload)
{
    std::string errors;
    if (program_.build(source, file_.name(), errors)) {
        if (reload)
            vortel::log("%s: %s: reloaded", effect_, file_.name().c_str());
        return;
    }
    vortel::log("%s: %s", effect_, errors.c_str());
}

bool ShaderEvent::frame(const StateStruct* state, ShaderInputs& inputs)
{
    if (file_.changed(SDL_GetTicks())) {
        std::string source, why;
        if (file_.read(file_.name().c_str(), source, why))
            build(source, true);
        else
            vortel::log("%s: the shader file '%s' %s", effect_, file_.name().c_str(), why.c_str());
    }
    if (!program_.ready())
        return false;
    const int32_t time = state->localTime;
    inputs.time = float(time) * 0.001f;
    inputs.timeDelta = previousTime_ < 0 ? 0.0f : float(time - previousTime_) * 0.001f;
    inputs.demoTime = float(int64_t(state->startTime) + time) * 0.001f;
    inputs.frame = frames_++;
    previousTime_ = time;
    return true;
}

void ShaderEvent::tell_once(const char* message)
{
    if (told_)
        return;
    told_ = true;
    vortel::log("%s: %s", effect_, message);
}

} // namespace shaders
