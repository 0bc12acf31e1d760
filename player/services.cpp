#include "services.h"

#include <SDL/SDL_mixer.h>

#include "data_file.h"
#include "error_log.h"
#include "registry.h"

namespace
{
int32_t gUserVolume = 255;
int32_t gLastLevel = -1;
} // namespace

void set_user_volume(int32_t volume)
{
    gUserVolume = volume;
}
int32_t user_volume()
{
    return gUserVolume;
}

void SetMusicLevel(int32_t level)
{
    if (level == gLastLevel)
        return;
    // 64-bit product: out-of-range levels from a demo must not overflow.
    int64_t scaled = int64_t(level) * gUserVolume / 255;
    Mix_VolumeMusic(int(scaled < INT32_MIN ? INT32_MIN : scaled > INT32_MAX ? INT32_MAX : scaled));
    gLastLevel = level;
}

void reset_music_level()
{
    gLastLevel = -1;
}

void services_fill(ServicesStruct* services, GLStateContext* glContext)
{
    services->glContext = glContext;
    services->Log = Log;
    services->SetMusicLevel = SetMusicLevel;
    services->AcquireByIndex = AcquireByIndex;
    services->AcquireByName = AcquireByName;
    services->ReleaseByIndex = ReleaseByIndex;
    services->ReleaseByName = ReleaseByName;
    services->RegisterType = RegisterType;
    services->GetText = GetText;
    services->OpenFile = OpenFile;
    services->CloseFile = CloseFile;
}
