#pragma once
// The main window: toolbar, the four menus, the status bar with user and clock, and the
// area in which the patient search and the intake sheet live.
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QTimer;
namespace Ui { class mdiMSS; }

namespace mss::components { class CurrentUser; }
namespace mss::reports { struct CatalogContext; }
namespace mss::patient { class frmListPatient; }

namespace mss::mainwindow {

class mdiMSS : public QMainWindow {
    Q_OBJECT
public:
    explicit mdiMSS(const components::CurrentUser& user, QWidget* parent = nullptr);
    ~mdiMSS() override;

    QMdiArea* area() const;
    QTimer* tmrShowDateTime() const { return tmrShowDateTime_; }
    QTimer* Timer1() const { return timer1_; }
    QTimer* Timer2() const { return timer2_; }
    QTimer* tmrReferralNotice() const { return tmrReferralNotice_; }

    // The clock text for a moment: "(DD MMMM YYYY)  hh:mm ".
    static QString clockText(const QDateTime& now);
    void refreshClock();

    // The patient search inside the area, created when needed.
    patient::frmListPatient* patientSearch(bool create = true);
    void showPatientSearch();
    // Reopens the patient search remembering its three search texts.
    void btnListing_Click();

    // Called by "Change Active User" after this window has closed.
    void setChangeUserHandler(std::function<void()> handler) { changeUser_ = std::move(handler); }

    // What the report commands need of the Session at the moment they run.
    void setReportContext(std::function<reports::CatalogContext()> provider) { reportContext_ = std::move(provider); }

    // Adds a screen to the area, shown not modal.
    QMdiSubWindow* addScreen(QWidget* screen);

private:
    void openWindow();
    void popupMenu(QMenu* menu);
    void mnuIntakeSheet_Click();

    std::unique_ptr<Ui::mdiMSS> ui;
    const components::CurrentUser& user_;
    QLabel* panelUser_ = nullptr;
    QLabel* panelClock_ = nullptr;
    QTimer* tmrShowDateTime_ = nullptr;
    QTimer* timer1_ = nullptr;
    QTimer* timer2_ = nullptr;
    QTimer* tmrReferralNotice_ = nullptr;
    QPointer<patient::frmListPatient> search_;
    std::function<void()> changeUser_;
    std::function<reports::CatalogContext()> reportContext_;
};

}  // namespace mss::mainwindow
