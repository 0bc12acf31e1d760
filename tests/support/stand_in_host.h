// A stand-in for the player around a plug-in linked into the test program: a Texts list, a log, a small
// resource registry that routes requests to the handlers the plug-in registers (plus swarms a test hands
// in), the music level, answers to GetParam, and files opened from disk.
//
// One StandInHost per test program: the services' C callbacks reach the one made last. It never runs the
// plug-in's Vortel_Init; the host wrapping it does, with `services` (glContext is left to that host).
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>
#include <vortel/plugin.h>
#include <vortel/records.h>

class StandInHost
{
public:
    struct Options {
        bool trimLineEnds = false;      // log entries without their trailing "\n" (else verbatim)
        bool reportMissingText = false; // an acquire by an index without text logs "<caller>: no text <i>"
        bool registryMessages = false;  // a miss logs the player's "<caller> could not find the <type> named
                                        // <name>" instead of "<caller>: no resource <name>"
    };
    explicit StandInHost(Options options);
    StandInHost(const StandInHost&) = delete;
    StandInHost& operator=(const StandInHost&) = delete;

    // Text index of `text`, added to the Texts list when new. Index 0 is always taken ("unused").
    int32_t text(const std::string& text);
    // The log since the last call, one entry per message.
    std::vector<std::string> take_log();
    // Acquires a resource as another plug-in would (caller "test"; "test: no resource <name>" on a miss).
    void* acquire(uint32_t type, const std::string& name, bool* flag = nullptr);
    bool release(uint32_t type, const std::string& name);
    void add_swarm(const std::string& name, SwarmRecord* swarm) { swarms[name] = swarm; }
    void remove_swarm(const std::string& name) { swarms.erase(name); }
    // Serves `record` as the resource `name` of `type` with that static flag, before any handler; a null
    // record answers as a miss. Returns the name's text index.
    int32_t serve(uint32_t type, const std::string& name, void* record, bool isStatic = true);

    struct Counts {
        int acquires = 0; // successful ones
        int releases = 0; // answered ones
    };
    Counts counted(uint32_t type, const std::string& name) const;
    Counts counted_in_all() const;

    // For StateStruct::GetParam: records the request, answers with `param` (0 without one).
    static int32_t get_param(int32_t time, int32_t word);

    std::vector<std::string> texts{"unused"};
    std::vector<std::string> log;
    std::map<std::string, SwarmRecord*> swarms; // 'SWRM' answers, before any handler
    struct Served {
        void* record;
        bool isStatic;
    };
    std::map<std::pair<uint32_t, std::string>, Served> served;
    std::map<std::pair<uint32_t, std::string>, Counts> counts;
    std::vector<std::string> acquisitions; // "<caller> <type name> <name or ?>" of every acquire by index
    struct Handler {
        uint32_t type;
        AcquireFn acquire;
        ReleaseFn release;
    };
    std::vector<Handler> handlers;
    int32_t musicLevel = -1;
    std::function<int32_t(int32_t time, int32_t word)> param;
    std::vector<std::pair<int32_t, int32_t>> paramRequests;
    int32_t opened = 0; // files opened through OpenFile
    ServicesStruct services{};
    const Options options;
};

// A folder under the test's working folder for files a test writes; emptied when created.
std::string scratch_folder(const std::string& name);
void write_text(const std::string& path, const std::string& text);
