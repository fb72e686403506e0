#include "reports/ProfileReport.h"

#include "core/PictureFolder.h"
#include "core/Settings.h"
#include "core/StringTable.h"
#include "reports/FirmReportParts.h"
#include "reports/ReportDataSource.h"

#include <QFileInfo>
#include <QImageReader>

namespace kv
{

namespace
{

constexpr qreal kValueX = 88;
constexpr qreal kWideText = 625;
constexpr qreal kLineHeight = 17;

// Captions of the headings and labels, set from the string table at every run.
struct Caption {
    const char* band;
    const char* box;
    int textId;
};
constexpr Caption kCaptions[] = {
    {"bMain", "lIco", 21},     {"chTel", "label", 27},   {"chFax", "label", 28},
    {"chMail", "label", 29},   {"chWWW", "label", 30},   {"bOskontakt", "label", 33},
    {"bZatridE", "label", 32}, {"bRadky", "label", 221}, {"bPozn", "label", 111},
};

QString text(const ReportDataSource* data, const char* field)
{
    return data ? data->value(QLatin1String(field)).toString() : QString();
}

} // namespace

ProfileReport::ProfileReport(ProfileSources sources) : m_sources(std::move(sources))
{
    FirmReportParts::setupPage(m_report, loadStr(146), 9);
    m_report.setDataSource(m_sources.firms, QStringLiteral("TPrn"));
    if (m_sources.persons)
        m_report.addSource(QStringLiteral("TOsoby_2"), m_sources.persons);
    if (m_sources.industries)
        m_report.addSource(QStringLiteral("TZatE"), m_sources.industries);
    if (m_sources.lines)
        m_report.addSource(QStringLiteral("TRadkyP"), m_sources.lines);

    ReportBand& logo = m_report.addBand(BandKind::PageHeader, QStringLiteral("BandLogo"));
    logo.addPicture(QStringLiteral("logo"), QRectF(0, 16, 0, 0), QImage());
    logo.beforePrint = [this](ReportBand& band) { return beforeLogo(band); };

    addMain();
    addContact("chTel", "tel", true);
    addContact("chFax", "fax", false);
    addContact("chMail", "email", false);
    addContact("chWWW", "www", false);

    ReportBand& persons = addSection("bOskontakt", "sdOskontakt", m_sources.persons);
    persons.addField(QStringLiteral("kontos"), QRectF(kValueX, 0, kWideText, kLineHeight),
                     QStringLiteral("TOsoby_2"), QStringLiteral("kontos"));

    ReportBand& industries = addSection("bZatridE", "sdZatridE", m_sources.industries);
    industries.addField(QStringLiteral("kod"), QRectF(kValueX, 0, 93, kLineHeight),
                        QStringLiteral("TZatE"), QStringLiteral("kod"));
    ReportBox& txt = industries.addField(QStringLiteral("txt"), QRectF(188, 0, 525, kLineHeight),
                                         QStringLiteral("TZatE"), QStringLiteral("txt"));
    txt.wordWrap = true;
    txt.autoStretch = true;

    ReportBand& lines = addSection("bRadky", "sdRadky", m_sources.lines);
    ReportBox& radek =
        lines.addText(QStringLiteral("radek"), QRectF(kValueX, 0, kWideText, kLineHeight), {});
    radek.wordWrap = true;
    radek.autoStretch = true;
    // The heading goes with a first line that has text; blank lines are left out.
    m_report.band(QStringLiteral("bRadky"))->beforePrint = [this](ReportBand&) {
        return !FirmReportParts::isBlank(text(m_sources.lines, "radek"));
    };
    lines.beforePrint = [this](ReportBand& band) {
        const QString line = FirmReportParts::trimBlank(text(m_sources.lines, "radek"));
        band.box(QStringLiteral("radek"))->text = line;
        return !line.isEmpty();
    };

    ReportBand& note = addSection("bPozn", "sdPozn", &m_note);
    note.printWhenEmpty = true; // the heading prints for every firm
    ReportBox& noteText =
        note.addField(QStringLiteral("pozn"), QRectF(kValueX, 0, kWideText, kLineHeight),
                      QStringLiteral("Poznamka"), QStringLiteral("text"));
    noteText.wordWrap = true;
    noteText.autoStretch = true;
    m_report.addSource(QStringLiteral("Poznamka"), &m_note);
    note.beforePrint = [this](ReportBand&) { return !m_note.isEmpty(); };

    FirmReportParts::addFooter(m_report);
    m_report.beforePrint = [this](Report&) {
        prepare();
        return true;
    };
    m_report.afterPrint = [this](Report&) {
        if (m_sources.close)
            m_sources.close();
    };
}

void ProfileReport::addMain()
{
    ReportBand& main = m_report.addBand(BandKind::Detail, QStringLiteral("bMain"));
    main.height = 100;
    main.forceNewPage = true;
    main.topLine = true;
    const qreal wide = m_report.columnWidth() - 16;
    main.addText(QStringLiteral("lIco"), QRectF(8, 6, 80, kLineHeight), {});
    main.addField(QStringLiteral("ico"), QRectF(89, 6, 200, kLineHeight), {},
                  QStringLiteral("ico"));
    ReportBox& name = main.addField(QStringLiteral("nazev"), QRectF(8, 28, wide, kLineHeight), {},
                                    QStringLiteral("nazev"));
    name.wordWrap = true;
    main.addField(QStringLiteral("ulice"), QRectF(8, 44, wide, kLineHeight), {},
                  QStringLiteral("ulice"));
    main.addField(QStringLiteral("psc"), QRectF(8, 60, 46, kLineHeight), {}, QStringLiteral("psc"));
    main.addField(QStringLiteral("misto"), QRectF(55, 60, wide - 47, kLineHeight), {},
                  QStringLiteral("misto"));
    main.addField(QStringLiteral("okres"), QRectF(8, 76, wide, kLineHeight), {},
                  QStringLiteral("okres"));
    main.beforePrint = [this](ReportBand& band) { return beforeMain(band); };
}

void ProfileReport::addContact(const char* name, const char* field, bool topLine)
{
    ReportBand& band = m_report.addBand(BandKind::Child, QLatin1String(name));
    band.parent = m_report.band(QStringLiteral("bMain"));
    band.height = 20;
    band.topLine = topLine;
    band.addText(QStringLiteral("label"), QRectF(8, 3, 78, kLineHeight), {});
    band.addField(QStringLiteral("value"), QRectF(kValueX, 3, kWideText, kLineHeight), {},
                  QLatin1String(field));
    const QString f = QLatin1String(field);
    band.beforePrint = [this, f](ReportBand&) {
        return !FirmReportParts::isBlank(m_sources.firms->value(f).toString());
    };
}

ReportBand& ProfileReport::addSection(const char* header, const char* subDetail,
                                      ReportDataSource* data)
{
    ReportBand& head = m_report.addBand(BandKind::GroupHeader, QLatin1String(header));
    head.height = 20;
    head.topLine = true;
    head.addText(QStringLiteral("label"), QRectF(8, 3, 400, kLineHeight), {});
    ReportBand& sd = m_report.addBand(BandKind::SubDetail, QLatin1String(subDetail));
    sd.height = kLineHeight;
    sd.master = m_report.band(QStringLiteral("bMain"));
    sd.header = &head;
    sd.dataSource = data;
    return sd;
}

QString ProfileReport::logoPath(const QString& logo)
{
    return PictureFolder::resolve(QStringLiteral("Log"), logo);
}

void ProfileReport::prepare()
{
    m_report.setDataSource(m_sources.firms, QStringLiteral("TPrn"));
    for (const Caption& c : kCaptions)
        m_report.band(QLatin1String(c.band))->box(QLatin1String(c.box))->text = loadStr(c.textId);
    FirmReportParts::fillFooter(m_report);
    if (m_sources.open)
        m_sources.open();
}

bool ProfileReport::beforeLogo(ReportBand& band)
{
    const QString logo = text(m_sources.firms, "logo");
    const QString path = logoPath(logo);
    if (path.isEmpty())
        return false;
    QImageReader reader(path);
    const QImage picture = reader.read();
    if (picture.isNull()) // a damaged picture prints no header rather than stopping the run
        return false;
    const qreal width = m_report.contentRect().width();
    ReportBox& box = *band.box(QStringLiteral("logo"));
    box.picture = picture;
    const qreal left = picture.width() < width ? (width - picture.width()) / 2 : 0;
    box.rect = QRectF(left, 16, picture.width(), picture.height());
    band.height = picture.height() + 32;
    return true;
}

bool ProfileReport::beforeMain(ReportBand& band)
{
    band.height = 100;
    // A name too long for one line wraps and pushes the address down.
    ReportBox& name = *band.box(QStringLiteral("nazev"));
    const qreal extra = FirmReportParts::extraLinesHeight(text(m_sources.firms, "nazev"),
                                                          m_report.font, name.rect.width());
    name.rect.setHeight(kLineHeight + extra);
    const std::pair<const char*, qreal> below[] = {
        {"ulice", 44}, {"psc", 60}, {"misto", 60}, {"okres", 76}};
    for (const auto& [box, top] : below)
        band.box(QLatin1String(box))->rect.moveTop(top + extra);
    band.height += extra;

    m_note.setRows({});
    const qint64 peno = m_sources.firms->value(QStringLiteral("peno")).toLongLong();
    const QString note = FirmReportParts::noteText(m_sources.notes, peno);
    if (!note.isEmpty())
        m_note.append({{QStringLiteral("text"), note}});
    return true;
}

} // namespace kv
