#include "effects/group_effects.h"

#include "effects/effect_messages.h"
#include "effects/group_table.h"
#include "effects/scene_state.h"
#include "scene/group_node3d.h"

VORTEL_EXPORT bool CopyGroupToGroups(StateStruct* state, void**, int32_t source, int32_t target0,
                                     int32_t target1, int32_t target2, int32_t target3, int32_t target4,
                                     int32_t target5, int32_t target6, int32_t target7, int32_t target8,
                                     int32_t target9, int32_t target10, int32_t target11)
{
    if (state->phase <= 0)
        return true;
    state->status = 1;
    const char* sourceName = gServices.GetText(source);
    if (!sourceName) {
        scaffold_log(msg::kGroupNoName, int(source));
        state->status = -1;
        return false;
    }
    const int32_t sourceIndex = groupTable.find(sourceName);
    if (sourceIndex < 0) {
        scaffold_log(msg::kCopyUnknownGroup, sourceName);
        state->status = -1;
        return false;
    }
    GroupNode3D* group = groupTable.group_at(sourceIndex);

    const int32_t targets[] = {target0, target1, target2, target3, target4,  target5,
                               target6, target7, target8, target9, target10, target11};
    for (int32_t target : targets) {
        if (target <= 0)
            return true;
        const char* targetName = gServices.GetText(target);
        if (!targetName) {
            scaffold_log(msg::kCopyNoName, int(target));
            state->status = -1;
            continue;
        }
        const int32_t targetIndex = groupTable.find(targetName);
        if (targetIndex < 0) {
            scaffold_log(msg::kCopyUnknownGroup, targetName);
            state->status = -1;
            return false;
        }
        groupTable.group_at(targetIndex)->AddChild(group);
    }
    return true;
}
