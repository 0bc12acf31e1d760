// Byte-preserving document edits: a scanner that finds elements and attributes in the raw bytes, and
// splices that replace only the spans an edit names.
//
// Index
//   [SECTION] Scanning
//   [SECTION] Finding tracks, events and params
//   [SECTION] Splices
//   [SECTION] Edits
#include "document_edit.h"

#include <algorithm>
#include <cassert>
#include <cctype>
#include <string_view>

namespace studio
{
namespace
{

//-----------------------------------------------------------------------------
// [SECTION] Scanning
//-----------------------------------------------------------------------------

struct Attribute {
    std::string_view name;
    size_t spaceBegin; // the whitespace before the name: removing the attribute removes it too
    size_t valueBegin; // just after the opening quote
    size_t valueEnd;   // at the closing quote
};

constexpr size_t kNoParent = ~size_t(0);

struct Element {
    std::string_view name;
    size_t begin = 0;         // its '<'
    size_t attributesEnd = 0; // just after the last attribute (or the name)
    size_t startTagEnd = 0;   // just after the start tag's '>'
    size_t contentEnd = 0;    // at the end tag's '<'; startTagEnd for a self-closing element
    size_t end = 0;           // just after its last byte
    bool selfClosing = false;
    size_t parent = kNoParent;                     // its index in Document::elements
    size_t firstAttribute = 0, attributeCount = 0; // in Document::attributes
};

// Every element in document order (by start tag) and their attributes, each element's together.
struct Document {
    const std::string& text;
    std::vector<Element> elements;
    std::vector<Attribute> attributes;
};

// Why a document cannot be edited, as the sentence an edit fails with.
struct Refusal {
    std::string message;
};

bool is_space(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool is_name_char(char c)
{
    return !is_space(c) && c != '<' && c != '>' && c != '/' && c != '=' && c != '&' && c != '"' &&
           c != '\'' && c != ';' && c != '\0';
}

bool is_predefined_entity(std::string_view name)
{
    return name == "amp" || name == "lt" || name == "gt" || name == "apos" || name == "quot";
}

// Walks the whole document once, recording every element in document order (by start tag), with an
// explicit stack so that deep nesting costs no recursion.
class Scanner
{
public:
    explicit Scanner(const std::string& text) : document_{text, {}, {}}, text_(text) {}

    Document scan()
    {
        // One allocation each: growing them element by element costs more than the scan.
        elements_.reserve(size_t(std::count(text_.begin(), text_.end(), '<')));
        attributes_.reserve(size_t(std::count(text_.begin(), text_.end(), '=')));
        skip_encoding_mark();
        if (starts_with("<?xml") && at_ + 5 < text_.size() &&
            (is_space(text_[at_ + 5]) || text_[at_ + 5] == '?'))
            skip_past("?>", "the XML declaration");
        skip_misc(true);
        if (at_ >= text_.size())
            malformed(at_, "the document has no root element");
        if (text_[at_] != '<')
            malformed(at_, "text before the root element");
        scan_root();
        skip_misc(false);
        if (at_ < text_.size())
            malformed(at_, "only comments and processing instructions may follow the root element");
        return std::move(document_);
    }

private:
    [[noreturn]] void malformed(size_t at, const std::string& what) const
    {
        throw Refusal{"the document is not well-formed near byte " + std::to_string(at) + ": " + what};
    }

    [[noreturn]] void unsupported(size_t at, const std::string& what) const
    {
        throw Refusal{"the studio cannot edit this document: " + what + " (near byte " + std::to_string(at) +
                      ")"};
    }

    bool starts_with(std::string_view prefix) const { return text_.compare(at_, prefix.size(), prefix) == 0; }

    char peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }

    void skip_spaces()
    {
        while (at_ < text_.size() && is_space(text_[at_]))
            ++at_;
    }

    void skip_past(std::string_view terminator, const char* what)
    {
        const size_t found = text_.find(terminator, at_);
        if (found == std::string::npos)
            malformed(at_, std::string(what) + " is never closed");
        at_ = found + terminator.size();
    }

    void skip_encoding_mark()
    {
        if (starts_with("\xEF\xBB\xBF"))
            at_ = 3;
        else if (!text_.empty() && (text_[0] == '\xFE' || text_[0] == '\xFF' || text_[0] == '\0'))
            unsupported(0, "it is not encoded in UTF-8 or another ASCII-compatible encoding");
    }

    // Whitespace, comments and processing instructions; before the root also the DOCTYPE.
    void skip_misc(bool beforeRoot)
    {
        for (;;) {
            skip_spaces();
            if (starts_with("<!--"))
                skip_past("-->", "a comment");
            else if (starts_with("<?"))
                skip_past("?>", "a processing instruction");
            else if (beforeRoot && starts_with("<!DOCTYPE"))
                skip_doctype();
            else
                return;
        }
    }

    void skip_quoted()
    {
        const size_t open = at_;
        const size_t close = text_.find(text_[open], open + 1);
        if (close == std::string::npos)
            malformed(open, "a quoted string is never closed");
        at_ = close + 1;
    }

    void skip_doctype()
    {
        const size_t open = at_;
        at_ += 9;
        for (;;) {
            const char c = peek();
            if (c == '\0' && at_ >= text_.size())
                malformed(open, "the DOCTYPE is never closed");
            if (c == '"' || c == '\'')
                skip_quoted();
            else if (c == '[')
                skip_internal_subset();
            else if (c == '>') {
                ++at_;
                return;
            } else
                ++at_;
        }
    }

    void skip_internal_subset()
    {
        const size_t open = at_++;
        for (;;) {
            skip_spaces();
            if (at_ >= text_.size())
                malformed(open, "the DOCTYPE's internal subset is never closed");
            if (peek() == ']') {
                ++at_;
                return;
            }
            if (starts_with("<!--"))
                skip_past("-->", "a comment");
            else if (starts_with("<?"))
                skip_past("?>", "a processing instruction");
            else if (starts_with("<!ATTLIST"))
                unsupported(at_, "its DOCTYPE declares attribute defaults (<!ATTLIST>)");
            else if (starts_with("<!"))
                skip_declaration();
            else if (peek() == '%')
                unsupported(at_, "its DOCTYPE uses parameter entities");
            else
                malformed(at_, "unexpected text in the DOCTYPE");
        }
    }

    void skip_declaration()
    {
        const size_t open = at_;
        for (at_ += 2; at_ < text_.size(); ++at_) {
            if (text_[at_] == '"' || text_[at_] == '\'') {
                skip_quoted();
                --at_;
            } else if (text_[at_] == '>') {
                ++at_;
                return;
            }
        }
        malformed(open, "a declaration in the DOCTYPE is never closed");
    }

    // At '&': a character reference or a predefined entity; the document's own entities could hide
    // elements from the scan, so they are refused.
    void check_reference(size_t at)
    {
        const size_t semicolon = text_.find(';', at);
        if (semicolon == std::string::npos)
            malformed(at, "'&' starts no reference");
        const std::string_view name(text_.data() + at + 1, semicolon - at - 1);
        if (!name.empty() && name[0] == '#') {
            const bool hex = name.size() > 1 && name[1] == 'x';
            const std::string_view digits = name.substr(hex ? 2 : 1);
            const char* allowed = hex ? "0123456789abcdefABCDEF" : "0123456789";
            if (digits.empty() || digits.find_first_not_of(allowed) != std::string_view::npos)
                malformed(at, "a character reference that is not a number");
            return;
        }
        if (name.empty() || !std::all_of(name.begin(), name.end(), is_name_char))
            malformed(at, "'&' starts no reference");
        if (!is_predefined_entity(name))
            unsupported(at, "it uses the entity &" + std::string(name) + ";");
    }

    std::string_view read_name(const char* what)
    {
        const size_t from = at_;
        while (at_ < text_.size() && is_name_char(text_[at_]))
            ++at_;
        if (at_ == from)
            malformed(from, std::string("expected ") + what);
        return std::string_view(text_.data() + from, at_ - from);
    }

    Attribute read_attribute(size_t spaceBegin, const Element& element)
    {
        Attribute attribute{read_name("an attribute name"), spaceBegin, 0, 0};
        for (size_t i = element.firstAttribute; i < attributes_.size(); ++i)
            if (attributes_[i].name == attribute.name)
                malformed(spaceBegin, "the attribute " + std::string(attribute.name) + " appears twice");
        skip_spaces();
        if (peek() != '=')
            malformed(at_, "expected '=' after the attribute " + std::string(attribute.name));
        ++at_;
        skip_spaces();
        if (peek() != '"' && peek() != '\'')
            malformed(at_, "an attribute value must be quoted");
        attribute.valueBegin = at_ + 1;
        skip_quoted();
        attribute.valueEnd = at_ - 1;
        for (size_t i = attribute.valueBegin; i < attribute.valueEnd; ++i) {
            if (text_[i] == '<')
                malformed(i, "'<' in an attribute value");
            if (text_[i] == '&')
                check_reference(i);
        }
        return attribute;
    }

    // At '<' of a start tag: records the element; returns whether it has content to scan.
    bool read_start_tag(const std::vector<size_t>& open)
    {
        Element element;
        element.begin = at_++;
        element.name = read_name("an element name");
        element.parent = open.empty() ? kNoParent : open.back();
        element.firstAttribute = attributes_.size();
        for (;;) {
            element.attributesEnd = at_;
            const size_t spaceBegin = at_;
            skip_spaces();
            if (starts_with("/>") || peek() == '>') {
                element.selfClosing = peek() == '/';
                at_ += element.selfClosing ? 2 : 1;
                break;
            }
            if (at_ >= text_.size())
                malformed(element.begin, "the start tag <" + std::string(element.name) + " is never closed");
            if (at_ == spaceBegin)
                malformed(at_, "attributes must be separated by whitespace");
            attributes_.push_back(read_attribute(spaceBegin, element));
        }
        element.attributeCount = attributes_.size() - element.firstAttribute;
        element.startTagEnd = at_;
        if (element.selfClosing) {
            element.contentEnd = at_;
            element.end = at_;
        }
        elements_.push_back(element);
        return !element.selfClosing;
    }

    void read_end_tag(std::vector<size_t>& open)
    {
        Element& element = elements_[open.back()];
        const size_t begin = at_;
        at_ += 2;
        const std::string_view name = read_name("an element name");
        if (name != element.name)
            malformed(begin, "</" + std::string(name) + "> closes <" + std::string(element.name) + ">");
        skip_spaces();
        if (peek() != '>')
            malformed(at_, "expected '>' to end </" + std::string(name));
        element.contentEnd = begin;
        element.end = ++at_;
        open.pop_back();
    }

    void scan_root()
    {
        std::vector<size_t> open;
        if (read_start_tag(open))
            open.push_back(0);
        while (!open.empty()) {
            const size_t next = text_.find_first_of("<&", at_);
            if (next == std::string::npos) {
                const Element& unclosed = elements_[open.back()];
                malformed(text_.size(), "<" + std::string(unclosed.name) + "> (at byte " +
                                            std::to_string(unclosed.begin) + ") is never closed");
            }
            at_ = next;
            if (text_[at_] == '&') {
                check_reference(at_);
                at_ = text_.find(';', at_) + 1;
            } else if (starts_with("</")) {
                read_end_tag(open);
            } else if (starts_with("<!--")) {
                skip_past("-->", "a comment");
            } else if (starts_with("<![CDATA[")) {
                skip_past("]]>", "a CDATA section");
            } else if (starts_with("<?")) {
                skip_past("?>", "a processing instruction");
            } else if (starts_with("<!")) {
                malformed(at_, "a declaration inside an element");
            } else {
                const size_t index = elements_.size();
                if (read_start_tag(open))
                    open.push_back(index);
            }
        }
    }

    Document document_;
    const std::string& text_;
    std::vector<Element>& elements_ = document_.elements;
    std::vector<Attribute>& attributes_ = document_.attributes;
    size_t at_ = 0;
};

//-----------------------------------------------------------------------------
// [SECTION] Finding tracks, events and params
//-----------------------------------------------------------------------------

const Attribute* find_attribute(const Document& document, const Element& element, std::string_view name)
{
    for (size_t i = element.firstAttribute; i < element.firstAttribute + element.attributeCount; ++i)
        if (document.attributes[i].name == name)
            return &document.attributes[i];
    return nullptr;
}

// An attribute's value as the loader sees it: whitespace normalised, references replaced. The scanner
// admitted only character references and predefined entities.
std::string value_of(const std::string& text, const Attribute& attribute)
{
    std::string value;
    for (size_t i = attribute.valueBegin; i < attribute.valueEnd; ++i) {
        const char c = text[i];
        if (c != '&') {
            value += is_space(c) ? ' ' : c;
            continue;
        }
        const size_t semicolon = text.find(';', i);
        const std::string_view name(text.data() + i + 1, semicolon - i - 1);
        static const std::pair<std::string_view, char> predefined[] = {
            {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"apos", '\''}, {"quot", '"'}};
        for (const auto& [entity, character] : predefined)
            if (name == entity)
                value += character;
        if (name[0] == '#') {
            // Only the values compared with ASCII words matter here: others need not decode exactly.
            const bool hex = name.size() > 1 && name[1] == 'x';
            uint32_t code = 0;
            for (char digit : name.substr(hex ? 2 : 1))
                code = std::min<uint32_t>(
                    code * (hex ? 16 : 10) +
                        uint32_t(std::isdigit(uint8_t(digit)) ? digit - '0' : std::tolower(digit) - 'a' + 10),
                    0x110000);
            value += code < 0x80 ? char(code) : '?';
        }
        i = semicolon;
    }
    return value;
}

enum class ParamForm { kLinear, kMulti, kConstant, kOther };

ParamForm form_of(const Document& document, const Element& param, std::string* typeName)
{
    const Attribute* type = find_attribute(document, param, "type");
    if (!type)
        return ParamForm::kLinear;
    *typeName = value_of(document.text, *type);
    if (*typeName == "multi")
        return ParamForm::kMulti;
    for (const char* other : {"combi", "sin", "beat", "loops", "rotate"})
        if (*typeName == other)
            return ParamForm::kOther;
    return ParamForm::kConstant;
}

// The element's children (named `name` unless that is empty), in order. They follow it among its other
// descendants, before the first element that starts after it ends.
std::vector<const Element*> children_of(const Document& document, const Element& parent,
                                        std::string_view name = {})
{
    std::vector<const Element*> found;
    const size_t index = size_t(&parent - document.elements.data());
    for (size_t i = index + 1; i < document.elements.size() && document.elements[i].begin < parent.end; ++i) {
        const Element& child = document.elements[i];
        if (child.parent == index && (name.empty() || child.name == name))
            found.push_back(&child);
    }
    return found;
}

const Element& find_event(const Document& document, size_t track, size_t event)
{
    size_t tracks = 0;
    for (const Element& element : document.elements) {
        if (element.name != "Track" || tracks++ != track)
            continue;
        const std::vector<const Element*> events = children_of(document, element);
        if (event >= events.size())
            throw Refusal{"track " + std::to_string(track) + " has no event " + std::to_string(event) +
                          " (it has " + std::to_string(events.size()) + ")"};
        return *events[event];
    }
    throw Refusal{"the document has no track " + std::to_string(track) + " (it has " +
                  std::to_string(tracks) + ")"};
}

std::string param_place(size_t track, size_t event, size_t param)
{
    return "param " + std::to_string(param) + " of track " + std::to_string(track) + ", event " +
           std::to_string(event);
}

const Element& find_param(const Document& document, size_t track, size_t event, size_t param)
{
    const std::vector<const Element*> params =
        children_of(document, find_event(document, track, event), "param");
    if (param >= params.size())
        throw Refusal{"track " + std::to_string(track) + ", event " + std::to_string(event) +
                      " has no param " + std::to_string(param) + " (it has " + std::to_string(params.size()) +
                      ")"};
    return *params[param];
}

//-----------------------------------------------------------------------------
// [SECTION] Splices
//-----------------------------------------------------------------------------

// Replace text[begin, end) with bytes; begin == end inserts.
struct Splice {
    size_t begin, end;
    std::string bytes;
};

class Splices
{
public:
    explicit Splices(const Document& document) : document_(document) {}

    void replace(size_t begin, size_t end, std::string bytes)
    {
        list_.push_back({begin, end, std::move(bytes)});
    }

    // The value between the quotes, or ` name="value"` after the last attribute.
    void set_attribute(const Element& element, std::string_view name, const std::string& value)
    {
        if (const Attribute* attribute = find_attribute(document_, element, name))
            replace(attribute->valueBegin, attribute->valueEnd, value);
        else
            replace(element.attributesEnd, element.attributesEnd,
                    " " + std::string(name) + "=\"" + value + "\"");
    }

    void remove_attribute(const Element& element, std::string_view name)
    {
        if (const Attribute* attribute = find_attribute(document_, element, name))
            replace(attribute->spaceBegin, attribute->valueEnd + 1, "");
    }

    // Insertions at one place keep the order they were made in.
    void apply_to(std::string& text)
    {
        std::stable_sort(list_.begin(), list_.end(),
                         [](const Splice& a, const Splice& b) { return a.begin < b.begin; });
        std::string out;
        out.reserve(text.size() + 256);
        size_t copied = 0;
        for (const Splice& splice : list_) {
            assert(splice.begin >= copied && "splices overlap");
            out.append(text, copied, splice.begin - copied);
            out += splice.bytes;
            copied = splice.end;
        }
        out.append(text, copied, std::string::npos);
        text.swap(out);
    }

private:
    const Document& document_;
    std::vector<Splice> list_;
};

//-----------------------------------------------------------------------------
// [SECTION] Edits
//-----------------------------------------------------------------------------

// Runs an edit on the scanned document; a refusal leaves the text as it was.
template <class Edit> bool edit_document(std::string& text, std::string* error, Edit edit)
{
    try {
        const Document document = Scanner(text).scan();
        Splices splices(document);
        edit(document, splices);
        splices.apply_to(text);
        return true;
    } catch (const Refusal& refusal) {
        if (error)
            *error = refusal.message;
        return false;
    }
}

void check_keys(const std::vector<Key>& keys)
{
    if (keys.empty())
        throw Refusal{"a multi parameter needs at least one key"};
    if (keys[0].time != 0)
        throw Refusal{"the first key must be at time 0, not " + std::to_string(keys[0].time)};
    for (size_t i = 1; i < keys.size(); ++i)
        if (keys[i].time < keys[i - 1].time)
            throw Refusal{"key " + std::to_string(i) + " (at " + std::to_string(keys[i].time) +
                          " ms) comes before the key ahead of it (at " + std::to_string(keys[i - 1].time) +
                          " ms)"};
}

std::string segs_for(const std::vector<Key>& keys, const std::string& separator)
{
    std::string segs;
    for (size_t i = 1; i < keys.size(); ++i) {
        if (i > 1)
            segs += separator;
        segs += "<seg time=\"" + std::to_string(keys[i].time - keys[i - 1].time) + "\" val=\"" +
                std::to_string(keys[i].value) + "\"/>";
    }
    return segs;
}

bool is_blank(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), is_space);
}

// What separated the old segs: the first blank gap between two of them, else the blank before the first.
std::string seg_separator(const std::string& text, const Element& param,
                          const std::vector<const Element*>& segs)
{
    for (size_t i = 1; i < segs.size(); ++i) {
        const std::string_view gap(text.data() + segs[i - 1]->end, segs[i]->begin - segs[i - 1]->end);
        if (is_blank(gap))
            return std::string(gap);
    }
    const std::string_view before(text.data() + param.startTagEnd, segs[0]->begin - param.startTagEnd);
    return is_blank(before) ? std::string(before) : std::string();
}

void replace_segs(const Document& document, const Element& param, const std::vector<Key>& keys,
                  Splices& splices)
{
    const std::vector<const Element*> segs = children_of(document, param, "seg");
    if (segs.empty() && keys.size() == 1)
        return;
    if (segs.empty()) {
        const std::string content = segs_for(keys, "");
        if (param.selfClosing)
            splices.replace(param.startTagEnd - 2, param.startTagEnd,
                            ">" + content + "</" + std::string(param.name) + ">");
        else
            splices.replace(param.startTagEnd, param.contentEnd, content);
    } else if (keys.size() == 1) {
        splices.replace(param.startTagEnd, param.contentEnd, "");
    } else {
        splices.replace(segs.front()->begin, segs.back()->end,
                        segs_for(keys, seg_separator(document.text, param, segs)));
    }
}

} // namespace

bool set_event_times(std::string& text, size_t track, size_t event, uint32_t start, uint32_t end,
                     std::string* error)
{
    return edit_document(text, error, [&](const Document& document, Splices& splices) {
        if (start >= end)
            throw Refusal{"an event must start (" + std::to_string(start) + " ms) before it ends (" +
                          std::to_string(end) + " ms)"};
        const Element& element = find_event(document, track, event);
        splices.set_attribute(element, "StartTime", std::to_string(start));
        splices.set_attribute(element, "EndTime", std::to_string(end));
    });
}

bool set_param_keys(std::string& text, size_t track, size_t event, size_t param, const std::vector<Key>& keys,
                    std::string* error)
{
    return edit_document(text, error, [&](const Document& document, Splices& splices) {
        check_keys(keys);
        const Element& element = find_param(document, track, event, param);
        std::string type;
        const ParamForm form = form_of(document, element, &type);
        if (form == ParamForm::kConstant || form == ParamForm::kOther)
            throw Refusal{param_place(track, event, param) + " is of type \"" + type +
                          "\", not a multi or a straight line"};
        if (form == ParamForm::kLinear) {
            splices.remove_attribute(element, "start");
            splices.remove_attribute(element, "end");
            splices.set_attribute(element, "type", "multi");
        }
        if (form == ParamForm::kLinear || !find_attribute(document, element, "interpol"))
            splices.set_attribute(element, "interpol", "lin");
        splices.set_attribute(element, "val", std::to_string(keys[0].value));
        replace_segs(document, element, keys, splices);
    });
}

bool set_param_value(std::string& text, size_t track, size_t event, size_t param, int32_t value,
                     std::string* error)
{
    return edit_document(text, error, [&](const Document& document, Splices& splices) {
        const Element& element = find_param(document, track, event, param);
        std::string type;
        const ParamForm form = form_of(document, element, &type);
        if (form == ParamForm::kLinear)
            throw Refusal{param_place(track, event, param) +
                          " is a straight line (start and end), not a constant"};
        if (form != ParamForm::kConstant)
            throw Refusal{param_place(track, event, param) + " is of type \"" + type + "\", not a constant"};
        splices.set_attribute(element, "val", std::to_string(value));
    });
}

} // namespace studio
