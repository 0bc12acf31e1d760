// Authoring mode (--dev): keys that pause, seek, restart and reload the demo while it plays, and a window
// title showing the demo time and frame rate.
//
// Keys: Space pauses and resumes (the music too); Left / Right seek 1 s back / forward, 10 s with Shift;
// Home goes back to the start (of the loop range, when one is played); R reloads the demo document when
// its contents changed since it was loaded. A reloaded document must name the same libraries in the
// same order (they stay loaded and initialised); one that cannot be read or bound leaves the running
// demo alone, with the reason in the log and on standard error.
//
// The document reloads by itself when it is saved, and so does the demo when a file one of its texts
// names is saved (the document is then read again even though it did not change, so that every event
// starts afresh; a plug-in that keeps what it read by name may still show the old contents).
// At the end of the demo, also after a seek past it, the player does not quit: it pauses on the last
// frame, where the keys still work. The window title says "paused" while the demo is paused.
//
// Test hook: when the environment variable VORTEL_DEV_SCRIPT names a file, the player reads lines
// "FRAME KEY" from it as they are appended and presses KEY (space, left, right, shift+left, shift+right,
// home, r, escape) through the SDL event queue at the first frame numbered FRAME or later (frames count
// from 0 at the first frame). A test can so drive the player step by step by appending to the file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "demo_model.h"
#include "frame_hooks.h"

class DevMode : public FrameHooks
{
public:
    // `demo` is the player's demo: replaced by adopt(). `documentPath` is where it was loaded from.
    DevMode(std::string documentPath, std::unique_ptr<Demo>& demo);
    ~DevMode() override;

    void key_pressed(SDLKey key, SDLMod modifiers) override;

    // Pauses the clock (at endTime, the demo's last frame) and the music.
    void hold_at_end(DemoClock& clock, MusicControl* music, uint32_t endTime) override;

    // Refreshes the window title, presses the script's keys that are due and watches the files.
    void frame_presented(uint64_t frame, uint32_t t, bool paused) override;

    // Space pauses or resumes, the arrows seek, Home goes back to `home`.
    void apply_keys(DemoClock& clock, MusicControl* music, uint32_t endTime, uint32_t home) override;

    // After R was pressed or a watched file was saved: the document read again and bound to the loaded
    // libraries; null when it cannot be used (logged), when it did not change and no file it names was
    // saved either, or when no reload was asked for.
    std::unique_ptr<Demo> take_next_demo() override;

    // Makes `next` the player's demo, the old one is freed. Call it after the old demo's events had
    // their last calls.
    const Demo& adopt(std::unique_ptr<Demo> next) override;

    // What the keys do, for a studio that moves the clock from elsewhere: pause or resume the demo and
    // its music; go to time t (kept within 0 .. endTime).
    void set_paused(DemoClock& clock, MusicControl* music, bool paused);
    void seek_to(DemoClock& clock, MusicControl* music, uint32_t endTime, int64_t t);
    // The document was rewritten by the player itself: read it at the next take_next_demo, and do not
    // take this save for another one when watching the file.
    void request_reload();
    // The document was rewritten by the player itself, to what is loaded now: nothing to reload.
    void note_document_written();
    // Why the last reload was refused; empty when it was not.
    const std::string& refusal() const { return refusal_; }
    double fps() const { return fps_; }

private:
    // What tells that a file was saved: its modification time, size and inode.
    struct FileStamp {
        bool exists = false;
        int64_t modifiedNs = 0, size = 0;
        uint64_t inode = 0;
        bool operator==(const FileStamp& other) const;
    };
    struct WatchedFile {
        std::string path;
        FileStamp stamp;
    };
    static FileStamp stamp_of(const std::string& path);
    void watch_document_files(); // the document and the files its texts name now
    // A few times a second: asks for a reload when the document or a file its texts name was saved.
    void watch_files();
    // Presses the script's keys that are due at `frame` through the SDL event queue.
    void run_script(uint64_t frame);
    // The window title: demo time and frame rate, or "paused", refreshed a few times a second.
    void show_status(uint32_t demoTime, bool paused);
    // The changed document, or null (see take_next_demo).
    std::unique_ptr<Demo> load_changed_document();

    std::string path_;
    std::unique_ptr<Demo>& demo_;
    std::string loadedText_; // the document's bytes as last loaded, to tell whether it changed
    bool pauseToggled_ = false, restart_ = false, reload_ = false;
    bool namedFileSaved_ = false; // a reload must read the document again even when it did not change
    bool heldAtEnd_ = false;
    int64_t seekMs_ = 0;
    std::string refusal_;

    std::vector<WatchedFile> watched_; // [0] is the document
    uint32_t watchTicks_ = 0;

    FILE* script_ = nullptr;
    std::string scriptPending_; // read but not yet complete or not yet due
    struct ScriptKey {
        uint64_t frame;
        std::string key;
    };
    std::vector<ScriptKey> dueKeys_;

    uint32_t titleTicks_ = 0, titleFrames_ = 0;
    double fps_ = 0.0;
    // The newest log message, shown in the title for a while after it came (kMessageShownMs).
    uint64_t messagesSeen_ = 0;
    uint32_t messageTicks_ = 0;
};

// The file's bytes; false when it cannot be read.
bool read_whole_file(const std::string& path, std::string* text);
