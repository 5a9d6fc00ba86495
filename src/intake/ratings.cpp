#include "intake/ratings.h"
#include "intake/intakeparts.h"
#include "intake/ratingqueries.h"
#include "shell/db/dbaccess.h"
#include "shell/db/error.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPair>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

namespace mss::intake {

namespace {

const QString kSocialTab = "III.Assesmt of Soc Fxning";
const QString kEnvironmentTab = "IV Problems in the Env";

// Rows that share a page and a heading; `first` is the number of the group's first row.
struct RowGroup {
    QString page;
    QString statement;   // a line of its own shown above the headings, with no boxes
    QStringList headings;
    int first;
    QStringList labels;
};

const QList<RowGroup>& socialGroups() {
    static const QList<RowGroup> groups = {
        {"PART 1", {}, {"FAMILIAL ROLES"}, 0,
         {"PARENT", "SPOUSE", "CHILD", "SIBLING", "OTHER FAMILY MEMBERS", "SIGNIFICANT OTHERS"}},
        {"PART 1", {}, {"OTHER INTER PERSONAL ROLES"}, 6, {"LOVER", "FRIEND", "NEIGHBOR", "MEMBER", "Others"}},
        {"Part 2", {}, {"OCCUPATIONAL ROLES"}, 11,
         {"W0RKER-PAID ECONOMY", "WORKER-HOME", "WORKER-VOLUNTEER", "STUDENT", "Others"}},
        {"Part 2", {}, {"SPECIAL LIFE SITUATION ROLES"}, 16,
         {"CONSUMER", "INPATIENT CLIENT", "OUTPATIENT CLIENT", "PRISONER", "IMMIGRANT-LEGAL", "IMMIGRANT-ILEGAL",
          "IMMIGRANT-REFUGEE", "NO SOCIAL INTERACTION PROBLEM"}},
    };
    return groups;
}

const QList<RowGroup>& environmentGroups() {
    static const QList<RowGroup> groups = {
        {"Part 1", {}, {"A. ECONOMIC/BASIC NEEDS SYSTEM PROBLEMS", "1.FOOD AND NUTRITION"}, 0,
         {"Lack of regular food supply", "Nutritionally inadequate food supply", "Documented malnutrition", "Others"}},
        {"Part 1", {}, {"2. SHELTER"}, 4, {"Nutritionally inadequate food supply", "Documented malnutrition", "Others"}},
        {"Part 1", {}, {"3. EMPLOYMENT"}, 7,
         {"Unemployment,employment  is not available in the community",
          "Underemployment, adequate employment is not available in the community",
          "Inappropriate employment, lack of socially legally acceptable employment in the community"}},
        {"Part 2", {}, {"4. ECONOMIC RESOURCES"}, 10,
         {"Insufficien community resources for basic sustenance",
          "Insufficient resources in the community to provide for needed services beyond sustenance", "Other:"}},
        {"Part 2", {}, {"5.TRANSPORTATION"}, 13, {"No Personal/public trasportation to job/ needed services", "Other:"}},
        {"Part 2", "NO PROBLEM  IN ECONOMIC/BASIC NEEDS SYSTEM", {"B. AFFECTIONAL SUPPORT SYSTEM"}, 15,
         {"Absence of affectional support system", "Support system inadequate to meet affectional needs",
          "Excessively involved support system", "Other:"}},
    };
    return groups;
}

const QList<QPair<int, QString>> kSocialSpecify = {{10, "txtOIPROthers"}, {15, "txtOROthers"}};
const QList<QPair<int, QString>> kEnvironmentSpecify = {
    {3, "txtFNOthers"}, {6, "txtSherlterOthers"}, {12, "txtEROthers"}, {14, "txtTranspoOThers"}, {18, "txtASSOthers"}};

// One column of rating boxes: its heading, its control array, its list (query and column
// shown), the column its stored rating is loaded from, and the field it is saved in.
struct RatingColumn {
    QString heading;
    QString name;
    QList<QComboBox*> Ratings::*boxes;
    QString (*listSql)();
    QString listColumn;
    QString loaded;
    QString field;
};

const QList<RatingColumn>& socialColumns() {
    static const QList<RatingColumn> columns = {
        {"TYPE OF SOCIAL INTERACTION", "cmbSocialInteraction", &Ratings::cmbSocialInteraction,
         &ratingsql::SocialInteractionListSql, "InteractionProb", "SocialInteractValue", "Interaction"},
        {"SEVERITY INDEX", "cmbSeverityIndex", &Ratings::cmbSeverityIndex, &ratingsql::SeverityListSql, "Type",
         "SeverityIndexValue", "SeverityIndex"},
        {"DURATION INDEX", "cmbDurationIndex", &Ratings::cmbDurationIndex, &ratingsql::DurationListSql, "Type",
         "DurationIndexValue", "DurationIndex"},
        {"COPING INDEX", "cmbCopingIndex", &Ratings::cmbCopingIndex, &ratingsql::CopingListSql, "Type",
         "CopingIndexValue", "CopingIndex"},
    };
    return columns;
}

const QList<RatingColumn>& environmentColumns() {
    static const QList<RatingColumn> columns = {
        {"SEVERITY INDEX", "cmbPESeverityIndex", &Ratings::cmbPESeverityIndex, &ratingsql::SeverityListSql, "Type",
         "SeverityIndexValue", "SeverityIndex"},
        {"DURATION INDEX", "cmbPEDurationIndex", &Ratings::cmbPEDurationIndex, &ratingsql::DurationListSql, "Type",
         "DurationIndexValue", "DurationIndex"},
    };
    return columns;
}

const RowGroup& groupOf(const QList<RowGroup>& groups, int row) {
    for (const RowGroup& g : groups)
        if (row >= g.first && row < g.first + g.labels.size()) return g;
    return groups.last();
}

QLabel* boldLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

// The box shows `text`: as its list item when it is one, as typed text otherwise.
void showText(QComboBox* box, const QString& text) {
    const QSignalBlocker quiet(box);
    const int item = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    box->setCurrentIndex(item);
    if (item < 0) box->setEditText(text);
    box->lineEdit()->setCursorPosition(0);   // the id and the start of the name in sight
}

QVBoxLayout* pageLayout(QWidget* page) {
    if (auto* existing = qobject_cast<QVBoxLayout*>(page->layout())) return existing;
    auto* layout = new QVBoxLayout;
    if (page->layout()) {
        // A page that already lays out other things gets the tab below them.
        auto* holder = new QWidget(page);
        holder->setLayout(layout);
        page->layout()->addWidget(holder);
    } else {
        page->setLayout(layout);
    }
    return layout;
}

// The pages of a rating tab control: per page the column headings, then per group its
// statement and headings and one line per row (label, "(SPECIFY)" box, rating boxes).
void buildRows(Ratings& ratings, QTabWidget* tabs, const QList<RowGroup>& groups,
               const QList<RatingColumn>& columns, const QList<QPair<int, QString>>& specify) {
    QHash<QString, QGridLayout*> grids;
    for (const RowGroup& group : groups) {
        QGridLayout* grid = grids.value(group.page);
        if (!grid) {
            auto* page = new QWidget(tabs);
            auto* outer = new QVBoxLayout(page);
            grid = new QGridLayout;
            outer->addLayout(grid);
            outer->addStretch();
            tabs->addTab(page, group.page);
            grids.insert(group.page, grid);
            for (int c = 0; c < columns.size(); ++c)
                grid->addWidget(boldLabel(columns.at(c).heading, page), 0, 2 + c, Qt::AlignCenter);
            grid->setColumnStretch(0, 3);
            for (int c = 0; c < columns.size(); ++c) grid->setColumnStretch(2 + c, 2);
        }
        QWidget* page = grid->parentWidget();
        if (!group.statement.isEmpty()) grid->addWidget(boldLabel(group.statement, page), grid->rowCount(), 0, 1, -1);
        for (const QString& heading : group.headings) grid->addWidget(boldLabel(heading, page), grid->rowCount(), 0, 1, -1);
        for (int r = 0; r < group.labels.size(); ++r) {
            const int row = group.first + r;
            const int line = grid->rowCount();
            auto* label = new QLabel(group.labels.at(r), page);
            label->setWordWrap(true);
            grid->addWidget(label, line, 0);
            for (const auto& [specifyRow, name] : specify) {
                if (specifyRow != row) continue;
                auto* box = new QLineEdit("(SPECIFY)", page);
                box->setObjectName(name);
                grid->addWidget(box, line, 1);
                ratings.specifyBoxes << box;
            }
            for (int c = 0; c < columns.size(); ++c) {
                auto* box = new QComboBox(page);
                box->setObjectName(columns.at(c).name + "_" + QString::number(row));
                box->setEditable(true);
                box->setInsertPolicy(QComboBox::NoInsert);
                // What is typed stays as typed: a number alone is a rating too.
                box->setCompleter(nullptr);
                box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
                box->setMinimumContentsLength(14);
                box->setEnabled(false);
                grid->addWidget(box, line, 2 + c);
                (ratings.*(columns.at(c).boxes)).append(box);
            }
        }
    }
}

void fill(const QList<QComboBox*>& boxes, const QStringList& items) {
    for (QComboBox* box : boxes) {
        const QString shown = box->currentText();
        {
            const QSignalBlocker quiet(box);
            box->clear();
            box->addItems(items);
        }
        showText(box, shown);
    }
}

// The loads read in a transaction of their own; one that fails is rolled back, never left
// open, and the failure goes on to be shown.
void loadRows(const Ratings& ratings, const QString& hospNum, int rows, QString (*sql)(const QString&, int),
              const QList<RatingColumn>& columns) {
    db::InTransaction([&] {
        db::Recordset rs;
        for (int row = 0; row < rows; ++row) {
            db::OpenQuery(rs, sql(hospNum, row));
            if (!rs.Eof())
                for (const RatingColumn& column : columns)
                    showText((ratings.*(column.boxes)).at(row), db::FieldText(rs, column.loaded));
            rs.Close();
        }
    });
}

QString refusal(const QString& tab, const QList<RowGroup>& groups, int row, const QString& heading,
                const QString& text) {
    const RowGroup& group = groupOf(groups, row);
    return QString("The %1 of row \"%2\" (%3, %4) on the tab \"%5\" reads \"%6\", which has no index number. "
                   "Pick a value from its list.")
        .arg(heading, group.labels.at(row - group.first), group.headings.last(), group.page, tab, text);
}

// The first box of the tab without an index id, as a message; empty when there is none.
QString checkTab(const Ratings& ratings, const QString& tab, const QList<RowGroup>& groups,
                 const QList<RatingColumn>& columns, int rows) {
    for (int row = 0; row < rows; ++row)
        for (const RatingColumn& column : columns) {
            const QString text = (ratings.*(column.boxes)).at(row)->currentText();
            if (!ratingsql::IndexIdOf(text)) return refusal(tab, groups, row, column.heading, text);
        }
    return {};
}

// A record for each row whose code names a role (problem): found by the patient and the
// role's id, added when missing, and given the ids of the row's boxes.
void saveRows(const Ratings& ratings, const QString& hospNum, int rows, QString (*idSql)(int),
              QString (*recordSql)(const QString&, const QString&), const QString& tab,
              const QList<RowGroup>& groups, const QList<RatingColumn>& columns) {
    db::Recordset rs;
    for (int row = 0; row < rows; ++row) {
        db::OpenQuery(rs, idSql(row));
        // A row without a role has nowhere to be stored; writing it under the previous row's
        // role would overwrite that role's ratings.
        const bool known = !rs.Eof();
        const QString id = known ? db::FieldText(rs, "ID") : QString();
        rs.Close();
        if (!known) continue;

        QStringList values;
        for (const RatingColumn& column : columns) {
            const QString text = (ratings.*(column.boxes)).at(row)->currentText();
            const auto value = ratingsql::IndexIdOf(text);
            if (!value)
                throw db::Failure(db::errnum::TypeMismatch, "Medical Social Service",
                                  refusal(tab, groups, row, column.heading, text));
            values << *value;
        }
        db::OpenQuery(rs, recordSql(hospNum, id), db::LockType::Optimistic);
        if (rs.Eof()) {
            rs.AddNew();
            rs.SetValue("Hospnum", hospNum);
        }
        rs.SetValue("Description", id);
        for (int c = 0; c < columns.size(); ++c) rs.SetValue(columns.at(c).field, values.at(c));
        rs.Update();
        rs.Close();
    }
}

}  // namespace

Ratings::Ratings(QWidget* socialPage, QWidget* environmentPage) : QObject(socialPage) {
    setObjectName("Ratings");
    SSTab2 = new QTabWidget(socialPage);
    SSTab2->setObjectName("SSTab2");
    pageLayout(socialPage)->addWidget(SSTab2);
    buildRows(*this, SSTab2, socialGroups(), socialColumns(), kSocialSpecify);

    SSTab3 = new QTabWidget(environmentPage);
    SSTab3->setObjectName("SSTab3");
    pageLayout(environmentPage)->addWidget(SSTab3);
    buildRows(*this, SSTab3, environmentGroups(), environmentColumns(), kEnvironmentSpecify);

    auto* part3 = new QWidget(SSTab3);
    auto* layout = new QVBoxLayout(part3);
    const auto textBox = [&](const QString& caption, const QString& name) {
        layout->addWidget(boldLabel(caption, part3));
        auto* box = new QTextEdit(part3);
        box->setObjectName(name);
        box->setAcceptRichText(false);
        box->setTabChangesFocus(true);
        box->setEnabled(false);
        layout->addWidget(box);
        return box;
    };
    txtAssessment = textBox("ASSESSMENT:", "txtAssessment");
    txtRecommendedInterventions = textBox("RECOMMENDED INTERVENTIONS:", "txtRecommendedInterventions");
    SSTab3->addTab(part3, "Part 3");
}

void Ratings::FillLists() {
    for (const auto* columns : {&socialColumns(), &environmentColumns()})
        for (const RatingColumn& column : *columns)
            fill(this->*(column.boxes), parts::ListItems(column.listSql(), column.listColumn));
}

void Ratings::LoadSocialFunctioning(const QString& hospNum) {
    loadRows(*this, hospNum, kRoles, &ratingsql::LoadSocialFunctioningSql, socialColumns());
}

void Ratings::LoadEnvironmentProblems(const QString& hospNum) {
    loadRows(*this, hospNum, kProblems, &ratingsql::LoadEnvironmentProblemsSql, environmentColumns());
}

void Ratings::setEditable(bool on) {
    for (const auto* columns : {&socialColumns(), &environmentColumns()})
        for (const RatingColumn& column : *columns)
            for (QComboBox* box : this->*(column.boxes)) box->setEnabled(on);
    txtAssessment->setEnabled(on);
    txtRecommendedInterventions->setEnabled(on);
}

QString Ratings::CheckRatings() const {
    const QString social = checkTab(*this, kSocialTab, socialGroups(), socialColumns(), kRoles);
    if (!social.isEmpty()) return social;
    return checkTab(*this, kEnvironmentTab, environmentGroups(), environmentColumns(), kProblems);
}

void Ratings::Save_SocialFunctioning(const QString& hospNum) {
    saveRows(*this, hospNum, kRoles, &ratingsql::RoleIdSql, &ratingsql::SocialFunctioningRecordSql, kSocialTab,
             socialGroups(), socialColumns());
}

void Ratings::Save_EnvironmentProblems(const QString& hospNum) {
    saveRows(*this, hospNum, kProblems, &ratingsql::ProblemIdSql, &ratingsql::EnvironmentProblemRecordSql,
             kEnvironmentTab, environmentGroups(), environmentColumns());
}

}  // namespace mss::intake
