#include "common/resource_cache.h"
#include "effects/effect_messages.h"
#include "effects/scaffold_state.h"
#include "effects/screen_effects.h"
#include "scene/material_record.h"

#include <vortel/plugin_helper.h>

namespace
{

constexpr float kChannelUnit = 0.003921569f; // 1 / 255
constexpr float kShininessUnit = 0.01f;

void set_color(float* rgba, int32_t red, int32_t green, int32_t blue)
{
    rgba[0] = float(red) * kChannelUnit;
    rgba[1] = float(green) * kChannelUnit;
    rgba[2] = float(blue) * kChannelUnit;
    rgba[3] = 1.0f;
}

} // namespace

// privateData holds the MaterialRecord this event added, or null when its name was refused: only the
// event that made a material changes and releases it.
VORTEL_EXPORT bool MakeMaterial(StateStruct* state, void** privateData, int32_t name, int32_t aR, int32_t aG,
                                int32_t aB, int32_t dR, int32_t dG, int32_t dB, int32_t sR, int32_t sG,
                                int32_t sB, int32_t extra, int32_t shininess)
{
    state->status = 1;
    const char* materialName = vortel::text(name);
    if (!materialName) {
        vortel::log(msg::kMaterialNoName, int(name));
        state->status = -1;
        return false;
    }
    auto* material = static_cast<MaterialRecord*>(*privateData);
    if (vortel::is_first_call(state)) {
        state->status = 2;
        *privateData = nullptr;
        if (!gScaffold.materialCache || gScaffold.materialCache->contains(materialName)) {
            vortel::log(msg::kMaterialExists, materialName);
            state->status = -1;
            return false;
        }
        material = new MaterialRecord();
        gScaffold.materialCache->add(material, materialName, state->paramsConstant);
        *privateData = material;
        return true;
    }
    if (!material)
        return true;
    if (vortel::is_last_call(state)) {
        gScaffold.materialCache->release(materialName); // drops the creation's reference: the cache frees it
        *privateData = nullptr;
        return true;
    }
    set_color(material->ambient, aR, aG, aB);
    set_color(material->diffuse, dR, dG, dB);
    set_color(material->specular, sR, sG, sB);
    material->opacity = float(extra) * kChannelUnit;
    material->shininess = float(shininess) * kShininessUnit;
    material->illuminationModel = 2;
    material->textureName = 0;
    material->textureFileName[0] = '\0';
    return true;
}
