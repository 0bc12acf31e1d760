// The registry handlers through which Scaffold publishes its shared resources to every plug-in.
//
//   '3DWR'  "theWorld" -> sceneRoot, any other name -> the named group of gScaffold (first match);
//           *outFlag <- 1 on a match, untouched otherwise. Release takes those names; nothing is freed.
//   'TXTR'  *outFlag <- 0 always; "Render1" / "Render2" -> off-screen buffer 0 / 1 as a Texture (null
//           when there is no off-screen target). Release takes those two names; nothing is freed.
//   'MTRL'  gScaffold.materialCache find / release.
// Names compare exactly, case-sensitive. Vortel_Init registers the pairs in this order.
#pragma once

void* acquire_group(const char* name, void* userData, bool* outFlag);
bool release_group(const char* name, void* resource);
void* acquire_render_texture(const char* name, void* userData, bool* outFlag);
bool release_render_texture(const char* name, void* resource);
void* acquire_material(const char* name, void* userData, bool* outFlag);
bool release_material(const char* name, void* resource);
