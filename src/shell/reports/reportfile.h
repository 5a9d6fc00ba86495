#pragma once
// A report file: parameter fields, data queries, page and layout, read from the
// human-readable ".rpt" format described in docs/REPORTS.md.
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>

namespace mss::reports {

// Failure numbers of the report engine (the database's own numbers pass through).
namespace errnum {
constexpr long FileNotFound = 53;
constexpr long MalformedFile = 20500;
constexpr long UnknownField = 20501;
constexpr long ParameterRejected = 20502;
constexpr long ImageNotFound = 20503;
}

// Fails with a report file's failure, naming the file and the line when there is one.
[[noreturn]] void fail(long number, const QString& file, int line, const QString& what);

enum class ParamType { Text, Number, Date, Boolean };

// A text with {...} references: {?Param}, {query.Column}, {Column} (the current row of a
// table), {company}, {title}, {page}, {pages}, {printdate}; each may carry formats
// after "|", applied in order.
struct TemplatePiece {
    enum Kind { Literal, Param, QueryField, RowField, Special } kind = Literal;
    QString text;    // literal text, or the name referred to
    QString query;   // QueryField
    QStringList formats;
};
using Template = QList<TemplatePiece>;
// Fails (MalformedFile) on an unclosed brace; `line` is used in the message.
Template parseTemplate(const QString& text, const QString& file, int line);

// A value as a report prints it: null "", dates "MM/dd/yyyy" (with the time when it has
// one), numbers in plain decimal text; then the formats in order.
QString formatValue(const QVariant& value, const QStringList& formats);
bool isKnownFormat(const QString& format);
bool isTrueFlag(const QVariant& value);

struct ParamField {
    QString name;
    ParamType type = ParamType::Text;
    int line = 0;
};

struct QueryDef {
    QString name;
    QString sql;   // T-SQL with {?Param} references
    int line = 0;
};

struct PageDef {
    QPageSize::PageSizeId size = QPageSize::Letter;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF marginsMm{12, 12, 12, 12};   // left, top, right, bottom
    QString fontFamily = QStringLiteral("DejaVu Sans");
    double fontSize = 9;
};

struct TextStyle {
    double size = 0;   // 0: the page's font size
    bool bold = false;
    bool italic = false;
    Qt::Alignment align = Qt::AlignLeft;
};

struct FieldPair {
    QString label;
    QString value;   // template
    int line = 0;
};

enum class Total { None, Sum, Count };

struct Column {
    QString title;
    QString field;   // the column of the row, when given as field=
    QString value;   // template ("{field|format}" when given as field=)
    double width = 10;   // relative weight
    Qt::Alignment align = Qt::AlignLeft;
    bool wrap = false;
    Total total = Total::None;
    QString format;   // applies to the total (and to field= values)
    int line = 0;
};

struct GroupDef {
    QString field;
    QString header;   // template over the group's first row
    QString footer;   // label of the group's total row; empty: no total row
    int line = 0;
};

struct Element {
    enum Kind { Text, Heading, Line, Image, Spacer, Fields, Table, PageBreak } kind = Text;
    int line = 0;
    QString text;   // template of Text/Heading
    TextStyle style;
    double height = 0;   // mm: Spacer, Image
    double width = 0;    // mm: Image, Line (0: full width)
    double thickness = 0.5;   // pt: Line
    QString source;      // Image: file name beside the report file
    // Fields
    int columns = 1;
    double labelWidth = 0;   // mm (0: a third of the column)
    QList<FieldPair> fields;
    // Table
    QString query;
    QList<Column> cols;
    QList<GroupDef> groups;
    QString totalLabel;   // report total row label; empty: none
    QString emptyText;
};

struct Band {
    QList<Element> elements;
};

struct ReportDefinition {
    QString file;
    QString title;
    QList<ParamField> params;
    QList<QueryDef> queries;
    PageDef page;
    Band reportHeader, pageHeader, body, reportFooter, pageFooter;

    int paramIndex(const QString& name) const;
    int queryIndex(const QString& name) const;
};

// Reads a report file; a missing or malformed file fails with its name and line.
ReportDefinition loadReportFile(const QString& path);
ReportDefinition parseReport(const QByteArray& content, const QString& fileName);

}  // namespace mss::reports
