#include "shader_cache.h"

#include <vortel/plugin_helper.h>

#include <map>
#include <memory>

namespace shaders
{

namespace
{

std::map<std::string, std::unique_ptr<CachedShader>> gShaders;

// Reads and builds; false (reasons kept) when either fails.
bool load(CachedShader& shader, const std::string& name)
{
    std::string source, why;
    shader.errors.clear();
    if (!shader.file.read(name.c_str(), source, why)) {
        shader.readError = why;
        return false;
    }
    shader.readError.clear();
    return shader.program.build(source, name, shader.errors);
}

} // namespace

void CachedShader::tell_failure(const char* effect) const
{
    if (!readError.empty())
        vortel::log("%s: the shader file '%s' %s", effect, file.name().c_str(), readError.c_str());
    else
        vortel::log("%s: %s", effect, errors.c_str());
}

void CachedShader::rebuild(const char* effect)
{
    toldByWatch = false;
    if (load(*this, file.name()))
        vortel::log("%s: %s: reloaded", effect, file.name().c_str());
}

CachedShader* shader_for(const char* name, const char* effect)
{
    if (!name)
        return nullptr;
    auto found = gShaders.find(name);
    if (found != gShaders.end()) {
        CachedShader& shader = *found->second;
        if (shader.file.changed_now())
            shader.rebuild(effect);
        return &shader;
    }
    auto shader = std::make_unique<CachedShader>();
    load(*shader, name);
    return gShaders.emplace(name, std::move(shader)).first->second.get();
}

void release_shaders()
{
    gShaders.clear();
}

} // namespace shaders
