#pragma once
// The discharge notice list: every notice the wards sent, marked cleared or not.
#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace mss::notices {

class frmDischargeNotice : public QDialog {
    Q_OBJECT
public:
    // Loads the notices; a failing load ends there (the failure propagates).
    explicit frmDischargeNotice(QWidget* parent = nullptr);

    // The admission number of the notice chosen last; empty when none was chosen.
    QString IDNUM() const { return idnum_; }

    QTreeWidget* lvwRequest = nullptr;
    QLabel* imgOpen = nullptr;
    QLabel* imgClear = nullptr;
    QPushButton* cmdSelect = nullptr;
    QPushButton* cmdClose = nullptr;

private:
    void load();
    void choose();

    QString idnum_;
};

}  // namespace mss::notices
