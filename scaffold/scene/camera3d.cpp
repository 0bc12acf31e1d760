#include "scene/camera3d.h"

#include "scene/math3d.h"
#include "scene/visitor3d.h"

Camera3D::Camera3D(float aspect, float near, float far)
    : left(-1.0f), right(1.0f), bottom(-1.0f / aspect), top(1.0f / aspect), near(near), far(far)
{
    make_normal_mat(worldMatrix);
    make_normal_vec(worldPosition);
}

int Camera3D::GetType() const
{
    return kNodeTypeCamera;
}

void Camera3D::Accept(Visitor3D& visitor)
{
    visitor.VisitCamera(this);
}

void Camera3D::GetFrustrumData(float& left, float& right, float& bottom, float& top, float& near,
                               float& far) const
{
    left = this->left;
    right = this->right;
    bottom = this->bottom;
    top = this->top;
    near = this->near;
    far = this->far;
}

void Camera3D::SetFrustrumData(float left, float right, float bottom, float top, float near, float far)
{
    this->left = left;
    this->right = right;
    this->bottom = bottom;
    this->top = top;
    this->near = near;
    this->far = far;
}
