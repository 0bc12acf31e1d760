#include "jpeg_tables.h"

namespace media
{

namespace
{

constexpr int kMaxCodes = 256;

// Reads the way the decoder does: bytes past the end read as 0.
struct Bytes {
    const uint8_t* data;
    size_t size;
    size_t at;

    int get8() { return at < size ? data[at++] : (at++, 0); }
    int get16() { return (get8() << 8) | get8(); }
    bool ended() const { return at >= size; }
};

// Walks the tables of one DHT segment as the decoder does: table after table while the segment length
// lasts, each with its class and slot byte, 16 counts and as many values as they add up to.
bool tables_fit(Bytes in)
{
    for (int left = in.get16() - 2; left > 0;) {
        const int q = in.get8();
        if (q >> 4 > 1 || (q & 15) > 3)
            return true; // the decoder stops at this header
        int codes = 0;
        for (int i = 0; i < 16; ++i)
            codes += in.get8();
        if (codes > kMaxCodes)
            return false;
        in.at += size_t(codes);
        left -= 17 + codes;
    }
    return true;
}

// A marker with no length after it: start and end of the image, restart markers, TEM.
bool stands_alone(int marker)
{
    return marker == 0xD8 || marker == 0xD9 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01;
}

// From the byte after a scan's header to the marker that ends its coded data: 0xFF 0x00 is a coded 0xFF,
// restart markers and fill bytes belong to the scan.
void skip_coded_data(Bytes& in)
{
    while (!in.ended()) {
        if (in.get8() != 0xFF)
            continue;
        while (!in.ended() && in.data[in.at] == 0xFF)
            ++in.at;
        if (in.ended())
            return;
        const int next = in.data[in.at];
        if (next != 0x00 && !(next >= 0xD0 && next <= 0xD7)) {
            --in.at; // back on the 0xFF of the marker
            return;
        }
        ++in.at;
    }
}

} // namespace

bool jpeg_tables_fit(const uint8_t* data, size_t size)
{
    // The decoder takes a file for a JPEG when it starts with 0xFF bytes and then the start-of-image code.
    Bytes in{data, size, 0};
    if (in.get8() != 0xFF)
        return true;
    int start = 0xFF;
    while (start == 0xFF && !in.ended())
        start = in.get8();
    if (start != 0xD8)
        return true;
    // Like the decoder, anything between segments that is not a marker is passed over.
    while (!in.ended()) {
        if (in.get8() != 0xFF)
            continue;
        int marker = 0xFF;
        while (marker == 0xFF && !in.ended())
            marker = in.get8();
        if (marker == 0xFF || stands_alone(marker) || marker == 0x00)
            continue;
        const size_t segment = in.at;
        if (marker == 0xC4 && !tables_fit(in))
            return false;
        const int length = in.get16();
        in.at = segment + size_t(length);
        if (marker == 0xDA)
            skip_coded_data(in);
    }
    return true;
}

} // namespace media
