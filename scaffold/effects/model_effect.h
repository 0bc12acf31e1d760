// Object3D: places an imported model ('OBJ3', by file path) into a named 3D group every frame.
//
// Object3D(state, privateData, model, red, green, blue, x, y, z, qa, qb, qc, qd, alpha, blendSrc, blendDst,
//          scale, material, group, showMarker)
//   model, material, group: text indices of the 'OBJ3', 'MTRL' and '3DWR' names (material <= 0: none);
//   colour channels and alpha 0..255; x, y, z x 0.001; quaternion x 0.00001 (normalised before use);
//   scale x 0.00001 (uniform); blend factors are GL enums; showMarker: low byte.
// The event holds the model from its first call to its last. The model's meshes are shared by every event
// that shows the same file: each running call sets their look (a named material on every mesh, leaving
// colour and blending; otherwise no material, the event's colour, opacity and blend factors: the materials
// of the model's MTL file are never shown) and hangs its own wrapper group, which holds them.
#pragma once

#include <vortel/plugin.h>

VORTEL_EXPORT bool Object3D(StateStruct* state, void** privateData, int32_t model, int32_t red, int32_t green,
                            int32_t blue, int32_t x, int32_t y, int32_t z, int32_t qa, int32_t qb, int32_t qc,
                            int32_t qd, int32_t alpha, int32_t blendSrc, int32_t blendDst, int32_t scale,
                            int32_t material, int32_t group, int32_t showMarker);
