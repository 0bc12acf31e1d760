#include "effects/scene_effects.h"

#include "effects/effect_messages.h"
#include "effects/scaffold_state.h"
#include "glstate.h"
#include "scene/pbuffer.h"
#include "scene/render_visitor.h"
#include "scene/root_node3d.h"

#include <vortel/plugin_helper.h>

RenderVisitor& scene_visitor()
{
    // Kept for the life of the library: its lists grow to the largest scene once, so that rendering a frame
    // allocates nothing. Made on first use, when a GL state cache is current.
    static RenderVisitor visitor;
    visitor.Reset();
    return visitor;
}

VORTEL_EXPORT bool Clear3D(StateStruct* state, void** privateData)
{
    state->status = 1;
    if (vortel::is_first_call(state))
        *privateData = nullptr;
    else if (vortel::is_running_call(state) && gScaffold.sceneRoot)
        gScaffold.sceneRoot->RemoveAllChildren();
    return true;
}

VORTEL_EXPORT bool Show3D(StateStruct* state, void**, int32_t renderTo, int32_t width, int32_t height,
                          int32_t clear, int32_t red, int32_t green, int32_t blue)
{
    state->status = 1;
    if (renderTo < 0 || renderTo > 2) {
        vortel::log(msg::kShow3DWrongRenderTo);
        state->status = -1;
        return false;
    }
    if (!vortel::is_running_call(state) || !gScaffold.sceneRoot)
        return true;
    if (renderTo != 0) {
        if (!gPBuffer) {
            vortel::log(msg::kNoOffScreenTarget, "Show3D");
            state->status = -1;
            return false;
        }
        gPBuffer->RenderToTexture(renderTo - 1, width, height);
    }

    gls_push(DepthTest, 1);
    RenderVisitor& visitor = scene_visitor();
    gScaffold.sceneRoot->Accept(visitor);
    if (visitor.camera) {
        visitor.Render(clear != 0, renderTo != 0, 0, red, green, blue, false);
    } else {
        vortel::log(msg::kShow3DNoCamera);
        state->status = -1;
        visitor.Reset(); // switches off the lights the traversal turned on
    }
    gls_pop(DepthTest);
    if (renderTo != 0)
        gPBuffer->RenderScreen();
    return true;
}
