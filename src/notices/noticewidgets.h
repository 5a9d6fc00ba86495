#pragma once
// What the notice screens share: the status pictures ("open", "clear"), list headings with
// widths in twips, lines carrying their picture's key, and the screens' read-only boxes.
#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>

class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace mss::notices {

// The image list of the notice screens: pictures keyed "open" and "clear".
class StatusImages {
public:
    static QIcon icon(const QString& key);
    static QPixmap picture(const QString& key, int size = 16);
};

struct Heading {
    QString text;
    int twips = -1;   // -1: the list's default width; 0 hides the column (still read)
};

// A list in report view: one selectable line at a time, no tree decoration.
void PrepareList(QTreeWidget& list);
// Clears the columns and lines and adds the headings.
void SetHeadings(QTreeWidget& list, const QList<Heading>& headings);
// Adds a line: its text, its sub-items in column order, and the small picture of `iconKey`.
QTreeWidgetItem* AddLine(QTreeWidget& list, const QString& text, const QStringList& subItems, const QString& iconKey);
// A freshly filled list starts with its first line selected, as the hospital's lists do.
void SelectFirstLine(QTreeWidget& list);
// The picture key a line was given.
QString IconKey(const QTreeWidgetItem& line);
// The selected line, or none.
QTreeWidgetItem* SelectedLine(const QTreeWidget& list);

// A box that shows what the database holds; the worker does not type in it.
QLineEdit* ReadOnlyBox(QWidget* parent, const char* name);
// A box the worker cannot type in looks so: the window's colour behind its text.
void ShowAsReadOnly(QWidget* box, bool readOnly = true);
// The large bold heading at the top of a screen (lblHeading).
QLabel* ScreenHeading(QWidget* parent, const QString& text);

}  // namespace mss::notices
