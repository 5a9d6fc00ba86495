#pragma once
// The demo hospital, built once per test program and copied for every test, with a few
// patients, encounters and charges of known values added to it.
#include "hospitaldb/embedded.h"
#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <gtest/gtest.h>
#include <memory>

namespace casework_test {

// Rows of a result, addressed by column name.
struct Rows {
    mss::db::ResultTable table;
    int size() const { return int(table.rows.size()); }
    bool has(const QString& column) const { return table.columns.contains(column); }
    QVariant at(int row, const QString& column) const;
    QString text(int row, const QString& column) const;  // null -> ""
    double number(int row, const QString& column) const { return at(row, column).toDouble(); }
};

class CaseDb : public ::testing::Test {
public:
    static void SetUpTestSuite();
    static QString templatePath();

protected:
    void SetUp() override;

    // Runs a statement as the program sends it; messages land in messages_.
    Rows run(const QString& sql);
    // The failure number of a statement (0 when it succeeds), its text in *description.
    long failure(const QString& sql, QString* description = nullptr);
    // One value of the first row of a plain SQLite query on the file.
    QVariant value(const QString& sqliteSql);
    long count(const QString& sqliteSql) { return value(sqliteSql).toLongLong(); }
    hospitaldb::EmbeddedBackend& backend() { return *backend_; }
    // Another workstation on the same file.
    std::unique_ptr<hospitaldb::EmbeddedBackend> openAnother() const;

    QTemporaryDir dir_;
    QString path_;
    std::unique_ptr<hospitaldb::EmbeddedBackend> backend_;
    QList<mss::db::ErrorEntry> messages_;
};

// Today and other days as the screens write them.
QString mdy(int daysFromToday);
QString iso(int daysFromToday);

}  // namespace casework_test
