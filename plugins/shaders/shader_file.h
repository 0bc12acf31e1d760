// A shader file as the player serves it (OpenFile: the data file first, then disk), watched for changes
// when it came from disk.
//
// Contracts
//  - read() takes the whole file through OpenFile; false when the player has no such file or it is larger
//    than kLargestShader (the reason in `why`).
//  - A file read from disk is watched under the path the player opened (even when it was found in the
//    media folder); one from the data file never changes.
//  - changed_now() compares the file's modification time and size with what they were when last looked
//    at, and is true once per change seen; changed(now) does so at most once every kCheckInterval ms of
//    `now` (SDL_GetTicks). The caller then reads the file again.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace shaders
{

constexpr int64_t kLargestShader = 1 << 20;
constexpr uint32_t kCheckInterval = 250;

class ShaderFile
{
public:
    bool read(const char* name, std::string& text, std::string& why);
    bool changed(uint32_t now);
    bool changed_now();
    const std::string& name() const { return name_; }

private:
    bool stamp_now(timespec& modified, int64_t& size) const;

    std::string name_;
    std::string diskPath_; // empty: not watched
    timespec modified_{};
    int64_t size_ = -1;
    uint32_t lastCheck_ = 0;
};

} // namespace shaders
