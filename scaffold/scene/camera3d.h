// Camera3D: the viewpoint of a scene. The frustum is given at the near plane, in scene units.
//
// Virtual slots after those of Node3D (0-3): 4 GetFrustrumData, 5 SetFrustrumData.
#pragma once

#include "scene/node3d.h"

class Camera3D : public Node3D
{
public:
    // left -1, right 1, bottom -1/aspect, top 1/aspect (aspect = width / height, > 0).
    Camera3D(float aspect, float near, float far);

    int GetType() const override;             // kNodeTypeCamera
    void Accept(Visitor3D& visitor) override; // VisitCamera(this)

    virtual void GetFrustrumData(float& left, float& right, float& bottom, float& top, float& near,
                                 float& far) const;
    virtual void SetFrustrumData(float left, float right, float bottom, float top, float near, float far);

    float left, right, bottom, top, near, far;
    // The camera's world transform, written by the renderer during each traversal.
    float worldMatrix[9];
    float worldPosition[3];
};
