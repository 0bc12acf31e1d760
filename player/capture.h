// Offline rendering: every frame read back before it is presented and written as DIR/frame_NNNNN.png
// (frame numbers from 00000, five digits or more) and/or to a video, with a one-line progress bar on
// stderr when stderr is a terminal.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct SDL_Surface;

class PngPool;
class VideoEncoder;

class FrameCapture
{
public:
    // An empty folder: no PNG files (a video only). width x height: the window's size. Without OpenGL, frames
    // are read from `output` (output surface 0) instead of the GL back buffer. expectedFrames only feeds the
    // progress bar.
    FrameCapture(std::string folder, int width, int height, bool useOpenGL, SDL_Surface* output,
                 uint64_t expectedFrames);
    ~FrameCapture(); // ends the progress line
    FrameCapture(const FrameCapture&) = delete;
    FrameCapture& operator=(const FrameCapture&) = delete;

    // Creates the folder (and its parents) when missing. Throws BasicException when it cannot.
    void prepare();

    // Reads the frame now drawn and queues the next PNG (written on worker threads). With OpenGL the
    // read-back goes into one of two pixel buffer objects in turn and the frame is taken out of it at the
    // next call, so the renderer does not wait for it. Throws
    // BasicException when a frame could not be written (a missing frame would make the capture useless):
    // here for an earlier frame, or in report_summary() for the last ones.
    void write_frame(uint32_t demoTime);

    // Every frame written from now on also goes to `encoder` (not owned; null: none).
    void set_encoder(VideoEncoder* encoder) { encoder_ = encoder; }

    uint64_t frames_written() const { return written_; }

    // Takes out the last frame read, waits for the frames still being written, ends the progress line and
    // tells stderr, terminal or not, "N frames written to DIR".
    void report_summary();

    // The number of frames the fixed clock (from + k * 1000 / fps) gives while it reads at most `to`.
    static uint64_t frame_count(uint32_t from, uint32_t to, int32_t fps);

private:
    void read_gl(uint32_t demoTime);
    void take_gl(const uint8_t* bottomFirst, uint32_t demoTime); // flips the rows, then emit()
    void take_pending_gl();                                      // the frame in pbos_[nextPbo_ ^ 1]
    std::vector<uint8_t> take_buffer(); // from the PNG workers, or the one kept when there are none
    void read_surface(std::vector<uint8_t>& rgba);
    void emit(std::vector<uint8_t> rgba, uint32_t demoTime); // to the encoder and the PNG workers
    void show_progress(uint32_t demoTime);

    std::string folder_;
    int width_, height_;
    bool useOpenGL_;
    SDL_Surface* output_;
    uint64_t expected_;
    uint64_t written_ = 0;
    bool showProgress_;
    VideoEncoder* encoder_ = nullptr;
    std::unique_ptr<PngPool> pngs_;   // null: a video only, no folder
    std::vector<uint8_t> videoFrame_; // the one frame buffer of a video only
    std::vector<uint8_t> raw_;        // GL's rows, bottom first, when there are no pixel buffer objects
    unsigned pbos_[2] = {0, 0};
    unsigned nextPbo_ = 0;
    bool pending_ = false; // a frame waits in pbos_[nextPbo_ ^ 1]
    uint32_t pendingTime_ = 0;
    std::chrono::steady_clock::time_point started_;
};
