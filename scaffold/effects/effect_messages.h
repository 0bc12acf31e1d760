// Every message the effects of this folder write to the error log, in one place: printf formats, sent
// through vortel::log, which makes each one line of the log.
#pragma once

namespace msg
{

constexpr const char* kShow3DWrongRenderTo = "Show3D: Wrong RenderTo value!";
constexpr const char* kShow3DNoCamera = "Show3D: No camera set! Use SetCamera3D!";
constexpr const char* kNoOffScreenTarget = "%s: There is no off-screen render target!";

constexpr const char* kGroupNoName = "Make3DGroup: Couldn't get the name for the group nr %d";
constexpr const char* kGroupExists = "Make3DGroup: group %s already exists";
constexpr const char* kGroupTableFull = "Make3DGroup: group %s can't be made, all %d groups are in use";
constexpr const char* kGroupNoParent = "Make3DGroup: the Parent group %s doesn't exist!";
constexpr const char* kCopyUnknownGroup = "CopyGroupToGroups: Unknown group %s";
constexpr const char* kCopyNoName = "CopyGroupToGroups: Couldn't get the name for the group nr %d";

constexpr const char* kBackgroundWrongRenderTo = "Background: Wrong RenderTo value!";
constexpr const char* kMaterialNoName = "MakeMaterial: Couldn't get the name for the material nr %d";
constexpr const char* kMaterialExists = "MakeMaterial: material %s already exists";

constexpr const char* kRibbonNoMemory = "ShowRibbons3D: not enough memory for a ribbon of %d points";
constexpr const char* kRibbonColorsNoMemory = "ShowRibbons3D: not enough memory for the colours of %d points";
constexpr const char* kSwarmGroupNoMemory =
    "MakeSwarmGroup: not enough memory for the transforms of %d points";

} // namespace msg
