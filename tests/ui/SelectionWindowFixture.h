#pragma once

#include "core/Settings.h"
#include "domain/DataModule.h"
#include "tests/support/DemoHome.h"
#include "ui/SelectionWindow.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace kvtest
{

// Closes every message box that opens while it lives and remembers their
// texts, so an unexpected error box fails a test instead of blocking it.
class MessageBoxCatcher
{
public:
    MessageBoxCatcher()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this]() {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->reject();
            }
        });
        m_timer.start();
    }
    QStringList texts;

private:
    QTimer m_timer;
};

// The selection window on the 2,000-firm demo home, shown (not modal), so
// a test can click through it and answer the windows it opens modally.
class SelectionWindowFixture : public ::testing::Test
{
protected:
    using Row = kv::SelectionState::Row;

    void SetUp() override
    {
        kv::settings().dataHome = kvtest::selectionDemoHome();
        dm = std::make_unique<kv::DataModule>();
        ASSERT_EQ(dm->openDatabase().status, kv::DataModule::OpenStatus::Opened);
        w = std::make_unique<kv::SelectionWindow>(*dm);
        w->show();
    }
    void TearDown() override
    {
        w.reset();
        dm.reset();
    }

    template <class T> T* child(const char* name) const
    {
        T* found = w->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QLineEdit* slovnik() const { return child<QLineEdit>("edSlovnik"); }
    QListView* list() const { return child<QListView>("DBList"); }
    QAbstractButton* logV(int index) const
    {
        return child<QGroupBox>("rgLogV")->findChildren<QRadioButton*>().at(index);
    }
    void activate(Row row) { QTest::mouseClick(w->rowLabel(row), Qt::LeftButton); }
    // Searches the active row's dictionary and adds the first entry with Space.
    QString pick(const QString& prefix)
    {
        slovnik()->clear();
        QTest::keyClicks(slovnik(), prefix);
        const QString text = list()->currentIndex().data().toString();
        QTest::keyClick(list(), Qt::Key_Space);
        return text;
    }

    std::unique_ptr<kv::DataModule> dm;
    std::unique_ptr<kv::SelectionWindow> w;
};

} // namespace kvtest
