#include "stand_in_host.h"

#include <SDL.h>

#include <filesystem>
#include <fstream>

namespace
{

StandInHost* host = nullptr;

const char* get_text(int32_t index)
{
    if (index < 0 || size_t(index) >= host->texts.size())
        return nullptr;
    return host->texts[size_t(index)].c_str();
}

void* find_resource(uint32_t type, const char* name, void* userData, bool* flag)
{
    auto served = host->served.find({type, name});
    if (served != host->served.end()) {
        if (served->second.record && flag)
            *flag = served->second.isStatic;
        return served->second.record;
    }
    if (type == kTypeSwarm) {
        auto found = host->swarms.find(name);
        if (found != host->swarms.end())
            return found->second;
    }
    for (const StandInHost::Handler& handler : host->handlers)
        if (handler.type == type)
            if (void* resource = handler.acquire(name, userData, flag))
                return resource;
    return nullptr;
}

void* acquire_by_name(uint32_t type, const char* name, void* userData, bool, const char* caller,
                      const char* typeName, bool* flag)
{
    if (void* resource = find_resource(type, name, userData, flag)) {
        ++host->counts[{type, name}].acquires;
        return resource;
    }
    if (host->options.registryMessages)
        host->log.push_back(std::string(caller) + " could not find the " + typeName + " named " + name);
    else
        host->log.push_back(std::string(caller) + ": no resource " + name);
    return nullptr;
}

void* acquire_by_index(uint32_t type, int32_t index, void* userData, bool privateUse, const char* caller,
                       const char* typeName, bool* flag)
{
    const char* name = get_text(index);
    host->acquisitions.push_back(std::string(caller) + " " + (typeName ? typeName : "") + " " +
                                 (name ? name : "?"));
    if (!name) {
        if (host->options.reportMissingText)
            host->log.push_back(std::string(caller) + ": no text " + std::to_string(index));
        return nullptr;
    }
    return acquire_by_name(type, name, userData, privateUse, caller, typeName, flag);
}

bool answer_release(uint32_t type, const char* name, void* resource)
{
    if (host->served.count({type, name}) || (type == kTypeSwarm && host->swarms.count(name)))
        return true;
    for (const StandInHost::Handler& handler : host->handlers)
        if (handler.type == type && handler.release(name, resource))
            return true;
    return false;
}

int32_t release_by_name(uint32_t type, const char* name, void* resource)
{
    if (!answer_release(type, name, resource))
        return 0;
    ++host->counts[{type, name}].releases;
    return 1;
}

int32_t release_by_index(uint32_t type, int32_t index, void* resource)
{
    const char* name = get_text(index);
    return name ? release_by_name(type, name, resource) : 0;
}

int32_t register_type(uint32_t type, AcquireFn acquire, ReleaseFn release)
{
    host->handlers.push_back({type, acquire, release});
    return int32_t(host->handlers.size());
}

void log_text(const char* text)
{
    std::string entry(text);
    while (host->options.trimLineEnds && !entry.empty() && entry.back() == '\n')
        entry.pop_back();
    host->log.push_back(entry);
}

void set_music_level(int32_t level)
{
    host->musicLevel = level;
}

SDL_RWops* open_file(const char* name)
{
    SDL_RWops* file = SDL_RWFromFile(name, "rb");
    if (file)
        ++host->opened;
    return file;
}

void close_file(SDL_RWops* file)
{
    SDL_RWclose(file);
}

} // namespace

StandInHost::StandInHost(Options options) : options(options)
{
    host = this;
    services.Log = log_text;
    services.SetMusicLevel = set_music_level;
    services.AcquireByIndex = acquire_by_index;
    services.AcquireByName = acquire_by_name;
    services.ReleaseByIndex = release_by_index;
    services.ReleaseByName = release_by_name;
    services.RegisterType = register_type;
    services.GetText = get_text;
    services.OpenFile = open_file;
    services.CloseFile = close_file;
}

int32_t StandInHost::text(const std::string& value)
{
    for (size_t i = 1; i < texts.size(); ++i)
        if (texts[i] == value)
            return int32_t(i);
    texts.push_back(value);
    return int32_t(texts.size() - 1);
}

std::vector<std::string> StandInHost::take_log()
{
    std::vector<std::string> taken;
    taken.swap(log);
    return taken;
}

void* StandInHost::acquire(uint32_t type, const std::string& name, bool* flag)
{
    bool ignored = false;
    return acquire_by_name(type, name.c_str(), nullptr, false, "test", "resource", flag ? flag : &ignored);
}

bool StandInHost::release(uint32_t type, const std::string& name)
{
    return release_by_name(type, name.c_str(), nullptr) != 0;
}

int32_t StandInHost::serve(uint32_t type, const std::string& name, void* record, bool isStatic)
{
    served[{type, name}] = Served{record, isStatic};
    return text(name);
}

StandInHost::Counts StandInHost::counted(uint32_t type, const std::string& name) const
{
    auto found = counts.find({type, name});
    return found == counts.end() ? Counts{} : found->second;
}

StandInHost::Counts StandInHost::counted_in_all() const
{
    Counts all;
    for (const auto& entry : counts) {
        all.acquires += entry.second.acquires;
        all.releases += entry.second.releases;
    }
    return all;
}

int32_t StandInHost::get_param(int32_t time, int32_t word)
{
    host->paramRequests.push_back({time, word});
    return host->param ? host->param(time, word) : 0;
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
