#include "app/firststart.h"
#include "hospitaldb/demo.h"
#include "shell/db/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace mss::app {

QString PrepareDemoHospital(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        throw db::Failure(db::errnum::FileWrite, QStringLiteral("Log In"),
                          QStringLiteral("%1: the folder cannot be made").arg(QDir::toNativeSeparators(folder)));
    const QString building = path + QStringLiteral(".part");
    QFile::remove(building);
    hospitaldb::buildDemo(building);
    if (!QFile::rename(building, path)) {
        QFile::remove(building);
        throw db::Failure(db::errnum::FileWrite, QStringLiteral("Log In"),
                          QStringLiteral("%1: the file cannot be written").arg(QDir::toNativeSeparators(path)));
    }
    return QStringLiteral("A new hospital database was created from the demo hospital: %1")
        .arg(QDir::toNativeSeparators(path));
}

}  // namespace mss::app
