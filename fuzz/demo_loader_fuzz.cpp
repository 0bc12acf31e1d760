// The demo document loader on arbitrary files: every input must either load or be refused with one of the
// loader's BasicException messages, without memory errors, undefined behaviour or hangs.
#include <cstdint>
#include <cstring>

#include "demo_loader.h"
#include "fuzz_inputs.h"
#include "scratch_file.h"

int demo_loader_input(const uint8_t* data, size_t size)
{
    const std::string path = scratch_path(".xml");
    if (!write_scratch(path, data, size))
        return 0;
    Demo demo;
    try {
        load_demo(path.c_str(), demo);
    } catch (const BasicException& error) {
        // Messages are NUL-terminated inside their 512 bytes.
        if (std::memchr(error.message, 0, sizeof error.message) == nullptr)
            __builtin_trap();
    }
    return 0;
}

VORTEL_FUZZ_ENTRY(demo_loader_input)
