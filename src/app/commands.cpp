#include "app/commands.h"
#include "assessment/frmeditclass.h"
#include "assessment/frmeditmssnumber.h"
#include "assessment/frmreprintarr.h"
#include "billing/frmcomputediscount.h"
#include "intake/frmintakesheet.h"
#include "notices/noticeboard.h"
#include "patient/frmlistpatient.h"
#include "patient/patientsearchhost.h"
#include "shell/db/text.h"
#include "shell/mainwindow/mdimss.h"
#include "shell/dialogs/rightsholder.h"
#include "shell/reports/catalog.h"
#include "shell/session/session.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
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
    // An open sheet is brought forward, not loaded again.
    auto intake = std::make_shared<QPointer<intake::frmIntakeSheet>>();
    window.bindCommand(QStringLiteral("mnuIntakeSheet"), [&window, searches, intake] {
        if (Selection().HospNum.isEmpty()) {
            searches->show();
            return;
        }
        if (*intake) {
            if (auto* frame = qobject_cast<QMdiSubWindow*>((*intake)->parentWidget())) window.area()->setActiveSubWindow(frame);
            return;
        }
        auto* screen = new intake::frmIntakeSheet;
        *intake = screen;
        window.addScreen(screen);
        screen->Load(Selection());
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
