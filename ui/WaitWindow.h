#pragma once

#include <QWidget>

namespace kv
{

// "Please wait" window shown, not modal, during long work on the company set.
class WaitWindow : public QWidget
{
    Q_OBJECT
public:
    explicit WaitWindow(QWidget* parent = nullptr);
    void applyTexts();
    // Shows the window and paints it at once, before the long work starts.
    void showNow();
};

} // namespace kv
