// 'BEAT' resources read from beat files: the name is the file's path as OpenFile takes it. Patterns never
// change (static flag true). They are evaluated (acquired and released) on every frame, so each file is
// read and parsed once and kept, with a broken file's failure, until Vortel_Quit: the log gets one line
// per broken file, not one per frame.
#pragma once

namespace media
{

void* acquire_beat(const char* name, void* userData, bool* outFlag); // BeatRecord*, or null (logged once)
bool release_beat(const char* name, void* resource);
void forget_beats(); // at Vortel_Quit

} // namespace media
