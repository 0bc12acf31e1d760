#include "effects/obj_reader.h"

#include "effects/obj_text.h"

#include <cstring>

namespace
{

// Open-addressing table from exact coordinates to the first position index that has them.
class PositionWelder
{
public:
    // Index of the first position equal to positions[index], remembering `index` when it is new.
    int32_t weld(const std::vector<float>& positions, int32_t index)
    {
        if ((count_ + 1) * 2 > int32_t(slots_.size()))
            grow(positions);
        const float* p = &positions[size_t(index) * 3];
        for (size_t slot = hash(p) & mask();; slot = (slot + 1) & mask()) {
            const int32_t found = slots_[slot];
            if (found < 0) {
                slots_[slot] = index;
                ++count_;
                return index;
            }
            const float* q = &positions[size_t(found) * 3];
            if (p[0] == q[0] && p[1] == q[1] && p[2] == q[2])
                return found;
        }
    }

private:
    size_t mask() const { return slots_.size() - 1; }

    static uint32_t bits(float value)
    {
        if (value == 0.0f) // +0 and -0 are equal positions
            value = 0.0f;
        uint32_t b;
        std::memcpy(&b, &value, sizeof b);
        return b;
    }

    static size_t hash(const float* p)
    {
        uint64_t h = bits(p[0]) * 0x9E3779B97F4A7C15ull;
        h = (h ^ bits(p[1])) * 0xC2B2AE3D27D4EB4Full;
        h = (h ^ bits(p[2])) * 0x165667B19E3779F9ull;
        return size_t(h ^ (h >> 29));
    }

    void grow(const std::vector<float>& positions)
    {
        std::vector<int32_t> old;
        old.swap(slots_);
        slots_.assign(old.empty() ? 1024 : old.size() * 2, -1);
        for (int32_t index : old) {
            if (index < 0)
                continue;
            size_t slot = hash(&positions[size_t(index) * 3]) & mask();
            while (slots_[slot] >= 0)
                slot = (slot + 1) & mask();
            slots_[slot] = index;
        }
    }

    std::vector<int32_t> slots_;
    int32_t count_ = 0;
};

class ObjReader
{
public:
    ObjReader(ObjData& data, ReadError& error) : data_(data), error_(error) {}

    bool read(const char* text, size_t length)
    {
        LineScanner scanner(text, length);
        TextLine line;
        while (scanner.next_line(line)) {
            line_ = line.number;
            if (!read_line(line))
                return false;
        }
        return true;
    }

private:
    bool fail(const char* reason)
    {
        error_.line = line_;
        error_.reason = reason;
        return false;
    }

    bool read_line(const TextLine& line)
    {
        switch (line.begin[0]) {
        case '#':
        case 'o':
        case 's':
            return true;
        }
        if (starts_with_word(line, "v"))
            return read_position(line);
        if (starts_with_word(line, "vn"))
            return read_vector(line, "vn", data_.normals, 3);
        if (starts_with_word(line, "vt"))
            return read_vector(line, "vt", data_.texCoords, 2);
        if (starts_with_word(line, "f"))
            return read_face(line);
        if (starts_with_word(line, "mtllib"))
            return read_name(line, "mtllib", true);
        if (starts_with_word(line, "usemtl"))
            return read_name(line, "usemtl", false);
        return fail("statement outside the supported subset");
    }

    bool read_vector(const TextLine& line, const char* keyword, std::vector<float>& into, int count)
    {
        float values[3];
        if (!read_numbers(after_word(line, keyword), line.end, values, count))
            return fail("a number that cannot be read");
        if (count == 2)
            values[1] = -values[1]; // texture rows run the other way in GL
        into.insert(into.end(), values, values + count);
        return true;
    }

    bool read_position(const TextLine& line)
    {
        if (data_.objects.empty() || data_.objects.back().faceCount > 0)
            data_.objects.push_back({int32_t(data_.faces.size()), 0, std::string()});
        if (!read_vector(line, "v", data_.positions, 3))
            return false;
        const int32_t index = int32_t(data_.positions.size() / 3) - 1;
        welded_.push_back(welder_.weld(data_.positions, index));
        return true;
    }

    // Reads a 1-based or negative index of an element kind with `available` elements read so far.
    bool read_index(const char*& at, const char* end, int32_t available, int32_t& index)
    {
        bool negative = false;
        if (at < end && *at == '-') {
            negative = true;
            ++at;
        }
        int64_t value = 0;
        const char* digits = at;
        while (at < end && *at >= '0' && *at <= '9' && value <= available)
            value = value * 10 + (*at++ - '0');
        if (at == digits)
            return fail("a vertex reference that cannot be read");
        if (at < end && *at >= '0' && *at <= '9')
            return fail("a vertex reference out of range");
        if (value < 1 || value > available)
            return fail("a vertex reference out of range");
        index = negative ? available - int32_t(value) : int32_t(value) - 1;
        return true;
    }

    bool read_face(const TextLine& line)
    {
        ObjFace face;
        const char* at = after_word(line, "f");
        const int32_t positions = int32_t(data_.positions.size() / 3);
        const int32_t texCoords = int32_t(data_.texCoords.size() / 2);
        const int32_t normals = int32_t(data_.normals.size() / 3);
        for (int corner = 0; corner < 3; ++corner) {
            while (at < line.end && is_blank(*at))
                ++at;
            if (at == line.end)
                return fail("a face with fewer than three vertices");
            if (!read_index(at, line.end, positions, face.position[corner]))
                return false;
            face.position[corner] = welded_[size_t(face.position[corner])];
            face.texCoord[corner] = -1;
            face.normal[corner] = -1;
            if (at < line.end && *at == '/') {
                ++at;
                if (at < line.end && *at != '/' && !is_blank(*at) &&
                    !read_index(at, line.end, texCoords, face.texCoord[corner]))
                    return false;
                if (at < line.end && *at == '/') {
                    ++at;
                    if (!read_index(at, line.end, normals, face.normal[corner]))
                        return false;
                }
            }
            if (at < line.end && !is_blank(*at))
                return fail("a vertex reference that cannot be read");
        }
        for (const int32_t* kind : {face.texCoord, face.normal})
            if ((kind[0] < 0) != (kind[1] < 0) || (kind[0] < 0) != (kind[2] < 0))
                return fail("a face with texture coordinates or normals on only some corners");
        data_.faces.push_back(face);
        ++data_.objects.back().faceCount;
        return true;
    }

    bool read_name(const TextLine& line, const char* keyword, bool library)
    {
        const char* name = after_word(line, keyword);
        if (name == line.end)
            return fail(library ? "mtllib without a file name" : "usemtl without a material name");
        if (library) {
            data_.materialLibraries.emplace_back(name, line.end);
            data_.libraryLines.push_back(line_);
            return true;
        }
        if (data_.objects.empty())
            data_.objects.push_back({0, 0, std::string()});
        data_.objects.back().material.assign(name, line.end);
        return true;
    }

    ObjData& data_;
    ReadError& error_;
    int32_t line_ = 0;
    PositionWelder welder_;
    std::vector<int32_t> welded_; // per position: the first position with the same coordinates
};

} // namespace

bool read_obj(const char* text, size_t length, ObjData& data, ReadError& error)
{
    data = ObjData();
    error = ReadError();
    ObjReader reader(data, error);
    return reader.read(text, length);
}
