#include "ui/SelectionFileDialogs.h"

#include "core/StringTable.h"
#include "domain/SelectionFile.h"
#include "domain/SelectionRecord.h"
#include "ui/BusyCursor.h"
#include "ui/ErrorBox.h"
#include "ui/FileDialogs.h"
#include "ui/SelectionWindow.h"

namespace kv
{

namespace
{

// Text 210 is "description |pattern"; Qt wants "description (pattern)".
QString dialogFilter()
{
    const QString text = loadStr(210);
    const qsizetype bar = text.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return text;
    return text.left(bar).trimmed() + QStringLiteral(" (") + text.mid(bar + 1).trimmed() +
           QLatin1Char(')');
}

} // namespace

QString askSelectionFile(QWidget* parent, bool save)
{
    return askOwnFile(parent, save, dialogFilter(), QStringLiteral("kvv"));
}

bool loadSelectionFile(SelectionWindow& vyber, const QString& path)
{
    bool loaded = false;
    QString failure;
    try {
        BusyCursor busy;
        loaded = loadSelection(path, vyber.model().state);
    } catch (const std::exception& e) {
        failure = QString::fromUtf8(e.what());
    }
    if (!failure.isEmpty()) {
        showErrorBox(&vyber, failure);
        return false;
    }
    if (!loaded) {
        showErrorBox(&vyber, loadStr(selectionrecord::WrongHeaderTextId) +
                                 QLatin1String(selectionrecord::ProgramName));
        return false;
    }
    vyber.showState();
    vyber.applySelection();
    return true;
}

bool saveSelectionFile(SelectionWindow& vyber, const QString& path)
{
    try {
        saveSelection(vyber.state(), path);
    } catch (const std::exception& e) {
        showErrorBox(&vyber, e);
        return false;
    }
    return true;
}

} // namespace kv
