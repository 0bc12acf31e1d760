// The packed data file reader and OpenFile on arbitrary files. After each input is read as a data file,
// every word of the input is opened with OpenFile (as written and in lower case) and read to its end, so a
// member table that points outside the content is caught by AddressSanitizer.
//
// The target works in an empty folder of its own, so a word that names no member finds nothing on disk:
// names with a directory part need that directory, and absolute names are not opened.
#include <SDL.h>

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "data_file.h"
#include "fuzz_inputs.h"
#include "scratch_file.h"

namespace
{

constexpr int kMaxNamesOpened = 64;

void read_to_end(SDL_RWops* stream)
{
    char chunk[4096];
    // Bounded: a stream from disk could be endless.
    for (int i = 0; i < 64 && SDL_RWread(stream, chunk, 1, sizeof chunk) > 0; ++i) {
    }
    SDL_RWseek(stream, 0, RW_SEEK_SET);
    CloseFile(stream);
}

void open_name(const std::string& name)
{
    if (name.empty() || name[0] == '/')
        return;
    if (SDL_RWops* stream = OpenFile(name.c_str()))
        read_to_end(stream);
}

// Works in the empty folder for the time of `work` and comes back, since libFuzzer reads its corpus by
// relative paths.
template <class Work> void in_empty_folder(Work work)
{
    static const std::string folder = scratch_path(".dir");
    static const bool made = mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
    const int home = open(".", O_RDONLY | O_DIRECTORY);
    if (made && home >= 0 && chdir(folder.c_str()) == 0) {
        work();
        if (fchdir(home) != 0)
            __builtin_trap();
    }
    if (home >= 0)
        close(home);
}

} // namespace

int data_file_input(const uint8_t* data, size_t size)
{
    const std::string path = scratch_path(".dat");
    if (!write_scratch(path, data, size))
        return 0;
    open_data_file(path.c_str());
    in_empty_folder([&] {
        int opened = 0;
        std::string word;
        for (size_t i = 0; i <= size && opened < kMaxNamesOpened; ++i) {
            if (i < size && data[i] != 0 && !std::isspace(data[i])) {
                word += char(data[i]);
                continue;
            }
            if (word.empty())
                continue;
            open_name(word);
            std::string lower = word;
            for (char& c : lower)
                c = char(std::tolower(static_cast<unsigned char>(c)));
            open_name(lower);
            word.clear();
            ++opened;
        }
    });
    return 0;
}

VORTEL_FUZZ_ENTRY(data_file_input)
