#include "hospitaldb/translator.h"
#include "hospitaldb/engine.h"
#include "hospitaldb/tsql/generator.h"

#include <QSet>

// Procedure calls, and the way into the statement translation of tsql/.
namespace hospitaldb {

namespace {
bool is(const Token& t, const char* word) {
    return (t.type == Token::Word) && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}
bool isOp(const Token& t, const char* op) { return t.type == Token::Op && t.text == QLatin1String(op); }
}  // namespace

namespace {
const QSet<QString>& statementWords() {
    static const QSet<QString> w{"select", "insert", "update", "delete", "with", "create", "drop", "alter",
                                 "begin", "commit", "rollback", "set", "declare", "if", "pragma", "truncate",
                                 "while", "print", "return", "values", "save", "use"};
    return w;
}

// Reads db..name, db.dbo.name, dbo.name or name at i; returns the index after it, or -1.
int readName(const QVector<Token>& t, int i, QString* db, QString* name) {
    const int n = int(t.size());
    auto ident = [&](int k) { return k < n && (t[k].type == Token::Word || t[k].type == Token::Bracketed); };
    if (!ident(i)) return -1;
    if (i + 3 < n && isOp(t[i + 1], ".") && isOp(t[i + 2], ".") && ident(i + 3)) {
        *db = t[i].text;
        *name = t[i + 3].text;
        return i + 4;
    }
    if (i + 4 < n && isOp(t[i + 1], ".") && ident(i + 2) && isOp(t[i + 3], ".") && ident(i + 4)) {
        *db = t[i].text;
        *name = t[i + 4].text;
        return i + 5;
    }
    db->clear();
    *name = t[i].text;
    return i + 1;
}
}  // namespace

bool parseCall(const Tokens& tk, Call* call) {
    const QVector<Token>& t = tk.list;
    int n = int(t.size());
    while (n > 0 && t[n - 1].type == Token::Semicolon) --n;
    if (n == 0) return false;
    int i = 0;
    if (is(t[0], "exec") || is(t[0], "execute")) {
        i = 1;
    } else if (t[0].type != Token::Word || statementWords().contains(t[0].text.toLower())) {
        return false;
    }
    QString db, name;
    int k = readName(t, i, &db, &name);
    if (k < 0) return false;
    call->database = db;
    call->name = name;
    call->written = db.isEmpty() ? name : db + QStringLiteral("..") + name;
    call->args.clear();
    call->literalOf.clear();
    i = k;
    while (i < n) {
        bool negative = false;
        if (isOp(t[i], "-") || isOp(t[i], "+")) {
            negative = t[i].text == QLatin1String("-");
            ++i;
            if (i >= n || t[i].type != Token::Number) return false;
        }
        if (i >= n) return false;
        const Token& a = t[i];
        call->literalOf.append(a.type == Token::String ? a.literal : -1);
        if (a.type == Token::String && !negative) {
            call->args.append(a.text);
        } else if (a.type == Token::Number) {
            bool ok = false;
            const qlonglong v = a.text.toLongLong(&ok);
            if (ok) call->args.append(negative ? -v : v);
            else call->args.append(negative ? -a.text.toDouble() : a.text.toDouble());
        } else if (is(a, "null") && !negative) {
            call->args.append(QVariant());
        } else if (a.type == Token::Word && !negative && a.text.startsWith('@')) {
            return false;  // named arguments are not part of the call forms used
        } else {
            return false;
        }
        ++i;
        if (i < n) {
            if (t[i].type != Token::Comma) return false;
            ++i;
            if (i >= n) return false;
        }
    }
    return true;
}

QString mangle(const QString& database, const QString& table, const QString& defaultDatabase) {
    const QString db = database.isEmpty() ? defaultDatabase.toUpper() : database.toUpper();
    return db + QStringLiteral("__") + table;
}

Translation translateStatement(const Tokens& t, const SchemaInfo& schema, const QString& defaultDatabase) {
    tsql::Tree tree;
    tsql::parse(t, tree);
    tsql::Generator g(t, schema, defaultDatabase);
    return g.run(tree);
}

QString translate(const Tokens& t, const SchemaInfo& schema, const QString& defaultDatabase) {
    return translateStatement(t, schema, defaultDatabase).sql;
}

}  // namespace hospitaldb
