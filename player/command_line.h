// The player's command line.
//
// Positional arguments: demo path, start offset (ms), music volume (0..255), gamma. Any positional slot
// holding "log", "Log", "-log" or "-Log" switches on verbose logging and still counts as that slot's value.
// Arguments starting with "--" are ours; they are taken out before the positional ones are read:
//   --no-setup            skip the setup window (video mode from "SDL.ini" or --size)
//   --size WxH            window size; implies --no-setup and --windowed
//   --windowed            no full screen; implies --no-setup
//   --fullscreen          full screen even with --dev (not with --windowed, --size or --capture)
//   --capture DIR         offline rendering on a fixed clock, frames written as DIR/frame_NNNNN.png;
//                         implies --no-setup and --windowed
//   --fps N               capture rate (default 60)
//   --from MS, --to MS    capture range (default: start offset .. RunningTime)
//   --video FILE          with --capture: the frames and the music encoded into FILE by ffmpeg
//   --codec C, --crf N, --preset P
//                         with --video: the encoder, its quality and its speed (video_encoder.h)
//   --repeat N            with --capture: capture the range N times over in one run, frame numbers running
//                         on; every pass starts its events afresh (soak runs); not with --video
//   --motion-blur K[:S]   with --capture: each frame the average of K sub-frames (1..64) spread over S of
//                         the frame interval (0 < S <= 1, default 0.5)
//   --supersample N       with --capture or --video: every frame drawn at N times the width and height
//                         (1..4) off-screen and box-filtered down to the window's size
//   --check               report the document's problems without playing it
//   --describe            the positional arguments are effect libraries: print their descriptions of
//                         their effects as JSON (effect_describe.h) and play nothing
//   --dev                 authoring keys (dev_mode.h); implies --windowed unless --fullscreen is given,
//                         but not --no-setup
//   --studio PORT         --dev, and the studio's web page on 127.0.0.1:PORT (0: a free port); studio.h
//   --loop FROM-TO        play the range FROM..TO ms over and over; not with --capture; a range past the
//                         demo's RunningTime is clamped at play time (clamp_loop_range)
//   --help, --version
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CommandLine {
    std::string demoPath; // positional 1, or default_demo_path(argv[0])
    bool hasStartOffset = false;
    int32_t startOffset = 0; // positional 2, ms
    int32_t volume = 255;    // positional 3, 0..255 as given (atoi: not clamped)
    double gamma = 1.0;      // positional 4
    bool verbose = false;

    bool noSetup = false;
    bool windowed = false;
    bool fullscreen = false;
    int32_t width = 0, height = 0; // --size; 0 when not given
    std::string captureDir;        // empty: no capture
    int32_t fps = 60;
    bool hasFrom = false, hasTo = false;
    uint32_t from = 0, to = 0; // ms
    std::string videoFile;     // empty: no video
    std::string videoCodec;    // --codec: h264, h265, ffv1 or prores; empty: ffmpeg's for the container
    int32_t crf = -1;          // --crf 0..51 (h264, h265); -1: the encoder's default
    std::string videoPreset;   // --preset: ultrafast .. veryslow (h264, h265); empty: the encoder's default
    int32_t repeat = 1;        // capture passes, 1..1000
    int32_t motionBlurFrames = 1; // --motion-blur: sub-frames per captured frame
    double shutter = 0.5;         // --motion-blur: the part of the frame interval they cover
    int32_t supersample = 1;      // --supersample: rendered at this many times the width and height
    bool check = false, dev = false;
    bool studio = false;
    uint16_t studioPort = 0; // --studio: 0 asks for a free port
    bool describe = false;
    std::vector<std::string> describeLibraries; // with --describe: the positional arguments
    bool hasLoop = false;
    uint32_t loopFrom = 0, loopTo = 0; // ms, loopFrom < loopTo
    bool help = false, version = false;

    // --capture or --video: frames drawn on the fixed clock instead of in real time.
    bool offline() const { return !captureDir.empty() || !videoFile.empty(); }

    std::string error; // non-empty when an option was malformed: the message to show, no line end
};

// Never fails: a malformed option is reported in CommandLine::error.
CommandLine parse_command_line(int argc, const char* const* argv);

// The demo played when no path is given: the program path with the extension of its last path component
// replaced by "xml" ("demo.exe" -> "demo.xml"), or ".xml" appended when that component has no "."
// after its first character ("build/bin/player" -> "build/bin/player.xml").
std::string default_demo_path(const char* programPath);

// The text --help prints.
const char* command_line_usage();
