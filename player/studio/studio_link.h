// What passes between the studio's HTTP threads and the player's main thread. The server threads never
// touch the demo, the GL context or the registry: they hand each request to the main thread as a job and
// wait for its reply, which the main thread gives between frames. The state the page streams is
// published by the main thread once a frame and read by the server threads without waiting on a frame.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <string>

// An HTTP answer: status and JSON body.
struct StudioReply {
    int status = 200;
    std::string body;
};

// The reply slot of one request: the main thread fills it, at once or a few frames later (an edit is
// answered once the player has reloaded the document). Dropped unfilled, the request gets 503.
using StudioResponder = std::shared_ptr<std::promise<StudioReply>>;

// The player as the page sees it.
struct StudioState {
    uint32_t time = 0; // ms
    bool paused = false;
    double fps = 0.0;
    uint64_t generation = 0; // documents played since the start: 1 for the first
    uint32_t runningTime = 0;
    bool looping = false;
    uint32_t loopFrom = 0, loopTo = 0;
    size_t undo = 0, redo = 0;
};

// The state as JSON, as /api/state answers it.
std::string state_json(const StudioState& state);

class StudioLink
{
public:
    using Job = std::function<void(StudioResponder)>;

    // Server threads. Runs `job` on the main thread at the next frame and waits for its reply: 503 when
    // none comes within `timeout` (a frame that takes that long) or the link is closed.
    StudioReply call(Job job, std::chrono::milliseconds timeout);

    // Server threads. Waits `interval` or until the link closes; returns the newest state, false when
    // the link is closed.
    bool next_state(std::chrono::milliseconds interval, StudioState* state);
    StudioState state() const;

    // Main thread, once a frame: the state as it is now, and every job waiting.
    void publish(const StudioState& state);
    void run_jobs();

    // No more jobs: those waiting and those to come get 503; next_state returns false.
    void close();
    bool closed() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable closing_;
    std::deque<std::pair<Job, StudioResponder>> jobs_;
    StudioState state_;
    bool closed_ = false;
};

// A JSON error answer: {"error": message}.
StudioReply studio_error(int status, const std::string& message);
