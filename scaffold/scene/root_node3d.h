// RootNode3D: the top of a scene tree. It carries the scene's camera (not owned) and is its own root.
#pragma once

#include "scene/group_node3d.h"

class Camera3D;

class RootNode3D : public GroupNode3D
{
public:
    explicit RootNode3D(Camera3D* camera);

    RootNode3D* GetRoot() override; // this
    Camera3D* GetCam() const { return camera; }

    Camera3D* camera;
};
