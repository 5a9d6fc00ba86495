#pragma once
// A fresh demo hospital for each test: the demo database is built once per test binary and
// copied, so every test starts from the same data and may write freely.
#include "shell/db/connection.h"

#include <QTemporaryDir>
#include <memory>

namespace mss::test {

class TestHospital {
public:
    TestHospital();    // builds or copies the demo file, opens it, makes it the Session's connection
    ~TestHospital();

    db::Connection& connection() { return *connection_; }
    const QString& path() const { return path_; }
    // A second, independent connection to the same file (another workstation).
    std::unique_ptr<db::Connection> openAnother() const;

    // Statements sent since the last call (or since opening), exact texts, in order.
    QStringList takeStatements();

    // One value of the first row, as text ("" for null); fails the test when there is no row.
    QString scalar(const QString& sql);
    long count(const QString& sql) { return scalar(sql).toLong(); }

private:
    QTemporaryDir dir_;
    QString path_;
    std::unique_ptr<db::Connection> connection_;
};

// Path of the demo database shared by the tests of this binary (built on first use).
QString demoTemplatePath();

}  // namespace mss::test
