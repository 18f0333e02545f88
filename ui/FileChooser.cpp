#include "ui/FileChooser.h"

#include "resources/Strings.h"
#include "ui/Texts.h"
#include "ui/Prompter.h"

#include <QDir>
#include <QFileInfo>

namespace rw {

FileChooser::FileChooser(Prompter& prompter) : m_prompter(prompter), m_lastFolder(QDir::currentPath()) {}

std::optional<QString> FileChooser::ChooseFileToOpen(QWidget* owner)
{
    return Remember(m_prompter.ChooseOpenFile(owner, m_lastFolder, Text(str::kOpenFilter),
                                              QStringLiteral("*.txt *.dat")));
}

std::optional<QString> FileChooser::ChooseAnyFileToOpen(QWidget* owner)
{
    return Remember(m_prompter.ChooseOpenFile(owner, m_lastFolder, Text(str::kAllFilesFilter), QStringLiteral("*")));
}

std::optional<QString> FileChooser::ChooseFileToSave(QWidget* owner, const QString& proposedName)
{
    return Remember(m_prompter.ChooseSaveFile(owner, m_lastFolder, proposedName, Text(str::kSaveFilter),
                                              QStringLiteral("*.dat"), Text(str::kSaveDefaultSuffix)));
}

std::optional<ChosenFile> FileChooser::ChooseFileOfType(QWidget* owner, FileDialogMode mode, const QString& proposedName,
                                                       const std::vector<FileFilter>& filters, int initial)
{
    std::optional<ChosenFile> chosen = m_prompter.ChooseFileOfType(owner, mode, m_lastFolder, proposedName, filters, initial);
    if (chosen) (void)Remember(chosen->path);
    return chosen;
}

std::optional<QString> FileChooser::Remember(std::optional<QString> chosen)
{
    if (chosen) m_lastFolder = QFileInfo(*chosen).absolutePath();
    return chosen;
}

} // namespace rw
