// A plug-in reaching into Scaffold's own effects: this must not compile with what Scaffold exports.
#include "effects/scene_effects.h"
