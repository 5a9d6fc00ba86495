#include "shell/components/userlogin.h"
#include "shell/components/frmlogin.h"
#include "shell/db/recordset.h"
#include "shell/db/sqltext.h"
#include "shell/db/text.h"
#include "shell/dialogs/prompt.h"
#include "shell/dialogs/settings.h"
#include "ui_frmlogin.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QThread>
#include <sodium.h>

namespace mss::components {

namespace {
// Off unless asked for (QT_LOGGING_RULES="mss.startup.info=true"): lets a script that starts
// the program without a screen tell when it is up and waiting for a worker.
Q_LOGGING_CATEGORY(lcStartup, "mss.startup", QtWarningMsg)

const QString kWrongCredentials = QStringLiteral("Unknown employee code or wrong password.");

bool isOdbcServer(const QString& server) { return server.contains(u'='); }

// Where tests put the workstation's own files.
QString& embeddedOverride() {
    static QString path;
    return path;
}
CurrentUser::FirstStart& firstStart() {
    static CurrentUser::FirstStart f;
    return f;
}
}  // namespace

CurrentUser::CurrentUser() = default;
CurrentUser::~CurrentUser() = default;


QString CurrentUser::defaultEmbeddedPath() {
    if (!embeddedOverride().isEmpty()) return embeddedOverride();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QDir(folder).filePath(QStringLiteral("hospital.db"));
}

void CurrentUser::setDefaultEmbeddedPath(const QString& path) { embeddedOverride() = path; }

void CurrentUser::setFirstStart(FirstStart f) { firstStart() = std::move(f); }

QStringList CurrentUser::recentServers() {
    QStringList out;
    for (const QString& server : ui::setting(ui::Setting::RecentServers).toStringList()) {
        // A database file that was moved or removed since is no choice any more.
        if (!isOdbcServer(server) && !QFileInfo::exists(QDir::fromNativeSeparators(server))) continue;
        out << server;
    }
    return out;
}

void CurrentUser::rememberServer(const QString& server) {
    const QString kept = isOdbcServer(server) ? db::connectionStringWithoutPassword(server) : server;
    QStringList list = ui::setting(ui::Setting::RecentServers).toStringList();
    list.removeAll(kept);
    list.prepend(kept);
    while (list.size() > kRecentServers) list.removeLast();
    ui::setSetting(ui::Setting::RecentServers, list);
}

QVariant CurrentUser::Connected() const {
    if (!connected_.isValid()) return QVariant();
    return connected_.toBool() && connection_ && connection_->State() == db::adStateOpen;
}

bool CurrentUser::have_rights(const QString& code) const {
    return rights_.contains(text::Trim(code).toUpper());
}

bool CurrentUser::LogIn(const QString& server, const QString& employeeCode, const QString& password,
                        QString* error) {
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        connected_ = false;
        return false;
    };
    const QString target = text::Trim(server);
    if (target.isEmpty()) return fail(QStringLiteral("Please give the database server."));
    if (text::Trim(employeeCode).isEmpty()) return fail(QStringLiteral("Please give your employee code."));

    QString connectionString;
    QString serverName, database, serverPassword;
    if (isOdbcServer(target)) {
        connectionString = target;
        serverName = db::connectionStringValue(target, QStringLiteral("SERVER"));
        if (serverName.isEmpty()) serverName = db::connectionStringValue(target, QStringLiteral("DSN"));
        database = db::connectionStringValue(target, QStringLiteral("DATABASE"));
        if (database.isEmpty()) database = QStringLiteral("MSS");
        serverPassword = db::connectionStringValue(target, QStringLiteral("PWD"));
    } else {
        if (!QFileInfo::exists(target))
            return fail(QStringLiteral("The hospital database %1 does not exist.").arg(QDir::toNativeSeparators(target)));
        connectionString = db::embeddedConnectionString(target);
        serverName = target;
        database = QStringLiteral("MSS");
    }

    auto connection = std::make_unique<db::Connection>();
    try {
        connection->Open(connectionString);
        db::Recordset rs;
        rs.Open(db::Sql(QStringLiteral("MSS..sp_MSS_GetLoginAccount '")).val(text::Trim(employeeCode))
                    .lit(QStringLiteral("','")).val(PasswordDeptCode).lit(QStringLiteral("'")),
                *connection, db::CursorType::Static, db::LockType::ReadOnly);
        if (!rs.IsOpen() || rs.Eof()) return fail(kWrongCredentials);
        const QByteArray hash = text::VariantText(rs.Value(QStringLiteral("PasswordHash"))).toUtf8();
        const QByteArray typed = password.toUtf8();
        if (sodium_init() < 0) return fail(QStringLiteral("The password library could not start."));
        if (hash.isEmpty() ||
            crypto_pwhash_str_verify(hash.constData(), typed.constData(), static_cast<unsigned long long>(typed.size())) != 0)
            return fail(kWrongCredentials);

        employeeCode_ = text::VariantText(rs.Value(QStringLiteral("EmployeeCode")));
        const QString first = text::Trim(text::VariantText(rs.Value(QStringLiteral("FirstName"))));
        const QString middle = text::Trim(text::VariantText(rs.Value(QStringLiteral("MiddleName"))));
        const QString last = text::Trim(text::VariantText(rs.Value(QStringLiteral("LastName"))));
        QStringList parts;
        if (!first.isEmpty()) parts << first;
        if (!middle.isEmpty()) parts << middle.left(1) + u'.';
        if (!last.isEmpty()) parts << last;
        employeeName_ = parts.join(u' ');
        rights_.clear();
        for (const QString& r : text::VariantText(rs.Value(QStringLiteral("Rights"))).split(u',', Qt::SkipEmptyParts))
            rights_.insert(text::Trim(r).toUpper());
        rs.Close();
    } catch (const db::Failure& f) {
        return fail(QStringLiteral("Cannot reach the database: %1").arg(f.Description));
    }
    connection->backend()->setUser(employeeCode_);
    if (connection_) connection_->Close();
    connection_ = std::move(connection);
    password_ = password;
    serverName_ = serverName;
    database_ = database;
    serverPassword_ = serverPassword;
    connected_ = true;
    return true;
}

void CurrentUser::ShowMain() {
    frmLogIn dialog(*this);
    const QString defaultPath = defaultEmbeddedPath();
    if (!QFileInfo::exists(defaultPath) && firstStart()) {
        // A first start on a fresh machine: the dialog is up at once and the log-in waits.
        dialog.prepare(QStringLiteral("The demo hospital is being prepared: %1").arg(QDir::toNativeSeparators(defaultPath)),
                       [make = firstStart(), defaultPath] {
                           try {
                               return make(defaultPath);
                           } catch (const db::Failure& f) {
                               return QStringLiteral("The demo hospital could not be created: %1").arg(f.Description);
                           }
                       });
    }
    if (ui::ShowModal(dialog) != QDialog::Accepted && !connected_.toBool()) connected_ = false;
}

frmLogIn::frmLogIn(CurrentUser& user, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmLogIn>()), user_(user) {
    ui->setupUi(this);
    // The server of the last log-in comes first: most workstations always use the same one.
    QStringList servers = CurrentUser::recentServers();
    const QString embedded = QDir::toNativeSeparators(CurrentUser::defaultEmbeddedPath());
    if (!servers.contains(embedded)) servers << embedded;
    ui->cboServer->addItems(servers);
    connect(ui->cmdOK, &QPushButton::clicked, this, [this] { tryLogIn(); });
    connect(ui->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    ui->txtEmployeeCode->setFocus();
}

frmLogIn::~frmLogIn() {
    // A half-made database must not be left behind by a dialog that was closed early.
    if (thread_) thread_->wait();
}

void frmLogIn::prepare(const QString& busyText, std::function<QString()> work) {
    auto line = std::make_shared<QString>();
    thread_ = QThread::create([work = std::move(work), line] { *line = work(); });
    connect(thread_, &QThread::finished, this, [this, line] { prepared(*line); });
    connect(thread_, &QThread::finished, thread_, &QObject::deleteLater);
    setStatus(busyText);
    ui->pbPreparing->show();
    ui->cmdOK->setEnabled(false);
    thread_->start();
}

void frmLogIn::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    qCInfo(lcStartup, "the log-in dialog is shown");
}

void frmLogIn::prepared(const QString& line) {
    qCInfo(lcStartup, "first start: %s", qUtf8Printable(line));
    thread_ = nullptr;
    ui->pbPreparing->hide();
    ui->cmdOK->setEnabled(true);
    setStatus(line);
}

void frmLogIn::setStatus(const QString& text) { ui->lblStatus->setText(text); }
QString frmLogIn::status() const { return ui->lblStatus->text(); }

void frmLogIn::tryLogIn() {
    if (preparing()) return;
    QString error;
    const QString server = QDir::fromNativeSeparators(ui->cboServer->currentText());
    if (user_.LogIn(isOdbcServer(server) ? ui->cboServer->currentText() : server, ui->txtEmployeeCode->text(),
                    ui->txtPassword->text(), &error)) {
        CurrentUser::rememberServer(ui->cboServer->currentText());
        failures_ = 0;
        accept();
        return;
    }
    ++failures_;
    if (failures_ >= kMaxFailures) {
        reject();
        return;
    }
    setStatus(error);
    ui->txtPassword->clear();
    ui->txtPassword->setFocus();
}

}  // namespace mss::components
