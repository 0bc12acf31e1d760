#include "scene/group_node3d.h"

#include "scene/math3d.h"

#include <vortel/plugin.h>

#include <cstdint>
#include <new>

int GroupNode3D::traversalDepth_ = 0;

GroupNode3D::GroupNode3D() : children(nullptr), childCount(0), capacity(0) {}

// Listed children may already be gone (their owners delete them before the group is emptied), so the
// list is freed without looking at them.
GroupNode3D::~GroupNode3D()
{
    delete[] children;
}

int GroupNode3D::GetType() const
{
    return kNodeTypeGroup;
}

void GroupNode3D::Accept(Visitor3D& visitor)
{
    visitAsGroup(visitor, [&] {
        for (int32_t i = 0; i < childCount; ++i)
            children[i]->Accept(visitor);
    });
}

void GroupNode3D::RemoveAllChildren()
{
    childCount = 0;
}

int GroupNode3D::GetChildCount() const
{
    return childCount;
}

void GroupNode3D::AddChild(Node3D* child)
{
    if (child == this)
        throw BasicException("Trying to make recursive hierarchy in GroupNode3D::AddChild!\n");
    if (childCount >= capacity) {
        // The new capacity is committed only with the new array, so a failed growth leaves the group
        // usable; it is worked out in 64 bits so that it cannot wrap around.
        const int64_t grown = ((int64_t(capacity) * 3 + 3) >> 1) + 5;
        Node3D** array = grown <= INT32_MAX ? new (std::nothrow) Node3D*[size_t(grown)] : nullptr;
        if (!array)
            throw BasicException("Out of memory in GroupNode3D::AddChild!\n");
        for (int32_t i = 0; i < childCount; ++i)
            array[i] = children[i];
        delete[] children;
        children = array;
        capacity = int32_t(grown);
    }
    children[childCount++] = child;
    child->parent = this;
}

Node3D* GroupNode3D::GetChild(int index) const
{
    return (index >= 0 && index < childCount) ? children[index] : nullptr;
}

Node3D* GroupNode3D::RemoveChild(Node3D* node)
{
    for (int32_t i = 0; i < childCount; ++i)
        if (children[i] == node)
            return RemoveChildAt(i);
    return nullptr;
}

Node3D* GroupNode3D::RemoveChildAt(int index)
{
    if (index < 0 || index >= childCount)
        return nullptr;
    Node3D* removed = children[index];
    for (int32_t i = index + 1; i < childCount; ++i)
        children[i - 1] = children[i];
    --childCount;
    return removed;
}

float* GroupNode3D::GetChildPosition(int index)
{
    return (index >= 0 && index < childCount) ? children[index]->position : zeroVector();
}

float* GroupNode3D::GetChildMatrix(int index)
{
    return (index >= 0 && index < childCount) ? children[index]->matrix : identityMatrix();
}

// Callers get a writable pointer; refreshing the value on every call keeps one careless write from
// reaching the next answer.
float* GroupNode3D::zeroVector()
{
    static float zero[3];
    make_normal_vec(zero);
    return zero;
}

float* GroupNode3D::identityMatrix()
{
    static float identity[9];
    make_normal_mat(identity);
    return identity;
}
