// What Emberfold keeps from the player: the service pointers handed to Vortel_Init, and the plug-in's
// own legacy rand sequence (its only other global state besides the flame mesh's random table).
#pragma once

#include <vortel/legacy_rand.h>
#include <vortel/plugin.h>

namespace emberfold
{

struct Services {
    void (*Log)(const char* text) = nullptr;
    const char* (*GetText)(int32_t index) = nullptr;
    void* (*AcquireByIndex)(uint32_t type, int32_t textIndex, void* userData, bool privateUse,
                            const char* caller, const char* typeName, bool* outFlag) = nullptr;
    int32_t (*ReleaseByIndex)(uint32_t type, int32_t textIndex, void* resource) = nullptr;
    SDL_RWops* (*OpenFile)(const char* name) = nullptr; // served from the demo's data file when it has it
    void (*CloseFile)(SDL_RWops* file) = nullptr;
};

extern Services gServices;
extern LegacyRand gRand;

// Formats one message, ends it with a line break and writes it through Log (nothing before Vortel_Init).
void log_message(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The text at index, or null when there is none (or no player yet).
const char* text_at(int32_t index);

} // namespace emberfold
