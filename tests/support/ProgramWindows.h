#pragma once

#include "domain/DataModule.h"
#include "ui/MainWindow.h"

#include <QList>
#include <QWidget>
#include <functional>
#include <memory>

namespace kv
{
class SelectionWindow;
}

namespace kvtest
{

// The desktop program's windows wired as the start-up wires them, on a
// generated data home: the main window with list and profile, and every
// dialog it can open, each reachable for a test to show and inspect.
class ProgramWindows
{
public:
    explicit ProgramWindows(int firms);
    ~ProgramWindows();

    kv::DataModule dm;
    std::unique_ptr<kv::MainWindow> main;
    std::unique_ptr<kv::SelectionWindow> selection;

    // Shows each dialog in turn without blocking (the main window itself
    // first), hands it to visit, and hides it again.
    void forEachWindow(const std::function<void(QWidget* window, const QString& name)>& visit);
};

} // namespace kvtest
