// The binary interface between the player and the effect plug-ins.
//
// Every word that crosses this interface is 32 bits wide (int32_t / uint32_t), whatever the width of
// `long` on the build machine. Entry points and effect functions are exported `extern "C"` under their
// plain names.
//
// Index
//   [SECTION] Per-call state record
//   [SECTION] Effect functions and entry points
//   [SECTION] Resource registry handlers and type codes
//   [SECTION] Services record
//   [SECTION] Fatal errors
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>

struct SDL_Surface;
struct SDL_RWops;
class GLStateContext;

//-----------------------------------------------------------------------------
// [SECTION] Per-call state record
//-----------------------------------------------------------------------------

// Evaluates argument word `word` of the event now being called at demo time `time` (not local time)
// and returns the first word of that parameter's value. `word` must be below the event's argument count.
typedef int32_t (*GetParamFn)(int32_t time, int32_t word);

// Built by the player for every effect call and valid only during that call: never store its address.
struct StateStruct {
    int32_t phase;        // -1 last call, 0 first call, 1 running call (treat >0 as running, <0 as last)
    int32_t localTime;    // demo time minus the event's start, ms
    bool paramsConstant;  // true when no argument of this call varies with time
    uint8_t reserved_[3]; // the flag lives in the low byte of a 32-bit slot
    int32_t status;       // written by the effect; the player sets 0 before every running call
    int32_t startTime;    // the event's start on the demo clock, ms
    int32_t duration;     // end minus start, ms
    GetParamFn GetParam;
};
static_assert(offsetof(StateStruct, localTime) == 4, "StateStruct layout");
static_assert(offsetof(StateStruct, paramsConstant) == 8, "StateStruct layout");
static_assert(offsetof(StateStruct, status) == 12, "StateStruct layout");
static_assert(offsetof(StateStruct, startTime) == 16, "StateStruct layout");
static_assert(offsetof(StateStruct, duration) == 20, "StateStruct layout");
static_assert(offsetof(StateStruct, GetParam) == 24, "StateStruct layout");

//-----------------------------------------------------------------------------
// [SECTION] Effect functions and entry points
//-----------------------------------------------------------------------------

// Every effect has this form: the state record, the address of the track's privateData slot, then the
// event's argument words a0 .. aN-1 (N = 0 .. 68), each an int32_t. The callee declares as many words as
// it uses. The slot is null on the first call of an activation; whatever the effect stores there comes
// back on every later call; the player nulls it after the last call and frees nothing.
// A false result from a running call stops the frame's remaining running calls.
typedef bool (*EffectFn)(StateStruct* state, void** privateData, ...);

// The largest number of argument words the dispatcher passes; an event with more is never called.
constexpr int kMaxEffectWords = 68;

// Entry points, looked up by these names.
typedef bool (*VortelInitFn)(SDL_Surface** outputSurfaces, SDL_Surface** inputSurfaces,
                             struct ServicesStruct* services);
typedef bool (*VortelBeginNewFrameFn)(int32_t frame); // the player always passes 0; result ignored
typedef bool (*VortelQuitFn)();                       // result ignored
#define VORTEL_INIT_NAME "Vortel_Init"
#define VORTEL_BEGIN_NEW_FRAME_NAME "Vortel_BeginNewFrame"
#define VORTEL_QUIT_NAME "Vortel_Quit"
#define VORTEL_UPDATE_PARAM_NAME "Vortel_UpdateParam" // optional, never called by the player

#define VORTEL_EXPORT extern "C" __attribute__((visibility("default")))

//-----------------------------------------------------------------------------
// [SECTION] Resource registry handlers and type codes
//-----------------------------------------------------------------------------

// A type code is four characters, the first in the most significant byte.
constexpr uint32_t vortel_fourcc(const char (&code)[5])
{
    return (uint32_t(uint8_t(code[0])) << 24) | (uint32_t(uint8_t(code[1])) << 16) |
           (uint32_t(uint8_t(code[2])) << 8) | uint32_t(uint8_t(code[3]));
}

// 'TXTR' row order, for every texture whoever made it (picture files, Scaffold's off-screen buffers
// "Render1" and "Render2", any other producer): the first row GL holds, texture coordinate t = 0, is the
// picture's TOP row; t = 1 is its bottom. Producers upload pixel rows top row first (Show3D renders into
// the off-screen buffers upside down for this reason); consumers put t = 0 at the top of what they show
// (Image3D's default coordinates, the screen quads, GL's point-sprite coordinates). A texture shown the
// other way round is upside down.
constexpr uint32_t kTypeTexture = vortel_fourcc("TXTR");  // Texture (scene library)
constexpr uint32_t kType3DGroup = vortel_fourcc("3DWR");  // GroupNode3D
constexpr uint32_t kTypeMaterial = vortel_fourcc("MTRL"); // MaterialRecord
constexpr uint32_t kTypeObject = vortel_fourcc("OBJ3");   // imported model
constexpr uint32_t kTypeSwarm = vortel_fourcc("SWRM");    // SwarmRecord
constexpr uint32_t kTypeGrid = vortel_fourcc("GRID");     // TextureGridRecord
constexpr uint32_t kTypeBeat = vortel_fourcc("BEAT");     // BeatRecord
constexpr uint32_t kTypeFile = vortel_fourcc("FILE");     // SDL_RWops
static_assert(kTypeTexture == 0x54585452u, "first character in the most significant byte");

// Returns the resource, or null when this handler has no resource of that name. userData and outFlag
// come unchanged from the request; a handler may write its static flag through outFlag
// (true = the resource never changes; false = look it up again every frame).
typedef void* (*AcquireFn)(const char* name, void* userData, bool* outFlag);
// Returns true when this handler took the release.
typedef bool (*ReleaseFn)(const char* name, void* resource);

//-----------------------------------------------------------------------------
// [SECTION] Services record
//-----------------------------------------------------------------------------

// Filled once by the player and handed to every Vortel_Init; valid until after Vortel_Quit.
// Plug-ins copy the members they need. Main thread only.
struct ServicesStruct {
    GLStateContext* glContext;            // the shared GL state cache; adopt it as your current context
    void (*Log)(const char* text);        // appends verbatim to the error log and flushes
    void (*SetMusicLevel)(int32_t level); // 0..255, scaled by the user's volume; repeats are ignored
    void* (*AcquireByIndex)(uint32_t type, int32_t textIndex, void* userData, bool privateUse,
                            const char* caller, const char* typeName, bool* outFlag);
    void* (*AcquireByName)(uint32_t type, const char* name, void* userData, bool privateUse,
                           const char* caller, const char* typeName, bool* outFlag);
    int32_t (*ReleaseByIndex)(uint32_t type, int32_t textIndex, void* resource);
    int32_t (*ReleaseByName)(uint32_t type, const char* name, void* resource);
    int32_t (*RegisterType)(uint32_t type, AcquireFn acquire, ReleaseFn release);
    const char* (*GetText)(int32_t index); // null when index < 0 or >= number of texts
    // Packed data file first, then disk (regular files only: a device or a pipe is refused with a line in
    // the log); null if neither has it. Read with a bound of your own: the stream may be large.
    SDL_RWops* (*OpenFile)(const char* name);
    void (*CloseFile)(SDL_RWops* file);
};

//-----------------------------------------------------------------------------
// [SECTION] Fatal errors
//-----------------------------------------------------------------------------

// Thrown by value from any entry point or effect; the player logs the message and ends the demo.
struct BasicException {
    char message[512];

    BasicException() { message[0] = '\0'; }
    explicit BasicException(const char* text) { std::snprintf(message, sizeof(message), "%s", text); }
    __attribute__((format(printf, 1, 2))) static BasicException format(const char* fmt, ...)
    {
        BasicException e;
        va_list args;
        va_start(args, fmt);
        std::vsnprintf(e.message, sizeof(e.message), fmt, args);
        va_end(args);
        return e;
    }
};
