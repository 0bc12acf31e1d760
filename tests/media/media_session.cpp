#include "media_session.h"

#include "data_file.h"
#include "gl_window.h"
#include "glstate.h"

#include <fstream>
#include <memory>

VORTEL_EXPORT bool Vortel_Init(SDL_Surface**, SDL_Surface**, ServicesStruct*);

MediaSession& MediaSession::get()
{
    static MediaSession session;
    return session;
}

MediaSession::MediaSession() : StandInHost(Options{})
{
    static GLWindow window(64, 64);
    static std::unique_ptr<GLStateContext> cache;
    windowOk_ = window.ok();
    if (windowOk_) {
        cache = std::make_unique<GLStateContext>(64, 64);
        gls_make_current(cache.get());
    }
    services.glContext = cache.get();
    services.OpenFile = OpenFile;
    services.CloseFile = CloseFile;
    Vortel_Init(nullptr, nullptr, &services);
}

bool MediaSession::ok() const
{
    return windowOk_;
}

bool MediaSession::logged(const std::string& part) const
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
