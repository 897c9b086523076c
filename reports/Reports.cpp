#include "reports/Reports.h"
#include "core/Logging.h"

#include "core/ProgramContext.h"

#include "core/Settings.h"
#include "core/Resources.h"
#include "store/ShellTexts.h"
#include "store/TextTable.h"
#include "image/FileAccess.h"
#include "store/ConfigStore.h"
#include "store/Recordset.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QBuffer>
#include <QTextDocument>
#include <QTextFrame>
#include <QUrl>

namespace Reports {
namespace {

    using Captions = TextTable;

    QString esc(const QVariant& v)
    {
        if (v.isNull())
            return QString();
        QString s = v.toString();
        // A password of four NUL characters (an unused phone-book entry) prints as nothing.
        s.remove(QChar(0));
        return s.toHtmlEscaped();
    }

    QString flag(const QVariant& v) { return v.isNull() ? QStringLiteral("0") : QString::number(v.toInt()); }

    // A number as the report's language writes it (the alarm delay).
    QString number(const QVariant& v, int language)
    {
        bool ok = false;
        const qlonglong n = v.toLongLong(&ok);
        if (v.isNull() || !ok)
            return esc(v);
        // The narrow blank French groups digits with would be laid out as a plain blank, where
        // a line may break: a no-break space keeps the number together.
        return ProgramContext::localeFor(language).toString(n).replace(QChar(0x202F), QChar::Nbsp);
    }

    const char* logoFile(int language)
    {
        switch (language) {
        case 1: return ":/images/PicLogoD.png";
        case 2: return ":/images/PicLogoE.png";
        case 3: return ":/images/PicLogoI.png";
        case 4: return ":/images/PicLogoF.png";
        default: return nullptr;
        }
    }

    // The SMS column of the language: position language + 1 of table SMS.
    QString smsColumn(Connection& con, int language)
    {
        Recordset rs;
        rs.open(con, QStringLiteral("SELECT * FROM \"SMS\" WHERE 0"));
        const int pos = (language >= 1 && language <= 4 ? language : 1) + 1;
        const QString name = pos < rs.fieldCount() ? rs.fieldName(pos) : QStringLiteral("Deutsch");
        rs.close();
        return name;
    }

    QString quoted(const QString& name)
    {
        return QLatin1Char('"') + QString(name).replace('"', "\"\"") + QLatin1Char('"');
    }

    const QString kStyle = QStringLiteral("<style>"
                                          "body { font-family: 'DejaVu Sans', Arial, sans-serif; font-size: 9pt; }"
                                          "h1 { font-size: 15pt; font-weight: bold; margin: 0; }"
                                          "td.h { font-weight: bold; background-color: #e4e8ee; }"
                                          "td.c { text-align: center; }"
                                          "td.l { font-weight: bold; }"
                                          "</style>");

    const QString kLogoTag = QStringLiteral("<img src=\"logo\" width=\"150\" height=\"42\">");

    QString header(const ProgramContext& context, const Report& r)
    {
        QString h = kStyle;
        h += QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"0\"><tr>"
                            "<td valign=\"middle\"><h1>%1</h1></td>")
                 .arg(r.title.toHtmlEscaped());
        if (logoFile(r.language))
            h += QStringLiteral("<td align=\"right\" valign=\"middle\">") + kLogoTag + QStringLiteral("</td>");
        h += QStringLiteral("</tr></table>");
        const QLocale locale = ProgramContext::localeFor(r.language);
        const QString when = ShellTexts::text(context, QStringLiteral("gsBerichtErstellt"), r.language)
                                 .arg(locale.toString(r.created.date(), QLocale::LongFormat),
                                      locale.toString(r.created.time(), QLocale::ShortFormat));
        h += QStringLiteral("<p style=\"font-size: 8pt;\">%1</p><p></p>").arg(when.toHtmlEscaped());
        return h;
    }

    QString tableStart()
    {
        return QStringLiteral("<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
                              "style=\"border-color: #808080; border-style: solid;\">");
    }

    // Two header rows: the first label over the user columns, the digit row below it.
    QString userHeader(const QString& first, const QString& userLabel, const QStringList& tail)
    {
        QString h
            = QStringLiteral(
                  "<tr><td class=\"h\" rowspan=\"2\">%1</td><td class=\"h\" align=\"center\" colspan=\"8\">%2</td>")
                  .arg(first.toHtmlEscaped(), userLabel.toHtmlEscaped());
        // A narrow column must not break its caption inside a word ("Grundzu|stand").
        for (const QString& t : tail)
            h += QStringLiteral("<td class=\"h\" rowspan=\"2\" style=\"white-space: nowrap;\">%1</td>")
                     .arg(t.toHtmlEscaped());
        h += QStringLiteral("</tr><tr>");
        for (int u = 1; u <= 8; ++u)
            h += QStringLiteral("<td class=\"h\" align=\"center\" width=\"4%\">%1</td>").arg(u);
        h += QStringLiteral("</tr>");
        return h;
    }

    void buildInOut(Report& r, Connection& con, const Captions& cap, bool outputs)
    {
        const QString key = outputs ? QStringLiteral("rptKonfigOUT") : QStringLiteral("rptKonfigIN");
        r.caption = cap.at(key, 0,
                           outputs ? QStringLiteral("Konfiguration Relais-Ausgänge")
                                   : QStringLiteral("Konfiguration digitale Eingänge"));
        r.title = cap.at(key, 2, r.caption);
        const QString user = cap.at(QStringLiteral("rptlblUserAD"), 0, QStringLiteral("Benutzer"));
        const QString sms = smsColumn(con, r.language);
        const QString table = outputs ? tbl::Ausgaenge : tbl::Eingaenge;

        QString select = QStringLiteral("SELECT k.\"I/O\"");
        for (int u = 1; u <= 8; ++u)
            select += QStringLiteral(", k.Benutzer%1").arg(u);
        if (outputs)
            select += QStringLiteral(", k.DefaultState");
        select += QStringLiteral(", s.%1 FROM %2 k LEFT JOIN \"SMS\" s ON s.ID = k.SMSID ORDER BY k.rowid")
                      .arg(quoted(sms), quoted(table));
        Recordset rs;
        rs.open(con, select);

        QStringList tail;
        if (outputs)
            tail << ShellTexts::text(con.context(), QStringLiteral("rptlblDefaultState"), r.language);
        tail << QStringLiteral("SMS");
        QString h = header(con.context(), r) + tableStart()
            + userHeader(ShellTexts::text(con.context(), QStringLiteral("rptlblIO"), r.language), user, tail);
        // Row labels: the caption rows the main window writes into column I/O (inputs: rows 17..24,
        // outputs: rows 13..16), so a report in another language than the stored labels still
        // matches; the stored label where the caption table has none.
        int row = 0;
        if (rs.recordCount() > 0) {
            rs.moveFirst();
            while (!rs.eof()) {
                ++row;
                const int k = (row + 1) / 2;
                QString io = cap.row(outputs ? 12 + k : 16 + k);
                io = io.isEmpty() ? esc(rs.value(0)) : io.toHtmlEscaped();
                // Both rows of an input or relay carry the same label; the edge marks of the main
                // window tell them apart (up: rising edge / switching on, down: falling / off).
                if (!io.isEmpty())
                    io += row % 2 ? QStringLiteral(" \u2191") : QStringLiteral(" \u2193");
                h += QStringLiteral("<tr><td>%1</td>").arg(io);
                for (int u = 1; u <= 8; ++u)
                    h += QStringLiteral("<td align=\"center\">%1</td>").arg(flag(rs.value(u)));
                int next = 9;
                if (outputs)
                    h += QStringLiteral("<td align=\"center\">%1</td>").arg(flag(rs.value(next++)));
                h += QStringLiteral("<td width=\"45%\">%1</td></tr>").arg(esc(rs.value(next)));
                rs.moveNext();
            }
        }
        rs.close();
        h += QStringLiteral("</table>");
        r.html = h;
    }

    void buildAlarm(Report& r, Connection& con, const Captions& cap)
    {
        const QString anchor = QStringLiteral("rptlblUserAD");
        const QString user = cap.at(anchor, 0, QStringLiteral("Benutzer"));
        r.caption = cap.at(anchor, 1, QStringLiteral("Sequentielle Alarmierung"));
        r.title = cap.at(anchor, 2, r.caption);
        const QString inOn = cap.at(anchor, 3, QStringLiteral("IN [1..8] 1:"));
        const QString inOff = cap.at(anchor, 4, QStringLiteral("IN [1..8] 0:"));
        const QString delay = cap.at(anchor, 5, QStringLiteral("Verzögerungszeit:"));
        const QString seq = cap.at(QStringLiteral("rptlblSeqAlarm"), 0, QStringLiteral("Sequentielle Alarm"));
        const QString sms = smsColumn(con, r.language);

        Recordset rs;
        rs.open(con,
                QStringLiteral(
                    "SELECT a.*, s.%1 AS SMSText FROM \"Alarm_Dispositiv\" a LEFT JOIN \"SMS\" s ON s.ID = a.SMS "
                    "ORDER BY a.rowid")
                    .arg(quoted(sms)));
        QString h = header(con.context(), r);
        if (rs.recordCount() > 0) {
            rs.moveFirst();
            // One header row: the columns hold users in the first row and inputs in the mask rows,
            // so only the digits stand above them.
            h += tableStart() + QStringLiteral("<tr><td class=\"h\">%1</td>").arg(seq.toHtmlEscaped());
            for (int u = 1; u <= 8; ++u)
                h += QStringLiteral("<td class=\"h\" align=\"center\" width=\"5%\">%1</td>").arg(u);
            h += QStringLiteral("</tr>");
            h += QStringLiteral("<tr><td class=\"l\">%1</td>").arg(user.toHtmlEscaped());
            for (int u = 1; u <= 8; ++u)
                h += QStringLiteral("<td align=\"center\">%1</td>")
                         .arg(flag(rs.value(QStringLiteral("Benutzer%1").arg(u))));
            h += QStringLiteral("</tr>");
            const struct {
                const QString& label;
                const char* column;
            } masks[2] = {{inOn, "IN_SF"}, {inOff, "IN_FF"}};
            for (const auto& m : masks) {
                const QStringList digits = digitRow(rs.value(QString::fromLatin1(m.column)).toInt())
                                               .split(QStringLiteral("   "), Qt::SkipEmptyParts);
                h += QStringLiteral("<tr><td class=\"l\">%1</td>").arg(m.label.toHtmlEscaped());
                for (const QString& d : digits)
                    h += QStringLiteral("<td align=\"center\">%1</td>").arg(d);
                h += QStringLiteral("</tr>");
            }
            h += QStringLiteral("</table><p></p>");
            h += tableStart();
            h += QStringLiteral("<tr><td class=\"h\" width=\"30%\">%1</td><td>%2</td></tr>")
                     .arg(delay.toHtmlEscaped(), number(rs.value(tbl::Verzoegerungszeit), r.language));
            h += QStringLiteral("<tr><td class=\"h\">SMS</td><td>%1</td></tr>")
                     .arg(esc(rs.value(QStringLiteral("SMSText"))));
            h += QStringLiteral("</table>");
        }
        rs.close();
        r.html = h;
    }

    void buildUsers(Report& r, Connection& con, const Captions& cap)
    {
        const QString anchor = QStringLiteral("rptBenutzer");
        r.caption = cap.at(anchor, 0, QStringLiteral("Benutzer"));
        r.title = r.caption;
        const QString labels[5]
            = {cap.at(anchor, 1, QStringLiteral("Namen:")), cap.at(anchor, 2, QStringLiteral("Natel_Nummer:")),
               cap.at(anchor, 3, QStringLiteral("Passwort:")), cap.at(anchor, 4, QStringLiteral("Operator")),
               cap.at(anchor, 5, QStringLiteral("Status:"))};
        Recordset rs;
        rs.open(
            con,
            QStringLiteral("SELECT Namen, Natel_Nummer, Passwort, Operator, Status FROM \"Adressen\" ORDER BY rowid"));
        QString h = header(con.context(), r) + tableStart()
            + QStringLiteral("<tr><td class=\"h\" align=\"center\" width=\"5%\">#</td>");
        for (int i = 0; i < 5; ++i)
            h += QStringLiteral("<td class=\"h\">%1</td>").arg(labels[i].toHtmlEscaped());
        h += QStringLiteral("</tr>");
        int n = 0;
        if (rs.recordCount() > 0) {
            rs.moveFirst();
            while (!rs.eof()) {
                h += QStringLiteral(
                         "<tr><td align=\"center\">%1</td><td>%2</td><td>%3</td><td>%4</td><td align=\"center\">%5</td>"
                         "<td align=\"center\">%6</td></tr>")
                         .arg(++n)
                         .arg(esc(rs.value(0)), esc(rs.value(1)), esc(rs.value(2)), flag(rs.value(3)),
                              flag(rs.value(4)));
                rs.moveNext();
            }
        }
        rs.close();
        h += QStringLiteral("</table>");
        r.html = h;
    }

    struct PageSetup {
        double margin = 0;
        double footerHeight = 0;
        QFont footerFont;
        QRectF full;
    };

    // Lays the document out on the device's pages: 2 cm margins, room for the footer.
    PageSetup layoutPages(QTextDocument& doc, QPagedPaintDevice* device)
    {
        PageSetup s;
        doc.documentLayout()->setPaintDevice(device);
        const double dpi = device->logicalDpiY();
        s.full = QRectF(0, 0, device->width(), device->height());
        s.margin = 2.0 / 2.54 * dpi;
        s.footerFont = doc.defaultFont();
        s.footerFont.setPointSizeF(8);
        s.footerHeight = QFontMetricsF(s.footerFont, device).height() * 2.5;
        // Frame margins are given at 96 dots per inch; the layout scales them to the device.
        const double toLayout = 96.0 / dpi;
        QTextFrameFormat fmt = doc.rootFrame()->frameFormat();
        fmt.setLeftMargin(s.margin * toLayout);
        fmt.setRightMargin(s.margin * toLayout);
        fmt.setTopMargin(s.margin * toLayout);
        fmt.setBottomMargin((s.margin + s.footerHeight) * toLayout);
        doc.rootFrame()->setFrameFormat(fmt);
        doc.setPageSize(s.full.size());
        return s;
    }

} // namespace

QString reportName(Kind kind)
{
    switch (kind) {
    case Kind::Inputs: return QStringLiteral("rptKonfigIN");
    case Kind::Outputs: return QStringLiteral("rptKonfigOUT");
    case Kind::Alarm: return QStringLiteral("rptAlarmDispo");
    case Kind::Users: return QStringLiteral("rptBenutzer");
    }
    return QString();
}

bool kindFromWord(const QString& word, Kind* kind)
{
    static const struct {
        const char* word;
        Kind kind;
    } words[] = {{"inputs", Kind::Inputs}, {"outputs", Kind::Outputs}, {"alarm", Kind::Alarm}, {"users", Kind::Users}};
    for (const auto& w : words) {
        if (word == QLatin1String(w.word)) {
            *kind = w.kind;
            return true;
        }
    }
    return false;
}

QString digitRow(int mask)
{
    int value = mask & 0xFF;
    QString text;
    for (int bit = 7; bit >= 0; --bit) {
        const int power = 1 << bit;
        if (value / power < 1) {
            text.prepend(QStringLiteral("0   "));
        } else {
            text.prepend(QStringLiteral("1   "));
            value -= power;
        }
    }
    return text;
}

Report build(const ProgramContext& context, Kind kind, const QString& databasePath, int language,
             const QString& profileFile, const QDateTime& created)
{
    Report r;
    r.created = created;
    r.kind = kind;
    r.language = (language >= 1 && language <= 4) ? language : 1;
    r.profileFile = profileFile;
    // A connection of its own, opened now: the report reads what the file holds at this moment.
    const Captions cap(context, databasePath, tbl::Beschriftung, r.language);
    Connection con(context);
    con.open(databasePath, Connection::Read);
    {
        // Every table at one moment, also while another program loads a profile.
        const ReadTransaction moment(context, con.db(), databasePath);
        switch (kind) {
        case Kind::Inputs: buildInOut(r, con, cap, false); break;
        case Kind::Outputs: buildInOut(r, con, cap, true); break;
        case Kind::Alarm: buildAlarm(r, con, cap); break;
        case Kind::Users: buildUsers(r, con, cap); break;
        }
    }
    con.close();
    return r;
}

std::unique_ptr<QTextDocument> document(const Report& report)
{
    auto doc = std::make_unique<QTextDocument>();
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(9);
    doc->setDefaultFont(font);
    smsv48InitResources();
    QString html = report.html;
    const char* logo = logoFile(report.language);
    const QImage image = logo ? QImage(QString::fromLatin1(logo)) : QImage();
    if (image.isNull())
        html.remove(kLogoTag); // an image that cannot be read would break the layout
    else
        doc->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("logo")), image);
    doc->setHtml(QStringLiteral("<html><body>") + html + QStringLiteral("</body></html>"));
    doc->setMetaInformation(QTextDocument::DocumentTitle, report.caption);
    return doc;
}

bool paint(const ProgramContext& context, const Report& report, QPagedPaintDevice* device, QString* error)
{
    auto doc = document(report);
    QPainter p;
    if (!p.begin(device)) {
        if (error)
            *error = context.msgOr(QStringLiteral("gsMsgAusgabeNichtGeöffnet"),
                                   QStringLiteral("das Ausgabegerät konnte nicht geöffnet werden"));
        return false;
    }
    const PageSetup ps = layoutPages(*doc, device);
    const double dpi = device->logicalDpiY();
    const QRectF full = ps.full;
    const double margin = ps.margin;
    const double footerHeight = ps.footerHeight;
    const QFont footerFont = ps.footerFont;
    const QFontMetricsF fm(footerFont, device);
    const int pages = doc->pageCount();
    const QLocale locale = ProgramContext::localeFor(report.language);
    const QString left = ShellTexts::text(context, QStringLiteral("Dateiname"), report.language) + QStringLiteral(": ")
        + report.profileFile;
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            device->newPage();
        p.save();
        p.translate(0, -page * full.height());
        const QRectF view(0, page * full.height(), full.width(), full.height());
        QAbstractTextDocumentLayout::PaintContext ctx;
        ctx.clip = view;
        p.setClipRect(view);
        doc->documentLayout()->draw(&p, ctx);
        p.restore();

        // Footer: a rule, the profile file name at the left, "page / pages" at the right.
        p.save();
        p.setFont(footerFont);
        p.setPen(QPen(Qt::darkGray, dpi / 144.0));
        const double y = full.height() - margin - footerHeight + fm.height() * 0.6;
        p.drawLine(QPointF(margin, y), QPointF(full.width() - margin, y));
        p.setPen(Qt::black);
        const QRectF line(margin, y + fm.height() * 0.3, full.width() - 2 * margin, fm.height() * 1.2);
        p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, left);
        p.drawText(line, Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("%1 / %2").arg(locale.toString(page + 1), locale.toString(pages)));
        p.restore();
    }
    p.end();
    return true;
}

// The page every PDF of a report is laid out on (the margins are drawn by the report itself).
static void setUpA4(QPdfWriter& writer)
{
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(300);
}

bool renderPdf(const ProgramContext& context, const Report& report, QByteArray* pdf, QString* error)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        setUpA4(writer);
        writer.setTitle(report.caption);
        writer.setCreator(QStringLiteral("SMS Switch Vantor"));
        if (!paint(context, report, &writer, error))
            return false;
    }
    *pdf = buffer.data();
    return true;
}

bool exportPdf(const ProgramContext& context, const Report& report, const QString& path, QString* error)
{
    QByteArray pdf;
    if (!renderPdf(context, report, &pdf, error))
        return false;
    const FileAccess::WriteResult w = FileAccess::writeFile(context, path, pdf);
    if (!w.ok()) {
        qCDebug(lcReports).noquote() << "PDF export failed:" << w.error;
        if (error)
            *error = w.error;
    }
    return w.ok();
}

int pageCount(const Report& report)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    setUpA4(writer);
    auto doc = document(report);
    layoutPages(*doc, &writer);
    return doc->pageCount();
}

QString currentProfileTitle()
{
    const QString file = Settings::get(QStringLiteral("Profile"), QStringLiteral("File"));
    return file.isEmpty() ? QString() : QFileInfo(QString(file).replace('\\', '/')).fileName();
}

}
