#include "gl_call_recorder.h"

#include <cstdio>

namespace {

bool gForward = false;

template <typename... Args>
void record(const char* name, Args... args)
{
    recorded_calls().push_back({name, {double(args)...}});
}

#define FORWARD(member, ...)                                                                                   \
    if (gForward)                                                                                              \
    gls_gl_functions()->member(__VA_ARGS__)

const GLStateFunctions kRecorder = {
    [](uint32_t cap) { record("Enable", cap); FORWARD(Enable, cap); },
    [](uint32_t cap) { record("Disable", cap); FORWARD(Disable, cap); },
    [](uint32_t s, uint32_t d) { record("BlendFunc", s, d); FORWARD(BlendFunc, s, d); },
    [](uint32_t mode) { record("BlendEquation", mode); FORWARD(BlendEquation, mode); },
    [](double r, double g, double b, double a) { record("Color4d", r, g, b, a); FORWARD(Color4d, r, g, b, a); },
    [](float r, float g, float b, float a) { record("ClearColor", r, g, b, a); FORWARD(ClearColor, r, g, b, a); },
    [](bool r, bool g, bool b, bool a) { record("ColorMask", r, g, b, a); FORWARD(ColorMask, r, g, b, a); },
    [](bool flag) { record("DepthMask", flag); FORWARD(DepthMask, flag); },
    [](uint32_t mode) { record("ShadeModel", mode); FORWARD(ShadeModel, mode); },
    [](uint32_t plane, const double* e) {
        record("ClipPlane", plane, e[0], e[1], e[2], e[3]);
        FORWARD(ClipPlane, plane, e);
    },
    [](uint32_t mode) { record("CullFace", mode); FORWARD(CullFace, mode); },
    [](uint32_t target, uint32_t name) { record("BindTexture", target, name); FORWARD(BindTexture, target, name); },
    [](uint32_t mode) { record("MatrixMode", mode); FORWARD(MatrixMode, mode); },
    [](int32_t x, int32_t y, int32_t w, int32_t h) { record("Viewport", x, y, w, h); FORWARD(Viewport, x, y, w, h); },
    []() { record("LoadIdentity"); FORWARD(LoadIdentity); },
    [](double l, double r, double b, double t, double n, double f) {
        record("Ortho", l, r, b, t, n, f);
        FORWARD(Ortho, l, r, b, t, n, f);
    },
    [](double l, double r, double b, double t, double n, double f) {
        record("Frustum", l, r, b, t, n, f);
        FORWARD(Frustum, l, r, b, t, n, f);
    },
};

#undef FORWARD

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
