#include "patient/frmlistpatient.h"
#include "shell/db/dbaccess.h"
#include "shell/db/sqltext.h"
#include "shell/db/text.h"
#include "shell/dialogs/action.h"
#include "shell/dialogs/prompt.h"
#include "shell/dialogs/settings.h"
#include "ui_frmlistpatient.h"

#include <QCloseEvent>
#include <QCursor>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>
#include <QScreen>

namespace mss::patient {

namespace {

const char* const kHeaders[12] = {" Adm. No.", " Hosp.No.", " Adm.Date", " Last Name", " First Name", " Middle Name",
                                  " Room No.", " MSS  ", " Address", " Dcr.Date", " BillingDate", " Er"};
const char* const kColumns[11] = {"HospNum", "AdmDate", "LastName", "FirstName", "MiddleName", "RoomID",
                                  "MSS", "Address", "dcrdate", "BillingDate", "ERNum"};

enum class HeaderIcon { ArrowUp, ArrowDown, Blank };

QIcon headerIcon(HeaderIcon kind) {
    QPixmap pm(12, 12);
    pm.fill(Qt::transparent);
    if (kind != HeaderIcon::Blank) {
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(64, 64, 64));
        p.setPen(Qt::NoPen);
        const QPolygon up({QPoint(6, 2), QPoint(11, 9), QPoint(1, 9)});
        const QPolygon down({QPoint(1, 3), QPoint(11, 3), QPoint(6, 10)});
        p.drawPolygon(kind == HeaderIcon::ArrowUp ? up : down);
    }
    return QIcon(pm);
}

// A hand pointing, for the MSS-patients link.
QCursor linkCursor() { return QCursor(Qt::PointingHandCursor); }
}  // namespace

frmListPatient::frmListPatient(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::frmListPatient>()) {
    ui->setupUi(this);
    optPatientType = {ui->optPatientType_0, ui->optPatientType_1, ui->optPatientType_2, ui->optPatientType_3};
    optPatientType[0]->setChecked(true);
    for (int i = 0; i < 4; ++i) {
        connect(optPatientType[i], &QRadioButton::clicked, this, [i] { Selection().PatientType = QString::number(i); });
    }
    for (QLineEdit* box : {ui->txtHospNum, ui->txtIDNum, ui->txtLastname, ui->txtFirstname, ui->txtMiddleName}) {
        box->installEventFilter(this);
        connect(box, &QLineEdit::textEdited, this, [this, box](const QString& t) { convertTyped(box, t); });
    }
    connect(ui->cmdSearch, &QPushButton::clicked, this, ui::Guarded([this] { cmdSearch_Click(); }));
    connect(ui->cmdClose, &QPushButton::clicked, this, [this] {
        // Inside the main window the frame closes, and with it this screen.
        if (auto* frame = parentWidget(); frame && frame->inherits("QMdiSubWindow")) frame->close();
        else close();
    });

    ui->lblMSS->installEventFilter(this);
    ui->lblMSS->setMouseTracking(true);
    ui->Frame4->installEventFilter(this);
    setLinkHover(false);

    ui->imgSplitter->installEventFilter(this);
    ui->picSplitter->hide();

    auto* list = ui->lvwSearchPatient;
    list->setColumnCount(12);
    QStringList headers;
    for (const char* h : kHeaders) headers << QString::fromLatin1(h);
    list->setHeaderLabels(headers);
    for (int c = 0; c < 12; ++c) {
        list->setColumnWidth(c, twips(kColumnWidths[c]));
        list->headerItem()->setIcon(c, headerIcon(HeaderIcon::Blank));
    }
    list->header()->setSectionsClickable(true);
    list->header()->setSortIndicatorShown(false);
    list->setSortingEnabled(false);
    connect(list->header(), &QHeaderView::sectionClicked, this, [this](int c) { sortBy(c); });
    connect(list, &QTreeWidget::itemClicked, this, [this] { selectPatient(); });
    connect(list, &QTreeWidget::itemDoubleClicked, this, [this] { selectPatient(); });
    connect(list, &QTreeWidget::currentItemChanged, this, [this, list] {
        if (list->hasFocus()) selectPatient();
    });
    list->installEventFilter(this);
    connect(list, &QTreeWidget::customContextMenuRequested, this, [this, list](const QPoint& at) {
        if (!Selection().HospNum.isEmpty()) emit contextMenuWanted(list->viewport()->mapToGlobal(at));
    });
    ui::rememberColumns(*list->header(), ui::Setting::PatientListColumns);
    list->setEnabled(false);
    ui->pbProgress->hide();
    layoutForScreen();
    setFocusProxy(ui->txtHospNum);
}

frmListPatient::~frmListPatient() = default;

QLineEdit* frmListPatient::txtHospNum() const { return ui->txtHospNum; }
QLineEdit* frmListPatient::txtIDNum() const { return ui->txtIDNum; }
QLineEdit* frmListPatient::txtLastname() const { return ui->txtLastname; }

int frmListPatient::twips(int t) const { return text::TwipsToPixels(t); }

void frmListPatient::layoutForScreen() {
    // The panels are sized from the screen, then follow the splitter.
    const QSize screen = this->screen() ? this->screen()->availableSize() : QSize(1280, 800);
    const int screenH = screen.height() * 15;
    const int pictureH = screenH - (ui->Frame3->height() * 15 + ui->Frame2->height() * 15) - 1650;
    ui->Picture1->resize(ui->Picture1->width(), std::max(ui->Picture1->height(), twips(pictureH)));
    splitterX_ = (ui->Picture1->width() + 4) * 15;
}

void frmListPatient::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int h = height() - 8;
    ui->Picture1->resize(ui->Picture1->width(), h);
    ui->Frame1->resize(ui->Frame1->width(), h);
    ui->picSplitter->resize(ui->picSplitter->width(), h);
    ui->imgSplitter->resize(ui->imgSplitter->width(), h);
    ui->lvwSearchPatient->resize(ui->lvwSearchPatient->width(), h - twips(300));
    SizeControls(splitterX_);
}

void frmListPatient::SizeControls(int x) {
    const int windowW = width() * 15;
    if (x < 750) x = 750;
    if (x > windowW - 750) x = windowW - 750;
    for (QWidget* w : {static_cast<QWidget*>(ui->Frame2), static_cast<QWidget*>(ui->Frame3), static_cast<QWidget*>(ui->Picture1)})
        w->resize(twips(x - 60), w->height());
    for (QWidget* w : {ui->txtLastname, ui->txtHospNum, ui->txtIDNum}) w->resize(std::max(20, twips(x - 750)), w->height());
    ui->cmdSearch->move(std::max(0, twips(x - 1450)), ui->cmdSearch->y());
    ui->imgSplitter->move(twips(x), ui->imgSplitter->y());
    ui->Frame1->move(twips(x + 80), ui->Frame1->y());
    ui->Frame1->resize(std::max(50, width() - (ui->Picture1->width() + twips(240))), ui->Frame1->height());
    ui->lvwSearchPatient->resize(std::max(40, ui->Frame1->width() - twips(150)), ui->lvwSearchPatient->height());
}

void frmListPatient::runOpeningSearch() {
    const PatientSelection& s = Selection();
    if (!s.IDNUM.isEmpty() || !s.HospNum.isEmpty() || !s.PatientName.isEmpty()) {
        ui->pbProgress->show();
        ui::RunAction([&] { SearchPatients(s.HospNum, QString(), s.IDNUM, QString(), QString()); });
    } else {
        ui->pbProgress->hide();
    }
}

void frmListPatient::convertTyped(QLineEdit* box, const QString& typed) {
    QString converted = typed.toUpper();
    if (box != ui->txtHospNum) converted.replace(u'\'', QChar(96));
    if (converted == typed) return;
    const int cursor = box->cursorPosition();
    box->setText(converted);
    box->setCursorPosition(cursor);
}

void frmListPatient::cmdSearch_Click() {
    Selection().HospNum.clear();
    Selection().IDNUM.clear();
    const bool allEmpty = ui->txtHospNum->text().isEmpty() && ui->txtIDNum->text().isEmpty() &&
                          ui->txtLastname->text().isEmpty() && ui->txtFirstname->text().isEmpty() &&
                          ui->txtMiddleName->text().isEmpty();
    if (allEmpty && optPatientType[2]->isChecked()) {
        ui::MsgBox(QStringLiteral("Please specify a search parameter."), ui::Icon::Information);
        return;
    }
    SearchPatients(text::Trim(ui->txtHospNum->text()), text::Trim(ui->txtLastname->text()),
                   text::Trim(ui->txtIDNum->text()), text::Trim(ui->txtFirstname->text()),
                   text::Trim(ui->txtMiddleName->text()));
}

void frmListPatient::enterInBox(QLineEdit* box) {
    if (box == ui->txtHospNum) {
        Selection().IDNUM.clear();
    } else if (box == ui->txtIDNum) {
        Selection().HospNum.clear();
    } else {
        Selection().HospNum.clear();
        Selection().IDNUM.clear();
    }
    ui::RunAction([this] {
        SearchPatients(text::Trim(ui->txtHospNum->text()), text::Trim(ui->txtLastname->text()),
                       text::Trim(ui->txtIDNum->text()), text::Trim(ui->txtFirstname->text()),
                       text::Trim(ui->txtMiddleName->text()));
    });
}

void frmListPatient::lblMSS_Click() {
    Selection().IDNUM.clear();
    Selection().HospNum.clear();
    SearchPatients(text::Trim(ui->txtHospNum->text()), text::Trim(ui->txtLastname->text()),
                   text::Trim(ui->txtIDNum->text()), text::Trim(ui->txtFirstname->text()),
                   text::Trim(ui->txtMiddleName->text()), true);
    Selection().PatientType = QStringLiteral("5");
}

void frmListPatient::SearchPatients(const QString& hospNum, const QString& lastName, const QString& idNum,
                                    const QString& firstName, const QString& middleName, bool mssPatients) {
    const ui::BusyGuard busy;
    auto* list = ui->lvwSearchPatient;
    list->setEnabled(true);
    QString procedure;
    if (mssPatients) procedure = QStringLiteral("MSS..sp_MSS_LoadMSSPatient '");
    else if (optPatientType[1]->isChecked()) procedure = QStringLiteral("MSS..sp_MSS_LoadOutPatient '");
    else if (optPatientType[0]->isChecked()) procedure = QStringLiteral("MSS..sp_MSS_LoadInPatient '");
    else if (optPatientType[2]->isChecked()) procedure = QStringLiteral("MSS..sp_MSS_LoadAllServicePatient '");
    else procedure = QStringLiteral("MSS..sp_MSS_LoadERPatient '");
    db::OpenQuery(rsPatient_, db::Sql(procedure).val(hospNum).lit(QStringLiteral("', '")).val(lastName)
                                  .lit(QStringLiteral("','")).val(idNum).lit(QStringLiteral("','")).val(firstName)
                                  .lit(QStringLiteral("','")).val(middleName).lit(QStringLiteral("'")));
    if (rsPatient_.RecordCount() <= 0 && rsPatient_.Eof()) {
        list->clear();
        list->setEnabled(false);
        ui->lblRecCount->setText(QStringLiteral("Total No. of Records: 0"));
    } else {
        list->setEnabled(true);
        list->clear();
        const long total = rsPatient_.RecordCount();
        ui->pbProgress->show();
        ui->pbProgress->setMaximum(static_cast<int>(std::max(1L, total)));
        ui->pbProgress->setValue(0);
        const int subItems = mssPatients ? 9 : 11;
        bool first = true;
        QList<QTreeWidgetItem*> batch;
        batch.reserve(static_cast<int>(total));
        while (!rsPatient_.Eof()) {
            ui->pbProgress->setValue(ui->pbProgress->value() + 1);
            QTreeWidgetItem* item = nullptr;
            if (first) {
                // Until the first patient is listed, a failure ends the search.
                item = new QTreeWidgetItem(QStringList{db::FieldText(rsPatient_, QStringLiteral("IDNUM"))});
            } else {
                item = new QTreeWidgetItem;
                try {
                    item->setText(0, db::FieldText(rsPatient_, QStringLiteral("IDNUM")));
                } catch (const db::Failure&) {
                }
            }
            batch << item;
            first = false;
            for (int i = 0; i < subItems; ++i) {
                try {
                    item->setText(i + 1, db::FieldText(rsPatient_, QString::fromLatin1(kColumns[i])));
                } catch (const db::Failure&) {
                }
            }
            try {
                rsPatient_.MoveNext();
            } catch (const db::Failure&) {
                break;
            }
        }
        // One insertion keeps a long list from repainting per row.
        list->addTopLevelItems(batch);
        // What is listed: a listing ended early by a failing row shows fewer than were found.
        ui->lblRecCount->setText(QStringLiteral("Total No. of Records: ") + QString::number(list->topLevelItemCount()));
        if (list->topLevelItemCount() > 0) list->setCurrentItem(list->topLevelItem(0));
        if (list->isVisible()) {
            list->setFocus();
            selectPatient();
        }
    }
    ui->pbProgress->hide();
    if (rsPatient_.IsOpen()) rsPatient_.Close();
}

void frmListPatient::selectPatient() {
    QTreeWidgetItem* item = ui->lvwSearchPatient->currentItem();
    if (!item) return;
    PatientSelection& s = Selection();
    s.IDNUM = item->text(0);
    s.HospNum = item->text(1);
    s.RoomID = item->text(6);
    s.PatientName = item->text(3) + QStringLiteral(", ") + item->text(4) + u' ' + item->text(5);
    s.MSSID = item->text(7);
    s.Billdate = item->text(10);
    s.ERNum = item->text(11);
    emit patientChosen();
}

void frmListPatient::sortBy(int column) {
    auto* list = ui->lvwSearchPatient;
    sortOrder_ = sorted_ && sortOrder_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    sorted_ = true;
    sortColumn_ = column;
    list->sortItems(column, sortOrder_);
    for (int c = 0; c < list->columnCount(); ++c) {
        const HeaderIcon icon = c != column ? HeaderIcon::Blank
                                : sortOrder_ == Qt::AscendingOrder ? HeaderIcon::ArrowUp : HeaderIcon::ArrowDown;
        list->headerItem()->setIcon(c, headerIcon(icon));
        list->headerItem()->setData(c, Qt::UserRole, static_cast<int>(icon));
    }
}

void frmListPatient::setLinkHover(bool hover) {
    QFont f = ui->lblMSS->font();
    f.setUnderline(hover);
    ui->lblMSS->setFont(f);
    const QColor colour = hover ? QColor(255, 255, 0) : QColor(192, 192, 255);
    ui->lblMSS->setStyleSheet(QStringLiteral("color: %1;").arg(colour.name()));
    ui->lblMSS->setProperty("hover", hover);
    if (hover) ui->lblMSS->setCursor(linkCursor());
}

bool frmListPatient::eventFilter(QObject* watched, QEvent* event) {
    if (auto* box = qobject_cast<QLineEdit*>(watched); box && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            enterInBox(box);
            return true;
        }
    }
    if (watched == ui->lblMSS) {
        if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) setLinkHover(true);
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            ui::RunAction([this] { lblMSS_Click(); });
    }
    if (watched == ui->Frame4 && event->type() == QEvent::MouseMove) setLinkHover(false);
    if (watched == ui->lvwSearchPatient && event->type() == QEvent::FocusIn) selectPatient();
    if (watched == ui->imgSplitter) {
        if (event->type() == QEvent::MouseButtonPress) {
            dragging_ = true;
            ui->picSplitter->move(ui->imgSplitter->pos());
            ui->picSplitter->show();
            ui->picSplitter->raise();
            return true;
        }
        if (event->type() == QEvent::MouseMove && dragging_) {
            const int x = mapFromGlobal(static_cast<QMouseEvent*>(event)->globalPosition().toPoint()).x();
            const int lo = twips(500), hi = width() - twips(500);
            ui->picSplitter->move(std::clamp(x, lo, std::max(lo, hi)), ui->picSplitter->y());
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease && dragging_) {
            splitterX_ = ui->picSplitter->x() * 15;
            SizeControls(splitterX_);
            ui->picSplitter->hide();
            dragging_ = false;
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmListPatient::closeEvent(QCloseEvent* event) {
    PatientSelection& s = Selection();
    s.IDNUM.clear();
    s.HospNum.clear();
    s.RoomID.clear();
    s.MSSID.clear();
    s.PatientName.clear();
    QWidget::closeEvent(event);
}

}  // namespace mss::patient
