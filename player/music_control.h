// The demo's music as the frame loop moves through the demo: pausing, resuming and seeking with the
// picture. Main thread only; the music itself plays on SDL_mixer's audio thread.
#pragma once

#include <cstdint>

typedef struct _Mix_Music Mix_Music;

class MusicControl
{
public:
    // `music` is playing (or null: no music, every call does nothing); not owned.
    explicit MusicControl(Mix_Music* music) : music_(music) {}

    void pause();
    void resume();

    // Moves the music to demo time t (ms). Ogg Vorbis music is sought exactly; other formats can only go
    // back to the start, and stay where they are for any other time (said once in the log). Music that
    // had played to its end starts again. A paused music stays paused.
    void seek(uint32_t t);

private:
    Mix_Music* music_;
    bool paused_ = false;
    bool toldUnseekable_ = false;
};
