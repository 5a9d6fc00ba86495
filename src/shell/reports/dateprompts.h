#pragma once
// The date prompts of the report commands. Each returns its dates as short date texts
// ("M/d/yyyy") in properties the caller reads after the dialog has closed.
#include <QDateEdit>
#include <QDialog>
#include <QPushButton>
#include <memory>

namespace Ui {
class frmReportDate;
class frmReportDate2;
class frmReportDateRange;
}

namespace mss::reports {

class ReportDatePrompt : public QDialog {
    Q_OBJECT
    Q_PROPERTY(QString startdate READ startdate)
    Q_PROPERTY(QString enddate READ enddate)
    Q_PROPERTY(bool CloseForm READ CloseForm)
public:
    QString startdate() const { return startdate_; }
    QString enddate() const { return enddate_; }
    bool CloseForm() const { return closeForm_; }

    QDateEdit* dtStart = nullptr;
    QDateEdit* dtEnd = nullptr;   // not on frmReportDate
    QPushButton* cmdEnter = nullptr;
    QPushButton* cmdClose = nullptr;

    // Closing the window any other way than Enter counts as Close: nothing is printed.
    void reject() override;

protected:
    explicit ReportDatePrompt(QWidget* parent) : QDialog(parent) {}
    void wire(bool centre);
    void showEvent(QShowEvent* event) override;

private:
    void reset();
    QString startdate_, enddate_;
    bool closeForm_ = false;
};

class frmReportDate : public ReportDatePrompt {
    Q_OBJECT
public:
    explicit frmReportDate(QWidget* parent = nullptr);
    ~frmReportDate() override;
private:
    std::unique_ptr<Ui::frmReportDate> ui_;
};

class frmReportDateRange : public ReportDatePrompt {
    Q_OBJECT
public:
    explicit frmReportDateRange(QWidget* parent = nullptr);
    ~frmReportDateRange() override;
private:
    std::unique_ptr<Ui::frmReportDateRange> ui_;
};

class frmReportDate2 : public ReportDatePrompt {
    Q_OBJECT
public:
    explicit frmReportDate2(QWidget* parent = nullptr);
    ~frmReportDate2() override;
private:
    std::unique_ptr<Ui::frmReportDate2> ui_;
};

}  // namespace mss::reports
