#pragma once

#include "engine/PgWaitHook.h"

#include <QPointer>

namespace kv
{

class ServerWaitDialog;

// The desktop program's wait for the server (installed on the GUI thread
// for the hook's lifetime): once a statement has waited a moment, the modal
// ServerWaitDialog offers Cancel and the windows go on painting. Being
// modal, it keeps clicks from starting a second action meanwhile; a repaint
// that needs the busy connection gets an error (the list shows such rows
// empty).
class ServerWaitHook : public engine::PgWaitHook
{
public:
    ServerWaitHook();
    ~ServerWaitHook() override;

    bool wait(std::chrono::milliseconds elapsed) override;
    void finished() override;
    // Text 327.
    QString cancelledMessage() const override;

private:
    void close();
    // Its parent, the window in front, may end first.
    QPointer<ServerWaitDialog> m_dialog;
    bool m_arrow = false;
};

} // namespace kv
