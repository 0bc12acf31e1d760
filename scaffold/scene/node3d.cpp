#include "scene/node3d.h"

#include "scene/group_node3d.h"
#include "scene/math3d.h"
#include "scene/root_node3d.h"

Node3D::Node3D() : parent(nullptr)
{
    make_normal_mat(matrix);
    make_normal_vec(position);
}

Node3D::~Node3D() = default;

RootNode3D* Node3D::GetRoot()
{
    // Parent links can loop (a group added into its own descendant). `scout` checks every ancestor in
    // order while `trailer` follows at half speed; when they meet, the scout has been once around the
    // whole loop without finding a root.
    Node3D* scout = this;
    Node3D* trailer = this;
    for (;;) {
        for (int hop = 0; hop < 2; ++hop) {
            scout = scout->parent;
            if (!scout)
                return nullptr;
            if (auto* root = dynamic_cast<RootNode3D*>(scout))
                return root;
        }
        trailer = trailer->parent;
        if (trailer == scout)
            return nullptr;
    }
}
