#include "cli/LabelPrintCommand.h"

#include "cli/CommandCall.h"
#include "cli/CommandLine.h"
#include "cli/CommandSyntax.h"
#include "cli/HeadlessPrint.h"
#include "core/Error.h"
#include "core/StringTable.h"
#include "domain/LabelGeometry.h"
#include "domain/LabelSettings.h"
#include "domain/PrintCursorScope.h"
#include "reports/AddressLabelReport.h"
#include "reports/TableCursorSource.h"

#include <QFileInfo>
#include <optional>

namespace kv
{

namespace
{

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
    return cli::runCommand(QStringList{QStringLiteral("print"), QStringLiteral("labels")} + args,
                           out, err);
}

namespace cli
{

void declarePrintLabels(CommandSyntax& syntax)
{
    syntax.describe(
        QStringLiteral("Prints address labels of the selected firms to a PDF file; exit code 2\n"
                       "for a label file that cannot be used."));
    HeadlessArgs::declareHome(syntax);
    HeadlessArgs::declareSelection(syntax, false);
    syntax.addOption({QStringLiteral("labels")},
                     QStringLiteral("the label settings to use (default: the built-in sheet)"),
                     QStringLiteral("FILE.kl"));
    HeadlessArgs::declareOutput(syntax, QStringLiteral("OUT.pdf"));
}

int runPrintLabels(const CommandCall& call)
{
    QTextStream& out = call.out();
    QTextStream& err = call.err();
    const HeadlessArgs args = HeadlessArgs::from(call);
    LabelSettings settings;
    const QString labels = call.value(QStringLiteral("labels"));
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
    if (const int code = print.open(args, err))
        return code;
    DataModule& dm = print.dm();
    TableCursorSource source(*dm.printFirms());
    std::optional<PrintCursorScope> scope; // reopened for every run, closed at the end
    AddressLabelReport report(source, [&dm, &scope]() {
        scope.reset();
        scope.emplace(dm);
    });
    QString error;
    if (!report.configure(settings, sheet.SizeWidth, sheet.SizeLength, &error)) {
        err << "kvelta print labels: " << error << "\n";
        return 2;
    }
    const int code = print.writePdf(report.report(), args.output, err);
    if (code == 0)
        out << args.output << "\n";
    return code;
}

} // namespace cli

} // namespace kv
