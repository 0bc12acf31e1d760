#include "gl_call_recorder.h"

#include <cstdio>

namespace
{

bool gForward = false;

// Records the call under `name` and, when forwarding, passes it on to the real entry point.
template <auto Member, typename... Args> void call(const char* name, Args... args)
{
    recorded_calls().push_back({name, {double(args)...}});
    if (gForward)
        (gls_gl_functions()->*Member)(args...);
}

using F = GLStateFunctions;

const GLStateFunctions kRecorder = {
    [](uint32_t cap) { call<&F::Enable>("Enable", cap); },
    [](uint32_t cap) { call<&F::Disable>("Disable", cap); },
    [](uint32_t src, uint32_t dst) { call<&F::BlendFunc>("BlendFunc", src, dst); },
    [](uint32_t mode) { call<&F::BlendEquation>("BlendEquation", mode); },
    [](double r, double g, double b, double a) { call<&F::Color4d>("Color4d", r, g, b, a); },
    [](float r, float g, float b, float a) { call<&F::ClearColor>("ClearColor", r, g, b, a); },
    [](bool r, bool g, bool b, bool a) { call<&F::ColorMask>("ColorMask", r, g, b, a); },
    [](bool flag) { call<&F::DepthMask>("DepthMask", flag); },
    [](uint32_t mode) { call<&F::ShadeModel>("ShadeModel", mode); },
    [](uint32_t plane, const double* e) {
        recorded_calls().push_back({"ClipPlane", {double(plane), e[0], e[1], e[2], e[3]}});
        if (gForward)
            gls_gl_functions()->ClipPlane(plane, e);
    },
    [](uint32_t mode) { call<&F::CullFace>("CullFace", mode); },
    [](uint32_t target, uint32_t name) { call<&F::BindTexture>("BindTexture", target, name); },
    [](uint32_t mode) { call<&F::MatrixMode>("MatrixMode", mode); },
    [](int32_t x, int32_t y, int32_t w, int32_t h) { call<&F::Viewport>("Viewport", x, y, w, h); },
    []() { call<&F::LoadIdentity>("LoadIdentity"); },
    [](double l, double r, double b, double t, double n, double f) {
        call<&F::Ortho>("Ortho", l, r, b, t, n, f);
    },
    [](double l, double r, double b, double t, double n, double f) {
        call<&F::Frustum>("Frustum", l, r, b, t, n, f);
    },
};

} // namespace

std::string RecordedCall::str() const
{
    std::string s = name + "(";
    for (size_t i = 0; i < args.size(); ++i) {
        char number[32];
        std::snprintf(number, sizeof(number), "%s%g", i ? "," : "", args[i]);
        s += number;
    }
    return s + ")";
}

std::vector<RecordedCall>& recorded_calls()
{
    static std::vector<RecordedCall> calls;
    return calls;
}

std::vector<std::string> recorded_call_strings()
{
    std::vector<std::string> out;
    for (const RecordedCall& call : recorded_calls())
        out.push_back(call.str());
    return out;
}

const GLStateFunctions* recording_functions(bool forwardToGL)
{
    gForward = forwardToGL;
    return &kRecorder;
}
