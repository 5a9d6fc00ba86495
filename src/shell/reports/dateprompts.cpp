#include "shell/reports/dateprompts.h"
#include "shell/db/text.h"
#include "ui_frmreportdate.h"
#include "ui_frmreportdate2.h"
#include "ui_frmreportdaterange.h"

#include <QGuiApplication>
#include <QScreen>

namespace mss::reports {

void ReportDatePrompt::wire(bool centre) {
    dtStart = findChild<QDateEdit*>(QStringLiteral("dtStart"));
    dtEnd = findChild<QDateEdit*>(QStringLiteral("dtEnd"));
    cmdEnter = findChild<QPushButton*>(QStringLiteral("cmdEnter"));
    cmdClose = findChild<QPushButton*>(QStringLiteral("cmdClose"));
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

namespace {
// The three forms differ only in their layout, title and whether they have an end date.
template <class Form>
std::unique_ptr<Form> setUp(ReportDatePrompt& prompt) {
    auto form = std::make_unique<Form>();
    form->setupUi(&prompt);
    return form;
}
}  // namespace

frmReportDate::frmReportDate(QWidget* parent) : ReportDatePrompt(parent), ui_(setUp<Ui::frmReportDate>(*this)) {
    wire(false);
}
frmReportDate::~frmReportDate() = default;

frmReportDateRange::frmReportDateRange(QWidget* parent)
    : ReportDatePrompt(parent), ui_(setUp<Ui::frmReportDateRange>(*this)) {
    wire(true);
}
frmReportDateRange::~frmReportDateRange() = default;

frmReportDate2::frmReportDate2(QWidget* parent) : ReportDatePrompt(parent), ui_(setUp<Ui::frmReportDate2>(*this)) {
    wire(true);
}
frmReportDate2::~frmReportDate2() = default;

}  // namespace mss::reports
