#pragma once
// The patient search: finds the encounters of in-, out-, ER and MSS patients and makes the
// picked one the Patient selection.
#include "shell/db/recordset.h"
#include "shell/session/patientselection.h"

#include <QWidget>
#include <array>
#include <memory>

class QLineEdit;
class QRadioButton;
class QTreeWidgetItem;
namespace Ui { class frmListPatient; }

namespace mss::patient {

class frmListPatient : public QWidget {
    Q_OBJECT
public:
    // Twips, as the screen's layout rules are written.
    static constexpr int kColumnWidths[12] = {1000, 1050, 1900, 1550, 1550, 1550, 1000, 1350, 2300, 2500, 2500, 1000};

    explicit frmListPatient(QWidget* parent = nullptr);
    ~frmListPatient() override;

    // Lays out the panels for the splitter at x twips.
    void SizeControls(int x);

    QLineEdit* txtHospNum() const;
    QLineEdit* txtIDNum() const;
    QLineEdit* txtLastname() const;

    // Runs the opening search when the selection holds a remembered patient.
    void runOpeningSearch();

signals:
    // The worker picked an encounter: it is the Patient selection now.
    void patientChosen();
    // A right click on the list while a patient is chosen (the host pops up its File menu).
    void contextMenuWanted(const QPoint& globalPos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void SearchPatients(const QString& hospNum, const QString& lastName, const QString& idNum,
                        const QString& firstName, const QString& middleName, bool mssPatients = false);
    void cmdSearch_Click();
    void lblMSS_Click();
    void selectPatient();
    void sortBy(int column);
    void enterInBox(QLineEdit* box);
    void convertTyped(QLineEdit* box, const QString& typed);
    void setLinkHover(bool hover);
    void layoutForScreen();
    int twips(int t) const;

    std::unique_ptr<Ui::frmListPatient> ui;
    std::array<QRadioButton*, 4> optPatientType{};
    db::Recordset rsPatient_;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    bool sorted_ = false;
    int sortColumn_ = -1;
    bool dragging_ = false;
    int splitterX_ = 0;   // twips
};

}  // namespace mss::patient
