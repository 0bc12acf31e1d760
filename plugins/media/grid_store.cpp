#include "grid_store.h"

#include <map>
#include <memory>
#include <string>

namespace media
{

struct GridEntry {
    std::string name;
    WaveGrid grid;
    bool owned = false;
    bool isStatic = false;
    int holders = 0;
};

namespace
{
std::map<std::string, std::unique_ptr<GridEntry>> gGrids;

void drop_if_unused(GridEntry* entry)
{
    if (!entry->owned && entry->holders <= 0)
        gGrids.erase(entry->name);
}
} // namespace

GridEntry* own_grid(const char* name)
{
    auto& slot = gGrids[name];
    if (!slot) {
        slot = std::make_unique<GridEntry>();
        slot->name = name;
    } else if (slot->owned) {
        return nullptr;
    }
    slot->owned = true;
    return slot.get();
}

void give_up_grid(GridEntry* entry)
{
    entry->owned = false;
    drop_if_unused(entry);
}

WaveGrid& grid_of(GridEntry* entry)
{
    return entry->grid;
}
void set_grid_static(GridEntry* entry, bool isStatic)
{
    entry->isStatic = isStatic;
}

void* acquire_grid(const char* name, void*, bool* outFlag)
{
    if (!name)
        return nullptr;
    auto found = gGrids.find(name);
    if (found == gGrids.end() || !found->second->owned || !found->second->grid.record.positions)
        return nullptr;
    GridEntry& entry = *found->second;
    ++entry.holders;
    if (outFlag)
        *outFlag = entry.isStatic;
    return &entry.grid.record;
}

bool release_grid(const char* name, void* resource)
{
    if (!name)
        return false;
    auto found = gGrids.find(name);
    if (found == gGrids.end() || (resource && resource != &found->second->grid.record) ||
        found->second->holders <= 0)
        return false;
    --found->second->holders;
    drop_if_unused(found->second.get());
    return true;
}

void forget_grids()
{
    gGrids.clear();
}

} // namespace media
