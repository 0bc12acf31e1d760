#include "gl_call_recorder.h"

#include <cstdio>

namespace {

bool gForward = false;

void record(const char* name, std::initializer_list<double> args)
{
    recorded_calls().push_back({name, args});
}

const GLStateFunctions* real()
{
    return gForward ? gls_gl_functions() : nullptr;
}

const GLStateFunctions kRecorder = {
    [](uint32_t cap) {
        record("Enable", {double(cap)});
        if (real())
            real()->Enable(cap);
    },
    [](uint32_t cap) {
        record("Disable", {double(cap)});
        if (real())
            real()->Disable(cap);
    },
    [](uint32_t src, uint32_t dst) {
        record("BlendFunc", {double(src), double(dst)});
        if (real())
            real()->BlendFunc(src, dst);
    },
    [](uint32_t mode) {
        record("BlendEquation", {double(mode)});
        if (real())
            real()->BlendEquation(mode);
    },
    [](double r, double g, double b, double a) {
        record("Color4d", {r, g, b, a});
        if (real())
            real()->Color4d(r, g, b, a);
    },
    [](float r, float g, float b, float a) {
        record("ClearColor", {r, g, b, a});
        if (real())
            real()->ClearColor(r, g, b, a);
    },
    [](bool r, bool g, bool b, bool a) {
        record("ColorMask", {double(r), double(g), double(b), double(a)});
        if (real())
            real()->ColorMask(r, g, b, a);
    },
    [](bool flag) {
        record("DepthMask", {double(flag)});
        if (real())
            real()->DepthMask(flag);
    },
    [](uint32_t mode) {
        record("ShadeModel", {double(mode)});
        if (real())
            real()->ShadeModel(mode);
    },
    [](uint32_t plane, const double* eq) {
        record("ClipPlane", {double(plane), eq[0], eq[1], eq[2], eq[3]});
        if (real())
            real()->ClipPlane(plane, eq);
    },
    [](uint32_t mode) {
        record("CullFace", {double(mode)});
        if (real())
            real()->CullFace(mode);
    },
    [](uint32_t target, uint32_t texture) {
        record("BindTexture", {double(target), double(texture)});
        if (real())
            real()->BindTexture(target, texture);
    },
    [](uint32_t mode) {
        record("MatrixMode", {double(mode)});
        if (real())
            real()->MatrixMode(mode);
    },
    [](int32_t x, int32_t y, int32_t w, int32_t h) {
        record("Viewport", {double(x), double(y), double(w), double(h)});
        if (real())
            real()->Viewport(x, y, w, h);
    },
    []() {
        record("LoadIdentity", {});
        if (real())
            real()->LoadIdentity();
    },
    [](double l, double r, double b, double t, double n, double f) {
        record("Ortho", {l, r, b, t, n, f});
        if (real())
            real()->Ortho(l, r, b, t, n, f);
    },
    [](double l, double r, double b, double t, double n, double f) {
        record("Frustum", {l, r, b, t, n, f});
        if (real())
            real()->Frustum(l, r, b, t, n, f);
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
