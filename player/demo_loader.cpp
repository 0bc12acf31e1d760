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
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <xercesc/dom/DOM.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XMLException.hpp>
#include <xercesc/util/XMLString.hpp>

#include "param_eval.h"

using namespace xercesc;

namespace {

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

// Declared entities a document may expand; well past what a hand-written demo uses, well short of what
// makes parsing take long.
constexpr XMLSize_t kMaxEntityExpansions = 10000;

// A required element or attribute is missing, or a value is not one of those allowed.
struct MalformedDemo {};

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
    } catch (const MalformedDemo&) {
        gProblems->push_back(where() + ": " + kLoadErrorMessage);
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

const XMLCh* required_attribute(const DOMElement* element, const XMLCh* name)
{
    const XMLCh* value = attribute(element, name);
    if (!value)
        throw MalformedDemo();
    return value;
}

bool is_blank(XMLCh c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

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

int32_t required_int(const DOMElement* element, const XMLCh* name)
{
    return parse_long(required_attribute(element, name));
}

int32_t optional_int(const DOMElement* element, const XMLCh* name, int32_t fallback)
{
    const XMLCh* value = attribute(element, name);
    return value ? parse_long(value) : fallback;
}

void append_utf8(std::string& out, uint32_t code)
{
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD. Null gives "".
std::string to_utf8(const XMLCh* text)
{
    std::string out;
    if (!text)
        return out;
    for (; *text; ++text) {
        uint32_t code = *text;
        if (code >= 0xD800 && code <= 0xDBFF && text[1] >= 0xDC00 && text[1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[1] - 0xDC00);
            ++text;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        append_utf8(out, code);
    }
    return out;
}

std::string required_string(const DOMElement* element, const XMLCh* name)
{
    return to_utf8(required_attribute(element, name));
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
        if (!read_part([n] { return "library " + std::to_string(n); },
                       [&] { library.fileName = required_string(libraryElement, u"FileName"); }))
            continue;
        size_t f = 0;
        for_each_child_element(libraryElement, [&](const DOMElement* functionElement) {
            if (!elements.finished(functionElement))
                return;
            FunctionDeclaration function;
            auto where = [&] { return "library '" + library.fileName + "', function " + std::to_string(f); };
            if (read_part(where, [&] {
                    function.name = required_string(functionElement, u"Name");
                    for_each_child_element(functionElement, [&](const DOMElement* paramElement) {
                        function.paramNames.push_back(required_string(paramElement, u"Name"));
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
    value = to_utf8(text);
}

void read_settings(const DocumentElements& elements, Demo& demo)
{
    if (elements.settings.empty())
        throw MalformedDemo();
    const DOMElement* settings = elements.settings.front();
    demo.runningTime = uint32_t(required_int(settings, u"RunningTime"));
    const XMLCh* useOpenGL = attribute(settings, u"UseOpenGL");
    demo.useOpenGL = useOpenGL && XMLString::equals(useOpenGL, u"true");
    demo.numberOfInputSurfaces = uint32_t(required_int(settings, u"NumberOfInputSurfaces"));
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
    const XMLCh* interpol = required_attribute(element, u"interpol");
    if (XMLString::equals(interpol, u"lin"))
        param.interpolation = kInterpolLin;
    else if (XMLString::equals(interpol, u"bez"))
        param.interpolation = kInterpolBez;
    else if (XMLString::equals(interpol, u"sqd"))
        param.interpolation = kInterpolSqd;
    else
        throw MalformedDemo();
    param.keys.push_back(required_int(element, u"val"));
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
    param.op = required_int(element, u"op");
    const size_t operands = param.op < kCombiNegate ? 2 : 1;
    if (count_child_elements(element) != operands || combiDepth > kMaxCombiDepth)
        throw BasicException(kCorruptCombiMessage);
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
        param.keys = {required_int(element, u"start"), required_int(element, u"end")};
        param.lengths = {duration};
        finalize_multi(param);
    } else if (XMLString::equals(type, u"multi")) {
        read_multi(element, param);
    } else if (XMLString::equals(type, u"combi")) {
        read_combi(element, duration, combiDepth + 1, param);
    } else if (XMLString::equals(type, u"sin")) {
        param.kind = kParamSine;
        param.ampli = required_int(element, u"ampli");
        param.period = required_int(element, u"period");
        param.offset = required_int(element, u"offset");
        param.height = required_int(element, u"height");
    } else if (XMLString::equals(type, u"beat")) {
        param.kind = kParamBeat;
        param.textIndex = required_int(element, u"ID");
        param.min = required_int(element, u"min");
        param.max = required_int(element, u"max");
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
    return uint32_t(required_int(element, name)) / 10 * 10;
}

// Explicit IDs raise the counter (compared unsigned); events without one count on from it.
Event read_event(const DOMElement* element, uint32_t& idCounter)
{
    Event event;
    event.libraryFileName = required_string(element, u"LibraryFileName");
    event.functionName = required_string(element, u"FunctionName");
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
            demo.texts.push_back(to_utf8(content->getNodeValue()));
}

//-----------------------------------------------------------------------------
// [SECTION] Loading
//-----------------------------------------------------------------------------

class XmlLibrary {
public:
    XmlLibrary() { XMLPlatformUtils::Initialize(); }
    ~XmlLibrary() { XMLPlatformUtils::Terminate(); }
    XmlLibrary(const XmlLibrary&) = delete;
    XmlLibrary& operator=(const XmlLibrary&) = delete;
};

// Parses and reads the document; every DOM object is gone when this returns. While --check reads, a
// document that is not well-formed is read up to its first error: returns false then.
bool read_document(const char* path, Demo& demo)
{
    // A document must not make the parser fetch other files or expand entities without bound.
    SecurityManager securityManager;
    securityManager.setEntityExpansionLimit(kMaxEntityExpansions);
    XercesDOMParser parser;
    parser.setSecurityManager(&securityManager);
    parser.setLoadExternalDTD(false);
    parser.setDisableDefaultEntityResolution(true);
    parser.parse(path);
    const DOMDocument* document = parser.getDocument();
    if (!document)
        throw BasicException::format(kMissingDocumentMessage, path);
    // A document with errors is only partly built: reading it would play half a demo.
    const bool complete = parser.getErrorCount() == 0;
    if (!document->getDocumentElement() || (!complete && !gProblems))
        throw BasicException(kXmlErrorMessage);
    if (!complete)
        gProblems->push_back(std::string("document: ") + kXmlErrorMessage);
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
