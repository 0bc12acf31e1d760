#include "beat_patterns.h"
#include "beat_file.h"
#include "media_file.h"
#include "media_messages.h"

#include <map>
#include <memory>
#include <string>
#include <vortel/plugin_helper.h>

namespace media
{

namespace
{
// Null entries remember files that could not be read or parsed.
std::map<std::string, std::unique_ptr<BeatRecord>> gBeats;

std::unique_ptr<BeatRecord> load_beat(const char* name)
{
    std::vector<uint8_t> bytes;
    if (!read_whole_file(name, bytes)) {
        vortel::log(msg::kBeatNotFound, name);
        return nullptr;
    }
    auto record = std::make_unique<BeatRecord>();
    std::string error;
    if (!parse_beat_text(std::string(bytes.begin(), bytes.end()), *record, error)) {
        vortel::log(msg::kBeatBad, name, error.c_str());
        return nullptr;
    }
    return record;
}
} // namespace

void* acquire_beat(const char* name, void*, bool* outFlag)
{
    if (!name)
        return nullptr;
    auto found = gBeats.find(name);
    if (found == gBeats.end())
        found = gBeats.emplace(name, load_beat(name)).first;
    if (found->second && outFlag)
        *outFlag = true;
    return found->second.get();
}

bool release_beat(const char* name, void* resource)
{
    if (!name)
        return false;
    auto found = gBeats.find(name);
    return found != gBeats.end() && found->second && (!resource || resource == found->second.get());
}

void forget_beats()
{
    gBeats.clear();
}

} // namespace media
