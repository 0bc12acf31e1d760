#include "shader_draw.h"
#include "shader_effects.h"
#include "shader_event.h"

#include <vortel/plugin_helper.h>

#include "glstate.h"
#include "scene/pbuffer.h"
#include "scene/render_visitor.h"
#include "scene/root_node3d.h"
#include "scene/texture.h"

#include <GL/glew.h>

#include <vector>

namespace
{

constexpr const char* kEffect = "ShaderPost";
constexpr const char* kWorld = "theWorld";

// The event's own output, kept for the next frame: two textures at the window's size drawn into in turn
// through one framebuffer object, each top row first like every 'TXTR'.
struct Feedback {
    Texture* textures[2] = {nullptr, nullptr};
    uint32_t framebuffer = 0;
    int current = 0;

    ~Feedback()
    {
        if (framebuffer)
            glDeleteFramebuffers(1, &framebuffer);
        delete textures[0];
        delete textures[1];
    }
    bool ready(int32_t width, int32_t height)
    {
        if (!framebuffer) {
            textures[0] = new Texture(width, height);
            textures[1] = new Texture(width, height);
            glGenFramebuffers(1, &framebuffer);
        }
        return framebuffer != 0 && textures[0]->id != 0 && textures[1]->id != 0;
    }
};

// Feedback pairs outlive their events and serve the next ones: textures made and freed with every
// activation would make the GL driver's memory churn each time a scene starts.
std::vector<Feedback*> gSpareFeedback;

Feedback* take_feedback()
{
    if (gSpareFeedback.empty())
        return new Feedback;
    Feedback* feedback = gSpareFeedback.back();
    gSpareFeedback.pop_back();
    return feedback;
}

struct PostEvent {
    shaders::ShaderEvent shader{kEffect};
    Feedback* feedback = take_feedback();
    bool drawnBefore = false; // until then the previous frame is black
    vortel::Held world;       // "theWorld", the scene root, from the first call to the last

    PostEvent() = default;
    PostEvent(const PostEvent&) = delete;
    PostEvent& operator=(const PostEvent&) = delete;
    ~PostEvent() { gSpareFeedback.push_back(feedback); }
};

// The scene renderer: kept for the library's life so that its lists grow once.
RenderVisitor& visitor()
{
    static RenderVisitor instance;
    instance.Reset();
    return instance;
}

// The scene with its camera into off-screen buffer 0, top row first, on transparent black.
bool render_scene(RootNode3D& world, int32_t width, int32_t height)
{
    gPBuffer->RenderToTexture(0, width, height);
    gls_push(DepthTest, 1);
    RenderVisitor& renderer = visitor();
    world.Accept(renderer);
    const bool haveCamera = renderer.camera != nullptr;
    if (haveCamera)
        renderer.Render(true, true, 0, 0, 0, 0, false);
    else
        renderer.Reset(); // switches off the lights the traversal turned on
    gls_pop(DepthTest);
    gPBuffer->RenderScreen();
    return haveCamera;
}

// Copies the output over the screen's viewport, turning it the window's way up. `screen` is the
// framebuffer the frame is drawn into: the window's, or the player's supersampling target.
void show(uint32_t framebuffer, uint32_t screen, int32_t width, int32_t height)
{
    const GLViewportEntry v = shaders::viewport_from_bottom();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, screen);
    glBlitFramebuffer(0, 0, width, height, v.x, v.y + v.h, v.x + v.w, v.y, GL_COLOR_BUFFER_BIT, GL_LINEAR);
    glBindFramebuffer(GL_FRAMEBUFFER, screen);
}

void draw(PostEvent& event, shaders::ShaderInputs& inputs, int32_t width, int32_t height)
{
    Feedback& feedback = *event.feedback;
    const Texture* scene = gPBuffer->GetTexture(0);
    const Texture* previous =
        event.drawnBefore ? feedback.textures[1 - feedback.current] : &shaders::black_texture();
    event.drawnBefore = true;
    inputs.width = float(width);
    inputs.height = float(height);
    inputs.x0 = 0.0f;
    inputs.y0 = inputs.height;
    inputs.sy = -1.0f;
    for (int c = 0; c < 2; ++c) {
        inputs.channelSize[c][0] = float(width);
        inputs.channelSize[c][1] = float(height);
    }
    GLint screen = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &screen);
    glBindFramebuffer(GL_FRAMEBUFFER, feedback.framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                           feedback.textures[feedback.current]->id, 0);
    gls_push_viewport(0, 0, width, height);
    shaders::draw_over_target(event.shader.program(), inputs, scene->id, previous->id, 0, 0);
    gls_pop_viewport();
    show(feedback.framebuffer, uint32_t(screen), width, height);
    feedback.current = 1 - feedback.current;
}

} // namespace

void shaders::release_post_buffers()
{
    for (Feedback* feedback : gSpareFeedback)
        delete feedback;
    gSpareFeedback.clear();
}

VORTEL_EXPORT bool ShaderPost(StateStruct* state, void** privateData, int32_t shader, int32_t p0, int32_t p1,
                              int32_t p2, int32_t p3)
{
    auto* event = static_cast<PostEvent*>(*privateData);
    state->status = 1;
    if (vortel::is_last_call(state)) {
        delete event;
        *privateData = nullptr;
        return true;
    }
    if (vortel::is_first_call(state)) {
        event = new PostEvent;
        *privateData = event;
        event->shader.start(shader);
        event->world.acquire_named(kType3DGroup, kWorld, kEffect, "3D group");
        return true;
    }
    if (!event)
        return true;
    shaders::ShaderInputs inputs;
    if (!event->shader.frame(state, inputs)) {
        state->status = -1;
        return true;
    }
    const int32_t width = gls_screen_width(), height = gls_screen_height();
    if (!gPBuffer || !event->world.get() || !event->feedback->ready(width, height)) {
        event->shader.tell_once("there is no off-screen target or no scene: it draws nothing");
        state->status = -1;
        return true;
    }
    const int32_t params[4] = {p0, p1, p2, p3};
    for (int i = 0; i < 4; ++i)
        inputs.params[i] = float(params[i]) * 0.001f;
    if (!render_scene(*event->world.as<RootNode3D>(), width, height))
        event->shader.tell_once("the scene has no camera");
    draw(*event, inputs, width, height);
    return true;
}
