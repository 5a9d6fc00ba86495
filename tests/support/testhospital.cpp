#include "testhospital.h"
#include "demotemplate.h"
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
    static const QString path = cachedDemo(QFileInfo(QCoreApplication::instance() ? QCoreApplication::applicationFilePath()
                                                                                  : QStringLiteral("demo")).completeBaseName());
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
