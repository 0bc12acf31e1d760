#include "generator_support.h"

namespace swarms
{

bool begin_rebuild(StateStruct* state, SwarmRecord* r, int64_t wanted, const char* effect,
                   const char* problem)
{
    state->status = 2;
    int32_t count = built_count(wanted);
    if (problem) {
        vortel::log("%s: %s; the swarm is left empty\n", effect, problem);
        count = 0;
    } else if (!buildable(wanted)) {
        vortel::log("%s: cannot make %lld points (0 .. %d); the swarm is left empty\n", effect,
                    static_cast<long long>(wanted), kMaxSwarmPoints);
    }
    const bool allocated = set_point_count(r, count, effect);
    if (!allocated)
        state->status = -1;
    drop_colors(r);
    set_uniform_color(r, 255, 255, 255, 255);
    return allocated && r->count > 0;
}

} // namespace swarms
