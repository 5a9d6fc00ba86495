#include "shell/reports/frmreportviewer.h"
#include "shell/dialogs/action.h"
#include "shell/dialogs/prompt.h"
#include "shell/dialogs/settings.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QVBoxLayout>

namespace mss::reports {

ReportView::ReportView(std::shared_ptr<RenderedReport> report, QWidget* parent)
    : QWidget(parent), report_(std::move(report)) {
    setObjectName(QStringLiteral("CRViewer1"));
    previewPrinter_ = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
    previewPrinter_->setFullPage(true);
    previewPrinter_->setPageLayout(report_->pageLayout());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    toolbar_ = new QToolBar(this);
    toolbar_->setObjectName(QStringLiteral("tbrViewer"));
    preview_ = new QPrintPreviewWidget(previewPrinter_.get(), this);
    preview_->setObjectName(QStringLiteral("pvwPages"));
    preview_->setViewMode(QPrintPreviewWidget::SinglePageView);
    connect(preview_, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter* printer) { ui::RunAction([this, printer] { printReport(*report_, *printer); }); });
    layout->addWidget(toolbar_);
    layout->addWidget(preview_, 1);

    // Printing and exporting can fail (a printer, a file that cannot be written): every
    // handler runs under the action guard, so the failure is shown and the viewer stays.
    auto action = [this](const QString& name, const QString& text, auto slot) {
        QAction* a = toolbar_->addAction(text);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, ui::Guarded(slot));
        return a;
    };
    actPrint = action("actPrint", tr("Print..."), [this] { printWithDialog(); });
    actExport = action("actExport", tr("Export PDF..."), [this] { exportWithDialog(); });
    toolbar_->addSeparator();
    actFirst = action("actFirst", tr("|<"), [this] { setCurrentPage(1); });
    actPrevious = action("actPrevious", tr("<"), [this] { setCurrentPage(currentPage() - 1); });
    lblPage = new QLabel(this);
    lblPage->setObjectName(QStringLiteral("lblPage"));
    lblPage->setContentsMargins(6, 0, 6, 0);
    toolbar_->addWidget(lblPage);
    actNext = action("actNext", tr(">"), [this] { setCurrentPage(currentPage() + 1); });
    actLast = action("actLast", tr(">|"), [this] { setCurrentPage(pageCount()); });
    toolbar_->addSeparator();
    actZoomOut = action("actZoomOut", tr("-"), [this] { setZoomFactor(zoomFactor() / 1.25); });
    cboZoom = new QComboBox(this);
    cboZoom->setObjectName(QStringLiteral("cboZoom"));
    cboZoom->addItems({tr("Page Width"), tr("Whole Page"), "50%", "75%", "100%", "150%", "200%"});
    toolbar_->addWidget(cboZoom);
    connect(cboZoom, &QComboBox::activated, this, [this](int i) {
        ui::RunAction([this, i] {
            if (i == 0) fitToWidth();
            else if (i == 1) preview_->fitInView();
            else setZoomFactor(cboZoom->itemText(i).chopped(1).toDouble() / 100.0);
        });
    });
    actZoomIn = action("actZoomIn", tr("+"), [this] { setZoomFactor(zoomFactor() * 1.25); });
    connect(preview_, &QPrintPreviewWidget::previewChanged, this, [this] { updatePageLabel(); });
    preview_->updatePreview();
    fitToWidth();
    updatePageLabel();
}

ReportView::~ReportView() = default;

int ReportView::pageCount() const { return static_cast<int>(report_->pages.size()); }
int ReportView::currentPage() const { return preview_->currentPage(); }

void ReportView::setCurrentPage(int page) {
    preview_->setCurrentPage(std::clamp(page, 1, std::max(1, pageCount())));
    updatePageLabel();
}

double ReportView::zoomFactor() const { return preview_->zoomFactor(); }

void ReportView::setZoomFactor(double factor) {
    preview_->setZoomFactor(std::clamp(factor, 0.1, 8.0));
}

void ReportView::fitToWidth() { preview_->fitToWidth(); }

void ReportView::updatePageLabel() {
    lblPage->setText(tr("Page %1 of %2").arg(currentPage()).arg(pageCount()));
    actFirst->setEnabled(currentPage() > 1);
    actPrevious->setEnabled(currentPage() > 1);
    actNext->setEnabled(currentPage() < pageCount());
    actLast->setEnabled(currentPage() < pageCount());
}

void ReportView::printWithDialog() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(report_->pageLayout());
    printer.setDocName(report_->title);
    printer.setFromTo(1, pageCount());
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, pageCount());
    if (ui::ShowModal(dialog) != QDialog::Accepted) return;
    const bool range = printer.printRange() == QPrinter::PageRange;
    printReport(*report_, printer, range ? printer.fromPage() : 0, range ? printer.toPage() : 0);
}

void ReportView::exportWithDialog() {
    QFileDialog dialog(this, tr("Export to PDF"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(tr("PDF files (*.pdf)"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (ui::ShowModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    exportPdf(dialog.selectedFiles().first());
}

void ReportView::exportPdf(const QString& path) { writePdf(*report_, path); }

frmReportViewer::frmReportViewer(std::shared_ptr<PreparedReport> prepared,
                                 std::shared_ptr<RenderedReport> rendered, QWidget* parent)
    : QWidget(parent, Qt::Window), prepared_(std::move(prepared)) {
    setObjectName(QStringLiteral("frmReportViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    CRViewer1 = new ReportView(std::move(rendered), this);
    layout->addWidget(CRViewer1);
    resize(900, 700);
    ui::restoreWindow(*this, ui::Setting::ViewerGeometry);
}

frmReportViewer::~frmReportViewer() = default;

void frmReportViewer::closeEvent(QCloseEvent* event) {
    // A later report may be current by now; that one belongs to its own command.
    if (CurrentReport() == prepared_) ReleaseCurrentReport();
    ui::saveWindow(*this, ui::Setting::ViewerGeometry);
    QWidget::closeEvent(event);
}

}  // namespace mss::reports
