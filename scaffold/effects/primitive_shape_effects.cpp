// Rectangle3D, Triangle3D, Oval3D and Cube3D: one node per event, rebuilt only when what it is built from
// (sizes and colour) changes.
#include "effects/primitive_effects.h"

#include "common/marker_colors.h"
#include "effects/primitive_placement.h"
#include "scene/axis_marker3d.h"
#include "scene/flat_cube3d.h"
#include "scene/flat_oval3d.h"
#include "scene/flat_rect3d.h"
#include "scene/flat_triangle3d.h"

#include <array>
#include <vortel/plugin_helper.h>

namespace
{

constexpr int kOvalSegments = 10;
constexpr float kRoundnessUnit = 0.01f;

// Kept in privateData from the first call to the last; owns the node and the marker.
template <size_t N> struct ShapeRecord {
    std::array<int32_t, N> built; // the words the node was built from, the packed colour last
    Poly3D* node;
    AxisMarker3D marker{kMarkerColorX, kMarkerColorY, kMarkerColorZ};

    ~ShapeRecord() { delete node; }
};

// The lifecycle every shape shares. make(words) builds the node.
template <size_t N, typename Make>
bool run_shape(StateStruct* state, void** privateData, const std::array<int32_t, N>& words, Make make,
               const PrimitiveLook& look, const PrimitivePlacement& where, const char* caller)
{
    state->status = 1;
    auto* record = static_cast<ShapeRecord<N>*>(*privateData);
    if (vortel::is_first_call(state)) {
        state->status = 2;
        record = new ShapeRecord<N>{words, make(words)};
        *privateData = record;
        return true;
    }
    if (vortel::is_last_call(state)) {
        delete record;
        *privateData = nullptr;
        return true;
    }
    if (!record)
        return true;
    if (record->built != words) {
        state->status = 2;
        delete record->node;
        record->node = nullptr;
        record->node = make(words);
        record->built = words;
    }
    hang_primitive(*record->node, &record->marker, look, where, caller);
    return true;
}

} // namespace

VORTEL_EXPORT bool Rectangle3D(StateStruct* state, void** privateData, int32_t w, int32_t h, int32_t red,
                               int32_t green, int32_t blue, int32_t x, int32_t y, int32_t z, int32_t qa,
                               int32_t qb, int32_t qc, int32_t qd, int32_t opacity, int32_t blendSrc,
                               int32_t blendDst, int32_t scale, int32_t group, int32_t showMarker)
{
    const std::array<int32_t, 3> words = {w, h, int32_t(primitive_color(0, red, green, blue))};
    auto make = [](const std::array<int32_t, 3>& v) -> Poly3D* {
        return new FlatRect3D(v[0], v[1], uint32_t(v[2]));
    };
    return run_shape(state, privateData, words, make, {blendSrc, blendDst, true, opacity},
                     {x, y, z, qa, qb, qc, qd, scale, group, showMarker}, "ShowFlatRect");
}

VORTEL_EXPORT bool Triangle3D(StateStruct* state, void** privateData, int32_t b, int32_t h, int32_t red,
                              int32_t green, int32_t blue, int32_t x, int32_t y, int32_t z, int32_t qa,
                              int32_t qb, int32_t qc, int32_t qd, int32_t opacity, int32_t blendSrc,
                              int32_t blendDst, int32_t scale, int32_t group, int32_t showMarker)
{
    const std::array<int32_t, 3> words = {b, h, int32_t(primitive_color(0, red, green, blue))};
    auto make = [](const std::array<int32_t, 3>& v) -> Poly3D* {
        return new FlatTriangle3D(v[0], v[1], uint32_t(v[2]));
    };
    return run_shape(state, privateData, words, make, {blendSrc, blendDst, true, opacity},
                     {x, y, z, qa, qb, qc, qd, scale, group, showMarker}, "Triangle");
}

VORTEL_EXPORT bool Oval3D(StateStruct* state, void** privateData, int32_t rx, int32_t ry, int32_t roundness,
                          int32_t red, int32_t green, int32_t blue, int32_t x, int32_t y, int32_t z,
                          int32_t qa, int32_t qb, int32_t qc, int32_t qd, int32_t alpha, int32_t blendSrc,
                          int32_t blendDst, int32_t scale, int32_t group, int32_t showMarker)
{
    const std::array<int32_t, 4> words = {rx, ry, roundness,
                                          int32_t(primitive_color(alpha, red, green, blue))};
    auto make = [](const std::array<int32_t, 4>& v) -> Poly3D* {
        return new FlatOval3D(v[0], v[1], kOvalSegments, float(v[2]) * kRoundnessUnit, uint32_t(v[3]));
    };
    return run_shape(state, privateData, words, make, {blendSrc, blendDst, false, 0},
                     {x, y, z, qa, qb, qc, qd, scale, group, showMarker}, "Oval3D");
}

VORTEL_EXPORT bool Cube3D(StateStruct* state, void** privateData, int32_t size, int32_t red, int32_t green,
                          int32_t blue, int32_t x, int32_t y, int32_t z, int32_t qa, int32_t qb, int32_t qc,
                          int32_t qd, int32_t alpha, int32_t blendSrc, int32_t blendDst, int32_t scale,
                          int32_t group, int32_t showMarker)
{
    const std::array<int32_t, 2> words = {size, int32_t(primitive_color(alpha, red, green, blue))};
    auto make = [](const std::array<int32_t, 2>& v) -> Poly3D* {
        auto* cube = new FlatCube3D(v[0], uint32_t(v[1]));
        cube->SetColor(uint32_t(v[1]));
        return cube;
    };
    return run_shape(state, privateData, words, make, {blendSrc, blendDst, false, 0},
                     {x, y, z, qa, qb, qc, qd, scale, group, showMarker}, "Cube3D");
}
