#include "shell/db/privatefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace mss::db {

namespace {
constexpr QFileDevice::Permissions kOwnerFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions kOwnerFolder = kOwnerFile | QFileDevice::ExeOwner;
}  // namespace

bool makePrivateFolder(const QString& folder) {
    QString existing = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    QStringList missing;
    while (!QFileInfo(existing).isDir()) {
        const QFileInfo info(existing);
        if (info.exists() || info.path() == existing) return false;
        missing.prepend(info.fileName());
        existing = info.path();
    }
    QDir dir(existing);
    for (const QString& name : missing) {
        // Made with its mode rather than chmod-ed after: mkdir(2) applies it at once.
        if (!dir.mkdir(name, kOwnerFolder) && !dir.exists(name)) return false;
        if (!dir.cd(name)) return false;
    }
    return true;
}

bool createPrivateFile(const QString& path, QString* error) {
    QFile file(path);
    // NewOnly: never follows a planted link and never opens what another process just made.
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly, kOwnerFile)) return true;
    if (error) *error = file.errorString();
    return false;
}

bool restrictToOwner(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return false;
    const QFileDevice::Permissions wanted = info.isDir() ? kOwnerFolder : kOwnerFile;
    const QFileDevice::Permissions now =
        info.permissions() & (kOwnerFolder | QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                              QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther |
                              QFileDevice::ExeOther);
    return now == (now & wanted) || QFile::setPermissions(path, now & wanted);
}

}  // namespace mss::db
