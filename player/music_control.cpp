#include "music_control.h"

#include <SDL/SDL_mixer.h>

#include "error_log.h"

void MusicControl::pause()
{
    if (music_ && !paused_)
        Mix_PauseMusic();
    paused_ = true;
}

void MusicControl::resume()
{
    if (music_ && paused_)
        Mix_ResumeMusic();
    paused_ = false;
}

void MusicControl::seek(uint32_t t)
{
    if (!music_)
        return;
    bool ogg = Mix_GetMusicType(music_) == MUS_OGG;
    if (!ogg && t != 0) {
        if (!toldUnseekable_)
            log_printf("The music cannot be sought in this format: it plays on where it is.\n");
        toldUnseekable_ = true;
        return;
    }
    if (!Mix_PlayingMusic())
        Mix_PlayMusic(music_, 0);
    if (ogg)
        Mix_SetMusicPosition(t * 0.001);
    else
        Mix_RewindMusic();
    if (paused_)
        Mix_PauseMusic();
}
