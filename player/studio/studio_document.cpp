#include "studio_document.h"

#include <charconv>
#include <cstdio>
#include <unordered_map>

#include "effect_describe.h"
#include "json_text.h"
#include "param_eval.h"
#include "registry.h"
#include "studio_request.h"

namespace
{

constexpr int64_t kMaxStep = 60000;
constexpr int64_t kMaxSamples = 100000;

const char* interpolation_name(int32_t interpolation)
{
    switch (interpolation) {
    case kInterpolBez:
        return "bez";
    case kInterpolSqd:
        return "sqd";
    default:
        return "lin";
    }
}

const char* op_name(int32_t op)
{
    switch (op) {
    case kCombiAdd:
        return "add";
    case kCombiMultiply:
        return "multiply";
    case kCombiNegate:
        return "negate";
    case kCombiAbs:
        return "abs";
    default:
        return "none";
    }
}

const FunctionDeclaration* declaration_of(const Demo& demo, const Event& event)
{
    for (const LibraryRecord& library : demo.libraries)
        if (library.fileName == event.libraryFileName)
            for (const FunctionDeclaration& function : library.functions)
                if (function.name == event.functionName)
                    return &function;
    return nullptr;
}

// Documents run to megabytes: numbers are written without a string of their own.
void append_int(std::string& out, long long value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof(digits), value).ptr;
    out.append(digits, size_t(end - digits));
}

void append_number(std::string& out, const char* key, long long value)
{
    out += ", \"";
    out += key;
    out += "\": ";
    append_int(out, value);
}

// `name`: the parameter's declared name as JSON (a string or null).
void append_param(std::string& out, const std::vector<Param>& params, size_t index, const std::string& name)
{
    const Param& param = params[index];
    out += "{\"name\": ";
    out += name;
    out += param_animated(params, index) ? ", \"animated\": true" : ", \"animated\": false";
    switch (param.kind) {
    case kParamSine:
        out += ", \"kind\": \"sine\"";
        append_number(out, "ampli", param.ampli);
        append_number(out, "period", param.period);
        append_number(out, "offset", param.offset);
        append_number(out, "height", param.height);
        break;
    case kParamMulti: {
        out += ", \"kind\": \"multi\", \"interpolation\": \"";
        out += interpolation_name(param.interpolation);
        out += "\", \"keys\": [";
        uint64_t time = 0;
        for (size_t k = 0; k < param.keys.size(); ++k) {
            if (k > 0)
                time = param.segmentEnds[k - 1];
            out += k ? ", {\"time\": " : "{\"time\": ";
            append_int(out, (long long)time);
            out += ", \"value\": ";
            append_int(out, param.keys[k]);
            out += "}";
        }
        out += param.linearForm ? "], \"linearForm\": true" : "], \"linearForm\": false";
        break;
    }
    case kParamCombi:
        out += ", \"kind\": \"combi\", \"op\": \"";
        out += op_name(param.op);
        out += "\"";
        break;
    case kParamBeat:
        out += ", \"kind\": \"beat\"";
        append_number(out, "text", param.textIndex);
        append_number(out, "min", param.min);
        append_number(out, "max", param.max);
        break;
    case kParamLoops:
        out += ", \"kind\": \"loops\"";
        append_number(out, "text", param.textIndex);
        break;
    case kParamRotate:
        out += ", \"kind\": \"rotate\"";
        break;
    default:
        out += ", \"kind\": \"const\"";
        append_number(out, "value", param.value);
        break;
    }
    out += "}";
}

// A pattern named by `text`, copied, or false when there is none.
bool look_up_beat(int32_t text, BeatRecord* beat)
{
    bool isStatic = false;
    const auto* record = static_cast<const BeatRecord*>(
        AcquireByIndex(kTypeBeat, text, nullptr, false, "Studio", "beat ", &isStatic));
    if (!record)
        return false;
    *beat = *record;
    ReleaseByIndex(kTypeBeat, text, nullptr);
    return true;
}

bool ends_with(const std::string& text, const char* end)
{
    const size_t length = std::char_traits<char>::length(end);
    return text.size() >= length && text.compare(text.size() - length, length, end) == 0;
}

// Whether the value of a parameter, on its own, changes over time.
bool animated_alone(const Param& param)
{
    switch (param.kind) {
    case kParamSine:
    case kParamBeat:
    case kParamLoops:
        return true;
    case kParamMulti:
        return !param.lengths.empty();
    case kParamCombi:
        return (param.first && animated_alone(*param.first)) ||
               (param.second && animated_alone(*param.second));
    default:
        return false;
    }
}

} // namespace

bool param_animated(const std::vector<Param>& params, size_t index)
{
    const Param& param = params[index];
    if (param.kind != kParamRotate)
        return animated_alone(param);
    for (size_t angle = index + 1; angle < params.size() && angle <= index + 3; ++angle)
        if (animated_alone(params[angle]))
            return true;
    return false;
}

DocumentExtras find_document_extras(const Demo& demo)
{
    DocumentExtras extras;
    for (const LibraryRecord& library : demo.libraries) {
        extras.libraryAbout.push_back(library.handle ? library_about_json(library.handle) : "null");
        extras.libraryEffects.push_back(library.handle ? effects_by_name_json(library.handle) : "{}");
    }
    find_beat(demo, &extras);
    return extras;
}

void find_beat(const Demo& demo, DocumentExtras* extras)
{
    // The pattern the first beat or loops parameter follows; without any, a beat file among the texts.
    std::vector<int32_t> candidates;
    for (const Track& track : demo.tracks)
        for (const Event& event : track.events)
            for (const Param& param : event.params)
                if ((param.kind == kParamBeat || param.kind == kParamLoops) && candidates.empty())
                    candidates.push_back(param.textIndex);
    for (size_t text = 0; candidates.empty() && text < demo.texts.size(); ++text)
        if (ends_with(demo.texts[text], ".beat"))
            candidates.push_back(int32_t(text));
    extras->hasBeat = false;
    for (int32_t text : candidates)
        if (look_up_beat(text, &extras->beat)) {
            extras->hasBeat = true;
            extras->beatText = text;
            break;
        }
}

std::string document_json(const Demo& demo, const std::string& path, uint64_t generation,
                          const DocumentExtras& extras)
{
    size_t events = 0;
    for (const Track& track : demo.tracks)
        events += track.events.size();
    std::string out;
    out.reserve(4096 + events * 1024);
    out += "{\"path\": " + json_quoted(path) + ", \"generation\": " + std::to_string(generation) +
           ", \"runningTime\": " + std::to_string(demo.runningTime) + ",\n \"libraries\": [";
    for (size_t l = 0; l < demo.libraries.size(); ++l) {
        out += l ? ", " : "";
        out += "{\"file\": " + json_quoted(demo.libraries[l].fileName) +
               ", \"about\": " + (l < extras.libraryAbout.size() ? extras.libraryAbout[l] : "null") + "}";
    }
    out += "],\n \"effects\": {";
    for (size_t l = 0; l < demo.libraries.size(); ++l) {
        out += l ? ",\n  " : "\n  ";
        out += json_quoted(demo.libraries[l].fileName) + ": " +
               (l < extras.libraryEffects.size() ? extras.libraryEffects[l] : "{}");
    }
    out += "},\n \"texts\": [";
    for (size_t t = 0; t < demo.texts.size(); ++t)
        out += (t ? ", " : "") + json_quoted(demo.texts[t]);
    out += "],\n \"beat\": ";
    if (extras.hasBeat) {
        char bar[48];
        std::snprintf(bar, sizeof(bar), "%.3f", extras.beat.bar);
        out += "{\"text\": " + std::to_string(extras.beatText) +
               ", \"start\": " + std::to_string(extras.beat.start) +
               ", \"length\": " + std::to_string(extras.beat.length) + ", \"bar\": " + bar +
               ", \"beats\": " + std::to_string(extras.beat.count) + "}";
    } else {
        out += "null";
    }
    out += ",\n \"music\": ";
    out += demo.hasInputMusicFile ? "{\"file\": " + json_quoted(demo.inputMusicFile) + "}" : "null";
    out += ",\n \"tracks\": [";
    // What every event of a function repeats, as JSON: its function, library and parameter names.
    struct Quoted {
        std::string function, library;
        std::vector<std::string> names;
    };
    std::unordered_map<const FunctionDeclaration*, Quoted> quoted;
    const std::string null = "null";
    for (size_t t = 0; t < demo.tracks.size(); ++t) {
        out += t ? ",\n  {\"events\": [" : "\n  {\"events\": [";
        const std::vector<Event>& events = demo.tracks[t].events;
        for (size_t e = 0; e < events.size(); ++e) {
            const Event& event = events[e];
            const FunctionDeclaration* declaration = declaration_of(demo, event);
            auto [entry, added] = quoted.try_emplace(declaration);
            Quoted& q = entry->second;
            if (added) {
                q.function = json_quoted(event.functionName);
                q.library = json_quoted(event.libraryFileName);
                for (size_t p = 0; declaration && p < declaration->paramNames.size(); ++p)
                    q.names.push_back(json_quoted(declaration->paramNames[p]));
            }
            out += e ? ",\n   {\"function\": " : "\n   {\"function\": ";
            out += declaration ? q.function : json_quoted(event.functionName);
            out += ", \"library\": ";
            out += declaration ? q.library : json_quoted(event.libraryFileName);
            append_number(out, "start", event.startTime);
            append_number(out, "end", event.endTime);
            out += ", \"params\": [";
            for (size_t p = 0; p < event.params.size(); ++p) {
                out += p ? ", " : "";
                append_param(out, event.params, p, p < q.names.size() ? q.names[p] : null);
            }
            out += "]}";
        }
        out += "]}";
    }
    out += "]}\n";
    return out;
}

const Event& event_at(const Demo& demo, int64_t track, int64_t event)
{
    if (track < 0 || size_t(track) >= demo.tracks.size())
        throw StudioBadRequest("there is no track " + std::to_string(track) + " (the document has " +
                               std::to_string(demo.tracks.size()) + ")");
    const std::vector<Event>& events = demo.tracks[size_t(track)].events;
    if (event < 0 || size_t(event) >= events.size())
        throw StudioBadRequest("track " + std::to_string(track) + " has no event " + std::to_string(event) +
                               " (it has " + std::to_string(events.size()) + ")");
    return events[size_t(event)];
}

const Param& param_at(const Event& event, int64_t param)
{
    if (event.unread)
        throw StudioBadRequest("this event could not be read from the document");
    if (param < 0 || size_t(param) >= event.params.size())
        throw StudioBadRequest("the event has no parameter " + std::to_string(param) + " (it has " +
                               std::to_string(event.params.size()) + ")");
    return event.params[size_t(param)];
}

std::string curve_json(const Demo& demo, int64_t track, int64_t eventIndex, int64_t param, int64_t step)
{
    const Event& event = event_at(demo, track, eventIndex);
    param_at(event, param);
    if (step < 1 || step > kMaxStep)
        throw StudioBadRequest("\"step\" must be in 1 .. " + std::to_string(kMaxStep));
    const uint32_t start = event.startTime, end = std::max(event.endTime, event.startTime);
    const int64_t samples = (int64_t(end) - start + step - 1) / step;
    if (samples > kMaxSamples)
        throw StudioBadRequest("that step gives " + std::to_string(samples) + " samples; at most " +
                               std::to_string(kMaxSamples) + " are served");
    std::vector<std::string> series(4);
    int words = 1;
    bool constant = true;
    try {
        for (int64_t i = 0; i < samples; ++i) {
            int32_t out[4];
            bool sampleConstant = false;
            words = evaluate_param(event.params, size_t(param), uint32_t(start + i * step), start, out,
                                   &sampleConstant);
            constant = constant && sampleConstant;
            for (int w = 0; w < words; ++w) {
                series[size_t(w)] += i ? "," : "";
                series[size_t(w)] += std::to_string(out[w]);
            }
        }
    } catch (const BasicException& e) {
        throw StudioBadRequest(std::string("this parameter cannot be evaluated on its own: ") + e.message);
    }
    std::string out = "{\"start\": " + std::to_string(start) + ", \"end\": " + std::to_string(end) +
                      ", \"step\": " + std::to_string(step) + ", \"words\": " + std::to_string(words) +
                      ", \"constant\": " + (constant ? "true" : "false") + ", \"values\": [";
    for (int w = 0; w < words; ++w)
        out += (w ? "], [" : "[") + series[size_t(w)];
    return out + "]]}";
}
