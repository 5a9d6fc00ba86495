#include "hospitaldb/tsql/tree.h"
#include "hospitaldb/engine.h"

#include <QSet>

namespace hospitaldb::tsql {

namespace {
const QString kSource = QStringLiteral("HospitalDB");

const QSet<QString>& reserved() {
    static const QSet<QString> w{
        "select", "from", "where", "group", "order", "having", "union", "except", "intersect", "join",
        "inner", "left", "right", "full", "outer", "cross", "on", "as", "and", "or", "not", "into",
        "values", "set", "when", "then", "else", "end", "case", "top", "distinct", "is", "in", "like",
        "between", "exists", "null", "by", "asc", "desc", "offset", "fetch", "option", "for", "apply",
        "pivot", "unpivot", "go", "update", "delete", "insert", "output", "collate", "escape", "all",
        "any", "some", "with", "over", "percent", "ties", "default", "exec", "execute", "declare",
        "begin", "commit", "rollback", "create", "drop", "alter", "table", "while", "if", "return",
        "print", "use", "truncate", "cast", "convert", "primary", "key", "foreign", "references",
        "grant", "revoke", "deny", "merge", "window", "within", "tablesample", "compute", "browse",
        "readtext", "writetext", "updatetext", "holdlock", "nocheck", "check", "constraint"};
    return w;
}

class Parser {
public:
    Parser(const Tokens& t, Tree& tree) : t_(t.list), tree_(tree) {
        n_ = int(t_.size());
        while (n_ > 0 && t_[n_ - 1].type == Token::Semicolon) --n_;
    }

    void run() {
        if (n_ == 0) fail(0);
        Statement& s = tree_.statement;
        if (word(0, "select") || word(0, "with") || t_[0].type == Token::LParen) {
            s.kind = Statement::SelectStatement;
            s.query = query();
        } else if (word(0, "insert")) {
            insert(s);
        } else if (word(0, "update")) {
            update(s);
        } else if (word(0, "delete")) {
            remove(s);
        } else {
            fail(0);
        }
        if (i_ < n_) {
            if (t_[i_].type == Token::Semicolon) fail(i_ + 1 < n_ ? i_ + 1 : i_);  // one statement per text
            fail(i_);
        }
    }

private:
    // --- tokens ---------------------------------------------------------------------------
    bool at(int k, Token::Type type) const { return k < n_ && t_[k].type == type; }
    bool word(int k, const char* w) const {
        return k < n_ && t_[k].type == Token::Word && t_[k].text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    }
    bool op(int k, const char* o) const { return k < n_ && t_[k].type == Token::Op && t_[k].text == QLatin1String(o); }
    bool accept(const char* w) {
        if (!word(i_, w)) return false;
        ++i_;
        return true;
    }
    void expect(const char* w) {
        if (!accept(w)) fail(i_);
    }
    void expect(Token::Type type) {
        if (!at(i_, type)) fail(i_);
        ++i_;
    }
    bool isName(int k) const {
        return k < n_ && (t_[k].type == Token::Bracketed || t_[k].type == Token::Quoted ||
                          (t_[k].type == Token::Word && !t_[k].text.startsWith(QLatin1Char('@')) &&
                           !reserved().contains(t_[k].text.toLower())));
    }
    [[noreturn]] void fail(int k) const {
        if (n_ == 0) throw Failure(mss::db::errnum::SyntaxError, kSource, QStringLiteral("Incorrect syntax near ''."));
        const Token& tk = t_[std::min(k, n_ - 1)];
        QString near = tk.text;
        if (tk.type == Token::String) near = QLatin1Char('\'') + tk.text + QLatin1Char('\'');
        throw Failure(mss::db::errnum::SyntaxError, kSource, QStringLiteral("Incorrect syntax near '%1'.").arg(near));
    }
    [[noreturn]] void unsupported(const QString& what) const {
        throw Failure(40517, kSource, QStringLiteral("Keyword or statement option '%1' is not supported in this version of SQL Server.").arg(what));
    }
    QString nameAt(int k) {
        if (!isName(k)) fail(k);
        return t_[k].text;
    }

    // --- statements -----------------------------------------------------------------------
    Query* query() {
        Query* q = tree_.query();
        q->at = i_;
        if (accept("with")) {
            do {
                Cte c;
                c.name = nameAt(i_++);
                if (at(i_, Token::LParen)) c.columns = nameList();
                expect("as");
                expect(Token::LParen);
                c.query = query();
                expect(Token::RParen);
                q->with.append(c);
            } while (at(i_, Token::Comma) && ++i_);
        }
        q->members.append(member());
        for (;;) {
            QString setOp;
            if (accept("union")) setOp = accept("all") ? QStringLiteral("UNION ALL") : QStringLiteral("UNION");
            else if (accept("except")) setOp = QStringLiteral("EXCEPT");
            else if (accept("intersect")) setOp = QStringLiteral("INTERSECT");
            else break;
            q->ops.append(setOp);
            q->members.append(member());
        }
        if (word(i_, "order") && word(i_ + 1, "by")) {
            i_ += 2;
            q->orderBy = orderList();
            if (accept("offset")) {
                q->offset = expression();
                if (!accept("rows") && !accept("row")) fail(i_);
                if (accept("fetch")) {
                    if (!accept("next") && !accept("first")) fail(i_);
                    q->fetch = expression();
                    if (!accept("rows") && !accept("row")) fail(i_);
                    expect("only");
                }
            }
        }
        if (word(i_, "option") || word(i_, "for")) unsupported(t_[i_].text.toUpper());
        return q;
    }

    Select* member() {
        if (at(i_, Token::LParen)) {
            ++i_;
            Select* s = tree_.select();
            s->at = i_;
            s->nested = query();
            expect(Token::RParen);
            return s;
        }
        return select();
    }

    Select* select() {
        Select* s = tree_.select();
        s->at = i_;
        expect("select");
        if (accept("distinct")) s->distinct = true;
        else accept("all");
        if (accept("top")) {
            if (at(i_, Token::LParen)) {
                ++i_;
                s->top = expression();
                expect(Token::RParen);
            } else if (at(i_, Token::Number)) {
                s->top = tree_.expr(Expr::Number, i_);
                s->top->text = t_[i_++].text;
            } else {
                fail(i_);
            }
            if (accept("percent")) s->percent = true;
            if (word(i_, "with") && word(i_ + 1, "ties")) {
                i_ += 2;
                s->withTies = true;
            }
        }
        do {
            s->items.append(selectItem());
        } while (at(i_, Token::Comma) && ++i_);
        if (word(i_, "into")) unsupported(QStringLiteral("SELECT INTO"));
        if (accept("from")) s->from = fromList();
        if (accept("where")) s->where = expression();
        if (word(i_, "group") && word(i_ + 1, "by")) {
            i_ += 2;
            if (word(i_, "all")) unsupported(QStringLiteral("GROUP BY ALL"));
            do {
                s->groupBy.append(expression());
            } while (at(i_, Token::Comma) && ++i_);
            if (word(i_, "with")) unsupported(QStringLiteral("WITH ") + t_.value(i_ + 1).text.toUpper());
        }
        if (accept("having")) s->having = expression();
        return s;
    }

    SelectItem selectItem() {
        SelectItem item;
        // * and alias.*
        if (op(i_, "*")) {
            ++i_;
            item.star = true;
            return item;
        }
        {
            int k = i_;
            QStringList parts;
            while (isName(k) && op(k + 1, ".")) {
                parts << t_[k].text;
                k += 2;
                while (op(k, ".")) { parts << QString(); ++k; }  // db..table.*
            }
            if (!parts.isEmpty() && op(k, "*")) {
                item.star = true;
                item.starQualifier = parts;
                i_ = k + 1;
                return item;
            }
        }
        // alias = expression
        if ((isName(i_) || at(i_, Token::String)) && op(i_ + 1, "=")) {
            if (at(i_, Token::String)) item.aliasLiteral = t_[i_].literal;
            item.alias = t_[i_].text;
            if (t_[i_].text.startsWith(QLatin1Char('@'))) variable(i_);
            i_ += 2;
            item.expr = expression();
            return item;
        }
        if (at(i_, Token::Word) && t_[i_].text.startsWith(QLatin1Char('@')) && !t_[i_].text.startsWith(QLatin1String("@@")) &&
            op(i_ + 1, "="))
            variable(i_);  // SELECT @x = ...
        item.expr = expression();
        if (accept("as")) {
            if (at(i_, Token::String)) item.aliasLiteral = t_[i_].literal;
            else if (!isName(i_)) fail(i_);
            item.alias = t_[i_++].text;
        } else if (isName(i_)) {
            item.alias = t_[i_++].text;
        } else if (at(i_, Token::String)) {
            item.aliasLiteral = t_[i_].literal;
            item.alias = t_[i_++].text;
        }
        return item;
    }

    QVector<OrderItem> orderList() {
        QVector<OrderItem> out;
        do {
            OrderItem o;
            o.expr = expression();
            if (accept("desc")) o.desc = true;
            else accept("asc");
            out.append(o);
        } while (at(i_, Token::Comma) && ++i_);
        return out;
    }

    QStringList nameList() {
        QStringList out;
        expect(Token::LParen);
        do {
            out << nameAt(i_++);
        } while (at(i_, Token::Comma) && ++i_);
        expect(Token::RParen);
        return out;
    }

    QVector<Source*> fromList() {
        QVector<Source*> out;
        do {
            out.append(joined());
        } while (at(i_, Token::Comma) && ++i_);
        return out;
    }

    Source* joined() {
        Source* left = primarySource();
        for (;;) {
            QString kind;
            const int start = i_;
            if (accept("join")) kind = QStringLiteral("INNER");
            else if (word(i_, "inner") && word(i_ + 1, "join")) { i_ += 2; kind = QStringLiteral("INNER"); }
            else if (word(i_, "cross") && word(i_ + 1, "join")) { i_ += 2; kind = QStringLiteral("CROSS"); }
            else if (word(i_, "cross") || word(i_, "outer")) {
                if (word(i_ + 1, "apply")) unsupported(t_[i_].text.toUpper() + QStringLiteral(" APPLY"));
                fail(i_);
            } else if (word(i_, "left") || word(i_, "right") || word(i_, "full")) {
                kind = t_[i_].text.toUpper();
                ++i_;
                accept("outer");
                expect("join");
            } else {
                break;
            }
            Source* j = tree_.source(Source::Join, start);
            j->join = kind;
            j->left = left;
            j->right = primarySource();
            if (kind != QLatin1String("CROSS")) {
                expect("on");
                j->on = expression();
            }
            left = j;
        }
        return left;
    }

    Source* primarySource() {
        const int start = i_;
        if (at(i_, Token::LParen)) {
            if (word(i_ + 1, "select") || word(i_ + 1, "with") || at(i_ + 1, Token::LParen)) {
                // A derived table, unless the parenthesis holds a join.
                int k = i_;
                while (at(k, Token::LParen)) ++k;
                if (word(k, "select") || word(k, "with")) {
                    ++i_;
                    Source* d = tree_.source(Source::Derived, start);
                    d->query = query();
                    expect(Token::RParen);
                    accept("as");
                    d->alias = nameAt(i_++);
                    if (at(i_, Token::LParen)) d->columnNames = nameList();
                    return d;
                }
            }
            if (word(i_ + 1, "values")) unsupported(QStringLiteral("VALUES"));
            ++i_;
            Source* inner = joined();
            expect(Token::RParen);
            return inner;
        }
        if (at(i_, Token::Word) && t_[i_].text.startsWith(QLatin1Char('@'))) variable(i_);
        if (at(i_, Token::Word) && at(i_ + 1, Token::LParen)) unsupported(t_[i_].text);  // table-valued functions
        Source* s = tree_.source(Source::Table, start);
        tableName(s);
        hints();
        if (accept("as")) s->alias = nameAt(i_++);
        else if (isName(i_)) s->alias = t_[i_++].text;
        hints();
        if (word(i_, "tablesample")) unsupported(QStringLiteral("TABLESAMPLE"));
        return s;
    }

    // db..name, db.owner.name, owner.name, name
    void tableName(Source* s) {
        QStringList parts;
        const int start = i_;
        parts << nameAt(i_++);
        while (op(i_, ".")) {
            ++i_;
            if (op(i_, ".")) { parts << QString(); continue; }
            parts << nameAt(i_++);
        }
        if (parts.size() > 3) unsupported(QStringLiteral("four-part names"));
        s->name = parts.last();
        if (parts.size() == 3) {
            s->database = parts[0];
            s->owner = parts[1];
        } else if (parts.size() == 2) {
            s->owner = parts[0];
        }
        QString written;
        for (int k = start; k < i_; ++k) written += t_[k].text;
        s->written = written;
    }

    // WITH (NOLOCK), (NOLOCK): the embedded database has no locks to hint at.
    void hints() {
        if (word(i_, "with") && at(i_ + 1, Token::LParen)) {
            ++i_;
        } else if (!(at(i_, Token::LParen) && at(i_ + 1, Token::Word) &&
                     (word(i_ + 1, "nolock") || word(i_ + 1, "readuncommitted") || word(i_ + 1, "rowlock") ||
                      word(i_ + 1, "updlock") || word(i_ + 1, "holdlock") || word(i_ + 1, "readpast")))) {
            return;
        }
        int depth = 0;
        do {
            if (at(i_, Token::LParen)) ++depth;
            else if (at(i_, Token::RParen)) --depth;
            ++i_;
        } while (i_ < n_ && depth > 0);
        if (depth > 0) fail(i_);
    }

    void insert(Statement& s) {
        s.kind = Statement::Insert;
        ++i_;
        if (word(i_, "top")) unsupported(QStringLiteral("INSERT TOP"));
        accept("into");
        s.target = tree_.source(Source::Table, i_);
        tableName(s.target);
        hints();
        if (at(i_, Token::LParen)) s.columns = nameList();
        if (word(i_, "output")) unsupported(QStringLiteral("OUTPUT"));
        if (accept("values")) {
            do {
                expect(Token::LParen);
                QVector<Expr*> row;
                do {
                    if (word(i_, "default")) unsupported(QStringLiteral("DEFAULT"));
                    row.append(expression());
                } while (at(i_, Token::Comma) && ++i_);
                expect(Token::RParen);
                s.rows.append(row);
            } while (at(i_, Token::Comma) && ++i_);
        } else if (word(i_, "default") && word(i_ + 1, "values")) {
            i_ += 2;
            s.defaultValues = true;
        } else if (word(i_, "select") || word(i_, "with") || at(i_, Token::LParen)) {
            s.query = query();
        } else if (word(i_, "exec") || word(i_, "execute")) {
            unsupported(QStringLiteral("INSERT EXEC"));
        } else {
            fail(i_);
        }
    }

    void update(Statement& s) {
        s.kind = Statement::Update;
        ++i_;
        if (word(i_, "top")) unsupported(QStringLiteral("UPDATE TOP"));
        s.target = tree_.source(Source::Table, i_);
        tableName(s.target);
        hints();
        if (accept("as") || isName(i_)) {
            if (!word(i_, "set")) s.target->alias = nameAt(i_++);
        }
        expect("set");
        do {
            Assignment a;
            a.at = i_;
            if (at(i_, Token::Word) && t_[i_].text.startsWith(QLatin1Char('@'))) variable(i_);
            a.column << nameAt(i_++);
            while (op(i_, ".")) {
                ++i_;
                a.column << nameAt(i_++);
            }
            if (!op(i_, "=")) {
                if (i_ < n_ && t_[i_].type == Token::Op && t_[i_].text.size() == 1 && op(i_ + 1, "="))
                    unsupported(t_[i_].text + QStringLiteral("="));
                fail(i_);
            }
            ++i_;
            if (word(i_, "default")) unsupported(QStringLiteral("DEFAULT"));
            a.value = expression();
            s.sets.append(a);
        } while (at(i_, Token::Comma) && ++i_);
        if (word(i_, "output")) unsupported(QStringLiteral("OUTPUT"));
        if (accept("from")) s.from = fromList();
        if (accept("where")) {
            if (word(i_, "current")) unsupported(QStringLiteral("CURRENT OF"));
            s.where = expression();
        }
    }

    void remove(Statement& s) {
        s.kind = Statement::Delete;
        ++i_;
        if (word(i_, "top")) unsupported(QStringLiteral("DELETE TOP"));
        accept("from");
        s.target = tree_.source(Source::Table, i_);
        tableName(s.target);
        hints();
        if (accept("as")) s.target->alias = nameAt(i_++);
        else if (isName(i_)) s.target->alias = t_[i_++].text;
        if (word(i_, "output")) unsupported(QStringLiteral("OUTPUT"));
        if (accept("from")) s.from = fromList();
        if (accept("where")) s.where = expression();
    }

    // --- expressions ----------------------------------------------------------------------
    [[noreturn]] void variable(int k) const {
        throw Failure(137, kSource, QStringLiteral("Must declare the scalar variable \"%1\".").arg(t_[k].text));
    }

    Expr* node(Expr::Kind kind, int at, Expr* a = nullptr, Expr* b = nullptr) {
        Expr* e = tree_.expr(kind, at);
        if (a) e->args.append(a);
        if (b) e->args.append(b);
        return e;
    }

    Expr* expression() { return orExpr(); }

    Expr* orExpr() {
        Expr* left = andExpr();
        while (word(i_, "or")) {
            const int k = i_++;
            left = node(Expr::Or, k, left, andExpr());
        }
        return left;
    }

    Expr* andExpr() {
        Expr* left = notExpr();
        while (word(i_, "and")) {
            const int k = i_++;
            left = node(Expr::And, k, left, notExpr());
        }
        return left;
    }

    Expr* notExpr() {
        if (word(i_, "not")) {
            const int k = i_++;
            return node(Expr::Not, k, notExpr());
        }
        return predicate();
    }

    Expr* predicate() {
        if (word(i_, "exists")) {
            Expr* e = node(Expr::Exists, i_++);
            expect(Token::LParen);
            e->query = query();
            expect(Token::RParen);
            return e;
        }
        Expr* left = additive();
        const int k = i_;
        if (i_ < n_ && t_[i_].type == Token::Op) {
            static const QHash<QString, QString> comparisons{{"=", "="}, {"<>", "<>"}, {"!=", "<>"}, {"<", "<"},
                                                             {">", ">"}, {"<=", "<="}, {">=", ">="}, {"!<", ">="},
                                                             {"!>", "<="}};
            const auto it = comparisons.constFind(t_[i_].text);
            if (it != comparisons.constEnd()) {
                ++i_;
                if (word(i_, "all") || word(i_, "any") || word(i_, "some")) unsupported(t_[i_].text.toUpper());
                Expr* e = node(Expr::Compare, k, left, additive());
                e->text = *it;
                return e;
            }
        }
        bool negated = false;
        if (word(i_, "not") && (word(i_ + 1, "like") || word(i_ + 1, "in") || word(i_ + 1, "between"))) {
            negated = true;
            ++i_;
        }
        if (accept("like")) {
            Expr* e = node(Expr::Like, k, left, additive());
            e->negated = negated;
            if (accept("escape")) e->args.append(additive());
            return e;
        }
        if (accept("in")) {
            Expr* e = node(Expr::In, k, left);
            e->negated = negated;
            expect(Token::LParen);
            if (word(i_, "select") || word(i_, "with")) {
                e->query = query();
            } else {
                do {
                    e->args.append(expression());
                } while (at(i_, Token::Comma) && ++i_);
            }
            expect(Token::RParen);
            return e;
        }
        if (accept("between")) {
            Expr* e = node(Expr::Between, k, left, additive());
            expect("and");
            e->args.append(additive());
            e->negated = negated;
            return e;
        }
        if (negated) fail(i_);
        if (accept("is")) {
            Expr* e = node(Expr::IsNull, k, left);
            e->negated = accept("not");
            expect("null");
            return e;
        }
        return left;
    }

    Expr* additive() {
        Expr* left = multiplicative();
        while (op(i_, "+") || op(i_, "-") || op(i_, "&") || op(i_, "|") || op(i_, "^")) {
            const int k = i_++;
            Expr* e = node(Expr::Binary, k, left, multiplicative());
            e->text = t_[k].text;
            left = e;
        }
        return left;
    }

    Expr* multiplicative() {
        Expr* left = unary();
        while (op(i_, "*") || op(i_, "/") || op(i_, "%")) {
            const int k = i_++;
            Expr* e = node(Expr::Binary, k, left, unary());
            e->text = t_[k].text;
            left = e;
        }
        return left;
    }

    Expr* unary() {
        if (op(i_, "-") || op(i_, "+") || op(i_, "~")) {
            const int k = i_++;
            // A negative number stays a number, as SQL Server types it.
            if (t_[k].text == QLatin1String("-") && at(i_, Token::Number) && !op(i_ + 1, ".")) {
                Expr* e = node(Expr::Number, k);
                e->text = QLatin1Char('-') + t_[i_++].text;
                return postfix(e);
            }
            Expr* e = node(Expr::Unary, k, unary());
            e->text = t_[k].text;
            return e;
        }
        return postfix(primary());
    }

    Expr* postfix(Expr* e) {
        if (word(i_, "collate")) unsupported(QStringLiteral("COLLATE"));
        return e;
    }

    Expr* primary() {
        if (i_ >= n_) fail(i_);
        const Token& tk = t_[i_];
        const int k = i_;
        switch (tk.type) {
        case Token::Number: {
            Expr* e = node(Expr::Number, k);
            e->text = tk.text;
            ++i_;
            return e;
        }
        case Token::String: {
            Expr* e = node(Expr::String, k);
            e->literal = tk.literal;
            e->national = tk.national;
            ++i_;
            return e;
        }
        case Token::LParen: {
            ++i_;
            if (word(i_, "select") || word(i_, "with")) {
                Expr* e = node(Expr::Subquery, k);
                e->query = query();
                expect(Token::RParen);
                return e;
            }
            Expr* e = expression();
            if (at(i_, Token::Comma)) fail(i_);
            expect(Token::RParen);
            return e;
        }
        case Token::Bracketed:
        case Token::Quoted: return column();
        case Token::Word: break;
        default: fail(k);
        }
        const QString w = tk.text.toLower();
        if (w.startsWith(QLatin1Char('@'))) {
            if (w == QLatin1String("@@identity")) {
                ++i_;
                Expr* e = node(Expr::Call, k);
                e->text = QStringLiteral("SCOPE_IDENTITY");
                return e;
            }
            variable(k);
        }
        if (w == QLatin1String("null")) {
            ++i_;
            return node(Expr::Null, k);
        }
        if (w == QLatin1String("case")) return caseExpr();
        if (w == QLatin1String("current_timestamp")) {
            ++i_;
            Expr* e = node(Expr::Call, k);
            e->text = QStringLiteral("GETDATE");
            return e;
        }
        if (at(i_ + 1, Token::LParen)) {
            if (w == QLatin1String("cast") || w == QLatin1String("try_cast")) return cast();
            if (w == QLatin1String("convert") || w == QLatin1String("try_convert")) return convert();
            if (reserved().contains(w) && w != QLatin1String("left") && w != QLatin1String("right")) fail(k);
            return call();
        }
        if (reserved().contains(w)) fail(k);
        return column();
    }

    Expr* column() {
        Expr* e = node(Expr::Column, i_);
        QStringList parts;
        parts << t_[i_++].text;
        while (op(i_, ".")) {
            ++i_;
            if (op(i_, ".")) { parts << QString(); continue; }
            if (!isName(i_)) fail(i_);
            parts << t_[i_++].text;
        }
        if (parts.size() > 4) fail(i_ - 1);
        e->text = parts.takeLast();
        e->qualifier = parts;
        return e;
    }

    Expr* caseExpr() {
        Expr* e = node(Expr::Case, i_++);
        e->args.append(word(i_, "when") ? nullptr : expression());
        if (!word(i_, "when")) fail(i_);
        while (accept("when")) {
            e->args.append(expression());
            expect("then");
            e->args.append(expression());
        }
        if (accept("else")) e->elseExpr = expression();
        expect("end");
        return e;
    }

    void typeSpec(Expr* e) {
        e->typeName = nameAt(i_++);
        if (at(i_, Token::LParen)) {
            ++i_;
            if (word(i_, "max")) { e->typeA = -2; ++i_; }
            else if (at(i_, Token::Number)) e->typeA = t_[i_++].text.toInt();
            else fail(i_);
            if (at(i_, Token::Comma)) {
                ++i_;
                if (!at(i_, Token::Number)) fail(i_);
                e->typeB = t_[i_++].text.toInt();
            }
            expect(Token::RParen);
        }
    }

    Expr* cast() {
        Expr* e = node(Expr::Cast, i_);
        e->text = t_[i_].text.toUpper();
        i_ += 2;
        e->args.append(expression());
        expect("as");
        typeSpec(e);
        expect(Token::RParen);
        return e;
    }

    Expr* convert() {
        Expr* e = node(Expr::Cast, i_);
        e->text = t_[i_].text.toUpper();
        i_ += 2;
        typeSpec(e);
        expect(Token::Comma);
        e->args.append(expression());
        if (at(i_, Token::Comma)) {
            ++i_;
            e->args.append(expression());
        }
        expect(Token::RParen);
        return e;
    }

    Expr* call() {
        Expr* e = node(Expr::Call, i_);
        e->text = t_[i_].text;
        i_ += 2;
        if (op(i_, "*")) {
            e->args.append(node(Expr::Star, i_++));
        } else if (!at(i_, Token::RParen)) {
            if (accept("distinct")) e->distinct = true;
            else accept("all");
            do {
                e->args.append(expression());
            } while (at(i_, Token::Comma) && ++i_);
        }
        expect(Token::RParen);
        if (word(i_, "within")) unsupported(QStringLiteral("WITHIN GROUP"));
        if (accept("over")) {
            e->over = true;
            expect(Token::LParen);
            if (word(i_, "partition") && word(i_ + 1, "by")) {
                i_ += 2;
                do {
                    e->partition.append(expression());
                } while (at(i_, Token::Comma) && ++i_);
            }
            if (word(i_, "order") && word(i_ + 1, "by")) {
                i_ += 2;
                for (const OrderItem& o : orderList()) e->overOrder.append({o.expr, o.desc});
            }
            if (word(i_, "rows") || word(i_, "range")) unsupported(t_[i_].text.toUpper());
            expect(Token::RParen);
        }
        return e;
    }

    const QVector<Token>& t_;
    Tree& tree_;
    int n_ = 0;
    int i_ = 0;
};
}  // namespace

bool isReserved(const QString& word) { return reserved().contains(word.toLower()); }

void parse(const Tokens& tokens, Tree& tree) {
    Parser p(tokens, tree);
    p.run();
}

}  // namespace hospitaldb::tsql
