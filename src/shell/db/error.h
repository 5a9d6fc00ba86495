#pragma once
// Failures and informational messages of the database layer.
#include <QString>
#include <QList>
#include <stdexcept>

namespace mss::db {

// One entry of a connection's error list, as ADO reports it.
struct ErrorEntry {
    long Number = 0;
    QString Source;
    QString Description;
};

// The one failure type of the system: every database failure, a null used as a value,
// and a failure raised by CheckConnectionErrors carry a number, a source and a description.
class Failure : public std::runtime_error {
public:
    Failure(long number, QString source, QString description)
        : std::runtime_error(description.toStdString()),
          Number(number), Source(std::move(source)), Description(std::move(description)) {}
    explicit Failure(const ErrorEntry& e) : Failure(e.Number, e.Source, e.Description) {}

    long Number;
    QString Source;
    QString Description;
};

// Numbers used by the layer itself (the rest come from the server).
namespace errnum {
constexpr long TypeMismatch = 13;       // a text that is not the number or date wanted
constexpr long FileWrite = 75;          // a file that cannot be written
constexpr long NoReport = 91;           // a report shown before one was opened
constexpr long InvalidUseOfNull = 94;
constexpr long Printer = 482;           // the printer cannot be used
constexpr long ObjectOpen = 3705;       // opening what is already open
constexpr long ProviderNotFound = 3706; // no backend registered for the connection string
constexpr long ObjectClosed = 3704;     // operation on a closed recordset/connection
constexpr long EofOrBof = 3021;         // no current record
constexpr long ItemNotFound = 3265;     // column name not in the recordset
constexpr long RowChanged = 3640;       // optimistic update found the row changed or gone
constexpr long NotUpdatable = 3251;     // operation not allowed on this recordset
constexpr long UnknownProcedure = 2812;
constexpr long InvalidObject = 208;
constexpr long SyntaxError = 102;
constexpr long WrongArguments = 8144;
constexpr long ConnectionFailed = 17;
constexpr long TransactionOpen = -2147168237;  // BeginTrans while a transaction is open
constexpr long NoTransaction = -2147168242;    // CommitTrans/RollbackTrans without one
}

// The one "Type mismatch" failure: a text read as a number or date that is neither.
[[noreturn]] inline void FailTypeMismatch(const QString& source = QStringLiteral("Medical Social Service")) {
    throw Failure(errnum::TypeMismatch, source, QStringLiteral("Type mismatch"));
}

}  // namespace mss::db
