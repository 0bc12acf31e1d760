// The colours of the axis markers (AxisMarker3D) that effects of every plug-in hang beside their nodes,
// as AxisMarker3D takes them (0xAARRGGBB, one colour for each of the x, y and z axes).
#pragma once

#include <cstdint>

constexpr uint32_t kMarkerColorX = 0xFF8080FF;
constexpr uint32_t kMarkerColorY = 0xFF80FF80;
constexpr uint32_t kMarkerColorZ = 0xFFFF8080;
