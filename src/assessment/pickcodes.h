#pragma once
// The assessment screen's "Add/ Search Services" and "Add/ Search Activity": hand the shown
// list to a picker and take its choice back.
#include "assessment/codelist.h"

class QListWidget;
class QWidget;

namespace mss::assessment {

// Shows the catalogue's picker with the codes of `shown`. After OK the picked code list
// replaces `kept` and `shown` is rebuilt from it; returns whether that happened.
bool PickCodes(Catalogue catalogue, QListWidget& shown, QString& kept, QWidget* parent = nullptr);

}  // namespace mss::assessment
