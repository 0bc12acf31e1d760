#include "studio_link.h"

#include <cstdio>

#include "json_text.h"

std::string state_json(const StudioState& state)
{
    char fps[32];
    std::snprintf(fps, sizeof(fps), "%.1f", state.fps);
    std::string loop = state.looping ? "{\"from\": " + std::to_string(state.loopFrom) +
                                           ", \"to\": " + std::to_string(state.loopTo) + "}"
                                     : "null";
    return "{\"time\": " + std::to_string(state.time) + ", \"paused\": " + (state.paused ? "true" : "false") +
           ", \"fps\": " + fps + ", \"generation\": " + std::to_string(state.generation) +
           ", \"runningTime\": " + std::to_string(state.runningTime) + ", \"loop\": " + loop +
           ", \"undo\": " + std::to_string(state.undo) + ", \"redo\": " + std::to_string(state.redo) + "}";
}

StudioReply studio_error(int status, const std::string& message)
{
    return {status, "{\"error\": " + json_quoted(message) + "}"};
}

StudioReply StudioLink::call(Job job, std::chrono::milliseconds timeout)
{
    auto responder = std::make_shared<std::promise<StudioReply>>();
    std::future<StudioReply> reply = responder->get_future();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (closed_)
            return studio_error(503, "the player is closing");
        jobs_.emplace_back(std::move(job), std::move(responder));
    }
    if (reply.wait_for(timeout) != std::future_status::ready)
        return studio_error(503, "the player did not answer in time (a frame or a reload takes long)");
    try {
        return reply.get();
    } catch (const std::future_error&) {
        return studio_error(503, "the player is closing");
    }
}

bool StudioLink::next_state(std::chrono::milliseconds interval, StudioState* state)
{
    std::unique_lock<std::mutex> lock(mutex_);
    closing_.wait_for(lock, interval, [this] { return closed_; });
    *state = state_;
    return !closed_;
}

StudioState StudioLink::state() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return state_;
}

void StudioLink::publish(const StudioState& state)
{
    std::lock_guard<std::mutex> lock(mutex_);
    state_ = state;
}

void StudioLink::run_jobs()
{
    std::deque<std::pair<Job, StudioResponder>> jobs;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (jobs_.empty())
            return;
        jobs.swap(jobs_);
    }
    for (auto& [job, responder] : jobs)
        job(std::move(responder));
}

void StudioLink::close()
{
    std::deque<std::pair<Job, StudioResponder>> dropped;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
        dropped.swap(jobs_);
    }
    closing_.notify_all();
    // Dropping the responders answers their callers with 503.
}

bool StudioLink::closed() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return closed_;
}
