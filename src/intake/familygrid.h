#pragma once
// The family member grid of the intake sheet (FCFlexGrid) with its two in-cell editors:
// txtFlxg for every column but Civil Status, cmbFlx for Civil Status. Enter and the arrow
// keys move between cells; Enter in Income appends a row.
#include <QObject>
#include <QStringList>

class QComboBox;
class QLineEdit;
class QTableWidget;
class QWidget;

namespace mss::db { class Recordset; }

namespace mss::intake {

// A member row ready to be sent: the seven text cells and the income as plain decimal text.
struct FamilyMember {
    QStringList cells;
    QString income;
};

class FamilyGrid : public QObject {
    Q_OBJECT
public:
    static constexpr int kIncome = 7;
    static constexpr int kCivilStatus = 3;

    explicit FamilyGrid(QWidget* parent);

    // The new sheet's form: headings, widths, one empty member row.
    void SetUp();
    // The stored list; false when it had no member (the new sheet's form stays).
    bool Bind(db::Recordset& rs);

    // The sum of the member incomes; an empty or unreadable one counts as 0.
    double Total() const;
    // The members to store, empty rows left out. A row partly filled, or an income that is
    // not a number, gives nothing and says why in `problem`.
    QList<FamilyMember> Members(QString* problem) const;

    // Rows and columns as the grid counts them: row 0 is the heading row.
    int Rows() const;
    int Row() const { return row_ + 1; }
    int Col() const { return col_; }
    QString cell(int row, int col) const;
    // Makes (row, col) current and opens its editor, as a click does.
    void clickCell(int row, int col);

    QTableWidget* FCFlexGrid = nullptr;
    QLineEdit* txtFlxg = nullptr;
    QComboBox* cmbFlx = nullptr;

signals:
    // The total family income should be shown again.
    void totalChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openEditor();
    void setCell(const QString& text);
    void enterInText();
    void enterInCombo();
    bool arrow(int key);
    void moveTo(int tableRow, int col);
    void appendRow();
    QString heading(int col) const;

    int row_ = 0;   // table row (the member row), 0-based
    int col_ = 0;
    bool opening_ = false;
};

}  // namespace mss::intake
