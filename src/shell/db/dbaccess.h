#pragma once
// The operations every screen uses on the Session's one connection.
#include "shell/db/recordset.h"
#include <QDate>
#include <functional>

namespace mss::db {

// The shared connection the operations below work on. The Session sets it at start-up;
// tests set it to a fresh embedded database.
void SetSessionConnection(Connection* connection);
// Opens a connection of the layer's own as the shared one, until another is set.
Connection& OpenSessionConnection(const QString& connectionString);
Connection& SessionConnection();
bool HasSessionConnection();

void ExecuteCommand(const QString& text);
void OpenQuery(Recordset& rs, const QString& text, LockType lock = LockType::ReadOnly);
// A null reads as the empty text.
QString FieldText(const Recordset& rs, const QString& column);
// "'" + text + "'", apostrophes inside doubled.
QString QuoteText(const QString& text);
// "mm/dd/yyyy"; a text is read as a date first (an unreadable one fails with number 13).
QString DateText(const QDate& date);
QString DateText(const QString& dateText);
// Raises the first entry of the connection's error list, if any.
void CheckConnectionErrors();

void BeginTrans();
void CommitTrans();
void RollbackTrans();
// Runs `work` in a transaction of its own: committed when it ends, rolled back when it fails,
// and the failure goes on (a rollback that fails too is not the failure to report).
void InTransaction(const std::function<void()>& work);

// The out-patient number matched to an admission, trimmed; "" when there is none.
QString MatchingOPDNumber(const QString& idnum);
// True when the billing system knows a company (charge account) for the admission.
bool CheckCompany(const QString& idnum);

}  // namespace mss::db
