#include "pictor_host.h"

#include "scene/texture.h"

#include <vector>

PictorHost::PictorHost()
    : StandInHost({/*trimLineEnds*/ true, /*reportMissingText*/ false, /*registryMessages*/ true})
{
    if (window_.ok()) {
        cache_ = std::make_unique<GLStateContext>(kWidth, kHeight);
        gls_make_current(cache_.get());
    }
    groupIndex = serve(kType3DGroup, "scene", &group);
    Vortel_Init(nullptr, nullptr, &services);
}

PictorHost::~PictorHost()
{
    Vortel_Quit();
    gls_make_current(nullptr);
}

std::unique_ptr<Texture> solid_texture(int size, uint32_t color)
{
    std::vector<uint32_t> pixels(size_t(size) * size_t(size), color);
    return std::make_unique<Texture>(pixels.data(), size, size);
}
