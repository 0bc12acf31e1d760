#include "flame_file.h"

#include <SDL.h>
#include <vortel/plugin_helper.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace emberfold
{

namespace
{

constexpr int kNumbersPerTransform = 3 + 3 + 9 + 3 + 1 + 1 + kVariationSlots;

// Whitespace-separated numbers from a text stream. The first number that is missing or cannot be read
// stops the reader: every later read fails too and leaves its target as it was. A read error of the
// stream counts as its end, and so does its byte kMaxFlameFileBytes + 1: no flame file is that long, but
// a device or an endless stream named as one could be read forever.
class NumberReader
{
public:
    NumberReader(SDL_RWops* stream, const char* name) : stream_(stream), name_(name) {}

    bool ok() const { return ok_; }

    bool read(float& value)
    {
        double d;
        if (!token() || !parse_double(d) || !(std::fabs(d) <= 3.4e38))
            return fail();
        value = float(d);
        return true;
    }
    bool read(double& value)
    {
        double d;
        if (!token() || !parse_double(d))
            return fail();
        value = d;
        return true;
    }
    // Integers outside the 32-bit range are malformed, except that colours may be written unsigned.
    bool read(int32_t& value, bool unsignedAllowed = false)
    {
        if (!token())
            return fail();
        errno = 0;
        char* end = nullptr;
        const long long v = std::strtoll(text_, &end, 10);
        const long long low = INT32_MIN, high = unsignedAllowed ? UINT32_MAX : INT32_MAX;
        if (end == text_ || *end != '\0' || errno == ERANGE || v < low || v > high)
            return fail();
        value = int32_t(uint32_t(v));
        return true;
    }
    void skip(long long count)
    {
        float ignored;
        while (count-- > 0 && read(ignored)) {
        }
    }

private:
    static constexpr int kEnd = -1;

    int next()
    {
        if (at_ == filled_) {
            if (consumed_ >= kMaxFlameFileBytes) {
                tooLong_ = true;
                return kEnd;
            }
            const int got = SDL_RWread(stream_, buffer_, 1, sizeof buffer_);
            if (got <= 0)
                return kEnd;
            at_ = 0;
            filled_ = got;
            consumed_ += size_t(got);
        }
        return static_cast<unsigned char>(buffer_[at_++]);
    }
    bool token()
    {
        if (!ok_)
            return false;
        int c = next();
        while (c != kEnd && std::isspace(c))
            c = next();
        size_t n = 0;
        while (c != kEnd && !std::isspace(c)) {
            if (n + 1 >= sizeof(text_))
                return false; // no number is that long
            text_[n++] = char(c);
            c = next();
        }
        text_[n] = '\0';
        return n > 0;
    }
    bool parse_double(double& d)
    {
        char* end = nullptr;
        d = std::strtod(text_, &end);
        return end != text_ && *end == '\0' && std::isfinite(d);
    }
    bool fail()
    {
        if (ok_ && tooLong_)
            vortel::log("Emberfold: %s is longer than a flame file can be (%zu bytes); the rest is left out",
                        name_, kMaxFlameFileBytes);
        else if (ok_)
            vortel::log("Emberfold: %s ends early or holds a malformed number; the rest is left as it was",
                        name_);
        ok_ = false;
        return false;
    }

    SDL_RWops* stream_;
    const char* name_;
    char buffer_[4096];
    int at_ = 0, filled_ = 0;
    size_t consumed_ = 0;
    bool tooLong_ = false;
    char text_[64];
    bool ok_ = true;
};

void read_transform(NumberReader& in, FlameTransform& t)
{
    for (float& v : t.scale)
        in.read(v);
    for (float& v : t.skew)
        in.read(v);
    for (float& v : t.rotation)
        in.read(v);
    for (float& v : t.translation)
        in.read(v);
    in.read(t.colour);
    in.read(t.weight);
    for (float& v : t.variations)
        in.read(v);
}

VirtPalette read_palette(NumberReader& in, const char* name)
{
    VirtPalette palette;
    int32_t stops = 0;
    in.read(stops);
    bool full = false;
    for (int32_t i = 0; i < stops && in.ok(); ++i) {
        float position = 0.0f;
        int32_t colour = 0;
        if (!in.read(position) || !in.read(colour, true))
            break;
        if (position == 0.0f) {
            palette.ChangeColor(0, uint32_t(colour));
        } else if (position == 1.0f) {
            palette.ChangeColor(palette.count - 1, uint32_t(colour));
        } else if (palette.count < VirtPalette::kMaxColors) {
            palette.AddColor(position, uint32_t(colour));
        } else if (!full) {
            full = true;
            vortel::log(
                "Emberfold: %s has more palette stops than a palette holds (%d); the rest are left out", name,
                VirtPalette::kMaxColors);
        }
    }
    return palette;
}

// Description and companion files come through the player, so that files packed into the demo's data
// file are found. Without a player (the fuzz targets and benchmarks that link Emberfold) they are read
// from disk.
SDL_RWops* open_flame_file(const char* name)
{
    return vortel::gHost.OpenFile ? vortel::open_file(name) : SDL_RWFromFile(name, "rb");
}

void close_flame_file(SDL_RWops* file)
{
    if (vortel::gHost.OpenFile)
        vortel::close_file(file);
    else
        SDL_RWclose(file);
}

void read_companion(FlameDescription& d, const std::string& name)
{
    // Whatever the companion does not supply stays as it is now.
    for (int32_t j = 0; j < d.transformCount; ++j)
        make_static_channels(d.transforms[j]);
    SDL_RWops* file = open_flame_file(name.c_str());
    if (!file)
        return;
    NumberReader in(file, name.c_str());
    for (int32_t j = 0; j < d.transformCount && in.ok(); ++j) {
        FlameTransform& t = d.transforms[j];
        for (int c = 0; c < kChannels; ++c) {
            in.read(t.channelWave[c]);
            in.read(t.channelPeriod[c]);
            in.read(t.channelLow[c]);
            in.read(t.channelHigh[c]);
        }
        for (double& v : t.baseRotation)
            in.read(v);
    }
    close_flame_file(file);
}

} // namespace

bool read_flame_description(FlameDescription& d, const char* fileName)
{
    SDL_RWops* file = fileName ? open_flame_file(fileName) : nullptr;
    if (!file)
        return false;
    NumberReader in(file, fileName);
    int32_t count = 0, extension = 0;
    in.read(count);
    if (count == 0) {
        in.read(extension);
        in.read(count);
    }
    if (count < 1) {
        // Nothing to draw from: keep the description as it was.
        vortel::log("Emberfold: %s has no transforms (count %d)", fileName, count);
        close_flame_file(file);
        compute_probabilities(d);
        return true;
    }
    int32_t kept = count;
    if (count > kMaxTransforms) {
        vortel::log("Emberfold: %s has %d transforms; only the first %d are used", fileName, count,
                    kMaxTransforms);
        kept = kMaxTransforms;
    }
    for (int32_t j = 0; j < kept; ++j)
        init_transform(d.transforms[j]);
    d.transformCount = kept;
    for (int32_t j = 0; j < kept; ++j)
        read_transform(in, d.transforms[j]);
    in.skip((long long)(count - kept) * kNumbersPerTransform);
    if (in.ok())
        d.palette = read_palette(in, fileName);
    d.symmetry = 0;
    if (extension > 0)
        in.read(d.symmetry);
    close_flame_file(file);

    read_companion(d, std::string(fileName) + "ANI");
    compute_probabilities(d);
    return true;
}

} // namespace emberfold
