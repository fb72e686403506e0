#include "tests/support/SelectionSteps.h"

#include "tests/support/WindowInput.h"

#include <QLineEdit>
#include <QListView>
#include <gtest/gtest.h>

namespace kvtest::selection
{

namespace in = kvtest::input;

QString rowText(const char* edit)
{
    auto* e = qobject_cast<QLineEdit*>(in::find(QLatin1String(edit)));
    return e ? e->text() : QString();
}

void pickFirstLine(const char* rowLabel, const QString& prefix)
{
    in::click(QLatin1String(rowLabel));
    in::type(in::find(QStringLiteral("edSlovnik")), prefix);
    auto* list = qobject_cast<QListView*>(in::find(QStringLiteral("DBList")));
    ASSERT_NE(list, nullptr);
    ASSERT_GT(list->model()->rowCount(), 0)
        << "no dictionary line starts with " << prefix.toStdString();
    in::doubleClick(list->viewport(), list->visualRect(list->model()->index(0, 0)).center());
}

} // namespace kvtest::selection
