// The resource registry: routes typed, named resource requests to the handlers plug-ins registered,
// in registration order, and keeps the table of resources taken for private use.
// One per process, main thread only, never destroyed; these functions are also what the services record
// hands to plug-ins.
//
// Contracts
// - A request by index names the resource by text number `textIndex` of the demo (GetText).
// - Every failed acquisition returns null after exactly one message to the sink; the messages carry no
//   line break of their own.
// - Resources belong to the handler that produced them: callers release them, never free them.
// - caller and typeName are only used in messages (e.g. the effect's name and "swarm "); null is allowed.
// - outFlag may be null: handlers then write into a scratch byte.
#pragma once

#include <cstdint>
#include <vortel/plugin.h>

// At most this many resources are held for private use at a time; further private acquisitions are
// refused with a message, without asking any handler.
constexpr int kMaxPrivateUse = 512;

// Appends (type, acquire, release); several handlers may serve one type. Returns the number of handlers
// now registered (all types together).
int32_t RegisterType(uint32_t type, AcquireFn acquire, ReleaseFn release);

// privateUse: the acquisition by index is recorded so that further acquisitions of the same type and
// index are refused until ReleaseByIndex. A private acquisition by name records nothing: it carries no
// text index to guard, and nothing could ever remove such an entry.
void* AcquireByIndex(uint32_t type, int32_t textIndex, void* userData, bool privateUse, const char* caller,
                     const char* typeName, bool* outFlag);
void* AcquireByName(uint32_t type, const char* name, void* userData, bool privateUse, const char* caller,
                    const char* typeName, bool* outFlag);

// Returns nonzero when a handler took the release; releases nobody takes are ignored silently.
// ReleaseByIndex first ends a private use of (type, textIndex); a negative index then asks no handler.
int32_t ReleaseByIndex(uint32_t type, int32_t textIndex, void* resource);
int32_t ReleaseByName(uint32_t type, const char* name, void* resource);

// Where messages go. The player installs log_line (one line each in Errorlog.txt) before any library is
// initialised; until then (and after registry_set_sink(nullptr)) messages go to log_line as well.
typedef void (*RegistrySink)(const char* text);
void registry_set_sink(RegistrySink sink);
