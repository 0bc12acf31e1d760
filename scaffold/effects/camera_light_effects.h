// Effects that place the shared camera and the lights of the frame's scene. All return true.
// Units: positions x 0.001, quaternion components x 0.00001 (normalised), aspect x 0.0001, near and far
// in scene units, angles x 0.001 rad, attenuation x 0.0001, colour channels 0..255 (low 8 bits).
// The camera's frustum is always (-1, 1, -1/aspect, 1/aspect, near, far).
#pragma once

#include <vortel/plugin.h>

// Places sceneCamera at (x, y, z) turned by the quaternion and adds it to sceneRoot (every call from the
// first on, without checking whether it is already there).
VORTEL_EXPORT bool SetCamera3D(StateStruct* state, void** privateData, int32_t x, int32_t y, int32_t z,
                               int32_t qa, int32_t qb, int32_t qc, int32_t qd, int32_t aspect, int32_t near,
                               int32_t far);

// Aims sceneCamera at a target T in root space: the position of '3DWR' group `group` (text index, 0 =
// none: T is the origin), of its child `child` when that index is valid, or, with point >= 0 as well,
// where the group places that child for point `point` (GetChildPosition; swarm groups: a swarm point).
// mode 1: eye at T + (d, e, f) x 0.001. mode 2: eye at distance d x 0.001 from T, on the -z side,
// pitched by f and turned by e (x 0.001 rad). Other modes keep the eye where the camera is. The camera is
// added to sceneRoot unless it is already a child; when it was not, it starts from the origin.
VORTEL_EXPORT bool FocusCamera3D(StateStruct* state, void** privateData, int32_t group, int32_t child,
                                 int32_t point, int32_t mode, int32_t d, int32_t e, int32_t f, int32_t aspect,
                                 int32_t near, int32_t far);

// Owns one Light3D (and an axis marker) from its first call to its last; each running call sets its
// colours, attenuation and position and hangs it (and the marker when showMarker's low byte is set) into
// the '3DWR' group `group`. The first call adds nothing and sets status 2.
VORTEL_EXPORT bool SetLight3D(StateStruct* state, void** privateData, int32_t x, int32_t y, int32_t z,
                              int32_t aR, int32_t aG, int32_t aB, int32_t dR, int32_t dG, int32_t dB,
                              int32_t sR, int32_t sG, int32_t sB, int32_t k0, int32_t k1, int32_t k2,
                              int32_t group, int32_t showMarker);
