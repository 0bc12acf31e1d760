#include "shader_event.h"

#include "shader_cache.h"

#include <vortel/plugin_helper.h>

#include <SDL.h>

namespace shaders
{

void ShaderEvent::start(int32_t shaderIndex)
{
    shader_ = shader_for(vortel::text(shaderIndex), effect_);
    if (!shader_)
        vortel::log("%s: text %d names no shader file", effect_, int(shaderIndex));
    else if (shader_->failed() && !shader_->toldByWatch)
        shader_->tell_failure(effect_);
}

bool ShaderEvent::frame(const StateStruct* state, ShaderInputs& inputs)
{
    if (!shader_)
        return false;
    if (shader_->file.changed(SDL_GetTicks())) {
        shader_->rebuild(effect_);
        if (shader_->failed()) {
            shader_->tell_failure(effect_);
            shader_->toldByWatch = true;
        }
    }
    if (!shader_->program.ready())
        return false;
    const int32_t time = state->localTime;
    inputs.time = float(time) * 0.001f;
    inputs.timeDelta = previousTime_ < 0 ? 0.0f : float(time - previousTime_) * 0.001f;
    inputs.demoTime = float(int64_t(state->startTime) + time) * 0.001f;
    inputs.frame = frames_++;
    previousTime_ = time;
    return true;
}

const ShaderProgram& ShaderEvent::program() const
{
    return shader_->program;
}

void ShaderEvent::tell_once(const char* message)
{
    if (told_)
        return;
    told_ = true;
    vortel::log("%s: %s", effect_, message);
}

} // namespace shaders
