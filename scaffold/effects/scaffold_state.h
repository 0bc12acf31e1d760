// Everything of Scaffold that lives for the process rather than for one event: the one scene that all 3D
// effects of a demo draw into, the table of named 3D groups and the caches of materials and models. One
// object, gScaffold, made at library load; its members keep the names the effects have always used.
// The player's services are the plug-in helper's (vortel::gHost, vortel/plugin_helper.h); the off-screen
// target is the scene library's own (gPBuffer, scene/pbuffer.h).
//
// Members: contract and lifetime
//  - sceneRoot: the root of the shared scene, published as the '3DWR' resource "theWorld". Made by
//    Vortel_Init, deleted by Vortel_Quit (null outside). Its child list lives one frame: Clear3D empties
//    it and the effects that run after it fill it again. It never owns its children.
//  - sceneCamera: the shared camera (aspect 4:3, near 5, far 10000), made and deleted with sceneRoot;
//    sceneRoot->camera points at it. Not a child of sceneRoot until a camera effect adds it in a frame.
//  - groupNames, groups, groupCount: the named 3D groups, published as '3DWR' resources. At most
//    kMaxGroups entries, dense in slots 0 .. groupCount-1, groupNames[i] naming groups[i]. Made at
//    library load (each name buffer with room for 32 bytes) and kept to process exit. Change them only
//    through append_group and remove_group_at; the table neither owns nor deletes the groups: the group
//    effect that made one deletes it (effects/group_maker.h).
//  - materialCache: MaterialRecords by name ("MaterialCache", keepReleased 0: each freed on its last
//    release). Made by Vortel_Init when there is none, emptied and deleted by Vortel_Quit.
//  - modelCache: imported models by file path ("Obj3DCache", keepReleased 1), made by
//    model_support_init. importedMaterials: the materials of their MTL files ("ImportMaterials",
//    keepReleased 1), made when the first MTL file is read. model_support_quit empties and deletes both
//    (effects/model_import.h).
//  - Main thread only, like every plug-in call.
#pragma once

#include "scene/buffer.h"

#include <cstdint>
#include <vector>

class Camera3D;
class GroupNode3D;
class ResourceCache;
class RootNode3D;

struct ScaffoldState {
    static constexpr int32_t kMaxGroups = 256;

    ScaffoldState();
    ScaffoldState(const ScaffoldState&) = delete;
    ScaffoldState& operator=(const ScaffoldState&) = delete;

    // The slot of the first group named `name` (names compare byte for byte, case-sensitive), -1 when
    // there is none.
    int32_t find_group(const char* name) const;
    // The slot holding this group, -1 when none.
    int32_t group_slot_of(const GroupNode3D* group) const;
    // Appends an entry; false, changing nothing, when all kMaxGroups slots are in use.
    bool append_group(const char* name, GroupNode3D* group);
    // Removes the entry in `slot` by moving the last entry into it: slots are only valid until the next
    // removal. An out-of-range slot changes nothing.
    void remove_group_at(int32_t slot);

    RootNode3D* sceneRoot = nullptr;
    Camera3D* sceneCamera = nullptr;
    std::vector<Buffer> groupNames;
    GroupNode3D* groups[kMaxGroups] = {};
    int32_t groupCount = 0;
    ResourceCache* materialCache = nullptr;
    ResourceCache* modelCache = nullptr;
    ResourceCache* importedMaterials = nullptr;
};

extern ScaffoldState gScaffold;
