#pragma once
// The report viewer window: the pages of one report with navigation, zoom, print and
// export to PDF. It keeps its own report, so later reports do not change it.
#include "shell/reports/reports.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QPrinter;
class QPrintPreviewWidget;
class QToolBar;
class QAction;

namespace mss::reports {

// The viewer control: toolbar and pages, filling its window.
class ReportView : public QWidget {
    Q_OBJECT
public:
    ReportView(std::shared_ptr<RenderedReport> report, QWidget* parent = nullptr);
    ~ReportView() override;

    int pageCount() const;
    int currentPage() const;   // 1-based
    void setCurrentPage(int page);
    double zoomFactor() const;
    void setZoomFactor(double factor);
    void fitToWidth();
    const RenderedReport& report() const { return *report_; }

    void printWithDialog();
    void exportWithDialog();
    void exportPdf(const QString& path);

    QAction* actFirst = nullptr;
    QAction* actPrevious = nullptr;
    QAction* actNext = nullptr;
    QAction* actLast = nullptr;
    QAction* actZoomIn = nullptr;
    QAction* actZoomOut = nullptr;
    QAction* actPrint = nullptr;
    QAction* actExport = nullptr;
    QComboBox* cboZoom = nullptr;
    QLabel* lblPage = nullptr;

private:
    void updatePageLabel();

    std::shared_ptr<RenderedReport> report_;
    std::unique_ptr<QPrinter> previewPrinter_;
    QToolBar* toolbar_ = nullptr;
    QPrintPreviewWidget* preview_ = nullptr;
};

class frmReportViewer : public QWidget {
    Q_OBJECT
public:
    frmReportViewer(std::shared_ptr<PreparedReport> prepared, std::shared_ptr<RenderedReport> rendered,
                    QWidget* parent = nullptr);
    ~frmReportViewer() override;

    ReportView* CRViewer1 = nullptr;
    const PreparedReport& prepared() const { return *prepared_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::shared_ptr<PreparedReport> prepared_;
};

}  // namespace mss::reports
