#include "assessment/frmassessmentlist.h"
#include "assessment/frmarr.h"
#include "shell/dialogs/screenparts.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace mss::assessment {

using ui::FillGrid;
using ui::Frame;
using ui::RowGrid;

frmAssessmentList::frmAssessmentList(QWidget* parent) : QDialog(parent) {
    setObjectName("frmAssessmentList");
    setWindowTitle("Medical Social Service");
    auto* layout = new QVBoxLayout(this);
    fraList = Frame("List of Previous Assessment", "fraList", this);
    auto* frame = new QVBoxLayout(fraList);
    GridAssessment = RowGrid("GridAssessment", fraList);
    frame->addWidget(GridAssessment);
    layout->addWidget(fraList, 1);
    auto* buttons = new QHBoxLayout;
    cmdClose = ui::CommandButton("&Close", "cmdClose", this);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    layout->addLayout(buttons);
    connect(cmdClose, &QPushButton::clicked, this, [this] { close(); });
    resize(820, 320);
}

void frmAssessmentList::Bind(db::Recordset& rs) {
    FillGrid(GridAssessment, frmARR::previousHeader().split('|'), frmARR::previousWidths(), rs);
}

}  // namespace mss::assessment
