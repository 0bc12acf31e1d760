// Swarms handed to Scaffold's effects the way the Swarms plug-in hands them out: by name, with a static
// flag and a reference count per swarm. Registered with the stand-in host as a handler of 'SWRM', as the
// Swarms plug-in registers its own.
#pragma once

#include <map>
#include <string>
#include <vortel/records.h>

struct ShelvedSwarm {
    SwarmRecord* record;
    bool staticFlag;
    int references; // the producer's own reference counts as 1
};

class SwarmShelf
{
public:
    SwarmShelf();  // registers the shelf's 'SWRM' handler
    ~SwarmShelf(); // removes it
    SwarmShelf(const SwarmShelf&) = delete;
    SwarmShelf& operator=(const SwarmShelf&) = delete;

    // Puts a swarm under a name (its text is added to the host's Texts); returns the text index.
    int32_t put(const std::string& name, SwarmRecord* record, bool staticFlag);
    void take_away(const std::string& name) { swarms.erase(name); }

    std::map<std::string, ShelvedSwarm> swarms;
    int acquisitions = 0;
    int releases = 0;
    int refusedReleases = 0; // releases of a swarm whose only reference is the producer's
};
