// The state every effect of Scaffold shares: the player's services, the one scene that all 3D effects of
// a demo draw into, and the material cache. Vortel_Init creates it, Vortel_Quit tears the scene down.
// The named 3D groups live in effects/group_table.h.
//
// Contracts
//  - gServices is a copy of the record handed to Vortel_Init; every member is null before that call.
//  - sceneRoot is published as the '3DWR' resource "theWorld". Its child list lives one frame: Clear3D
//    empties it and the effects that run after it fill it again. It never owns its children.
//  - sceneCamera is not a child of sceneRoot until a camera effect adds it in a frame; sceneRoot->camera
//    points at it. Both are null outside Vortel_Init .. Vortel_Quit.
//  - materialCache holds MaterialRecords by name ("MaterialCache"), each freed on its last release.
//  - Main thread only, like every plug-in call.
#pragma once

#include <vortel/plugin.h>

#include "common/marker_colors.h"

#include <cstdint>

class Camera3D;
class ResourceCache;
class RootNode3D;

extern ServicesStruct gServices;
extern RootNode3D* sceneRoot;
extern Camera3D* sceneCamera;
extern ResourceCache* materialCache;

// Formats a message (cut to 510 characters), ends it with a line break so the log keeps one message per
// line, and hands it to gServices.Log. Does nothing before Vortel_Init.
void scaffold_log(const char* format, ...) __attribute__((format(printf, 1, 2)));
