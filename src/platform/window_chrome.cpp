#include "platform/window_chrome.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainterPath>
#include <QRegion>
#include <QWidget>
#include <QWindow>

#ifdef LEXORQUINE_HAS_XCB
#include <xcb/xcb.h>
#endif

namespace {

// Moves the window with the mouse where the window manager will not do it.
class ManualMove final : public QObject {
public:
    ManualMove(QWidget* window, QPoint pressGlobal)
        : QObject(window), window_(window), offset_(pressGlobal - window->pos())
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != window_)
            return false;
        if (event->type() == QEvent::MouseMove) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            window_->move(mouse->globalPosition().toPoint() - offset_);
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            deleteLater();
            return true;
        }
        return false;
    }

private:
    QWidget* window_;
    QPoint offset_;
};

#ifdef LEXORQUINE_HAS_XCB
xcb_atom_t internAtom(xcb_connection_t* connection, const char* name)
{
    const auto cookie = xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return atom;
}
#endif

} // namespace

void QtWindowChrome::setRoundedOutline(QWidget* window, const QRect& outline, int cornerRadius)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(outline), cornerRadius, cornerRadius);
    window->setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void QtWindowChrome::hideFromTaskBar(QWidget* window)
{
#ifdef LEXORQUINE_HAS_XCB
    // A tool window alone keeps its task-bar button on X11; the window manager reads this
    // state when the window is mapped, and Qt merges its own states with it.
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;
    xcb_connection_t* connection = x11->connection();
    const auto windowId = xcb_window_t(window->winId());
    const xcb_atom_t state = internAtom(connection, "_NET_WM_STATE");
    const xcb_atom_t skipTaskBar = internAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skipTaskBar == XCB_ATOM_NONE)
        return;
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, windowId, state, XCB_ATOM_ATOM, 32, 1,
                        &skipTaskBar);
    xcb_flush(connection);
#else
    Q_UNUSED(window);
#endif
}

void QtWindowChrome::stayOnTop(QWidget* window)
{
    // Through the QWindow, so the shown window is updated rather than recreated.
    if (QWindow* handle = window->windowHandle())
        handle->setFlags(handle->flags() | Qt::WindowStaysOnTopHint);
}

void QtWindowChrome::startMove(QWidget* window)
{
    QWindow* handle = window->windowHandle();
    if (handle && handle->startSystemMove())
        return;
    new ManualMove(window, QCursor::pos());
}
