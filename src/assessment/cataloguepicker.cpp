#include "assessment/cataloguepicker.h"

#include "shell/db/dbaccess.h"
#include "shell/db/text.h"
#include "shell/dialogs/action.h"
#include "shell/dialogs/prompt.h"

#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QTreeWidget>

namespace mss::assessment {

namespace {
constexpr int kKeyRole = Qt::UserRole;
}

CataloguePicker::CataloguePicker(Catalogue catalogue, QStringList branchesOpenedAtLoad, QWidget* parent)
    : QDialog(parent), catalogue_(catalogue), branches_(std::move(branchesOpenedAtLoad)) {}

QString CataloguePicker::CodeOfKey(const QString& key) { return text::Trim(QString(key).remove('A')); }

QString CataloguePicker::KeyOf(const QTreeWidgetItem* node) { return node->data(0, kKeyRole).toString(); }

void CataloguePicker::Wire(QTreeWidget* tree, QListWidget* chosen, QPushButton* ok, QPushButton* cancel,
                           Removal removal) {
    tree_ = tree;
    chosen_ = chosen;
    // A double-click both opens and picks, in that order, so the view must not toggle by itself.
    tree_->setExpandsOnDoubleClick(false);
    connect(tree_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* node) { ui::RunAction([this, node] { NodeDoubleClicked(node); }); });
    connect(tree_, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* n) { n->setIcon(0, style()->standardIcon(QStyle::SP_DirOpenIcon)); });
    connect(tree_, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* n) { n->setIcon(0, style()->standardIcon(QStyle::SP_DirClosedIcon)); });
    auto remove = [this](QListWidgetItem* item) { delete chosen_->takeItem(chosen_->row(item)); };
    if (removal == Removal::DoubleClick)
        connect(chosen_, &QListWidget::itemDoubleClicked, this, remove);
    else
        connect(chosen_, &QListWidget::itemClicked, this, remove);
    connect(ok, &QPushButton::clicked, this, ui::Guarded([this] { Accept(); }));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CataloguePicker::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) ui::RunAction([this] { Load(); });
}

void CataloguePicker::Load() {
    selected_ = false;
    tree_->clear();
    nodes_.clear();
    loaded_.clear();

    if (QTreeWidgetItem* last = AddChildren(nullptr, "0")) last->setExpanded(true);
    if (QTreeWidgetItem* first = nodes_.value("A1.1")) LoadChildrenOnce(first);
    // A branch the catalogue does not have is skipped rather than failing the whole load.
    for (const QString& code : branches_) {
        if (QTreeWidgetItem* node = nodes_.value("A" + code)) {
            LoadChildrenOnce(node);
            node->setExpanded(true);
        }
    }
    RebuildList(*chosen_, catalogue_, resultCode_, kPickerPadding);
}

QTreeWidgetItem* CataloguePicker::AddChildren(QTreeWidgetItem* parent, const QString& code) {
    db::Recordset rs;
    db::OpenQuery(rs, ChildrenStatement(catalogue_, code));
    QTreeWidgetItem* last = nullptr;
    while (!rs.Eof()) {
        const QString key = "A" + db::FieldText(rs, "Code");
        // Keys identify nodes: a code the procedure repeats is shown once.
        if (!nodes_.contains(key)) {
            auto* node = new QTreeWidgetItem(QStringList{db::FieldText(rs, "Description")});
            node->setData(0, kKeyRole, key);
            node->setIcon(0, style()->standardIcon(QStyle::SP_DirClosedIcon));
            if (parent)
                parent->addChild(node);
            else
                tree_->addTopLevelItem(node);
            nodes_.insert(key, node);
            last = node;
        }
        rs.MoveNext();
    }
    rs.Close();
    return last;
}

void CataloguePicker::LoadChildrenOnce(QTreeWidgetItem* node) {
    if (loaded_.contains(node)) return;
    AddChildren(node, CodeOfKey(KeyOf(node)));
    loaded_.insert(node);
}

void CataloguePicker::NodeDoubleClicked(QTreeWidgetItem* node) {
    if (!node) return;
    const QString key = KeyOf(node);
    if (key.size() > 1) {
        LoadChildrenOnce(node);
        node->setExpanded(!node->isExpanded());
    }
    pickedCode_ = CodeOfKey(key);
    pickedDescription_ = node->text(0);
    if (ListHoldsCode(*chosen_, pickedCode_)) {
        ui::MsgBox("Item is already added in the list.", ui::Icon::Information);
        return;
    }
    chosen_->addItem(ListItemText(pickedDescription_, pickedCode_, kPickerPadding));
}

void CataloguePicker::Accept() {
    resultCode_ = CodeListOf(*chosen_);
    selected_ = true;
    accept();
}

}  // namespace mss::assessment
