#pragma once
// Re-printing a stored Assessment and Referral form: search, pick a row, print.
#include "shell/reports/catalog.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QTableWidget;
class QLabel;
class QGroupBox;

namespace mss::assessment {

using reports::CatalogContext;

class frmReprintARR : public QDialog {
    Q_OBJECT
public:
    explicit frmReprintARR(const CatalogContext& ctx, QWidget* parent = nullptr);

    QLabel* lblHeading = nullptr;
    QLineEdit* txtSearch = nullptr;
    QGroupBox* fraResults = nullptr;
    QTableWidget* GridAssessment = nullptr;
    QPushButton* btnPrint = nullptr;
    QPushButton* btnClose = nullptr;

    // The row the next print uses: hospital and admission numbers, user name, licence number.
    QStringList rowToPrint() const { return {hospNum_, idNum_, userName_, licence_}; }

    static QString gridHeader();
    static QList<int> gridWidths();   // twips

private:
    void search();
    void chooseRow(int row);
    void print();

    CatalogContext ctx_;
    QString hospNum_, idNum_, userName_, licence_;
};

// File Maintenance "Re-Print ARR": the chosen patient's last form is printed at once; with
// no patient chosen the re-print screen opens instead.
void ReprintARR(const CatalogContext& ctx);

}  // namespace mss::assessment
