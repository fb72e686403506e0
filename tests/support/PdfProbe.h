#pragma once

// What poppler's tools read from a PDF the program wrote: its page count
// and its text, the way a user's PDF viewer would see them.

#include <QProcess>
#include <QRegularExpression>
#include <QString>

namespace kvtest
{

// -1 when pdfinfo cannot read the file.
inline int pdfPages(const QString& file)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {file});
    if (!p.waitForFinished(30000))
        return -1;
    const auto m = QRegularExpression(R"(Pages:\s+(\d+))").match(p.readAllStandardOutput());
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// With layout, lines keep their columns (pdftotext -layout).
inline QString pdfText(const QString& file, bool layout = false)
{
    QStringList args{file, QStringLiteral("-")};
    if (layout)
        args.prepend(QStringLiteral("-layout"));
    QProcess p;
    p.start(QStringLiteral("pdftotext"), args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace kvtest
