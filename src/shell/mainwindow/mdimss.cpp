#include "shell/mainwindow/mdimss.h"
#include "shell/components/userlogin.h"
#include "shell/dialogs/action.h"
#include "shell/dialogs/settings.h"
#include "ui_mdimss.h"

#include <QCloseEvent>
#include <QCursor>
#include <QDateTime>
#include <QLabel>
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

    connect(ui->btnDataEntry, &QToolButton::clicked, this, [this] { popupMenu(QStringLiteral("mnuFile")); });
    connect(ui->btnViewing, &QToolButton::clicked, this, [this] { popupMenu(QStringLiteral("mnuViewing")); });
    connect(ui->btnFileMaintenance, &QToolButton::clicked, this,
            [this] { popupMenu(QStringLiteral("mnuFileMaintenance")); });
    connect(ui->btnReports, &QToolButton::clicked, this, [this] { popupMenu(QStringLiteral("mnuReports")); });
    connect(ui->btnClose, &QToolButton::clicked, this, [this] {
        auto handler = changeUser_;
        close();
        if (handler) ui::RunAction(handler);
    });
    // Buttons without a command cannot be pressed.
    for (QToolButton* b : {ui->btnListing, ui->btnDischargeNotice, ui->btnReferralNotice}) b->setEnabled(false);

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
    connect(ui->mdiArea, &QMdiArea::subWindowActivated, this, [this] { updateActionStates(); });

    ui::restoreWindow(*this, ui::Setting::MainWindowGeometry);
    updateActionStates();
    openWindow();
}

mdiMSS::~mdiMSS() {
    // The area reports its screens going while this window is half destroyed.
    disconnect(ui->mdiArea, nullptr, this, nullptr);
}

QMdiArea* mdiMSS::area() const { return ui->mdiArea; }

QToolButton* mdiMSS::button(const QString& name) const { return findChild<QToolButton*>(name); }

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

void mdiMSS::bindCommand(const QString& itemName, std::function<void()> command, std::function<bool()> enabledWhen) {
    auto* action = findChild<QAction*>(itemName);
    Q_ASSERT_X(action, "bindCommand", qPrintable(itemName));
    if (!action) return;
    commands_.insert(action, Command{command, std::move(enabledWhen)});
    connect(action, &QAction::triggered, this, ui::Guarded(std::move(command)));
    updateActionStates();
}

void mdiMSS::bindButton(const QString& buttonName, std::function<void()> command) {
    QToolButton* b = button(buttonName);
    Q_ASSERT_X(b, "bindButton", qPrintable(buttonName));
    if (!b) return;
    connect(b, &QToolButton::clicked, this, ui::Guarded(std::move(command)));
    b->setEnabled(true);
}

void mdiMSS::updateActionStates() {
    for (QAction* a : findChildren<QAction*>()) {
        if (a->menu() || a->isSeparator() || a->objectName().isEmpty()) continue;
        const auto it = commands_.constFind(a);
        a->setEnabled(it != commands_.constEnd() && (!it->enabledWhen || it->enabledWhen()));
    }
}

void mdiMSS::popupMenu(const QString& menuName) {
    if (auto* menu = findChild<QMenu*>(menuName)) menu->popup(QCursor::pos());
}

QMdiSubWindow* mdiMSS::addScreen(QWidget* screen) {
    QMdiSubWindow* frame = ui->mdiArea->addSubWindow(screen);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    screen->show();
    frame->show();
    return frame;
}

void mdiMSS::reopen() {
    ui->mdiArea->closeAllSubWindows();
    openWindow();
}

void mdiMSS::closeEvent(QCloseEvent* event) {
    // The screens inside close first, each with its own close event: what they hold of the
    // worker's day (the Patient selection among it) must not outlive the window.
    ui->mdiArea->closeAllSubWindows();
    for (QMdiSubWindow* inner : ui->mdiArea->subWindowList()) {
        if (inner->isVisible()) {   // a screen that refused to close keeps the window open
            event->ignore();
            return;
        }
    }
    ui::saveWindow(*this, ui::Setting::MainWindowGeometry);
    QMainWindow::closeEvent(event);
}

}  // namespace mss::mainwindow
