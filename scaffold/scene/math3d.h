// Scene math: free functions on caller-owned float arrays, exported by Scaffold.so to every plug-in.
//
//   vector       3 floats x, y, z
//   matrix       9 floats, row-major (element (r, c) at 3r + c), acting on column vectors: v' = M * v.
//                A product A * B applies B first, then A.
//   quaternion   4 floats x, y, z, w (scalar part last)
//   angles       radians
//
// "normal" means the neutral element: make_normal_mat is the identity, make_normal_vec the zero vector.
// Argument orders are not uniform across the family: read each declaration. Outputs may alias inputs
// (every function reads all of its inputs before it writes), but only the *_self forms are meant for it.
// Nothing here allocates except GetMaxLengthLineairBezier3D (one scratch block per call), and nothing
// reports errors: division by a zero length is avoided only where a function says so.
//
// Index
//   [SECTION] Vectors
//   [SECTION] Matrices
//   [SECTION] Quaternions
//   [SECTION] Bezier curves
#pragma once

//-----------------------------------------------------------------------------
// [SECTION] Vectors
//-----------------------------------------------------------------------------

void make_normal_vec(float* v);                               // v <- (0, 0, 0)
void copy_vec(const float* src, float* dst);                  // dst <- src
void add_vectors_self(const float* a, float* b);              // b <- a + b
void sub_vectors(const float* a, const float* b, float* out); // out <- a - b
void scale_vector_self(float s, float* v);                    // v <- s * v
float dot_product(const float* a, const float* b);
void cross_product(const float* a, const float* b, float* out); // out <- a x b
float vector_length(const float* v);
// r <- sqrt(x^2 + y^2); angle <- atan2(y, x), in -pi .. pi.
void cart_to_polar(float x, float y, float& r, float& angle);

//-----------------------------------------------------------------------------
// [SECTION] Matrices
//-----------------------------------------------------------------------------

void make_normal_mat(float* m);               // identity
void make_normal_mat(double* m);              // identity, 9 doubles in the same layout
void copy_mat(const float* src, float* dst);  // dst <- src
void copy_mat(const double* src, float* dst); // each element converted to float

void mul_mat_vec(const float* v, const float* m, float* out); // out <- m * v (vector first!)
void mul_mat_vec_self(const float* m, float* v);              // v <- m * v (matrix first)
void mul_mat_mat_self(const float* a, float* b);              // b <- a * b (pre-multiply b)
void mul_mat_self_mat(const float* a, float* b);              // b <- b * a (post-multiply b)

// Rotations. x and z turn counter-clockwise for a positive angle (y towards z, x towards y).
// make_roty_mat keeps the engine's own sense: -sin in row 0 and +sin in row 2, so a positive angle
// turns x towards +z, the opposite of the usual right-handed rotation about y. Demos rely on it.
void make_rotx_mat(float* m, float angle);
void make_roty_mat(float* m, float angle);
void make_rotz_mat(float* m, float angle);
void make_scale_mat(float* m, float sx, float sy, float sz); // diagonal sx, sy, sz, zero elsewhere

// Symmetric skews (not rotations), with h = angle / 2:
//   x: m[4] = m[8] = cos h, m[5] = m[7] = -sin h     y: m[0] = m[8] = cos h, m[2] = m[6] = -sin h
//   z: m[0] = m[4] = cos h, m[1] = m[3] = -sin h     all other elements as in the identity
void make_skewx_mat(float* m, float angle);
void make_skewy_mat(float* m, float angle);
void make_skewz_mat(float* m, float angle);

// dst <- src^-1 by the adjugate. A singular src (determinant exactly 0) gives the identity.
void inverse(const float* src, float* dst);

// Rewrites a, b, c in place as an orthonormal set: a is normalised, b loses its a part, c loses its a
// and b parts (both measured on c as passed in), each then normalised. Zero-length results stay zero.
void Gram_Schmid_orthonormalize(float* a, float* b, float* c);

//-----------------------------------------------------------------------------
// [SECTION] Quaternions
//-----------------------------------------------------------------------------

// Rotation matrix -> quaternion, not normalised afterwards. A rotation by pi (trace -1) is handled
// through the largest diagonal element.
void mat_to_quat3(const float* m, float* q);
// Quaternion -> rotation matrix. q is used as given (not normalised first): normalise it yourself.
void quat_to_mat3(const float* q, float* m);
// q <- q / |q| (4-component length); an all-zero q is left unchanged.
void unit_quat_self(float* q);
// Spherical interpolation from q0 (t = 0) to q1 (t = 1); the result is not renormalised.
// No sign flip: when q0 . q1 < 0 it takes the longer arc, so negate one input for the short path.
// |q0 . q1| >= 1 gives q0; nearly parallel inputs (sin of the angle < 0.001) give their mean, nearly
// opposite ones q0.
void slerp(const float* q0, const float* q1, float t, float* out);

//-----------------------------------------------------------------------------
// [SECTION] Bezier curves
//-----------------------------------------------------------------------------

// At most this many control points; the samplers do nothing with more.
constexpr int kMaxBezierControlPoints = 9;

// `samples` values of the 1-D Bezier curve over count control values, at t = i / (samples - 1): the first
// sample is ctrl[0], the last ctrl[count - 1]. Leaves out untouched when samples < 3 or count > 9.
void Get_Bezier(const float* ctrl, int count, int samples, float* out);
// The same in 3-D: control point j at ctrl + j * ctrlStride, output point i at out + i * outStride
// (strides in floats).
void Get_Bezier3D(const float* ctrl, int ctrlStride, int count, int samples, float* out, int outStride);
// `samples` points spaced evenly along the arc length of the curve, limited to maxLength (scene units):
// point 0 is the curve's start and consecutive points lie L / samples apart along the curve, with
// L = min(maxLength, curve length), so the last point stops one step short of L. samples = 1 gives the
// first control point, samples = 2 the first and the last. Does nothing when samples <= 0, count < 1,
// or (for samples >= 3) count > 9. A negative maxLength counts as 0.
void GetMaxLengthLineairBezier3D(const float* ctrl, int ctrlStride, int count, int samples, float maxLength,
                                 float* out, int outStride);
