#include "effects/group_effects.h"

#include "effects/effect_messages.h"
#include "effects/scaffold_state.h"
#include "scene/group_node3d.h"

#include <vortel/plugin_helper.h>

VORTEL_EXPORT bool CopyGroupToGroups(StateStruct* state, void**, int32_t source, int32_t target0,
                                     int32_t target1, int32_t target2, int32_t target3, int32_t target4,
                                     int32_t target5, int32_t target6, int32_t target7, int32_t target8,
                                     int32_t target9, int32_t target10, int32_t target11)
{
    if (!vortel::is_running_call(state))
        return true;
    state->status = 1;
    const char* sourceName = vortel::text(source);
    if (!sourceName) {
        vortel::log(msg::kGroupNoName, int(source));
        state->status = -1;
        return false;
    }
    const int32_t sourceIndex = gScaffold.find_group(sourceName);
    if (sourceIndex < 0) {
        vortel::log(msg::kCopyUnknownGroup, sourceName);
        state->status = -1;
        return false;
    }
    GroupNode3D* group = gScaffold.groups[sourceIndex];

    const int32_t targets[] = {target0, target1, target2, target3, target4,  target5,
                               target6, target7, target8, target9, target10, target11};
    for (int32_t target : targets) {
        if (target <= 0)
            return true;
        const char* targetName = vortel::text(target);
        if (!targetName) {
            vortel::log(msg::kCopyNoName, int(target));
            state->status = -1;
            continue;
        }
        const int32_t targetIndex = gScaffold.find_group(targetName);
        if (targetIndex < 0) {
            vortel::log(msg::kCopyUnknownGroup, targetName);
            state->status = -1;
            return false;
        }
        gScaffold.groups[targetIndex]->AddChild(group);
    }
    return true;
}
