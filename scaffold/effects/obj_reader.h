// Reader of Wavefront OBJ text: the subset the model importer understands.
//
//   v x y z          position (missing values are 0; a fourth value is ignored)
//   vn x y z         normal
//   vt u v           texture coordinate, stored as (u, -v)
//   f a b c ...      a triangle from the first three references; each reference is p, p/t, p//n or
//                    p/t/n, 1-based, or negative (-k = the k-th most recent element of its kind)
//   mtllib FILE      a material library, relative to the OBJ file's folder (collected, read by the caller)
//   usemtl NAME      the current object's material (the last one given for an object wins)
//   o, s, #          ignored
// Any other line, a face that gives texture coordinates or normals for only some corners, a reference to
// an element not read yet, and a number that cannot be read refuse the whole text (read_obj returns false
// with the line and the reason).
//
// Objects: the first "v" starts one; a "v" after faces of the current object starts the next.
// Positions are welded: a face refers to the lowest-numbered position with exactly the same coordinates
// (+0 equals -0), found through a hash table, so reading is linear in the size of the text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct ObjFace {
    int32_t position[3]; // 0-based indices into ObjData::positions / 3
    int32_t texCoord[3]; // 0-based, -1 = none (then all three are -1)
    int32_t normal[3];   // 0-based, -1 = none (then all three are -1)
};

struct ObjObject {
    int32_t firstFace;
    int32_t faceCount;
    std::string material; // empty = none
};

struct ObjData {
    std::vector<float> positions; // x, y, z
    std::vector<float> normals;   // x, y, z
    std::vector<float> texCoords; // u, -v
    std::vector<ObjFace> faces;
    std::vector<ObjObject> objects;
    std::vector<std::string> materialLibraries; // as written after "mtllib", in order
    std::vector<int32_t> libraryLines;          // the line of each
};

struct ReadError {
    int32_t line = 0; // 0 = not tied to a line
    std::string reason;
};

// Reads `length` bytes of OBJ text into `data` (cleared first). False on text outside the subset, with
// the first offending line in `error`; `data` is then incomplete and must not be used.
bool read_obj(const char* text, size_t length, ObjData& data, ReadError& error);
