// Video from a capture: the frames piped raw into ffmpeg, muxed with the music played from the same demo
// time, so that frame k and the sound at k / fps seconds after the start line up at any frame rate.
#pragma once

#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

// The full path of `program` found on PATH, or empty when it is not there (or not executable).
std::string find_on_path(const char* program);

struct VideoSettings {
    std::string file; // the video to write (its extension chooses the container)
    int width = 0, height = 0;
    int32_t fps = 60;
    std::string music;   // empty: no sound track
    uint32_t from = 0;   // demo time of the first frame, ms: where the music starts
    uint64_t frames = 0; // frames that will be written: the sound track is as long as they are
    std::string codec;   // h264, h265, ffv1 or prores; empty: ffmpeg's usual one for the container
    int crf = -1;        // h264 and h265 only; -1: the encoder's default
    std::string preset;  // h264 and h265 only: ultrafast .. veryslow; empty: the encoder's default
};

// The ffmpeg arguments (without the program name) for the settings: raw RGBA frames on standard input,
// rows from the top; odd sizes padded to even ones for the common pixel format.
std::vector<std::string> ffmpeg_arguments(const VideoSettings& settings);

class VideoEncoder
{
public:
    // Starts `ffmpeg` (a path) with a pipe to its standard input. Throws BasicException when it cannot.
    VideoEncoder(const std::string& ffmpeg, const VideoSettings& settings);
    // Closes the pipe and waits for ffmpeg when finish() was not called (a failed capture).
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // One frame of width * height * 4 bytes, RGBA, top row first. Throws BasicException when ffmpeg
    // stopped taking frames.
    void write_frame(const uint8_t* rgba);

    // Ends the input and waits for ffmpeg. Throws BasicException when it failed.
    void finish();

private:
    int wait_for_ffmpeg();

    VideoSettings settings_;
    int pipe_ = -1;
    pid_t pid_ = -1;
};
