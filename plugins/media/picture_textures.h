// 'TXTR' resources made from picture files: the name is the file's path as OpenFile takes it (the packed
// data file first, then the disk). Each texture is uploaded once in the shared GL context, counted per
// holder and deleted (with its GL name) at its last release; it never changes, so its static flag is true.
// "Render1" and "Render2" are Scaffold's off-screen buffers and are never answered here.
#pragma once

namespace media
{

void* acquire_picture(const char* name, void* userData, bool* outFlag); // Texture*, or null (logged)
bool release_picture(const char* name, void* resource);
void release_all_pictures(); // at Vortel_Quit, for holders that never released

} // namespace media
