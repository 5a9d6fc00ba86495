#include "assessment/frmsearchservice.h"

#include "ui_frmsearchservice.h"

namespace mss::assessment {

frmSearchService::frmSearchService(QWidget* parent)
    : CataloguePicker(Catalogue::Service,
                      {"1.6", "1.6.1", "1.7", "1.9", "1.10", "1.10.1", "1.11", "1.13", "1.19", "1.22", "1.23",
                       "1.25", "1.26"},
                      parent),
      ui_(std::make_unique<Ui::frmSearchService>()) {
    ui_->setupUi(this);
    Wire(ui_->tvServices, ui_->lstServices, ui_->cmdOK, ui_->cmdCancel, Removal::DoubleClick);
}

frmSearchService::~frmSearchService() = default;

}  // namespace mss::assessment
