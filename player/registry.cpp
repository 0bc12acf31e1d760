#include "registry.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include <vortel/log_text.h>

#include "error_log.h"
#include "texts.h"

namespace
{

// The registry's own texts, kept together so tests can check them.
constexpr const char* kNoNameMessage = "%s could not find the name for the %s nr %d";
constexpr const char* kInPrivateUseMessage = "%s tried to use the %s %s, but it's already in private use!";
constexpr const char* kNotFoundMessage = "%s could not find the %s named %s";
constexpr const char* kPrivateTableFullMessage =
    "%s could not take the %s %s for private use: %d resources are already in private use";

struct Handler {
    uint32_t type;
    AcquireFn acquire;
    ReleaseFn release;
};

struct PrivateUse {
    uint32_t type;
    int32_t textIndex;
};

struct Registry {
    std::vector<Handler> handlers;
    PrivateUse privateUse[kMaxPrivateUse];
    int privateCount = 0;
    RegistrySink sink = nullptr;
};

Registry& registry()
{
    // Created on first use and deliberately never destroyed: plug-ins may release resources from their
    // own static destructors after main has returned.
    static Registry* instance = new Registry();
    return *instance;
}

const char* text_or_blank(const char* text)
{
    return text ? text : "";
}

// Resource names come from the document: whatever they hold, the message stays one line.
__attribute__((format(printf, 1, 2))) void report(const char* format, ...)
{
    char text[1024];
    va_list args;
    va_start(args, format);
    vortel::format_log_line(text, sizeof(text), false, format, args);
    va_end(args);
    RegistrySink sink = registry().sink;
    (sink ? sink : log_line)(text);
}

int find_private_use(uint32_t type, int32_t textIndex)
{
    const Registry& r = registry();
    for (int i = 0; i < r.privateCount; ++i)
        if (r.privateUse[i].type == type && r.privateUse[i].textIndex == textIndex)
            return i;
    return -1;
}

void* ask_handlers(uint32_t type, const char* name, void* userData, bool* outFlag)
{
    bool scratchFlag = false;
    if (!outFlag)
        outFlag = &scratchFlag;
    // By index: a handler may register further handlers while it runs, which moves the table.
    const std::vector<Handler>& handlers = registry().handlers;
    for (size_t i = 0; i < handlers.size(); ++i) {
        Handler handler = handlers[i];
        if (handler.type != type || !handler.acquire)
            continue;
        if (void* resource = handler.acquire(name, userData, outFlag))
            return resource;
    }
    return nullptr;
}

int32_t release_to_handlers(uint32_t type, const char* name, void* resource)
{
    const std::vector<Handler>& handlers = registry().handlers;
    for (size_t i = 0; i < handlers.size(); ++i) {
        Handler handler = handlers[i];
        if (handler.type == type && handler.release && handler.release(name, resource))
            return 1;
    }
    return 0;
}

} // namespace

int32_t RegisterType(uint32_t type, AcquireFn acquire, ReleaseFn release)
{
    std::vector<Handler>& handlers = registry().handlers;
    handlers.push_back({type, acquire, release});
    return int32_t(handlers.size());
}

void* AcquireByIndex(uint32_t type, int32_t textIndex, void* userData, bool privateUse, const char* caller,
                     const char* typeName, bool* outFlag)
{
    caller = text_or_blank(caller);
    typeName = text_or_blank(typeName);
    const char* name = GetText(textIndex);
    if (!name) {
        report(kNoNameMessage, caller, typeName, textIndex);
        return nullptr;
    }
    if (find_private_use(type, textIndex) >= 0) {
        report(kInPrivateUseMessage, caller, typeName, name);
        return nullptr;
    }
    Registry& r = registry();
    if (privateUse && r.privateCount == kMaxPrivateUse) {
        report(kPrivateTableFullMessage, caller, typeName, name, kMaxPrivateUse);
        return nullptr;
    }
    void* resource = ask_handlers(type, name, userData, outFlag);
    if (!resource) {
        report(kNotFoundMessage, caller, typeName, name);
        return nullptr;
    }
    if (privateUse)
        r.privateUse[r.privateCount++] = {type, textIndex};
    return resource;
}

void* AcquireByName(uint32_t type, const char* name, void* userData, bool, const char* caller,
                    const char* typeName, bool* outFlag)
{
    void* resource = name ? ask_handlers(type, name, userData, outFlag) : nullptr;
    if (!resource)
        report(kNotFoundMessage, text_or_blank(caller), text_or_blank(typeName), text_or_blank(name));
    return resource;
}

int32_t ReleaseByIndex(uint32_t type, int32_t textIndex, void* resource)
{
    Registry& r = registry();
    int slot = find_private_use(type, textIndex);
    if (slot >= 0)
        r.privateUse[slot] = r.privateUse[--r.privateCount];
    if (textIndex < 0)
        return 0;
    const char* name = GetText(textIndex);
    return name ? release_to_handlers(type, name, resource) : 0;
}

int32_t ReleaseByName(uint32_t type, const char* name, void* resource)
{
    return name ? release_to_handlers(type, name, resource) : 0;
}

void registry_set_sink(RegistrySink sink)
{
    registry().sink = sink;
}
