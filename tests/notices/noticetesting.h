#pragma once
// What the notice tests share: the worker at the keyboard, rows read aside, and clicking a
// list's line as a worker does.
#include "notices/noticewidgets.h"
#include "notices/noticesqueries.h"
#include "testhospital.h"

#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace mss::test {

inline const notices::Worker kWorker{QStringLiteral("0002"), QStringLiteral("MANALASTAS, RODEL CRUZ"),
                                     QStringLiteral("0002")};

// Every row of a query, read on a connection of its own (the screen's statement log stays clean).
inline QList<QVector<QVariant>> rows(const TestHospital& hospital, const QString& sql) {
    return hospital.openAnother()->Execute(sql).rows;
}

// The line whose column holds the text, or null.
inline QTreeWidgetItem* lineWith(QTreeWidget& list, int column, const QString& text) {
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        if (list.topLevelItem(i)->text(column) == text) return list.topLevelItem(i);
    return nullptr;
}

// Types a text into the focused box as a keyboard does; letters past ASCII come as the key
// events of a keyboard layout that has them.
inline void typeText(QWidget* box, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(box, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

inline QStringList headings(QTreeWidget& list) {
    QStringList out;
    for (int c = 0; c < list.columnCount(); ++c) out << list.headerItem()->text(c);
    return out;
}

inline QPoint centreOf(QTreeWidget& list, QTreeWidgetItem* line) { return list.visualItemRect(line).center(); }

inline void clickLine(QTreeWidget& list, QTreeWidgetItem* line) {
    ASSERT_NE(line, nullptr);
    list.scrollToItem(line);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centreOf(list, line));
}

inline void doubleClickLine(QTreeWidget& list, QTreeWidgetItem* line) {
    ASSERT_NE(line, nullptr);
    list.scrollToItem(line);
    // As the mouse does it: a click, then the second press that makes it double.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centreOf(list, line));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, centreOf(list, line));
}

}  // namespace mss::test
