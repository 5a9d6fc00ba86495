#pragma once
// A demo hospital built once per test program, with a few patients of known data added to it,
// and a helper that runs a statement as the program sends it.
#include "hospitaldb/embedded.h"
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <gtest/gtest.h>
#include <memory>

namespace patients_test {

// Rows of a result, addressed by column name.
struct Rows {
    mss::db::ResultTable table;
    int size() const { return int(table.rows.size()); }
    QVariant at(int row, const QString& column) const;
    QString text(int row, const QString& column) const;   // null -> ""
    bool has(const QString& column) const;
};

class Hospital : public ::testing::Test {
public:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    // The shared demo file; tests that write use a private copy (freshCopy).
    static QString demoPath();
    static QString freshCopy();

protected:
    void SetUp() override;
    Rows run(const QString& sql);
    mss::db::Backend& db() { return *backend_; }
    hospitaldb::Engine& engine();

    std::unique_ptr<mss::db::Backend> backend_;
    QList<mss::db::ErrorEntry> messages_;
};

}  // namespace patients_test
