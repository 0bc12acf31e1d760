// The plumbing every effect plug-in needs, written once: the player's services kept from Vortel_Init,
// the log with its line rule, the texts, the call phases and a holder for resources taken from the
// registry. Header-only; include it in any source of a plug-in.
//
//   VORTEL_EXPORT bool Vortel_Init(SDL_Surface**, SDL_Surface**, ServicesStruct* services)
//   {
//       if (!vortel::adopt_services(services))
//           return false;                      // the one answer to Vortel_Init(null)
//       ...register types...
//       return true;
//   }
//
// Each plug-in (each shared object) has its own copy of the services: the record is hidden from the
// dynamic linker, so Scaffold's copy and a plug-in's never merge.
//
// The log rule: every message is exactly one line of the error log. vortel::log adds the line break a
// message lacks, keeps the one it ends with, and escapes any other control character in it (a name from
// the document with a line break in it cannot start a second line).
//
// Main thread only, like every call the player makes into a plug-in.
#pragma once

#include <cstdarg>
#include <cstdint>

#include "log_text.h"
#include "plugin.h"

// Everything below is hidden from the dynamic linker, not only gHost: an inline function with default
// visibility is exported as a weak symbol, and the loader would then bind every plug-in's calls to the
// first loaded copy (Scaffold.so's), which reads that plug-in's gHost instead of the caller's.
#pragma GCC visibility push(hidden)

namespace vortel
{

//-----------------------------------------------------------------------------
// Services
//-----------------------------------------------------------------------------

// The record handed to this plug-in's Vortel_Init; all members null before that call, and after a
// Vortel_Init(null).
__attribute__((visibility("hidden"))) inline ServicesStruct gHost{};

// The start of every Vortel_Init: keeps a copy of the record. False for a null record, which the plug-in
// returns: a plug-in without services cannot do anything, and the player then ends start-up cleanly.
inline bool adopt_services(const ServicesStruct* services)
{
    gHost = services ? *services : ServicesStruct{};
    return services != nullptr;
}

// Formats one message and appends it to the error log as one line (see the log rule above). Messages
// longer than 1023 characters are cut. Nothing happens before Vortel_Init.
__attribute__((format(printf, 1, 2))) inline void log(const char* format, ...)
{
    if (!gHost.Log)
        return;
    char line[1024];
    va_list args;
    va_start(args, format);
    format_log_line(line, sizeof(line), true, format, args);
    va_end(args);
    gHost.Log(line);
}

// Text number `index` of the document, or null when there is none (or no player yet).
inline const char* text(int32_t index)
{
    return gHost.GetText ? gHost.GetText(index) : nullptr;
}

// Opens a file for reading, from the demo's data file when it holds it, else from disk; null when neither
// has it. Close it with close_file.
inline SDL_RWops* open_file(const char* name)
{
    return gHost.OpenFile && name ? gHost.OpenFile(name) : nullptr;
}

inline void close_file(SDL_RWops* file)
{
    if (file && gHost.CloseFile)
        gHost.CloseFile(file);
}

//-----------------------------------------------------------------------------
// Call phases
//-----------------------------------------------------------------------------

// StateStruct::phase. The player writes exactly these; effects read any negative phase as the last call
// and any positive one as a running call.
constexpr int32_t kLastCall = -1;
constexpr int32_t kFirstCall = 0;
constexpr int32_t kRunningCall = 1;

inline bool is_last_call(const StateStruct* state)
{
    return state->phase < kFirstCall;
}
inline bool is_first_call(const StateStruct* state)
{
    return state->phase == kFirstCall;
}
inline bool is_running_call(const StateStruct* state)
{
    return state->phase > kFirstCall;
}

//-----------------------------------------------------------------------------
// Look-ups that are not held
//-----------------------------------------------------------------------------

// Looks up resource text number `index` of `type` in caller's name and does not release it: for the 3D
// groups ('3DWR') an effect hangs its nodes into, which the groups' owners do not count and which are
// looked up again in every frame. Null when the registry has none, which it has reported itself.
template <class T = void> T* look_up(uint32_t type, int32_t index, const char* caller, const char* typeName)
{
    if (!gHost.AcquireByIndex)
        return nullptr;
    bool isStatic = false;
    return static_cast<T*>(gHost.AcquireByIndex(type, index, nullptr, false, caller, typeName, &isStatic));
}

//-----------------------------------------------------------------------------
// Held resources
//-----------------------------------------------------------------------------

// One resource taken from the registry by text index (or by a fixed name), released exactly once and only if
// it was acquired: releasing a failed acquisition could drop a reference or a private-use mark that belongs
// to someone else. Held in an effect's private block from its first call to its last, or on the stack for one
// call (the destructor releases it).
//
//   acquire   looks the resource up in caller's name (releasing what was held before); null when the
//             registry has none, which it has reported itself
//   refresh   running call: when the resource is not static, looks it up again in caller's name and
//             releases that look-up at once, keeping the first reference; true when it did, and the
//             effect then rebuilds what it made from it. get() may become null (the producer lost it);
//             the first reference is still released by release().
//   look_again  what refresh does, static or not: for an effect that finds a static resource changed
//             after all (a swarm with another point count).
//   acquire_named  acquire by a name the effect itself knows ("theWorld"); the name must outlive the
//             holder (a string literal)
//   release   gives back what acquire took, if anything
class Held
{
public:
    Held() = default;
    Held(uint32_t type, int32_t index, const char* caller, const char* typeName)
    {
        acquire(type, index, caller, typeName);
    }
    ~Held() { release(); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;

    void* acquire(uint32_t type, int32_t index, const char* caller, const char* typeName,
                  bool privateUse = false)
    {
        return take(type, index, nullptr, caller, typeName, privateUse);
    }

    void* acquire_named(uint32_t type, const char* name, const char* caller, const char* typeName)
    {
        return take(type, -1, name, caller, typeName, false);
    }

    bool refresh(const char* caller) { return !isStatic_ && look_again(caller); }

    bool look_again(const char* caller)
    {
        if (!held_)
            return false;
        resource_ = ask_registry(caller, &isStatic_);
        if (resource_)
            give_back();
        return true;
    }

    void release()
    {
        if (held_)
            give_back();
        held_ = false;
        resource_ = nullptr;
    }

    void* get() const { return resource_; }
    template <class T> T* as() const { return static_cast<T*>(resource_); }
    bool held() const { return held_; }
    bool is_static() const { return isStatic_; }
    int32_t index() const { return index_; }

private:
    void* take(uint32_t type, int32_t index, const char* name, const char* caller, const char* typeName,
               bool privateUse)
    {
        release();
        type_ = type;
        index_ = index;
        name_ = name;
        typeName_ = typeName;
        privateUse_ = privateUse;
        isStatic_ = false;
        resource_ = ask_registry(caller, &isStatic_);
        held_ = resource_ != nullptr;
        return resource_;
    }

    void* ask_registry(const char* caller, bool* isStatic) const
    {
        if (name_)
            return gHost.AcquireByName
                       ? gHost.AcquireByName(type_, name_, nullptr, false, caller, typeName_, isStatic)
                       : nullptr;
        if (!gHost.AcquireByIndex)
            return nullptr;
        return gHost.AcquireByIndex(type_, index_, nullptr, privateUse_, caller, typeName_, isStatic);
    }

    void give_back() const
    {
        if (name_ && gHost.ReleaseByName)
            gHost.ReleaseByName(type_, name_, resource_);
        else if (!name_ && gHost.ReleaseByIndex)
            gHost.ReleaseByIndex(type_, index_, resource_);
    }

    uint32_t type_ = 0;
    int32_t index_ = -1;
    const char* name_ = nullptr; // set by acquire_named
    const char* typeName_ = "";
    bool privateUse_ = false;
    bool held_ = false;
    bool isStatic_ = false;
    void* resource_ = nullptr;
};

} // namespace vortel

#pragma GCC visibility pop
