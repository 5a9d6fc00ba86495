#pragma once
// The computation of discount: the chosen patient's bill department by department, with the
// actual charges, the Medicare deduction and the "QF" discount, and what is left to pay.
#include "billing/discountcomputation.h"

#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace mss::billing {

class frmComputeDiscount : public QWidget {
    Q_OBJECT
public:
    // Twips: the grid's columns once rows are bound (the fixed column and the code hidden).
    static constexpr int kColumnWidths[6] = {0, 0, 3100, 1400, 1050, 1400};
    static constexpr int kHeight = 5900;         // the window as it opens
    static constexpr int kSpecialHeight = 7290;  // with the special arrangement's frame in view

    explicit frmComputeDiscount(QWidget* parent = nullptr);

    // Opening: the chosen patient, then the stored discount as it is or a fresh computation.
    void Load();

    QLineEdit* txtIDNum = nullptr;
    QLineEdit* txtPatientName = nullptr;
    QLineEdit* txtHospNum = nullptr;
    QLineEdit* txtMSSNum = nullptr;
    QLineEdit* txtRoomID = nullptr;
    QLineEdit* txtCode = nullptr;
    QGroupBox* frameCovered = nullptr;
    QTableWidget* mshDiscount = nullptr;
    QLabel* lblTotal = nullptr;
    QLabel* lblMedicareTotal = nullptr;
    QLabel* lblTotalCovered = nullptr;
    QLabel* lblQFS = nullptr;
    QPushButton* cmdRecompute = nullptr;
    QPushButton* cmdExit = nullptr;
    QPushButton* cmdIsSpecial = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLineEdit* txtQFSSpecial = nullptr;
    QLineEdit* txtNC = nullptr;

signals:
    // The screen is closing; the patient search comes back.
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    QString idNum() const;
    // Computes (or refuses to) and shows what came back.
    void compute();
    void recompute();
    void showComputed(const ComputedDiscount& result);
    void bindGrid(const DiscountRows& rows);
    void showTotals(const DiscountTotals& totals);
    void showSpecialArrangement();

    DiscountPatient patient_;
};

}  // namespace mss::billing
