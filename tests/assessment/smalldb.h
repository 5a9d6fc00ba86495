#pragma once
// A hospital database holding only the tables a test writes, opened as the Session's connection.
#include "hospitaldb/engine.h"
#include "shell/db/dbaccess.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace mss::test {

class SmallDatabase {
public:
    explicit SmallDatabase(const QByteArray& script) {
        const QString path = dir_.filePath("small.db");
        const QString file = dir_.filePath("small.sql");
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly)) ADD_FAILURE() << "cannot write the script";
        f.write(script);
        f.close();
        hospitaldb::CreateOptions options;
        options.builtinSchema = false;
        options.referenceData = false;
        options.extraScripts = {file};
        hospitaldb::createDatabase(path, options);
        connection_.Open(db::embeddedConnectionString(path));
        connection_.SetDefaultDatabase("MSS");
        connection_.SetCursorLocation(db::CursorLocation::Client);
        connection_.SetLogging(true);
        db::SetSessionConnection(&connection_);
    }
    ~SmallDatabase() { db::SetSessionConnection(nullptr); }

    QStringList takeStatements() {
        QStringList s = connection_.StatementLog();
        connection_.ClearLog();
        return s;
    }

private:
    QTemporaryDir dir_;
    db::Connection connection_;
};

}  // namespace mss::test
