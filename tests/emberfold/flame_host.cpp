#include "flame_host.h"

#include "emberfold_effects.h"

#include <fstream>
#include <sstream>

FlameHost* FlameHost::current = nullptr;

namespace
{

void* serve_group(const char* name, void*, bool* isStatic)
{
    if (std::string(name) != "flames")
        return nullptr;
    *isStatic = true;
    return &FlameHost::current->group;
}

bool take_back_group(const char* name, void*)
{
    return std::string(name) == "flames";
}

void* serve_texture(const char* name, void*, bool* isStatic)
{
    auto found = FlameHost::current->textures.find(name);
    if (found == FlameHost::current->textures.end())
        return nullptr;
    *isStatic = true;
    ++FlameHost::current->textureHolds;
    return found->second;
}

bool take_back_texture(const char* name, void* resource)
{
    auto found = FlameHost::current->textures.find(name);
    if (found == FlameHost::current->textures.end() || found->second != resource)
        return false;
    --FlameHost::current->textureHolds;
    return true;
}

} // namespace

FlameHost::FlameHost() : StandInHost(Options{false, true})
{
    current = this;
    texts[0] = "flames";
    handlers.push_back({kType3DGroup, serve_group, take_back_group});
    handlers.push_back({kTypeTexture, serve_texture, take_back_texture});
    Vortel_Init(nullptr, nullptr, &services);
}

FlameHost::~FlameHost()
{
    Vortel_Quit();
    current = nullptr;
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
