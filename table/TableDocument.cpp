#include "table/TableDocument.h"

#include "data/DataFile.h"

#include <QDateTime>

#include <algorithm>
#include <memory>

namespace rw {

TableDocument::TableDocument(QObject* parent) : QObject(parent)
{
    connect(&m_history, &QUndoStack::indexChanged, this, &TableDocument::Changed);
    connect(&m_history, &QUndoStack::cleanChanged, this, &TableDocument::Changed);
}

LoadReport TableDocument::Load(std::filesystem::path path, std::string bareName, FileKind kind)
{
    LoadedTable loaded = kind == FileKind::None ? LoadDataFile(path, bareName, m_keys)
                                                : LoadDataFileOfKind(path, kind, m_keys);
    if (!loaded.report.Loaded()) return loaded.report;
    ClearComparison();
    StartSession(std::move(*loaded.table));
    m_filePath = std::move(path);
    m_fileName = std::move(bareName);
    m_loadedStamp = loaded.report.decode.stamp;
    m_loadedFingerprint = FingerprintOf(loaded.report.decode);
    m_loadedReport = loaded.report.decode;
    m_loss = LossOf(loaded.report.decode, loaded.report.kind, loaded.report.refusedIds.size());
    emit Loaded();
    emit Changed();
    return loaded.report;
}

LoadReport TableDocument::Reload()
{
    // Copies: the load replaces both.
    return Load(m_filePath, m_fileName, m_kind);
}

void TableDocument::SetSorting(const SortedBy& sort)
{
    m_sort = sort;
    emit SortChanged(sort.shown ? sort.state.Column() : -1, sort.state.Ascending());
}

void TableDocument::StartSession(RecordTable table)
{
    // A key kept from the table before names nothing in this one.
    table.SetGeneration(++m_generation);
    m_history.clear();
    m_model.Replace(std::move(table));
    m_kind = Table().Kind();
    m_backedUp = false;
    m_openedFileBehind = false;
    m_savedKey = m_keys.For(m_kind);
    m_loadedAtMs = QDateTime::currentMSecsSinceEpoch();
    m_sort.shown = false;
}

void TableDocument::StartWithoutFile(FileKind kind)
{
    StartSession(RecordTable(kind));
    m_filePath.clear();
    m_fileName = SchemaOf(kind).fileName;
    m_loadedReport = {};
    m_loss = {};
    m_loadedFingerprint = {};
    emit Loaded();
}

DecodeReport TableDocument::CompareWith(const std::filesystem::path& path, std::string shownName)
{
    DecodedRecords other = ReadDataFile(path, m_kind, m_keys.For(m_kind));
    if (!other.report.loaded) return other.report;
    DecodeReport report = other.report;
    auto comparison = std::make_unique<Comparison>(Table(), std::move(other), std::move(shownName));
    m_model.SetComparison(nullptr);
    m_comparison = std::move(comparison);
    m_model.SetComparison(m_comparison.get());
    emit ComparisonChanged();
    return report;
}

void TableDocument::ClearComparison()
{
    if (!m_comparison) return;
    m_model.SetComparison(nullptr);
    m_comparison.reset();
    emit ComparisonChanged();
}

void TableDocument::PairTakenOver(std::span<const std::size_t> indexes, std::span<const std::uint32_t> placed)
{
    if (!m_comparison) return;
    m_comparison->Paired(indexes, placed);
    // Their marks change with their pairing.
    m_model.SetComparison(m_comparison.get());
}

std::optional<std::int32_t> TableDocument::FirstIdASaveLoses() const
{
    // A monster file keeps its count where the first record's ID would be.
    if (Table().Kind() != FileKind::Monster || Table().RowCount() == 0 || Table().IdOfRow(0) == 0) return std::nullopt;
    return Table().IdOfRow(0);
}

bool TableDocument::HasUnsavedWork() const
{
    return Modified() || m_openedFileBehind || (HasFile() && m_keys.For(m_kind) != m_savedKey);
}

bool TableDocument::ChangedOnDisk(const std::filesystem::path& target) const
{
    return IsLoadedFile(target) && CompareWithRead(target, m_kind, m_loadedFingerprint) == SinceRead::Changed;
}

std::optional<LoadLoss> TableDocument::LossOfSavingOver(const std::filesystem::path& target) const
{
    if (!m_loss.Any() || !IsLoadedFile(target)) return std::nullopt;
    return m_loss;
}

TableDocument::SaveReport TableDocument::WriteFile(const std::filesystem::path& target, ChangesOnDisk onDisk)
{
    SaveReport report;
    const bool overLoaded = IsLoadedFile(target);
    // What the loaded file held when it was loaded or last saved, for it must still hold that.
    std::optional<ReadContent> asRead;
    if (overLoaded && onDisk == ChangesOnDisk::Keep) asRead = ReadContent{m_kind, m_loadedFingerprint};
    const std::uint8_t key = m_keys.For(Table().Kind());
    PendingDataFile written(target, Table().Kind(), key, static_cast<std::size_t>(Table().RowCount()), RowsOf(Table()));
    if (!written.Ready()) {
        report.write = written.Failure();
        return report;
    }
    std::optional<PendingBackup> backup;
    if (overLoaded && !m_backedUp) {
        backup.emplace(m_filePath, BackupPath(), asRead);
        report.backup = backup->Report();
        report.changedOnDisk = report.backup.fault == BackupFault::TableChanged;
        if (!report.backup.Ok()) return report;
    }
    if (asRead && CompareWithRead(target, m_kind, asRead->fingerprint) == SinceRead::Changed) {
        report.changedOnDisk = true;
        return report;
    }
    if (backup) {
        report.backup = backup->Commit();
        if (!report.backup.Ok()) return report;
        m_backedUp = true;
    }
    const bool changed = HasUnsavedWork();
    report.write = written.Commit();
    if (!report.write.written) return report;
    // Ctrl+S goes on writing over the opened file until it holds what was saved elsewhere.
    m_openedFileBehind = overLoaded ? false : m_openedFileBehind || changed;
    m_savedKey = key;
    // A table made by an import becomes the file it was first saved as; no file was opened
    // there for a backup to keep.
    const bool named = !HasFilePath();
    if (named) {
        m_filePath = target;
        m_fileName = target.filename().string();
        m_backedUp = true;
        m_openedFileBehind = false;
    }
    m_model.MarkBaseline();
    m_history.setClean();
    emit Changed();
    if (overLoaded || named) {
        m_loadedFingerprint = report.write.fingerprint;
        m_loss = {};
        if (const auto stamp = StampOf(m_filePath)) m_loadedStamp = *stamp;
    }
    emit Saved(target, IsLoadedFile(target));
    return report;
}

std::filesystem::path TableDocument::BackupPath() const { return BackupPathOf(m_filePath); }

bool TableDocument::SortedSinceSaved() const
{
    // Steps done since, or undone back past the saved state: either way they set the order.
    const int saved = m_history.cleanIndex();
    if (saved < 0) return false;
    const int now = m_history.index();
    for (int i = std::min(saved, now); i < std::max(saved, now); ++i) {
        if (dynamic_cast<const SortStep*>(m_history.command(i)) != nullptr) return true;
    }
    return false;
}

bool TableDocument::OnlyOrderUnsaved() const
{
    return Modified() && SortedSinceSaved() && m_model.ChangedRecordCount() == 0;
}

std::string TableDocument::ProposedSaveName() const
{
    // A name without a dot is a stem as a whole: MONSTER proposes MONSTER2.
    const std::string stem = m_fileName.substr(0, m_fileName.find('.'));
    // A table made by an import has no file yet: the kind's own name is what it will be.
    return HasFilePath() ? stem + "2" : stem;
}

bool TableDocument::IsLoadedFile(const std::filesystem::path& target) const
{
    if (!HasFilePath()) return false;
    // By name, for a file another program has replaced by a new one of the same name; by
    // identity, for the same file reached through another name (a hard link), as long as
    // the loaded name still reaches it: a file replaced since may hand its number on.
    std::error_code error;
    const auto loaded = std::filesystem::weakly_canonical(m_filePath, error);
    const auto wanted = std::filesystem::weakly_canonical(target, error);
    if (!error && loaded == wanted) return true;
    const std::optional<FileStamp> stamp = StampOf(target);
    const std::optional<FileStamp> stillLoaded = StampOf(m_filePath);
    return stamp && stillLoaded && stamp->SameFileAs(m_loadedStamp) && stillLoaded->SameFileAs(m_loadedStamp);
}

} // namespace rw
