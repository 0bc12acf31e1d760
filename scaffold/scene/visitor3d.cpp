#include "scene/visitor3d.h"

Visitor3D::~Visitor3D() = default;

void Visitor3D::EnterGroup() {}

void Visitor3D::LeaveGroup() {}
