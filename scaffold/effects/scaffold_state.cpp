#include "effects/scaffold_state.h"

#include <cstring>

ScaffoldState gScaffold;

ScaffoldState::ScaffoldState() : groupNames(kMaxGroups, Buffer(32u)) {}

int32_t ScaffoldState::find_group(const char* name) const
{
    for (int32_t i = 0; i < groupCount; ++i)
        if (std::strcmp(groupNames[size_t(i)].PtrC(), name) == 0)
            return i;
    return -1;
}

int32_t ScaffoldState::group_slot_of(const GroupNode3D* group) const
{
    for (int32_t i = 0; i < groupCount; ++i)
        if (groups[i] == group)
            return i;
    return -1;
}

bool ScaffoldState::append_group(const char* name, GroupNode3D* group)
{
    if (groupCount >= kMaxGroups)
        return false;
    groupNames[size_t(groupCount)] = Buffer(name);
    groups[groupCount] = group;
    ++groupCount;
    return true;
}

void ScaffoldState::remove_group_at(int32_t slot)
{
    if (slot < 0 || slot >= groupCount)
        return;
    const int32_t last = groupCount - 1;
    if (slot != last) {
        groupNames[size_t(slot)] = groupNames[size_t(last)];
        groups[slot] = groups[last];
    }
    groupNames[size_t(last)] = Buffer(32u);
    groups[last] = nullptr;
    groupCount = last;
}
