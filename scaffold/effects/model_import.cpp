#include "effects/model_import.h"

#include "common/resource_cache.h"
#include "effects/model_messages.h"
#include "effects/mtl_reader.h"
#include "effects/scaffold_state.h"
#include "scene/group_node3d.h"
#include "scene/mesh3d.h"

#include <SDL.h>

#include <cstring>
#include <new>
#include <string>
#include <vector>
#include <vortel/plugin_helper.h>

namespace
{

enum class FileRead { Ok, CannotOpen, TooLarge };

FileRead read_file(const std::string& path, size_t limit, std::vector<char>& text)
{
    SDL_RWops* file = vortel::open_file(path.c_str());
    if (!file)
        return FileRead::CannotOpen;
    text.clear();
    // Reads in chunks: members of the packed data file and plain files both end with a short read.
    constexpr size_t kChunk = 1 << 16;
    for (;;) {
        const size_t used = text.size();
        text.resize(used + kChunk);
        const int got = SDL_RWread(file, text.data() + used, 1, int(kChunk));
        text.resize(used + size_t(got > 0 ? got : 0));
        if (got <= 0 || text.size() > limit)
            break;
    }
    vortel::close_file(file);
    return text.size() > limit ? FileRead::TooLarge : FileRead::Ok;
}

std::string folder_of(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Reads the material libraries the OBJ file names. A library that cannot be opened is skipped; one that
// is too large or outside the subset refuses the model. Materials are only collected here, so that a
// refused model leaves the material cache as it was.
bool read_libraries(const std::string& path, const ObjData& data, std::vector<MtlMaterial>& materials)
{
    const std::string folder = folder_of(path);
    std::vector<char> text;
    for (size_t i = 0; i < data.materialLibraries.size(); ++i) {
        const std::string library = folder + data.materialLibraries[i];
        switch (read_file(library, kMaxMtlBytes, text)) {
        case FileRead::CannotOpen:
            vortel::log(msg::kMaterialsCannotOpen, library.c_str(), int(data.libraryLines[i]), path.c_str());
            continue;
        case FileRead::TooLarge:
            vortel::log(msg::kMaterialsTooLarge, library.c_str(), kMaxMtlBytes);
            return false;
        case FileRead::Ok:
            break;
        }
        ReadError error;
        if (!read_mtl(text.data(), text.size(), folder_of(library), materials, error)) {
            vortel::log(msg::kModelBadLine, library.c_str(), int(error.line), error.reason.c_str());
            return false;
        }
    }
    return true;
}

void keep_materials(const std::vector<MtlMaterial>& materials)
{
    ResourceCache*& importedMaterials = gScaffold.importedMaterials;
    if (!importedMaterials)
        importedMaterials = new ResourceCache("ImportMaterials", 1, free_material, vortel::gHost.Log);
    for (const MtlMaterial& material : materials)
        if (!importedMaterials->contains(material.name.c_str()))
            importedMaterials->add(new MaterialRecord(material.record), material.name.c_str(), true);
}

MaterialRecord* find_imported_material(const std::string& name)
{
    if (!gScaffold.importedMaterials || name.empty())
        return nullptr;
    return static_cast<MaterialRecord*>(gScaffold.importedMaterials->find(name.c_str(), nullptr));
}

GroupNode3D* import_model(const std::string& path)
{
    std::vector<char> text;
    switch (read_file(path, kMaxObjBytes, text)) {
    case FileRead::CannotOpen:
        vortel::log(msg::kModelCannotOpen, path.c_str());
        return nullptr;
    case FileRead::TooLarge:
        vortel::log(msg::kModelTooLarge, path.c_str(), kMaxObjBytes);
        return nullptr;
    case FileRead::Ok:
        break;
    }
    ObjData data;
    ReadError error;
    if (!read_obj(text.data(), text.size(), data, error)) {
        vortel::log(msg::kModelBadLine, path.c_str(), int(error.line), error.reason.c_str());
        return nullptr;
    }
    std::vector<MtlMaterial> materials;
    if (!read_libraries(path, data, materials))
        return nullptr;
    if (!data.materialLibraries.empty())
        keep_materials(materials);
    GroupNode3D* group = build_model(data, true, find_imported_material);
    if (!group)
        vortel::log(msg::kModelBadFace, path.c_str());
    return group;
}

// Adds face `f` to `mesh`, starting another mesh of the same material when the current one is full.
bool add_face(const ObjData& data, const ObjFace& face, GroupNode3D& group, Mesh3D*& mesh, bool useBuffers)
{
    const float* p[3];
    const float* t[3];
    const float* n[3];
    for (int c = 0; c < 3; ++c) {
        p[c] = &data.positions[size_t(face.position[c]) * 3];
        t[c] = face.texCoord[c] < 0 ? nullptr : &data.texCoords[size_t(face.texCoord[c]) * 2];
        n[c] = face.normal[c] < 0 ? nullptr : &data.normals[size_t(face.normal[c]) * 3];
    }
    if (mesh->AddTriangle(p[0], t[0], n[0], p[1], t[1], n[1], p[2], t[2], n[2]))
        return true;
    if (mesh->GetIndexCount() == 0)
        return false;
    // Full (16-bit indices) or a face with another layout of texture coordinates and normals.
    MaterialRecord* material = mesh->material;
    group.AddChild(mesh);
    mesh = nullptr; // the group's now
    mesh = new Mesh3D(useBuffers);
    mesh->material = material;
    return mesh->AddTriangle(p[0], t[0], n[0], p[1], t[1], n[1], p[2], t[2], n[2]);
}

} // namespace

GroupNode3D* build_model(const ObjData& data, bool useBuffers,
                         const std::function<MaterialRecord*(const std::string&)>& findMaterial)
{
    GroupNode3D* group = new GroupNode3D();
    Mesh3D* mesh = nullptr;
    try {
        for (const ObjObject& object : data.objects) {
            mesh = new Mesh3D(useBuffers);
            mesh->material = findMaterial(object.material);
            for (int32_t f = object.firstFace; f < object.firstFace + object.faceCount; ++f) {
                if (!add_face(data, data.faces[size_t(f)], *group, mesh, useBuffers)) {
                    delete mesh;
                    free_model(group);
                    return nullptr;
                }
            }
            group->AddChild(mesh);
            mesh = nullptr;
        }
    } catch (const std::bad_alloc&) {
        // The vertex arrays grow with the file: the caller reports it, nothing half-built stays behind.
        delete mesh;
        free_model(group);
        throw;
    }
    return group;
}

void free_model(void* resource)
{
    GroupNode3D* group = static_cast<GroupNode3D*>(resource);
    while (group->GetChildCount() > 0) {
        Mesh3D* mesh = static_cast<Mesh3D*>(group->RemoveChildAt(0));
        delete mesh;
    }
    delete group;
}

void free_material(void* material)
{
    delete static_cast<MaterialRecord*>(material);
}

void model_support_init()
{
    if (!gScaffold.modelCache)
        gScaffold.modelCache = new ResourceCache("Obj3DCache", 1, free_model, vortel::gHost.Log);
    vortel::gHost.RegisterType(kTypeObject, acquire_model, release_model);
}

void free_cache(ResourceCache*& cache, ResourceCache::FreeFn freeFn)
{
    if (!cache)
        return;
    // Entries may still be referenced (preloading never releases), but no one calls after Vortel_Quit.
    for (int32_t i = 0; i < cache->size(); ++i)
        freeFn(cache->objectAt(i));
    delete cache;
    cache = nullptr;
}

void model_support_quit()
{
    free_cache(gScaffold.modelCache, free_model);
    free_cache(gScaffold.importedMaterials, free_material);
}

void* acquire_model(const char* path, void*, bool* outFlag)
{
    ResourceCache* modelCache = gScaffold.modelCache;
    if (!modelCache || !path)
        return nullptr;
    // The cache keeps names of up to 255 characters: a longer path could be mistaken for another one.
    if (std::strlen(path) >= size_t(ResourceCache::kNameSize)) {
        vortel::log(msg::kModelPathTooLong, path, int(ResourceCache::kNameSize - 1));
        return nullptr;
    }
    if (void* model = modelCache->find(path, outFlag))
        return model;
    GroupNode3D* group = nullptr;
    try {
        group = import_model(path);
    } catch (const std::bad_alloc&) {
        // The text, the parsed lists and the meshes are all as large as the file.
        vortel::log(msg::kModelNoMemory, path);
        return nullptr;
    }
    if (!group)
        return nullptr;
    modelCache->add(group, path, true);
    if (outFlag)
        *outFlag = true;
    return group;
}

bool release_model(const char* path, void*)
{
    ResourceCache* modelCache = gScaffold.modelCache;
    return modelCache && path && modelCache->contains(path) && modelCache->release(path);
}
