#include "notices/frmdischargenotice.h"
#include "notices/noticewidgets.h"
#include "notices/noticesqueries.h"
#include "shell/db/dbaccess.h"
#include "shell/dialogs/action.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace mss::notices {

frmDischargeNotice::frmDischargeNotice(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmDischargeNotice"));
    setWindowTitle(QStringLiteral("Discharge Notice"));
    auto* layout = new QVBoxLayout(this);
    lvwRequest = new QTreeWidget(this);
    lvwRequest->setObjectName(QStringLiteral("lvwRequest"));
    PrepareList(*lvwRequest);
    layout->addWidget(lvwRequest, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("Legend:"), this));
    imgOpen = new QLabel(this);
    imgOpen->setObjectName(QStringLiteral("imgOpen"));
    bottom->addWidget(imgOpen);
    bottom->addWidget(new QLabel(QStringLiteral("Not Cleared"), this));
    bottom->addSpacing(12);
    imgClear = new QLabel(this);
    imgClear->setObjectName(QStringLiteral("imgClear"));
    bottom->addWidget(imgClear);
    bottom->addWidget(new QLabel(QStringLiteral("Cleared"), this));
    bottom->addStretch();
    cmdSelect = new QPushButton(QStringLiteral("&Select"), this);
    cmdSelect->setObjectName(QStringLiteral("cmdSelect"));
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    for (QPushButton* b : {cmdSelect, cmdClose}) {
        b->setAutoDefault(false);
        bottom->addWidget(b);
    }
    layout->addLayout(bottom);

    connect(cmdSelect, &QPushButton::clicked, this, [this] { choose(); });
    connect(lvwRequest, &QTreeWidget::itemDoubleClicked, this, [this] { choose(); });
    connect(cmdClose, &QPushButton::clicked, this, [this] {
        idnum_.clear();
        reject();
    });
    resize(880, 420);
    load();
}

void frmDischargeNotice::load() {
    idnum_.clear();
    {
        ui::BusyGuard busy;
        db::Recordset rs;
        db::OpenQuery(rs, LoadDischargeNotice());
        SetHeadings(*lvwRequest, {{QStringLiteral("Patient"), 3000},
                                  {QStringLiteral("Room")},
                                  {QStringLiteral("Adm. #")},
                                  {QStringLiteral("Discharge Nurse")},
                                  {QStringLiteral("Notice Time"), 2100}});
        for (; !rs.Eof(); rs.MoveNext()) {
            const bool cleared = !db::FieldText(rs, QStringLiteral("ClearDate")).isEmpty();
            AddLine(*lvwRequest, db::FieldText(rs, QStringLiteral("PatientName")),
                    {db::FieldText(rs, QStringLiteral("RoomID")), db::FieldText(rs, QStringLiteral("IDNUM")),
                     db::FieldText(rs, QStringLiteral("DischargeNurse")), db::FieldText(rs, QStringLiteral("NoticeDate"))},
                    QString::fromLatin1(cleared ? kIconClear : kIconOpen));
        }
        rs.Close();
        SelectFirstLine(*lvwRequest);
    }
    imgClear->setPixmap(StatusImages::picture(QString::fromLatin1(kIconClear)));
    imgOpen->setPixmap(StatusImages::picture(QString::fromLatin1(kIconOpen)));
}

void frmDischargeNotice::choose() {
    const QTreeWidgetItem* line = SelectedLine(*lvwRequest);
    if (!line) return;
    idnum_ = line->text(2);
    accept();
}

}  // namespace mss::notices
