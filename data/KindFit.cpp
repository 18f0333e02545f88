#include "data/KindFit.h"

#include "system/Platform.h"
#include "data/RecordBytes.h"
#include "data/Schema.h"

#include <cstring>
#include <limits>

namespace rw {

KindFit FitOfKind(FileKind kind, std::int32_t count, std::uint64_t fileSize)
{
    KindFit fit;
    fit.kind = kind;
    fit.count = count;
    fit.fileSize = fileSize;
    if (count > 0) {
        const std::uint64_t records = static_cast<std::uint64_t>(count) * SchemaOf(kind).recordSize;
        // A monster file's count stands in the place of its first record's ID.
        fit.expectedSize = kind == FileKind::Monster ? records : records + 4;
    }
    return fit;
}

KindFits FitsOf(std::int32_t count, std::uint64_t fileSize)
{
    KindFits fits{};
    for (std::size_t i = 0; i < kAllKinds.size(); ++i) fits[i] = FitOfKind(kAllKinds[i], count, fileSize);
    return fits;
}

const KindFit& FitFor(const KindFits& fits, FileKind kind)
{
    for (const KindFit& fit : fits) {
        if (fit.kind == kind) return fit;
    }
    return fits.front();
}

KindGuess GuessKind(const KindFits& fits)
{
    KindGuess guess;
    std::uint64_t fewest = std::numeric_limits<std::uint64_t>::max();
    for (const KindFit& fit : fits) {
        if (!fit.HasRecords()) continue;
        if (fit.Exact()) return {fit.kind, true};
        if (fit.UnexplainedBytes() < fewest) {
            fewest = fit.UnexplainedBytes();
            guess.best = fit.kind;
        }
    }
    return guess;
}

Misfit MisfitOf(const KindFits& fits, FileKind kind)
{
    const KindFit& asked = FitFor(fits, kind);
    if (!asked.HasRecords()) return Misfit::NoRecords;
    if (asked.Exact()) return Misfit::None;
    const KindGuess guess = GuessKind(fits);
    if (guess.exact && guess.best != kind) return Misfit::OtherKind;
    if (asked.MissingBytes() > 0 && asked.expectedSize > kMaxTableBytes) return Misfit::CountTooLarge;
    return Misfit::None;
}

FileFits FitsOfFile(const std::filesystem::path& path)
{
    FileFits out;
    InputFile file(path, InputFile::Accept::RegularFile);
    if (file.IsNotRegularFile()) {
        out.notRegularFile = true;
        return out;
    }
    if (!file.IsOpen()) {
        out.error = file.Error();
        return out;
    }
    std::uint8_t header[4] = {};
    const auto got = file.ReadAt(header, 0);
    if (!got) {
        out.error = file.Error();
        return out;
    }
    // A file shorter than a count leaves its missing high bytes zero, as a load reads it.
    out.fits = FitsOf(LoadInt32(header), file.Stamp().size);
    return out;
}

} // namespace rw
