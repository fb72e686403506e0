#include "ui/AdvertisementWindow.h"

#include "ui/NavigatorRow.h"

#include "core/Settings.h"
#include "core/StringTable.h"
#include "domain/AdvertisementLayout.h"
#include "domain/DataModule.h"
#include "domain/NavigatorState.h"
#include "domain/PictureFile.h"
#include "ui/Application.h"
#include "ui/ErrorBox.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace kv
{

namespace
{
const QColor Navy(0, 0, 128);

QFrame* panel(QWidget* parent, const char* name)
{
    auto p = new QFrame(parent);
    p->setObjectName(QLatin1String(name));
    p->setAutoFillBackground(true);
    return p;
}
} // namespace

AdvertisementWindow::AdvertisementWindow(DataModule* dm, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint),
      m_dm(dm)
{
    setObjectName(QStringLiteral("FReklama"));
    setSizeGripEnabled(true);
    auto outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(false);
    outer->addWidget(m_scroll);
    m_content = new QWidget;
    m_scroll->setWidget(m_content);

    m_panel1 = panel(m_content, "Panel1");
    QPalette navy = m_panel1->palette();
    navy.setColor(QPalette::Window, Navy);
    m_panel1->setPalette(navy);
    m_panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_panel1->setLineWidth(1);
    m_panel2 = panel(m_panel1, "Panel2");
    QPalette face = m_panel2->palette();
    face.setColor(QPalette::Window, palette().color(QPalette::Window)); // not Panel1's navy
    m_panel2->setPalette(face);
    m_img = new QLabel(m_panel2);
    m_img->setObjectName(QStringLiteral("img"));

    m_nav = createNavigatorRow(m_panel2, m_navButtons, [this](int i) { navigate(i); });
    for (QToolButton* b : m_navButtons)
        b->setFixedSize(25, 25);
    m_nav->adjustSize();

    m_btnZavrit = new QPushButton(m_panel2);
    m_btnZavrit->setObjectName(QStringLiteral("btnZavrit"));
    m_btnZavrit->setFixedSize(75, 25);
    m_btnZavrit->setAutoDefault(false);
    connect(m_btnZavrit, &QPushButton::clicked, this, &QDialog::reject);

    if (m_dm)
        connect(m_dm, &DataModule::advertisementMoved, this,
                &AdvertisementWindow::afterAdvertisementMoved);
    applyTexts();
}

AdvertisementWindow::~AdvertisementWindow() = default;

void AdvertisementWindow::applyTexts()
{
    setWindowTitle(loadStr(112));
    for (int i = 0; i < 4; ++i)
        m_navButtons[i]->setToolTip(loadStr(106 + i));
    m_btnZavrit->setText(loadStr(235));
}

void AdvertisementWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Restoring from the task bar is no new showing.
    if (!event->spontaneous())
        formShow();
}

void AdvertisementWindow::hideEvent(QHideEvent* event)
{
    if (!event->spontaneous())
        m_showing = false;
    QDialog::hideEvent(event);
}

void AdvertisementWindow::formShow()
{
    applyTexts();
    m_showing = true;
    m_placed = false;
    engine::TableCursor* ads = m_dm ? m_dm->advertisements() : nullptr;
    if (!ads || !ads->isOpen()) {
        closeLater(QString());
        return;
    }
    ads->first(); // loads the first picture
    if (!m_showing)
        return;
    updateNavigator();
    m_scroll->horizontalScrollBar()->setValue(0);
    m_scroll->verticalScrollBar()->setValue(0);
}

void AdvertisementWindow::afterAdvertisementMoved()
{
    if (!m_showing)
        return;
    const QString txt = m_dm->advertisements()->text(QStringLiteral("txt"));
    QImage picture;
    QString error;
    switch (PictureFile::load(QStringLiteral("RK"), txt, &picture, &error)) {
    case PictureFile::Status::Missing:
        closeLater(QString());
        return;
    case PictureFile::Status::Unreadable:
        // Unlike a missing file this is damage the user should hear about.
        closeLater(error);
        return;
    case PictureFile::Status::Loaded:
        break;
    }

    QScreen* scr = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect room = scr->availableGeometry();
    const AdvertisementLayout layout(picture.size(), room.size());
    m_img->setPixmap(QPixmap::fromImage(picture));
    m_img->resize(picture.size());
    m_panel1->setGeometry(layout.panel1());
    m_panel2->setGeometry(layout.panel2());
    m_content->resize(layout.panel1().size());
    m_img->move(layout.image());
    m_nav->move(layout.navigator());
    m_btnZavrit->move(layout.closeButton());
    // Known once the window manager framed the window; none before.
    const QSize frame = frameGeometry().size() - geometry().size();
    resize(layout.client(frame, m_scroll->verticalScrollBar()->sizeHint().width()));
    if (!m_placed) {
        const QSize frame = frameGeometry().size();
        move(room.center() - QPoint(frame.width() / 2, frame.height() / 2));
        m_placed = true;
    } else {
        move(AdvertisementLayout::keptOnScreen(frameGeometry(), room));
    }
    updateNavigator();
}

void AdvertisementWindow::closeLater(const QString& error)
{
    // No more pictures; closing waits for the event loop, since this may
    // run while the window is still being shown.
    m_showing = false;
    QMetaObject::invokeMethod(
        this,
        [this, error]() {
            if (!error.isEmpty())
                Application::showError(error);
            reject();
        },
        Qt::QueuedConnection);
}

void AdvertisementWindow::updateNavigator()
{
    engine::TableCursor* ads = m_dm ? m_dm->advertisements() : nullptr;
    const NavigatorState s =
        ads ? NavigatorState::at(ads->position(), ads->recordCount()) : NavigatorState::at(0, 0);
    m_nav->setVisible(s.visible);
    const bool enabled[4] = {s.first, s.prior, s.next, s.last};
    for (int i = 0; i < 4; ++i)
        m_navButtons[i]->setEnabled(enabled[i]);
}

void AdvertisementWindow::navigate(int button)
{
    engine::TableCursor* ads = m_dm ? m_dm->advertisements() : nullptr;
    if (!ads || !ads->isOpen())
        return;
    reportingErrors(this, [&] { moveByNavigator(*ads, button); });
    updateNavigator();
}

} // namespace kv
