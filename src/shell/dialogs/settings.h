#pragma once
// The workstation's own settings: what the worker arranged and the servers logged in to.
// One table of keys with their defaults; tests keep theirs in a file of their own.
#include <QVariant>

class QHeaderView;
class QWidget;

namespace mss::ui {

enum class Setting {
    RecentServers,            // QStringList, newest first
    MainWindowGeometry,       // QByteArray from QWidget::saveGeometry
    ViewerGeometry,
    PatientSearchGeometry,    // QRect inside the main window's area; empty: maximized
    PatientListColumns,       // QByteArray from QHeaderView::saveState
};

QVariant setting(Setting key);
void setSetting(Setting key, const QVariant& value);

// The settings file; empty restores the one in the user's configuration folder.
void setSettingsFile(const QString& path);
QString settingsFile();

// A window's size and position: restored when it opens, kept when it closes.
void restoreWindow(QWidget& window, Setting key);
void saveWindow(const QWidget& window, Setting key);

// Column widths of a list, restored at once and kept whenever the worker changes one.
void rememberColumns(QHeaderView& header, Setting key);

}  // namespace mss::ui
