#include "cli/LabelPrintCommand.h"

#include "cli/HeadlessPrint.h"
#include "core/Error.h"
#include "core/StringTable.h"
#include "domain/LabelGeometry.h"
#include "domain/LabelSettings.h"
#include "reports/AddressLabelReport.h"
#include "reports/TableCursorSource.h"

#include <QFileInfo>

namespace kv
{

namespace
{

const char* const Usage =
    "usage: kvelta print labels [--home DIR] [FILE.kvv] [--labels FILE.kl] -o OUT.pdf\n";

// The settings of a label file; false after saying why on err.
bool readLabels(const QString& path, LabelSettings& settings, QTextStream& err)
{
    if (!QFileInfo(path).isFile()) {
        err << "kvelta print labels: " << path << ": no such file\n";
        return false;
    }
    LabelFile::Status status;
    try {
        status = LabelFile::load(path, settings);
    } catch (const Error& e) {
        if (!e.is(Error::Kind::File))
            throw;
        err << "kvelta print labels: " << e.message() << "\n";
        return false;
    }
    switch (status) {
    case LabelFile::Status::Loaded:
        return true;
    case LabelFile::Status::NoHeader:
        err << path << ": " << loadStr(163) << "Kvelta 2001\n";
        return false;
    default:
        err << loadStr(164).replace(QLatin1String("%s"), path) << "\n";
        return false;
    }
}

} // namespace

int printLabelsCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const auto call =
        HeadlessPrint::parse(QStringLiteral("labels"), args, {QStringLiteral("--labels")},
                             QString::fromLatin1(Usage), err);
    if (!call)
        return 2;
    LabelSettings settings;
    const QString labels = call->options.value(QStringLiteral("--labels"));
    if (!labels.isEmpty() && !readLabels(labels, settings, err))
        return 2;
    // The sheet as the settings window would show it: the fields through
    // the same rule, a field that does not convert keeps the start value.
    LabelGeometry sheet;
    sheet.setWidthDocument(210);
    sheet.setLengthDocument(297);
    if (!sheet.applyFields(settings.fields))
        err << "kvelta print labels: a sheet field is not a number; later fields ignored\n";

    HeadlessPrint print;
    print.addInput(labels);
    if (const int code = print.open(*call, err))
        return code;
    DataModule& dm = print.dm();
    TableCursorSource source(*dm.printFirms());
    AddressLabelReport report(source, [&dm]() {
        dm.closePrn();
        dm.openPrn();
    });
    QString error;
    if (!report.configure(settings, sheet.SizeWidth, sheet.SizeLength, &error)) {
        err << "kvelta print labels: " << error << "\n";
        return 2;
    }
    const int code = print.writePdf(report.report(), call->output, err);
    if (code == 0)
        out << call->output << "\n";
    return code;
}

} // namespace kv
