#include "effects/camera_light_effects.h"

#include "common/fixed_point.h"
#include "effects/scaffold_state.h"
#include "scene/camera3d.h"
#include "scene/math3d.h"
#include "scene/root_node3d.h"

#include <vortel/plugin_helper.h>

namespace
{

constexpr float kAspectUnit = 0.0001f;
constexpr float kHalfPi = 1.5707964f;

void set_frustum(int32_t aspect, int32_t near, int32_t far)
{
    const float a = float(aspect) * kAspectUnit;
    gScaffold.sceneCamera->SetFrustrumData(-1.0f, 1.0f, -1.0f / a, 1.0f / a, float(near), float(far));
}

bool camera_in_scene()
{
    for (int i = 0; i < gScaffold.sceneRoot->GetChildCount(); ++i)
        if (gScaffold.sceneRoot->GetChild(i) == gScaffold.sceneCamera)
            return true;
    return false;
}

// The root-space position of the node or point the camera aims at (the origin without a group).
void focus_target(int32_t groupText, int32_t child, int32_t point, float* target)
{
    make_normal_vec(target);
    if (groupText == 0)
        return;
    auto* group = vortel::look_up<GroupNode3D>(kType3DGroup, groupText, "FocusCamera3D", "3D group");
    if (!group)
        return;
    Node3D* node = group;
    if (child < 0 || child >= group->GetChildCount()) {
        copy_vec(group->position, target);
    } else {
        node = group->GetChild(child);
        copy_vec(point >= 0 ? group->GetChildPosition(point) : node->position, target);
    }
    // Groups may be hung into each other in a cycle: climb no further than a traversal would descend.
    int steps = 0;
    for (GroupNode3D* above = node->parent; above && steps < kMaxGroupDepth; above = above->parent, ++steps) {
        mul_mat_vec_self(above->matrix, target);
        add_vectors_self(above->position, target);
    }
}

void focus_eye(int32_t mode, int32_t d, int32_t e, int32_t f, const float* target, float* eye)
{
    if (mode == 1) {
        fixed_position(d, e, f, eye);
        add_vectors_self(target, eye);
    } else if (mode == 2) {
        float offset[3] = {0.0f, 0.0f, -float(d) * kPositionUnit};
        float turn[9];
        make_rotx_mat(turn, float(f) * kAngleUnit);
        mul_mat_vec_self(turn, offset);
        make_roty_mat(turn, float(e) * kAngleUnit);
        mul_mat_vec_self(turn, offset);
        copy_vec(target, eye);
        add_vectors_self(offset, eye);
    } else {
        copy_vec(gScaffold.sceneCamera->position, eye);
    }
}

// The camera matrix that looks from eye along target - eye: a turn about y, then a tilt about x.
void look_at(const float* eye, const float* target, float* matrix)
{
    float direction[3];
    sub_vectors(target, eye, direction);
    float length, yaw, pitch;
    cart_to_polar(direction[0], direction[2], length, yaw);
    make_roty_mat(matrix, yaw + kHalfPi);
    float unturn[9];
    make_roty_mat(unturn, -yaw - kHalfPi);
    mul_mat_vec_self(unturn, direction);
    cart_to_polar(direction[1], direction[2], length, pitch);
    float tilt[9];
    make_rotx_mat(tilt, pitch + kHalfPi);
    mul_mat_self_mat(tilt, matrix);
}

} // namespace

VORTEL_EXPORT bool SetCamera3D(StateStruct* state, void** privateData, int32_t x, int32_t y, int32_t z,
                               int32_t qa, int32_t qb, int32_t qc, int32_t qd, int32_t aspect, int32_t near,
                               int32_t far)
{
    if (vortel::is_last_call(state))
        return true;
    state->status = 1;
    if (vortel::is_first_call(state))
        *privateData = nullptr;
    if (!gScaffold.sceneRoot)
        return true;
    fixed_position(x, y, z, gScaffold.sceneCamera->position);
    fixed_rotation(qa, qb, qc, qd, gScaffold.sceneCamera->matrix);
    set_frustum(aspect, near, far);
    gScaffold.sceneRoot->AddChild(gScaffold.sceneCamera);
    return true;
}

VORTEL_EXPORT bool FocusCamera3D(StateStruct* state, void** privateData, int32_t group, int32_t child,
                                 int32_t point, int32_t mode, int32_t d, int32_t e, int32_t f, int32_t aspect,
                                 int32_t near, int32_t far)
{
    if (vortel::is_last_call(state))
        return true;
    state->status = 1;
    if (vortel::is_first_call(state))
        *privateData = nullptr;
    if (!gScaffold.sceneRoot)
        return true;
    const bool inScene = camera_in_scene();
    if (!inScene) {
        make_normal_vec(gScaffold.sceneCamera->position);
        make_normal_mat(gScaffold.sceneCamera->matrix);
    }
    float target[3], eye[3];
    focus_target(group, child, point, target);
    focus_eye(mode, d, e, f, target, eye);
    copy_vec(eye, gScaffold.sceneCamera->position);
    float matrix[9];
    look_at(eye, target, matrix);
    copy_mat(matrix, gScaffold.sceneCamera->matrix);
    set_frustum(aspect, near, far);
    if (!inScene)
        gScaffold.sceneRoot->AddChild(gScaffold.sceneCamera);
    return true;
}
