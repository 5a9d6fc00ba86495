#include "notices/noticewidgets.h"
#include "notices/noticesqueries.h"
#include "shell/db/text.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTreeWidget>

namespace mss::notices {

namespace {
constexpr int kDefaultTwips = 1440;   // a list column's width when none is given
constexpr int kIconKeyRole = Qt::UserRole + 1;
}  // namespace

QPixmap StatusImages::picture(const QString& key, int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(1, 1, size - 2, size - 2);
    const bool open = key == QLatin1String(kIconOpen);
    p.setPen(QPen(open ? QColor(176, 96, 0) : QColor(24, 110, 40), 1));
    p.setBrush(open ? QColor(250, 170, 40) : QColor(60, 170, 80));
    p.drawEllipse(r);
    p.setPen(QPen(Qt::white, size / 8.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (open) {
        // An exclamation mark: still to be done.
        p.drawLine(QPointF(size / 2.0, size * 0.25), QPointF(size / 2.0, size * 0.58));
        p.drawPoint(QPointF(size / 2.0, size * 0.76));
    } else {
        QPainterPath tick;
        tick.moveTo(size * 0.27, size * 0.52);
        tick.lineTo(size * 0.44, size * 0.70);
        tick.lineTo(size * 0.74, size * 0.32);
        p.setBrush(Qt::NoBrush);
        p.drawPath(tick);
    }
    return pm;
}

QIcon StatusImages::icon(const QString& key) {
    QIcon icon;
    for (int size : {16, 32}) icon.addPixmap(picture(key, size));
    return icon;
}

void PrepareList(QTreeWidget& list) {
    list.setRootIsDecorated(false);
    list.setUniformRowHeights(true);
    list.setAllColumnsShowFocus(true);
    list.setSelectionMode(QAbstractItemView::SingleSelection);
    list.setSelectionBehavior(QAbstractItemView::SelectRows);
    list.setEditTriggers(QAbstractItemView::NoEditTriggers);
    list.setIconSize(QSize(16, 16));
    // The last column takes what room is left, so its dates and names are not cut short.
    list.header()->setStretchLastSection(true);
}

void SetHeadings(QTreeWidget& list, const QList<Heading>& headings) {
    list.clear();
    list.setColumnCount(int(headings.size()));
    QStringList labels;
    for (const Heading& h : headings) labels << h.text;
    list.setHeaderLabels(labels);
    for (int c = 0; c < headings.size(); ++c) {
        const int twips = headings[c].twips < 0 ? kDefaultTwips : headings[c].twips;
        list.setColumnHidden(c, twips == 0);
        if (twips > 0) list.setColumnWidth(c, text::TwipsToPixels(twips));
    }
}

QTreeWidgetItem* AddLine(QTreeWidget& list, const QString& text, const QStringList& subItems, const QString& iconKey) {
    auto* item = new QTreeWidgetItem(QStringList{text} + subItems);
    for (int c = 0; c < item->columnCount(); ++c) item->setToolTip(c, item->text(c));
    item->setIcon(0, StatusImages::icon(iconKey));
    item->setData(0, kIconKeyRole, iconKey);
    list.addTopLevelItem(item);
    return item;
}

void SelectFirstLine(QTreeWidget& list) {
    if (QTreeWidgetItem* first = list.topLevelItem(0)) list.setCurrentItem(first);
}

QString IconKey(const QTreeWidgetItem& line) { return line.data(0, kIconKeyRole).toString(); }

QTreeWidgetItem* SelectedLine(const QTreeWidget& list) {
    const QList<QTreeWidgetItem*> selected = list.selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

QLineEdit* ReadOnlyBox(QWidget* parent, const char* name) {
    auto* b = new QLineEdit(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setReadOnly(true);
    ShowAsReadOnly(b);
    return b;
}

void ShowAsReadOnly(QWidget* box, bool readOnly) {
    QPalette p = box->palette();
    p.setColor(QPalette::Base, readOnly ? box->palette().color(QPalette::Window)
                                        : QApplication::palette(box).color(QPalette::Base));
    box->setPalette(p);
}

QLabel* ScreenHeading(QWidget* parent, const QString& text) {
    auto* heading = new QLabel(text, parent);
    heading->setObjectName(QStringLiteral("lblHeading"));
    QFont f = heading->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.4);
    heading->setFont(f);
    return heading;
}

}  // namespace mss::notices
