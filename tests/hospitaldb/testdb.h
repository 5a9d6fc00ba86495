#pragma once
// A fresh hospital database with the engine's own test tables and procedures.
#include "hospitaldb/embedded.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace hospitaldb::testing {

inline QString fixture(const QString& name) {
    return QStringLiteral(MSS_SOURCE_DIR "/tests/hospitaldb/fixtures/") + name;
}

struct TestDb {
    explicit TestDb(bool hospitalSchema = false) {
        path = dir.filePath(QStringLiteral("hospital.db"));
        CreateOptions o;
        o.builtinSchema = hospitalSchema;
        o.referenceData = hospitalSchema;
        o.extraScripts << fixture(QStringLiteral("schema.sql"));
        createDatabase(path, o);
        db = std::make_unique<EmbeddedBackend>(path);
        db->procedures().loadFile(fixture(QStringLiteral("procedures.sql")));
    }

    ResultTable run(const QString& sql) {
        messages.clear();
        return db->execute(sql, messages);
    }
    // The failure number of a statement, 0 when it succeeds.
    long failure(const QString& sql, QString* description = nullptr) {
        try {
            run(sql);
        } catch (const Failure& f) {
            if (description) *description = f.Description;
            return f.Number;
        }
        return 0;
    }
    QVariant scalar(const QString& sql) {
        const ResultTable r = run(sql);
        EXPECT_TRUE(r.hasResult) << sql.toStdString();
        if (r.rows.isEmpty() || r.rows.first().isEmpty()) return QVariant();
        return r.rows.first().first();
    }

    QTemporaryDir dir;
    QString path;
    std::unique_ptr<EmbeddedBackend> db;
    QList<ErrorEntry> messages;
};

}  // namespace hospitaldb::testing
