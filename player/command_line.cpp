#include "command_line.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

namespace
{

bool is_log_switch(const char* arg)
{
    return !std::strcmp(arg, "log") || !std::strcmp(arg, "Log") || !std::strcmp(arg, "-log") ||
           !std::strcmp(arg, "-Log");
}

// A whole non-negative decimal number that fits in 31 bits; anything else is refused.
bool parse_count(const char* text, int64_t limit, int64_t* out)
{
    if (!text || !*text)
        return false;
    int64_t value = 0;
    for (const char* p = text; *p; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        value = value * 10 + (*p - '0');
        if (value > limit)
            return false;
    }
    *out = value;
    return true;
}

bool parse_size(const char* text, int32_t* width, int32_t* height)
{
    const char* x = std::strchr(text, 'x');
    if (!x)
        return false;
    std::string w(text, x);
    int64_t wv = 0, hv = 0;
    if (!parse_count(w.c_str(), 16384, &wv) || !parse_count(x + 1, 16384, &hv) || wv == 0 || hv == 0)
        return false;
    *width = int32_t(wv);
    *height = int32_t(hv);
    return true;
}

bool parse_range(const char* text, uint32_t* from, uint32_t* to)
{
    const char* dash = std::strchr(text, '-');
    if (!dash)
        return false;
    std::string first(text, dash);
    int64_t a = 0, b = 0;
    if (!parse_count(first.c_str(), INT32_MAX, &a) || !parse_count(dash + 1, INT32_MAX, &b) || a >= b)
        return false;
    *from = uint32_t(a);
    *to = uint32_t(b);
    return true;
}

// K[:SHUTTER]: K sub-frames 1..64, SHUTTER a fraction of the frame interval, 0 < SHUTTER <= 1.
bool parse_motion_blur(const char* text, int32_t* frames, double* shutter)
{
    const char* colon = std::strchr(text, ':');
    std::string count = colon ? std::string(text, colon) : std::string(text);
    int64_t k = 0;
    if (!parse_count(count.c_str(), 64, &k) || k == 0)
        return false;
    double s = 0.5;
    if (colon) {
        char* end = nullptr;
        errno = 0;
        s = std::strtod(colon + 1, &end);
        if (end == colon + 1 || *end || errno || !(s > 0.0 && s <= 1.0))
            return false;
    }
    *frames = int32_t(k);
    *shutter = s;
    return true;
}

} // namespace

std::string default_demo_path(const char* programPath)
{
    std::string path = programPath ? programPath : "";
    size_t nameStart = path.find_last_of('/');
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    size_t dot = path.find_last_of('.');
    // A dot that starts the name (".player") or sits in a directory name is no extension.
    if (dot == std::string::npos || dot <= nameStart)
        return path + ".xml";
    return path.substr(0, dot + 1) + "xml";
}

CommandLine parse_command_line(int argc, const char* const* argv)
{
    CommandLine cl;
    std::vector<const char*> positional;
    bool captureTiming = false;
    bool captureQuality = false;
    auto fail = [&cl](const std::string& message) {
        if (cl.error.empty())
            cl.error = message;
    };
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strncmp(arg, "--", 2) != 0) {
            positional.push_back(arg);
            continue;
        }
        std::string name = arg;
        bool takesValue = name == "--size" || name == "--capture" || name == "--fps" || name == "--from" ||
                          name == "--to" || name == "--video" || name == "--loop" || name == "--repeat" ||
                          name == "--motion-blur" || name == "--supersample" || name == "--crf" ||
                          name == "--codec" || name == "--preset" || name == "--studio";
        const char* value = nullptr;
        if (takesValue) {
            if (i + 1 >= argc) {
                fail(name + " needs a value");
                continue;
            }
            value = argv[++i];
        }
        int64_t number = 0;
        if (name == "--no-setup") {
            cl.noSetup = true;
        } else if (name == "--windowed") {
            cl.noSetup = cl.windowed = true;
        } else if (name == "--fullscreen") {
            cl.fullscreen = true;
        } else if (name == "--size") {
            if (!parse_size(value, &cl.width, &cl.height))
                fail(std::string("--size wants WIDTHxHEIGHT (1..16384 each), not '") + value + "'");
            cl.noSetup = cl.windowed = true;
        } else if (name == "--capture") {
            if (!*value)
                fail("--capture needs a folder");
            cl.captureDir = value;
            cl.noSetup = cl.windowed = true;
        } else if (name == "--fps") {
            if (!parse_count(value, 1000, &number) || number == 0)
                fail(std::string("--fps wants a whole number from 1 to 1000, not '") + value + "'");
            else
                cl.fps = int32_t(number);
            captureTiming = true;
        } else if (name == "--from" || name == "--to") {
            captureTiming = true;
            if (!parse_count(value, INT32_MAX, &number)) {
                fail(name + " wants a time in milliseconds, not '" + value + "'");
            } else if (name == "--from") {
                cl.hasFrom = true;
                cl.from = uint32_t(number);
            } else {
                cl.hasTo = true;
                cl.to = uint32_t(number);
            }
        } else if (name == "--video") {
            if (!*value)
                fail("--video needs a file name");
            cl.videoFile = value;
            cl.noSetup = cl.windowed = true;
        } else if (name == "--crf") {
            if (!parse_count(value, 51, &number))
                fail(std::string("--crf wants a whole number from 0 to 51, not '") + value + "'");
            else
                cl.crf = int32_t(number);
        } else if (name == "--preset") {
            static const char* const presets[] = {"ultrafast", "superfast", "veryfast", "faster",  "fast",
                                                  "medium",    "slow",      "slower",   "veryslow"};
            cl.videoPreset = value;
            if (std::none_of(std::begin(presets), std::end(presets),
                             [&](const char* preset) { return cl.videoPreset == preset; }))
                fail(std::string("--preset wants ultrafast, superfast, veryfast, faster, fast, medium, slow, "
                                 "slower or veryslow, not '") +
                     value + "'");
        } else if (name == "--codec") {
            cl.videoCodec = value;
            if (cl.videoCodec != "h264" && cl.videoCodec != "h265" && cl.videoCodec != "ffv1" &&
                cl.videoCodec != "prores")
                fail(std::string("--codec wants h264, h265, ffv1 or prores, not '") + value + "'");
        } else if (name == "--repeat") {
            if (!parse_count(value, 1000, &number) || number == 0)
                fail(std::string("--repeat wants a whole number from 1 to 1000, not '") + value + "'");
            else
                cl.repeat = int32_t(number);
            captureTiming = true;
        } else if (name == "--motion-blur") {
            if (!parse_motion_blur(value, &cl.motionBlurFrames, &cl.shutter))
                fail(
                    std::string("--motion-blur wants K[:SHUTTER] with K from 1 to 64 and SHUTTER above 0 and "
                                "at most 1, not '") +
                    value + "'");
            captureQuality = true;
        } else if (name == "--supersample") {
            if (!parse_count(value, 4, &number) || number == 0)
                fail(std::string("--supersample wants a whole number from 1 to 4, not '") + value + "'");
            else
                cl.supersample = int32_t(number);
            captureQuality = true;
        } else if (name == "--check") {
            cl.check = true;
        } else if (name == "--describe") {
            cl.describe = true;
        } else if (name == "--dev") {
            cl.dev = true;
        } else if (name == "--studio") {
            if (!parse_count(value, 65535, &number))
                fail(std::string("--studio wants a port from 0 (a free one) to 65535, not '") + value + "'");
            cl.studio = true;
            cl.studioPort = uint16_t(number);
            cl.dev = true;
        } else if (name == "--loop") {
            if (!parse_range(value, &cl.loopFrom, &cl.loopTo))
                fail(std::string("--loop wants FROM-TO in milliseconds with FROM before TO, not '") + value +
                     "'");
            cl.hasLoop = true;
        } else if (name == "--help") {
            cl.help = true;
        } else if (name == "--version") {
            cl.version = true;
        } else {
            fail("unknown option '" + name + "' (see --help)");
        }
    }
    if (cl.fullscreen && (cl.windowed || cl.offline()))
        fail("--fullscreen does not go with --windowed, --size, --capture or --video");
    // An author switches between the demo and the editor: a window, unless full screen is asked for.
    if (cl.dev && !cl.fullscreen)
        cl.windowed = true;
    if (cl.hasFrom && cl.hasTo && cl.to < cl.from)
        fail("--to must not be before --from");
    if (captureTiming && !cl.offline())
        fail("--fps, --from, --to and --repeat only apply to --capture and --video");
    if (captureQuality && !cl.offline())
        fail("--motion-blur and --supersample only apply to --capture and --video");
    if ((cl.crf >= 0 || !cl.videoCodec.empty() || !cl.videoPreset.empty()) && cl.videoFile.empty())
        fail("--crf, --preset and --codec only apply to --video");
    if (cl.crf >= 0 && (cl.videoCodec == "ffv1" || cl.videoCodec == "prores"))
        fail("--crf applies to h264 and h265 (ffv1 is lossless, prores has its own profiles)");
    if (!cl.videoPreset.empty() && (cl.videoCodec == "ffv1" || cl.videoCodec == "prores"))
        fail("--preset applies to h264 and h265 (ffv1 and prores have no presets)");
    if (!cl.videoFile.empty() && cl.repeat > 1)
        fail("--repeat does not go with --video: the music plays once");
    if (cl.offline() && (cl.hasLoop || cl.dev))
        fail("--loop and --dev play in real time: they do not go with --capture or --video");
    if (cl.check && (cl.offline() || cl.dev || cl.hasLoop))
        fail("--check plays nothing: it goes with no --capture, --video, --dev or --loop");
    if (cl.describe) {
        if (argc != int(positional.size()) + 2)
            fail("--describe goes with no other option");
        if (positional.empty())
            fail("--describe needs the effect libraries to describe");
        cl.describeLibraries.assign(positional.begin(), positional.end());
        return cl;
    }

    for (const char* arg : positional)
        cl.verbose = cl.verbose || is_log_switch(arg);
    cl.demoPath = positional.size() > 0 ? positional[0] : default_demo_path(argc > 0 ? argv[0] : nullptr);
    if (positional.size() > 1) {
        cl.hasStartOffset = true;
        cl.startOffset = int32_t(std::atoi(positional[1]));
    }
    if (positional.size() > 2)
        cl.volume = int32_t(std::atoi(positional[2]));
    if (positional.size() > 3)
        cl.gamma = std::atof(positional[3]);
    return cl;
}

const char* command_line_usage()
{
    return "Usage: player [options] [DEMO.xml [START_MS [VOLUME [GAMMA]]]] [-log]\n"
           "\n"
           "Plays the demo described by DEMO.xml (default: the program path with its extension\n"
           "replaced by .xml, e.g. build/bin/player.xml), starting START_MS milliseconds in, with\n"
           "music volume VOLUME (0..255, default 255) and display gamma GAMMA (default 1.0).\n"
           "-log writes the start-up steps to Errorlog.txt as well.\n"
           "\n"
           "Options:\n"
           "  --no-setup      skip the setup window; the video mode comes from SDL.ini or --size\n"
           "  --size WxH      window size in pixels; implies --no-setup and --windowed\n"
           "  --windowed      no full screen; implies --no-setup\n"
           "  --fullscreen    full screen even with --dev\n"
           "  --capture DIR   render offline on a fixed clock and write every frame as\n"
           "                  DIR/frame_NNNNN.png (implies --no-setup and --windowed)\n"
           "  --fps N         capture rate, frames per second (default 60)\n"
           "  --from MS       first captured demo time (default: the start offset)\n"
           "  --to MS         last captured demo time (default: the demo's RunningTime)\n"
           "  --video FILE    encode the frames and the music (from the same start) into FILE\n"
           "                  with ffmpeg; PNG files only when --capture is given too\n"
           "  --codec C       with --video: h264, h265, ffv1 (lossless) or prores\n"
           "  --crf N         with --video and h264 or h265: quality, 0 (best) .. 51\n"
           "  --preset P      with --video and h264 or h265: encoding speed against file size,\n"
           "                  ultrafast .. veryslow (default medium); faster presets give bigger\n"
           "                  files of the same quality\n"
           "  --repeat N      with --capture: capture the range N times over in one run; every\n"
           "                  pass starts its events afresh and the frame numbers run on\n"
           "  --motion-blur K[:S]\n"
           "                  with --capture or --video: every frame is the average of K\n"
           "                  sub-frames (1..64) spread over S of the frame's interval\n"
           "                  (0 < S <= 1, default 0.5)\n"
           "  --supersample N with --capture or --video: draw every frame at N times the width\n"
           "                  and height (1..4) off-screen and filter it down to the window's\n"
           "                  size: smooth edges (OpenGL demos)\n"
           "  --check         load the document and its libraries, report every problem found\n"
           "                  (exit status 1 when there is any); nothing is played\n"
           "  --describe LIBRARY...\n"
           "                  print the effect libraries' descriptions of their effects as JSON\n"
           "                  (the effect reference is made from them); nothing is played\n"
           "  --dev           authoring: a window (not full screen); Space pause, Left/Right seek\n"
           "                  1 s (Shift: 10 s), Home restart, R reload the document, which also\n"
           "                  reloads by itself when it or a file it names is saved; the end of\n"
           "                  the demo pauses on its last frame; time and frame rate in the title\n"
           "  --studio PORT   --dev, and a web page on http://127.0.0.1:PORT (0: a free port) that\n"
           "                  shows the tracks, events and parameter curves live and edits them;\n"
           "                  the address with its access token is printed at the start\n"
           "  --loop FROM-TO  play the range FROM..TO (ms) over and over (kept within the demo's\n"
           "                  RunningTime)\n"
           "  --help          show this text\n"
           "  --version       show the version\n";
}
