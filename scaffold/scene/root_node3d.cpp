#include "scene/root_node3d.h"

RootNode3D::RootNode3D(Camera3D* camera) : camera(camera) {}

RootNode3D* RootNode3D::GetRoot()
{
    return this;
}
