// The in-memory demo: settings, libraries, tracks of timed events with their parameters, and texts.
// Built by the document loader (demo_loader.h), read by the timeline, the library host, the registry and
// the resource preloading. Everything in it is owned by the Demo value; destroying it frees every
// string, array and parameter tree (libraries are unloaded by the library host, not here).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <vortel/plugin.h>

// Parameter kind codes, as stored per argument.
enum ParamKind : int32_t {
    kParamConstant = 0,
    kParamSine = 1,
    kParamMulti = 2,
    kParamCombi = 3,
    kParamBeat = 4,
    kParamLoops = 5,
    kParamRotate = 6,
};

enum Interpolation : int32_t { kInterpolLin = 0, kInterpolBez = 1, kInterpolSqd = 2 };

enum CombiOp : int32_t { kCombiAdd = 0, kCombiMultiply = 1, kCombiNegate = 1000, kCombiAbs = 1001 };

// One "param" element. Only the members of its kind are meaningful. Evaluation: param_eval.h.
struct Param {
    int32_t kind = kParamConstant;

    int32_t value = 0; // constant

    int32_t ampli = 0, period = 0, offset = 0, height = 0; // sine; period in ms

    // multi: n = lengths.size() segments, keys.size() == n + 1 (key i is the value where segment i starts).
    int32_t interpolation = kInterpolLin;
    std::vector<uint32_t> lengths;     // segment lengths, ms
    std::vector<int32_t> keys;         // key values
    std::vector<uint64_t> segmentEnds; // segmentEnds[i] = lengths[0] + ... + lengths[i]; see finalize_multi
    bool linearForm = false;           // written as start and end: one segment over the whole event

    // combi: first is always set; second only for binary ops (op below 1000). A tree owned by the event.
    int32_t op = kCombiAdd;
    std::unique_ptr<Param> first, second;

    int32_t textIndex = 0;    // beat and loops: the Texts index naming the 'BEAT' resource
    int32_t min = 0, max = 0; // beat
};

// One timed call of an effect function.
struct Event {
    int32_t id = 0;
    uint32_t startTime = 0;      // ms, rounded down to a multiple of 10
    uint32_t endTime = 0;        // ms, rounded down to a multiple of 10; never active unless end > start
    EffectFn function = nullptr; // bound by the library host before the first frame
    std::string libraryFileName;
    std::string functionName;
    std::vector<Param> params; // one per "param" element: the argument count is params.size()
    bool unread = false;       // --check only: the document does not describe this event fully
};

struct Track {
    std::vector<Event> events; // document order
};

// A function a library declares in the document: its name and the names of its parameters.
struct FunctionDeclaration {
    std::string name;
    std::vector<std::string> paramNames;
    EffectFn function = nullptr; // looked up by the library host when the library is loaded
};

struct LibraryRecord {
    std::string fileName;
    std::vector<FunctionDeclaration> functions; // document order
    // Filled by the library host when loaded.
    void* handle = nullptr;
    VortelInitFn init = nullptr;
    VortelBeginNewFrameFn beginNewFrame = nullptr;
    VortelQuitFn quit = nullptr;
    void* updateParam = nullptr;
};

struct Demo {
    std::vector<Track> tracks;
    uint32_t runningTime = 0; // ms
    bool useOpenGL = false;
    uint32_t numberOfInputSurfaces = 0;
    std::vector<LibraryRecord> libraries; // document order
    // Optional settings: each string is meaningful only when its has* flag is set.
    std::string loaderAnim, loaderMusicFile, inputMusicFile, dataFile;
    bool hasLoaderAnim = false, hasLoaderMusicFile = false, hasInputMusicFile = false, hasDataFile = false;
    int32_t aspectRatioX = 4, aspectRatioY = 3; // both positive
    // The Texts list: resource names, index i is the i-th text read (GetText of the services record).
    std::vector<std::string> texts;
};
