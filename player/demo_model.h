// The in-memory demo: settings, libraries, tracks of timed events with their parameters, and texts.
// Built by the document loader (demo_loader), read by the timeline, the library host and the registry.
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

// One "param" element. Only the members of its kind are meaningful.
struct Param {
    int32_t kind = kParamConstant;

    int32_t value = 0;   // constant

    int32_t ampli = 0, period = 0, offset = 0, height = 0;   // sine

    int32_t interpolation = kInterpolLin;   // multi: n = lengths.size(), keys.size() = n + 1
    std::vector<uint32_t> lengths;          // segment lengths, ms
    std::vector<int32_t> keys;              // key values
    std::vector<uint64_t> segmentEnds;      // cumulative lengths (filled by finalize_multi), for fast search

    int32_t op = kCombiAdd;                    // combi
    std::unique_ptr<Param> first, second;      // second is null for unary ops

    int32_t textIndex = 0;         // beat and loops: the Texts index naming the 'BEAT' resource
    int32_t min = 0, max = 0;      // beat
};

// One timed call of an effect function.
struct Event {
    int32_t id = 0;
    uint32_t startTime = 0;   // ms, rounded down to a multiple of 10
    uint32_t endTime = 0;     // ms, rounded down to a multiple of 10; never active unless end > start
    EffectFn function = nullptr;   // bound by the library host before the first frame
    std::string libraryFileName;
    std::string functionName;
    std::vector<Param> params;   // one per "param" element: the argument count is params.size()
};

struct Track {
    std::vector<Event> events;   // document order
};

// A library named in the document and the functions it declares (name and parameter names).
struct FunctionDeclaration {
    std::string name;
    std::vector<std::string> paramNames;
    EffectFn function = nullptr;   // looked up by the library host when the library is loaded
};

struct LibraryRecord {
    std::string fileName;
    std::vector<FunctionDeclaration> functions;
    // Filled by the library host when loaded.
    void* handle = nullptr;
    VortelInitFn init = nullptr;
    VortelBeginNewFrameFn beginNewFrame = nullptr;
    VortelQuitFn quit = nullptr;
    void* updateParam = nullptr;
};

struct Demo {
    std::vector<Track> tracks;
    uint32_t runningTime = 0;
    bool useOpenGL = false;
    uint32_t numberOfInputSurfaces = 0;
    std::vector<LibraryRecord> libraries;
    std::string loaderAnim, loaderMusicFile, inputMusicFile, dataFile;   // empty when absent
    bool hasLoaderAnim = false, hasLoaderMusicFile = false, hasInputMusicFile = false, hasDataFile = false;
    int32_t aspectRatioX = 4, aspectRatioY = 3;
    std::vector<std::string> texts;
};
