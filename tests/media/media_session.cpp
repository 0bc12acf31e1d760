#include "media_session.h"

#include "gl_window.h"
#include "glstate.h"
#include "registry.h"
#include "services.h"

#include <fstream>
#include <memory>

VORTEL_EXPORT bool Vortel_Init(SDL_Surface**, SDL_Surface**, ServicesStruct*);

namespace
{
void keep_line(const char* text)
{
    MediaSession::get().log.push_back(text);
}
} // namespace

MediaSession& MediaSession::get()
{
    static MediaSession session;
    return session;
}

MediaSession::MediaSession()
{
    static GLWindow window(64, 64);
    static std::unique_ptr<GLStateContext> cache;
    windowOk_ = window.ok();
    if (windowOk_) {
        cache = std::make_unique<GLStateContext>(64, 64);
        gls_make_current(cache.get());
    }
    set_texts(&texts);
    services_fill(&services, cache.get());
    services.Log = keep_line;
    registry_set_sink(keep_line);
    Vortel_Init(nullptr, nullptr, &services);
}

bool MediaSession::ok() const
{
    return windowOk_;
}

int32_t MediaSession::text(const std::string& value)
{
    for (size_t i = 0; i < texts.size(); ++i)
        if (texts[i] == value)
            return int32_t(i);
    texts.push_back(value);
    return int32_t(texts.size() - 1);
}

std::vector<std::string> MediaSession::take_log()
{
    std::vector<std::string> lines;
    lines.swap(log);
    return lines;
}

bool MediaSession::logged(const std::string& part)
{
    for (const std::string& line : log)
        if (line.find(part) != std::string::npos)
            return true;
    return false;
}

std::string write_file(const std::string& name, const std::string& bytes)
{
    std::ofstream(name, std::ios::binary) << bytes;
    return name;
}
