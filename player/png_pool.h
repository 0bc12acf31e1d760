// Captured frames written as PNG files on worker threads, so that the renderer draws the next frame while
// the last ones are compressed. Compression is fast (zlib level 1, one filter for every row): a capture
// is made to be encoded again, not to be kept small.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Writes width x height RGBA pixels, top row first, as the PNG `path`. False when the file cannot be
// written.
bool write_png(const std::string& path, int width, int height, const uint8_t* rgba);

class PngPool
{
public:
    // `threads` workers; 0 writes each frame on the caller's thread, in write(). At most two frames per
    // worker wait, so a slow disk slows the capture instead of filling memory.
    PngPool(int width, int height, unsigned threads);
    // Waits for the frames queued; a failure is not reported here (call finish() for that).
    ~PngPool();
    PngPool(const PngPool&) = delete;
    PngPool& operator=(const PngPool&) = delete;

    // A buffer of width * height * 4 bytes to fill and hand back to write().
    std::vector<uint8_t> take_buffer();

    // Queues `rgba` (from take_buffer()) to be written as `path`. Throws BasicException when an earlier
    // frame could not be written.
    void write(std::string path, std::vector<uint8_t> rgba);

    // Waits until every queued frame is written. Throws BasicException when one could not be.
    void finish();

private:
    struct Job {
        std::string path;
        std::vector<uint8_t> rgba;
    };
    void work();
    void throw_failure(); // with the lock held

    int width_, height_;
    size_t limit_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> jobs_;
    std::vector<std::vector<uint8_t>> spare_;
    size_t busy_ = 0;
    bool stopping_ = false;
    std::string failed_; // the first file that could not be written
    std::vector<std::thread> workers_;
};
