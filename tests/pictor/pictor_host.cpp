#include "pictor_host.h"

#include "scene/texture.h"

#include <cstdio>

PictorHost* PictorHost::current = nullptr;

VORTEL_EXPORT bool Vortel_Init(SDL_Surface**, SDL_Surface**, ServicesStruct*);
VORTEL_EXPORT bool Vortel_Quit();

namespace
{

void host_log(const char* text)
{
    PictorHost::current->log.push_back(text);
}

const char* host_get_text(int32_t index)
{
    const auto& texts = PictorHost::current->texts;
    return index >= 0 && index < int32_t(texts.size()) ? texts[size_t(index)].c_str() : nullptr;
}

void* host_acquire(uint32_t type, int32_t index, void*, bool, const char* caller, const char* what,
                   bool* outFlag)
{
    PictorHost& host = *PictorHost::current;
    const char* name = host_get_text(index);
    host.callers.push_back(std::string(caller) + " " + what + " " + (name ? name : "?"));
    if (!name)
        return nullptr;
    auto found = host.served.find({type, name});
    if (found == host.served.end() || !found->second.record) {
        host.log.push_back(std::string(caller) + " could not find the " + what + " named " + name);
        return nullptr;
    }
    ++found->second.counts.acquires;
    if (outFlag)
        *outFlag = found->second.isStatic;
    return found->second.record;
}

int32_t host_release(uint32_t type, int32_t index, void*)
{
    PictorHost& host = *PictorHost::current;
    const char* name = host_get_text(index);
    auto found = host.served.find({type, name ? name : ""});
    if (found == host.served.end())
        return 0;
    ++found->second.counts.releases;
    return 1;
}

} // namespace

PictorHost::PictorHost()
{
    current = this;
    if (window_.ok()) {
        cache_ = std::make_unique<GLStateContext>(kWidth, kHeight);
        gls_make_current(cache_.get());
    }
    services.Log = host_log;
    services.GetText = host_get_text;
    services.AcquireByIndex = host_acquire;
    services.ReleaseByIndex = host_release;
    groupIndex = serve(kType3DGroup, "scene", &group);
    Vortel_Init(nullptr, nullptr, &services);
}

PictorHost::~PictorHost()
{
    Vortel_Quit();
    gls_make_current(nullptr);
    current = nullptr;
}

int32_t PictorHost::text(const std::string& value)
{
    for (size_t i = 0; i < texts.size(); ++i)
        if (texts[i] == value)
            return int32_t(i);
    texts.push_back(value);
    return int32_t(texts.size() - 1);
}

int32_t PictorHost::serve(uint32_t type, const std::string& name, void* record, bool isStatic)
{
    served[{type, name}] = Served{record, isStatic, {}};
    return text(name);
}

PictorHost::Counts PictorHost::counts(uint32_t type, const std::string& name) const
{
    auto found = served.find({type, name});
    return found == served.end() ? Counts{} : found->second.counts;
}

std::unique_ptr<Texture> solid_texture(int size, uint32_t color)
{
    std::vector<uint32_t> pixels(size_t(size) * size_t(size), color);
    return std::make_unique<Texture>(pixels.data(), size, size);
}
