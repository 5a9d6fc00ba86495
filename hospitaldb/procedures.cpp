#include "hospitaldb/procedures.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <mutex>

namespace hospitaldb {

namespace {
const QString kSource = QStringLiteral("HospitalDB");

QString key(const QString& db, const QString& name) { return (db + '.' + name).toLower(); }

[[noreturn]] void badFile(const QString& origin, int line, const QString& what) {
    throw Failure(mss::db::errnum::SyntaxError, kSource, QStringLiteral("%1:%2: %3").arg(origin).arg(line).arg(what));
}

// "= 'text'", "= 12", "= NULL" after a parameter name.
QVariant parseDefault(const QString& text, bool* ok) {
    const QString v = text.trimmed();
    *ok = true;
    if (v.compare(QLatin1String("null"), Qt::CaseInsensitive) == 0) return QVariant();
    if (v.size() >= 2 && v.startsWith('\'') && v.endsWith('\'')) {
        QString s = v.mid(1, v.size() - 2);
        s.replace(QLatin1String("''"), QLatin1String("'"));
        return s;
    }
    bool isInt = false;
    const qlonglong i = v.toLongLong(&isInt);
    if (isInt) return i;
    const double d = v.toDouble(ok);
    return d;
}
}  // namespace

QStringList splitStatements(const QString& body) {
    QStringList out;
    QString current;
    bool meaningful = false;
    const int n = int(body.size());
    int i = 0;
    auto finish = [&]() {
        if (meaningful) out << current.trimmed();
        current.clear();
        meaningful = false;
    };
    while (i < n) {
        const QChar c = body[i];
        if (c == '\'' || c == '"' || c == '[') {
            const QChar close = c == '[' ? QChar(']') : c;
            int j = i + 1;
            while (j < n) {
                if (body[j] == close) {
                    if (close != ']' && j + 1 < n && body[j + 1] == close) { j += 2; continue; }
                    break;
                }
                ++j;
            }
            current += body.mid(i, j + 1 - i);
            meaningful = true;
            i = j + 1;
            continue;
        }
        if (c == '-' && i + 1 < n && body[i + 1] == '-') {
            const int j = int(body.indexOf('\n', i));
            const int end = j < 0 ? n : j;
            current += body.mid(i, end - i);
            i = end;
            continue;
        }
        if (c == '/' && i + 1 < n && body[i + 1] == '*') {
            const int j = int(body.indexOf(QLatin1String("*/"), i + 2));
            const int end = j < 0 ? n : j + 2;
            current += body.mid(i, end - i);
            i = end;
            continue;
        }
        if (c == ';') {
            // only a ';' that ends its line (blanks or a comment may follow) ends a statement
            int j = i + 1;
            while (j < n && (body[j] == ' ' || body[j] == '\t' || body[j] == '\r')) ++j;
            const bool endOfLine = j >= n || body[j] == '\n' || (body[j] == '-' && j + 1 < n && body[j + 1] == '-');
            if (endOfLine) {
                finish();
                i = i + 1;
                continue;
            }
        }
        if (!c.isSpace()) meaningful = true;
        current += c;
        ++i;
    }
    finish();
    return out;
}

void ProcedureLibrary::add(Procedure p) {
    const QString k = key(p.database, p.name);
    procs_.insert(k, std::move(p));
    ++generation_;
}

void ProcedureLibrary::registerProcedure(const QString& database, const QString& name, const QStringList& params,
                                         NativeProcedure fn) {
    Procedure p;
    p.database = canonicalDatabase(database);
    if (p.database.isEmpty())
        throw Failure(mss::db::errnum::InvalidObject, kSource, QStringLiteral("Unknown database '%1'.").arg(database));
    p.name = name;
    for (const QString& param : params) {
        ProcedureParam pp;
        pp.name = param.startsWith('@') ? param.mid(1) : param;
        p.params << pp;
    }
    p.native = std::move(fn);
    p.origin = QStringLiteral("C++");
    add(std::move(p));
}

int ProcedureLibrary::loadText(const QString& text, const QString& origin) {
    static const QRegularExpression procLine(QStringLiteral(R"(^\s*--\s*@procedure\s+(\w+)\.(\w+)\s*$)"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression paramLine(QStringLiteral(R"(^\s*--\s*@param\s+@?(\w+)\s*(?:=\s*(.*?))?\s*$)"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QStringList lines = text.split(QLatin1Char('\n'));
    int count = 0;
    Procedure current;
    QString body;
    bool open = false;
    bool inHeader = false;
    int startLine = 0;
    auto finish = [&]() {
        if (!open) return;
        current.statements = splitStatements(body);
        add(current);
        ++count;
        current = Procedure();
        body.clear();
        open = false;
    };
    for (int i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.contains(QLatin1String("@procedure"), Qt::CaseInsensitive)) {
            const auto m = procLine.match(line);
            if (!m.hasMatch()) badFile(origin, i + 1, QStringLiteral("expected '-- @procedure DB.Name'"));
            finish();
            current.database = canonicalDatabase(m.captured(1));
            if (current.database.isEmpty()) badFile(origin, i + 1, QStringLiteral("unknown database '%1'").arg(m.captured(1)));
            current.name = m.captured(2);
            startLine = i + 1;
            current.origin = QStringLiteral("%1:%2").arg(QFileInfo(origin).fileName()).arg(startLine);
            open = true;
            inHeader = true;
            continue;
        }
        if (open && inHeader && line.contains(QLatin1String("@param"), Qt::CaseInsensitive)) {
            const auto m = paramLine.match(line);
            if (!m.hasMatch()) badFile(origin, i + 1, QStringLiteral("expected '-- @param Name'"));
            ProcedureParam p;
            p.name = m.captured(1);
            if (m.capturedLength(2)) {
                bool ok = false;
                p.defaultValue = parseDefault(m.captured(2), &ok);
                if (!ok) badFile(origin, i + 1, QStringLiteral("bad default '%1'").arg(m.captured(2)));
                p.hasDefault = true;
            }
            current.params << p;
            continue;
        }
        if (open) {
            if (!line.trimmed().startsWith(QLatin1String("--")) && !line.trimmed().isEmpty()) inHeader = false;
            body += line;
            body += QLatin1Char('\n');
        } else if (!line.trimmed().isEmpty() && !line.trimmed().startsWith(QLatin1String("--"))) {
            badFile(origin, i + 1, QStringLiteral("SQL before the first '-- @procedure' line"));
        }
    }
    finish();
    return count;
}

int ProcedureLibrary::loadFile(const QString& path) { return loadText(readTextFile(path), path); }

const Procedure* ProcedureLibrary::find(const QString& database, const QString& name) const {
    const auto it = procs_.constFind(key(database, name));
    return it == procs_.constEnd() ? nullptr : &*it;
}

QStringList ProcedureLibrary::names() const {
    QStringList out;
    for (const Procedure& p : procs_) out << p.database + '.' + p.name;
    out.sort(Qt::CaseInsensitive);
    return out;
}

const ProcedureLibrary& builtinLibrary() {
    static ProcedureLibrary lib;
    static std::once_flag once;
    std::call_once(once, [] {
        for (const QString& f : resourceScripts(QStringLiteral("procedures"))) lib.loadFile(f);
        registerBuiltinProcedures(lib);
    });
    return lib;
}

}  // namespace hospitaldb
