#pragma once

#include <QLabel>

namespace kv
{

// A one-line label for texts of any length (a firm name, a list of telephone
// numbers, a web address): it shows as much as its width allows, ends a
// shortened text with "…" and offers the whole text as its tooltip. It never
// asks its window to grow for a long text.
class ElidedLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    void setFullText(const QString& text);
    QString fullText() const { return m_full; }
    bool isElided() const { return text() != m_full; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void refit();

    QString m_full;
};

} // namespace kv
