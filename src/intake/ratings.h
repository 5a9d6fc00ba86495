#pragma once
// The rating tabs of the intake sheet: social functioning (24 roles, four ratings each) and
// problems in the environment (19 problems, two ratings each), with the worker's assessment
// and recommended interventions. The screen embeds them on two of its tab pages.
#include <QList>
#include <QObject>
#include <QString>

class QComboBox;
class QLineEdit;
class QTabWidget;
class QTextEdit;
class QWidget;

namespace mss::intake {

class Ratings : public QObject {
    Q_OBJECT
public:
    static constexpr int kRoles = 24;
    static constexpr int kProblems = 19;

    // Builds the boxes into the two pages; the component lives as long as the social page.
    Ratings(QWidget* socialPage, QWidget* environmentPage);

    QTabWidget* SSTab2;
    QTabWidget* SSTab3;
    QList<QComboBox*> cmbSocialInteraction, cmbSeverityIndex, cmbDurationIndex, cmbCopingIndex,
        cmbPESeverityIndex, cmbPEDurationIndex;
    // The "(SPECIFY)" boxes beside the "Others" rows: usable at any time, never stored.
    QList<QLineEdit*> specifyBoxes;
    QTextEdit* txtAssessment;
    QTextEdit* txtRecommendedInterventions;

    // Gives every rating box its list of index values, keeping the text it already shows.
    void FillLists();
    void LoadSocialFunctioning(const QString& hospNum);
    void LoadEnvironmentProblems(const QString& hospNum);
    // The rating boxes and the two text boxes; the "(SPECIFY)" boxes stay usable either way.
    void setEditable(bool on);

    // Empty when every rating box gives an index id; otherwise a message naming the first box
    // that does not (its column, row and tab).
    QString CheckRatings() const;
    // One record per role (problem), created on the first save and updated in place after.
    // They write within the caller's transaction and begin none of their own.
    void Save_SocialFunctioning(const QString& hospNum);
    void Save_EnvironmentProblems(const QString& hospNum);

private:
    void buildSocialTab(QWidget* page);
    void buildEnvironmentTab(QWidget* page);
};

}  // namespace mss::intake
