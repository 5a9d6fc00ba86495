#pragma once
// The patient's previous assessments, listed from the assessment screen.
#include <QDialog>

class QGroupBox;
class QPushButton;
class QTableWidget;

namespace mss::db { class Recordset; }

namespace mss::assessment {

class frmAssessmentList : public QDialog {
    Q_OBJECT
public:
    explicit frmAssessmentList(QWidget* parent = nullptr);

    // Lists the rows of the previous-assessment procedure under the screen's header.
    void Bind(db::Recordset& rs);

    QGroupBox* fraList = nullptr;
    QTableWidget* GridAssessment = nullptr;
    QPushButton* cmdClose = nullptr;
};

}  // namespace mss::assessment
