#include "assessment/pickcodes.h"

#include "assessment/frmsearchactivity.h"
#include "assessment/frmsearchservice.h"
#include "shell/dialogs/prompt.h"

#include <QListWidget>
#include <memory>

namespace mss::assessment {

bool PickCodes(Catalogue catalogue, QListWidget& shown, QString& kept, QWidget* parent) {
    std::unique_ptr<CataloguePicker> picker;
    if (catalogue == Catalogue::Service)
        picker = std::make_unique<frmSearchService>(parent);
    else
        picker = std::make_unique<frmSearchActivity>(parent);
    picker->SetResultCode(CodeListOf(shown));
    ui::ShowModal(*picker);
    if (!picker->Selected()) return false;
    kept = picker->ResultCode();
    RebuildList(shown, catalogue, kept, kAssessmentPadding);
    return true;
}

}  // namespace mss::assessment
