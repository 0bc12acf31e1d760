// The OBJ reader on arbitrary text, and the model builder on every text it accepts: an accepted text must
// refer only to elements it has read, and must turn into meshes (or be refused by the builder) without
// memory errors, undefined behaviour or hangs. Meshes are built without vertex buffers, so no GL is needed.
#include <cstdint>

#include "effects/model_import.h"
#include "effects/obj_reader.h"
#include "fuzz_inputs.h"

namespace
{

bool in_range(int32_t index, size_t count, bool optional)
{
    return (optional && index == -1) || (index >= 0 && size_t(index) < count);
}

// What the builder relies on: every face's references and every object's face range lie inside the data.
bool consistent(const ObjData& data)
{
    for (const ObjFace& face : data.faces)
        for (int c = 0; c < 3; ++c)
            if (!in_range(face.position[c], data.positions.size() / 3, false) ||
                !in_range(face.texCoord[c], data.texCoords.size() / 2, true) ||
                !in_range(face.normal[c], data.normals.size() / 3, true))
                return false;
    for (const ObjObject& object : data.objects)
        if (object.firstFace < 0 || object.faceCount < 0 ||
            size_t(object.firstFace) + size_t(object.faceCount) > data.faces.size())
            return false;
    return data.materialLibraries.size() == data.libraryLines.size();
}

} // namespace

int obj_reader_input(const uint8_t* data, size_t size)
{
    ObjData obj;
    ReadError error;
    if (!read_obj(reinterpret_cast<const char*>(data), size, obj, error)) {
        if (error.line < 1 || error.reason.empty())
            __builtin_trap(); // a refusal always names its line and reason
        return 0;
    }
    if (!consistent(obj))
        __builtin_trap();
    if (GroupNode3D* group = build_model(obj, false, [](const std::string&) { return nullptr; }))
        free_model(group);
    return 0;
}

VORTEL_FUZZ_ENTRY(obj_reader_input)
