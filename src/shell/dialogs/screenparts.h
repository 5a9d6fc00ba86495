#pragma once
// Pieces the department's small screens share: headings, frames and grids of result rows.
#include <QList>
#include <QStringList>

class QFormLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QWidget;

namespace mss::db { class Recordset; }

namespace mss::ui {

// A bold heading, `scale` times the screen's font.
QLabel* Heading(const QString& text, const QString& name, QWidget* parent, double scale = 1.3);
QGroupBox* Frame(const QString& title, const QString& name, QWidget* parent);
// A command button that Enter in a box never presses by itself.
QPushButton* CommandButton(const QString& text, const QString& name, QWidget* parent);
// A labelled box the screen fills and the worker only reads, added to the form.
QLineEdit* ReadOnlyRow(QFormLayout* form, const QString& label, const QString& name);
// A read-only grid chosen by whole rows, one at a time; the fixed column is the grid's first.
QTableWidget* RowGrid(const QString& name, QWidget* parent);
// Clears the grid, heads it (the fixed column first), sizes the columns (twips; 0 hides a
// column the screen still reads) and lists the result's rows, each value as text.
void FillGrid(QTableWidget* grid, const QStringList& header, const QList<int>& widthsTwips, db::Recordset& rs);

}  // namespace mss::ui
