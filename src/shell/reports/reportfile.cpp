#include "shell/reports/reportfile.h"
#include "shell/db/error.h"
#include "shell/db/text.h"

#include <QDateTime>
#include <QLocale>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace mss::reports {

void fail(long number, const QString& file, int line, const QString& what) {
    const QString where = line > 0 ? QStringLiteral("%1, line %2: ").arg(file).arg(line)
                                   : QStringLiteral("%1: ").arg(file);
    throw db::Failure(number, QStringLiteral("Report"), where + what);
}

namespace {

const QStringList& specialNames() {
    static const QStringList names{"company", "title", "page", "pages", "printdate"};
    return names;
}

class Parser {
public:
    Parser(const QByteArray& content, const QString& file) : xml_(content), file_(file) {}

    ReportDefinition run() {
        def_.file = file_;
        if (!next() || xml_.name() != QLatin1String("report")) error("the file must start with <report>");
        def_.title = attr("title");
        int stage = 0;   // parameters, queries, page, layout: in this order
        while (next()) {
            const QString n = xml_.name().toString();
            const int at = n == "parameter" ? 0 : n == "query" ? 1 : n == "page" ? 2 : 3;
            if (at < stage) error(QStringLiteral("<%1> must come before the layout it serves").arg(n));
            stage = at;
            if (n == "parameter") parameter();
            else if (n == "query") query();
            else if (n == "page") page();
            else if (n == "reportHeader") band(def_.reportHeader);
            else if (n == "pageHeader") band(def_.pageHeader);
            else if (n == "body") band(def_.body);
            else if (n == "reportFooter") band(def_.reportFooter);
            else if (n == "pageFooter") band(def_.pageFooter);
            else error(QStringLiteral("unknown element <%1>").arg(n));
        }
        if (xml_.hasError()) error(xml_.errorString());
        validate();
        return def_;
    }

private:
    // Moves to the next start element inside the current one; false at its end.
    bool next() {
        while (!xml_.atEnd()) {
            const auto t = xml_.readNext();
            if (t == QXmlStreamReader::StartElement) return true;
            if (t == QXmlStreamReader::EndElement) return false;
            if (t == QXmlStreamReader::Characters && !xml_.isWhitespace())
                error(QStringLiteral("unexpected text \"%1\"").arg(xml_.text().toString().trimmed().left(40)));
        }
        if (xml_.hasError()) error(xml_.errorString());
        return false;
    }
    int line() const { return static_cast<int>(xml_.lineNumber()); }
    [[noreturn]] void error(const QString& what) { fail(errnum::MalformedFile, file_, line(), what); }
    QString attr(const char* name, const QString& fallback = QString()) const {
        const auto a = xml_.attributes();
        return a.hasAttribute(QLatin1String(name)) ? a.value(QLatin1String(name)).toString() : fallback;
    }
    QString required(const char* name) {
        const QString v = attr(name);
        if (v.trimmed().isEmpty()) error(QStringLiteral("<%1> needs %2=").arg(xml_.name().toString(), name));
        return v;
    }
    double number(const char* name, double fallback) {
        const QString v = attr(name);
        if (v.isEmpty()) return fallback;
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (!ok || d < 0) error(QStringLiteral("%1=\"%2\" is not a number").arg(name, v));
        return d;
    }
    bool flag(const char* name) {
        const QString v = attr(name).toLower();
        if (v.isEmpty() || v == "false" || v == "no") return false;
        if (v == "true" || v == "yes") return true;
        error(QStringLiteral("%1=\"%2\" must be true or false").arg(name, v));
    }
    Qt::Alignment align(Qt::Alignment fallback = Qt::AlignLeft) {
        const QString v = attr("align").toLower();
        if (v.isEmpty()) return fallback;
        if (v == "left") return Qt::AlignLeft;
        if (v == "center" || v == "centre") return Qt::AlignHCenter;
        if (v == "right") return Qt::AlignRight;
        error(QStringLiteral("align=\"%1\" must be left, center or right").arg(v));
    }
    QString elementText() {
        const QString t = xml_.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        if (xml_.hasError()) error(xml_.errorString());
        return t;
    }
    void noChildren() {
        if (next()) error(QStringLiteral("<%1> takes no elements inside").arg(xml_.name().toString()));
    }

    void parameter() {
        ParamField p;
        p.line = line();
        p.name = required("name");
        const QString type = attr("type", "text").toLower();
        if (type == "text") p.type = ParamType::Text;
        else if (type == "number") p.type = ParamType::Number;
        else if (type == "date") p.type = ParamType::Date;
        else if (type == "boolean") p.type = ParamType::Boolean;
        else error(QStringLiteral("unknown parameter type \"%1\"").arg(type));
        if (def_.paramIndex(p.name) >= 0) error(QStringLiteral("parameter %1 declared twice").arg(p.name));
        def_.params << p;
        noChildren();
    }
    void query() {
        QueryDef q;
        q.line = line();
        q.name = required("name");
        if (def_.queryIndex(q.name) >= 0) error(QStringLiteral("query %1 declared twice").arg(q.name));
        q.sql = elementText().trimmed();
        if (q.sql.isEmpty()) fail(errnum::MalformedFile, file_, q.line, QStringLiteral("query %1 is empty").arg(q.name));
        def_.queries << q;
    }
    void page() {
        PageDef& p = def_.page;
        const QString size = attr("size", "Letter").toLower();
        if (size == "letter") p.size = QPageSize::Letter;
        else if (size == "legal") p.size = QPageSize::Legal;
        else if (size == "a4") p.size = QPageSize::A4;
        else if (size == "a5") p.size = QPageSize::A5;
        else error(QStringLiteral("unknown page size \"%1\"").arg(size));
        const QString o = attr("orientation", "portrait").toLower();
        if (o == "portrait") p.orientation = QPageLayout::Portrait;
        else if (o == "landscape") p.orientation = QPageLayout::Landscape;
        else error(QStringLiteral("orientation must be portrait or landscape"));
        const QString m = attr("margins");
        if (!m.isEmpty()) {
            const QStringList parts = m.split(',');
            QList<double> v;
            for (const QString& s : parts) {
                bool ok = false;
                v << s.trimmed().toDouble(&ok);
                if (!ok || v.last() < 0) error(QStringLiteral("margins=\"%1\" must be millimetres").arg(m));
            }
            if (v.size() == 1) p.marginsMm = QMarginsF(v[0], v[0], v[0], v[0]);
            else if (v.size() == 4) p.marginsMm = QMarginsF(v[0], v[1], v[2], v[3]);
            else error(QStringLiteral("margins takes one value or four (left, top, right, bottom)"));
        }
        p.fontFamily = attr("font", p.fontFamily);
        p.fontSize = number("fontSize", p.fontSize);
        if (p.fontSize < 4) error(QStringLiteral("fontSize is too small"));
        noChildren();
    }
    TextStyle style() {
        TextStyle s;
        s.size = number("size", 0);
        s.bold = flag("bold");
        s.italic = flag("italic");
        s.align = align();
        return s;
    }
    void band(Band& b) {
        while (next()) {
            Element e;
            e.line = line();
            const QString n = xml_.name().toString();
            if (n == "text" || n == "heading") {
                e.kind = n == "text" ? Element::Text : Element::Heading;
                e.style = style();
                if (e.kind == Element::Heading) e.style.bold = true;
                e.text = elementText().trimmed();
            } else if (n == "line") {
                e.kind = Element::Line;
                e.width = number("width", 0);
                e.thickness = number("thickness", 0.5);
                e.style.align = align();
                noChildren();
            } else if (n == "image") {
                e.kind = Element::Image;
                e.source = required("src");
                e.width = number("width", 0);
                e.height = number("height", 15);
                e.style.align = align();
                noChildren();
            } else if (n == "spacer") {
                e.kind = Element::Spacer;
                e.height = number("height", 3);
                noChildren();
            } else if (n == "pagebreak") {
                e.kind = Element::PageBreak;
                noChildren();
            } else if (n == "fields") {
                e.kind = Element::Fields;
                e.columns = static_cast<int>(number("columns", 1));
                if (e.columns < 1) error(QStringLiteral("columns must be at least 1"));
                e.labelWidth = number("labelWidth", 0);
                e.style = style();
                while (next()) {
                    if (xml_.name() != QLatin1String("field")) error(QStringLiteral("<fields> holds only <field>"));
                    FieldPair f;
                    f.line = line();
                    f.label = attr("label");
                    f.value = attr("value");
                    noChildren();
                    e.fields << f;
                }
            } else if (n == "table") {
                table(e);
            } else {
                error(QStringLiteral("unknown element <%1>").arg(n));
            }
            b.elements << e;
        }
    }
    void table(Element& e) {
        e.kind = Element::Table;
        e.query = required("query");
        e.totalLabel = attr("total");
        e.emptyText = attr("empty");
        e.style = style();
        while (next()) {
            const QString n = xml_.name().toString();
            if (n == "group") {
                if (!e.cols.isEmpty()) error(QStringLiteral("<group> must come before the columns"));
                GroupDef g;
                g.line = line();
                g.field = required("field");
                g.header = attr("header", QStringLiteral("{%1}").arg(g.field));
                g.footer = attr("footer");
                noChildren();
                e.groups << g;
            } else if (n == "column") {
                Column c;
                c.line = line();
                c.title = attr("title");
                const QString field = attr("field");
                c.field = field;
                c.value = attr("value");
                if (field.isEmpty() == c.value.isEmpty()) error(QStringLiteral("<column> needs either field= or value="));
                c.format = attr("format");
                if (!field.isEmpty())
                    c.value = c.format.isEmpty() ? QStringLiteral("{%1}").arg(field)
                                                 : QStringLiteral("{%1|%2}").arg(field, c.format);
                c.width = number("width", 10);
                if (c.width <= 0) error(QStringLiteral("width must be more than 0"));
                c.align = align();
                c.wrap = flag("wrap");
                const QString t = attr("total").toLower();
                if (t.isEmpty() || t == "none") c.total = Total::None;
                else if (t == "sum") c.total = Total::Sum;
                else if (t == "count") c.total = Total::Count;
                else error(QStringLiteral("total must be sum, count or none"));
                if (c.total == Total::Sum && field.isEmpty()) error(QStringLiteral("a summed column needs field="));
                noChildren();
                e.cols << c;
            } else {
                error(QStringLiteral("<table> holds only <group> and <column>"));
            }
        }
        if (e.cols.isEmpty()) fail(errnum::MalformedFile, file_, e.line, QStringLiteral("a table needs columns"));
    }

    // References to parameters and queries must name declared ones; a row field only
    // makes sense inside a table.
    void checkTemplate(const QString& text, int line, bool inTable) {
        for (const TemplatePiece& p : parseTemplate(text, file_, line)) {
            if (p.kind == TemplatePiece::Param && def_.paramIndex(p.text) < 0)
                fail(errnum::UnknownField, file_, line, QStringLiteral("unknown parameter field {?%1}").arg(p.text));
            if (p.kind == TemplatePiece::QueryField && def_.queryIndex(p.query) < 0)
                fail(errnum::UnknownField, file_, line, QStringLiteral("unknown query \"%1\" in {%1.%2}").arg(p.query, p.text));
            for (const QString& f : p.formats)
                if (!isKnownFormat(f))
                    fail(errnum::MalformedFile, file_, line, QStringLiteral("unknown format \"%1\"").arg(f));
            if (p.kind == TemplatePiece::RowField && !inTable)
                fail(errnum::UnknownField, file_, line, QStringLiteral("unknown field {%1}").arg(p.text));
        }
    }
    void checkBand(const Band& b) {
        for (const Element& e : b.elements) {
            checkTemplate(e.text, e.line, false);
            for (const FieldPair& f : e.fields) {
                checkTemplate(f.label, f.line, false);
                checkTemplate(f.value, f.line, false);
            }
            if (e.kind == Element::Table) {
                if (def_.queryIndex(e.query) < 0)
                    fail(errnum::UnknownField, file_, e.line, QStringLiteral("unknown query \"%1\"").arg(e.query));
                for (const GroupDef& g : e.groups) {
                    checkTemplate(g.header, g.line, true);
                    checkTemplate(g.footer, g.line, true);
                }
                for (const Column& c : e.cols) checkTemplate(c.value, c.line, true);
                checkTemplate(e.totalLabel, e.line, false);
                checkTemplate(e.emptyText, e.line, false);
            }
        }
    }
    void validate() {
        static const QRegularExpression ref(QStringLiteral("\\{\\?([A-Za-z_][A-Za-z0-9_]*)(?:[+-]\\d+)?\\}"));
        for (const QueryDef& q : def_.queries) {
            auto it = ref.globalMatch(q.sql);
            while (it.hasNext()) {
                const auto m = it.next();
                if (def_.paramIndex(m.captured(1)) < 0)
                    fail(errnum::UnknownField, file_, q.line,
                         QStringLiteral("query %1 refers to unknown parameter field {?%2}").arg(q.name, m.captured(1)));
            }
        }
        for (const Band* b : {&def_.reportHeader, &def_.pageHeader, &def_.body, &def_.reportFooter, &def_.pageFooter})
            checkBand(*b);
    }

    QXmlStreamReader xml_;
    QString file_;
    ReportDefinition def_;
};

}  // namespace

namespace {

bool isNumberPattern(const QString& f) {
    static const QRegularExpression re(QStringLiteral("^[#,]*0(\\.0+)?$|^[#,]*0?\\.0+$"));
    return re.match(f).hasMatch();
}
bool isDatePattern(const QString& f) {
    static const QRegularExpression re(QStringLiteral("^[dMyhHmsAP/:.\\- ,]+$"));
    return re.match(f).hasMatch() && f.contains(QRegularExpression(QStringLiteral("[dMyhHms]")));
}
QString numberPattern(double v, const QString& f) {
    const int dot = f.indexOf('.');
    const int decimals = dot < 0 ? 0 : f.size() - dot - 1;
    QLocale en(QLocale::English, QLocale::UnitedStates);
    if (!f.contains(',')) en.setNumberOptions(QLocale::OmitGroupSeparator);
    return en.toString(v, 'f', decimals);
}
double numberOf(const QVariant& v, bool* ok) {
    if (!v.isValid() || v.isNull()) { *ok = false; return 0; }
    if (v.typeId() == QMetaType::QString) {
        const QString t = v.toString().trimmed();
        if (!text::IsNumeric(t)) { *ok = false; return 0; }
        *ok = true;
        return text::Val(t);
    }
    return v.toDouble(ok);
}
QDateTime dateOf(const QVariant& v) {
    if (v.typeId() == QMetaType::QDateTime) return v.toDateTime();
    if (v.typeId() == QMetaType::QDate) return v.toDate().startOfDay();
    if (v.typeId() == QMetaType::QString) return text::ParseDateTime(v.toString());
    return {};
}

}  // namespace

bool isTrueFlag(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return false;
    if (v.typeId() == QMetaType::Bool) return v.toBool();
    if (v.typeId() == QMetaType::QString) {
        const QString t = v.toString().trimmed().toUpper();
        if (text::IsNumeric(t)) return text::Val(t) != 0;
        return t == "Y" || t == "YES" || t == "T" || t == "TRUE" || t == "X";
    }
    return v.toDouble() != 0;
}

bool isKnownFormat(const QString& raw) {
    const QString f = raw.trimmed();
    static const QStringList plain{"amount", "number", "integer", "date", "datetime", "time", "upper", "lower",
                                   "trim", "flag"};
    if (plain.contains(f)) return true;
    if (f.startsWith("flag:")) return f.count('/') == 1;
    if (f.startsWith("item:")) {
        bool ok = false;
        return f.mid(5).toInt(&ok) >= 0 && ok;
    }
    if (f.startsWith("empty:")) return true;
    return isNumberPattern(f) || isDatePattern(f);
}

QString formatValue(const QVariant& value, const QStringList& formats) {
    QVariant v = value;
    for (const QString& raw : formats) {
        const QString f = raw.trimmed();
        bool ok = false;
        if (f == "amount" || isNumberPattern(f)) {
            const double d = numberOf(v, &ok);
            if (ok) v = f == "amount" ? text::AmountText(d) : numberPattern(d, f);
        } else if (f == "number") {
            const double d = numberOf(v, &ok);
            if (ok) v = text::NumberText(d);
        } else if (f == "integer") {
            const double d = numberOf(v, &ok);
            if (ok) v = QString::number(qRound64(d));
        } else if (f == "date" || f == "datetime" || f == "time" || isDatePattern(f)) {
            const QDateTime dt = dateOf(v);
            if (dt.isValid()) {
                const QString pattern = f == "date" ? QStringLiteral("MM/dd/yyyy")
                                      : f == "datetime" ? QStringLiteral("MM/dd/yyyy hh:mm AP")
                                      : f == "time" ? QStringLiteral("hh:mm AP") : f;
                v = QLocale(QLocale::English, QLocale::UnitedStates).toString(dt, pattern);
            }
        } else if (f == "flag" || f.startsWith("flag:")) {
            const QString yes = f == "flag" ? QStringLiteral("Yes") : f.mid(5).section('/', 0, 0);
            const QString no = f == "flag" ? QStringLiteral("No") : f.mid(5).section('/', 1);
            v = isTrueFlag(v) ? yes : no;
        } else if (f.startsWith("item:")) {
            v = text::VariantText(v).split('|').value(f.mid(5).toInt());
        } else if (f.startsWith("empty:")) {
            if (text::Trim(text::VariantText(v)).isEmpty()) v = f.mid(6);
        } else if (f == "upper") {
            v = formatValue(v, {}).toUpper();
        } else if (f == "lower") {
            v = formatValue(v, {}).toLower();
        } else if (f == "trim") {
            v = text::Trim(formatValue(v, {}));
        }
    }
    if (!v.isValid() || v.isNull()) return QString();
    if (v.typeId() == QMetaType::QDateTime || v.typeId() == QMetaType::QDate) {
        const QDateTime dt = dateOf(v);
        const QLocale en(QLocale::English, QLocale::UnitedStates);
        return dt.time() == QTime(0, 0) ? en.toString(dt, QStringLiteral("MM/dd/yyyy"))
                                        : en.toString(dt, QStringLiteral("MM/dd/yyyy hh:mm AP"));
    }
    return text::VariantText(v);
}

int ReportDefinition::paramIndex(const QString& name) const {
    for (int i = 0; i < params.size(); ++i)
        if (params[i].name.compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

int ReportDefinition::queryIndex(const QString& name) const {
    for (int i = 0; i < queries.size(); ++i)
        if (queries[i].name.compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

Template parseTemplate(const QString& text, const QString& file, int line) {
    Template out;
    QString literal;
    int i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c != '{') {
            literal += c;
            ++i;
            continue;
        }
        const int close = text.indexOf('}', i + 1);
        if (close < 0) fail(errnum::MalformedFile, file, line, QStringLiteral("unclosed { in \"%1\"").arg(text));
        if (!literal.isEmpty()) {
            out << TemplatePiece{TemplatePiece::Literal, literal, {}, {}};
            literal.clear();
        }
        QStringList parts = text.mid(i + 1, close - i - 1).split('|');
        const QString ref = parts.takeFirst().trimmed();
        if (ref.isEmpty()) fail(errnum::MalformedFile, file, line, QStringLiteral("empty {} in \"%1\"").arg(text));
        TemplatePiece p;
        p.formats = parts;
        if (ref.startsWith('?')) {
            p.kind = TemplatePiece::Param;
            p.text = ref.mid(1);
        } else if (ref.contains('.')) {
            p.kind = TemplatePiece::QueryField;
            p.query = ref.section('.', 0, 0);
            p.text = ref.section('.', 1);
        } else if (specialNames().contains(ref.toLower())) {
            p.kind = TemplatePiece::Special;
            p.text = ref.toLower();
        } else {
            p.kind = TemplatePiece::RowField;
            p.text = ref;
        }
        out << p;
        i = close + 1;
    }
    if (!literal.isEmpty()) out << TemplatePiece{TemplatePiece::Literal, literal, {}, {}};
    return out;
}

ReportDefinition parseReport(const QByteArray& content, const QString& fileName) {
    return Parser(content, fileName).run();
}

ReportDefinition loadReportFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        fail(errnum::FileNotFound, path, 0, QStringLiteral("the report file cannot be opened"));
    ReportDefinition def = parseReport(f.readAll(), path);
    return def;
}

}  // namespace mss::reports
