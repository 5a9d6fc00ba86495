#include "app/commands.h"
#include "assessment/frmarr.h"
#include "assessment/frmeditclass.h"
#include "assessment/frmeditmssnumber.h"
#include "assessment/frmreprintarr.h"
#include "billing/frmcomputediscount.h"
#include "funds/frmnegotiatedcounterpart.h"
#include "intake/frmintakesheet.h"
#include "notices/noticeboard.h"
#include "patient/frmlistpatient.h"
#include "patient/patientsearchhost.h"
#include "shell/db/text.h"
#include "shell/mainwindow/mdimss.h"
#include "shell/dialogs/action.h"
#include "shell/dialogs/rightsholder.h"
#include "shell/reports/catalog.h"
#include "shell/session/session.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>
#include <memory>

namespace mss::app {

void BindCommands(mainwindow::mdiMSS& window) {
    auto* searches = new patient::PatientSearchHost(window);
    QObject::connect(searches, &patient::PatientSearchHost::patientChosen, &window,
                     &mainwindow::mdiMSS::updateActionStates);
    // The File menu is also the patient list's context menu.
    QObject::connect(searches, &patient::PatientSearchHost::contextMenuWanted, &window,
                     [&window] { window.popupMenu(QStringLiteral("mnuFile")); });
    window.bindButton(QStringLiteral("btnListing"), [searches] { searches->reopen(); });
    // The intake sheet of the chosen patient, inside the window; without a patient, the search.
    // The patient's sheet, when open, is brought forward, not loaded again (what the worker
    // typed there stays); another patient gets a sheet of their own.
    window.bindCommand(QStringLiteral("mnuIntakeSheet"), [&window, searches] {
        if (Selection().HospNum.isEmpty()) {
            searches->show();
            return;
        }
        for (intake::frmIntakeSheet* open : window.area()->findChildren<intake::frmIntakeSheet*>()) {
            if (open->txtHospitalNo->text() != Selection().HospNum) continue;
            if (auto* frame = qobject_cast<QMdiSubWindow*>(open->parentWidget())) window.area()->setActiveSubWindow(frame);
            return;
        }
        auto* screen = new intake::frmIntakeSheet;
        window.addScreen(screen);
        screen->Load(Selection());
    });
    // Modal, for the chosen admission; both numbers empty when no patient was chosen.
    window.bindCommand(QStringLiteral("mnuARR"), [&window] {
        assessment::frmARR screen(&window);
        QObject::connect(&screen, &assessment::frmARR::viewCDFAllocation, &screen,
                         [&screen](const QString& hospNum, const QString& idNum, const QString& firstName,
                                   const QString& lastName, const QString& mssNum) {
                             ui::RunAction([&] {
                                 funds::ViewCDFAllocation({hospNum, idNum, firstName, lastName, mssNum}, &screen);
                             });
                         });
        assessment::AssessmentAndReferral(screen, Selection().HospNum, Selection().IDNUM);
    });
    window.bindCommand(QStringLiteral("mnuEditPatClass"), [] {
        const dialogs::UserRights<components::CurrentUser> user(session().CurrentUser.get());
        assessment::EditPatientClassification(Selection(), user);
    });
    window.bindCommand(QStringLiteral("mnuEditMSSNo"), [] { assessment::EditMSSNumber(Selection()); });

    // A window of its own, not modal; choosing the item again brings the open one forward.
    // Closing it brings the patient search back: a fresh one when the search is usable.
    auto discount = std::make_shared<QPointer<billing::frmComputeDiscount>>();
    window.bindCommand(QStringLiteral("mnuComputeDiscount"), [&window, searches, discount] {
        if (*discount) {
            (*discount)->raise();
            (*discount)->activateWindow();
            return;
        }
        auto* screen = new billing::frmComputeDiscount(&window);
        *discount = screen;
        QObject::connect(screen, &billing::frmComputeDiscount::unloaded, searches, [searches] {
            if (patient::frmListPatient* search = searches->search(false); search && search->isEnabled())
                searches->unload();
            searches->show();
        });
        screen->show();
        screen->Load();
    });

    // Notices: the referral poll and flash on the toolbar, the two notice lists, the history.
    auto* notices = new notices::NoticeBoard(&window, window.button(QStringLiteral("btnReferralNotice")),
                                             window.tmrReferralNotice(), window.Timer1(), window.Timer2());
    // A poll that fails says so once on the status bar, for as long as the next poll is away;
    // a message box every minute would stop the worker's day.
    QObject::connect(notices, &notices::NoticeBoard::pollFailed, &window,
                     [&window](long number, const QString& description) {
                         window.statusBar()->showMessage(
                             QStringLiteral("Waiting referrals could not be counted (%1: %2). The next check "
                                            "is in a minute.").arg(number).arg(description),
                             window.tmrReferralNotice()->interval());
                     });
    window.bindButton(QStringLiteral("btnDischargeNotice"), [notices] { notices->openDischargeNotices(); });
    window.bindButton(QStringLiteral("btnReferralNotice"), [notices] { notices->openReferralNotices(); });
    window.bindCommand(QStringLiteral("mnuDischargeNotice"), [notices] { notices->openDischargeNotices(); });
    window.bindCommand(QStringLiteral("mnuReferral"), [notices] { notices->openReferralHistory(); });

    using ReportCommand = void (*)(const reports::CatalogContext&);
    const std::pair<const char*, ReportCommand> reportCommands[] = {
        {"mnuListGrantees", &reports::ViewListOfGrantees},
        {"mnuAssessment", &reports::ListOfAssessments},
        {"mnuTransaction", &reports::ARRTransactionReport},
        {"mnuDischargeNoticeReport", &reports::DischargeNoticeMonitoring},
        {"mnuDischargeNoticeRevoked", &reports::RevokedDischargeNotice},
        {"mnuRePrintARR", &assessment::ReprintARR},
        {"mnuViewPatientBill", &reports::DetailedSOA},
        {"mnuSummarizedSOA", &reports::SummarizedSOA},
        {"mnuRePrintIntake", &reports::ReprintIntakeSheet},
        {"mnuContractSlip", &reports::ContractSlip},
    };
    for (const auto& [item, command] : reportCommands)
        window.bindCommand(QString::fromLatin1(item), [command = command] { command(reports::CurrentContext()); });
    // The data sheet is of an admission: only a numeric admission number has one.
    window.bindCommand(
        QStringLiteral("mnuViewPatientDatasheet"), [] { reports::PatientDatasheet(reports::CurrentContext()); },
        [] { return text::IsNumeric(Selection().IDNUM); });
}

}  // namespace mss::app
