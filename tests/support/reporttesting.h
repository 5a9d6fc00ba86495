#pragma once
// Helpers of the report tests: the text of a PDF as pdftotext reads it, and the viewer
// windows a command opened.
#include "shell/reports/frmreportviewer.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace mss::test {

inline QString pdfText(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return QStringLiteral("<pdftotext failed>");
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline QList<reports::frmReportViewer*> openViewers() {
    QList<reports::frmReportViewer*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* v = qobject_cast<reports::frmReportViewer*>(w); v && v->isVisible()) out << v;
    return out;
}

inline void closeViewers() {
    for (auto* v : openViewers()) v->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Exports the viewer's report and returns the PDF's text.
inline QString viewerText(reports::frmReportViewer* v, const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("view%1.pdf").arg(quintptr(v)));
    v->CRViewer1->exportPdf(path);
    return pdfText(path);
}

// The one viewer a command opened: checks its caption, closes it and returns its text.
inline QString shownReport(const QString& title, const QTemporaryDir& dir) {
    const auto viewers = openViewers();
    if (viewers.size() != 1) {
        ADD_FAILURE() << viewers.size() << " viewers open, one expected";
        return {};
    }
    EXPECT_EQ(viewers[0]->windowTitle(), title);
    const QString t = viewerText(viewers[0], dir);
    closeViewers();
    return t;
}

}  // namespace mss::test
