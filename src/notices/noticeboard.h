#pragma once
// The notices' part of the main window: the referral poll that makes the referral button
// flash while referrals wait, and the commands that open the notice screens.
#include "notices/noticesqueries.h"

#include <QObject>
#include <QPointer>
#include <functional>

class QTimer;
class QToolButton;
class QWidget;

namespace mss::notices {

class frmReferralToMedicalTeam;

// The worker logged in now (the Session's log-in component and employee code).
Worker CurrentWorker();

// The discharge notice list, modal; a chosen notice opens the clearance screen, and the list
// comes back, freshly loaded, when that is saved or ignored.
void ShowDischargeNotices(QWidget* parent, const Worker& worker);
// The referral history, modal.
void ShowReferralHistory(QWidget* parent, const Worker& worker);

class NoticeBoard : public QObject {
    Q_OBJECT
public:
    // Takes the referral button and the main window's three notice timers; lives as long as
    // `window`, which also parents the screens it opens.
    NoticeBoard(QWidget* window, QToolButton* btnReferralNotice, QTimer* tmrReferralNotice, QTimer* timer1,
                QTimer* timer2);

    // Who the screens work for (the logged-in worker unless a test says otherwise).
    void setWorker(std::function<Worker()> worker) { worker_ = std::move(worker); }

    // One poll of the waiting referrals (each tick of the poll timer).
    void poll();
    // From the first poll that finds a waiting referral until the program ends.
    bool highlighted() const { return style_ == 1; }
    // The referral button's style (0 plain, 1 opaque) and colour as a blue-green-red value.
    int referralStyle() const { return style_; }
    long referralBackColor() const { return backColor_; }

    void openDischargeNotices();
    // Not modal; when the list is open already it comes to the front.
    void openReferralNotices();
    void openReferralHistory();

    static constexpr long kRed = 255;            // RGB 255, 0, 0
    static constexpr long kLightYellow = 8454143; // RGB 255, 255, 128

signals:
    // The first of a run of failed polls (the next run is noted again after a poll succeeds).
    void pollFailed(long number, const QString& description);

private:
    void noteFailure(long number, const QString& description);
    void setBackColor(long color);
    void paintReferralButton();

    QWidget* window_;
    QPointer<QToolButton> referralButton_;
    QTimer* timer1_;
    QTimer* timer2_;
    std::function<Worker()> worker_ = &CurrentWorker;
    QPointer<frmReferralToMedicalTeam> referralList_;
    int style_ = 0;
    long backColor_ = 0xFFFFFF;   // white
    bool failing_ = false;
};

}  // namespace mss::notices
