#include "shell/reports/dateprompts.h"
#include "shell/db/text.h"
#include "ui_frmreportdate.h"
#include "ui_frmreportdate2.h"
#include "ui_frmreportdaterange.h"

#include <QGuiApplication>
#include <QScreen>

namespace mss::reports {

void ReportDatePrompt::wire(bool centre) {
    connect(cmdEnter, &QPushButton::clicked, this, [this] {
        startdate_ = text::ShortDate(dtStart->date());
        if (dtEnd) enddate_ = text::ShortDate(dtEnd->date());
        accept();
    });
    connect(cmdClose, &QPushButton::clicked, this, [this] { reject(); });
    reset();
    if (centre) {
        adjustSize();
        if (QScreen* s = QGuiApplication::primaryScreen())
            move(s->availableGeometry().center() - rect().center());
    }
}

void ReportDatePrompt::reset() {
    closeForm_ = false;
    dtStart->setDate(QDate::currentDate());
    if (dtEnd) dtEnd->setDate(QDate::currentDate());
}

void ReportDatePrompt::showEvent(QShowEvent* event) {
    reset();
    QDialog::showEvent(event);
}

void ReportDatePrompt::reject() {
    closeForm_ = true;
    QDialog::reject();
}

frmReportDate::frmReportDate(QWidget* parent)
    : ReportDatePrompt(parent), ui_(std::make_unique<Ui::frmReportDate>()) {
    ui_->setupUi(this);
    dtStart = ui_->dtStart;
    cmdEnter = ui_->cmdEnter;
    cmdClose = ui_->cmdClose;
    wire(false);
}
frmReportDate::~frmReportDate() = default;

frmReportDateRange::frmReportDateRange(QWidget* parent)
    : ReportDatePrompt(parent), ui_(std::make_unique<Ui::frmReportDateRange>()) {
    ui_->setupUi(this);
    dtStart = ui_->dtStart;
    dtEnd = ui_->dtEnd;
    cmdEnter = ui_->cmdEnter;
    cmdClose = ui_->cmdClose;
    wire(true);
}
frmReportDateRange::~frmReportDateRange() = default;

frmReportDate2::frmReportDate2(QWidget* parent)
    : ReportDatePrompt(parent), ui_(std::make_unique<Ui::frmReportDate2>()) {
    ui_->setupUi(this);
    dtStart = ui_->dtStart;
    dtEnd = ui_->dtEnd;
    cmdEnter = ui_->cmdEnter;
    cmdClose = ui_->cmdClose;
    wire(true);
}
frmReportDate2::~frmReportDate2() = default;

}  // namespace mss::reports
