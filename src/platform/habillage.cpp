// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/habillage.h"

#include <QGuiApplication>
#include <QPainterPath>
#include <QRegion>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <optional>

#ifdef LEXORQUINE_HAS_XCB
#include <xcb/xcb.h>
#endif

namespace {

#ifdef LEXORQUINE_HAS_XCB
xcb_atom_t atome(xcb_connection_t* connection, const char* name)
{
    const auto cookie = xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return atom;
}

xcb_connection_t* connexionX11()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// Asks the window manager to add a state to a mapped window, the way it listens for it.
bool addState(QWidget* window, const char* stateName)
{
    xcb_connection_t* connection = connexionX11();
    if (!connection)
        return false;
    const xcb_atom_t state = atome(connection, "_NET_WM_STATE");
    const xcb_atom_t added = atome(connection, stateName);
    if (state == XCB_ATOM_NONE || added == XCB_ATOM_NONE)
        return false;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = xcb_window_t(window->winId());
    message.type = state;
    message.data.data32[0] = 1; // _NET_WM_STATE_ADD
    message.data.data32[1] = added;
    message.data.data32[3] = 1; // from an application
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    xcb_send_event(connection, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    return true;
}

// Where the window's top-left corner really is on the screen, in logical pixels.
std::optional<QPoint> positionSurLeServeur(QWidget* window)
{
    xcb_connection_t* connection = connexionX11();
    if (!connection)
        return std::nullopt;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const auto cookie
        = xcb_translate_coordinates(connection, xcb_window_t(window->winId()), screen->root, 0, 0);
    xcb_translate_coordinates_reply_t* reply
        = xcb_translate_coordinates_reply(connection, cookie, nullptr);
    if (!reply)
        return std::nullopt;
    const QPoint position(reply->dst_x, reply->dst_y);
    free(reply);
    return versPixelsLogiques(position, *window->screen());
}

// Qt sometimes takes the window's place inside the frame that the window manager puts around
// it, (0, 0), for its place on the screen (openbox, in about half the starts). Once the window
// is framed and shown, a move to where it really is makes the window manager answer with the
// place on the screen, which Qt then keeps. Where Qt still holds the place asked for, it is
// right: kwin shows the window before it has moved its frame there, and says so afterwards.
class PositionAfterFraming final : public QObject {
public:
    explicit PositionAfterFraming(QWidget* window)
        : QObject(window)
        , window_(window)
        , asked_(window->geometry().topLeft())
    {
        window->windowHandle()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && window_->windowHandle()->isExposed()) {
            const QPoint held = window_->geometry().topLeft();
            const std::optional<QPoint> onScreen = positionSurLeServeur(window_);
            if (onScreen && *onScreen != held && held != asked_)
                window_->move(*onScreen - (held - window_->pos()));
            deleteLater();
            window_->windowHandle()->removeEventFilter(this);
        }
        return false;
    }

private:
    QWidget* window_;
    QPoint asked_;
};
#endif

} // namespace

QPoint versPixelsLogiques(QPoint pixelsEcran, const QScreen& ecran)
{
    // Qt keeps each screen's origin where it is and scales the rest from there.
    const QPoint origine = ecran.geometry().topLeft();
    return origine + (pixelsEcran - origine) / ecran.devicePixelRatio();
}

void HabillageQt::arrondirContour(QWidget* window, const QRect& outline, int cornerRadius)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(outline), cornerRadius, cornerRadius);
    window->setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void HabillageQt::cacherDeLaBarreDesTaches(QWidget* window)
{
#ifdef LEXORQUINE_HAS_XCB
    // A tool window alone keeps its task-bar button on X11; the window manager reads this
    // state when the window is mapped, and Qt merges its own states with it.
    xcb_connection_t* connection = connexionX11();
    if (!connection)
        return;
    const auto windowId = xcb_window_t(window->winId());
    const xcb_atom_t state = atome(connection, "_NET_WM_STATE");
    const xcb_atom_t skipTaskBar = atome(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skipTaskBar == XCB_ATOM_NONE)
        return;
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, windowId, state, XCB_ATOM_ATOM, 32, 1,
                        &skipTaskBar);
    xcb_flush(connection);
    new PositionAfterFraming(window);
#else
    Q_UNUSED(window);
#endif
}

void HabillageQt::garderAuPremierPlan(QWidget* window)
{
#ifdef LEXORQUINE_HAS_XCB
    // Qt writes the flag into a property that window managers read only before mapping; a
    // shown window asks by message, and keeps its window type and place.
    if (window->isVisible() && addState(window, "_NET_WM_STATE_ABOVE"))
        return;
#endif
    // Through the QWindow, so the shown window is updated rather than recreated.
    if (QWindow* handle = window->windowHandle())
        handle->setFlags(handle->flags() | Qt::WindowStaysOnTopHint);
}

void HabillageQt::commencerDeplacement(QWidget* window)
{
    // Where the window manager cannot move it, the press has no effect.
    if (QWindow* handle = window->windowHandle())
        handle->startSystemMove();
}
