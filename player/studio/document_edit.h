// Edits of a demo document's raw bytes that change only what they are asked to change.
//
// The document is scanned, not parsed into a tree and written out again: every byte outside the
// attributes and elements an edit names stays as it was (comments, order, spacing, quoting, entities,
// line ends). Elements are counted the way the loader counts them (demo_loader.h):
//   track T   the T-th element named Track anywhere in the document, in document order (nested ones too)
//   event E   the E-th child element of that track, whatever its tag
//   param P   the P-th child element named param of that event
// All indices count from 0.
//
// Each edit returns false with *error set (a sentence: "track 3 has no event 7 (it has 2)", "the document
// is not well-formed near byte 1234: ...") and leaves `text` untouched when it cannot do the edit. It
// refuses documents it cannot count reliably: ones declaring attribute defaults (<!ATTLIST>) or using
// parameter entities in their DOCTYPE, and ones using entities of their own (&name;) outside comments and
// CDATA. Character references and the five predefined entities are understood.
//
// How the bytes change:
// - An attribute that is set keeps its quote character; only the value between the quotes is replaced.
//   A missing one is added as ` name="value"` right after the last attribute (or the tag name).
// - An attribute that is removed goes with the whitespace before it, and nothing else.
// - New <seg> elements are spelt `<seg time="1000" val="0"/>`. When the param had segs, the new ones
//   replace the bytes from its first seg to its last and are separated by the whitespace found between
//   the old ones (or before the first); otherwise they are written inline as its whole content.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace studio
{

// Sets the event's StartTime and EndTime attributes (ms, written as given). Refuses start >= end.
bool set_event_times(std::string& text, size_t track, size_t event, uint32_t start, uint32_t end,
                     std::string* error);

// One key of a multi parameter. time: ms from the event's start.
struct Key {
    uint32_t time;
    int32_t value;
};

// Makes param P of the event a multi with these keys. A multi keeps its interpol (one without gets
// interpol="lin"); a param without type
// (the linear form: start and end over the whole event) loses start and end and becomes type="multi"
// interpol="lin". val becomes keys[0].value, and each further key gives one <seg> whose time is the
// distance to the key before it. The start tag keeps its other attributes and their spelling;
// `<param .../>` becomes `<param ...>...</param>` when segs are needed. Refuses other kinds of param and
// keys that are empty, do not start at time 0, or go back in time.
bool set_param_keys(std::string& text, size_t track, size_t event, size_t param, const std::vector<Key>& keys,
                    std::string* error);

// Sets the val of a constant param (type="const", or any type the loader does not know, which it reads
// as a constant). Refuses other kinds of param.
bool set_param_value(std::string& text, size_t track, size_t event, size_t param, int32_t value,
                     std::string* error);

} // namespace studio
