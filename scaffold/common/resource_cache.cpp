#include "common/resource_cache.h"

#include <cstdio>
#include <cstring>
#include <vortel/log_text.h>
#include <vortel/plugin.h>

namespace
{

void copy_name(char (&dst)[ResourceCache::kNameSize], const char* src)
{
    std::snprintf(dst, sizeof(dst), "%s", src ? src : "");
}

// Entries are stored cut to 255 characters, so lookups compare the same prefix.
bool same_name(const char* stored, const char* name)
{
    return std::strncmp(stored, name, ResourceCache::kNameSize - 1) == 0;
}

} // namespace

ResourceCache::ResourceCache(const char* name, uint32_t keepReleased, FreeFn freeFn, LogFn log)
    : keepReleased_(keepReleased), freeFn_(freeFn), log_(log)
{
    copy_name(name_, name);
    grow(kInitialSlots);
}

ResourceCache::~ResourceCache()
{
    delete[] objects_;
    delete[] names_;
    delete[] refCounts_;
    delete[] staticFlags_;
}

int32_t ResourceCache::indexOf(const char* name) const
{
    if (!name)
        return -1;
    for (int32_t i = 0; i < count_; ++i)
        if (same_name(names_[i], name))
            return i;
    return -1;
}

bool ResourceCache::contains(const char* name) const
{
    return indexOf(name) >= 0;
}

void ResourceCache::grow(int32_t extra)
{
    const int32_t capacity = capacity_ + extra;
    void** objects = new void*[capacity];
    char(*names)[kNameSize] = new char[capacity][kNameSize];
    int32_t* refCounts = new int32_t[capacity];
    uint8_t* staticFlags = new uint8_t[capacity];
    if (count_ > 0) {
        std::memcpy(objects, objects_, sizeof(void*) * count_);
        std::memcpy(names, names_, sizeof(names_[0]) * count_);
        std::memcpy(refCounts, refCounts_, sizeof(int32_t) * count_);
        std::memcpy(staticFlags, staticFlags_, count_);
    }
    delete[] objects_;
    delete[] names_;
    delete[] refCounts_;
    delete[] staticFlags_;
    objects_ = objects;
    names_ = names;
    refCounts_ = refCounts;
    staticFlags_ = staticFlags;
    capacity_ = capacity;
}

void ResourceCache::removeSlot(int32_t i)
{
    const int32_t last = count_ - 1;
    if (i != last) {
        objects_[i] = objects_[last];
        std::memcpy(names_[i], names_[last], kNameSize);
        refCounts_[i] = refCounts_[last];
        staticFlags_[i] = staticFlags_[last];
    }
    --count_;
}

void ResourceCache::report(const char* format, const char* entry) const
{
    if (!log_)
        return;
    char text[2 * kNameSize + 128];
    std::snprintf(text, sizeof(text), format, name_, vortel::LogName(entry).c_str());
    log_(text);
}

int32_t ResourceCache::add(void* object, const char* name, bool staticFlag)
{
    if (!name || indexOf(name) >= 0) {
        report("%s: refused a second entry named \"%s\"; every live resource needs its own name\n",
               name ? name : "(null)");
        return -1;
    }
    if (keepReleased_ == 1 && count_ > keepLimit_) {
        for (int32_t i = 0; i < count_; ++i) {
            if (refCounts_[i] == 0) {
                if (freeFn_ && objects_[i])
                    freeFn_(objects_[i]);
                removeSlot(i);
                break;
            }
        }
    }
    if (count_ == capacity_)
        grow(capacity_ / 3);
    objects_[count_] = object;
    copy_name(names_[count_], name);
    refCounts_[count_] = 1;
    staticFlags_[count_] = staticFlag ? 1 : 0;
    return ++count_;
}

void* ResourceCache::find(const char* name, bool* staticFlag)
{
    const int32_t i = indexOf(name);
    if (i < 0)
        return nullptr;
    ++refCounts_[i];
    if (staticFlag)
        *staticFlag = staticFlags_[i] != 0;
    return objects_[i];
}

bool ResourceCache::release(const char* name)
{
    const int32_t i = indexOf(name);
    if (i < 0)
        return false;
    if (refCounts_[i] <= 0) {
        report("%s: refused to release \"%s\", which nobody holds\n", names_[i]);
        return false;
    }
    if (--refCounts_[i] > 0 || keepReleased_ != 0)
        return true;
    void* object = objects_[i];
    removeSlot(i);
    if (freeFn_ && object)
        freeFn_(object);
    return true;
}

void ResourceCache::FreeAll()
{
    int32_t freed = 0;
    for (; freed < count_; ++freed) {
        if (refCounts_[freed] != 0)
            break;
        if (freeFn_ && objects_[freed])
            freeFn_(objects_[freed]);
    }
    if (freed == count_) {
        count_ = 0;
        return;
    }
    // Keep the cache consistent for a caller that goes on: drop the freed slots, keep the rest.
    const int32_t left = count_ - freed;
    std::memmove(objects_, objects_ + freed, sizeof(void*) * left);
    std::memmove(names_, names_ + freed, sizeof(names_[0]) * left);
    std::memmove(refCounts_, refCounts_ + freed, sizeof(int32_t) * left);
    std::memmove(staticFlags_, staticFlags_ + freed, left);
    count_ = left;
    throw BasicException("Bad!");
}
