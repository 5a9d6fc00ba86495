#pragma once
// Runs a report's queries, lays its bands out on pages and paints them on any device
// (PDF file, printer, preview).
#include "shell/reports/reportfile.h"

#include <QDateTime>
#include <QImage>
#include <QRectF>
#include <QVariant>
#include <memory>

class QPainter;
class QPrinter;

namespace mss::db { class Connection; }

namespace mss::reports {

// Page coordinates are points (1/72 inch) from the paper's top left corner.
struct DrawItem {
    enum Kind { Text, Line, Image } kind = Text;
    QRectF rect;          // Line: from topLeft to bottomRight
    QString text;
    double fontSize = 9;
    bool bold = false;
    bool italic = false;
    int flags = 0;        // Qt::AlignmentFlag | Qt::TextFlag
    double thickness = 0.5;
    QImage image;
};

struct RenderedPage {
    QList<DrawItem> items;
};

struct RenderedReport {
    QString file;
    QString title;
    PageDef page;
    QList<RenderedPage> pages;

    QPageLayout pageLayout() const;
    QSizeF pageSizePoints() const;
    // The texts of a page in drawing order, one per line (for tools and tests).
    QString pageText(int index) const;
};

struct RenderContext {
    QString company;
    QString title;
    QDateTime printDate = QDateTime::currentDateTime();
};

// Parameter values by position: value i to field i; missing ones stay empty and extra
// values are ignored. A value that does not fit its field's type is rejected.
QList<QVariant> bindParameters(const ReportDefinition& def, const QVariantList& values);
// The query text with its {?Param} references replaced by literals.
QString querySql(const ReportDefinition& def, const QueryDef& query, const QList<QVariant>& bound);

// Runs the queries on `connection` and lays the report out. Failures carry the file and line.
RenderedReport renderReport(const ReportDefinition& def, const QList<QVariant>& bound,
                            db::Connection& connection, const RenderContext& context);

// Paints one page; the painter's device decides the resolution.
void paintPage(QPainter& painter, const RenderedReport& report, int index);
// Writes every page to a PDF file; fails (number 75) when the file cannot be written.
void writePdf(const RenderedReport& report, const QString& path);
// Prints pages from..to (1-based, 0 = all) on a printer that is set up already.
void printReport(const RenderedReport& report, QPrinter& printer, int from = 0, int to = 0);

}  // namespace mss::reports
