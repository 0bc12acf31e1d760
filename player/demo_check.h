// --check: the mistakes a demo author makes, found without playing the demo. The document is read and
// its libraries are loaded (never initialised: no Vortel_Init, no window), then every event is checked.
//
// One line per problem, "track K, event I: ..." for an event (both counted from 0 in document order),
// "library 'NAME': ...", "Settings: ..." or "text N: ..." otherwise. Problems found:
//   what the document reader could not read, each part on its own, and then what it could read (an XML
//     error first reports the error, then checks what came before it);
//   a library that cannot be loaded (with the dynamic loader's reason), lacks an entry point, does not
//     export a function it declares, or declares an effect it describes with another number of parameters
//     than the effect reads;
//   an event naming a library or function the document does not declare;
//   a parameter count different from the function's declaration;
//   a text index out of range: a constant parameter that names a resource or a file by the effect's own
//     description (Vortel_DescribeEffects, include/vortel/effect_description.h), or, for a library
//     without descriptions, whose declared name marks it as a resource ("RSRC" followed by the
//     four-character type, e.g. "imageRSRCTXTR"); and every beat or loops parameter;
//   a constant parameter outside a range its effect's description says the effect refuses or clamps
//     (a range the effect is only made for is not a problem);
//   a text a described effect reads as a resource of one type that described effects in the document
//     make only as resources of other types (a swarm named like a group and no swarm of that name);
//   a sqd multi parameter not followed by three multi parameters with as many segments;
//   an event that never plays (end not after start), starts before the event before it, or starts while
//     an earlier event of its track still runs;
//   a music, loader music or data file (Settings) that does not exist, and a text that looks like a file
//     name (no blanks, and a "/" or an extension of 1 to 8 letters and digits with a letter among them)
//     naming a file found neither in the working folder, nor beside the document, nor in the data file;
//     a text a described effect reads as a file name (a FILE, or a resource made from the file it names)
//     is checked the same way, whatever it looks like.
#pragma once

#include <string>
#include <vector>

#include "demo_model.h"
#include "library_host.h"

// The problems of a document already read into `demo`. Loads the demo's libraries into it (release them
// with unload_libraries). `documentFolder` is where media named relative to the document are found.
// `complete` false: the document was read only up to an XML error, so its texts are not all known and
// no text index is checked. Events marked unread are left out.
std::vector<std::string> check_demo(Demo& demo, const LibrarySearch& search,
                                    const std::string& documentFolder, bool complete = true);

// Whether a text names a file, by the rule above.
bool looks_like_file_name(const std::string& text);

// The whole of --check for the document at `path`: each problem, then a summary line, on standard output
// and in the log. Returns the exit status: 1 when there is any problem (a document that cannot be read
// is one), 0 otherwise.
int run_check(const std::string& path);
