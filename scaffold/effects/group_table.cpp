#include "effects/group_table.h"

#include <cstring>

GroupTable groupTable;

GroupTable::GroupTable() : names_(kMaxGroups, Buffer(32u)) {}

int32_t GroupTable::find(const char* name) const
{
    for (int32_t i = 0; i < count_; ++i)
        if (std::strcmp(names_[i].PtrC(), name) == 0)
            return i;
    return -1;
}

int32_t GroupTable::index_of(const GroupNode3D* group) const
{
    for (int32_t i = 0; i < count_; ++i)
        if (groups_[i] == group)
            return i;
    return -1;
}

bool GroupTable::append(const char* name, GroupNode3D* group)
{
    if (count_ >= kMaxGroups)
        return false;
    names_[count_] = Buffer(name);
    groups_[count_] = group;
    ++count_;
    return true;
}

void GroupTable::remove_at(int32_t index)
{
    if (index < 0 || index >= count_)
        return;
    const int32_t last = count_ - 1;
    if (index != last) {
        names_[index] = names_[last];
        groups_[index] = groups_[last];
    }
    names_[last] = Buffer(32u);
    groups_[last] = nullptr;
    count_ = last;
}
