#include "view/KindQuestion.h"

#include "data/DataFile.h"
#include "resources/Strings.h"
#include "ui/FileNames.h"
#include "ui/Prompter.h"
#include "ui/Texts.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace rw {
namespace {

[[nodiscard]] QStringList KindsWithKeys(const KeySet& keys)
{
    return {Text(str::kKindItemFormat, keys.For(FileKind::Item)), Text(str::kKindMagicFormat, keys.For(FileKind::Magic)),
            Text(str::kKindMonsterFormat, keys.For(FileKind::Monster))};
}

// The entry of kind in the question's list, which is in kAllKinds' order.
[[nodiscard]] int Entry(FileKind kind) { return static_cast<int>(kind); }

[[nodiscard]] std::optional<FileKind> Ask(Prompter& prompter, QWidget* owner, const QString& bareName,
                                          const QStringList& kinds, FileKind proposed)
{
    const std::optional<int> chosen = prompter.ChooseItem(owner, Text(str::kKindCaption), Text(str::kKindQuestionFormat, bareName),
                                                          kinds, proposed == FileKind::None ? 0 : Entry(proposed));
    if (!chosen) return std::nullopt;
    return FileKindFromInt(*chosen);
}

// A kind that does not fit the file's size loads garbage: only after a warning whose default
// loads nothing. A header that counts no records is no table of any kind: the load says so.
[[nodiscard]] bool MisfitAccepted(Prompter& prompter, QWidget* owner, const QString& bareName, const KindFits& fits,
                                  FileKind kind)
{
    const KindFit& fit = FitFor(fits, kind);
    if (fit.Exact() || !fit.HasRecords()) return true;
    const KindGuess guess = GuessKind(fits);
    const QString warning =
        guess.exact ? Text(str::kKindMisfitOtherFitsFormat, bareName, KindWord(kind), FitText(fit), KindWord(guess.best))
                    : Text(str::kKindMisfitFormat, bareName, KindWord(kind), FitText(fit));
    return prompter.AskYesNo(owner, warning, Text(str::kCaptionWarning));
}

} // namespace

std::optional<FileKind> AskFileKind(Prompter& prompter, QWidget* owner, const KeySet& keys, const QString& path)
{
    const QString bareName = QFileInfo(path).fileName();
    return Ask(prompter, owner, bareName, KindsWithKeys(keys), KindFromName(bareName.toStdString()));
}

std::optional<FileKind> AskDataFileKind(Prompter& prompter, QWidget* owner, const KeySet& keys, const QString& path)
{
    const QString bareName = QFileInfo(path).fileName();
    const FileFits file = FitsOfFile(ToFsPath(path));
    // A file that cannot be read is asked about as any other; its load then says why.
    if (!file.Ok()) return AskFileKind(prompter, owner, keys, path);
    QStringList kinds = KindsWithKeys(keys);
    for (qsizetype i = 0; i < kinds.size(); ++i) {
        kinds[i] = Text(str::kKindChoiceFormat, kinds[i], FitText(file.fits[static_cast<std::size_t>(i)]));
    }
    const std::optional<FileKind> kind = Ask(prompter, owner, bareName, kinds, GuessKind(file.fits).best);
    if (!kind || !MisfitAccepted(prompter, owner, bareName, file.fits, *kind)) return std::nullopt;
    return kind;
}

bool MayLoadAsKind(Prompter& prompter, QWidget* owner, const QString& path, FileKind kind)
{
    const FileFits file = FitsOfFile(ToFsPath(path));
    return !file.Ok() || MisfitAccepted(prompter, owner, QFileInfo(path).fileName(), file.fits, kind);
}

QString FitText(const KindFit& fit)
{
    if (!fit.HasRecords()) return Text(str::kKindFitNoRecordsFormat, fit.count);
    const QString count = Grouped(static_cast<std::uint64_t>(fit.count));
    if (fit.MissingBytes() > 0) return Text(str::kKindFitMissingFormat, count, Grouped(fit.MissingBytes()));
    if (fit.ExtraBytes() > 0) return Text(str::kKindFitExtraFormat, count, Grouped(fit.ExtraBytes()));
    return Text(str::kKindFitExactFormat, count);
}

QString KindWord(FileKind kind)
{
    switch (kind) {
    case FileKind::Magic: return Text(str::kKindWordMagic);
    case FileKind::Monster: return Text(str::kKindWordMonster);
    default: return Text(str::kKindWordItem);
    }
}

QString KindShortWord(FileKind kind)
{
    switch (kind) {
    case FileKind::Magic: return Text(str::kKindShortMagic);
    case FileKind::Monster: return Text(str::kKindShortMonster);
    default: return Text(str::kKindShortItem);
    }
}

} // namespace rw
