// Media's picture decoding on arbitrary bytes: the step between the bytes of a 'TXTR' picture file and the
// pixels handed to Texture. A refusal gives a printable reason for the log; a picture it accepts has a
// positive size within the limits and exactly one pixel per place.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_inputs.h"
#include "picture_decode.h"

int picture_decode_input(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> bytes(data, data + size);
    media::DecodedPicture picture;
    std::string reason;
    if (!media::decode_picture(bytes, picture, reason)) {
        if (reason.empty())
            __builtin_trap();
        for (char c : reason)
            if (c < 0x20 || c >= 0x7f)
                __builtin_trap();
        return 0;
    }
    if (picture.width < 1 || picture.height < 1 || picture.width > media::kMaxPictureSide ||
        picture.height > media::kMaxPictureSide ||
        int64_t(picture.width) * picture.height > media::kMaxPicturePixels ||
        picture.pixels.size() != size_t(picture.width) * size_t(picture.height))
        __builtin_trap();
    return 0;
}

VORTEL_FUZZ_ENTRY(picture_decode_input)
