// ResourceCache: a name-keyed, reference-counted store of objects shared through the resource registry.
// Used by Scaffold (materials, models) and by the Swarms plug-in (swarms).
//
// Contract
// - Names are compared byte-exactly (case-sensitive), at most 255 characters; longer names are cut.
// - add() stores an object with reference count 1; the cache owns it from then on and frees it with
//   the freeFn given at construction. Each find() that returns an object must be paired with one
//   release() of the same name.
// - keepReleased 0: an object is freed as soon as its reference count reaches 0.
//   keepReleased 1: it stays until an insertion finds more than keepLimit entries, which evicts the
//   lowest unreferenced slot.
// - Removing a slot moves the last used slot into it: slot order is not stable.
// - A second entry of a name already present, and a release of an entry whose count is already 0,
//   are refused and reported through the log function; the cache never holds two entries of one name.
#pragma once

#include <cstdint>

class ResourceCache
{
public:
    typedef void (*FreeFn)(void* object);
    typedef void (*LogFn)(const char* text);

    static constexpr int32_t kNameSize = 256;
    static constexpr int32_t kInitialSlots = 10;

    // log may be null (refusals are then silent).
    ResourceCache(const char* name, uint32_t keepReleased, FreeFn freeFn, LogFn log = nullptr);
    // Frees the slot arrays only, never the objects: call FreeAll() first to free them.
    ~ResourceCache();
    ResourceCache(const ResourceCache&) = delete;
    ResourceCache& operator=(const ResourceCache&) = delete;

    bool contains(const char* name) const;
    // Returns the new count, or -1 when the name is already present (the object is then not taken:
    // the caller still owns it).
    int32_t add(void* object, const char* name, bool staticFlag);
    // On a match: reference count + 1, *staticFlag <- the entry's flag (when staticFlag is not null),
    // returns the object. No match: null, *staticFlag untouched.
    void* find(const char* name, bool* staticFlag);
    // False when the name is unknown or its count is already 0 (refused); true otherwise.
    bool release(const char* name);
    // Frees every object (slot order) and empties the cache. Throws BasicException("Bad!") and stops
    // at the first entry that is still referenced; the entries before it are then already freed.
    void FreeAll();

    const char* name() const { return name_; }
    int32_t size() const { return count_; }
    int32_t capacity() const { return capacity_; }
    // Slot accessors for inspection; i must lie in 0 .. size()-1.
    void* objectAt(int32_t i) const { return objects_[i]; }
    const char* nameAt(int32_t i) const { return names_[i]; }
    int32_t refCountAt(int32_t i) const { return refCounts_[i]; }
    bool staticFlagAt(int32_t i) const { return staticFlags_[i] != 0; }

private:
    int32_t indexOf(const char* name) const;
    void grow(int32_t extra);
    void removeSlot(int32_t i);
    void report(const char* format, const char* entry) const;

    char name_[kNameSize];
    int32_t capacity_ = 0;
    void** objects_ = nullptr;
    char (*names_)[kNameSize] = nullptr;
    int32_t* refCounts_ = nullptr;
    uint8_t* staticFlags_ = nullptr;
    int32_t count_ = 0;
    uint32_t keepReleased_;
    int32_t keepLimit_ = kInitialSlots;
    FreeFn freeFn_;
    LogFn log_;
};
