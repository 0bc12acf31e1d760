// The flame description reader on arbitrary files (no animation companion beside them), then every use the
// effects make of what it read (flame_use.h).
#include <cstdint>
#include <memory>
#include <unistd.h>

#include "flame_file.h"
#include "flame_use.h"
#include "fuzz_inputs.h"
#include "scratch_file.h"

int flame_file_input(const uint8_t* data, size_t size)
{
    const std::string path = scratch_path(".flame");
    if (!write_scratch(path, data, size))
        return 0;
    unlink((path + "ANI").c_str());
    std::unique_ptr<emberfold::FlameDescription> d(new emberfold::FlameDescription);
    emberfold::make_default_description(*d);
    if (emberfold::read_flame_description(*d, path.c_str()))
        use_description(*d);
    return 0;
}

VORTEL_FUZZ_ENTRY(flame_file_input)
