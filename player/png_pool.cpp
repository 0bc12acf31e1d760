#include "png_pool.h"

#include <algorithm>
#include <cstdio>
#include <png.h>

#include <vortel/plugin.h>

bool write_png(const std::string& path, int width, int height, const uint8_t* rgba)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = info != nullptr;
    if (ok && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_compression_level(png, 1);
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
        png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGBA,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
        png_write_info(png, info);
        for (int y = 0; y < height; ++y)
            png_write_row(png, rgba + size_t(y) * size_t(width) * 4);
        png_write_end(png, nullptr);
    } else {
        ok = false;
    }
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    return std::fclose(file) == 0 && ok;
}

PngPool::PngPool(int width, int height, unsigned threads)
    : width_(width), height_(height), limit_(2 * std::max(threads, 1u))
{
    for (unsigned i = 0; i < threads; ++i)
        workers_.emplace_back([this] { work(); });
}

PngPool::~PngPool()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& worker : workers_)
        worker.join();
}

std::vector<uint8_t> PngPool::take_buffer()
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (spare_.empty())
        return std::vector<uint8_t>(size_t(width_) * height_ * 4);
    std::vector<uint8_t> buffer = std::move(spare_.back());
    spare_.pop_back();
    return buffer;
}

void PngPool::write(std::string path, std::vector<uint8_t> rgba)
{
    if (workers_.empty()) {
        const bool ok = write_png(path, width_, height_, rgba.data());
        std::lock_guard<std::mutex> lock(mutex_);
        spare_.push_back(std::move(rgba));
        if (!ok && failed_.empty())
            failed_ = path;
        throw_failure();
        return;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return jobs_.size() < limit_ || !failed_.empty(); });
    throw_failure();
    jobs_.push_back(Job{std::move(path), std::move(rgba)});
    lock.unlock();
    changed_.notify_all();
}

void PngPool::finish()
{
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return (jobs_.empty() && busy_ == 0) || !failed_.empty(); });
    throw_failure();
}

void PngPool::throw_failure()
{
    if (!failed_.empty())
        throw BasicException::format("Couldn't write the captured frame '%s'.\n", failed_.c_str());
}

void PngPool::work()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return !jobs_.empty() || stopping_; });
        if (jobs_.empty())
            return; // stopping, nothing left
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        ++busy_;
        lock.unlock();
        bool ok = write_png(job.path, width_, height_, job.rgba.data());
        lock.lock();
        --busy_;
        if (!ok && failed_.empty())
            failed_ = job.path;
        spare_.push_back(std::move(job.rgba));
        changed_.notify_all();
    }
}
