#pragma once
// A client-side result set with the part of ADO's Recordset that the screens use.
#include "shell/db/connection.h"
#include <QHash>
#include <optional>

namespace mss::db {

class Recordset {
public:
    Recordset() = default;

    // Closes the set first when it is still open.
    void Open(const QString& source, Connection& connection,
              CursorType cursor = CursorType::Default, LockType lock = LockType::Default);
    void Close();
    int State() const { return open_ ? adStateOpen : adStateClosed; }
    bool IsOpen() const { return open_; }

    bool Eof() const;
    bool Bof() const;
    long RecordCount() const;
    int FieldCount() const;
    QStringList FieldNames() const;
    bool HasField(const QString& name) const;

    // The value of a column on the current row, by name without regard to letter case.
    QVariant Value(const QString& name) const;
    QVariant Value(int index) const;

    void MoveNext();
    void MovePrevious();
    void MoveFirst();
    void MoveLast();
    long AbsolutePosition() const { return position_ + 1; }

    // Editing; only on a set opened with optimistic locking over a single table.
    bool IsUpdatable() const { return !table_.isEmpty(); }
    void AddNew();
    void SetValue(const QString& name, const QVariant& value);
    void Update();
    void CancelUpdate();

    const QString& Source() const { return source_; }
    // Defaults to the connection's at Open; client-side sets always know their count.
    void SetCursorLocation(CursorLocation c) { cursorLocation_ = c; }
    CursorLocation GetCursorLocation() const { return cursorLocation_.value_or(CursorLocation::Server); }

private:
    int columnIndex(const QString& name) const;
    void requireOpen() const;
    void requireCurrent() const;
    void requireUpdatable() const;
    const QStringList& keyColumns();

    bool open_ = false;
    Connection* connection_ = nullptr;
    QString source_;
    QStringList columns_;
    QHash<QString, int> index_;   // lower-cased name -> column
    QList<QVector<QVariant>> rows_;
    long position_ = 0;           // -1 = BOF, rows_.size() = EOF
    LockType lock_ = LockType::ReadOnly;
    CursorType cursor_ = CursorType::Default;
    std::optional<CursorLocation> cursorLocation_;
    bool countKnown_ = true;
    // For updatable sets:
    QString table_;               // the table as written in the statement
    enum class Edit { None, Changing, Adding } edit_ = Edit::None;
    QVector<QVariant> pending_;
    QVector<bool> changed_;
    bool keysKnown_ = false;
    QStringList keys_;            // the table's primary key, asked once
};

}  // namespace mss::db
