#pragma once

// The folders the file dialogs have been to, which their 查找范围 list offers again: kept in
// the editor's own settings between runs, where Qt would keep them in a file of its own.

#include <QStringList>

namespace rw {

class FileDialogHistory {
public:
    static constexpr qsizetype kMaxFolders = 10;

    virtual ~FileDialogHistory() = default;

    // The oldest first, as the dialogs list them.
    [[nodiscard]] virtual QStringList DialogFolders() const = 0;
    virtual void SetDialogFolders(const QStringList& folders) = 0;
};

} // namespace rw
