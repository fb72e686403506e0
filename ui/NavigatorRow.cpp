#include "ui/NavigatorRow.h"

#include "engine/TableCursor.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>
#include <QWidget>

namespace kv
{

QWidget* createNavigatorRow(QWidget* parent, QToolButton* (&buttons)[4],
                            const std::function<void(int)>& moved)
{
    auto nav = new QWidget(parent);
    nav->setObjectName(QStringLiteral("nav"));
    auto layout = new QHBoxLayout(nav);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const QStyle::StandardPixmap pictures[4] = {
        QStyle::SP_MediaSkipBackward, QStyle::SP_MediaSeekBackward, QStyle::SP_MediaSeekForward,
        QStyle::SP_MediaSkipForward};
    const char* names[4] = {"navFirst", "navPrior", "navNext", "navLast"};
    for (int i = 0; i < 4; ++i) {
        buttons[i] = new QToolButton(nav);
        buttons[i]->setObjectName(QLatin1String(names[i]));
        buttons[i]->setIcon(nav->style()->standardIcon(pictures[i]));
        layout->addWidget(buttons[i]);
        QObject::connect(buttons[i], &QToolButton::clicked, nav, [moved, i]() { moved(i); });
    }
    return nav;
}

void moveByNavigator(engine::TableCursor& cursor, int button)
{
    switch (button) {
    case 0:
        cursor.first();
        break;
    case 1:
        cursor.prior();
        break;
    case 2:
        cursor.next();
        break;
    default:
        cursor.last();
        break;
    }
}

} // namespace kv
