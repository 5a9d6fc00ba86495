#include "hospitaldb/tool/subcommands.h"
#include "hospitaldb/embedded.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace hospitaldb::tool {

namespace {

// One line per row: tabs separate values, so tabs, line breaks and backslashes are escaped.
QString cell(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return QStringLiteral("NULL");
    QString s;
    switch (v.typeId()) {
    case QMetaType::QDateTime: s = v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); break;
    case QMetaType::Double: s = QString::number(v.toDouble(), 'g', 15); break;
    default: s = v.toString();
    }
    s.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    s.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    s.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    s.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    return s;
}

int execCommand(const Arguments& args) {
    QStringList procedureFiles;
    for (const QString& given : args.all("--procedures")) {
        const QFileInfo fi(given);
        if (fi.isDir()) {
            for (const QFileInfo& f : QDir(fi.filePath()).entryInfoList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name))
                procedureFiles << f.filePath();
        } else {
            procedureFiles << fi.filePath();
        }
    }
    const QString path = args.positional[0];
    std::unique_ptr<EmbeddedBackend> db;
    try {
        db = std::make_unique<EmbeddedBackend>(path);
        for (const QString& f : procedureFiles) db->procedures().loadFile(f);
    } catch (const mss::db::Failure& f) {
        err() << "error " << f.Number << ": " << f.Description << "\n";
        return 1;
    }
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly | QIODevice::Text)) return 1;
    bool failed = false;
    int statements = 0;
    while (!in.atEnd()) {
        QString line = QString::fromUtf8(in.readLine());
        while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
        if (line.trimmed().isEmpty()) continue;
        ++statements;
        QList<mss::db::ErrorEntry> messages;
        try {
            const mss::db::ResultTable r = db->execute(line, messages);
            err().flush();
            if (r.hasResult) {
                out() << r.columns.join(QLatin1Char('\t')) << "\n";
                for (const auto& row : r.rows) {
                    QStringList cells;
                    for (const QVariant& v : row) cells << cell(v);
                    out() << cells.join(QLatin1Char('\t')) << "\n";
                }
                out() << "\n";
            }
        } catch (const mss::db::Failure& f) {
            failed = true;
            out().flush();
            err() << "error " << f.Number << ": " << f.Description << "\n";
        }
        out().flush();
        for (const auto& m : messages) err() << "info " << m.Number << ": " << m.Description << "\n";
        err().flush();
    }
    if (failed) return 1;
    // On standard error: standard output carries the results alone, for scripts to read.
    err() << "mss-hospitaldb: ran " << statements << (statements == 1 ? " statement" : " statements") << " on "
          << path << "\n";
    return 0;
}

int createCommand(const Arguments& args) {
    const QString path = args.positional[0];
    CreateOptions o;
    o.referenceData = args.has("--reference");
    const int status = createDatabaseFile(path, args.has("--force"), [&](const QString& at) { createDatabase(at, o); });
    if (status == 0)
        out() << "created " << path << (o.referenceData ? " with the schema and the reference data\n" : " with the schema only\n");
    return status;
}

int scriptCommand(const Arguments& args) {
    const QString path = args.positional[0];
    try {
        EmbeddedBackend db(path);
        for (const QString& f : args.positional.mid(1)) db.engine().runScript(readTextFile(f), QFileInfo(f).fileName());
    } catch (const mss::db::Failure& f) {
        err() << "error " << f.Number << ": " << f.Description << "\n";
        return 1;
    }
    const qsizetype n = args.positional.size() - 1;
    out() << "ran " << n << (n == 1 ? " script" : " scripts") << " on " << path << "\n";
    return 0;
}

}  // namespace

void registerEngineSubcommands() {
    addSubcommand({QStringLiteral("exec"), QStringLiteral("[--procedures P]... DB"),
                   QStringLiteral("run T-SQL statements from standard input, one per line (P: extra procedure files or folders)"),
                   {}, {QStringLiteral("--procedures")}, 1, 1, execCommand});
    addSubcommand({QStringLiteral("create"), QStringLiteral("[--force] [--reference] DB"),
                   QStringLiteral("create a hospital database with the schema only (--reference: and reference data)"),
                   {QStringLiteral("--force"), QStringLiteral("--reference")}, {}, 1, 1, createCommand});
    addSubcommand({QStringLiteral("script"), QStringLiteral("DB FILE..."),
                   QStringLiteral("run SQLite scripts (mangled names, the engine's functions) on a hospital database"),
                   {}, {}, 2, -1, scriptCommand});
}

}  // namespace hospitaldb::tool
