#pragma once

// 文件 ▸ 最近打开的文件: the files the settings remember, the last first, each numbered and
// with the kind it was opened as, made afresh each time the menu opens.

#include "view/EditorSettings.h"

#include <QMenu>

namespace rw {

class RecentFilesMenu : public QMenu {
    Q_OBJECT

public:
    // The settings outlive the menu.
    RecentFilesMenu(EditorSettings& settings, const QString& title, QWidget* parent = nullptr);

    // The entries as the settings hold them now.
    void Fill();

signals:
    void OpenRequested(const rw::RecentFile& file);

private:
    EditorSettings& m_settings;
};

} // namespace rw
