// The packed data file and OpenFile / CloseFile.
#include "data_file.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <string_view>
#include <unordered_map>

#include <SDL.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "error_log.h"
#include "registry.h"

namespace
{

constexpr size_t kMaxMemberName = 511;

struct DataFile {
    std::vector<char> bytes;        // the whole file
    const char* content = nullptr;  // S bytes inside `bytes`
    std::vector<std::string> names; // upper case, header order
    std::vector<size_t> offsets;    // N + 1: member i is [offsets[i], offsets[i + 1])
    std::unordered_map<std::string_view, size_t> firstIndex; // name -> first member of that name
};

std::unique_ptr<DataFile> g_dataFile;
std::string g_mediaFolder;

void upper_case(char* text, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        text[i] = char(std::toupper(static_cast<unsigned char>(text[i])));
}

// A data file holds at most 2^31 - 1 bytes of content (its size is a 32-bit number); the header and the
// number after the content add little to that. A larger file is no data file, whatever it holds.
constexpr uint64_t kMaxDataFileBytes = uint64_t(std::numeric_limits<int32_t>::max()) + (uint64_t(64) << 20);

constexpr const char* kNotRegular = "%s: %s is not a regular file; it is not read\n";
constexpr const char* kDataFileTooLarge =
    "Data file %s is larger than a data file can be (%llu bytes); it is not used\n";
constexpr const char* kDataFileUnreadable = "Data file %s cannot be read to its end; it is not used\n";
constexpr const char* kDataFileRefused = "Data file %s: %s; it is not used\n";

// Opens `path` for reading if it is a regular file. A device, a pipe or a folder is refused with a line
// in the log: it could be read forever, block the open or give nothing. Opening does not wait for a
// pipe's writer. Null (and *present false) when there is no such file.
FILE* open_regular_file(const char* path, const char* caller, bool* present)
{
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    *present = fd >= 0;
    if (fd < 0)
        return nullptr;
    struct stat status;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        log_printf(kNotRegular, caller, path);
        ::close(fd);
        return nullptr;
    }
    FILE* file = fdopen(fd, "rb");
    if (!file)
        ::close(fd);
    return file;
}

// The whole data file, up to kMaxDataFileBytes. False when it is missing (silently) or refused (logged).
bool read_data_file(const char* path, std::vector<char>& bytes)
{
    bool present;
    FILE* file = open_regular_file(path, "Data file", &present);
    if (!file)
        return false;
    struct stat status;
    fstat(fileno(file), &status);
    if (uint64_t(status.st_size) > kMaxDataFileBytes) {
        log_printf(kDataFileTooLarge, path, static_cast<unsigned long long>(kMaxDataFileBytes));
        std::fclose(file);
        return false;
    }
    bytes.reserve(size_t(status.st_size));
    char chunk[65536];
    size_t got;
    // Bounded again while reading: the file may grow after it was looked at.
    while (bytes.size() <= kMaxDataFileBytes && (got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        log_printf(kDataFileUnreadable, path);
    else if (bytes.size() > kMaxDataFileBytes)
        log_printf(kDataFileTooLarge, path, static_cast<unsigned long long>(kMaxDataFileBytes));
    return !failed && bytes.size() <= kMaxDataFileBytes;
}

// Reads the header like fscanf's "%s" and "%ld" with 32-bit longs, refusing what does not fit.
class HeaderReader
{
public:
    HeaderReader(const char* begin, const char* end) : at_(begin), end_(end) {}

    bool word(const char** text, size_t* length)
    {
        skip_blanks();
        *text = at_;
        while (at_ < end_ && !is_blank(*at_))
            ++at_;
        *length = size_t(at_ - *text);
        return *length > 0;
    }

    bool number(int32_t* value)
    {
        skip_blanks();
        bool negative = false;
        if (at_ < end_ && (*at_ == '-' || *at_ == '+'))
            negative = *at_++ == '-';
        const char* digits = at_;
        int64_t magnitude = 0;
        for (; at_ < end_ && *at_ >= '0' && *at_ <= '9'; ++at_) {
            magnitude = magnitude * 10 + (*at_ - '0');
            if (magnitude > int64_t(std::numeric_limits<int32_t>::max()) + 1)
                return false;
        }
        const int64_t signedValue = negative ? -magnitude : magnitude;
        if (at_ == digits || signedValue > std::numeric_limits<int32_t>::max())
            return false;
        *value = int32_t(signedValue);
        return true;
    }

    // Steps over `count` raw bytes; false when fewer are left.
    bool skip(size_t count)
    {
        if (size_t(end_ - at_) < count)
            return false;
        at_ += count;
        return true;
    }

    const char* position() const { return at_; }

private:
    static bool is_blank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
    void skip_blanks()
    {
        while (at_ < end_ && is_blank(*at_))
            ++at_;
    }

    const char* at_;
    const char* end_;
};

// Builds the table from a whole file; null when the header does not describe the file. `reason` says
// what is wrong with a file that begins like a data file; it stays empty for one that does not.
std::unique_ptr<DataFile> parse_data_file(std::vector<char> bytes, std::string& reason)
{
    auto data = std::make_unique<DataFile>();
    data->bytes = std::move(bytes);
    HeaderReader header(data->bytes.data(), data->bytes.data() + data->bytes.size());
    const char* magic;
    size_t magicLength;
    if (!header.word(&magic, &magicLength) || magicLength < 2 || magic[0] != '7' || magic[1] != 'F')
        return nullptr;
    int32_t count, contentSize;
    if (!header.number(&count) || !header.number(&contentSize) || count <= 0 || contentSize <= 0) {
        reason = "the member count and the content size must be numbers above 0";
        return nullptr;
    }
    // Entries are read one by one, so a count larger than the file holds fails before it costs memory.
    size_t total = 0;
    data->offsets.push_back(0);
    for (int32_t i = 0; i < count; ++i) {
        const char* name;
        size_t nameLength;
        int32_t size;
        if (!header.word(&name, &nameLength) || nameLength > kMaxMemberName || !header.number(&size) ||
            size < 0) {
            reason = "member " + std::to_string(i + 1) + " of " + std::to_string(count) +
                     " is not a name of at most 511 characters and a size of 0 or more";
            return nullptr;
        }
        total += size_t(size);
        if (total > size_t(contentSize)) {
            reason =
                "its members hold more than the content size of " + std::to_string(contentSize) + " bytes";
            return nullptr;
        }
        data->names.emplace_back(name, nameLength);
        upper_case(data->names.back().data(), nameLength);
        data->offsets.push_back(total);
    }
    // The content may be larger than its members: the bytes after the last one are not used, and need
    // not even be there.
    const bool lineEnd = header.skip(1); // the line end after the last entry
    data->content = header.position();
    if (!lineEnd || !header.skip(total)) {
        reason = "the file ends before its members do";
        return nullptr;
    }
    // The names are complete now and never move again: the index can point into them.
    data->firstIndex.reserve(data->names.size());
    for (size_t i = 0; i < data->names.size(); ++i)
        data->firstIndex.emplace(data->names[i], i); // keeps the first of equal names
    return data;
}

SDL_RWops* open_disk_file(const char* path, bool* present)
{
    FILE* file = open_regular_file(path, "OpenFile", present);
    if (!file)
        return nullptr;
    SDL_RWops* stream = SDL_RWFromFP(file, 1);
    if (!stream)
        std::fclose(file);
    return stream;
}

int32_t first_data_word(const Param& param)
{
    switch (param.kind) {
    case kParamConstant:
        return param.value;
    case kParamSine:
        return param.ampli;
    case kParamMulti:
        return int32_t(param.lengths.size());
    case kParamBeat:
    case kParamLoops:
        return param.textIndex;
    default:
        return 0; // combi and rotate carry no number of their own in front
    }
}

const FunctionDeclaration* find_declaration(const Demo& demo, const std::string& functionName)
{
    for (const LibraryRecord& library : demo.libraries)
        for (const FunctionDeclaration& function : library.functions)
            if (function.name == functionName)
                return &function;
    return nullptr;
}

} // namespace

bool open_data_file(const char* path)
{
    static bool fileTypeRegistered = false;
    if (!fileTypeRegistered) {
        RegisterType(kTypeFile, FileAcquire, FileRelease);
        fileTypeRegistered = true;
    }
    g_dataFile.reset();
    std::vector<char> bytes;
    if (!path || !read_data_file(path, bytes))
        return false;
    std::string reason;
    g_dataFile = parse_data_file(std::move(bytes), reason);
    if (!g_dataFile && !reason.empty())
        log_printf(kDataFileRefused, path, reason.c_str());
    return g_dataFile != nullptr;
}

SDL_RWops* OpenFile(const char* name)
{
    if (!name)
        return nullptr;
    const size_t length = std::strlen(name);
    // Longer names cannot equal a member's: members are at most kMaxMemberName characters.
    if (g_dataFile && length <= kMaxMemberName) {
        char upper[kMaxMemberName];
        std::memcpy(upper, name, length);
        upper_case(upper, length);
        const auto found = g_dataFile->firstIndex.find(std::string_view(upper, length));
        if (found != g_dataFile->firstIndex.end()) {
            const size_t i = found->second;
            const size_t size = g_dataFile->offsets[i + 1] - g_dataFile->offsets[i];
            if (SDL_RWops* memory =
                    SDL_RWFromConstMem(g_dataFile->content + g_dataFile->offsets[i], int(size)))
                return memory;
        }
    }
    bool present;
    SDL_RWops* disk = open_disk_file(name, &present);
    if (!present && name[0] != '/' && !g_mediaFolder.empty())
        disk = open_disk_file((g_mediaFolder + "/" + name).c_str(), &present);
    return disk;
}

void set_media_folder(const std::string& folder)
{
    g_mediaFolder = folder;
}

void CloseFile(SDL_RWops* file)
{
    if (file)
        SDL_RWclose(file); // closes the file of a disk stream too, then frees the stream
}

void* FileAcquire(const char* name, void*, bool* outFlag)
{
    if (outFlag)
        *outFlag = true;
    return OpenFile(name);
}

bool FileRelease(const char*, void* resource)
{
    CloseFile(static_cast<SDL_RWops*>(resource));
    return true;
}

bool declared_resource_type(const std::string& paramName, uint32_t* type)
{
    static const char kMarker[] = "RSRC";
    for (size_t at = 0; at + 8 <= paramName.size(); ++at) {
        if (paramName.compare(at, 4, kMarker) != 0)
            continue;
        const char* code = paramName.data() + at + 4;
        *type = (uint32_t(uint8_t(code[0])) << 24) | (uint32_t(uint8_t(code[1])) << 16) |
                (uint32_t(uint8_t(code[2])) << 8) | uint32_t(uint8_t(code[3]));
        return true;
    }
    return false;
}

std::vector<ResourcePreload> event_resource_preloads(const Demo& demo, const Event& event)
{
    std::vector<ResourcePreload> preloads;
    const FunctionDeclaration* declaration = find_declaration(demo, event.functionName);
    if (!declaration)
        return preloads;
    const size_t declared = std::min(event.params.size(), declaration->paramNames.size());
    for (size_t p = 0; p < declared; ++p) {
        const Param& param = event.params[p];
        uint32_t type;
        if (param.kind != kParamConstant || !declared_resource_type(declaration->paramNames[p], &type))
            continue;
        const int32_t next = p + 1 < event.params.size() ? first_data_word(event.params[p + 1]) : 0;
        preloads.push_back({p, type, param.value, next});
    }
    return preloads;
}
