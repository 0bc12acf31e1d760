// Receives the keys pressed while the demo runs.
#pragma once

#include <SDL/SDL_keysym.h>

// Told of every key pressed in the demo window other than Escape, which ends the demo.
class KeyListener
{
public:
    virtual ~KeyListener() = default;
    virtual void key_pressed(SDLKey key, SDLMod modifiers) = 0;
};
