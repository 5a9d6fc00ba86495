#pragma once
// What the service and the activity picker share: a catalogue tree loaded branch by branch
// and a list of the chosen items that becomes a code list on OK.
#include "assessment/codelist.h"

#include <QDialog>
#include <QHash>
#include <QSet>

class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace mss::assessment {

class CataloguePicker : public QDialog {
    Q_OBJECT
    Q_PROPERTY(QString ResultCode READ ResultCode WRITE SetResultCode)
    Q_PROPERTY(bool Selected READ Selected)

public:
    // In: the caller's code list; out: the chosen code list after OK.
    QString ResultCode() const { return resultCode_; }
    void SetResultCode(const QString& codeList) { resultCode_ = codeList; }
    bool Selected() const { return selected_; }

    // The node double-clicked last.
    QString PickedDescription() const { return pickedDescription_; }
    QString PickedCode() const { return pickedCode_; }

    // A node's code from its key "A" + code.
    static QString CodeOfKey(const QString& key);
    static QString KeyOf(const QTreeWidgetItem* node);

protected:
    enum class Removal { DoubleClick, SingleClick };

    CataloguePicker(Catalogue catalogue, QStringList branchesOpenedAtLoad, QWidget* parent);
    // Called by the forms once their controls exist.
    void Wire(QTreeWidget* tree, QListWidget* chosen, QPushButton* ok, QPushButton* cancel, Removal removal);

    void showEvent(QShowEvent* event) override;

private:
    void Load();
    QTreeWidgetItem* AddChildren(QTreeWidgetItem* parent, const QString& code);
    void LoadChildrenOnce(QTreeWidgetItem* node);
    void NodeDoubleClicked(QTreeWidgetItem* node);
    void Accept();

    Catalogue catalogue_;
    QStringList branches_;
    QTreeWidget* tree_ = nullptr;
    QListWidget* chosen_ = nullptr;
    QHash<QString, QTreeWidgetItem*> nodes_;   // by key
    QSet<QTreeWidgetItem*> loaded_;
    QString resultCode_;
    bool selected_ = false;
    QString pickedDescription_;
    QString pickedCode_;
};

}  // namespace mss::assessment
