// Scene math used only inside Scaffold.so (the scene graph and the renderer). These functions are not
// exported: plug-ins cannot link against them and use the functions of scene/math3d.h instead.
// Layouts as in scene/math3d.h. A transform (M, t) maps a point p to M * p + t.
#pragma once

#define VORTEL_SCENE_INTERNAL __attribute__((visibility("hidden")))

VORTEL_SCENE_INTERNAL void unit_vector_self(float* v);                        // v <- v / |v|; zero stays zero
VORTEL_SCENE_INTERNAL void sub_vectors_self(const float* a, float* b);        // b <- b - a
VORTEL_SCENE_INTERNAL void scale_vector(float s, const float* v, float* out); // out <- s * v
VORTEL_SCENE_INTERNAL void mul_mat_mat(const float* a, const float* b, float* out); // out <- b * a
VORTEL_SCENE_INTERNAL float mat_determinant(const float* m); // cofactor expansion along row 0

// Transform b applied after transform a: mOut <- mb * ma, tOut <- mb * ta + tb.
VORTEL_SCENE_INTERNAL void compose_transform(const float* ma, const float* ta, const float* mb,
                                             const float* tb, float* mOut, float* tOut);
// The same in place on a: ma <- mb * ma, ta <- mb * ta + tb.
VORTEL_SCENE_INTERNAL void compose_transform_self(const float* mb, const float* tb, float* ma, float* ta);
// mOut <- inverse(m), tOut <- mOut * (-t). A singular m gives the identity for mOut.
VORTEL_SCENE_INTERNAL void inverse_transform(const float* m, const float* t, float* mOut, float* tOut);
// gl <- the column-major 4x4 matrix [m t; 0 0 0 1] that glLoadMatrixf / glMultMatrixf expect.
VORTEL_SCENE_INTERNAL void make_gl_matrix(const float* m, const float* t, float* gl);
