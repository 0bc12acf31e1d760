#include "xml_parser.h"

#include <new>
#include <unordered_map>

#include <xercesc/framework/MemoryManager.hpp>
#include <xercesc/internal/XMLScanner.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/sax/ErrorHandler.hpp>
#include <xercesc/sax/Locator.hpp>
#include <xercesc/sax/SAXParseException.hpp>
#include <xercesc/util/OutOfMemoryException.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/SecurityManager.hpp>

using namespace xercesc;

namespace
{

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

constexpr uint64_t kBaseBudget = uint64_t(16) << 20;
constexpr uint64_t kBudgetPerFileByte = 32;
// Room for the parser to unwind and clean up once the budget has been reached.
constexpr uint64_t kUnwindAllowance = uint64_t(1) << 20;

// Counts what the parser and its document hold and refuses to go past the budget. Xerces expects an
// OutOfMemoryException from a memory manager that cannot serve a request, and unwinds cleanly from it.
class BudgetMemory : public MemoryManager
{
public:
    explicit BudgetMemory(uint64_t budget) : budget_(budget) {}

    MemoryManager* getExceptionMemoryManager() override { return XMLPlatformUtils::fgMemoryManager; }

    void* allocate(XMLSize_t size) override
    {
        const uint64_t limit = exceeded_ ? budget_ + kUnwindAllowance : budget_;
        if (live_ + size > limit) {
            exceeded_ = true;
            throw OutOfMemoryException();
        }
        // The header keeps the block's size and the alignment of anything the caller stores.
        auto* block = static_cast<Header*>(::operator new(sizeof(Header) + size, std::nothrow));
        if (!block)
            throw OutOfMemoryException();
        block->size = size;
        live_ += size;
        return block + 1;
    }

    void deallocate(void* p) override
    {
        if (!p)
            return;
        Header* block = static_cast<Header*>(p) - 1;
        live_ -= block->size;
        ::operator delete(block);
    }

    bool exceeded() const { return exceeded_; }

private:
    struct alignas(std::max_align_t) Header {
        uint64_t size;
    };
    uint64_t budget_;
    uint64_t live_ = 0;
    bool exceeded_ = false;
};

class FirstErrorRecorder : public ErrorHandler
{
public:
    void warning(const SAXParseException&) override {}
    void error(const SAXParseException& e) override { record(e); }
    void fatalError(const SAXParseException& e) override { record(e); }
    void resetErrors() override {}

    XmlError first;

private:
    void record(const SAXParseException& e)
    {
        if (first.found)
            return;
        first.found = true;
        first.position = {e.getLineNumber(), e.getColumnNumber()};
        first.message = utf8_of(e.getMessage());
    }
};

// Notes where every element's start tag ends, while the scanner still knows.
class PositionRecordingParser : public XercesDOMParser
{
public:
    explicit PositionRecordingParser(MemoryManager* memory) : XercesDOMParser(nullptr, memory) {}

    void startElement(const XMLElementDecl& decl, const unsigned int urlId, const XMLCh* const prefix,
                      const RefVectorOf<XMLAttr>& attributes, const XMLSize_t attributeCount,
                      const bool isEmpty, const bool isRoot) override
    {
        XercesDOMParser::startElement(decl, urlId, prefix, attributes, attributeCount, isEmpty, isRoot);
        // The element just made is the current node, for an empty element too.
        const Locator* locator = getScanner()->getLocator();
        if (locator)
            positions[getCurrentNode()] = {locator->getLineNumber(), locator->getColumnNumber()};
    }

    std::unordered_map<const DOMNode*, XmlPosition> positions;
};

} // namespace

std::string utf8_of(const XMLCh* text)
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

uint64_t memory_budget(uint64_t fileBytes)
{
    return kBaseBudget + kBudgetPerFileByte * fileBytes;
}

struct DemoXmlParser::Impl {
    explicit Impl(uint64_t fileBytes) : budget(memory_budget(fileBytes)), memory(budget), parser(&memory) {}

    uint64_t budget;
    BudgetMemory memory; // outlives the parser and the document it owns
    SecurityManager security;
    FirstErrorRecorder errors;
    PositionRecordingParser parser;
};

DemoXmlParser::DemoXmlParser(uint64_t fileBytes) : impl_(std::make_unique<Impl>(fileBytes))
{
    impl_->security.setEntityExpansionLimit(kMaxEntityExpansions);
    XercesDOMParser& parser = impl_->parser;
    parser.setSecurityManager(&impl_->security);
    parser.setLoadExternalDTD(false);
    parser.setDisableDefaultEntityResolution(true);
    parser.setErrorHandler(&impl_->errors);
}

DemoXmlParser::~DemoXmlParser() = default;

const DOMDocument* DemoXmlParser::parse(const char* path)
{
    try {
        impl_->parser.parse(path);
    } catch (const OutOfMemoryException&) {
        if (impl_->memory.exceeded())
            throw XmlTooLarge{impl_->budget};
        throw std::bad_alloc();
    }
    return impl_->parser.getDocument();
}

size_t DemoXmlParser::error_count() const
{
    return impl_->parser.getErrorCount();
}

const XmlError& DemoXmlParser::first_error() const
{
    return impl_->errors.first;
}

XmlPosition DemoXmlParser::position_of(const DOMElement* element) const
{
    const auto found = impl_->parser.positions.find(element);
    return found == impl_->parser.positions.end() ? XmlPosition{} : found->second;
}
