#pragma once

#include <QLineEdit>
#include <bitset>

namespace kv
{

// A single-line edit that accepts only the characters of its EnabledKey (codes
// 0 to 127) and Backspace; anything else typed is dropped without a sound.
// Pasted and dropped text is filtered the same way, so nothing gets in that
// could not be typed. Text set by the program is taken as it is.
class FilteredLineEdit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(QString EnabledKey READ enabledKey WRITE setEnabledKey)
public:
    explicit FilteredLineEdit(QWidget* parent = nullptr);

    QString enabledKey() const { return m_enabledKey; }
    void setEnabledKey(const QString& keys);
    bool isAllowed(QChar c) const;
    // text without the characters that cannot be typed
    QString filtered(const QString& text) const;
    // Inserts the clipboard's text, filtered.
    void pasteFiltered();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    QString m_enabledKey;
    std::bitset<128> m_allowed;
};

} // namespace kv
