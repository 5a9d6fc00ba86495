#pragma once
// The billing statement components: the billing connection, and the summarized statement of
// account of an admission that reads through it.
#include "shell/db/connection.h"

#include <memory>

namespace mss::components {

class BillingOpenConnection {
public:
    // True when a connection to the billing database could be made with the log-on.
    bool EstablishedConnection(const QString& serverName, const QString& database, const QString& password);
    db::Connection* connection() const { return connection_.get(); }

private:
    std::unique_ptr<db::Connection> connection_;
};

class Statement {
public:
    // The statement reads through the billing connection; its report file lies in the
    // report folder. Neither is owned.
    Statement(const BillingOpenConnection& billing, QString reportFolder);

    QString AdmissionNumber;
    QString HospitalNumber;
    QString UserId;
    QString UserName;

    // Shows the admission's summarized statement in a viewer window, from where it prints.
    // Fails when the billing connection has not been established.
    void ShowSOA(const QString& admissionNumber);

    static QString reportName() { return QStringLiteral("\\SummarizedSOA.rpt"); }
    static QString title() { return QStringLiteral("Summarized Statement of Account"); }

private:
    const BillingOpenConnection& billing_;
    QString reportFolder_;
};

}  // namespace mss::components
