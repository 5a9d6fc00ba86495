#pragma once
// Chosen service and activity codes travel as one text, each code followed by "|". In the
// lists that show them, an item is the description, a run of blanks and the code, and the
// code is read back from the item's last ten characters.
#include <QString>
#include <QStringList>

class QListWidget;

namespace mss::assessment {

enum class Catalogue { Service, Activity };

// Blanks between description and code.
constexpr int kPickerPadding = 100;      // the pickers' chosen lists
constexpr int kAssessmentPadding = 150;  // lstServices and lstactivity
// Codes longer than this cannot be read back from an item.
constexpr int kCodeWidth = 10;

// "MSS..sp_MSS_GetService '<code>'" or "MSS..sp_MSS_GetActivity '<code>'"; "0" is the top level.
QString ChildrenStatement(Catalogue catalogue, const QString& code);
// The catalogue row of one code.
QString CatalogueStatement(Catalogue catalogue, const QString& code);

// The codes of a code list, trimmed; the part after the last "|" is always dropped.
QStringList SplitCodeList(const QString& codeList);

QString ListItemText(const QString& description, const QString& code, int padding);
QString ListItemCode(const QString& itemText);

// Each item's code followed by "|", in list order.
QString CodeListOf(const QListWidget& list);
bool ListHoldsCode(const QListWidget& list, const QString& code);
// Removes every item whose code is the given one.
void RemoveItemsWithCode(QListWidget& list, const QString& code);

// Clears the list and adds one item per code of the code list that the catalogue knows;
// unknown codes are dropped.
void RebuildList(QListWidget& list, Catalogue catalogue, const QString& codeList, int padding);

}  // namespace mss::assessment
