#pragma once
// Small builders the intake sheet's layout files share.
#include <QStringList>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace mss::intake::parts {

QLineEdit* Box(const char* name, QWidget* parent);
// A drop-down box that also takes a text not among its items (stored values no longer listed).
QComboBox* DropDown(const char* name, QWidget* parent);
QPlainTextEdit* Memo(const char* name, QWidget* parent);
QLabel* Caption(const QString& text, QWidget* parent);
// One column of every row a query gives, as the items of a list.
QStringList ListItems(const QString& sql, const QString& column);
// label, then the control, in (row, column) and (row, column + 1).
void AddRow(QGridLayout* grid, int row, int column, const QString& label, QWidget* control, int span = 1);

}  // namespace mss::intake::parts
