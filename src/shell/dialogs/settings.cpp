#include "shell/dialogs/settings.h"
#include "shell/db/privatefiles.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QRect>
#include <QSettings>
#include <QStandardPaths>
#include <QWidget>

namespace mss::ui {

namespace {

struct Entry {
    Setting key;
    const char* name;
    QVariant defaultValue;
};

const Entry& entry(Setting key) {
    static const Entry table[] = {
        {Setting::RecentServers, "LogIn/RecentServers", QStringList()},
        {Setting::MainWindowGeometry, "Windows/MainWindow", QByteArray()},
        {Setting::ViewerGeometry, "Windows/ReportViewer", QByteArray()},
        {Setting::PatientSearchGeometry, "Windows/PatientSearch", QRect()},
        {Setting::PatientListColumns, "Windows/PatientListColumns", QByteArray()},
    };
    for (const Entry& e : table)
        if (e.key == key) return e;
    Q_UNREACHABLE();
}

QString& fileOverride() {
    static QString path;
    return path;
}

// The remembered servers name the workstation's databases: only its user may read them.
// QSettings keeps the mode of the file it rewrites, so the file is made private once, before
// the first write; a file from an earlier version is closed to others.
void makeSettingsPrivate(const QString& file) {
    static QString done;
    if (done == file) return;
    const QFileInfo info(file);
    if (db::makePrivateFolder(info.absolutePath()) &&
        (db::createPrivateFile(file) || db::restrictToOwner(file)))
        done = file;
}

}  // namespace

void setSettingsFile(const QString& path) { fileOverride() = path; }

QString settingsFile() {
    if (!fileOverride().isEmpty()) return fileOverride();
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).filePath(QStringLiteral("settings.ini"));
}

QVariant setting(Setting key) {
    const Entry& e = entry(key);
    const QSettings s(settingsFile(), QSettings::IniFormat);
    const QString name = QString::fromLatin1(e.name);
    if (!s.contains(name) && key == Setting::RecentServers) {
        // Earlier versions kept the servers in a file of their own beside this one.
        const QSettings earlier(QFileInfo(settingsFile()).dir().filePath(QStringLiteral("login.ini")),
                                QSettings::IniFormat);
        return earlier.value(name, e.defaultValue);
    }
    return s.value(name, e.defaultValue);
}

void setSetting(Setting key, const QVariant& value) {
    makeSettingsPrivate(settingsFile());
    QSettings s(settingsFile(), QSettings::IniFormat);
    s.setValue(QString::fromLatin1(entry(key).name), value);
}

void restoreWindow(QWidget& window, Setting key) {
    const QByteArray geometry = setting(key).toByteArray();
    if (!geometry.isEmpty()) window.restoreGeometry(geometry);
}

void saveWindow(const QWidget& window, Setting key) { setSetting(key, window.saveGeometry()); }

void rememberColumns(QHeaderView& header, Setting key) {
    const QByteArray state = setting(key).toByteArray();
    if (!state.isEmpty()) header.restoreState(state);
    // Connected after the program has set its own widths: what changes them now is the worker.
    QObject::connect(&header, &QHeaderView::sectionResized, &header,
                     [&header, key] { setSetting(key, header.saveState()); });
}

}  // namespace mss::ui
