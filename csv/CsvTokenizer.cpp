#include "csv/CsvTokenizer.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <bit>
#include <cstring>

namespace rw {
namespace {

[[nodiscard]] std::size_t Find(std::string_view text, std::size_t from, std::size_t to, char c)
{
    const void* hit = std::memchr(text.data() + from, c, to - from);
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data()) : to;
}

[[nodiscard]] std::size_t CountLineEnds(std::string_view text, std::size_t from, std::size_t to)
{
    return static_cast<std::size_t>(std::count(text.begin() + static_cast<std::ptrdiff_t>(from),
                                               text.begin() + static_cast<std::ptrdiff_t>(to), '\n'));
}

// Positions of the delimiters in text[from, to), sixteen bytes at a time where the processor
// allows: rows of a record table are mostly one long hexadecimal field.
void FindCommas(const char* text, std::size_t from, std::size_t to, char delimiter, std::vector<std::size_t>& commas)
{
    std::size_t i = from;
#if defined(__SSE2__)
    const __m128i comma = _mm_set1_epi8(delimiter);
    for (; i + 16 <= to; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, comma)));
        while (mask != 0) {
            commas.push_back(i + static_cast<std::size_t>(std::countr_zero(mask)));
            mask &= mask - 1;
        }
    }
#endif
    for (; i < to; ++i) {
        if (text[i] == delimiter) commas.push_back(i);
    }
}

void Reset(CsvRow& row)
{
    row.fields.clear();
    row.blank = false;
    row.lines = 0;
    row.syntax = CsvSyntax::None;
    row.errorColumn = 0;
    row.errorLine = 0;
}

void Incomplete(std::size_t pos, CsvRow& row)
{
    row.fields.clear();
    row.status = CsvRow::Status::Incomplete;
    row.next = pos;
}

} // namespace

void CsvTokenizer::ReadRow(std::string_view text, std::size_t pos, bool atEnd, CsvRow& row)
{
    Reset(row);
    const std::size_t n = text.size();
    if (pos >= n) {
        if (atEnd) m_skipping = false;
        row.status = atEnd ? CsvRow::Status::End : CsvRow::Status::Incomplete;
        row.next = pos;
        return;
    }
    if (m_skipping) return SkipRestOfLine(text, pos, atEnd, row);
    if (ReadPlainRow(text, pos, row)) return;
    row.fields.clear();
    // The row's line end can only be among its first kMaxRowBytes bytes.
    const bool cut = n - pos >= kMaxRowBytes;
    const std::size_t window = cut ? pos + kMaxRowBytes : n;
    const std::size_t lf = Find(text, pos, window, '\n');
    if (lf == window && !cut && !atEnd) return Incomplete(pos, row);
    if (Find(text, pos, lf, '"') != lf) return ReadQuotedRow(text, pos, atEnd, row);
    if (lf == window && cut) {
        const auto column = 1 + static_cast<int>(std::count(text.begin() + static_cast<std::ptrdiff_t>(pos),
                                                             text.begin() + static_cast<std::ptrdiff_t>(window), m_delimiter));
        return Fail(text, window, atEnd, CsvSyntax::RowTooLong, column, 0, row);
    }

    // The common row: one line, no quotes, so fields are plain runs between commas.
    std::size_t end = lf;
    if (end > pos && text[end - 1] == '\r') --end;
    const std::size_t cr = Find(text, pos, end, '\r');
    if (cr != end) {
        const auto column = 1 + static_cast<int>(std::count(text.begin() + static_cast<std::ptrdiff_t>(pos),
                                                             text.begin() + static_cast<std::ptrdiff_t>(cr), m_delimiter));
        return Fail(text, cr, atEnd, CsvSyntax::StrayCarriageReturn, column, 0, row);
    }
    row.status = CsvRow::Status::Row;
    row.next = lf == n ? n : lf + 1;
    row.lines = lf == n ? 0 : 1;
    row.blank = end == pos;
    m_commas.clear();
    FindCommas(text.data(), pos, end, m_delimiter, m_commas);
    row.fields.resize(m_commas.size() + 1);
    std::size_t start = pos;
    for (std::size_t k = 0; k < m_commas.size(); ++k) {
        row.fields[k] = {text.substr(start, m_commas[k] - start), 0};
        start = m_commas[k] + 1;
    }
    row.fields.back() = {text.substr(start, end - start), 0};
}

bool CsvTokenizer::ReadPlainRow(std::string_view text, std::size_t pos, CsvRow& row)
{
    const char* p = text.data();
    const std::size_t limit = std::min(text.size(), pos + kMaxRowBytes);
    std::size_t start = pos; // of the field being read
    std::size_t cr = std::string_view::npos;
    const auto endField = [&](std::size_t at) {
        row.fields.push_back({text.substr(start, at - start), 0});
        start = at + 1;
    };
    // The line end at lf: the row is plain if a carriage return stands only right before it.
    const auto endRow = [&](std::size_t lf) {
        if (cr != std::string_view::npos && cr + 1 != lf) return false;
        const std::size_t end = cr == std::string_view::npos ? lf : cr;
        endField(end);
        row.status = CsvRow::Status::Row;
        row.next = lf + 1;
        row.lines = 1;
        row.blank = end == pos;
        return true;
    };
    std::size_t i = pos;
#if defined(__SSE2__)
    const __m128i lineEnd = _mm_set1_epi8('\n');
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i carriageReturn = _mm_set1_epi8('\r');
    const __m128i delimiter = _mm_set1_epi8(m_delimiter);
    for (; i + 16 <= limit; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const auto mask = [&](__m128i c) { return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, c))); };
        const unsigned ends = mask(lineEnd);
        // The bits before the first line end, all of them when there is none.
        const unsigned before = ends != 0 ? (ends & (0U - ends)) - 1 : 0xFFFFU;
        if ((mask(quote) & before) != 0) return false;
        const unsigned returns = mask(carriageReturn) & before;
        if (returns != 0) {
            if (cr != std::string_view::npos || (returns & (returns - 1)) != 0) return false;
            cr = i + static_cast<std::size_t>(std::countr_zero(returns));
        }
        for (unsigned commas = mask(delimiter) & before; commas != 0; commas &= commas - 1) {
            endField(i + static_cast<std::size_t>(std::countr_zero(commas)));
        }
        if (ends != 0) return endRow(i + static_cast<std::size_t>(std::countr_zero(ends)));
    }
#endif
    for (; i < limit; ++i) {
        const char c = p[i];
        if (c == '\n') return endRow(i);
        if (c == '"' || (c == '\r' && cr != std::string_view::npos)) return false;
        if (c == '\r') cr = i;
        else if (c == m_delimiter) endField(i);
    }
    return false; // no line end within the text, or not within a row's bytes
}

void CsvTokenizer::ReadQuotedRow(std::string_view text, std::size_t pos, bool atEnd, CsvRow& row)
{
    m_pieces.clear();
    m_unquoted.clear();
    // Nothing of the row may lie at or past end. Reaching it, the row is too long when the
    // text goes on past it, else the text has run out: wait for more, or that is the end.
    const bool cut = text.size() - pos >= kMaxRowBytes;
    QuotedRow scan{text, pos, cut ? pos + kMaxRowBytes : text.size(), cut, atEnd, pos};
    for (;;) {
        ++scan.column;
        Piece piece;
        piece.line = scan.line;
        const bool read = scan.i < scan.end && text[scan.i] == '"' ? ReadQuotedField(scan, piece, row)
                                                                   : ReadBareField(scan, piece, row);
        if (!read) return;
        m_pieces.push_back(piece);
        const FieldEnd after = EndField(scan, row);
        if (after == FieldEnd::Stopped) return;
        if (after == FieldEnd::RowEnd) break;
    }
    row.status = CsvRow::Status::Row;
    row.next = scan.i;
    row.lines = scan.line;
    for (const Piece& p : m_pieces) {
        const std::string_view from = p.copied ? std::string_view(m_unquoted) : text;
        row.fields.push_back({from.substr(p.begin, p.size), p.line});
    }
}

// The parts of a quoted row run for every field: left as calls, they cost an import of quoted
// names up to a tenth more time than the row read in one function.
[[gnu::always_inline]] inline bool CsvTokenizer::RunsOut(const QuotedRow& scan, std::size_t lines, CsvRow& row)
{
    if (scan.cut) {
        Fail(scan.text, scan.end, scan.atEnd, CsvSyntax::RowTooLong, scan.column, lines, row);
        return true;
    }
    if (scan.atEnd) return false;
    Incomplete(scan.pos, row);
    return true;
}

[[gnu::always_inline]] inline bool CsvTokenizer::ReadQuotedField(QuotedRow& scan, Piece& piece, CsvRow& row)
{
    const std::string_view text = scan.text;
    std::size_t from = ++scan.i;
    bool copied = false;
    std::size_t copyStart = 0;
    for (;;) {
        const std::size_t q = Find(text, scan.i, scan.end, '"');
        if (q == scan.end) {
            if (RunsOut(scan, scan.line + CountLineEnds(text, scan.i, scan.end), row)) return false;
            Fail(text, text.size(), scan.atEnd, CsvSyntax::UnclosedQuote, scan.column, piece.line, row);
            return false;
        }
        scan.line += CountLineEnds(text, scan.i, q);
        if (q + 1 == scan.end && RunsOut(scan, scan.line, row)) return false;
        if (q + 1 < scan.end && text[q + 1] == '"') {
            // A doubled quote: the field's text is copied without the second one.
            if (!copied) copyStart = m_unquoted.size();
            copied = true;
            m_unquoted.append(text.substr(from, q + 1 - from));
            scan.i = from = q + 2;
            continue;
        }
        if (copied) {
            m_unquoted.append(text.substr(from, q - from));
            piece.begin = copyStart;
            piece.size = m_unquoted.size() - copyStart;
            piece.copied = true;
        } else {
            piece.begin = from;
            piece.size = q - from;
        }
        scan.i = q + 1;
        return true;
    }
}

[[gnu::always_inline]] inline bool CsvTokenizer::ReadBareField(QuotedRow& scan, Piece& piece, CsvRow& row)
{
    // A local position: the text's bytes could alias the scan's members for the compiler.
    const std::string_view text = scan.text;
    const std::size_t end = scan.end;
    std::size_t i = scan.i;
    while (i < end && text[i] != m_delimiter && text[i] != '\n' && text[i] != '\r' && text[i] != '"') ++i;
    if (i < end && text[i] == '"') {
        Fail(text, i, scan.atEnd, CsvSyntax::QuoteInsideField, scan.column, scan.line, row);
        return false;
    }
    piece.begin = scan.i;
    piece.size = i - scan.i;
    scan.i = i;
    return true;
}

[[gnu::always_inline]] inline CsvTokenizer::FieldEnd CsvTokenizer::EndField(QuotedRow& scan, CsvRow& row)
{
    const std::string_view text = scan.text;
    const std::size_t i = scan.i;
    if (i == scan.end) return RunsOut(scan, scan.line, row) ? FieldEnd::Stopped : FieldEnd::RowEnd;
    if (text[i] == m_delimiter) {
        scan.i = i + 1;
        return FieldEnd::Next;
    }
    if (text[i] == '\n') {
        scan.i = i + 1;
        ++scan.line;
        return FieldEnd::RowEnd;
    }
    if (text[i] != '\r') {
        Fail(text, i, scan.atEnd, CsvSyntax::TextAfterQuote, scan.column, scan.line, row);
        return FieldEnd::Stopped;
    }
    if (i + 1 == scan.end && RunsOut(scan, scan.line, row)) return FieldEnd::Stopped;
    if (i + 1 < scan.end && text[i + 1] != '\n') {
        Fail(text, i, scan.atEnd, CsvSyntax::StrayCarriageReturn, scan.column, scan.line, row);
        return FieldEnd::Stopped;
    }
    scan.line += i + 1 < scan.end ? 1 : 0;
    scan.i = std::min(scan.end, i + 2);
    return FieldEnd::RowEnd;
}

void CsvTokenizer::Fail(std::string_view text, std::size_t at, bool atEnd, CsvSyntax syntax, int column,
                        std::size_t line, CsvRow& row)
{
    row.fields.clear();
    row.status = CsvRow::Status::Error;
    row.syntax = syntax;
    row.errorColumn = column;
    row.errorLine = line;
    // The rows after the line the error is on can still be read; the rest of that line is
    // passed over, as far as the text goes now and in the calls after, never held.
    const std::size_t lf = Find(text, at, text.size(), '\n');
    const bool found = lf != text.size();
    m_skipping = !found && !atEnd;
    row.next = found ? lf + 1 : text.size();
    row.lines = line + (found ? 1 : 0);
}

void CsvTokenizer::SkipRestOfLine(std::string_view text, std::size_t pos, bool atEnd, CsvRow& row)
{
    const std::size_t lf = Find(text, pos, text.size(), '\n');
    const bool found = lf != text.size();
    m_skipping = !found && !atEnd;
    row.status = CsvRow::Status::Skipped;
    row.next = found ? lf + 1 : text.size();
    row.lines = found ? 1 : 0;
}

char* WriteCsvField(std::string_view field, char* out, char delimiter)
{
    const char special[] = {delimiter, '"', '\r', '\n'};
    if (field.find_first_of(std::string_view(special, sizeof special)) == std::string_view::npos) {
        return std::copy(field.begin(), field.end(), out);
    }
    *out++ = '"';
    for (const char c : field) {
        if (c == '"') *out++ = '"';
        *out++ = c;
    }
    *out++ = '"';
    return out;
}

void AppendCsvField(std::string& out, std::string_view field, char delimiter)
{
    const std::size_t start = out.size();
    out.resize(start + 2 * field.size() + 2);
    out.resize(static_cast<std::size_t>(WriteCsvField(field, out.data() + start, delimiter) - out.data()));
}

} // namespace rw
