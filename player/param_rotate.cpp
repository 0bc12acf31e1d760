// Rotate parameters: three angle parameters turned into one quaternion.
#include <cmath>

#include "param_kinds.h"

namespace param_detail
{

namespace
{

using Matrix = double[3][3];

void multiply(const Matrix a, const Matrix b, Matrix out)
{
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            out[r][c] = a[r][0] * b[0][c] + a[r][1] * b[1][c] + a[r][2] * b[2][c];
}

// Quaternion (x, y, z, w) of a rotation matrix, from its trace or, when that is too small to divide
// by, from its largest diagonal element.
void matrix_to_quaternion(const Matrix m, double q[4])
{
    const double trace = m[0][0] + m[1][1] + m[2][2] + 1;
    if (trace > 1e-8) {
        const double s = 2 * std::sqrt(trace);
        q[0] = (m[2][1] - m[1][2]) / s;
        q[1] = (m[0][2] - m[2][0]) / s;
        q[2] = (m[1][0] - m[0][1]) / s;
        q[3] = s / 4;
    } else if (m[0][0] > m[1][1] && m[0][0] > m[2][2]) {
        const double s = 2 * std::sqrt(1 + m[0][0] - m[1][1] - m[2][2]);
        q[0] = s / 4;
        q[1] = (m[0][1] + m[1][0]) / s;
        q[2] = (m[0][2] + m[2][0]) / s;
        q[3] = (m[2][1] - m[1][2]) / s;
    } else if (m[1][1] > m[2][2]) {
        const double s = 2 * std::sqrt(1 + m[1][1] - m[0][0] - m[2][2]);
        q[0] = (m[0][1] + m[1][0]) / s;
        q[1] = s / 4;
        q[2] = (m[1][2] + m[2][1]) / s;
        q[3] = (m[0][2] - m[2][0]) / s;
    } else {
        const double s = 2 * std::sqrt(1 + m[2][2] - m[0][0] - m[1][1]);
        q[0] = (m[0][2] + m[2][0]) / s;
        q[1] = (m[1][2] + m[2][1]) / s;
        q[2] = s / 4;
        q[3] = (m[1][0] - m[0][1]) / s;
    }
}

} // namespace

int evaluate_rotate(ParamRun run, uint32_t t, uint32_t eventStart, int32_t* out, bool* constant)
{
    if (run.count < 4)
        throw BasicException("Corrupt rotate-function! It needs three angle parameters after it.\n");
    double angle[3];
    *constant = true;
    for (int c = 0; c < 3; ++c) {
        bool angleConstant = false;
        angle[c] = evaluate_single(run.params[1 + c], t, eventStart, &angleConstant) * 0.001;
        *constant = *constant && angleConstant;
    }
    const double cx = std::cos(angle[0]), sx = std::sin(angle[0]);
    const double cy = std::cos(angle[1]), sy = std::sin(angle[1]);
    const double cz = std::cos(angle[2]), sz = std::sin(angle[2]);
    const Matrix rx = {{1, 0, 0}, {0, cx, -sx}, {0, sx, cx}};
    const Matrix ry = {{cy, 0, -sy}, {0, 1, 0}, {sy, 0, cy}};
    const Matrix rz = {{cz, -sz, 0}, {sz, cz, 0}, {0, 0, 1}};
    Matrix zy, m;
    multiply(rz, ry, zy);
    multiply(zy, rx, m);
    double q[4];
    matrix_to_quaternion(m, q);
    for (int c = 0; c < 4; ++c)
        out[c] = to_word(q[c] * 100000);
    return 4;
}

} // namespace param_detail
