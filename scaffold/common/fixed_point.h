// Conversions of effect argument words (int32 fixed point) into scene values, shared by the effects.
//
//   positions, offsets    x 0.001 scene units
//   quaternions           x 0.00001 per component (normalised before use, so the scale only matters for
//                         the all-zero quaternion, which stays zero)
//   uniform scales        x 0.00001
//   angles                x 0.001 radians
//   colour channels       only the low 8 bits count
#pragma once

#include <cstdint>

constexpr float kPositionUnit = 0.001f;
constexpr float kQuaternionUnit = 0.00001f;
constexpr float kScaleUnit = 0.00001f;
constexpr float kAngleUnit = 0.001f;

// out <- (x, y, z) x 0.001.
void fixed_position(int32_t x, int32_t y, int32_t z, float* out);

// matrix <- the rotation of the normalised quaternion (qa, qb, qc, qd) x 0.00001 (component order of
// quat_to_mat3). The all-zero quaternion stays zero and gives what quat_to_mat3 makes of it.
void fixed_rotation(int32_t qa, int32_t qb, int32_t qc, int32_t qd, float* matrix);

// matrix <- the rotation of the normalised quaternion (qa, qb, qc, qd) x 0.00001 (component order of
// quat_to_mat3), multiplied with the uniform scale matrix of scale x 0.00001.
void fixed_rotation_scale(int32_t qa, int32_t qb, int32_t qc, int32_t qd, int32_t scale, float* matrix);

// 0xFF000000 | R << 16 | G << 8 | B from the low bytes of the three words.
uint32_t opaque_color(int32_t red, int32_t green, int32_t blue);
