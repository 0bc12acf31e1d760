// The DOM parser the demo loader reads documents with (Xerces-C), made safe for any file and able to
// say where a problem sits.
//
// - It fetches no other file and expands at most kMaxEntityExpansions entity references.
// - All it builds stays within memory_budget(size of the file): a document that grows past it while it is
//   read (entities that repeat a large text, for instance) stops the parse with XmlTooLarge, and what the
//   parse had built is freed. Real documents take about 30 bytes per byte of file.
// - It remembers where each element's start tag ends, and the first error or fatal error reported.
//
// The XML library must be initialised for the parser's whole life.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include <xercesc/dom/DOMDocument.hpp>
#include <xercesc/dom/DOMElement.hpp>

// Declared entities a document may expand; well past what a hand-written demo uses, well short of what
// makes parsing take long.
constexpr size_t kMaxEntityExpansions = 10000;

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD. Null gives "".
std::string utf8_of(const XMLCh* text);

// What a document of fileBytes may take while it is parsed.
uint64_t memory_budget(uint64_t fileBytes);

// 1-based; 0 when not known.
struct XmlPosition {
    uint64_t line = 0;
    uint64_t column = 0;
};

struct XmlError {
    bool found = false;
    XmlPosition position;
    std::string message; // UTF-8, as the XML library words it
};

// Thrown by DemoXmlParser::parse when the document outgrows its budget.
struct XmlTooLarge {
    uint64_t budgetBytes;
};

class DemoXmlParser
{
public:
    explicit DemoXmlParser(uint64_t fileBytes);
    ~DemoXmlParser();
    DemoXmlParser(const DemoXmlParser&) = delete;
    DemoXmlParser& operator=(const DemoXmlParser&) = delete;

    // The document (owned by the parser), or null when none results. Throws XmlTooLarge, and lets the
    // XML library's own exceptions through.
    const xercesc::DOMDocument* parse(const char* path);

    size_t error_count() const;
    const XmlError& first_error() const;
    // Where the element's start tag ends: the line and column just after its '>'.
    XmlPosition position_of(const xercesc::DOMElement* element) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
