#include "testhospital.h"
#include "hospitaldb/demo.h"
#include "shell/db/dbaccess.h"
#include "shell/db/text.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <gtest/gtest.h>

namespace mss::test {

QString demoTemplatePath() {
    // ctest runs every case in a process of its own: build the demo once per test binary
    // (and day, as the demo is dated from today) and keep it beside the build.
    static QString path;
    if (!path.isEmpty()) return path;
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    const QString stamp = QString::number(exe.lastModified().toSecsSinceEpoch()) + u'-' +
                          QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    QDir cache(QStringLiteral(MSS_BINARY_DIR "/tests/demo-cache"));
    cache.mkpath(QStringLiteral("."));
    const QString prefix = exe.completeBaseName() + u'-';
    path = cache.filePath(prefix + stamp + QStringLiteral(".db"));
    if (QFileInfo::exists(path)) return path;
    for (const QString& old : cache.entryList({prefix + QStringLiteral("*.db")}, QDir::Files)) cache.remove(old);
    // Built aside and renamed, so a parallel run never copies a half-written file.
    const QString building = path + QStringLiteral(".") + QString::number(QCoreApplication::applicationPid());
    hospitaldb::buildDemo(building);
    if (!QFile::rename(building, path)) QFile::remove(building);
    return path;
}

TestHospital::TestHospital() {
    path_ = dir_.filePath("hospital.db");
    if (!QFile::copy(demoTemplatePath(), path_)) ADD_FAILURE() << "cannot copy the demo hospital";
    connection_ = std::make_unique<db::Connection>();
    connection_->Open(db::embeddedConnectionString(path_));
    connection_->SetDefaultDatabase("MSS");
    connection_->SetCursorLocation(db::CursorLocation::Client);
    connection_->SetLogging(true);
    db::SetSessionConnection(connection_.get());
}

TestHospital::~TestHospital() {
    if (db::HasSessionConnection() && &db::SessionConnection() == connection_.get())
        db::SetSessionConnection(nullptr);
}

std::unique_ptr<db::Connection> TestHospital::openAnother() const {
    auto c = std::make_unique<db::Connection>();
    c->Open(db::embeddedConnectionString(path_));
    c->SetCursorLocation(db::CursorLocation::Client);
    return c;
}

QStringList TestHospital::takeStatements() {
    QStringList s = connection_->StatementLog();
    connection_->ClearLog();
    return s;
}

QString TestHospital::scalar(const QString& sql) {
    // Read through a second connection so the statement log of the screen under test stays clean.
    auto other = openAnother();
    const db::ResultTable r = other->Execute(sql);
    if (r.rows.isEmpty() || r.rows.first().isEmpty()) {
        ADD_FAILURE() << "no row for: " << sql.toStdString();
        return QString();
    }
    return text::VariantText(r.rows.first().first());
}

}  // namespace mss::test
