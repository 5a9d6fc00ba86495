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

int execCommand(const QStringList& argsIn) {
    QStringList args = argsIn;
    QStringList procedureFiles;
    while (args.size() >= 2 && args.first() == QLatin1String("--procedures")) {
        args.removeFirst();
        const QFileInfo fi(args.takeFirst());
        if (fi.isDir()) {
            for (const QFileInfo& f : QDir(fi.filePath()).entryInfoList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name))
                procedureFiles << f.filePath();
        } else {
            procedureFiles << fi.filePath();
        }
    }
    if (args.size() != 1) {
        err() << "usage: mss-hospitaldb exec [--procedures FILE|DIR]... DB < statements\n";
        return 2;
    }
    std::unique_ptr<EmbeddedBackend> db;
    try {
        db = std::make_unique<EmbeddedBackend>(args[0]);
        for (const QString& f : procedureFiles) db->procedures().loadFile(f);
    } catch (const mss::db::Failure& f) {
        err() << "error " << f.Number << ": " << f.Description << "\n";
        return 1;
    }
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly | QIODevice::Text)) return 1;
    bool failed = false;
    while (!in.atEnd()) {
        QString line = QString::fromUtf8(in.readLine());
        while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
        if (line.trimmed().isEmpty()) continue;
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
    return failed ? 1 : 0;
}

int createCommand(const QStringList& args) {
    QStringList rest = args;
    const bool force = rest.removeAll(QStringLiteral("--force")) > 0;
    const bool withReference = rest.removeAll(QStringLiteral("--reference")) > 0;
    if (rest.size() != 1) {
        err() << "usage: mss-hospitaldb create [--force] [--reference] DB\n";
        return 2;
    }
    if (force) QFile::remove(rest[0]);
    try {
        CreateOptions o;
        o.referenceData = withReference;
        createDatabase(rest[0], o);
    } catch (const mss::db::Failure& f) {
        err() << "error " << f.Number << ": " << f.Description << "\n";
        return 1;
    }
    return 0;
}

int scriptCommand(const QStringList& args) {
    if (args.size() < 2) {
        err() << "usage: mss-hospitaldb script DB FILE...\n";
        return 2;
    }
    try {
        EmbeddedBackend db(args[0]);
        for (const QString& f : args.mid(1)) db.engine().runScript(readTextFile(f), QFileInfo(f).fileName());
    } catch (const mss::db::Failure& f) {
        err() << "error " << f.Number << ": " << f.Description << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

void registerEngineSubcommands() {
    addSubcommand({QStringLiteral("exec"), QStringLiteral("exec [--procedures P]... DB"),
                   QStringLiteral("run T-SQL statements from standard input, one per line (P: extra procedure files or folders)"), execCommand});
    addSubcommand({QStringLiteral("create"), QStringLiteral("create [--force] [--reference] DB"),
                   QStringLiteral("create a hospital database with the schema only (--reference: and reference data)"),
                   createCommand});
    addSubcommand({QStringLiteral("script"), QStringLiteral("script DB FILE..."),
                   QStringLiteral("run SQLite scripts (mangled names, the engine's functions) on a hospital database"),
                   scriptCommand});
}

}  // namespace hospitaldb::tool
