#pragma once

// A workbook's zip archive, opened for reading through libzip: one interface for a file and
// for a block of memory, each part's CRC checked, and parts unpacked piece by piece into the
// caller's hands, so that no part is ever held whole, nor trusted to be the size its entry in
// the archive's directory says.

#include "sheet/SheetResult.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

struct zip;
struct zip_source;

namespace rw {

class ZipArchive {
public:
    // Opens the archive in a file, or in bytes that outlive this; Failure() says why not. An
    // archive of more members than sheet_limits::kMaxMembers, or with two members of one name
    // (letter case aside), is refused.
    explicit ZipArchive(const std::string& path);
    explicit ZipArchive(std::span<const std::uint8_t> bytes);
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;
    ~ZipArchive();

    [[nodiscard]] bool IsOpen() const { return m_zip != nullptr; }
    [[nodiscard]] const SheetResult& Failure() const { return m_failure; }

    struct Part {
        std::string name;
        std::uint64_t index = 0;
        std::uint64_t size = 0;       // unpacked, as the directory says
        std::uint64_t packedSize = 0;
    };
    // The part of exactly that name, as spreadsheet programs find it; empty if none.
    [[nodiscard]] std::optional<Part> Find(const std::string& name) const;

    // Unpacks the part into take, a piece at a time. It is refused (TooLarge) once it comes
    // to more than limit bytes, and (PackedTooDensely) once it unpacks to more than
    // sheet_limits::kMaxPackRatio times its packed size; both by the directory's sizes before
    // anything is unpacked, and by the bytes that actually come. take answers false to stop,
    // for a reason of its own: the answer is then Ok.
    [[nodiscard]] SheetResult Unpack(const Part& part, std::uint64_t limit,
                                     const std::function<bool(std::string_view)>& take) const;

private:
    struct Closer {
        void operator()(zip* archive) const;
    };
    void Open(zip_source* source);
    void CheckMembers();

    std::unique_ptr<zip, Closer> m_zip;
    SheetResult m_failure;
};

} // namespace rw
