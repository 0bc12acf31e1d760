#include "studio.h"

#include <cstdio>

#include "document_edit.h"
#include "error_log.h"
#include "library_host.h"

namespace
{

constexpr int64_t kMaxTime = INT32_MAX;
constexpr size_t kMaxKeys = 10000;

StudioReply ok(const std::string& body)
{
    return {200, body};
}

std::vector<studio::Key> keys_of(const nlohmann::json& body)
{
    const auto found = body.find("keys");
    if (found == body.end() || !found->is_array() || found->size() > kMaxKeys)
        throw StudioBadRequest("\"keys\" must be an array of at most " + std::to_string(kMaxKeys) +
                               " objects {\"time\", \"value\"}");
    std::vector<studio::Key> keys;
    for (const nlohmann::json& key : *found) {
        if (!key.is_object())
            throw StudioBadRequest("each key must be an object {\"time\", \"value\"}");
        const int64_t time = integer_member(key, "time", 0, kMaxTime);
        const int64_t value = integer_member(key, "value", INT32_MIN, INT32_MAX);
        keys.push_back({uint32_t(time), int32_t(value)});
    }
    return keys;
}

} // namespace

Studio::Studio(std::string documentPath, std::unique_ptr<Demo>& demo, uint16_t port, const LoopRange* loop)
    : path_(documentPath), demo_(demo), dev_(documentPath, demo), history_(documentPath),
      extras_(find_document_extras(*demo)), waveform_(music_path())
{
    if (loop) {
        loop_ = *loop;
        looping_ = true;
    }
    std::string error;
    if (!history_.reload_from_disk(&error))
        log_printf("Studio: %s; edits are refused.\n", error.c_str());
    server_ = std::make_unique<StudioServer>(
        link_,
        [this](const StudioRequest& request, StudioResponder responder) { handle(request, responder); }, port,
        program_folder() + "/studio");
    address_ = server_->address();
    std::fprintf(stderr, "Studio: %s\n", address_.c_str());
    log_printf("Studio: serving on 127.0.0.1:%u.\n", unsigned(server_->port()));
}

Studio::~Studio()
{
    server_.reset();
}

std::string Studio::music_path() const
{
    return demo_->hasInputMusicFile ? existing_file(demo_->inputMusicFile, folder_of(path_)) : "";
}

void Studio::key_pressed(SDLKey key, SDLMod modifiers)
{
    dev_.key_pressed(key, modifiers);
}

void Studio::hold_at_end(DemoClock& clock, MusicControl* music, uint32_t endTime)
{
    dev_.hold_at_end(clock, music, endTime);
}

void Studio::frame_presented(uint64_t frame, uint32_t t, bool paused)
{
    dev_.frame_presented(frame, t, paused);
    lastTime_ = t;
    lastPaused_ = paused;
    link_.publish(state_now());
}

StudioState Studio::state_now() const
{
    StudioState state;
    state.time = clock_ ? clock_->now() : lastTime_;
    state.paused = clock_ ? clock_->paused() : lastPaused_;
    state.fps = dev_.fps();
    state.generation = generation_;
    state.runningTime = demo_->runningTime;
    state.looping = looping_;
    state.loopFrom = loop_.from;
    state.loopTo = loop_.to;
    state.undo = history_.undo_depth();
    state.redo = history_.redo_depth();
    return state;
}

void Studio::apply_keys(DemoClock& clock, MusicControl* music, uint32_t endTime, uint32_t home)
{
    dev_.apply_keys(clock, music, endTime, home);
    clock_ = &clock;
    music_ = music;
    endTime_ = endTime;
    link_.run_jobs();
    clock_ = nullptr;
    music_ = nullptr;
}

void Studio::handle(const StudioRequest& request, StudioResponder responder)
{
    const std::string& path = request.path;
    if (request.method == "GET") {
        if (path == "/api/document")
            responder->set_value(ok(document_json(*demo_, path_, generation_, extras_)));
        else if (path == "/api/curve")
            responder->set_value(ok(curve_json(*demo_, integer_query(request, "track", 0, kMaxTime),
                                               integer_query(request, "event", 0, kMaxTime),
                                               integer_query(request, "param", 0, kMaxTime),
                                               integer_query(request, "step", 1, kMaxTime))));
        else if (path == "/api/waveform")
            responder->set_value(ok(waveform_.json(integer_query(request, "points", 1, kMaxTime))));
        else
            responder->set_value(studio_error(404, "there is no " + path));
        return;
    }
    if (path == "/api/seek")
        dev_.seek_to(*clock_, music_, endTime_, integer_member(request.body, "time", 0, kMaxTime));
    else if (path == "/api/pause" || path == "/api/play")
        dev_.set_paused(*clock_, music_, path == "/api/pause");
    else if (path == "/api/loop")
        set_loop(request);
    else if (path == "/api/edit")
        return edit(request, responder);
    else if (path == "/api/undo" || path == "/api/redo") {
        const bool undo = path == "/api/undo";
        if ((undo ? history_.undo_depth() : history_.redo_depth()) == 0)
            return responder->set_value(
                studio_error(409, undo ? "there is nothing to undo" : "there is nothing to redo"));
        return rewrite(
            [this, undo](std::string* error) { return undo ? history_.undo(error) : history_.redo(error); },
            false, responder);
    } else
        return responder->set_value(studio_error(404, "there is no " + path));
    responder->set_value(ok(state_json(state_now())));
}

void Studio::set_loop(const StudioRequest& request)
{
    const auto off = request.body.find("off");
    if (off != request.body.end() && off->is_boolean() && off->get<bool>()) {
        looping_ = false;
        return;
    }
    LoopRange range;
    range.from = uint32_t(integer_member(request.body, "from", 0, kMaxTime));
    range.to = uint32_t(integer_member(request.body, "to", 0, kMaxTime));
    if (range.from >= range.to)
        throw StudioBadRequest("a loop needs \"from\" before \"to\"");
    std::string clamped;
    if (clamp_loop_range(range, demo_->runningTime, &clamped))
        log_printf("Studio: %s\n", clamped.c_str());
    loop_ = range;
    looping_ = true;
    if (clock_->now() < range.from || clock_->now() > range.to)
        dev_.seek_to(*clock_, music_, endTime_, range.from);
}

void Studio::edit(const StudioRequest& request, StudioResponder responder)
{
    const nlohmann::json& body = request.body;
    const auto op = body.find("op");
    if (op == body.end() || !op->is_string())
        throw StudioBadRequest("an edit needs \"op\": \"event\", \"keys\" or \"value\"");
    const int64_t track = integer_member(body, "track", 0, kMaxTime);
    const int64_t eventIndex = integer_member(body, "event", 0, kMaxTime);
    const Event& event = event_at(*demo_, track, eventIndex);
    std::string text = history_.current();
    std::string error;
    bool done = false;
    if (*op == "event") {
        if (event.unread)
            throw StudioBadRequest("this event could not be read from the document");
        const auto time = [&](const char* name, uint32_t now) {
            return body.contains(name) ? uint32_t(integer_member(body, name, 0, kMaxTime)) / 10 * 10 : now;
        };
        const uint32_t start = time("start", event.startTime), end = time("end", event.endTime);
        done = studio::set_event_times(text, size_t(track), size_t(eventIndex), start, end, &error);
    } else if (*op == "keys") {
        const int64_t param = integer_member(body, "param", 0, kMaxTime);
        const Param& multi = param_at(event, param);
        if (multi.kind != kParamMulti)
            throw StudioBadRequest("only multi parameters have keys; this one is not");
        const std::vector<studio::Key> keys = keys_of(body);
        // The four parameters of a quaternion key each give one component of the same keys.
        if (multi.interpolation == kInterpolSqd && keys.size() != multi.keys.size())
            throw StudioBadRequest(
                "a sqd parameter keeps its number of keys (its group of four shares them): "
                "move them instead");
        done = studio::set_param_keys(text, size_t(track), size_t(eventIndex), size_t(param), keys, &error);
    } else if (*op == "value") {
        const int64_t param = integer_member(body, "param", 0, kMaxTime);
        if (param_at(event, param).kind != kParamConstant)
            throw StudioBadRequest("only constant parameters have one value; this one is not");
        done = studio::set_param_value(text, size_t(track), size_t(eventIndex), size_t(param),
                                       int32_t(integer_member(body, "value", INT32_MIN, INT32_MAX)), &error);
    } else {
        throw StudioBadRequest("\"op\" must be \"event\", \"keys\" or \"value\"");
    }
    if (!done)
        return responder->set_value(studio_error(400, error));
    if (text == history_.current())
        return responder->set_value(ok(edit_json(generation_)));
    rewrite([this, text](std::string* writeError) { return history_.write(text, writeError); }, true,
            responder);
}

std::string Studio::edit_json(uint64_t generation) const
{
    return "{\"generation\": " + std::to_string(generation) +
           ", \"undo\": " + std::to_string(history_.undo_depth()) +
           ", \"redo\": " + std::to_string(history_.redo_depth()) + "}";
}

void Studio::rewrite(std::function<bool(std::string*)> write, bool putBackWhenRefused,
                     StudioResponder responder)
{
    if (pending_)
        return responder->set_value(studio_error(409, "the previous edit is still being loaded"));
    std::string error;
    if (!write(&error))
        return responder->set_value(studio_error(history_.changed_on_disk() ? 409 : 500, error));
    dev_.request_reload();
    pending_ = std::move(responder);
    putBackWhenRefused_ = putBackWhenRefused;
}

std::unique_ptr<Demo> Studio::take_next_demo()
{
    std::unique_ptr<Demo> next = dev_.take_next_demo();
    if (!pending_)
        return next;
    StudioResponder responder = std::move(pending_);
    pending_.reset();
    if (!next && !dev_.refusal().empty()) {
        std::string reason = "the player cannot play the edited document: " + dev_.refusal();
        std::string error;
        if (putBackWhenRefused_ && !history_.take_back(&error))
            reason += " (and it could not be put back: " + error + ")";
        dev_.note_document_written();
        responder->set_value(studio_error(400, reason));
        return nullptr;
    }
    responder->set_value(ok(edit_json(next ? generation_ + 1 : generation_)));
    return next;
}

const Demo& Studio::adopt(std::unique_ptr<Demo> next)
{
    const std::string musicBefore = music_path();
    const Demo& demo = dev_.adopt(std::move(next));
    ++generation_;
    find_beat(demo, &extras_);
    if (music_path() != musicBefore)
        waveform_ = MusicWaveform(music_path());
    std::string error;
    if (!history_.reload_from_disk(&error))
        log_printf("Studio: %s\n", error.c_str());
    if (looping_ && clamp_loop_range(loop_, demo.runningTime, &error))
        log_printf("Studio: %s\n", error.c_str());
    return demo;
}
