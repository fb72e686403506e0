#pragma once

#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace kv
{

// The program's help viewer: shows the HTML help file of the data home and
// jumps to a topic by its anchor.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    // Opens the file at its contents, or at the given anchor.
    bool showFile(const QString& path, const QString& anchor = QString());
    QString currentAnchor() const { return m_anchor; }
    QTextBrowser* browser() const { return m_browser; }
    QPushButton* closeButton() const { return m_close; }

private:
    QTextBrowser* m_browser;
    QPushButton* m_close;
    QString m_anchor;
};

} // namespace kv
