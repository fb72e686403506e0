#pragma once

#include <QElapsedTimer>
#include <QString>
#include <functional>
#include <vector>

namespace kvtest
{

// A user's journey through the program as a list of steps, run from the
// event loop: an action may open a modal window (exec()) and block, and the
// steps after it go on inside that window's event loop, as a user's next
// click would. A wait that times out fails the test, closes every modal
// window and ends the journey.
//
//   Journey j;
//   j.then("open the list print", [&] { input::chooseMenu(&w, {"MITisk", "MITSeznam"}); })
//    .waitFor("the settings window", [] { return input::find("FSetSeznam"); })
//    .then(...);
//   EXPECT_TRUE(j.run());
class Journey
{
public:
    // A wait ends as soon as its condition holds, so the limit only matters
    // for a journey that fails; it is generous because CI machines are slow
    // and busy (a PDF through the print dialog took over 15 s at load 20).
    explicit Journey(int waitMs = 60000) : m_waitMs(waitMs) {}

    Journey& then(const QString& what, std::function<void()> action);
    Journey& waitFor(const QString& what, std::function<bool()> ready);
    // Asked before every step: a reason (a program the journey talks to has
    // died) fails the journey at once, instead of after a wait's limit.
    Journey& failWhen(std::function<QString()> broken);
    // Runs the steps; true when all ran.
    bool run();

private:
    struct Step {
        QString what;
        std::function<void()> action;
        std::function<bool()> ready;
    };
    void pump();
    void fail(const QString& why);
    void unwind();

    int m_waitMs;
    std::vector<Step> m_steps;
    std::function<QString()> m_broken;
    size_t m_next = 0;
    bool m_failed = false;
    bool m_finished = false;
    int m_unwindRounds = 0;
    QElapsedTimer m_waiting;
};

} // namespace kvtest
