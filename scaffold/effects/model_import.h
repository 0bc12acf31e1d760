// Imported models: OBJ files (with their MTL material libraries) turned into a GroupNode3D of Mesh3D
// nodes and published as 'OBJ3' resources named by the file path.
//
// Contracts
//  - model_support_init() creates the model cache ("Obj3DCache", keepReleased 1: a model stays after its
//    last release until more than 10 models are cached; gScaffold.modelCache) and registers the 'OBJ3'
//    handlers. Vortel_Init calls it once, after adopting the services.
//  - acquire_model returns the cached group (static flag 1), or reads the file through
//    the player's OpenFile (packed data file first, then disk). A file that cannot be opened, is larger than
//    kMaxObjBytes, or holds text outside the supported subset (obj_reader.h, mtl_reader.h) gives null and
//    nothing is cached; the log names the file, the line and the reason. So does a file too large for the
//    memory left (one line naming the file). Each non-null acquire must be
//    paired with a release_model of the same path. Paths of 256 characters or more are refused.
//  - The group, its meshes and the imported materials belong to the caches: consumers never delete them.
//    Meshes have one material each (or none), found by name among all materials ever imported; the first
//    definition of a name wins.
//  - An object whose vertices do not fit the 16-bit indices of one mesh becomes several meshes with the
//    same material.
//  - Main thread with the GL context current (the meshes upload vertex buffers).
#pragma once

#include "effects/obj_reader.h"

#include <cstddef>
#include <functional>

class GroupNode3D;
class ResourceCache;
struct MaterialRecord;

constexpr size_t kMaxObjBytes = 64u * 1024u * 1024u - 1u;
constexpr size_t kMaxMtlBytes = 262143u;

void model_support_init();
// Frees every cached model and imported material, referenced or not, and the caches themselves: the
// library may be unloaded next, which would leave them unreachable. Vortel_Quit calls it, with the GL
// context still current (the meshes free their vertex buffers); a later model_support_init starts afresh.
void model_support_quit();
// Frees every object of `cache` with freeFn, whatever its reference count, then the cache; null after.
void free_cache(ResourceCache*& cache, void (*freeFn)(void*));

void* acquire_model(const char* path, void* userData, bool* outFlag);
bool release_model(const char* path, void* resource);

// Builds one or more meshes per object of `data`, in object order, into a new group owned by the caller
// (delete the meshes, then the group). findMaterial maps a material name to its record (or null).
// Returns null when a face cannot be added. Throws std::bad_alloc when the meshes cannot grow, leaving
// nothing behind.
GroupNode3D* build_model(const ObjData& data, bool useBuffers,
                         const std::function<MaterialRecord*(const std::string&)>& findMaterial);
// Deletes the group's meshes and then the group.
void free_model(void* group);
// Deletes a MaterialRecord: the free function of the material caches.
void free_material(void* material);
