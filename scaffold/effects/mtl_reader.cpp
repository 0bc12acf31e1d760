#include "effects/mtl_reader.h"

#include "effects/obj_text.h"

#include <cstring>

MaterialRecord default_imported_material()
{
    MaterialRecord m;
    std::memset(&m, 0, sizeof m);
    const float ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f}, diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    std::memcpy(m.ambient, ambient, sizeof ambient);
    std::memcpy(m.diffuse, diffuse, sizeof diffuse);
    m.specular[3] = 1.0f;
    m.opacity = 1.0f;
    m.illuminationModel = 2;
    return m;
}

namespace
{

bool fail(ReadError& error, int32_t line, const char* reason)
{
    error.line = line;
    error.reason = reason;
    return false;
}

} // namespace

bool read_mtl(const char* text, size_t length, const std::string& folder, std::vector<MtlMaterial>& materials,
              ReadError& error)
{
    error = ReadError();
    std::vector<MtlMaterial> read;
    MtlMaterial current{std::string(), default_imported_material()};
    auto finish = [&] {
        if (!current.name.empty())
            read.push_back(current);
    };

    LineScanner scanner(text, length);
    TextLine line;
    while (scanner.next_line(line)) {
        float values[3];
        auto numbers = [&](const char* keyword, int count) {
            return read_numbers(after_word(line, keyword), line.end, values, count);
        };
        auto colour = [&](const char* keyword, float* into) {
            if (!numbers(keyword, 3))
                return false;
            std::memcpy(into, values, 3 * sizeof(float));
            return true;
        };
        bool ok = true;
        if (line.begin[0] == '#' || starts_with_word(line, "Ni")) {
        } else if (starts_with_word(line, "newmtl")) {
            finish();
            const char* name = after_word(line, "newmtl");
            if (name == line.end)
                return fail(error, line.number, "newmtl without a material name");
            current = {std::string(name, line.end), default_imported_material()};
        } else if (starts_with_word(line, "Ka")) {
            ok = colour("Ka", current.record.ambient);
        } else if (starts_with_word(line, "Kd")) {
            ok = colour("Kd", current.record.diffuse);
        } else if (starts_with_word(line, "Ks")) {
            ok = colour("Ks", current.record.specular);
        } else if (starts_with_word(line, "Ns")) {
            ok = numbers("Ns", 1);
            current.record.shininess = values[0];
        } else if (starts_with_word(line, "d") || starts_with_word(line, "Tr")) {
            ok = numbers(line.begin[0] == 'd' ? "d" : "Tr", 1);
            current.record.opacity = values[0];
        } else if (starts_with_word(line, "illum")) {
            ok = numbers("illum", 1) && values[0] > -2e9f && values[0] < 2e9f;
            if (ok)
                current.record.illuminationModel = int32_t(values[0]);
        } else if (starts_with_word(line, "map_Kd")) {
            const std::string path = folder + std::string(after_word(line, "map_Kd"), line.end);
            if (path.size() >= sizeof current.record.textureFileName)
                return fail(error, line.number, "a texture file name longer than 255 characters");
            std::memcpy(current.record.textureFileName, path.c_str(), path.size() + 1);
        } else {
            return fail(error, line.number, "statement outside the supported subset");
        }
        if (!ok)
            return fail(error, line.number, "a number that cannot be read");
    }
    finish();
    materials.insert(materials.end(), read.begin(), read.end());
    return true;
}
