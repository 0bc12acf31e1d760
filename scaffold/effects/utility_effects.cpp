#include "effects/screen_effects.h"
#include "glstate.h"

#include <GL/glew.h>
#include <algorithm>
#include <vortel/plugin_helper.h>

VORTEL_EXPORT bool LoaderBarWhiteOnBlack(StateStruct* state, void**, int32_t progress)
{
    if (!vortel::is_running_call(state))
        return true;
    const int32_t screenW = gls_screen_width(), screenH = gls_screen_height();
    const int32_t w = int32_t(int64_t(std::clamp(progress, 0, 10000)) * screenW / 10000);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (w <= 0)
        return true; // an empty bar: an empty viewport and projection would draw nothing anyway

    const float h = float(screenH);
    const float top = h * 9.0f * 0.05f, bottom = h * 11.0f * 0.05f;
    gls_push_viewport(0, 0, w, screenH);
    gls_push_projection(0.0, w, screenH, 0.0, -1.0, 1.0, true);
    gls_push_texture_enable(false);
    gls_push(Color, 0xFFFFFFFF);
    glBegin(GL_QUADS);
    glVertex2f(0.0f, top);
    glVertex2f(0.0f, bottom);
    glVertex2f(float(w), bottom);
    glVertex2f(float(w), top);
    glEnd();
    gls_pop(Color);
    gls_pop_texture_enable();
    gls_pop_viewport();
    gls_pop_projection();
    return true;
}

VORTEL_EXPORT bool SetMusicVolume(StateStruct* state, void**, int32_t level)
{
    if (vortel::is_running_call(state) && vortel::gHost.SetMusicLevel)
        vortel::gHost.SetMusicLevel(std::clamp(level, 0, 255));
    return true;
}
