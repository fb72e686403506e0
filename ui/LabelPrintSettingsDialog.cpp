#include "ui/LabelPrintSettingsDialog.h"

#include "core/Error.h"
#include "core/ListFile.h"
#include "core/Settings.h"
#include "core/StringTable.h"
#include "core/UiLanguage.h"
#include "domain/LabelTemplates.h"
#include "reports/AddressLabelReport.h"
#include "reports/ReportDataSource.h"
#include "ui/FileDialogs.h"
#include "ui/FilteredLineEdit.h"
#include "ui/FixedDialog.h"
#include "ui/LabelLinesDialog.h"
#include "ui/LabelSheetView.h"
#include "ui/PrintPreviewWindow.h"
#include "ui/ReportPrintSetup.h"

#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QDir>

#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv
{

namespace
{

constexpr QSize ClientSize(443, 527);
constexpr const char* FieldNames[] = {"edLeftM",  "edTopM",   "edRightM", "edBottomM",
                                      "edCountH", "edCountV", "edSpaceH", "edSpaceV"};

// Text 209 is "description|pattern"; Qt wants the patterns in parentheses and
// matches case-sensitively, so both spellings of the extension are offered.
QString dialogFilter()
{
    const QString text = loadStr(209);
    QString description = text.section(QLatin1Char('|'), 0, 0).trimmed();
    const qsizetype open = description.lastIndexOf(QLatin1Char('('));
    if (open > 0)
        description = description.left(open).trimmed();
    return description + QStringLiteral(" (*.kl *.KL)");
}

} // namespace

LabelPrintSettingsDialog::LabelPrintSettingsDialog(std::unique_ptr<ReportDataSource> data,
                                                   std::function<void()> prepare, QWidget* parent)
    : QDialog(parent), m_data(std::move(data)), m_prepare(std::move(prepare))
{
    setUpFixedDialog(this, "FSetLabel");
    build();
    setFixedSize(ClientSize);
    // The start values; the field rule hands them to the view.
    const LabelSettings start;
    for (int f = 0; f < LabelGeometry::FieldCount; ++f)
        m_fields[size_t(f)]->setText(start.fields[size_t(f)]);
    applyTexts();
}

LabelPrintSettingsDialog::~LabelPrintSettingsDialog() = default;

void LabelPrintSettingsDialog::setPreview(PrintPreviewWindow* preview)
{
    m_preview = preview;
}

void LabelPrintSettingsDialog::build()
{
    auto caption = [this](QWidget* parent, int id, const char* name = nullptr) {
        auto l = new QLabel(parent);
        if (name)
            l->setObjectName(QLatin1String(name));
        m_texts.push_back([l, id]() { l->setText(loadStr(id)); });
        return l;
    };
    auto group = [this](int id, const char* name) {
        auto g = new QGroupBox(this);
        g->setObjectName(QLatin1String(name));
        m_texts.push_back([g, id]() { g->setTitle(loadStr(id)); });
        return g;
    };
    auto fieldRows = [&](QGroupBox* g,
                         std::initializer_list<std::tuple<int, const char*, int>> rows, bool unit) {
        auto grid = new QGridLayout(g);
        int row = 0;
        for (const auto& [field, name, id] : rows) {
            grid->addWidget(caption(g, id, name), row, 0);
            auto ed = new FilteredLineEdit(g);
            ed->setObjectName(QLatin1String(FieldNames[field]));
            ed->setEnabledKey(QStringLiteral("0123456789"));
            ed->setFixedWidth(50);
            connect(ed, &QLineEdit::textChanged, this, &LabelPrintSettingsDialog::fieldChanged);
            m_fields[size_t(field)] = ed;
            grid->addWidget(ed, row, 1);
            if (unit)
                grid->addWidget(caption(g, 149), row, 2);
            ++row;
        }
        grid->setColumnStretch(3, 1);
    };
    using G = LabelGeometry;
    auto okraje = group(148, "gbOkraje");
    fieldRows(okraje,
              {{G::Left, "lLevy", 150},
               {G::Top, "lHorni", 152},
               {G::Right, "lPravy", 151},
               {G::Bottom, "lDolni", 153}},
              true);
    auto pocet = group(158, "gbPocet");
    fieldRows(pocet, {{G::CountH, "lPocetH", 156}, {G::CountV, "lPocetV", 157}}, false);
    auto mezera = group(159, "gbMezera");
    fieldRows(mezera, {{G::SpaceH, "lMezeraH", 154}, {G::SpaceV, "lMezeraV", 155}}, true);

    auto rozmer = group(160, "gbRozmer");
    auto sizes = new QGridLayout(rozmer);
    m_lSizeV = new QLabel(rozmer);
    m_lSizeV->setObjectName(QStringLiteral("lSizeV"));
    m_lSizeH = new QLabel(rozmer);
    m_lSizeH->setObjectName(QStringLiteral("lSizeH"));
    for (QLabel* l : {m_lSizeV, m_lSizeH}) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    sizes->addWidget(caption(rozmer, 161, "lVyska"), 0, 0);
    sizes->addWidget(m_lSizeV, 0, 1);
    sizes->addWidget(caption(rozmer, 162, "lSirka"), 1, 0);
    sizes->addWidget(m_lSizeH, 1, 1);
    sizes->addWidget(caption(rozmer, 182, "lPapir"), 2, 0, 1, 2);

    // The makers' sheets, found by any part of brand, part or description.
    m_sheets = new QComboBox(this);
    m_sheets->setObjectName(QStringLiteral("cbArch"));
    m_sheets->setEditable(true);
    m_sheets->setInsertPolicy(QComboBox::NoInsert);
    m_sheets->setMaxVisibleItems(20);
    m_sheets->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_sheets->setMinimumContentsLength(10);
    for (const LabelTemplates::Sheet& s : LabelTemplates::builtIn())
        m_sheets->addItem(s.title());
    m_sheets->completer()->setFilterMode(Qt::MatchContains);
    m_sheets->completer()->setCompletionMode(QCompleter::PopupCompletion);
    m_sheets->setCurrentIndex(-1);
    m_texts.push_back([this]() { m_sheets->lineEdit()->setPlaceholderText(loadStr(270)); });
    connect(m_sheets, &QComboBox::activated, this, &LabelPrintSettingsDialog::chooseSheet);

    auto btnNormal = new QPushButton(this);
    btnNormal->setObjectName(QStringLiteral("btnNormal"));
    m_texts.push_back([btnNormal]() { btnNormal->setText(loadStr(184)); });
    connect(btnNormal, &QPushButton::clicked, this, &LabelPrintSettingsDialog::setDefaults);

    auto left = new QVBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(okraje), static_cast<QWidget*>(pocet),
                       static_cast<QWidget*>(mezera), static_cast<QWidget*>(rozmer),
                       static_cast<QWidget*>(m_sheets)})
        left->addWidget(w);
    left->addStretch();
    left->addWidget(btnNormal);

    m_plv = new LabelSheetView(this);
    m_plv->setObjectName(QStringLiteral("PLV"));
    m_plv->setFixedSize(210, 297);
    m_plv->setRound(0);
    m_plv->setBaseColor(Qt::white);
    m_plv->setBackgroundColor(QColor(0, 128, 128));
    m_plv->setForegroundColor(Qt::white);
    m_plv->setMarginColor(QColor(0, 128, 0));
    m_plv->setWidthDocument(210);
    m_plv->setLengthDocument(297);
    m_btnObsah = new QPushButton(this);
    m_btnObsah->setObjectName(QStringLiteral("btnObsah"));
    m_btnObsah->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    m_texts.push_back([this]() { m_btnObsah->setText(loadStr(172)); });
    connect(m_btnObsah, &QPushButton::clicked, this, [this]() {
        if (m_detail)
            m_detail->exec();
    });
    auto right = new QVBoxLayout;
    right->addWidget(m_plv, 0, Qt::AlignHCenter);
    right->addWidget(m_btnObsah, 0, Qt::AlignHCenter);
    right->addStretch();

    auto top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(right);
    auto bottom = new QHBoxLayout;
    bottom->setSpacing(2);
    const std::tuple<const char*, int, void (LabelPrintSettingsDialog::*)()> buttons[] = {
        {"btnPismo", 168, &LabelPrintSettingsDialog::chooseFont},
        {"btnTiskarna", 124, &LabelPrintSettingsDialog::printerSetup},
        {"btnSave", 170, nullptr},
        {"btnLoad", 169, nullptr},
        {"btnPreview", 123, &LabelPrintSettingsDialog::startPreview},
        {"btnZrusit", 235, &LabelPrintSettingsDialog::closeWindow},
    };
    for (const auto& [name, id, slot] : buttons) {
        auto b = new QPushButton(this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        m_texts.push_back([b, id]() {
            b->setText(loadStr(id));
            // The style's minimum button width would not let all six fit;
            // each keeps room for its own caption instead.
            b->setMinimumWidth(b->fontMetrics().horizontalAdvance(b->text().remove(u'&')) + 14);
        });
        if (slot)
            connect(b, &QPushButton::clicked, this, slot);
        bottom->addWidget(b);
    }
    connect(findChild<QPushButton*>(QStringLiteral("btnSave")), &QPushButton::clicked, this,
            [this]() {
                const QString path = askFile(true);
                if (!path.isEmpty())
                    saveTo(path);
            });
    connect(findChild<QPushButton*>(QStringLiteral("btnLoad")), &QPushButton::clicked, this,
            [this]() {
                const QString path = askFile(false);
                if (!path.isEmpty())
                    loadFrom(path);
            });
    auto main = new QVBoxLayout(this);
    // Six buttons share the fixed width of the bottom row.
    main->setContentsMargins(6, 6, 6, 6);
    main->addLayout(top);
    main->addLayout(bottom);
}

void LabelPrintSettingsDialog::applyTexts()
{
    setWindowTitle(loadStr(147));
    for (const auto& set : m_texts)
        set();
    refreshSizes(); // the decimal separator follows the language too
}

void LabelPrintSettingsDialog::showEvent(QShowEvent* event)
{
    applyTexts();
    if (!m_detail)
        m_detail = std::make_unique<LabelLinesDialog>(this);
    if (!m_report)
        m_report = std::make_unique<AddressLabelReport>(*m_data, m_prepare);
    refreshSizes();
    QDialog::showEvent(event);
}

void LabelPrintSettingsDialog::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    // Minimising the main window hides the dialog only for a while.
    if (event->spontaneous())
        return;
    // A preview still running holds the report; it goes once that returns.
    if (m_inPreview) {
        m_dropAfterPreview = true;
        return;
    }
    m_detail.reset();
    m_report.reset();
}

QString LabelPrintSettingsDialog::sizeText(float mm)
{
    return UiLanguage::current().toString(double(mm), 'f', 1) + QStringLiteral(" mm");
}

void LabelPrintSettingsDialog::fieldChanged()
{
    LabelGeometry::Fields texts;
    for (int f = 0; f < LabelGeometry::FieldCount; ++f)
        texts[size_t(f)] = m_fields[size_t(f)]->text();
    if (!m_plv->applyFields(texts)) {
        ++m_beeps;
        QApplication::beep();
    }
    refreshSizes();
}

void LabelPrintSettingsDialog::refreshSizes()
{
    m_lSizeH->setText(sizeText(m_plv->sizeWidth()));
    m_lSizeV->setText(sizeText(m_plv->sizeLength()));
}

LabelSettings LabelPrintSettingsDialog::settings() const
{
    LabelSettings s;
    for (int f = 0; f < LabelGeometry::FieldCount; ++f)
        s.fields[size_t(f)] = m_fields[size_t(f)]->text();
    if (m_report)
        s.font = m_report->font;
    else
        s.font = LabelFont::fromFont(QGuiApplication::font());
    if (m_detail) {
        s.options = m_detail->options();
        s.salutation = m_detail->salutation();
    }
    return s;
}

void LabelPrintSettingsDialog::applySettings(const LabelSettings& s)
{
    for (int f = 0; f < LabelGeometry::FieldCount; ++f)
        m_fields[size_t(f)]->setText(s.fields[size_t(f)]);
    if (m_report)
        m_report->font = s.font;
    if (m_detail) {
        m_detail->setSalutation(s.salutation);
        m_detail->setOptions(s.options);
    }
}

void LabelPrintSettingsDialog::setDefaults()
{
    LabelSettings s = settings();
    const LabelSettings start;
    s.fields = start.fields;
    s.salutation.clear();
    s.options = start.options;
    s.options[LabelSettings::Country] = kv::settings().langBase == 500;
    applySettings(s);
}

void LabelPrintSettingsDialog::chooseSheet(int index)
{
    const auto& sheets = LabelTemplates::builtIn();
    if (index < 0 || index >= sheets.size())
        return;
    LabelSettings s = settings();
    s.fields = sheets[index].fields();
    for (int f = 0; f < LabelGeometry::FieldCount; ++f)
        m_fields[size_t(f)]->setText(s.fields[size_t(f)]);
}

void LabelPrintSettingsDialog::errorBox(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, loadStr(17), text, QMessageBox::Ok, this);
    box.exec();
}

void LabelPrintSettingsDialog::saveTo(const QString& path)
{
    try {
        LabelFile::save(settings(), path);
    } catch (const std::exception&) {
        errorBox(loadStr(165).replace(
            QLatin1String("%s"), QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())));
    }
}

void LabelPrintSettingsDialog::loadFrom(const QString& path)
{
    const QString shown = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    QStringList lines;
    try {
        loadListFile(lines, path);
    } catch (const Error& e) {
        if (!e.is(Error::Kind::File))
            throw;
        errorBox(loadStr(164).replace(QLatin1String("%s"), shown));
        return;
    }
    LabelSettings s = settings();
    switch (LabelFile::apply(lines, s)) {
    case LabelFile::Status::Empty:
        return;
    case LabelFile::Status::NoHeader:
        errorBox(loadStr(163) + QStringLiteral("Kvelta 2001"));
        return;
    case LabelFile::Status::Damaged:
        applySettings(s);
        errorBox(loadStr(164).replace(QLatin1String("%s"), shown));
        return;
    case LabelFile::Status::Loaded:
        applySettings(s);
        return;
    }
}

QString LabelPrintSettingsDialog::askFile(bool save)
{
    return askOwnFile(this, save, dialogFilter(), QStringLiteral("kl"));
}

void LabelPrintSettingsDialog::chooseFont()
{
    if (!m_report)
        return;
    QFontDialog dialog(m_report->font.toFont(), this);
    dialog.setObjectName(QStringLiteral("FontDialog"));
    if (dialog.exec() == QDialog::Accepted)
        m_report->font.takeFont(dialog.selectedFont());
}

void LabelPrintSettingsDialog::printerSetup()
{
    if (m_report)
        ReportPrintSetup::exec(m_report->report(), this);
}

void LabelPrintSettingsDialog::startPreview()
{
    if (!m_report || !m_preview || m_inPreview)
        return;
    QString error;
    if (!m_report->configure(settings(), m_plv->sizeWidth(), m_plv->sizeLength(), &error)) {
        errorBox(error);
        return;
    }
    m_inPreview = true;
    try {
        m_preview->showReport(m_report->report());
    } catch (const std::exception& e) {
        m_inPreview = false;
        errorBox(QString::fromUtf8(e.what()));
    }
    m_inPreview = false;
    if (m_preview)
        m_preview->firstPage();
    if (m_dropAfterPreview) {
        m_dropAfterPreview = false;
        m_detail.reset();
        m_report.reset();
    }
}

void LabelPrintSettingsDialog::closeWindow()
{
    reject();
}

void LabelPrintSettingsDialog::reject()
{
    // Escape and the close box end like the close button: a preview still
    // showing goes first.
    if (m_preview && m_preview->isVisible()) {
        QApplication::beep();
        m_preview->close();
    }
    QDialog::reject();
}

} // namespace kv
