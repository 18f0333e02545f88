#include "shell/RecentFilesMenu.h"

#include "resources/Strings.h"
#include "ui/Texts.h"
#include "view/KindQuestion.h"

#include <QAction>
#include <QDir>

namespace rw {

RecentFilesMenu::RecentFilesMenu(EditorSettings& settings, const QString& title, QWidget* parent)
    : QMenu(title, parent), m_settings(settings)
{
    connect(this, &QMenu::aboutToShow, this, &RecentFilesMenu::Fill);
}

void RecentFilesMenu::Fill()
{
    clear();
    const std::vector<RecentFile> files = m_settings.RecentFiles();
    if (files.empty()) {
        addAction(Text(str::kRecentNone))->setEnabled(false);
        return;
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        // A path is no mnemonic.
        QString shown = QDir::toNativeSeparators(files[i].path);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* entry = addAction(Text(str::kRecentFileFormat, i + 1, shown, KindShortWord(files[i].kind)));
        connect(entry, &QAction::triggered, this, [this, file = files[i]] { emit OpenRequested(file); });
    }
}

} // namespace rw
