#include "patient/patientsearchhost.h"
#include "patient/frmlistpatient.h"
#include "shell/dialogs/settings.h"
#include "shell/mainwindow/mdimss.h"
#include "shell/session/patientselection.h"

#include <QEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace mss::patient {

PatientSearchHost::PatientSearchHost(mainwindow::mdiMSS& window) : QObject(&window), window_(window) {}

frmListPatient* PatientSearchHost::search(bool create) {
    if (!search_ && create) {
        search_ = new frmListPatient;
        search_->setObjectName(QStringLiteral("frmListPatient"));
        connect(search_, &frmListPatient::patientChosen, this, &PatientSearchHost::patientChosen);
        connect(search_, &frmListPatient::contextMenuWanted, this, &PatientSearchHost::contextMenuWanted);
        QMdiSubWindow* frame = window_.addScreen(search_);
        // Maximized in the area unless the worker placed it otherwise last time.
        const QRect placed = ui::setting(ui::Setting::PatientSearchGeometry).toRect();
        if (placed.isValid()) frame->setGeometry(placed);
        else frame->showMaximized();
        frame->installEventFilter(this);
    }
    return search_;
}

bool PatientSearchHost::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close) {
        if (auto* frame = qobject_cast<QMdiSubWindow*>(watched))
            ui::setSetting(ui::Setting::PatientSearchGeometry, frame->isMaximized() ? QRect() : frame->geometry());
    }
    return QObject::eventFilter(watched, event);
}

void PatientSearchHost::show() {
    const bool existed = search_;
    frmListPatient* s = search();
    if (!existed) s->runOpeningSearch();
    if (auto* frame = qobject_cast<QMdiSubWindow*>(s->parentWidget())) window_.area()->setActiveSubWindow(frame);
}

void PatientSearchHost::unload() {
    if (!search_) return;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(search_->parentWidget())) frame->close();
    else search_->close();
    search_ = nullptr;   // on its way out
}

void PatientSearchHost::reopen() {
    frmListPatient* s = search();
    const QString hosp = s->txtHospNum()->text();
    const QString id = s->txtIDNum()->text();
    const QString last = s->txtLastname()->text();
    s->setEnabled(true);
    // Closing the old search empties the selection; the three texts are put back after it.
    window_.reopen();
    search_ = nullptr;   // the old one is already on its way out
    PatientSelection& sel = Selection();
    sel.HospNum = hosp;
    sel.IDNUM = id;
    sel.PatientName = last;
    frmListPatient* fresh = search();
    fresh->txtHospNum()->setText(hosp);
    fresh->txtIDNum()->setText(id);
    fresh->txtLastname()->setText(last);
    fresh->runOpeningSearch();
}

}  // namespace mss::patient
