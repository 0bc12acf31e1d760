// --describe: the plug-ins' own descriptions of their effects (Vortel_DescribeEffects) as one JSON
// document on standard output, for the effect reference's generator and for editors.
//
// The document, with every key always present (null where a library leaves a field undescribed):
//   {"format": "vortel-effects", "version": 1, "libraries": [LIBRARY...]}
//   LIBRARY: {"file": the name as given, "error": null or why it could not be loaded,
//             "described": whether it exports the entry point, "descriptionVersion": its table's version
//             or null, "about": text, "others": [{"name", "about"}...], "effects": [EFFECT...]}
//   EFFECT:  {"name", "about", "params": [PARAM...]}
//   PARAM:   {"name", "kind" ("number", "colour", "angle", "position", "scale", "quaternion",
//             "blendFactor", "boolean", "text" or "unknown"), "unit", "meaning", "scale",
//             "minimum", "maximum" (null when no range is described; maximum null also for a range
//             without an upper end), "hardRange" (the effect refuses or clamps outside the range),
//             "typical", "typicalText", "resourceType" (the four characters for a text index, else null),
//             "zeroIsNone", "negativeIsNone", "makes" (the effect makes the resource under that name),
//             "namesFile" (the name is the path of the file the resource is made from)}
// Libraries and effects are in the order given and described; texts are UTF-8 as the plug-in wrote them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A resource type code as its four characters ("SWRM"); a character outside printable ASCII shows as '?'.
std::string resource_type_text(uint32_t code);

// The effects a loaded library describes, by name: {"NAME": {"about": text, "params": [PARAM...]}, ...};
// {} when it describes none. (The studio serves it with the document.)
std::string effects_by_name_json(void* handle);
// The library's introduction as a JSON string, or null.
std::string library_about_json(void* handle);

// Writes the document for the libraries (found like a document's libraries, from the working folder and
// beside the player). Returns the exit status: 1 when a library could not be loaded, else 0.
int run_describe(const std::vector<std::string>& libraries);
