#include "shell/reports/reportrender.h"
#include "shell/db/connection.h"
#include "shell/db/sqltext.h"
#include "shell/db/text.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QRegularExpression>
#include <cmath>

namespace mss::reports {

namespace {

constexpr double kPointsPerMm = 72.0 / 25.4;
// Painting gives every text box 2pt of slack, so a label needs more than that to stay clear of its value.
constexpr double kLabelGap = 5;

QString dateLiteral(const QDate& d) { return text::DateMDY(d); }

// Text measured on a 72 dpi device, so that one unit is one point on every page.
class Measure {
public:
    Measure() : device_(1, 1, QImage::Format_ARGB32) {
        device_.setDotsPerMeterX(2835);
        device_.setDotsPerMeterY(2835);
    }
    const QFontMetricsF& metrics(const QString& family, double size, bool bold, bool italic) {
        const QString key = QStringLiteral("%1|%2|%3").arg(size).arg(bold).arg(italic);
        auto it = cache_.find(key);
        if (it == cache_.end()) {
            QFont f(family);
            f.setPointSizeF(size);
            f.setBold(bold);
            f.setItalic(italic);
            f.setHintingPreference(QFont::PreferNoHinting);
            it = cache_.insert(key, std::make_shared<QFontMetricsF>(f, &device_));
        }
        return **it;
    }

private:
    QImage device_;
    QHash<QString, std::shared_ptr<QFontMetricsF>> cache_;
};

struct Result {
    QStringList columns;
    QHash<QString, int> index;   // lower case
    QList<QVector<QVariant>> rows;
};

class Layout {
public:
    Layout(const ReportDefinition& def, const QList<QVariant>& bound, const RenderContext& ctx,
           QHash<QString, Result> results)
        : def_(def), bound_(bound), ctx_(ctx), results_(std::move(results)) {
        out_.file = def.file;
        // {title} is the paper's own title; the caller's title is the window's caption.
        out_.title = def.title.isEmpty() ? ctx.title : def.title;
        out_.page = def.page;
        const QSizeF size = out_.pageSizePoints();
        const QMarginsF m = def.page.marginsMm * kPointsPerMm;
        content_ = QRectF(m.left(), m.top(), size.width() - m.left() - m.right(),
                          size.height() - m.top() - m.bottom());
    }

    RenderedReport run() {
        // Header and footer heights are fixed per report; measured with the first page's values.
        pageNo_ = 1;
        pages_ = 1;
        const double headerH = measureBand(def_.pageHeader);
        const double footerH = measureBand(def_.pageFooter);
        top_ = content_.top() + (headerH > 0 ? headerH + 4 : 0);
        bottom_ = content_.bottom() - (footerH > 0 ? footerH + 4 : 0);
        if (bottom_ - top_ < 72) fail(reports::errnum::MalformedFile, def_.file, 0,
                                      QStringLiteral("page headers and footers leave no room for the body"));
        out_.pages << RenderedPage{};
        y_ = top_;
        flow(def_.reportHeader);
        flow(def_.body);
        flow(def_.reportFooter);
        pages_ = static_cast<int>(out_.pages.size());
        for (int i = 0; i < out_.pages.size(); ++i) {
            pageNo_ = i + 1;
            current_ = &out_.pages[i].items;
            double y = content_.top();
            placeBand(def_.pageHeader, y);
            y = content_.bottom() - footerH;
            placeBand(def_.pageFooter, y);
        }
        return std::move(out_);
    }

private:
    // ---- values
    const Result& result(const QString& query, int line) const {
        auto it = results_.constFind(query.toLower());
        if (it == results_.constEnd()) fail(reports::errnum::UnknownField, def_.file, line,
                                            QStringLiteral("unknown query \"%1\"").arg(query));
        return *it;
    }
    int column(const Result& r, const QString& name, const QString& query, int line) const {
        const int c = r.index.value(name.toLower(), -1);
        if (c < 0) fail(reports::errnum::UnknownField, def_.file, line,
                        QStringLiteral("unknown field {%1} (query %2 returns %3)")
                            .arg(query.isEmpty() ? name : query + "." + name, tableQuery_,
                                 r.columns.join(", ")));
        return c;
    }
    QString paramText(const QString& name, const QStringList& formats) const {
        const int i = def_.paramIndex(name);
        QVariant v = bound_.value(i);
        if (def_.params[i].type == ParamType::Date && v.isValid()) v = v.toDate().startOfDay();
        if (def_.params[i].type == ParamType::Boolean && v.isValid() && formats.isEmpty())
            return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        return formatValue(v, formats);
    }
    // `row` is the current row of the table being laid out (nullptr outside tables).
    QString expand(const QString& text, int line, const QVector<QVariant>* row = nullptr,
                   const Result* rowResult = nullptr) const {
        if (!text.contains('{')) return text;
        QString out;
        for (const TemplatePiece& p : parseTemplate(text, def_.file, line)) {
            switch (p.kind) {
            case TemplatePiece::Literal: out += p.text; break;
            case TemplatePiece::Param: out += paramText(p.text, p.formats); break;
            case TemplatePiece::QueryField: {
                const Result& r = result(p.query, line);
                const int c = column(r, p.text, p.query, line);
                out += r.rows.isEmpty() ? QString() : formatValue(r.rows.first().value(c), p.formats);
                break;
            }
            case TemplatePiece::RowField: {
                if (!rowResult) fail(reports::errnum::UnknownField, def_.file, line,
                                     QStringLiteral("unknown field {%1}").arg(p.text));
                const int c = column(*rowResult, p.text, QString(), line);
                out += row ? formatValue(row->value(c), p.formats) : QString();
                break;
            }
            case TemplatePiece::Special:
                if (p.text == "company") out += formatValue(ctx_.company, p.formats);
                else if (p.text == "title") out += formatValue(out_.title, p.formats);
                else if (p.text == "page") out += QString::number(pageNo_);
                else if (p.text == "pages") out += QString::number(pages_);
                else if (p.text == "printdate")
                    out += formatValue(ctx_.printDate, p.formats.isEmpty() ? QStringList{"datetime"} : p.formats);
                break;
            }
        }
        return out;
    }

    // ---- drawing primitives
    double fontSize(const TextStyle& s) const { return s.size > 0 ? s.size : def_.page.fontSize; }
    const QFontMetricsF& fm(double size, bool bold, bool italic = false) {
        return measure_.metrics(def_.page.fontFamily, size, bold, italic);
    }
    double textHeight(const QString& t, double width, double size, bool bold, bool italic, bool wrap) {
        const QFontMetricsF& m = fm(size, bold, italic);
        if (!wrap || t.isEmpty()) return m.height();
        return std::max(m.height(), m.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, t).height());
    }
    void addText(const QRectF& r, const QString& t, double size, bool bold, bool italic, int flags) {
        if (t.isEmpty()) return;
        DrawItem d;
        d.kind = DrawItem::Text;
        d.rect = r;
        d.text = t;
        d.fontSize = size;
        d.bold = bold;
        d.italic = italic;
        d.flags = flags;
        current_->append(d);
    }
    void addLine(double x1, double y, double x2, double thickness = 0.5) {
        DrawItem d;
        d.kind = DrawItem::Line;
        d.rect = QRectF(QPointF(x1, y), QPointF(x2, y));
        d.thickness = thickness;
        current_->append(d);
    }

    // ---- pagination
    bool fits(double h) const { return y_ + h <= bottom_ + 0.01; }
    void newPage() {
        out_.pages << RenderedPage{};
        current_ = &out_.pages.last().items;
        y_ = top_;
        if (table_) tableHeader();
    }
    void ensure(double h) {
        if (!fits(h) && y_ > top_ + 0.01) newPage();
    }

    double measureBand(const Band& b) {
        QList<DrawItem> scratch;
        QList<DrawItem>* saved = current_;
        current_ = &scratch;
        double y = 0;
        placeBand(b, y);
        current_ = saved;
        return y;
    }
    // Page headers and footers: no page breaks inside them.
    void placeBand(const Band& b, double& y) {
        for (const Element& e : b.elements) y += placeSimple(e, y);
    }
    void flow(const Band& b) {
        current_ = &out_.pages.last().items;
        for (const Element& e : b.elements) {
            if (e.kind == Element::Table) {
                table(e);
            } else if (e.kind == Element::Fields) {
                fields(e);
            } else if (e.kind == Element::PageBreak) {
                if (y_ > top_ + 0.01) newPage();
            } else {
                const double h = placeSimple(e, y_, /*measureOnly=*/true);
                ensure(h);
                y_ += placeSimple(e, y_);
            }
        }
    }

    // Text, heading, line, image, spacer, fields: returns the height used.
    double placeSimple(const Element& e, double y, bool measureOnly = false) {
        const double x = content_.left();
        const double w = content_.width();
        switch (e.kind) {
        case Element::Text:
        case Element::Heading: {
            const QString t = expand(e.text, e.line);
            const double size = fontSize(e.style) + (e.kind == Element::Heading && e.style.size <= 0 ? 1 : 0);
            const double before = e.kind == Element::Heading ? 4 : 0;
            const double h = textHeight(t, w, size, e.style.bold, e.style.italic, true);
            if (!measureOnly) {
                addText(QRectF(x, y + before, w, h), t, size, e.style.bold, e.style.italic,
                        int(e.style.align) | Qt::TextWordWrap);
                if (e.kind == Element::Heading) addLine(x, y + before + h + 1, x + w, 0.6);
            }
            return before + h + (e.kind == Element::Heading ? 3 : 1);
        }
        case Element::Line: {
            const double lw = e.width > 0 ? std::min(w, e.width * kPointsPerMm) : w;
            const double lx = e.style.align & Qt::AlignRight ? x + w - lw
                            : e.style.align & Qt::AlignHCenter ? x + (w - lw) / 2 : x;
            if (!measureOnly) addLine(lx, y + 2, lx + lw, e.thickness);
            return 4 + e.thickness;
        }
        case Element::Spacer:
            return e.height * kPointsPerMm;
        case Element::Image: {
            const QImage img = image(e);
            const double h = e.height * kPointsPerMm;
            double iw = e.width > 0 ? e.width * kPointsPerMm : h * img.width() / std::max(1, img.height());
            iw = std::min(iw, w);
            const double ix = e.style.align & Qt::AlignRight ? x + w - iw
                            : e.style.align & Qt::AlignHCenter ? x + (w - iw) / 2 : x;
            if (!measureOnly) {
                DrawItem d;
                d.kind = DrawItem::Image;
                d.rect = QRectF(ix, y, iw, h);
                d.image = img;
                current_->append(d);
            }
            return h + 2;
        }
        case Element::Fields:
            return fieldRows(e, y, measureOnly, nullptr);
        default:
            return 0;
        }
    }
    QImage image(const Element& e) {
        auto it = images_.constFind(e.source);
        if (it != images_.constEnd()) return *it;
        const QString path = QFileInfo(def_.file).absoluteDir().filePath(e.source);
        QImage img(path);
        if (img.isNull()) fail(reports::errnum::ImageNotFound, def_.file, e.line,
                               QStringLiteral("image \"%1\" cannot be read").arg(e.source));
        images_.insert(e.source, img);
        return img;
    }

    // A grid of "label: value" pairs. With `rows` set it lays out row by row with breaks.
    double fieldRows(const Element& e, double y0, bool measureOnly, QList<double>* rows) {
        const double size = fontSize(e.style);
        const double colW = content_.width() / e.columns;
        const double labelW = e.labelWidth > 0 ? e.labelWidth * kPointsPerMm : colW / 3;
        double y = y0;
        for (int i = 0; i < e.fields.size(); i += e.columns) {
            double h = fm(size, false).height();
            QList<QPair<QString, QString>> texts;
            for (int c = 0; c < e.columns && i + c < e.fields.size(); ++c) {
                const FieldPair& f = e.fields[i + c];
                texts << qMakePair(expand(f.label, f.line), expand(f.value, f.line));
                const double lw = f.label.isEmpty() ? 0 : labelW;
                h = std::max(h, textHeight(texts.last().second, colW - lw - 4, size, e.style.bold, false, true));
                h = std::max(h, textHeight(texts.last().first, labelW - kLabelGap, size, false, false, true));
            }
            h += 2;
            if (rows) rows->append(h);
            if (!measureOnly) {
                for (int c = 0; c < texts.size(); ++c) {
                    const double cx = content_.left() + c * colW;
                    const double lw = e.fields[i + c].label.isEmpty() ? 0 : labelW;
                    addText(QRectF(cx, y, labelW - kLabelGap, h), texts[c].first, size, false, false,
                            Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
                    addText(QRectF(cx + lw, y, colW - lw - 4, h), texts[c].second, size, e.style.bold, false,
                            int(e.style.align) | Qt::AlignTop | Qt::TextWordWrap);
                }
            }
            y += h;
        }
        return y - y0 + 2;
    }
    void fields(const Element& e) {
        // Row by row, so a long form may run over to the next page.
        Element one = e;
        for (int i = 0; i < e.fields.size(); i += e.columns) {
            one.fields = e.fields.mid(i, e.columns);
            const double h = fieldRows(one, y_, true, nullptr) - 2;
            ensure(h);
            y_ += fieldRows(one, y_, false, nullptr) - 2;
        }
        y_ += 2;
    }

    // ---- tables
    struct Cols {
        QList<double> x, w;
    };
    void tableHeader() {
        const Element& e = *table_;
        const double size = fontSize(e.style);
        double h = fm(size, true).height();
        for (int c = 0; c < e.cols.size(); ++c)
            h = std::max(h, textHeight(e.cols[c].title, cols_.w[c] - 3, size, true, false, true));
        for (int c = 0; c < e.cols.size(); ++c)
            addText(QRectF(cols_.x[c], y_, cols_.w[c] - 3, h), e.cols[c].title, size, true, false,
                    int(e.cols[c].align) | Qt::AlignBottom | Qt::TextWordWrap);
        y_ += h + 1;
        addLine(content_.left(), y_, content_.right(), 0.8);
        y_ += 2;
    }
    void row(const QStringList& cells, bool bold, double lineAbove = 0) {
        const Element& e = *table_;
        const double size = fontSize(e.style);
        const QFontMetricsF& m = fm(size, bold);
        double h = m.height();
        for (int c = 0; c < cells.size(); ++c)
            if (e.cols[c].wrap) h = std::max(h, textHeight(cells[c], cols_.w[c] - 3, size, bold, false, true));
        h += 1.5 + (lineAbove > 0 ? 2 : 0);
        ensure(h);
        if (lineAbove > 0) {
            addLine(content_.left(), y_ + 0.5, content_.right(), lineAbove);
            y_ += 2;
            h -= 2;
        }
        for (int c = 0; c < cells.size(); ++c) {
            const Column& col = e.cols[c];
            double cw = cols_.w[c] - 3;
            // Total labels run on over the empty cells after them.
            if (bold)
                for (int n = c + 1; n < cells.size() && cells[n].isEmpty(); ++n) cw += cols_.w[n];
            const QString t = col.wrap ? cells[c] : m.elidedText(cells[c], Qt::ElideRight, cw);
            addText(QRectF(cols_.x[c], y_, cw, h), t, size, bold, false,
                    int(col.align) | Qt::AlignTop | (col.wrap ? Qt::TextWordWrap : 0));
        }
        y_ += h;
    }
    QString totalText(const Column& c, double sum, long count) const {
        if (c.total == Total::Count) return QString::number(count);
        return formatValue(sum, c.format.isEmpty() ? QStringList{"amount"} : QStringList{c.format});
    }
    void table(const Element& e) {
        const Result& r = result(e.query, e.line);
        tableQuery_ = e.query;
        // Every reference is checked against the query's columns, rows or not.
        QList<int> groupCol;
        for (const GroupDef& g : e.groups) {
            groupCol << column(r, g.field, QString(), g.line);
            expand(g.header, g.line, nullptr, &r);
            expand(g.footer, g.line, nullptr, &r);
        }
        QList<int> fieldCol;
        for (const Column& c : e.cols) {
            fieldCol << (c.field.isEmpty() ? -1 : column(r, c.field, QString(), c.line));
            expand(c.value, c.line, nullptr, &r);
        }
        double weights = 0;
        for (const Column& c : e.cols) weights += c.width;
        cols_ = Cols{};
        double x = content_.left();
        for (const Column& c : e.cols) {
            cols_.x << x;
            cols_.w << content_.width() * c.width / weights;
            x += cols_.w.last();
        }
        const double size = fontSize(e.style);
        ensure(fm(size, true).height() * 3 + 6);
        table_ = &e;
        tableHeader();

        const int ng = e.groups.size();
        const int nc = e.cols.size();
        QVector<QVector<double>> sums(ng + 1, QVector<double>(nc, 0));
        QVector<long> counts(ng + 1, 0);
        QVector<QVariant> groupValue(ng);
        const QVector<QVariant>* lastRow = nullptr;
        auto closeGroups = [&](int from) {
            for (int g = ng - 1; g >= from; --g) {
                if (!e.groups[g].footer.isEmpty()) {
                    QStringList cells;
                    for (int c = 0; c < nc; ++c)
                        cells << (e.cols[c].total != Total::None ? totalText(e.cols[c], sums[g + 1][c], counts[g + 1])
                                                                  : QString());
                    const int labelAt = firstPlainColumn(e);
                    if (labelAt >= 0) cells[labelAt] = expand(e.groups[g].footer, e.groups[g].line, lastRow, &r);
                    row(cells, true, 0.4);
                    y_ += 3;
                }
                sums[g + 1].fill(0);
                counts[g + 1] = 0;
            }
        };
        for (int i = 0; i < r.rows.size(); ++i) {
            const QVector<QVariant>& data = r.rows[i];
            int changed = -1;
            for (int g = 0; g < ng; ++g) {
                if (i == 0 || text::VariantText(data[groupCol[g]]) != text::VariantText(groupValue[g])) {
                    changed = g;
                    break;
                }
            }
            if (changed >= 0) {
                if (i > 0) closeGroups(changed);
                for (int g = changed; g < ng; ++g) {
                    groupValue[g] = data[groupCol[g]];
                    const double gh = fm(size, true).height() * 2 + 4;
                    ensure(gh + 3);
                    y_ += g == 0 && i > 0 ? 2 : 0;
                    addText(QRectF(content_.left(), y_, content_.width(), fm(size, true).height()),
                            expand(e.groups[g].header, e.groups[g].line, &data, &r), size, true, false,
                            Qt::AlignLeft | Qt::AlignTop);
                    y_ += fm(size, true).height() + 2;
                }
            }
            QStringList cells;
            for (int c = 0; c < nc; ++c) {
                cells << expand(e.cols[c].value, e.cols[c].line, &data, &r);
                if (e.cols[c].total == Total::Sum) {
                    bool ok = false;
                    const QVariant& v = data[fieldCol[c]];
                    double d = v.typeId() == QMetaType::QString ? text::Val(v.toString()) : v.toDouble(&ok);
                    if (!std::isfinite(d)) d = 0;
                    for (int g = 0; g <= ng; ++g) sums[g][c] += d;
                }
            }
            for (int g = 0; g <= ng; ++g) ++counts[g];
            row(cells, false);
            lastRow = &data;
        }
        if (!r.rows.isEmpty()) closeGroups(0);
        if (r.rows.isEmpty() && !e.emptyText.isEmpty()) {
            ensure(fm(size, false).height() + 2);
            addText(QRectF(content_.left(), y_, content_.width(), fm(size, false).height()),
                    expand(e.emptyText, e.line), size, false, true, Qt::AlignLeft | Qt::AlignTop);
            y_ += fm(size, false).height() + 2;
        }
        if (!e.totalLabel.isEmpty()) {
            QStringList cells;
            for (int c = 0; c < nc; ++c)
                cells << (e.cols[c].total != Total::None ? totalText(e.cols[c], sums[0][c], counts[0]) : QString());
            const int labelAt = firstPlainColumn(e);
            if (labelAt >= 0) cells[labelAt] = expand(e.totalLabel, e.line);
            row(cells, true, 0.8);
        }
        table_ = nullptr;
        y_ += 4;
    }
    static int firstPlainColumn(const Element& e) {
        for (int c = 0; c < e.cols.size(); ++c)
            if (e.cols[c].total == Total::None) return c;
        return -1;
    }

    const ReportDefinition& def_;
    const QList<QVariant>& bound_;
    const RenderContext& ctx_;
    QHash<QString, Result> results_;
    RenderedReport out_;
    Measure measure_;
    QHash<QString, QImage> images_;
    QRectF content_;
    double top_ = 0, bottom_ = 0, y_ = 0;
    int pageNo_ = 1, pages_ = 1;
    QList<DrawItem>* current_ = nullptr;
    const Element* table_ = nullptr;
    Cols cols_;
    QString tableQuery_;
};

}  // namespace

QPageLayout RenderedReport::pageLayout() const {
    return QPageLayout(QPageSize(page.size), page.orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Point);
}

QSizeF RenderedReport::pageSizePoints() const {
    return pageLayout().fullRectPoints().size();
}

QString RenderedReport::pageText(int index) const {
    QStringList out;
    if (index < 0 || index >= pages.size()) return QString();
    for (const DrawItem& d : pages[index].items)
        if (d.kind == DrawItem::Text) out << d.text;
    return out.join('\n');
}

QList<QVariant> bindParameters(const ReportDefinition& def, const QVariantList& values) {
    QList<QVariant> bound;
    for (int i = 0; i < def.params.size(); ++i) {
        if (i >= values.size()) {
            bound << QVariant();
            continue;
        }
        const ParamField& p = def.params[i];
        const QVariant& v = values[i];
        const QString asText = text::VariantText(v);
        auto reject = [&] {
            fail(reports::errnum::ParameterRejected, def.file, p.line,
                 QStringLiteral("the value \"%1\" does not fit the %2 parameter field %3")
                     .arg(asText, p.type == ParamType::Date ? "date" : p.type == ParamType::Number ? "number" : "boolean",
                          p.name));
        };
        switch (p.type) {
        case ParamType::Text:
            bound << QVariant(asText);
            break;
        case ParamType::Number:
            if (text::Trim(asText).isEmpty()) bound << QVariant();
            else if (!text::IsNumeric(asText)) reject();
            else bound << QVariant(text::Val(asText));
            break;
        case ParamType::Date: {
            if (v.typeId() == QMetaType::QDate) bound << QVariant(v.toDate());
            else if (v.typeId() == QMetaType::QDateTime) bound << QVariant(v.toDateTime().date());
            else if (text::Trim(asText).isEmpty()) bound << QVariant();
            else {
                const QDateTime dt = text::ParseDateTime(text::Trim(asText));
                if (!dt.isValid()) reject();
                bound << QVariant(dt.date());
            }
            break;
        }
        case ParamType::Boolean: {
            if (v.typeId() == QMetaType::Bool) { bound << v; break; }
            const QString t = text::Trim(asText).toLower();
            if (t.isEmpty()) bound << QVariant();
            else if (t == "true" || t == "1" || t == "yes") bound << QVariant(true);
            else if (t == "false" || t == "0" || t == "no") bound << QVariant(false);
            else reject();
            break;
        }
        }
    }
    return bound;
}

QString querySql(const ReportDefinition& def, const QueryDef& query, const QList<QVariant>& bound) {
    static const QRegularExpression ref(QStringLiteral("\\{\\?([A-Za-z_][A-Za-z0-9_]*)([+-]\\d+)?\\}"));
    QString out;
    qsizetype at = 0;
    auto it = ref.globalMatch(query.sql);
    while (it.hasNext()) {
        const auto m = it.next();
        out += query.sql.mid(at, m.capturedStart() - at);
        at = m.capturedEnd();
        const int i = def.paramIndex(m.captured(1));
        const ParamField& p = def.params[i];
        const QVariant v = bound.value(i);
        if (!m.captured(2).isEmpty() && p.type != ParamType::Date && p.type != ParamType::Number)
            fail(reports::errnum::MalformedFile, def.file, query.line,
                 QStringLiteral("{?%1%2}: only dates and numbers take an offset").arg(p.name, m.captured(2)));
        const int offset = m.captured(2).toInt();
        switch (p.type) {
        case ParamType::Text:
            out += db::Sql("'").val(v.toString()).lit("'").text();
            break;
        case ParamType::Number:
            out += v.isValid() ? db::Sql().num(v.toDouble() + offset).text() : QStringLiteral("NULL");
            break;
        case ParamType::Date:
            out += v.isValid() ? "'" + dateLiteral(v.toDate().addDays(offset)) + "'" : QStringLiteral("NULL");
            break;
        case ParamType::Boolean:
            out += v.isValid() ? (v.toBool() ? QStringLiteral("1") : QStringLiteral("0")) : QStringLiteral("NULL");
            break;
        }
    }
    out += query.sql.mid(at);
    return out;
}

RenderedReport renderReport(const ReportDefinition& def, const QList<QVariant>& bound,
                            db::Connection& connection, const RenderContext& context) {
    QHash<QString, Result> results;
    for (const QueryDef& q : def.queries) {
        db::ResultTable t;
        try {
            t = connection.Execute(querySql(def, q, bound));
        } catch (const db::Failure& f) {
            fail(f.Number, def.file, q.line, QStringLiteral("query %1 failed: %2").arg(q.name, f.Description));
        }
        Result r;
        r.columns = t.columns;
        for (int c = 0; c < t.columns.size(); ++c) r.index.insert(t.columns[c].toLower(), c);
        r.rows = std::move(t.rows);
        results.insert(q.name.toLower(), std::move(r));
    }
    return Layout(def, bound, context, std::move(results)).run();
}

void paintPage(QPainter& painter, const RenderedReport& report, int index) {
    if (index < 0 || index >= report.pages.size()) return;
    const QPaintDevice* dev = painter.device();
    const double sx = dev->logicalDpiX() / 72.0;
    const double sy = dev->logicalDpiY() / 72.0;
    painter.save();
    painter.scale(sx, sy);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setPen(Qt::black);
    for (const DrawItem& d : report.pages[index].items) {
        switch (d.kind) {
        case DrawItem::Text: {
            QFont f(report.page.fontFamily);
            // The painter is scaled to points already; the device would scale the font again.
            f.setPointSizeF(d.fontSize * 72.0 / dev->logicalDpiY());
            f.setBold(d.bold);
            f.setItalic(d.italic);
            f.setHintingPreference(QFont::PreferNoHinting);
            painter.setFont(f);
            painter.drawText(d.rect.adjusted(0, 0, 2, 2), d.flags, d.text);
            break;
        }
        case DrawItem::Line:
            painter.setPen(QPen(Qt::black, d.thickness));
            painter.drawLine(d.rect.topLeft(), d.rect.bottomRight());
            painter.setPen(Qt::black);
            break;
        case DrawItem::Image:
            painter.drawImage(d.rect, d.image);
            break;
        }
    }
    painter.restore();
}

void writePdf(const RenderedReport& report, const QString& path) {
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setPageLayout(report.pageLayout());
    writer.setTitle(report.title);
    writer.setCreator(QStringLiteral("Medical Social Service"));
    QPainter painter;
    if (!painter.begin(&writer))
        throw db::Failure(db::errnum::FileWrite, QStringLiteral("Report"), QStringLiteral("%1: the file cannot be written").arg(path));
    for (int i = 0; i < report.pages.size(); ++i) {
        if (i > 0) writer.newPage();
        paintPage(painter, report, i);
    }
    painter.end();
}

void printReport(const RenderedReport& report, QPrinter& printer, int from, int to) {
    printer.setFullPage(true);
    printer.setPageLayout(report.pageLayout());
    const int first = from > 0 ? from - 1 : 0;
    const int last = to > 0 ? std::min<int>(to, report.pages.size()) - 1 : report.pages.size() - 1;
    QPainter painter;
    if (!painter.begin(&printer))
        throw db::Failure(db::errnum::Printer, QStringLiteral("Report"), QStringLiteral("The printer cannot be used."));
    for (int i = first; i <= last; ++i) {
        if (i > first) printer.newPage();
        paintPage(painter, report, i);
    }
    painter.end();
}

}  // namespace mss::reports
