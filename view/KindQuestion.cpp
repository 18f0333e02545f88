#include "view/KindQuestion.h"

#include "data/DataFile.h"
#include "resources/Strings.h"
#include "ui/Prompter.h"
#include "ui/Texts.h"

#include <QFileInfo>
#include <QStringList>

namespace rw {

std::optional<FileKind> AskFileKind(Prompter& prompter, QWidget* owner, const KeySet& keys, const QString& path)
{
    const QStringList kinds{Text(str::kKindItemFormat, keys.For(FileKind::Item)),
                            Text(str::kKindMagicFormat, keys.For(FileKind::Magic)),
                            Text(str::kKindMonsterFormat, keys.For(FileKind::Monster))};
    const QString bareName = QFileInfo(path).fileName();
    const FileKind named = KindFromName(bareName.toStdString());
    const std::optional<int> chosen =
        prompter.ChooseItem(owner, Text(str::kKindCaption), Text(str::kKindQuestionFormat, bareName), kinds,
                            named == FileKind::None ? 0 : static_cast<int>(named));
    if (!chosen) return std::nullopt;
    return FileKindFromInt(*chosen);
}

QString KindWord(FileKind kind)
{
    switch (kind) {
    case FileKind::Magic: return Text(str::kKindWordMagic);
    case FileKind::Monster: return Text(str::kKindWordMonster);
    default: return Text(str::kKindWordItem);
    }
}

} // namespace rw
