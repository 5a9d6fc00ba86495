#pragma once
// The patient search inside a main window: opened when a command needs it, reopened by the
// toolbar's listing button, and what it reports passed on to the window's owner.
#include <QObject>
#include <QPointer>

namespace mss::mainwindow { class mdiMSS; }

namespace mss::patient {

class frmListPatient;

class PatientSearchHost : public QObject {
    Q_OBJECT
public:
    explicit PatientSearchHost(mainwindow::mdiMSS& window);

    // The search inside the window, created when asked to.
    frmListPatient* search(bool create = true);
    // Shows the search (searching at once for a remembered patient when it is new) and makes
    // it the active inner screen.
    void show();
    // The listing button: every inner screen closes and the search opens again with its three
    // search texts, searching at once when one of them holds something.
    void reopen();
    // Closes the search, if open (the Patient selection is emptied as it closes); the next
    // show() opens a fresh one.
    void unload();

signals:
    void patientChosen();
    void contextMenuWanted(const QPoint& globalPos);

protected:
    // Keeps where the worker placed the search when its frame closes.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    mainwindow::mdiMSS& window_;
    QPointer<frmListPatient> search_;
};

}  // namespace mss::patient
