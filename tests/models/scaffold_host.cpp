#include "scaffold_host.h"

#include <SDL.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

VORTEL_EXPORT bool Vortel_Init(SDL_Surface**, SDL_Surface**, ServicesStruct*);

namespace
{

struct Handler {
    uint32_t type;
    AcquireFn acquire;
    ReleaseFn release;
};
std::vector<Handler> handlers;
ScaffoldHost* instance = nullptr;

const char* get_text(int32_t index)
{
    if (index < 0 || size_t(index) >= instance->texts.size())
        return nullptr;
    return instance->texts[size_t(index)].c_str();
}

void* acquire_by_name(uint32_t type, const char* name, void* userData, bool, const char* caller, const char*,
                      bool* flag)
{
    for (const Handler& handler : handlers)
        if (handler.type == type)
            if (void* resource = handler.acquire(name, userData, flag))
                return resource;
    instance->log.push_back(std::string(caller) + ": no resource " + name);
    return nullptr;
}

void* acquire_by_index(uint32_t type, int32_t index, void* userData, bool privateUse, const char* caller,
                       const char* typeName, bool* flag)
{
    const char* name = get_text(index);
    return name ? acquire_by_name(type, name, userData, privateUse, caller, typeName, flag) : nullptr;
}

int32_t release_by_name(uint32_t type, const char* name, void* resource)
{
    for (const Handler& handler : handlers)
        if (handler.type == type && handler.release(name, resource))
            return 1;
    return 0;
}

int32_t release_by_index(uint32_t type, int32_t index, void* resource)
{
    const char* name = get_text(index);
    return name ? release_by_name(type, name, resource) : 0;
}

int32_t register_type(uint32_t type, AcquireFn acquire, ReleaseFn release)
{
    handlers.push_back({type, acquire, release});
    return int32_t(handlers.size());
}

void log_text(const char* text)
{
    std::string line(text);
    while (!line.empty() && line.back() == '\n')
        line.pop_back();
    instance->log.push_back(line);
}

SDL_RWops* open_file(const char* name)
{
    SDL_RWops* file = SDL_RWFromFile(name, "rb");
    if (file)
        ++instance->opened;
    return file;
}

void close_file(SDL_RWops* file)
{
    SDL_RWclose(file);
}

} // namespace

ScaffoldHost* ScaffoldHost::get()
{
    static bool tried = false;
    if (!tried) {
        tried = true;
        instance = new ScaffoldHost();
        if (!instance->window_->ok())
            return nullptr;
        gls_make_current(instance->cache_.get());
        Vortel_Init(nullptr, nullptr, &instance->services_);
    }
    return instance && instance->window_->ok() ? instance : nullptr;
}

ScaffoldHost::ScaffoldHost()
    : window_(std::make_unique<GLWindow>(kWidth, kHeight)),
      cache_(std::make_unique<GLStateContext>(kWidth, kHeight))
{
    services_.glContext = cache_.get();
    services_.Log = log_text;
    services_.AcquireByIndex = acquire_by_index;
    services_.AcquireByName = acquire_by_name;
    services_.ReleaseByIndex = release_by_index;
    services_.ReleaseByName = release_by_name;
    services_.RegisterType = register_type;
    services_.GetText = get_text;
    services_.OpenFile = open_file;
    services_.CloseFile = close_file;
}

int32_t ScaffoldHost::text(const std::string& value)
{
    for (size_t i = 1; i < texts.size(); ++i)
        if (texts[i] == value)
            return int32_t(i);
    texts.push_back(value);
    return int32_t(texts.size() - 1);
}

std::vector<std::string> ScaffoldHost::take_log()
{
    std::vector<std::string> taken;
    taken.swap(log);
    return taken;
}

void* ScaffoldHost::acquire(uint32_t type, const std::string& name)
{
    bool flag = false;
    return acquire_by_name(type, name.c_str(), nullptr, false, "test", "resource", &flag);
}

bool ScaffoldHost::release(uint32_t type, const std::string& name)
{
    return release_by_name(type, name.c_str(), nullptr) != 0;
}

std::string scratch_folder(const std::string& name)
{
    const std::filesystem::path folder = std::filesystem::current_path() / "scratch" / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder.string() + "/";
}

void write_text(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}
