#include "flame_host.h"

#include "emberfold_effects.h"

#include <cstdio>
#include <fstream>
#include <sstream>

FlameHost* FlameHost::current = nullptr;

namespace
{

void host_log(const char* text)
{
    FlameHost::current->log.push_back(text);
}

const char* host_get_text(int32_t index)
{
    const auto& texts = FlameHost::current->texts;
    return index >= 0 && index < int32_t(texts.size()) ? texts[index].c_str() : nullptr;
}

void* host_acquire(uint32_t type, int32_t index, void*, bool, const char* caller, const char* what,
                   bool* outFlag)
{
    FlameHost& host = *FlameHost::current;
    const char* name = host_get_text(index);
    char text[512];
    if (!name) {
        std::snprintf(text, sizeof(text), "%s could not find the name for the %s nr %d", caller, what, index);
        host.log.push_back(text);
        return nullptr;
    }
    if (outFlag)
        *outFlag = true;
    if (type == kType3DGroup && std::string(name) == "flames")
        return &host.group;
    if (type == kTypeTexture && host.textures.count(name))
        return host.textures[name];
    std::snprintf(text, sizeof(text), "%s could not find the %s named %s", caller, what, name);
    host.log.push_back(text);
    return nullptr;
}

int32_t host_release(uint32_t type, int32_t, void*)
{
    if (type == kTypeTexture)
        ++FlameHost::current->textureReleases;
    return 1;
}

} // namespace

FlameHost::FlameHost()
{
    current = this;
    services.Log = host_log;
    services.GetText = host_get_text;
    services.AcquireByIndex = host_acquire;
    services.ReleaseByIndex = host_release;
    text("flames");
    Vortel_Init(nullptr, nullptr, &services);
}

FlameHost::~FlameHost()
{
    Vortel_Quit();
    current = nullptr;
}

int32_t FlameHost::text(const std::string& t)
{
    for (size_t i = 0; i < texts.size(); ++i)
        if (texts[i] == t)
            return int32_t(i);
    texts.push_back(t);
    return int32_t(texts.size() - 1);
}

bool FlameHost::logged(const std::string& line) const
{
    for (const std::string& entry : log)
        if (entry == line + "\n")
            return true;
    return false;
}

std::string write_file(const std::string& name, const std::string& text)
{
    std::ofstream(name) << text;
    return name;
}

std::string TransformText::str() const
{
    std::ostringstream out;
    for (float v : scale)
        out << v << ' ';
    for (float v : skew)
        out << v << ' ';
    for (float v : rotation)
        out << v << ' ';
    for (float v : translation)
        out << v << ' ';
    out << colour << ' ' << weight << '\n';
    for (float v : variations)
        out << v << ' ';
    out << '\n';
    return out.str();
}

std::string description_text(const std::vector<TransformText>& transforms,
                             const std::vector<std::pair<float, int32_t>>& palette, int extension,
                             int symmetry)
{
    std::ostringstream out;
    if (extension < 0)
        out << transforms.size() << '\n';
    else
        out << "0 " << extension << ' ' << transforms.size() << '\n';
    for (const TransformText& t : transforms)
        out << t.str();
    out << palette.size() << '\n';
    for (const auto& stop : palette)
        out << stop.first << ' ' << stop.second << '\n';
    if (extension > 0)
        out << symmetry << '\n';
    return out.str();
}

std::vector<TransformText> triangle_transforms()
{
    std::vector<TransformText> out(3);
    const float corners[3][2] = {{0, 2}, {-1.732f, -1}, {1.732f, -1}};
    for (int k = 0; k < 3; ++k) {
        out[k].translation[0] = corners[k][0] / 2;
        out[k].translation[1] = corners[k][1] / 2;
        out[k].colour = float(k) / 2;
    }
    return out;
}

bool call_show_flame(Event& e, int32_t phase, const ShowFlameWords& w)
{
    return e.call(phase, ShowFlame, w.name, w.x, w.y, w.z, w.qx, w.qy, w.qz, w.qw, w.points, w.pointsFlag,
                  w.buffer, w.colourMode, w.time, w.alpha, w.scale, w.largest, w.smallest, w.batches, w.group,
                  w.cross, w.texture, w.blend);
}
