// What a plug-in may include from Scaffold: the scene library, the helpers plug-ins share and the GL
// state cache.
#include "common/resource_cache.h"
#include "glstate.h"
#include "scene/group_node3d.h"
#include "scene/texture.h"
