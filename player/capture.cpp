#include "capture.h"

#include <GL/glew.h>
#include <SDL/SDL.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <thread>
#include <unistd.h>

#include <vortel/plugin.h>

#include "png_pool.h"
#include "video_encoder.h"

namespace
{
// One PNG writer per core; VORTEL_PNG_THREADS=N chooses N (0: frames are written on the player's own
// thread, so that what the player holds in memory at a given frame does not depend on the machine's load).
unsigned png_threads()
{
    if (const char* chosen = std::getenv("VORTEL_PNG_THREADS"))
        return unsigned(std::clamp(std::atoi(chosen), 0, 64));
    return std::max(1u, std::thread::hardware_concurrency());
}
} // namespace

FrameCapture::FrameCapture(std::string folder, int width, int height, bool useOpenGL, SDL_Surface* output,
                           uint64_t expectedFrames)
    : folder_(std::move(folder)), width_(width), height_(height), useOpenGL_(useOpenGL), output_(output),
      expected_(expectedFrames), showProgress_(isatty(2) != 0),
      pngs_(folder_.empty() ? nullptr : std::make_unique<PngPool>(width, height, png_threads()))
{
    if (useOpenGL_ && (GLEW_VERSION_2_1 || GLEW_ARB_pixel_buffer_object)) {
        glGenBuffers(2, pbos_);
        for (unsigned pbo : pbos_) {
            glBindBuffer(GL_PIXEL_PACK_BUFFER, pbo);
            glBufferData(GL_PIXEL_PACK_BUFFER, GLsizeiptr(width_) * height_ * 4, nullptr, GL_STREAM_READ);
        }
        glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    }
}

FrameCapture::~FrameCapture()
{
    if (pbos_[0])
        glDeleteBuffers(2, pbos_);
    if (showProgress_ && written_ > 0)
        std::fputc('\n', stderr);
}

void FrameCapture::prepare()
{
    if (folder_.empty())
        return; // a video only
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    if (error || !std::filesystem::is_directory(folder_, error))
        throw BasicException::format("Couldn't create the capture folder '%s'.\n", folder_.c_str());
}

uint64_t FrameCapture::frame_count(uint32_t from, uint32_t to, int32_t fps)
{
    if (to < from || fps <= 0)
        return 0;
    // The last k with k * 1000 / fps <= to - from is ceil((to - from + 1) * fps / 1000) - 1.
    uint64_t span = uint64_t(to - from) + 1;
    return (span * uint64_t(fps) + 999) / 1000;
}

void FrameCapture::read_gl(uint32_t demoTime)
{
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    if (!pbos_[0]) {
        raw_.resize(size_t(width_) * height_ * 4);
        glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, raw_.data());
        take_gl(raw_.data(), demoTime);
        return;
    }
    glBindBuffer(GL_PIXEL_PACK_BUFFER, pbos_[nextPbo_]);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    take_pending_gl(); // the frame before, from the other buffer object
    nextPbo_ ^= 1;
    pending_ = true;
    pendingTime_ = demoTime;
}

void FrameCapture::take_pending_gl()
{
    if (!pending_)
        return;
    pending_ = false;
    glBindBuffer(GL_PIXEL_PACK_BUFFER, pbos_[nextPbo_ ^ 1]);
    const void* pixels = glMapBuffer(GL_PIXEL_PACK_BUFFER, GL_READ_ONLY);
    if (!pixels) {
        glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
        throw BasicException::format("Couldn't read back the captured frame %llu.\n",
                                     static_cast<unsigned long long>(written_));
    }
    take_gl(static_cast<const uint8_t*>(pixels), pendingTime_);
    glUnmapBuffer(GL_PIXEL_PACK_BUFFER);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
}

void FrameCapture::take_gl(const uint8_t* bottomFirst, uint32_t demoTime)
{
    std::vector<uint8_t> rgba = take_buffer();
    // GL's rows start at the bottom, PNG's at the top.
    size_t row = size_t(width_) * 4;
    for (int y = 0; y < height_; ++y)
        std::copy_n(&bottomFirst[size_t(height_ - 1 - y) * row], row, &rgba[size_t(y) * row]);
    emit(std::move(rgba), demoTime);
}

std::vector<uint8_t> FrameCapture::take_buffer()
{
    if (pngs_)
        return pngs_->take_buffer();
    videoFrame_.resize(size_t(width_) * height_ * 4);
    return std::move(videoFrame_);
}

void FrameCapture::read_surface(std::vector<uint8_t>& rgba)
{
    std::fill(rgba.begin(), rgba.end(), 0);
    if (!output_)
        return;
    SDL_LockSurface(output_);
    const SDL_PixelFormat* format = output_->format;
    int w = std::min(width_, output_->w), h = std::min(height_, output_->h);
    for (int y = 0; y < h; ++y) {
        const uint8_t* line = static_cast<const uint8_t*>(output_->pixels) + size_t(y) * output_->pitch;
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = line + size_t(x) * format->BytesPerPixel;
            uint32_t pixel = 0;
            switch (format->BytesPerPixel) {
            case 1:
                pixel = *p;
                break;
            case 2: {
                uint16_t v;
                std::memcpy(&v, p, 2);
                pixel = v;
                break;
            }
            case 3:
                pixel = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
                break;
            default:
                std::memcpy(&pixel, p, 4);
                break;
            }
            uint8_t* out = &rgba[(size_t(y) * width_ + x) * 4];
            SDL_GetRGB(pixel, output_->format, &out[0], &out[1], &out[2]);
        }
    }
    SDL_UnlockSurface(output_);
}

void FrameCapture::write_frame(uint32_t demoTime)
{
    if (written_ == 0 && !pending_)
        started_ = std::chrono::steady_clock::now();
    if (useOpenGL_) {
        read_gl(demoTime);
        return;
    }
    std::vector<uint8_t> rgba = take_buffer();
    read_surface(rgba);
    emit(std::move(rgba), demoTime);
}

void FrameCapture::emit(std::vector<uint8_t> rgba, uint32_t demoTime)
{
    // What the viewer sees is opaque, whatever the effects left in the alpha channel.
    for (size_t i = 3; i < rgba.size(); i += 4)
        rgba[i] = 255;
    if (encoder_)
        encoder_->write_frame(rgba.data());
    if (pngs_) {
        char name[32];
        std::snprintf(name, sizeof(name), "frame_%05llu.png", static_cast<unsigned long long>(written_));
        pngs_->write(folder_ + "/" + name, std::move(rgba));
    } else {
        videoFrame_ = std::move(rgba); // kept for the next frame
    }
    ++written_;
    if (showProgress_)
        show_progress(demoTime);
}

void FrameCapture::report_summary()
{
    take_pending_gl();
    if (pngs_)
        pngs_->finish();
    if (showProgress_ && written_ > 0)
        std::fputc('\n', stderr);
    showProgress_ = false; // the line is ended
    if (!pngs_)
        return; // the video says how many frames it holds
    std::fprintf(stderr, "%llu frame%s written to %s\n", static_cast<unsigned long long>(written_),
                 written_ == 1 ? "" : "s", folder_.c_str());
}

void FrameCapture::show_progress(uint32_t demoTime)
{
    const int barWidth = 30;
    uint64_t done = std::min(written_, expected_);
    int filled = expected_ ? int(done * barWidth / expected_) : barWidth;
    char bar[barWidth + 1];
    for (int i = 0; i < barWidth; ++i)
        bar[i] = i < filled ? '#' : '-';
    bar[barWidth] = '\0';
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    double rate = seconds > 0 ? double(written_) / seconds : 0;
    unsigned left = rate > 0 ? unsigned(double(expected_ - done) / rate + 0.5) : 0;
    std::fprintf(stderr, "\rcapture [%s] %3d%%  frame %llu/%llu  %u ms  %.1f fps  %u:%02u left ", bar,
                 expected_ ? int(done * 100 / expected_) : 100, static_cast<unsigned long long>(written_),
                 static_cast<unsigned long long>(expected_), demoTime, rate, left / 60, left % 60);
    std::fflush(stderr);
}
