// The demo as the studio's page reads it: the document, and a parameter's values over its event.
// Main thread only (the beat pattern is looked up in the registry, curves are evaluated by the player's
// own parameter evaluator).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <vortel/records.h>

#include "demo_model.h"

// What the document's JSON tells beyond the model.
struct DocumentExtras {
    std::vector<std::string> libraryAbout;   // per library: a JSON string or null
    std::vector<std::string> libraryEffects; // per library: effects_by_name_json, "{}" when not loaded
    bool hasBeat = false;
    int32_t beatText = 0; // the text naming the pattern
    BeatRecord beat{};
};

DocumentExtras find_document_extras(const Demo& demo);
// The beat pattern alone: a reloaded document keeps its libraries (loaded once, in the same order), so
// only this is looked up again.
void find_beat(const Demo& demo, DocumentExtras* extras);

// GET /api/document (docs/studio.md).
std::string document_json(const Demo& demo, const std::string& path, uint64_t generation,
                          const DocumentExtras& extras);

// GET /api/curve: the values of params[param] of the event every `step` ms over its span. Throws
// StudioBadRequest for an index out of range, a step out of 1 .. 60000 ms, too many samples, or a
// parameter that cannot be evaluated on its own (the 2nd to 4th of a sqd group).
std::string curve_json(const Demo& demo, int64_t track, int64_t event, int64_t param, int64_t step);

// Whether the parameter's value changes over time (the evaluator's own rule: sine, beat and loops always
// do; a multi does when it has segments; a combi and a rotate when one of their parts does).
bool param_animated(const std::vector<Param>& params, size_t index);

// The event at (track, event), or StudioBadRequest naming what is out of range.
const Event& event_at(const Demo& demo, int64_t track, int64_t event);
// Its parameter `param`, or StudioBadRequest when it is out of range or the event could not be read.
const Param& param_at(const Event& event, int64_t param);
