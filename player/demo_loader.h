// Reads a demo document (XML) into the demo model.
//
// Elements are found anywhere in the document (by tag name, first in document order where one is
// expected); integer attributes read like atol (leading blanks and sign, digits up to the first other
// character, no digits give 0, values beyond 32 bits saturate). Strings are UTF-8.
#pragma once

#include <string>
#include <vector>

#include "demo_model.h"

// Replaces `demo` with the document at `path`. On failure throws BasicException and leaves `demo`
// unchanged. The message's first line is one of these:
//   "Couldn't load the demo <path>, does this file exists?"  the file cannot be read (no second line)
//   "An XML error occurred while loading demo from XML file. The XML file is corrupt in some way."
//       the file is not well-formed XML, or it grows past its memory budget as it is read (xml_parser.h)
//   "Corrupt combi-function!"  a combi whose number of operands does not match its op, or one nested
//       deeper than kMaxCombiDepth
//   "An error occurred while loading demo from XML file. May have something to with corrupt XML, not
//       100% sure..."  a required element or attribute is missing, or an interpol value is unknown
// and, on the second line, where and what: "<path>:<line>:<column>: <problem>", the position being where
// the element's start tag ends or where the XML library found the error; for instance
//   "demo.xml:12:31: <param> has no start: a param without type needs start and end; a constant is
//   type="const"". Control characters the document holds are escaped (vortel/log_text.h); both lines end
// in a line break.
// The XML library is initialised and terminated once per call.
void load_demo(const char* path, Demo& demo);

// For --check: reads what can be read of the document instead of stopping at its first problem. A
// missing element or attribute, an unknown interpol value or a corrupt combi leaves out only the part it
// is in (a library, one of its functions, the settings, an event: an event left out stays in its track
// with Event::unread set, so that later events keep their numbers), with one line in `problems`:
// "library N: ...", "library 'NAME', function N: ...", "Settings: ...", "track K, event I: ..." (the
// message above after the colon). A document that is not well-formed is read up to its first error
// ("document: An XML error occurred ..."), and false is returned: what came after it is unknown.
// Throws like load_demo when the file cannot be read or holds no element at all.
bool load_demo_leniently(const char* path, Demo& demo, std::vector<std::string>& problems);

// Combis nest at most this deep (a combi directly in an event is at depth 1), which bounds the recursion
// of loading and evaluating them.
constexpr int kMaxCombiDepth = 64;
