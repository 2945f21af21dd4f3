// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/window_chrome.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainterPath>
#include <QRegion>
#include <QWidget>
#include <QWindow>

#include <optional>

#ifdef LEXORQUINE_HAS_XCB
#include <xcb/xcb.h>
#endif

namespace {

// Moves the window with the mouse, from its position when the left button went down, until the
// button is released.
class ManualMove final : public QObject {
public:
    ManualMove(QWidget* window, QPoint origin, QPoint pressGlobal)
        : QObject(window)
        , window_(window)
        , origin_(origin)
        , pressGlobal_(pressGlobal)
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
            if (mouse->buttons() & Qt::LeftButton) {
                window_->move(origin_ + mouse->globalPosition().toPoint() - pressGlobal_);
                return true;
            }
        }
        if (event->type() == QEvent::MouseMove || event->type() == QEvent::MouseButtonRelease
            || event->type() == QEvent::UngrabMouse) {
            deleteLater();
            window_->removeEventFilter(this);
        }
        return false;
    }

private:
    QWidget* window_;
    QPoint origin_;
    QPoint pressGlobal_;
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

xcb_connection_t* x11Connection()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// Where the window really is on the screen, as QWidget::pos() counts it (its frame's corner).
// Qt's own idea can be stale when the window manager framed the window without telling it.
std::optional<QPoint> serverPosition(QWidget* window)
{
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return std::nullopt;
    const auto windowId = xcb_window_t(window->winId());
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const auto cookie = xcb_translate_coordinates(connection, windowId, screen->root, 0, 0);
    xcb_translate_coordinates_reply_t* reply
        = xcb_translate_coordinates_reply(connection, cookie, nullptr);
    if (!reply)
        return std::nullopt;
    const QPoint client(reply->dst_x, reply->dst_y);
    free(reply);
    return client - (window->geometry().topLeft() - window->pos());
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
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return;
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
#ifdef LEXORQUINE_HAS_XCB
    // On X11 the window follows the mouse by our own hand: the window manager's move starts from
    // Qt's idea of the window's position, and the window jumps when that idea is stale.
    if (const std::optional<QPoint> origin = serverPosition(window)) {
        new ManualMove(window, *origin, QCursor::pos());
        return;
    }
#endif
    QWindow* handle = window->windowHandle();
    if (handle && handle->startSystemMove())
        return;
    new ManualMove(window, window->pos(), QCursor::pos());
}

void QtWindowChrome::refreshPosition(QWidget* window)
{
#ifdef LEXORQUINE_HAS_XCB
    const std::optional<QPoint> onScreen = serverPosition(window);
    if (onScreen && *onScreen != window->pos())
        window->move(*onScreen);
#else
    Q_UNUSED(window);
#endif
}
