#include "recording_visitor.h"

#include "scene/camera3d.h"
#include "scene/light3d.h"

#include <algorithm>

void RecordingVisitor::recordLeaf(const char* what, const void* node, const float* matrix,
                                  const float* position)
{
    Visit v{what, node, {}, {}, overrideColor_, overrideOn_};
    std::copy(matrix, matrix + 9, v.matrix);
    std::copy(position, position + 3, v.position);
    visits.push_back(v);
}

void RecordingVisitor::VisitLight(Light3D* light)
{
    recordLeaf("light", light, light->matrix, light->position);
}

void RecordingVisitor::VisitCamera(Camera3D* camera)
{
    recordLeaf("camera", camera, camera->matrix, camera->position);
}

void RecordingVisitor::VisitPoly(Poly3D* poly)
{
    visits.push_back(Visit{"poly", poly, {}, {}, overrideColor_, overrideOn_});
}

void RecordingVisitor::VisitGroup(GroupNode3D* group)
{
    visits.push_back(Visit{"group", group, {}, {}, 0, false});
}

void RecordingVisitor::EnterGroup()
{
    visits.push_back(Visit{"enter", nullptr, {}, {}, 0, false});
}

void RecordingVisitor::LeaveGroup()
{
    visits.push_back(Visit{"leave", nullptr, {}, {}, 0, false});
}

void RecordingVisitor::SetOverrideColor(bool enable, uint32_t color)
{
    overrideOn_ = enable;
    overrideColor_ = color;
    visits.push_back(Visit{enable ? "override on" : "override off", nullptr, {}, {}, color, enable});
}

std::vector<Visit> RecordingVisitor::leaves() const
{
    std::vector<Visit> result;
    for (const Visit& v : visits)
        if (v.what == "light" || v.what == "camera")
            result.push_back(v);
    return result;
}

std::string RecordingVisitor::sequence() const
{
    std::string result;
    for (const Visit& v : visits)
        result += (result.empty() ? "" : " ") + v.what;
    return result;
}

int RecordingVisitor::count(const std::string& what) const
{
    return int(std::count_if(visits.begin(), visits.end(), [&](const Visit& v) { return v.what == what; }));
}
