// Demo document loader on the Xerces-C DOM.
//
// Index
//   [SECTION] Messages
//   [SECTION] DOM access: attributes, numbers, strings, children
//   [SECTION] Libraries and settings
//   [SECTION] Tracks, events and parameters
//   [SECTION] Texts
//   [SECTION] Loading
#include "demo_loader.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

#include <vortel/log_text.h>
#include <xercesc/dom/DOM.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLException.hpp>
#include <xercesc/util/XMLString.hpp>

#include "param_eval.h"
#include "xml_parser.h"

using namespace xercesc;

namespace
{

//-----------------------------------------------------------------------------
// [SECTION] Messages
//-----------------------------------------------------------------------------

constexpr const char* kMissingDocumentMessage = "Couldn't load the demo %s, does this file exists?";
constexpr const char* kCorruptCombiMessage = "Corrupt combi-function!";
constexpr const char* kXmlErrorMessage =
    "An XML error occurred while loading demo from XML file. The XML file is corrupt in some way.";
constexpr const char* kLoadErrorMessage =
    "An error occurred while loading demo from XML file. May have something to with corrupt XML, not 100% "
    "sure...";

// What a reader found wrong: the message for the log's first line, the element concerned (null: the
// document as a whole) and the problem in words for the line after it.
struct DocumentFault {
    const char* message;
    const DOMElement* element;
    std::string problem;
};

// A required element or attribute is missing, or a value is not one of those allowed.
[[noreturn]] void malformed(const DOMElement* element, std::string problem)
{
    throw DocumentFault{kLoadErrorMessage, element, std::move(problem)};
}

// What each form needs, said where one of its attributes is missing.
constexpr const char* kSettingsNeeds = "<Settings> needs RunningTime (ms) and NumberOfInputSurfaces";
constexpr const char* kLibraryNeeds = "a Library needs FileName";
constexpr const char* kFunctionNeeds = "each element in a Library declares a function and needs its Name";
constexpr const char* kParamNameNeeds = "each element in a function declaration names a parameter in Name";
constexpr const char* kEventNeeds =
    "each element in a Track is an event and needs LibraryFileName, FunctionName, StartTime and EndTime";
constexpr const char* kLinearNeeds = "a param without type needs start and end; a constant is type=\"const\"";
constexpr const char* kMultiNeeds = "a param of type=\"multi\" needs interpol (lin, bez or sqd) and val";
constexpr const char* kCombiNeeds =
    "a param of type=\"combi\" needs op (0 add, 1 multiply, 1000 negate, 1001 absolute value)";
constexpr const char* kSineNeeds = "a param of type=\"sin\" needs ampli, period, offset and height";
constexpr const char* kBeatNeeds =
    "a param of type=\"beat\" needs ID (the text naming the beat), min and max";

// `text` with its control characters escaped, so that what a document holds stays on one line.
std::string one_line(const std::string& text)
{
    char line[400];
    vortel::escape_controls(line, sizeof(line), text.data(), text.size());
    return line;
}

// While --check reads a document: the problems found so far, which then leave out the part they are in
// instead of ending the reading. Null for a document read to be played.
std::vector<std::string>* gProblems = nullptr;

// Reads one part of the document (a library's function, the settings, an event). A problem in it ends
// the reading, or while --check reads, is noted as "<where>: <message>" and leaves the part out (false).
template <class Where, class Read> bool read_part(Where where, Read read)
{
    if (!gProblems) {
        read();
        return true;
    }
    try {
        read();
        return true;
    } catch (const DocumentFault& fault) {
        gProblems->push_back(one_line(where() + ": " + fault.message + " (" + fault.problem + ")"));
    } catch (const BasicException& e) {
        gProblems->push_back(where() + ": " + e.message);
    }
    return false;
}

//-----------------------------------------------------------------------------
// [SECTION] DOM access: attributes, numbers, strings, children
//-----------------------------------------------------------------------------

// The attribute's value, or null when the element has no such attribute.
const XMLCh* attribute(const DOMElement* element, const XMLCh* name)
{
    const DOMAttr* node = element->getAttributeNode(name);
    return node ? node->getValue() : nullptr;
}

const XMLCh* required_attribute(const DOMElement* element, const XMLCh* name, const char* needs)
{
    const XMLCh* value = attribute(element, name);
    if (!value)
        malformed(element, "<" + utf8_of(element->getTagName()) + "> has no " + utf8_of(name) + ": " + needs);
    return value;
}

bool is_blank(XMLCh c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// atol with 32-bit longs: saturates instead of overflowing.
int32_t parse_long(const XMLCh* text)
{
    while (is_blank(*text))
        ++text;
    bool negative = false;
    if (*text == '-' || *text == '+')
        negative = *text++ == '-';
    int64_t magnitude = 0;
    const int64_t limit = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    for (; *text >= '0' && *text <= '9'; ++text)
        magnitude = std::min(magnitude * 10 + (*text - '0'), limit);
    const int64_t value = negative ? -magnitude : magnitude;
    return int32_t(std::min<int64_t>(value, std::numeric_limits<int32_t>::max()));
}

int32_t required_int(const DOMElement* element, const XMLCh* name, const char* needs)
{
    return parse_long(required_attribute(element, name, needs));
}

int32_t optional_int(const DOMElement* element, const XMLCh* name, int32_t fallback)
{
    const XMLCh* value = attribute(element, name);
    return value ? parse_long(value) : fallback;
}

std::string required_string(const DOMElement* element, const XMLCh* name, const char* needs)
{
    return utf8_of(required_attribute(element, name, needs));
}

template <class Visit> void for_each_child_element(const DOMElement* parent, Visit visit)
{
    for (const DOMNode* node = parent->getFirstChild(); node; node = node->getNextSibling())
        if (node->getNodeType() == DOMNode::ELEMENT_NODE)
            visit(static_cast<const DOMElement*>(node));
}

size_t count_child_elements(const DOMElement* parent)
{
    size_t count = 0;
    for_each_child_element(parent, [&](const DOMElement*) { ++count; });
    return count;
}

bool tag_is(const DOMElement* element, const XMLCh* tag)
{
    return XMLString::equals(element->getTagName(), tag);
}

// The elements the loader looks for wherever they sit, each kind in document order. One walk over the
// document: the DOM's own search by tag name walks the whole tree again for every name, and slowly.
struct DocumentElements {
    std::vector<const DOMElement*> libraries, settings, tracks, texts, textLists;
    // In a document read up to an XML error: the elements whose end was never reached, which may have
    // lost children. They are the last element at every depth.
    std::vector<const DOMElement*> unfinished;
    bool finished(const DOMElement* element) const
    {
        return std::find(unfinished.begin(), unfinished.end(), element) == unfinished.end();
    }
};

// The node after `node` in document order (descending into every node with children, as a search by
// tag name does), or null after the last one.
const DOMNode* next_in_document(const DOMNode* node)
{
    if (const DOMNode* child = node->getFirstChild())
        return child;
    for (; node; node = node->getParentNode())
        if (const DOMNode* sibling = node->getNextSibling())
            return sibling;
    return nullptr;
}

DocumentElements find_elements(const DOMDocument* document)
{
    DocumentElements found;
    const std::pair<const XMLCh*, std::vector<const DOMElement*>*> wanted[] = {
        {u"Library", &found.libraries}, {u"Settings", &found.settings}, {u"Track", &found.tracks},
        {u"Text", &found.texts},        {u"Texts", &found.textLists},
    };
    for (const DOMNode* node = document->getFirstChild(); node; node = next_in_document(node)) {
        if (node->getNodeType() != DOMNode::ELEMENT_NODE)
            continue;
        const auto* element = static_cast<const DOMElement*>(node);
        for (const auto& [tag, list] : wanted)
            if (tag_is(element, tag))
                list->push_back(element);
    }
    return found;
}

//-----------------------------------------------------------------------------
// [SECTION] Libraries and settings
//-----------------------------------------------------------------------------

void read_libraries(const DocumentElements& elements, Demo& demo)
{
    for (size_t n = 0; n < elements.libraries.size(); ++n) {
        const DOMElement* libraryElement = elements.libraries[n];
        LibraryRecord library;
        if (!read_part(
                [n] { return "library " + std::to_string(n); },
                [&] { library.fileName = required_string(libraryElement, u"FileName", kLibraryNeeds); }))
            continue;
        size_t f = 0;
        for_each_child_element(libraryElement, [&](const DOMElement* functionElement) {
            if (!elements.finished(functionElement))
                return;
            FunctionDeclaration function;
            auto where = [&] { return "library '" + library.fileName + "', function " + std::to_string(f); };
            if (read_part(where, [&] {
                    function.name = required_string(functionElement, u"Name", kFunctionNeeds);
                    for_each_child_element(functionElement, [&](const DOMElement* paramElement) {
                        function.paramNames.push_back(
                            required_string(paramElement, u"Name", kParamNameNeeds));
                    });
                }))
                library.functions.push_back(std::move(function));
            ++f;
        });
        demo.libraries.push_back(std::move(library));
    }
}

void read_optional_string(const DOMElement* element, const XMLCh* name, std::string& value, bool& present)
{
    const XMLCh* text = attribute(element, name);
    present = text != nullptr;
    value = utf8_of(text);
}

void read_settings(const DocumentElements& elements, Demo& demo)
{
    if (elements.settings.empty())
        malformed(nullptr, std::string("the document has no Settings element; ") + kSettingsNeeds);
    const DOMElement* settings = elements.settings.front();
    demo.runningTime = uint32_t(required_int(settings, u"RunningTime", kSettingsNeeds));
    const XMLCh* useOpenGL = attribute(settings, u"UseOpenGL");
    demo.useOpenGL = useOpenGL && XMLString::equals(useOpenGL, u"true");
    demo.numberOfInputSurfaces = uint32_t(required_int(settings, u"NumberOfInputSurfaces", kSettingsNeeds));
    read_optional_string(settings, u"InputMusicFile", demo.inputMusicFile, demo.hasInputMusicFile);
    read_optional_string(settings, u"LoaderMusicFile", demo.loaderMusicFile, demo.hasLoaderMusicFile);
    read_optional_string(settings, u"LoaderAnim", demo.loaderAnim, demo.hasLoaderAnim);
    read_optional_string(settings, u"DataFile", demo.dataFile, demo.hasDataFile);
    const XMLCh* x = attribute(settings, u"AspectRatioX");
    const XMLCh* y = attribute(settings, u"AspectRatioY");
    // A ratio with a side that is not positive cannot shape a viewport: keep 4:3 then as well.
    if (x && y && parse_long(x) > 0 && parse_long(y) > 0) {
        demo.aspectRatioX = parse_long(x);
        demo.aspectRatioY = parse_long(y);
    } else {
        demo.aspectRatioX = 4;
        demo.aspectRatioY = 3;
    }
}

//-----------------------------------------------------------------------------
// [SECTION] Tracks, events and parameters
//-----------------------------------------------------------------------------

// combiDepth: the number of combis around the element.
Param read_param(const DOMElement* element, uint32_t duration, int combiDepth);

void read_multi(const DOMElement* element, Param& param)
{
    param.kind = kParamMulti;
    const XMLCh* interpol = required_attribute(element, u"interpol", kMultiNeeds);
    if (XMLString::equals(interpol, u"lin"))
        param.interpolation = kInterpolLin;
    else if (XMLString::equals(interpol, u"bez"))
        param.interpolation = kInterpolBez;
    else if (XMLString::equals(interpol, u"sqd"))
        param.interpolation = kInterpolSqd;
    else
        malformed(element, "interpol=\"" + utf8_of(interpol) + "\" is none of lin, bez and sqd");
    param.keys.push_back(required_int(element, u"val", kMultiNeeds));
    for_each_child_element(element, [&](const DOMElement* segment) {
        if (!tag_is(segment, u"seg"))
            return;
        param.lengths.push_back(uint32_t(optional_int(segment, u"time", 0)));
        param.keys.push_back(optional_int(segment, u"val", 0));
    });
    finalize_multi(param);
}

void read_combi(const DOMElement* element, uint32_t duration, int combiDepth, Param& param)
{
    param.kind = kParamCombi;
    param.op = required_int(element, u"op", kCombiNeeds);
    if (combiDepth > kMaxCombiDepth)
        throw DocumentFault{kCorruptCombiMessage, element,
                            "combis nest at most " + std::to_string(kMaxCombiDepth) +
                                " deep; this one is at depth " + std::to_string(combiDepth)};
    const size_t operands = param.op < kCombiNegate ? 2 : 1;
    const size_t children = count_child_elements(element);
    if (children != operands)
        throw DocumentFault{kCorruptCombiMessage, element,
                            "a combi with op=" + std::to_string(param.op) + " takes " +
                                std::to_string(operands) + (operands == 1 ? " operand" : " operands") +
                                ", this one has " + std::to_string(children)};
    for_each_child_element(element, [&](const DOMElement* child) {
        auto& slot = param.first ? param.second : param.first;
        slot = std::make_unique<Param>(read_param(child, duration, combiDepth));
    });
}

Param read_param(const DOMElement* element, uint32_t duration, int combiDepth)
{
    Param param;
    const XMLCh* type = attribute(element, u"type");
    if (!type) {
        // One linear segment over the whole event.
        param.kind = kParamMulti;
        param.interpolation = kInterpolLin;
        param.linearForm = true;
        param.keys = {required_int(element, u"start", kLinearNeeds),
                      required_int(element, u"end", kLinearNeeds)};
        param.lengths = {duration};
        finalize_multi(param);
    } else if (XMLString::equals(type, u"multi")) {
        read_multi(element, param);
    } else if (XMLString::equals(type, u"combi")) {
        read_combi(element, duration, combiDepth + 1, param);
    } else if (XMLString::equals(type, u"sin")) {
        param.kind = kParamSine;
        param.ampli = required_int(element, u"ampli", kSineNeeds);
        param.period = required_int(element, u"period", kSineNeeds);
        param.offset = required_int(element, u"offset", kSineNeeds);
        param.height = required_int(element, u"height", kSineNeeds);
    } else if (XMLString::equals(type, u"beat")) {
        param.kind = kParamBeat;
        param.textIndex = required_int(element, u"ID", kBeatNeeds);
        param.min = required_int(element, u"min", kBeatNeeds);
        param.max = required_int(element, u"max", kBeatNeeds);
    } else if (XMLString::equals(type, u"loops")) {
        param.kind = kParamLoops;
        param.textIndex = optional_int(element, u"val", 0);
    } else if (XMLString::equals(type, u"rotate")) {
        param.kind = kParamRotate;
    } else {
        param.kind = kParamConstant;
        param.value = optional_int(element, u"val", 0);
    }
    return param;
}

uint32_t read_time(const DOMElement* element, const XMLCh* name)
{
    return uint32_t(required_int(element, name, kEventNeeds)) / 10 * 10;
}

// Explicit IDs raise the counter (compared unsigned); events without one count on from it.
Event read_event(const DOMElement* element, uint32_t& idCounter)
{
    Event event;
    event.libraryFileName = required_string(element, u"LibraryFileName", kEventNeeds);
    event.functionName = required_string(element, u"FunctionName", kEventNeeds);
    event.startTime = read_time(element, u"StartTime");
    event.endTime = read_time(element, u"EndTime");
    if (const XMLCh* id = attribute(element, u"ID")) {
        event.id = parse_long(id);
        if (idCounter < uint32_t(event.id))
            idCounter = uint32_t(event.id);
    } else {
        idCounter += 1;
        event.id = int32_t(idCounter);
    }
    const uint32_t duration = event.endTime - event.startTime;
    for_each_child_element(element, [&](const DOMElement* child) {
        if (tag_is(child, u"param"))
            event.params.push_back(read_param(child, duration, 0));
    });
    return event;
}

void read_tracks(const DocumentElements& elements, Demo& demo)
{
    uint32_t idCounter = 0;
    for (const DOMElement* trackElement : elements.tracks) {
        Track track;
        for_each_child_element(trackElement, [&](const DOMElement* eventElement) {
            Event event;
            auto where = [&] {
                return "track " + std::to_string(demo.tracks.size()) + ", event " +
                       std::to_string(track.events.size());
            };
            // An event cut off by an XML error is left out silently: the error is reported already.
            event.unread = !elements.finished(eventElement) ||
                           !read_part(where, [&] { event = read_event(eventElement, idCounter); });
            track.events.push_back(std::move(event));
        });
        demo.tracks.push_back(std::move(track));
    }
}

//-----------------------------------------------------------------------------
// [SECTION] Texts
//-----------------------------------------------------------------------------

// A Text element adds the value of its first child node; one without children adds nothing.
void read_texts(const DocumentElements& elements, Demo& demo)
{
    if (elements.textLists.empty())
        return;
    for (const DOMElement* text : elements.texts)
        if (const DOMNode* content = text->getFirstChild())
            demo.texts.push_back(utf8_of(content->getNodeValue()));
}

//-----------------------------------------------------------------------------
// [SECTION] Loading
//-----------------------------------------------------------------------------

class XmlLibrary
{
public:
    XmlLibrary() { XMLPlatformUtils::Initialize(); }
    ~XmlLibrary() { XMLPlatformUtils::Terminate(); }
    XmlLibrary(const XmlLibrary&) = delete;
    XmlLibrary& operator=(const XmlLibrary&) = delete;
};

// The file named in a detail line; a very long path keeps its end, which names the file.
std::string shortened(const char* path)
{
    constexpr size_t kKept = 120;
    const size_t length = std::strlen(path);
    if (length <= kKept)
        return path;
    size_t from = length - kKept;
    while (from < length && (uint8_t(path[from]) & 0xC0) == 0x80)
        ++from; // never start inside a UTF-8 sequence
    return std::string("...") + (path + from);
}

// "path:line:column" (or just the path when the position is not known).
std::string place(const char* path, XmlPosition at)
{
    std::string text = shortened(path);
    if (at.line > 0)
        text += ":" + std::to_string(at.line) + ":" + std::to_string(at.column);
    return text;
}

// The message on the first line, then where and what on the next: one line, whatever the document holds.
[[noreturn]] void fail(const char* message, const std::string& where, const std::string& problem)
{
    throw BasicException::format("%s\n%s\n", message, one_line(where + ": " + problem).c_str());
}

uint64_t file_size(const char* path)
{
    struct stat info;
    return stat(path, &info) == 0 && S_ISREG(info.st_mode) ? uint64_t(info.st_size) : 0;
}

// Parses and reads the document; every DOM object is gone when this returns. While --check reads, a
// document that is not well-formed is read up to its first error: returns false then.
bool read_document(const char* path, Demo& demo)
{
    DemoXmlParser parser(file_size(path));
    const DOMDocument* document = nullptr;
    try {
        document = parser.parse(path);
    } catch (const XmlTooLarge& tooLarge) {
        fail(kXmlErrorMessage, place(path, {}),
             "the document grows past " + std::to_string(tooLarge.budgetBytes >> 20) +
                 " MiB as it is read (entities that repeat a long text?); a demo needs far less");
    } catch (const XMLException& e) {
        fail(kXmlErrorMessage, place(path, {}), utf8_of(e.getMessage()));
    } catch (const DOMException& e) {
        fail(kXmlErrorMessage, place(path, {}), utf8_of(e.getMessage()));
    }
    if (!document)
        throw BasicException::format(kMissingDocumentMessage, path);
    // A document with errors is only partly built: reading it would play half a demo.
    const bool complete = parser.error_count() == 0;
    if (!document->getDocumentElement() || (!complete && !gProblems)) {
        const XmlError& error = parser.first_error();
        fail(kXmlErrorMessage, place(path, error.position),
             error.found ? error.message : std::string("the document has no root element"));
    }
    if (!complete) {
        const XmlError& error = parser.first_error();
        gProblems->push_back(one_line(std::string("document: ") + kXmlErrorMessage + " (" +
                                      place(path, error.position) + ": " + error.message + ")"));
    }
    try {
        DocumentElements elements = find_elements(document);
        if (!complete)
            for (const DOMNode* node = document->getDocumentElement(); node; node = node->getLastChild())
                if (node->getNodeType() == DOMNode::ELEMENT_NODE)
                    elements.unfinished.push_back(static_cast<const DOMElement*>(node));
        read_libraries(elements, demo);
        // Settings that come after the error are not missing, only unread.
        if (complete || !elements.settings.empty())
            read_part([] { return std::string("Settings"); }, [&] { read_settings(elements, demo); });
        read_tracks(elements, demo);
        read_texts(elements, demo);
    } catch (const DocumentFault& fault) {
        fail(fault.message, place(path, fault.element ? parser.position_of(fault.element) : XmlPosition{}),
             fault.problem);
    }
    return complete;
}

// Reads the document into `loaded`; returns whether it was read to its end.
bool read_demo(const char* path, Demo& loaded)
{
    if (!path)
        throw BasicException::format(kMissingDocumentMessage, "");
    bool complete = false;
    const char* failure = nullptr;
    {
        // The XML library must outlive the exceptions it throws: their destructors free memory through it.
        XmlLibrary xml;
        try {
            complete = read_document(path, loaded);
        } catch (const BasicException&) {
            throw;
        } catch (const XMLException&) {
            failure = kXmlErrorMessage;
        } catch (const DOMException&) {
            failure = kXmlErrorMessage;
        } catch (...) {
            failure = kLoadErrorMessage;
        }
    }
    if (failure)
        throw BasicException(failure);
    return complete;
}

} // namespace

void load_demo(const char* path, Demo& demo)
{
    Demo loaded;
    read_demo(path, loaded);
    demo = std::move(loaded);
}

bool load_demo_leniently(const char* path, Demo& demo, std::vector<std::string>& problems)
{
    struct Leniency {
        explicit Leniency(std::vector<std::string>& problems) { gProblems = &problems; }
        ~Leniency() { gProblems = nullptr; }
    } leniency(problems);
    Demo loaded;
    bool complete = read_demo(path, loaded);
    demo = std::move(loaded);
    return complete;
}
