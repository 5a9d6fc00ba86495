#include "shell/db/recordset.h"
#include "shell/db/sqltext.h"

#include <QDateTime>
#include <QRegularExpression>
#include <algorithm>
#include <charconv>

namespace mss::db {

namespace {
const QString kSource = QStringLiteral("Recordset");

[[noreturn]] void noCurrentRecord() {
    throw Failure(errnum::EofOrBof, kSource,
                  QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                                 "Requested operation requires a current record."));
}

// The single table of "SELECT ... FROM table [alias] [WHERE/ORDER BY ...]" or a bare table name;
// empty when the text reads more than one table or is not a plain SELECT.
QString singleTableOf(const QString& source) {
    static const QRegularExpression bare(QStringLiteral(R"(^\s*([A-Za-z_][\w]*(?:\.\.?[A-Za-z_][\w]*)*)\s*$)"));
    if (auto m = bare.match(source); m.hasMatch()) return m.captured(1);
    static const QRegularExpression select(
        QStringLiteral(R"(^\s*select\s+(?:(?!\bfrom\b).)+?\bfrom\s+([A-Za-z_\[][\w.\[\]]*)(?:\s+(?:as\s+)?([A-Za-z_]\w*))?\s*(?:(?:where|order\s+by)\b.*)?$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const auto m = select.match(source);
    if (!m.hasMatch()) return QString();
    const QString alias = m.captured(2);
    static const QRegularExpression keyword(QStringLiteral("^(where|order|join|inner|left|right|group)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (!alias.isEmpty() && keyword.match(alias).hasMatch()) return QString();
    if (source.contains(QRegularExpression(QStringLiteral(R"(\bjoin\b|\bunion\b|\bgroup\s+by\b)"),
                                           QRegularExpression::CaseInsensitiveOption)))
        return QString();
    return m.captured(1);
}

// A value written as a T-SQL literal in the form SQL Server reads back exactly: numbers in
// their shortest round-trip form (0.1 is 0.1, which a money or decimal column equals),
// date-times with their milliseconds in ISO form, texts with letters past ASCII as N'...'.
QString literal(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return QStringLiteral("NULL");
    switch (v.typeId()) {
    case QMetaType::Bool: return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: return QString::number(v.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float: {
        char buf[40];
        const auto r = std::to_chars(buf, buf + sizeof buf, v.toDouble());
        return QString::fromLatin1(buf, int(r.ptr - buf));
    }
    case QMetaType::QDateTime:
        return u'\'' + v.toDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) + u'\'';
    case QMetaType::QDate: return u'\'' + v.toDate().toString(QStringLiteral("yyyyMMdd")) + u'\'';
    default: {
        const QString text = v.toString();
        const bool national = std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0x7F; });
        return (national ? QStringLiteral("N'") : QStringLiteral("'")) + escapeValue(text) + u'\'';
    }
    }
}

QString quotedName(const QString& column) { return u'[' + QString(column).replace(u']', QStringLiteral("]]")) + u']'; }
}  // namespace

void Recordset::Open(const QString& source, Connection& connection, CursorType cursor, LockType lock) {
    if (open_) Close();
    ResultTable result = connection.Execute(source);
    connection_ = &connection;
    source_ = source;
    lock_ = lock == LockType::Default ? LockType::ReadOnly : lock;
    cursor_ = cursor;
    const CursorLocation location = cursorLocation_.value_or(connection.GetCursorLocation());
    // A server-side forward-only or dynamic cursor cannot tell its count, as with ADO.
    countKnown_ = location == CursorLocation::Client || cursor == CursorType::Static ||
                  cursor == CursorType::Keyset;
    columns_ = result.columns;
    rows_ = std::move(result.rows);
    index_.clear();
    for (int i = 0; i < columns_.size(); ++i) {
        const QString key = columns_.at(i).toLower();
        if (!index_.contains(key)) index_.insert(key, i);
    }
    table_ = lock_ == LockType::Optimistic || lock_ == LockType::BatchOptimistic ? singleTableOf(source)
                                                                                 : QString();
    edit_ = Edit::None;
    keysKnown_ = false;
    keys_.clear();
    position_ = 0;
    open_ = true;
    if (!result.hasResult) {
        // ADO leaves a set closed when the statement returned no rows at all (a write).
        open_ = false;
    }
}

void Recordset::Close() {
    if (!open_) {
        throw Failure(errnum::ObjectClosed, kSource,
                      QStringLiteral("Operation is not allowed when the object is closed."));
    }
    open_ = false;
    rows_.clear();
    columns_.clear();
    index_.clear();
    edit_ = Edit::None;
}

void Recordset::requireOpen() const {
    if (!open_)
        throw Failure(errnum::ObjectClosed, kSource,
                      QStringLiteral("Operation is not allowed when the object is closed."));
}

void Recordset::requireCurrent() const {
    requireOpen();
    if (edit_ == Edit::Adding) return;
    if (position_ < 0 || position_ >= rows_.size()) noCurrentRecord();
}

bool Recordset::Eof() const {
    requireOpen();
    return position_ >= rows_.size();
}

bool Recordset::Bof() const {
    requireOpen();
    return position_ < 0 || rows_.isEmpty();
}

long Recordset::RecordCount() const {
    requireOpen();
    return countKnown_ ? static_cast<long>(rows_.size()) : -1;
}

int Recordset::FieldCount() const {
    requireOpen();
    return static_cast<int>(columns_.size());
}

QStringList Recordset::FieldNames() const {
    requireOpen();
    return columns_;
}

bool Recordset::HasField(const QString& name) const { return open_ && index_.contains(name.toLower()); }

int Recordset::columnIndex(const QString& name) const {
    requireOpen();
    const auto it = index_.constFind(name.toLower());
    if (it == index_.constEnd())
        throw Failure(errnum::ItemNotFound, kSource,
                      QStringLiteral("Item cannot be found in the collection corresponding to the "
                                     "requested name or ordinal."));
    return it.value();
}

QVariant Recordset::Value(const QString& name) const { return Value(columnIndex(name)); }

QVariant Recordset::Value(int index) const {
    requireCurrent();
    if (index < 0 || index >= columns_.size())
        throw Failure(errnum::ItemNotFound, kSource,
                      QStringLiteral("Item cannot be found in the collection corresponding to the "
                                     "requested name or ordinal."));
    if (edit_ != Edit::None) return pending_.at(index);
    return rows_.at(position_).at(index);
}

void Recordset::MoveNext() {
    requireOpen();
    if (edit_ != Edit::None) Update();
    if (position_ >= rows_.size()) noCurrentRecord();
    ++position_;
}

void Recordset::MovePrevious() {
    requireOpen();
    if (edit_ != Edit::None) Update();
    if (position_ < 0) noCurrentRecord();
    --position_;
}

void Recordset::MoveFirst() {
    requireOpen();
    if (edit_ != Edit::None) Update();
    position_ = 0;
}

void Recordset::MoveLast() {
    requireOpen();
    if (edit_ != Edit::None) Update();
    position_ = rows_.isEmpty() ? 0 : rows_.size() - 1;
}

void Recordset::requireUpdatable() const {
    requireOpen();
    if (table_.isEmpty())
        throw Failure(errnum::NotUpdatable, kSource,
                      QStringLiteral("Current Recordset does not support updating. This may be a "
                                     "limitation of the provider, or of the selected locktype."));
}

void Recordset::AddNew() {
    requireUpdatable();
    if (edit_ != Edit::None) Update();
    pending_ = QVector<QVariant>(columns_.size());
    changed_ = QVector<bool>(columns_.size(), false);
    edit_ = Edit::Adding;
}

void Recordset::SetValue(const QString& name, const QVariant& value) {
    requireUpdatable();
    const int i = columnIndex(name);
    if (edit_ == Edit::None) {
        requireCurrent();
        pending_ = rows_.at(position_);
        changed_ = QVector<bool>(columns_.size(), false);
        edit_ = Edit::Changing;
    }
    pending_[i] = value;
    changed_[i] = true;
}

void Recordset::CancelUpdate() {
    requireOpen();
    edit_ = Edit::None;
}

void Recordset::Update() {
    requireUpdatable();
    if (edit_ == Edit::None) return;
    QStringList names, values;
    for (int i = 0; i < columns_.size(); ++i) {
        if (!changed_.at(i)) continue;
        names << quotedName(columns_.at(i));
        values << literal(pending_.at(i));
    }
    if (edit_ == Edit::Adding) {
        if (!names.isEmpty()) {
            connection_->Execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                     .arg(table_, names.join(QStringLiteral(", ")), values.join(QStringLiteral(", "))));
        }
        rows_.append(pending_);
        position_ = rows_.size() - 1;
        edit_ = Edit::None;
        return;
    }
    if (names.isEmpty()) {
        edit_ = Edit::None;
        return;
    }
    // Guarded, as ADO does, by the key and the changed columns as they were read: a row whose
    // other columns changed meanwhile is still this row. Without a key every column guards.
    QStringList sets, guards;
    for (int i = 0; i < names.size(); ++i) sets << names.at(i) + QStringLiteral(" = ") + values.at(i);
    const QVector<QVariant>& original = rows_.at(position_);
    const QStringList& keys = keyColumns();
    bool keyed = !keys.isEmpty();
    for (const QString& k : keys) keyed = keyed && index_.contains(k.toLower());
    for (int i = 0; i < columns_.size(); ++i) {
        if (keyed && !changed_.at(i) && !keys.contains(columns_.at(i), Qt::CaseInsensitive)) continue;
        const QVariant& v = original.at(i);
        guards << (v.isValid() && !v.isNull() ? quotedName(columns_.at(i)) + QStringLiteral(" = ") + literal(v)
                                              : quotedName(columns_.at(i)) + QStringLiteral(" IS NULL"));
    }
    const ResultTable r = connection_->Execute(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                                   .arg(table_, sets.join(QStringLiteral(", ")),
                                                        guards.join(QStringLiteral(" AND "))));
    if (r.rowsAffected == 0) {
        edit_ = Edit::None;
        throw Failure(errnum::RowChanged, kSource,
                      QStringLiteral("Row cannot be located for updating. Some values may have been "
                                     "changed since it was last read."));
    }
    rows_[position_] = pending_;
    edit_ = Edit::None;
}

// The table's primary key, asked of the server once per opened set (sp_pkeys answers on
// SQL Server and in the embedded database alike); empty when it cannot tell.
const QStringList& Recordset::keyColumns() {
    if (keysKnown_) return keys_;
    keysKnown_ = true;
    QStringList parts = table_.split(u'.');
    for (QString& p : parts) {
        if (p.startsWith(u'[') && p.endsWith(u']')) p = p.mid(1, p.size() - 2);
    }
    const QString name = parts.last();
    const QString database = parts.size() == 3 ? parts.first() : QString();
    const QString call = (database.isEmpty() ? QString() : database + QStringLiteral("..")) +
                         QStringLiteral("sp_pkeys '") + escapeValue(name) + u'\'';
    try {
        const ResultTable r = connection_->Execute(call);
        const int column = int(r.columns.indexOf(QStringLiteral("COLUMN_NAME")));
        for (const auto& row : r.rows)
            if (column >= 0 && column < row.size()) keys_ << row.at(column).toString();
    } catch (const Failure&) {
        keys_.clear();  // no key known: every column guards
    }
    return keys_;
}

}  // namespace mss::db
