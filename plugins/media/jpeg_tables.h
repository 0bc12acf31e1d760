// A check of JPEG files before they reach the picture decoder.
#pragma once

#include <cstddef>
#include <cstdint>

namespace media
{

// False when a Huffman table of the JPEG file (a DHT segment, before the first scan or between scans)
// declares more than 256 codes. The decoder copies a table's code lengths into room for 256 without
// counting them, so such a file would write past its tables. Anything that is not a JPEG file is true.
bool jpeg_tables_fit(const uint8_t* data, size_t size);

} // namespace media
