// Reader of Wavefront MTL text: the subset the model importer understands.
//
//   newmtl NAME      ends the current material and starts one with the defaults below
//   Ka/Kd/Ks r g b   ambient / diffuse / specular colour (alpha stays 1)
//   Ns s             shininess          illum n   illumination model (truncated to an integer)
//   d a, Tr a        opacity, the value as written for both
//   map_Kd FILE      texture file name, recorded with the MTL file's folder in front (never loaded)
//   Ni, #            ignored
// Any other line refuses the whole text. Defaults: ambient (0.2, 0.2, 0.2, 1), diffuse (0.8, 0.8, 0.8, 1),
// specular (0, 0, 0, 1), opacity 1, shininess 0, illumination model 2, no texture.
#pragma once

#include "effects/obj_reader.h"
#include "scene/material_record.h"

#include <string>
#include <vector>

struct MtlMaterial {
    std::string name;
    MaterialRecord record;
};

MaterialRecord default_imported_material();

// Reads `length` bytes of MTL text; `folder` is put in front of texture file names. Appends every named
// material in file order (values given before the first "newmtl" belong to no material and are dropped).
// False on text outside the subset, with the line and reason in `error`; nothing is appended then.
bool read_mtl(const char* text, size_t length, const std::string& folder, std::vector<MtlMaterial>& materials,
              ReadError& error);
