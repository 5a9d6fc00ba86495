#pragma once
// Picks services from the service catalogue into a code list.
#include "assessment/cataloguepicker.h"

#include <memory>

namespace Ui { class frmSearchService; }

namespace mss::assessment {

class frmSearchService : public CataloguePicker {
    Q_OBJECT
    Q_PROPERTY(QString Service READ Service)
    Q_PROPERTY(QString ServiceCode READ ServiceCode)

public:
    explicit frmSearchService(QWidget* parent = nullptr);
    ~frmSearchService() override;

    QString Service() const { return PickedDescription(); }
    QString ServiceCode() const { return PickedCode(); }

private:
    std::unique_ptr<Ui::frmSearchService> ui_;
};

}  // namespace mss::assessment
