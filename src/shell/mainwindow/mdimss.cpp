#include "shell/mainwindow/mdimss.h"
#include "patient/frmlistpatient.h"
#include "shell/components/userlogin.h"
#include "shell/reports/catalog.h"
#include "shell/dialogs/action.h"
#include "ui_mdimss.h"

#include <QCursor>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>

namespace mss::mainwindow {

mdiMSS::mdiMSS(const components::CurrentUser& user, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::mdiMSS>()), user_(user) {
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);

    QStyle* s = style();
    ui->btnDataEntry->setIcon(s->standardIcon(QStyle::SP_FileIcon));
    ui->btnViewing->setIcon(s->standardIcon(QStyle::SP_FileDialogContentsView));
    ui->btnFileMaintenance->setIcon(s->standardIcon(QStyle::SP_DriveHDIcon));
    ui->btnReports->setIcon(s->standardIcon(QStyle::SP_FileDialogDetailedView));
    ui->btnListing->setIcon(s->standardIcon(QStyle::SP_FileDialogListView));
    ui->btnListing->setToolTip(QStringLiteral("Patient Search"));
    ui->btnClose->setIcon(s->standardIcon(QStyle::SP_BrowserReload));
    ui->btnDischargeNotice->setIcon(s->standardIcon(QStyle::SP_MessageBoxWarning));
    ui->btnReferralNotice->setIcon(s->standardIcon(QStyle::SP_MessageBoxInformation));

    connect(ui->btnDataEntry, &QToolButton::clicked, this, [this] { popupMenu(ui->mnuFile); });
    connect(ui->btnViewing, &QToolButton::clicked, this, [this] { popupMenu(ui->mnuViewing); });
    connect(ui->btnFileMaintenance, &QToolButton::clicked, this, [this] { popupMenu(ui->mnuFileMaintenance); });
    connect(ui->btnReports, &QToolButton::clicked, this, [this] { popupMenu(ui->mnuReports); });
    connect(ui->btnListing, &QToolButton::clicked, this, ui::Guarded([this] { btnListing_Click(); }));
    connect(ui->btnClose, &QToolButton::clicked, this, [this] {
        auto handler = changeUser_;
        close();
        if (handler) ui::RunAction(handler);
    });

    // Items whose screens are not in the program yet stay visible but cannot be chosen.
    for (QAction* a : {ui->mnuARR, ui->mnuEditPatClass, ui->mnuComputeDiscount, ui->mnuSummarizedSOA,
                       ui->mnuDischargeNotice, ui->mnuReferral, ui->mnuEditMSSNo})
        a->setEnabled(false);
    ui->mnuViewPatientDatasheet->setEnabled(false);
    const std::pair<QAction*, void (*)(const reports::CatalogContext&)> reportCommands[] = {
        {ui->mnuListGrantees, &reports::ViewListOfGrantees},
        {ui->mnuAssessment, &reports::ListOfAssessments},
        {ui->mnuTransaction, &reports::ARRTransactionReport},
        {ui->mnuDischargeNoticeReport, &reports::DischargeNoticeMonitoring},
        {ui->mnuDischargeNoticeRevoked, &reports::RevokedDischargeNotice},
        {ui->mnuRePrintARR, &reports::ReprintARR},
        {ui->mnuViewPatientBill, &reports::DetailedSOA},
        {ui->mnuViewPatientDatasheet, &reports::PatientDatasheet},
        {ui->mnuRePrintIntake, &reports::ReprintIntakeSheet},
        {ui->mnuContractSlip, &reports::ContractSlip},
    };
    for (const auto& [action, command] : reportCommands) {
        connect(action, &QAction::triggered, this, ui::Guarded([this, command = command] {
            if (reportContext_) command(reportContext_());
        }));
    }
    connect(ui->mnuIntakeSheet, &QAction::triggered, this, ui::Guarded([this] { mnuIntakeSheet_Click(); }));
    ui->btnDischargeNotice->setEnabled(false);
    ui->btnReferralNotice->setEnabled(false);

    panelUser_ = new QLabel(this);
    panelUser_->setObjectName(QStringLiteral("CurrentUser"));
    panelUser_->setToolTip(QStringLiteral("User logged on"));
    panelClock_ = new QLabel(this);
    panelClock_->setObjectName(QStringLiteral("CurrentDateTime"));
    panelClock_->setToolTip(QStringLiteral("Current Date Time Values"));
    ui->StatusBar1->addWidget(panelUser_, 1);
    ui->StatusBar1->addPermanentWidget(panelClock_);

    auto makeTimer = [this](const char* name, int interval, bool on) {
        auto* t = new QTimer(this);
        t->setObjectName(QString::fromLatin1(name));
        t->setInterval(interval);
        if (on) t->start();
        return t;
    };
    tmrShowDateTime_ = makeTimer("tmrShowDateTime", 60, true);
    timer1_ = makeTimer("Timer1", 15000, false);
    timer2_ = makeTimer("Timer2", 15000, false);
    tmrReferralNotice_ = makeTimer("tmrReferralNotice", 65000, true);
    connect(tmrShowDateTime_, &QTimer::timeout, this, [this] { refreshClock(); });

    patient::frmListPatient::setFileMenu(ui->mnuFile);
    patient::frmListPatient::setDatasheetAction(ui->mnuViewPatientDatasheet);
    openWindow();
}

mdiMSS::~mdiMSS() {
    patient::frmListPatient::setFileMenu(nullptr);
    patient::frmListPatient::setDatasheetAction(nullptr);
}

QMdiArea* mdiMSS::area() const { return ui->mdiArea; }

void mdiMSS::openWindow() {
    panelUser_->setText(QStringLiteral("CurrentUser Name: ") + QStringLiteral(" (") + user_.employeecode() +
                        QStringLiteral(")  ") + user_.EmployeeName());
    refreshClock();
}

QString mdiMSS::clockText(const QDateTime& now) {
    const QLocale en(QLocale::English, QLocale::UnitedStates);
    return en.toString(now, QStringLiteral("(dd MMMM yyyy)  HH:mm "));
}

void mdiMSS::refreshClock() {
    const QString t = clockText(QDateTime::currentDateTime());
    if (panelClock_->text() != t) panelClock_->setText(t);
}

void mdiMSS::popupMenu(QMenu* menu) { menu->popup(QCursor::pos()); }

QMdiSubWindow* mdiMSS::addScreen(QWidget* screen) {
    QMdiSubWindow* frame = ui->mdiArea->addSubWindow(screen);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    screen->show();
    frame->show();
    return frame;
}

patient::frmListPatient* mdiMSS::patientSearch(bool create) {
    if (!search_ && create) {
        search_ = new patient::frmListPatient;
        search_->setObjectName(QStringLiteral("frmListPatient"));
        addScreen(search_)->showMaximized();
    }
    return search_;
}

void mdiMSS::showPatientSearch() {
    const bool existed = search_;
    patient::frmListPatient* s = patientSearch();
    if (!existed) s->runOpeningSearch();
    if (auto* frame = qobject_cast<QMdiSubWindow*>(s->parentWidget())) ui->mdiArea->setActiveSubWindow(frame);
}

void mdiMSS::mnuIntakeSheet_Click() {
    // The intake sheet comes with its own screen; without a patient the search opens instead.
    showPatientSearch();
}

void mdiMSS::btnListing_Click() {
    patient::frmListPatient* s = patientSearch();
    const QString hosp = s->txtHospNum()->text();
    const QString id = s->txtIDNum()->text();
    const QString last = s->txtLastname()->text();
    s->setEnabled(true);
    // The screens inside the window close and the window opens anew.
    ui->mdiArea->closeAllSubWindows();
    search_ = nullptr;   // the old one is already on its way out
    patient::PatientSelection& sel = patient::Selection();
    sel.HospNum = hosp;
    sel.IDNUM = id;
    sel.PatientName = last;
    openWindow();
    patient::frmListPatient* fresh = patientSearch();
    fresh->txtHospNum()->setText(hosp);
    fresh->txtIDNum()->setText(id);
    fresh->txtLastname()->setText(last);
    fresh->runOpeningSearch();
}

}  // namespace mss::mainwindow
