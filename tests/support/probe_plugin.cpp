// The probe: an effect plug-in that writes every call it receives to the log, so tests of the timeline,
// the library host and the whole player can check what was called, when and with what.
//
// Log lines (each written with one Log call, ending in "\n"):
//   probe Vortel_Init
//   probe Vortel_BeginNewFrame <argument>
//   probe Vortel_Quit
//   probe <effect> phase=<p> local=<ms> const=<0|1> status=<s> start=<ms> dur=<ms> args=[<w0> <w1> ...]
//   probe <effect> error: <what was wrong>
//   probe acquire <name>          probe release <name>         (the 'PRBE' resource handlers)
//   probe <effect> acquired <name|null>
// `status` is the value found in the StateStruct on entry (the player sets 0 before running calls; on
// first and last calls it is whatever was left); every effect then sets it to 1.
//
// Effects
//   Probe(count, flags, ...)   count = the event's number of argument words, this one included; all of
//                              them are logged. flags (when count >= 2) is a sum of the kProbe* bits:
//                              1 running calls return false, 2 keep a record in privateData, 4 running
//                              calls throw BasicException, 8 running calls throw std::bad_alloc.
//   ProbeFalse(count, ...)     Probe with kProbeFalse.   ProbeStore(count, ...)  Probe with kProbeStore.
//   ProbeNone()                takes no word.            ProbeMany(w0 .. w67)    takes 68 words.
//   ProbeLoader(progress)      takes one word (for the loader animation).
//   ProbeAcquire(count, textIndex, privateUse)  acquires the 'PRBE' resource named by textIndex on its
//                              first call and releases it by index on its last call.
//   ProbeHeap()                on its first call logs "probe heap <bytes>": what the whole process has
//                              allocated and not yet freed (the sanitizer's count, or malloc's).
//   ProbeLeak(bytes)           allocates `bytes` on every running call and never frees them.
//   ProbeAcquireEachFrame(count, textIndex)  acquires and releases it again on every running call.
//
// Vortel_DescribeEffects describes the two acquiring effects (textIndex names a 'PRBE'), and no other:
// the player's --check falls back to the document's declarations for those.
// Vortel_Init registers the 'PRBE' type, whose handler answers every name beginning with "probe", and
// refuses to initialise when one of the demo's texts is "probe:fail-init"; it runs out of memory
// (throws std::bad_alloc) when one is "probe:init-out-of-memory".
// Variants of this file leave out entry points (PROBE_WITHOUT_INIT, PROBE_WITHOUT_QUIT_AND_FRAME,
// PROBE_WITHOUT_UPDATE_PARAM) for the library host's tests.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <new>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's count of live heap bytes (its header is not installed with every compiler).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

#include <vortel/effect_description.h>
#include <vortel/plugin.h>

namespace
{

constexpr int32_t kProbeFalse = 1;       // running calls return false
constexpr int32_t kProbeStore = 2;       // keep a record in privateData and check it is handed back
constexpr int32_t kProbeThrow = 4;       // running calls throw BasicException
constexpr int32_t kProbeOutOfMemory = 8; // running calls throw std::bad_alloc
constexpr uint32_t kTypeProbe = vortel_fourcc("PRBE");
constexpr const char* kFailInitText = "probe:fail-init";
constexpr const char* kOutOfMemoryInitText = "probe:init-out-of-memory";
constexpr uint32_t kRecordMagic = 0x50524F42;

ServicesStruct* gServices = nullptr;
int32_t gResource = 0; // what the 'PRBE' handler hands out

struct ProbeRecord {
    uint32_t magic;
};

__attribute__((format(printf, 1, 2))) void say(const char* format, ...)
{
    char text[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    if (gServices && gServices->Log)
        gServices->Log(text);
}

void log_call(const char* name, const StateStruct* state, const int32_t* words, int count)
{
    std::string args;
    for (int i = 0; i < count; ++i) {
        if (i)
            args += ' ';
        args += std::to_string(words[i]);
    }
    say("probe %s phase=%d local=%d const=%d status=%d start=%d dur=%d args=[%s]\n", name, int(state->phase),
        int(state->localTime), state->paramsConstant ? 1 : 0, int(state->status), int(state->startTime),
        int(state->duration), args.c_str());
}

// The record kept by kProbeStore: created on the first call, checked on running calls, freed on the last.
void keep_record(const char* name, const StateStruct* state, void** privateData)
{
    auto* record = static_cast<ProbeRecord*>(*privateData);
    if (state->phase == 0) {
        if (record)
            say("probe %s error: privateData not null on a first call\n", name);
        *privateData = new ProbeRecord{kRecordMagic};
    } else if (state->phase > 0) {
        if (!record || record->magic != kRecordMagic)
            say("probe %s error: privateData lost between calls\n", name);
    } else {
        if (!record || record->magic != kRecordMagic)
            say("probe %s error: privateData lost before the last call\n", name);
        delete record;
    }
}

bool probe(const char* name, int32_t forcedFlags, StateStruct* state, void** privateData, va_list args)
{
    int32_t words[kMaxEffectWords];
    int count = va_arg(args, int32_t);
    if (count < 1 || count > kMaxEffectWords) {
        say("probe %s error: first word %d is not a word count\n", name, count);
        count = 1;
    }
    words[0] = count;
    for (int i = 1; i < count; ++i)
        words[i] = va_arg(args, int32_t);
    log_call(name, state, words, count);
    state->status = 1;
    int32_t flags = forcedFlags | (count >= 2 ? words[1] : 0);
    if (flags & kProbeStore)
        keep_record(name, state, privateData);
    if (state->phase > 0 && (flags & kProbeThrow))
        throw BasicException::format("%s threw on request", name);
    if (state->phase > 0 && (flags & kProbeOutOfMemory))
        throw std::bad_alloc();
    return !(state->phase > 0 && (flags & kProbeFalse));
}

[[maybe_unused]] void* acquire_probe_resource(const char* name, void*, bool* outFlag)
{
    if (std::strncmp(name, "probe", 5) != 0)
        return nullptr;
    say("probe acquire %s\n", name);
    *outFlag = true;
    return &gResource;
}

[[maybe_unused]] bool release_probe_resource(const char* name, void* resource)
{
    if (resource != &gResource)
        return false;
    say("probe release %s\n", name);
    return true;
}

[[maybe_unused]] bool demo_has_text(ServicesStruct* services, const char* wanted)
{
    if (!services->GetText)
        return false;
    for (int32_t i = 0;; ++i) {
        const char* text = services->GetText(i);
        if (!text)
            return false;
        if (std::strcmp(text, wanted) == 0)
            return true;
    }
}

} // namespace

#ifndef PROBE_WITHOUT_INIT
VORTEL_EXPORT bool Vortel_Init(SDL_Surface**, SDL_Surface**, ServicesStruct* services)
{
    gServices = services;
    say("probe Vortel_Init\n");
    if (services->RegisterType)
        services->RegisterType(kTypeProbe, acquire_probe_resource, release_probe_resource);
    if (demo_has_text(services, kOutOfMemoryInitText))
        throw std::bad_alloc();
    return !demo_has_text(services, kFailInitText);
}
#endif

#ifndef PROBE_WITHOUT_QUIT_AND_FRAME
VORTEL_EXPORT bool Vortel_BeginNewFrame(int32_t frame)
{
    say("probe Vortel_BeginNewFrame %d\n", int(frame));
    return true;
}

VORTEL_EXPORT bool Vortel_Quit()
{
    say("probe Vortel_Quit\n");
    return true;
}
#endif

#ifndef PROBE_WITHOUT_UPDATE_PARAM
VORTEL_EXPORT bool Vortel_UpdateParam()
{
    return true;
}
#endif

#define PROBE_EFFECT(NAME, FLAGS)                                                                            \
    VORTEL_EXPORT bool NAME(StateStruct* state, void** privateData, ...)                                     \
    {                                                                                                        \
        va_list args;                                                                                        \
        va_start(args, privateData);                                                                         \
        bool result = probe(#NAME, FLAGS, state, privateData, args);                                         \
        va_end(args);                                                                                        \
        return result;                                                                                       \
    }

PROBE_EFFECT(Probe, 0)
PROBE_EFFECT(ProbeFalse, kProbeFalse)
PROBE_EFFECT(ProbeStore, kProbeStore)

VORTEL_EXPORT bool ProbeNone(StateStruct* state, void**)
{
    log_call("ProbeNone", state, nullptr, 0);
    state->status = 1;
    return true;
}

VORTEL_EXPORT bool ProbeLoader(StateStruct* state, void**, int32_t progress)
{
    log_call("ProbeLoader", state, &progress, 1);
    state->status = 1;
    return true;
}

VORTEL_EXPORT bool ProbeMany(StateStruct* state, void** privateData, ...)
{
    int32_t words[kMaxEffectWords];
    va_list args;
    va_start(args, privateData);
    for (int i = 0; i < kMaxEffectWords; ++i)
        words[i] = va_arg(args, int32_t);
    va_end(args);
    log_call("ProbeMany", state, words, kMaxEffectWords);
    state->status = 1;
    return true;
}

VORTEL_EXPORT bool ProbeAcquire(StateStruct* state, void** privateData, int32_t count, int32_t textIndex,
                                int32_t privateUse)
{
    int32_t words[3] = {count, textIndex, privateUse};
    log_call("ProbeAcquire", state, words, 3);
    state->status = 1;
    if (!gServices)
        return false;
    if (state->phase == 0) {
        bool isStatic = false;
        *privateData = gServices->AcquireByIndex(kTypeProbe, textIndex, nullptr, privateUse != 0,
                                                 "ProbeAcquire", "probe resource", &isStatic);
        const char* name = gServices->GetText ? gServices->GetText(textIndex) : nullptr;
        say("probe ProbeAcquire acquired %s\n", *privateData ? (name ? name : "?") : "null");
    } else if (state->phase < 0 && *privateData) {
        gServices->ReleaseByIndex(kTypeProbe, textIndex, *privateData);
    }
    return true;
}

namespace
{

size_t heap_in_use()
{
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

} // namespace

VORTEL_EXPORT bool ProbeHeap(StateStruct* state, void**)
{
    state->status = 1;
    if (state->phase == 0)
        say("probe heap %zu\n", heap_in_use());
    return true;
}

VORTEL_EXPORT bool ProbeLeak(StateStruct* state, void**, int32_t bytes)
{
    state->status = 1;
    if (state->phase > 0 && bytes >= int32_t(sizeof(void*))) {
        // Chained from a global, so that the compiler cannot leave the allocation out.
        static void* volatile lost = nullptr;
        if (void* block = std::malloc(size_t(bytes))) {
            *static_cast<void**>(block) = lost;
            lost = block;
        }
    }
    return true;
}

VORTEL_EXPORT bool ProbeAcquireEachFrame(StateStruct* state, void**, int32_t count, int32_t textIndex)
{
    int32_t words[2] = {count, textIndex};
    log_call("ProbeAcquireEachFrame", state, words, 2);
    state->status = 1;
    if (!gServices || state->phase <= 0)
        return gServices != nullptr;
    bool isStatic = false;
    if (void* resource = gServices->AcquireByIndex(kTypeProbe, textIndex, nullptr, false,
                                                   "ProbeAcquireEachFrame", "probe resource", &isStatic))
        gServices->ReleaseByIndex(kTypeProbe, textIndex, resource);
    return true;
}

namespace
{
constexpr VortelParamDescription kAcquireParams[] = {vortel_param("count", kVortelParamNumber),
                                                     vortel_text_param("textIndex", kTypeProbe),
                                                     vortel_param("privateUse", kVortelParamBoolean)};
constexpr VortelParamDescription kAcquireEachFrameParams[] = {vortel_param("count", kVortelParamNumber),
                                                              vortel_text_param("textIndex", kTypeProbe)};
constexpr VortelEffectDescription kDescribed[] = {
    vortel_effect("ProbeAcquire", kAcquireParams),
    vortel_effect("ProbeAcquireEachFrame", kAcquireEachFrameParams)};
constexpr VortelEffectTable kTable = vortel_effect_table(kDescribed);
} // namespace

VORTEL_EXPORT const VortelEffectTable* Vortel_DescribeEffects()
{
    return &kTable;
}
