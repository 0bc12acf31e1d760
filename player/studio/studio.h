// The studio: dev mode (dev_mode.h) plus a web page, served by the player, that shows the demo's tracks,
// events and parameter curves live and edits them. player --studio PORT demo.xml; docs/studio.md.
//
// The HTTP server (studio_server.h) runs on its own threads; everything it asks of the player is done
// here, on the main thread, between frames: in apply_keys, where the clock and the music may move.
// An edit rewrites the document (document_edit.h: only the edited attributes and elements change;
// document_history.h: the old file kept as "demo.xml~", undo and redo) and reloads it at the current time
// in the same frame; the answer goes out once the reload was taken or refused. A refused reload puts the
// file back as it was.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "demo_model.h"
#include "dev_mode.h"
#include "document_history.h"
#include "frame_hooks.h"
#include "frame_loop.h"
#include "studio_document.h"
#include "studio_link.h"
#include "studio_request.h"
#include "studio_server.h"
#include "studio_waveform.h"

class Studio : public FrameHooks
{
public:
    // Starts the server on 127.0.0.1:port (0: a free one) and says its address on standard error.
    // `loop`: the range --loop asked for, or null. Throws BasicException when the port cannot be had.
    Studio(std::string documentPath, std::unique_ptr<Demo>& demo, uint16_t port, const LoopRange* loop);
    ~Studio() override;

    void key_pressed(SDLKey key, SDLMod modifiers) override;
    void hold_at_end(DemoClock& clock, MusicControl* music, uint32_t endTime) override;
    void frame_presented(uint64_t frame, uint32_t t, bool paused) override;
    void apply_keys(DemoClock& clock, MusicControl* music, uint32_t endTime, uint32_t home) override;
    std::unique_ptr<Demo> take_next_demo() override;
    const Demo& adopt(std::unique_ptr<Demo> next) override;
    const LoopRange* loop_range() const override { return looping_ ? &loop_ : nullptr; }

    const std::string& address() const { return address_; }

private:
    // Main thread: one request past the server's checks.
    void handle(const StudioRequest& request, StudioResponder responder);
    void edit(const StudioRequest& request, StudioResponder responder);
    // Writes `text` (or undoes, redoes) and asks for the reload that answers `responder`.
    void rewrite(std::function<bool(std::string*)> write, bool putBackWhenRefused, StudioResponder responder);
    void set_loop(const StudioRequest& request);
    StudioState state_now() const;
    std::string edit_json(uint64_t generation) const; // an edit's answer
    std::string music_path() const;

    std::string path_;
    std::unique_ptr<Demo>& demo_;
    DevMode dev_;
    studio::DocumentHistory history_;
    DocumentExtras extras_;
    MusicWaveform waveform_;
    uint64_t generation_ = 1;
    LoopRange loop_;
    bool looping_ = false;

    // The frame's clock and music while the jobs run in apply_keys.
    DemoClock* clock_ = nullptr;
    MusicControl* music_ = nullptr;
    uint32_t endTime_ = 0;
    uint32_t lastTime_ = 0;
    bool lastPaused_ = false;

    // The edit whose reload is due: answered in take_next_demo.
    StudioResponder pending_;
    bool putBackWhenRefused_ = false;

    StudioLink link_;
    std::unique_ptr<StudioServer> server_; // last: stopped first
    std::string address_;
};
