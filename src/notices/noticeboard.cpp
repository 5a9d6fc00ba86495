#include "notices/noticeboard.h"
#include "notices/frmclearpatient.h"
#include "notices/frmdischargenotice.h"
#include "notices/referrallists.h"
#include "shell/db/dbaccess.h"
#include "shell/db/error.h"
#include "shell/db/text.h"
#include "shell/dialogs/prompt.h"
#include "shell/session/session.h"

#include <QDebug>
#include <QTimer>
#include <QToolButton>
#include <memory>

namespace mss::notices {

Worker CurrentWorker() {
    Worker w;
    if (const auto& user = session().CurrentUser) {
        w.employeecode = user->employeecode();
        w.EmployeeName = user->EmployeeName();
    }
    w.EmployeeCode = session().EmployeeCode;
    return w;
}

void ShowDischargeNotices(QWidget* parent, const Worker& worker) {
    // The list and the clearance screen take turns until the list is closed.
    for (;;) {
        QString chosen;
        {
            frmDischargeNotice list(parent);
            ui::ShowModal(list);
            chosen = list.IDNUM();
        }
        if (chosen.isEmpty()) return;
        frmClearPatient clearance(chosen, worker, parent);
        ui::ShowModal(clearance);
        if (!clearance.backToList()) return;
    }
}

void ShowReferralHistory(QWidget* parent, const Worker& worker) {
    frmReferralHistory history(worker, parent);
    ui::ShowModal(history);
}

NoticeBoard::NoticeBoard(QWidget* window, QToolButton* btnReferralNotice, QTimer* tmrReferralNotice, QTimer* timer1,
                         QTimer* timer2)
    : QObject(window), window_(window), referralButton_(btnReferralNotice), timer1_(timer1), timer2_(timer2) {
    setObjectName(QStringLiteral("NoticeBoard"));
    connect(tmrReferralNotice, &QTimer::timeout, this, &NoticeBoard::poll);
    connect(timer1_, &QTimer::timeout, this, [this] { setBackColor(kRed); });
    connect(timer2_, &QTimer::timeout, this, [this] { setBackColor(kLightYellow); });
    paintReferralButton();
}

void NoticeBoard::poll() {
    bool waiting = false;
    try {
        db::Recordset rs;
        db::OpenQuery(rs, LoadReferralNoticeCount());
        waiting = !rs.Eof() && text::Val(db::FieldText(rs, QStringLiteral("recCount"))) > 0;
        rs.Close();
        failing_ = false;
    } catch (const db::Failure& f) {
        noteFailure(f.Number, f.Description);
        return;
    } catch (const std::exception& e) {
        noteFailure(-1, QString::fromLocal8Bit(e.what()));
        return;
    }
    if (!waiting) return;
    style_ = 1;
    paintReferralButton();
    // Starting a running timer again would only delay its next tick.
    for (QTimer* t : {timer1_, timer2_})
        if (!t->isActive()) t->start();
}

void NoticeBoard::noteFailure(long number, const QString& description) {
    // A poll shows nothing (a box every minute would keep interrupting the worker); the first
    // failure of a run is noted, and the next tick polls again.
    if (failing_) return;
    failing_ = true;
    qWarning().noquote() << QStringLiteral("Referral notice poll failed: %1 %2").arg(number).arg(description);
    emit pollFailed(number, description);
}

void NoticeBoard::setBackColor(long color) {
    backColor_ = color;
    paintReferralButton();
}

void NoticeBoard::paintReferralButton() {
    QToolButton* b = referralButton_;
    if (!b) return;
    const QColor color(int(backColor_ & 0xFF), int((backColor_ >> 8) & 0xFF), int((backColor_ >> 16) & 0xFF));
    QPalette p = b->palette();
    p.setColor(QPalette::Button, color);
    p.setColor(QPalette::Window, color);
    b->setPalette(p);
    // Plain: the toolbar shows through; opaque: the colour fills the button.
    b->setAutoFillBackground(style_ == 1);
    b->setProperty("Style", style_);
    b->setProperty("BackColor", qlonglong(backColor_));
    b->update();
}

void NoticeBoard::openDischargeNotices() { ShowDischargeNotices(window_, worker_()); }

void NoticeBoard::openReferralNotices() {
    if (referralList_) {
        referralList_->raise();
        referralList_->activateWindow();
        return;
    }
    auto list = std::make_unique<frmReferralToMedicalTeam>(worker_(), window_);
    list->setAttribute(Qt::WA_DeleteOnClose);
    referralList_ = list.get();
    list.release()->show();
}

void NoticeBoard::openReferralHistory() { ShowReferralHistory(window_, worker_()); }

}  // namespace mss::notices
