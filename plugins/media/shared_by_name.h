// Records handed out by name with a count of holders: the first acquisition makes the record, each one
// counts, and the record goes when the last holder releases it.
#pragma once

#include <map>
#include <memory>
#include <string>

namespace media
{

template <class Record> class SharedByName
{
public:
    // The record for name, made by make(name) (a unique_ptr, null on failure) when nobody holds it yet.
    template <class Make> Record* acquire(const char* name, Make make)
    {
        auto found = entries_.find(name);
        if (found == entries_.end()) {
            std::unique_ptr<Record> made = make(name);
            if (!made)
                return nullptr;
            found = entries_.emplace(name, Entry{std::move(made), 0}).first;
        }
        ++found->second.holders;
        return found->second.record.get();
    }

    // False when name is not held here, or resource is neither null nor the record held under name.
    bool release(const char* name, const void* resource)
    {
        auto found = entries_.find(name);
        if (found == entries_.end() || (resource && resource != found->second.record.get()))
            return false;
        if (--found->second.holders <= 0)
            entries_.erase(found);
        return true;
    }

    int holders(const char* name) const
    {
        auto found = entries_.find(name);
        return found == entries_.end() ? 0 : found->second.holders;
    }

    void clear() { entries_.clear(); }

private:
    struct Entry {
        std::unique_ptr<Record> record;
        int holders;
    };
    std::map<std::string, Entry> entries_;
};

} // namespace media
