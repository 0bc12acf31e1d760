// A visitor that writes down every call it gets, with the transform a light or camera had at its visit.
#pragma once

#include "scene/visitor3d.h"

#include <cstdint>
#include <string>
#include <vector>

struct Visit {
    std::string what; // "group", "enter", "leave", "light", "camera", "poly", "override on", "override off"
    const void* node; // the node visited, or null
    float matrix[9];  // the leaf's matrix and position at its visit
    float position[3];
    uint32_t color;  // for the override calls, and the override in force at a leaf's visit
    bool overridden; // whether an override was in force at a leaf's visit
};

class RecordingVisitor : public Visitor3D
{
public:
    void VisitLight(Light3D* light) override;
    void VisitPoly(Poly3D* poly) override;
    void VisitGroup(GroupNode3D* group) override;
    void VisitCamera(Camera3D* camera) override;
    void EnterGroup() override;
    void LeaveGroup() override;
    void SetOverrideColor(bool enable, uint32_t color) override;

    // The visits of leaves (lights and cameras) only, in order.
    std::vector<Visit> leaves() const;
    // The kinds of all visits joined with spaces, e.g. "group enter light leave".
    std::string sequence() const;
    int count(const std::string& what) const;

    std::vector<Visit> visits;

private:
    void recordLeaf(const char* what, const void* node, const float* matrix, const float* position);
    bool overrideOn_ = false;
    uint32_t overrideColor_ = 0;
};
