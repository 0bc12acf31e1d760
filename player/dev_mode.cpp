#include "dev_mode.h"

#include <SDL/SDL.h>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

#include "demo_loader.h"
#include "error_log.h"
#include "library_host.h"
#include "music_control.h"
#include "texts.h"

namespace
{

constexpr uint32_t kTitleRefreshMs = 250;
constexpr uint32_t kMessageShownMs = 10000;
constexpr uint32_t kWatchIntervalMs = 250;

// Logs a message that may or may not end its line, and shows it on standard error: the author is looking
// at the demo, not at the log.
void log_refusal(const char* prefix, const char* message)
{
    size_t length = std::char_traits<char>::length(message);
    bool ends = length > 0 && message[length - 1] == '\n';
    log_printf("%s%s%s", prefix, message, ends ? "" : "\n");
    std::fprintf(stderr, "player: %s%s%s", prefix, message, ends ? "" : "\n");
}

bool script_key(const std::string& name, SDLKey* key, SDLMod* modifiers)
{
    static const struct {
        const char* name;
        SDLKey key;
        SDLMod modifiers;
    } keys[] = {
        {"space", SDLK_SPACE, KMOD_NONE},
        {"left", SDLK_LEFT, KMOD_NONE},
        {"right", SDLK_RIGHT, KMOD_NONE},
        {"shift+left", SDLK_LEFT, KMOD_LSHIFT},
        {"shift+right", SDLK_RIGHT, KMOD_LSHIFT},
        {"home", SDLK_HOME, KMOD_NONE},
        {"r", SDLK_r, KMOD_NONE},
        {"escape", SDLK_ESCAPE, KMOD_NONE},
    };
    for (const auto& entry : keys) {
        if (name == entry.name) {
            *key = entry.key;
            *modifiers = entry.modifiers;
            return true;
        }
    }
    return false;
}

} // namespace

bool read_whole_file(const std::string& path, std::string* text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::stringstream bytes;
    bytes << in.rdbuf();
    *text = bytes.str();
    return !in.bad();
}

DevMode::DevMode(std::string documentPath, std::unique_ptr<Demo>& demo)
    : path_(std::move(documentPath)), demo_(demo)
{
    read_whole_file(path_, &loadedText_);
    watch_document_files();
    if (const char* script = std::getenv("VORTEL_DEV_SCRIPT")) {
        script_ = std::fopen(script, "r");
        if (!script_)
            log_printf("The dev script %s cannot be read.\n", script);
    }
    titleTicks_ = SDL_GetTicks();
    // What effects report while the demo is being worked on (a shader that does not compile, a missing
    // name) shows up at once: on the terminal and in the window's title.
    log_echo_to_stderr(true);
    messagesSeen_ = log_message_count();
}

DevMode::~DevMode()
{
    log_echo_to_stderr(false);
    if (script_)
        std::fclose(script_);
}

void DevMode::key_pressed(SDLKey key, SDLMod modifiers)
{
    int64_t step = (modifiers & KMOD_SHIFT) ? 10000 : 1000;
    switch (key) {
    case SDLK_SPACE:
        pauseToggled_ = !pauseToggled_;
        break;
    case SDLK_LEFT:
        seekMs_ -= step;
        break;
    case SDLK_RIGHT:
        seekMs_ += step;
        break;
    case SDLK_HOME:
        restart_ = true;
        seekMs_ = 0;
        break;
    case SDLK_r:
        reload_ = true;
        break;
    default:
        break;
    }
}

void DevMode::run_script(uint64_t frame)
{
    if (!script_)
        return;
    // Lines appended since the last frame: a line without its end yet waits for the rest.
    char chunk[256];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof(chunk), script_)) > 0)
        scriptPending_.append(chunk, got);
    std::clearerr(script_);
    size_t end;
    while ((end = scriptPending_.find('\n')) != std::string::npos) {
        std::istringstream line(scriptPending_.substr(0, end));
        scriptPending_.erase(0, end + 1);
        ScriptKey entry{};
        if (line >> entry.frame >> entry.key)
            dueKeys_.push_back(entry);
    }
    for (size_t i = 0; i < dueKeys_.size();) {
        SDLKey key;
        SDLMod modifiers;
        if (dueKeys_[i].frame > frame) {
            ++i;
            continue;
        }
        if (script_key(dueKeys_[i].key, &key, &modifiers)) {
            SDL_Event event{};
            event.type = SDL_KEYDOWN;
            event.key.state = SDL_PRESSED;
            event.key.keysym.sym = key;
            event.key.keysym.mod = modifiers;
            SDL_PushEvent(&event);
        } else {
            log_printf("The dev script names no key '%s'.\n", dueKeys_[i].key.c_str());
        }
        dueKeys_.erase(dueKeys_.begin() + long(i));
    }
}

void DevMode::frame_presented(uint64_t frame, uint32_t t, bool paused)
{
    show_status(t, paused);
    run_script(frame);
    watch_files();
}

void DevMode::apply_keys(DemoClock& clock, MusicControl* music, uint32_t endTime, uint32_t home)
{
    if (pauseToggled_) {
        set_paused(clock, music, !clock.paused());
        pauseToggled_ = false;
    }
    if (restart_ || seekMs_ != 0) {
        seek_to(clock, music, endTime, restart_ ? int64_t(home) : int64_t(clock.now()) + seekMs_);
        restart_ = false;
        seekMs_ = 0;
    }
}

void DevMode::set_paused(DemoClock& clock, MusicControl* music, bool paused)
{
    if (paused == clock.paused())
        return;
    if (paused) {
        clock.pause();
        if (music)
            music->pause();
    } else {
        clock.resume();
        if (music)
            music->resume();
    }
}

void DevMode::seek_to(DemoClock& clock, MusicControl* music, uint32_t endTime, int64_t t)
{
    const uint32_t target = uint32_t(std::clamp<int64_t>(t, 0, endTime));
    heldAtEnd_ = heldAtEnd_ && target >= endTime;
    clock.seek(target);
    if (music)
        music->seek(target);
}

void DevMode::request_reload()
{
    reload_ = true;
    note_document_written();
}

void DevMode::note_document_written()
{
    watched_[0].stamp = stamp_of(path_);
}

void DevMode::hold_at_end(DemoClock& clock, MusicControl* music, uint32_t endTime)
{
    if (!clock.paused()) {
        clock.pause();
        if (music)
            music->pause();
    }
    clock.seek(endTime);
    if (!heldAtEnd_)
        log_printf("Dev: the demo ends at %u ms; paused on its last frame (Escape quits).\n", endTime);
    heldAtEnd_ = true;
}

bool DevMode::FileStamp::operator==(const FileStamp& other) const
{
    return exists == other.exists && modifiedNs == other.modifiedNs && size == other.size &&
           inode == other.inode;
}

DevMode::FileStamp DevMode::stamp_of(const std::string& path)
{
    FileStamp stamp;
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return stamp;
    stamp.exists = true;
    stamp.modifiedNs = int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    stamp.size = int64_t(info.st_size);
    stamp.inode = uint64_t(info.st_ino);
    return stamp;
}

void DevMode::watch_document_files()
{
    // A file already watched keeps the stamp it was last seen with: a save since then is still noticed.
    std::vector<WatchedFile> before = std::move(watched_);
    watched_.clear();
    auto watch = [&](const std::string& path) {
        for (const WatchedFile& watched : watched_)
            if (watched.path == path)
                return;
        for (const WatchedFile& old : before)
            if (old.path == path) {
                watched_.push_back(old);
                return;
            }
        FileStamp stamp = stamp_of(path);
        if (stamp.exists || watched_.empty())
            watched_.push_back({path, stamp});
    };
    watch(path_);
    const std::string folder = folder_of(path_);
    for (const std::string& text : demo_->texts)
        if (!text.empty())
            watch(existing_file(text, folder));
}

void DevMode::watch_files()
{
    uint32_t now = SDL_GetTicks();
    if (now - watchTicks_ < kWatchIntervalMs)
        return;
    watchTicks_ = now;
    for (size_t i = 0; i < watched_.size(); ++i) {
        FileStamp stamp = stamp_of(watched_[i].path);
        if (stamp == watched_[i].stamp)
            continue;
        watched_[i].stamp = stamp;
        // A document being saved may be gone for a moment: wait until it is back.
        if (!stamp.exists)
            continue;
        log_printf("Reload: %s was saved.\n", watched_[i].path.c_str());
        reload_ = true;
        namedFileSaved_ = namedFileSaved_ || i > 0;
    }
}

std::unique_ptr<Demo> DevMode::take_next_demo()
{
    if (!reload_)
        return nullptr;
    reload_ = false;
    refusal_.clear();
    return load_changed_document();
}

std::unique_ptr<Demo> DevMode::load_changed_document()
{
    std::string text;
    if (!read_whole_file(path_, &text)) {
        log_printf("Reload: %s cannot be read; the demo goes on unchanged.\n", path_.c_str());
        refusal_ = "the document cannot be read";
        return nullptr;
    }
    if (text == loadedText_ && !namedFileSaved_) {
        log_printf("Reload: %s has not changed.\n", path_.c_str());
        return nullptr;
    }
    auto next = std::make_unique<Demo>();
    try {
        load_demo(path_.c_str(), *next);
        share_libraries(*next, *demo_);
        bind_events(*next);
    } catch (const BasicException& e) {
        log_refusal("Reload refused, the demo goes on unchanged: ", e.message);
        refusal_ = e.message;
        return nullptr;
    }
    loadedText_ = text;
    namedFileSaved_ = false;
    if (next->runningTime == 0)
        next->runningTime = 1;
    log_printf("Reload: %s loaded.\n", path_.c_str());
    return next;
}

const Demo& DevMode::adopt(std::unique_ptr<Demo> next)
{
    set_texts(&next->texts);
    // The libraries now belong to the new document; the old one is freed without unloading them.
    demo_ = std::move(next);
    watch_document_files();
    heldAtEnd_ = false;
    return *demo_;
}

void DevMode::show_status(uint32_t demoTime, bool paused)
{
    ++titleFrames_;
    uint32_t now = SDL_GetTicks();
    uint32_t elapsed = now - titleTicks_;
    if (elapsed < kTitleRefreshMs)
        return;
    fps_ = titleFrames_ * 1000.0 / elapsed;
    titleFrames_ = 0;
    titleTicks_ = now;
    if (log_message_count() != messagesSeen_) {
        messagesSeen_ = log_message_count();
        messageTicks_ = now;
    }
    char title[320];
    int length = 0;
    if (paused)
        length = std::snprintf(title, sizeof(title), "Vortel  %u.%03u s  paused", demoTime / 1000,
                               demoTime % 1000);
    else
        length = std::snprintf(title, sizeof(title), "Vortel  %u.%03u s  %.1f fps", demoTime / 1000,
                               demoTime % 1000, fps_);
    if (messageTicks_ != 0 && now - messageTicks_ < kMessageShownMs && length > 0)
        std::snprintf(title + length, sizeof(title) - size_t(length), "  |  %s",
                      log_newest_message().c_str());
    SDL_WM_SetCaption(title, "Vortel");
}
