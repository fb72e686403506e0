#pragma once

#include <QWidget>

class QProgressBar;

namespace kv
{

// Borderless start-up window with the start picture and a progress bar that
// the data module advances while it opens the database.
class SplashWindow : public QWidget
{
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);
    void setRange(int maximum); // minimum and progress 0
    void step();                // one opening step done
    QProgressBar* progressBar() const { return prb; }

private:
    QProgressBar* prb;
};

} // namespace kv
