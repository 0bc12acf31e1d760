// The resource registry: routes typed, named resource requests to the handlers plug-ins registered,
// in registration order, and keeps the table of resources taken for private use.
// One per process; these functions are also what the services record hands to plug-ins.
#pragma once

#include <cstdint>
#include <vortel/plugin.h>

int32_t RegisterType(uint32_t type, AcquireFn acquire, ReleaseFn release);
void* AcquireByIndex(uint32_t type, int32_t textIndex, void* userData, bool privateUse, const char* caller,
                     const char* typeName, bool* outFlag);
void* AcquireByName(uint32_t type, const char* name, void* userData, bool privateUse, const char* caller,
                    const char* typeName, bool* outFlag);
int32_t ReleaseByIndex(uint32_t type, int32_t textIndex, void* resource);
int32_t ReleaseByName(uint32_t type, const char* name, void* resource);
