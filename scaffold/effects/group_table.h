// GroupTable: the named 3D groups that effects hang their nodes into, published as '3DWR' resources.
//
// Contracts
//  - At most kMaxGroups entries; append() refuses more (returns false) and changes nothing.
//  - Entries are dense: remove_at(j) moves the last entry into slot j. Indices are therefore only valid
//    until the next remove_at.
//  - Names compare byte for byte (case-sensitive); find() answers the first match in slot order, -1 when
//    there is none.
//  - The table neither owns nor deletes the groups: the effect that made a group deletes it.
#pragma once

#include "scene/buffer.h"

#include <cstdint>
#include <vector>

class GroupNode3D;

class GroupTable
{
public:
    static constexpr int32_t kMaxGroups = 256;

    GroupTable(); // kMaxGroups name buffers, each made with room for 32 bytes

    int32_t find(const char* name) const;
    int32_t index_of(const GroupNode3D* group) const; // slot holding this group, -1 when none
    bool append(const char* name, GroupNode3D* group);
    void remove_at(int32_t index);

    int32_t count() const { return count_; }
    GroupNode3D* group_at(int32_t index) const { return groups_[index]; }
    const char* name_at(int32_t index) const { return names_[index].PtrC(); }

private:
    std::vector<Buffer> names_;
    GroupNode3D* groups_[kMaxGroups] = {};
    int32_t count_ = 0;
};

// The one table of the process, made at library load.
extern GroupTable groupTable;
