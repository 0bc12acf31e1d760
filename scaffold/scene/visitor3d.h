// Visitor3D: walks a scene tree through the nodes' Accept (double dispatch).
//
// A group's Accept calls VisitGroup(group), EnterGroup, the children's Accept, then LeaveGroup, so
// EnterGroup/LeaveGroup always pair up. Groups that draw a child several times (kaleido, symmetry, swarm)
// change the child's `matrix`/`position` around each of its Accept calls and restore them afterwards:
// read a node's transform inside the Visit call, never keep pointers to it for later.
//
// The virtual operations are part of Scaffold's binary interface and keep this slot order:
//   0 destructor, 1 VisitLight, 2 VisitPoly, 3 VisitGroup, 4 VisitCamera, 5 EnterGroup, 6 LeaveGroup,
//   7 SetOverrideColor.
#pragma once

#include <cstdint>

class Camera3D;
class GroupNode3D;
class Light3D;
class Poly3D;

class Visitor3D
{
public:
    virtual ~Visitor3D();

    virtual void VisitLight(Light3D* light) = 0;
    virtual void VisitPoly(Poly3D* poly) = 0;
    virtual void VisitGroup(GroupNode3D* group) = 0;
    virtual void VisitCamera(Camera3D* camera) = 0;
    virtual void EnterGroup(); // does nothing by default
    virtual void LeaveGroup(); // does nothing by default
    // A swarm group brackets each child it draws with (true, colour of the point) ... (false, same colour):
    // meshes visited in between take that colour (0xAARRGGBB) instead of their own.
    virtual void SetOverrideColor(bool enable, uint32_t color) = 0;
};
