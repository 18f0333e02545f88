#include "sheet/XmlStream.h"

#include <expat.h>

#include <cstring>
#include <limits>
#include <new>

namespace rw {
namespace {

// Between a namespace and a local name in the names the parser reports; no name has one.
constexpr char kNamespaceSeparator = ' ';

[[nodiscard]] std::string_view LocalName(const char* name)
{
    const char* separator = std::strrchr(name, kNamespaceSeparator);
    return separator ? std::string_view(separator + 1) : std::string_view(name);
}

} // namespace

std::optional<std::string_view> XmlAttributes::Plain(std::string_view name) const
{
    for (const char** p = m_pairs; *p; p += 2) {
        if (name == p[0]) return std::string_view(p[1]);
    }
    return std::nullopt;
}

std::optional<std::string_view> XmlAttributes::Qualified(std::string_view localName) const
{
    for (const char** p = m_pairs; *p; p += 2) {
        if (std::strchr(p[0], kNamespaceSeparator) && LocalName(p[0]) == localName) return std::string_view(p[1]);
    }
    return std::nullopt;
}

void XmlStream::ParserFree::operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }

XmlStream::XmlStream(XmlHandler& handler, const XmlLimits& limits)
    : m_handler(handler), m_limits(limits), m_parser(XML_ParserCreateNS(nullptr, kNamespaceSeparator))
{
    if (!m_parser) throw std::bad_alloc();
    XML_SetUserData(m_parser.get(), this);
    XML_SetElementHandler(m_parser.get(), OnStart, OnEnd);
    XML_SetCharacterDataHandler(m_parser.get(), OnText);
    XML_SetStartDoctypeDeclHandler(m_parser.get(), OnDocumentType);
    // Comments, processing instructions and the rest end events too; entities still expand
    // as the Expand variant keeps them (none are defined anyway).
    XML_SetDefaultHandlerExpand(m_parser.get(), OnOtherMarkup);
}

XmlStream::~XmlStream() = default;

bool XmlStream::Feed(std::string_view bytes, bool last)
{
    if (m_failed) return false;
    while (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        const std::string_view piece = bytes.substr(0, std::size_t{1} << 30);
        if (!Feed(piece, false)) return false;
        bytes.remove_prefix(piece.size());
    }
    m_fed += bytes.size();
    m_failed = XML_Parse(m_parser.get(), bytes.data(), static_cast<int>(bytes.size()), last ? XML_TRUE : XML_FALSE) !=
               XML_STATUS_OK;
    if (m_failed && m_stop == Stop::None && XML_GetErrorCode(m_parser.get()) == XML_ERROR_NO_MEMORY) m_stop = Stop::OutOfMemory;
    if (!m_failed && m_fed - m_eventEnd > m_limits.tokenBytes) {
        // Stopped before the parser scans it yet again with the next piece.
        m_stop = Stop::TokenTooLong;
        m_failed = true;
    }
    return !m_failed;
}

std::uint64_t XmlStream::Line() const { return XML_GetCurrentLineNumber(m_parser.get()); }

std::string XmlStream::ErrorText() const
{
    const XML_LChar* text = XML_ErrorString(XML_GetErrorCode(m_parser.get()));
    return text ? text : "";
}

void XmlStream::StopFor(Stop reason)
{
    if (m_stop != Stop::None) return;
    m_stop = reason;
    XML_StopParser(m_parser.get(), XML_FALSE);
}

void XmlStream::NoteEventEnd()
{
    const XML_Index at = XML_GetCurrentByteIndex(m_parser.get());
    if (at < 0) return;
    const std::uint64_t end = static_cast<std::uint64_t>(at) + static_cast<std::uint64_t>(XML_GetCurrentByteCount(m_parser.get()));
    if (end > m_eventEnd) m_eventEnd = end;
}

template <typename Work>
void XmlStream::Handle(Work&& work)
{
    if (m_stop != Stop::None) return;
    NoteEventEnd();
    // An exception must not unwind through the parser's C code: memory that runs out in a
    // handler stops the parser instead, and is said as what it is.
    try {
        if (!work()) StopFor(Stop::ByHandler);
    } catch (const std::bad_alloc&) {
        StopFor(Stop::OutOfMemory);
    }
}

void XmlStream::OnStart(void* self, const char* name, const char** attributes)
{
    auto& stream = *static_cast<XmlStream*>(self);
    // Counted even after a stop: the ends that follow take them off again.
    ++stream.m_depth;
    if (stream.m_depth > stream.m_limits.depth) return stream.StopFor(Stop::TooDeep);
    if (std::strlen(name) > stream.m_limits.nameBytes) return stream.StopFor(Stop::NameTooLong);
    stream.Handle([&] { return stream.m_handler.Start(LocalName(name), XmlAttributes(attributes)); });
}

void XmlStream::OnEnd(void* self, const char* name)
{
    auto& stream = *static_cast<XmlStream*>(self);
    --stream.m_depth;
    stream.Handle([&] { return stream.m_handler.End(LocalName(name)); });
}

void XmlStream::OnText(void* self, const char* text, int length)
{
    auto& stream = *static_cast<XmlStream*>(self);
    stream.Handle([&] { return stream.m_handler.Text({text, static_cast<std::size_t>(length)}); });
}

void XmlStream::OnDocumentType(void* self, const char*, const char*, const char*, int)
{
    static_cast<XmlStream*>(self)->StopFor(Stop::DocumentType);
}

void XmlStream::OnOtherMarkup(void* self, const char*, int)
{
    auto& stream = *static_cast<XmlStream*>(self);
    if (stream.m_stop == Stop::None) stream.NoteEventEnd();
}

} // namespace rw
