#pragma once
// Picks activities from the activity catalogue into a code list.
#include "assessment/cataloguepicker.h"

#include <memory>

namespace Ui { class frmSearchActivity; }

namespace mss::assessment {

class frmSearchActivity : public CataloguePicker {
    Q_OBJECT
    Q_PROPERTY(QString Activity READ Activity)
    Q_PROPERTY(QString ActivityCode READ ActivityCode)

public:
    explicit frmSearchActivity(QWidget* parent = nullptr);
    ~frmSearchActivity() override;

    QString Activity() const { return PickedDescription(); }
    QString ActivityCode() const { return PickedCode(); }

private:
    std::unique_ptr<Ui::frmSearchActivity> ui_;
};

}  // namespace mss::assessment
