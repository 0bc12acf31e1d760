// Node3D: the base of every scene-graph node.
//
// A node carries a local transform: a point p of the node maps to matrix * p + position in its parent's
// space (layouts of scene/math3d.h). Effects write `matrix` and `position` directly; there are no setters.
// The world transform of a node is the composition of its enclosing groups' transforms with its own.
//
// Ownership: whoever creates a node deletes it (through the virtual destructor), and only after every
// group that held it has been emptied (normally by the frame's Clear3D). Groups never own children.
//
// The virtual operations are part of Scaffold's binary interface and keep this slot order:
//   0 destructor, 1 GetType, 2 Accept, 3 GetRoot.
#pragma once

#include <cstdint>

class GroupNode3D;
class RootNode3D;
class Visitor3D;

// Answers of GetType.
constexpr int kNodeTypeCamera = 1;
constexpr int kNodeTypePoly = 2;
constexpr int kNodeTypeGroup = 3; // GroupNode3D, RootNode3D and SymmetryGroupNode3D
constexpr int kNodeTypeKaleido = 4;
constexpr int kNodeTypeSwarm = 5;
constexpr int kNodeTypeLight = 6;

class Node3D
{
public:
    Node3D(); // identity matrix, zero position, no parent
    virtual ~Node3D();

    virtual int GetType() const = 0;
    // Double dispatch: calls the visitor's operation for this kind of node (groups walk their children).
    virtual void Accept(Visitor3D& visitor) = 0;
    // The RootNode3D above this node, found through the `parent` links; null when the chain ends without
    // one (a node never added anywhere) or loops back on itself.
    virtual RootNode3D* GetRoot();

    float matrix[9];
    float position[3];
    GroupNode3D* parent; // the group that last added this node; not reset when it is removed
};
