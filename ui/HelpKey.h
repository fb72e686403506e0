#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace kv
{

// F1 anywhere in the program opens the help at the topic of the window in
// front. An application-wide filter, because shortcuts of the main window
// are blocked while a modal window is open.
class HelpKey : public QObject
{
    Q_OBJECT
public:
    using ShowHelp = std::function<void(const QString& anchor)>;
    HelpKey(ShowHelp show, QObject* parent);

    // The help page's anchor for a window (or a widget in it), walking up
    // to the first one that has a topic; empty for the contents.
    static QString anchorFor(const QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ShowHelp m_show;
};

} // namespace kv
