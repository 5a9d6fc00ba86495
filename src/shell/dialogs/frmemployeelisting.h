#pragma once
// The worker lookup: pick a social worker of the department from a searchable list.
#include <QDialog>
#include <memory>

namespace Ui { class frmEmployeeListing; }

namespace mss::dialogs {

class frmEmployeeListing : public QDialog {
    Q_OBJECT
    Q_PROPERTY(QString WorkerCode READ WorkerCode)

public:
    explicit frmEmployeeListing(QWidget* parent = nullptr);
    ~frmEmployeeListing() override;

    // The code of the worker chosen last; kept until another worker is chosen.
    QString WorkerCode() const { return workerCode_; }

    // Row numbers as the grid counts them: 0 is the header row, data rows start at 1.
    int CurrentGridRow() const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Opening();
    void Search();
    void Select();

    std::unique_ptr<Ui::frmEmployeeListing> ui_;
    QString workerCode_;
};

}  // namespace mss::dialogs
