// The log messages of the model importer and Object3D, in one place (printf formats for vortel::log).
#pragma once

namespace msg
{

constexpr const char* kModelPathTooLong = "Object3D: the model path %.40s... is longer than %d characters";
constexpr const char* kModelCannotOpen = "Object3D: can't open the model file %s";
constexpr const char* kModelTooLarge = "Object3D: the model file %s is larger than %zu bytes";
constexpr const char* kModelBadLine = "Object3D: %s line %d: %s";
constexpr const char* kModelBadFace = "Object3D: %s: a face can't be added to a mesh";
constexpr const char* kModelNoMemory = "Object3D: not enough memory to import the model file %s";
constexpr const char* kMaterialsCannotOpen = "Object3D: can't open the material file %s (line %d of %s)";
constexpr const char* kMaterialsTooLarge = "Object3D: the material file %s is larger than %zu bytes";

} // namespace msg
