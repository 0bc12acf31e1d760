// The flame animation companion reader on arbitrary files, beside a sound description of 1 to 8 transforms
// (the count is the first byte of the input; the rest is the companion), then every use the effects make
// of the animated description (flame_use.h).
#include <cstdint>
#include <memory>
#include <string>

#include "flame_file.h"
#include "flame_use.h"
#include "fuzz_inputs.h"
#include "scratch_file.h"

namespace
{

// count transforms that shrink towards the corners of a square, a palette of three stops, symmetry 2.
std::string description_text(int count)
{
    std::string text = "0 1 " + std::to_string(count) + "\n";
    for (int j = 0; j < count; ++j) {
        text += "0.5 0.5 0.5  0 0 0  1 0 0 0 1 0 0 0 1  ";
        text += std::to_string(j % 2) + " " + std::to_string(j / 2 % 2) + " 0  ";
        text += std::to_string(float(j) / float(count)) + " 1  1";
        for (int v = 1; v < emberfold::kVariationSlots; ++v)
            text += v == 2 ? " 0.25" : " 0";
        text += "\n";
    }
    return text + "3  0 -16776961  0.5 -65536  1 -16711936\n2\n";
}

} // namespace

int flame_ani_input(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const std::string path = scratch_path(".ani.flame");
    const std::string description = description_text(1 + data[0] % 8);
    if (!write_scratch(path, reinterpret_cast<const uint8_t*>(description.data()), description.size()) ||
        !write_scratch(path + "ANI", data + 1, size - 1))
        return 0;
    std::unique_ptr<emberfold::FlameDescription> d(new emberfold::FlameDescription);
    emberfold::make_default_description(*d);
    if (!emberfold::read_flame_description(*d, path.c_str()))
        __builtin_trap(); // the description itself is sound
    use_description(*d);
    return 0;
}

VORTEL_FUZZ_ENTRY(flame_ani_input)
