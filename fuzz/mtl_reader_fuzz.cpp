// The MTL reader on arbitrary text: every input is read or refused with its line and reason, without
// memory errors or undefined behaviour; texture file names it keeps are NUL-terminated inside their field.
#include <cstdint>
#include <cstring>

#include "effects/mtl_reader.h"
#include "fuzz_inputs.h"

int mtl_reader_input(const uint8_t* data, size_t size)
{
    std::vector<MtlMaterial> materials;
    ReadError error;
    if (!read_mtl(reinterpret_cast<const char*>(data), size, "models/", materials, error)) {
        if (error.line < 1 || error.reason.empty() || !materials.empty())
            __builtin_trap(); // a refusal names its line and reason and appends nothing
        return 0;
    }
    for (const MtlMaterial& material : materials) {
        const char* name = material.record.textureFileName;
        if (material.name.empty() || std::memchr(name, 0, sizeof material.record.textureFileName) == nullptr)
            __builtin_trap();
    }
    return 0;
}

VORTEL_FUZZ_ENTRY(mtl_reader_input)
