#include "shell/db/dbaccess.h"
#include "shell/db/sqltext.h"
#include "shell/db/text.h"

namespace mss::db {

namespace {
Connection* g_connection = nullptr;
// A connection the layer opened itself, before start-up hands over the log-in's own.
std::unique_ptr<Connection> g_owned;
}

void SetSessionConnection(Connection* connection) {
    if (connection == g_connection) return;
    g_connection = connection;
    g_owned.reset();
}

Connection& OpenSessionConnection(const QString& connectionString) {
    auto opened = std::make_unique<Connection>();
    opened->Open(connectionString);
    SetSessionConnection(opened.get());
    g_owned = std::move(opened);
    return *g_connection;
}

bool HasSessionConnection() { return g_connection != nullptr; }

Connection& SessionConnection() {
    if (!g_connection)
        throw Failure(errnum::ObjectClosed, QStringLiteral("Medical Social Service"),
                      QStringLiteral("Operation is not allowed when the object is closed."));
    return *g_connection;
}

void ExecuteCommand(const QString& text) { SessionConnection().Execute(text); }

void OpenQuery(Recordset& rs, const QString& text, LockType lock) {
    if (rs.IsOpen()) rs.Close();
    rs.SetCursorLocation(CursorLocation::Client);
    rs.Open(text, SessionConnection(), CursorType::Dynamic, lock);
}

QString FieldText(const Recordset& rs, const QString& column) { return text::VariantText(rs.Value(column)); }

QString QuoteText(const QString& value) { return u'\'' + escapeValue(value) + u'\''; }

QString DateText(const QDate& date) { return text::DateMDY(date); }

QString DateText(const QString& dateText) {
    const QDateTime dt = text::ParseDateTime(dateText);
    if (!dt.isValid())
        FailTypeMismatch();
    return text::DateMDY(dt.date());
}

void CheckConnectionErrors() {
    const auto& errors = SessionConnection().Errors();
    if (!errors.isEmpty()) throw Failure(errors.first());
}

void BeginTrans() { SessionConnection().BeginTrans(); }
void CommitTrans() { SessionConnection().CommitTrans(); }
void RollbackTrans() { SessionConnection().RollbackTrans(); }

void InTransaction(const std::function<void()>& work) {
    BeginTrans();
    try {
        work();
    } catch (...) {
        try {
            RollbackTrans();
        } catch (const Failure&) {
        }
        throw;
    }
    CommitTrans();
}

QString MatchingOPDNumber(const QString& idnum) {
    Recordset rs;
    OpenQuery(rs, Sql(QStringLiteral("BILLING..sp_Billing_Search_Matching_OPDNumber_At_TbPatient '"))
                      .val(text::Trim(idnum)).lit(QStringLiteral("'")),
              LockType::Optimistic);
    QString result;
    if (rs.RecordCount() > 0) result = text::Trim(FieldText(rs, QStringLiteral("OPDIdnum")));
    rs.Close();
    return result;
}

bool CheckCompany(const QString& idnum) {
    Recordset rs;
    OpenQuery(rs, Sql(QStringLiteral("Billing..sp_Pars_CheckCompany '")).val(idnum).lit(QStringLiteral("'")));
    const bool found = !rs.Eof();
    rs.Close();
    return found;
}

}  // namespace mss::db
