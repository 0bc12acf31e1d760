#include "video_encoder.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

#include <vortel/plugin.h>

std::string find_on_path(const char* program)
{
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "";
    size_t begin = 0;
    while (begin <= folders.size()) {
        size_t end = folders.find(':', begin);
        if (end == std::string::npos)
            end = folders.size();
        std::string folder = folders.substr(begin, end - begin);
        std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
        begin = end + 1;
    }
    return std::string();
}

std::vector<std::string> ffmpeg_arguments(const VideoSettings& s)
{
    char size[32], seconds[32], duration[32];
    std::snprintf(size, sizeof(size), "%dx%d", s.width, s.height);
    std::snprintf(seconds, sizeof(seconds), "%u.%03u", s.from / 1000, s.from % 1000);
    std::snprintf(duration, sizeof(duration), "%.6f", double(s.frames) / double(s.fps));
    std::vector<std::string> args = {"-hide_banner",
                                     "-loglevel",
                                     "error",
                                     "-nostdin",
                                     "-y",
                                     "-f",
                                     "rawvideo",
                                     "-pix_fmt",
                                     "rgba",
                                     "-s",
                                     size,
                                     "-framerate",
                                     std::to_string(s.fps),
                                     "-i",
                                     "-"};
    if (!s.music.empty()) {
        // -ss and -t before the input: the sound track starts exactly at the first frame's time and is as
        // long as the frames, whatever the music's own length.
        for (const char* a : {static_cast<const char*>("-ss"), static_cast<const char*>(seconds), "-t",
                              static_cast<const char*>(duration), "-i"})
            args.push_back(a);
        args.push_back(s.music);
    }
    for (const char* a : {"-map", "0:v:0"})
        args.push_back(a);
    if (!s.music.empty())
        for (const char* a : {"-map", "1:a:0"})
            args.push_back(a);
    // ffv1 keeps the pixels as they are; prores is 4:2:2 at 10 bits; the others the common 4:2:0.
    const char* encoder = s.codec == "h264"     ? "libx264"
                          : s.codec == "h265"   ? "libx265"
                          : s.codec == "ffv1"   ? "ffv1"
                          : s.codec == "prores" ? "prores_ks"
                                                : nullptr;
    if (encoder)
        for (const char* a : {"-c:v", encoder})
            args.push_back(a);
    if (s.crf >= 0) {
        args.push_back("-crf");
        args.push_back(std::to_string(s.crf));
    }
    if (!s.preset.empty()) {
        args.push_back("-preset");
        args.push_back(s.preset);
    }
    const char* pixels = s.codec == "ffv1" ? "bgr0" : s.codec == "prores" ? "yuv422p10le" : "yuv420p";
    for (const char* a : {"-vf", "pad=ceil(iw/2)*2:ceil(ih/2)*2", "-pix_fmt", pixels})
        args.push_back(a);
    args.push_back(s.file);
    return args;
}

VideoEncoder::VideoEncoder(const std::string& ffmpeg, const VideoSettings& settings) : settings_(settings)
{
    std::vector<std::string> args = ffmpeg_arguments(settings);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(ffmpeg.c_str()));
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    int fds[2];
    if (pipe(fds) != 0)
        throw BasicException::format("Couldn't start ffmpeg for the video '%s'.\n", settings.file.c_str());
    pid_ = fork();
    if (pid_ == 0) {
        dup2(fds[0], 0);
        close(fds[0]);
        close(fds[1]);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(fds[0]);
    if (pid_ < 0) {
        close(fds[1]);
        throw BasicException::format("Couldn't start ffmpeg for the video '%s'.\n", settings.file.c_str());
    }
    pipe_ = fds[1];
    // An ffmpeg that gives up closes the pipe: that is an error to report, not a signal to die of.
    std::signal(SIGPIPE, SIG_IGN);
}

VideoEncoder::~VideoEncoder()
{
    if (pid_ > 0)
        wait_for_ffmpeg();
}

void VideoEncoder::write_frame(const uint8_t* rgba)
{
    size_t left = size_t(settings_.width) * settings_.height * 4;
    while (left > 0 && pipe_ >= 0) {
        ssize_t written = write(pipe_, rgba, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            throw BasicException::format("ffmpeg stopped taking frames for the video '%s'.\n",
                                         settings_.file.c_str());
        rgba += written;
        left -= size_t(written);
    }
}

int VideoEncoder::wait_for_ffmpeg()
{
    if (pipe_ >= 0)
        close(pipe_);
    pipe_ = -1;
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return status;
}

void VideoEncoder::finish()
{
    int status = wait_for_ffmpeg();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw BasicException::format("ffmpeg could not write the video '%s'.\n", settings_.file.c_str());
}
