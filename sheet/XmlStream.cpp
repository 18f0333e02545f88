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

XmlStream::XmlStream(XmlHandler& handler)
    : m_handler(handler), m_parser(XML_ParserCreateNS(nullptr, kNamespaceSeparator))
{
    if (!m_parser) throw std::bad_alloc();
    XML_SetUserData(m_parser.get(), this);
    XML_SetElementHandler(m_parser.get(), OnStart, OnEnd);
    XML_SetCharacterDataHandler(m_parser.get(), OnText);
    XML_SetStartDoctypeDeclHandler(m_parser.get(), OnDocumentType);
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
    m_failed = XML_Parse(m_parser.get(), bytes.data(), static_cast<int>(bytes.size()), last ? XML_TRUE : XML_FALSE) !=
               XML_STATUS_OK;
    return !m_failed;
}

std::uint64_t XmlStream::Line() const { return XML_GetCurrentLineNumber(m_parser.get()); }

std::string XmlStream::ErrorText() const
{
    const XML_LChar* text = XML_ErrorString(XML_GetErrorCode(m_parser.get()));
    return text ? text : "";
}

void XmlStream::StopUnless(bool goOn)
{
    if (goOn || m_stopped) return;
    m_stopped = true;
    XML_StopParser(m_parser.get(), XML_FALSE);
}

void XmlStream::OnStart(void* self, const char* name, const char** attributes)
{
    auto& stream = *static_cast<XmlStream*>(self);
    if (stream.m_stopped) return;
    stream.StopUnless(stream.m_handler.Start(LocalName(name), XmlAttributes(attributes)));
}

void XmlStream::OnEnd(void* self, const char* name)
{
    auto& stream = *static_cast<XmlStream*>(self);
    if (stream.m_stopped) return;
    stream.StopUnless(stream.m_handler.End(LocalName(name)));
}

void XmlStream::OnText(void* self, const char* text, int length)
{
    auto& stream = *static_cast<XmlStream*>(self);
    if (stream.m_stopped) return;
    stream.StopUnless(stream.m_handler.Text({text, static_cast<std::size_t>(length)}));
}

void XmlStream::OnDocumentType(void* self, const char*, const char*, const char*, int)
{
    auto& stream = *static_cast<XmlStream*>(self);
    stream.m_documentType = true;
    stream.StopUnless(false);
}

} // namespace rw
