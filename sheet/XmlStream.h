#pragma once

// XML read as it arrives, piece by piece, with element and attribute names stripped of their
// namespaces (workbooks are written with and without prefixes). The parser is expat: it is
// pushed the bytes as they are unpacked and calls back for each element, so a worksheet of
// any size is read in the memory of one piece, where a tree of a million-row worksheet would
// take gigabytes. A document type declaration is refused before anything is defined by it:
// no workbook has one, and entities are how XML is made to expand without bound. So is markup
// beyond XmlLimits, which would cost the parser time or memory without bound all the same.

#include "sheet/SheetLimits.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct XML_ParserStruct;

namespace rw {

// An element's attributes as the parser hands them over: valid during the call only.
class XmlAttributes {
public:
    explicit XmlAttributes(const char** pairs) : m_pairs(pairs) {}
    // The value of the attribute of this name without a namespace ("r", "t").
    [[nodiscard]] std::optional<std::string_view> Plain(std::string_view name) const;
    // The value of the attribute of this local name in any namespace ("r:id").
    [[nodiscard]] std::optional<std::string_view> Qualified(std::string_view localName) const;

private:
    const char** m_pairs;
};

class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    // Each answers whether to go on; false stops the reading, for a reason the handler keeps.
    [[nodiscard]] virtual bool Start(std::string_view name, const XmlAttributes& attributes) = 0;
    [[nodiscard]] virtual bool End(std::string_view name) = 0;
    // Character data of the current element, in pieces of any size.
    [[nodiscard]] virtual bool Text(std::string_view text) = 0;
};

// How far the parser goes along with a document before it stops it.
struct XmlLimits {
    std::uint64_t tokenBytes = sheet_limits::kMaxXmlTokenBytes; // one piece of markup
    std::uint32_t depth = sheet_limits::kMaxXmlDepth;           // elements inside each other
    std::uint32_t nameBytes = sheet_limits::kMaxXmlNameBytes;   // an element's name, its namespace included
};

class XmlStream {
public:
    // Why the parser stopped, when it was not that the XML is not well-formed.
    enum class Stop : std::uint8_t {
        None,
        ByHandler,    // for a reason the handler keeps
        DocumentType,
        TokenTooLong, // beyond XmlLimits::tokenBytes
        NameTooLong,  // beyond XmlLimits::nameBytes
        TooDeep,      // beyond XmlLimits::depth
        OutOfMemory,  // the parser's or a handler's memory ran out
    };

    explicit XmlStream(XmlHandler& handler, const XmlLimits& limits = {});
    XmlStream(const XmlStream&) = delete;
    XmlStream& operator=(const XmlStream&) = delete;
    ~XmlStream();

    // The next piece; last with the final one. False once the XML is found not well-formed
    // or the handler stopped it.
    [[nodiscard]] bool Feed(std::string_view bytes, bool last);

    [[nodiscard]] Stop Stopped() const { return m_stop; }
    // Where the parser is, or where it found the XML not well-formed (1-based).
    [[nodiscard]] std::uint64_t Line() const;
    // The parser's words for what is not well-formed.
    [[nodiscard]] std::string ErrorText() const;

private:
    struct ParserFree {
        void operator()(XML_ParserStruct* parser) const;
    };
    static void OnStart(void* self, const char* name, const char** attributes);
    static void OnEnd(void* self, const char* name);
    static void OnText(void* self, const char* text, int length);
    static void OnDocumentType(void* self, const char* name, const char* sysid, const char* pubid, int internal);
    static void OnOtherMarkup(void* self, const char* text, int length);
    // Runs a callback's work unless the parser is stopping; stops it for the reason given, or
    // when the work answers false or runs out of memory.
    template <typename Work>
    void Handle(Work&& work);
    void StopFor(Stop reason);
    // Notes where the event being reported ends: what the parser holds beyond it is one
    // piece of markup still arriving.
    void NoteEventEnd();

    XmlHandler& m_handler;
    XmlLimits m_limits;
    std::unique_ptr<XML_ParserStruct, ParserFree> m_parser;
    Stop m_stop = Stop::None;
    bool m_failed = false; // the parser's error stays the first one it found
    std::uint32_t m_depth = 0;
    std::uint64_t m_fed = 0;      // bytes handed to the parser
    std::uint64_t m_eventEnd = 0; // where the last event reported ends
};

} // namespace rw
