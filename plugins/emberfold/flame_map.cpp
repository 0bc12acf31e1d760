#include "flame_map.h"

namespace emberfold
{

void prepare_map(const FlameTransform& transform, FlameMap& map)
{
    for (int i = 0; i < 9; ++i)
        map.matrix[i] = transform.matrix[i];
    for (int i = 0; i < 3; ++i)
        map.translation[i] = transform.translation[i];
    map.linear = transform.variations[0] > 0 ? transform.variations[0] : 0.0f;
    map.termCount = 0;
    for (int slot = 1; slot < kUsedVariations; ++slot) {
        if (transform.variations[slot] > 0) {
            map.slots[map.termCount] = uint8_t(slot);
            map.weights[map.termCount] = transform.variations[slot];
            ++map.termCount;
        }
    }
    map.sinusoidalOnly = map.linear == 0.0f && map.termCount == 1 && map.slots[0] == 1;
}

void apply_transform(const FlameTransform& transform, const float* p, float* out)
{
    FlameMap map;
    prepare_map(transform, map);
    apply_map(map, p, out);
}

} // namespace emberfold
