// GroupNode3D: a node that holds other nodes (without owning them).
//
// The child list is an array that grows by capacity <- ((capacity * 3 + 3) >> 1) + 5 (6, 15, 29, 50, 81,
// ...). The same node may sit in several groups, or several times in one; its `parent` names the group
// that added it last. RemoveAllChildren only forgets the entries: the children and their `parent` links
// are untouched. The destructor frees the array and never deletes a child.
//
// Virtual slots after those of Node3D (0-3):
//   4 RemoveAllChildren, 5 GetChildCount, 6 AddChild, 7 GetChild, 8 RemoveChild, 9 RemoveChildAt,
//   10 GetChildPosition, 11 GetChildMatrix.
#pragma once

#include "scene/node3d.h"
#include "scene/visitor3d.h"

#include <cstdint>

// Groups nested deeper than this below the node a traversal starts from are not visited, so a cycle of
// groups (A in B and B in A) ends instead of recursing without bound. The renderer's transform stack
// has as many entries.
constexpr int kMaxGroupDepth = 128;

class GroupNode3D : public Node3D
{
public:
    GroupNode3D();
    ~GroupNode3D() override;
    GroupNode3D(const GroupNode3D&) = delete;
    GroupNode3D& operator=(const GroupNode3D&) = delete;

    int GetType() const override; // kNodeTypeGroup
    // VisitGroup(this), EnterGroup, each child's Accept in index order, LeaveGroup.
    void Accept(Visitor3D& visitor) override;

    virtual void RemoveAllChildren();
    virtual int GetChildCount() const;
    // Appends child and makes this group its parent. Throws BasicException with
    // "Trying to make recursive hierarchy in GroupNode3D::AddChild!\n" when child is this group (the list
    // is left as it was; deeper cycles are not refused) and with "Out of memory in GroupNode3D::AddChild!\n"
    // when the list cannot grow (the group is then unchanged).
    virtual void AddChild(Node3D* child);
    virtual Node3D* GetChild(int index) const; // null when index is out of range
    // Removes the first entry equal to node; later entries move down one place. Returns node, or null
    // when it was not a child. The node's `parent` is not reset.
    virtual Node3D* RemoveChild(Node3D* node);
    virtual Node3D* RemoveChildAt(int index); // the same by index; null when out of range
    // Where child `index` is placed: for a plain (also kaleido and symmetry) group the child's own
    // `position` / `matrix`. Out of range: a shared zero vector / identity matrix, valid until the next
    // call of either query (write nothing through it). Swarm groups answer for a point of their swarm.
    virtual float* GetChildPosition(int index);
    virtual float* GetChildMatrix(int index);

    Node3D** children;
    int32_t childCount;
    int32_t capacity;

protected:
    // Runs VisitGroup, EnterGroup, drawChildren(), LeaveGroup unless the traversal is already
    // kMaxGroupDepth groups deep. Every group kind's Accept goes through here.
    template <typename DrawChildren> void visitAsGroup(Visitor3D& visitor, DrawChildren drawChildren);
    // The shared answers for out-of-range queries, refreshed on every call.
    static float* zeroVector();
    static float* identityMatrix();

private:
    static int traversalDepth_;
};

template <typename DrawChildren> void GroupNode3D::visitAsGroup(Visitor3D& visitor, DrawChildren drawChildren)
{
    if (traversalDepth_ >= kMaxGroupDepth)
        return;
    ++traversalDepth_;
    struct DepthGuard {
        ~DepthGuard() { --traversalDepth_; }
    } guard;
    visitor.VisitGroup(this);
    visitor.EnterGroup();
    drawChildren();
    visitor.LeaveGroup();
}
