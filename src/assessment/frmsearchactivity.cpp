#include "assessment/frmsearchactivity.h"

#include "ui_frmsearchactivity.h"

namespace mss::assessment {

frmSearchActivity::frmSearchActivity(QWidget* parent)
    : CataloguePicker(Catalogue::Activity,
                      {"1.2", "1.2.3", "1.3", "1.3.2", "1.3.5", "1.4", "1.5", "1.6", "1.7", "1.8", "1.8.1",
                       "1.8.2", "1.8.3"},
                      parent),
      ui_(std::make_unique<Ui::frmSearchActivity>()) {
    ui_->setupUi(this);
    Wire(ui_->tvServices, ui_->lstactivity, ui_->cmdOK, ui_->cmdCancel, Removal::SingleClick);
}

frmSearchActivity::~frmSearchActivity() = default;

}  // namespace mss::assessment
