#include "demotemplate.h"
#include "hospitaldb/demo.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace mss::test {

QString cachedDemo(const QString& name, const std::function<void(const QString&)>& extra) {
    // The test binary's own time stamp: a rebuild may have changed how the demo is made.
    // Tests without a QCoreApplication find themselves through /proc where there is one.
    const QFileInfo exe(QCoreApplication::instance() ? QCoreApplication::applicationFilePath()
                                                     : QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget());
    const QString stamp = QString::number(exe.exists() ? exe.lastModified().toSecsSinceEpoch() : 0) + u'-' +
                          QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    QDir cache(QStringLiteral(MSS_BINARY_DIR "/tests/demo-cache"));
    cache.mkpath(QStringLiteral("."));
    const QString prefix = name + u'-';
    const QString path = cache.filePath(prefix + stamp + QStringLiteral(".db"));
    if (QFileInfo::exists(path)) return path;
    for (const QString& old : cache.entryList({prefix + QStringLiteral("*.db")}, QDir::Files)) cache.remove(old);
    // Built aside and renamed, so a parallel case never copies a half-written file.
    const QString building = path + QStringLiteral(".") + QString::number(QCoreApplication::applicationPid());
    hospitaldb::buildDemo(building);
    if (extra) extra(building);
    if (!QFile::rename(building, path)) QFile::remove(building);
    return path;
}

}  // namespace mss::test
