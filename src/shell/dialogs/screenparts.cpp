#include "shell/dialogs/screenparts.h"
#include "shell/db/recordset.h"
#include "shell/db/text.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace mss::ui {

QLabel* Heading(const QString& text, const QString& name, QWidget* parent, double scale) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont f = label->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * scale);
    label->setFont(f);
    return label;
}

QGroupBox* Frame(const QString& title, const QString& name, QWidget* parent) {
    auto* frame = new QGroupBox(title, parent);
    frame->setObjectName(name);
    return frame;
}

QPushButton* CommandButton(const QString& text, const QString& name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* ReadOnlyRow(QFormLayout* form, const QString& label, const QString& name) {
    auto* box = new QLineEdit(form->parentWidget());
    box->setObjectName(name);
    box->setReadOnly(true);
    form->addRow(label, box);
    return box;
}

QTableWidget* RowGrid(const QString& name, QWidget* parent) {
    auto* grid = new QTableWidget(parent);
    grid->setObjectName(name);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    grid->setWordWrap(false);
    return grid;
}

void FillGrid(QTableWidget* grid, const QStringList& header, const QList<int>& widthsTwips, db::Recordset& rs) {
    grid->clear();
    grid->setRowCount(0);
    grid->setColumnCount(header.size());
    grid->setHorizontalHeaderLabels(header);
    for (int c = 0; c < header.size(); ++c) {
        grid->setColumnWidth(c, text::TwipsToPixels(widthsTwips.value(c)));
        grid->setColumnHidden(c, widthsTwips.value(c) == 0);
    }
    const int fields = std::min<int>(rs.FieldCount(), header.size() - 1);
    for (; !rs.Eof(); rs.MoveNext()) {
        const int r = grid->rowCount();
        grid->insertRow(r);
        grid->setItem(r, 0, new QTableWidgetItem);
        for (int c = 0; c < fields; ++c) grid->setItem(r, c + 1, new QTableWidgetItem(text::VariantText(rs.Value(c))));
    }
}

}  // namespace mss::ui
