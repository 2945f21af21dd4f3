// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/clavier.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <utility>

#ifdef LEXORQUINE_HAS_XCB
#include <QAbstractNativeEventFilter>
#include <QWindow>

#include <xcb/xcb.h>
#endif

namespace {

#ifdef LEXORQUINE_HAS_XCB
// A key pressed while a list of the program's held the keyboard comes to the program, for the
// list's window, even once the list is gone: Qt drops it then. Alt+F4 among them was the user's
// close, which the window manager never saw: it goes to the main window.
class FermetureOrpheline final : public QAbstractNativeEventFilter {
    // Shift, Control, Alt and the logo key; the locks do not count.
    static constexpr uint16_t kModificateurs
        = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

public:
    explicit FermetureOrpheline(QWidget* principale)
        : principale_(principale)
    { }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* touche = static_cast<const xcb_key_press_event_t*>(message);
        if ((touche->response_type & 0x7f) != XCB_KEY_PRESS
            || (touche->state & kModificateurs) != XCB_MOD_MASK_1 || estConnue(touche->event)
            || !estF4(touche->detail))
            return false;
        QCoreApplication::postEvent(principale_,
                                    new QKeyEvent(QEvent::KeyPress, Qt::Key_F4, Qt::AltModifier));
        return true;
    }

private:
    static bool estConnue(xcb_window_t id)
    {
        const QWindowList fenetres = QGuiApplication::allWindows();
        return std::any_of(fenetres.begin(), fenetres.end(), [id](const QWindow* fenetre) {
            return fenetre->handle() && fenetre->winId() == id;
        });
    }

    static bool estF4(xcb_keycode_t code)
    {
        auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        if (!x11)
            return false;
        xcb_connection_t* connexion = x11->connection();
        xcb_get_keyboard_mapping_reply_t* reponse = xcb_get_keyboard_mapping_reply(
            connexion, xcb_get_keyboard_mapping(connexion, code, 1), nullptr);
        if (!reponse)
            return false;
        const bool f4 = xcb_get_keyboard_mapping_keysyms_length(reponse) > 0
            && xcb_get_keyboard_mapping_keysyms(reponse)[0] == 0xffc1; // XK_F4
        free(reponse);
        return f4;
    }

    QWidget* principale_;
};
#endif

// Openbox, when the active window goes, moves the focus only to a window that has a task-bar
// button, and lets a new window without one appear unfocused. The main window has none: it
// asks for the focus itself.
class GardienClavier final : public QObject {
public:
    GardienClavier(QWidget* principale, std::function<void()> demanderLeClavier)
        : QObject(principale)
        , principale_(principale)
        , demanderLeClavier_(std::move(demanderLeClavier))
    {
        qApp->installEventFilter(this);
#ifdef LEXORQUINE_HAS_XCB
        qApp->installNativeEventFilter(&orpheline_);
#endif
    }

    ~GardienClavier() override
    {
#ifdef LEXORQUINE_HAS_XCB
        qApp->removeNativeEventFilter(&orpheline_);
#endif
    }

protected:
    bool eventFilter(QObject* surveille, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress
            && estRaccourciFermeture(*static_cast<QKeyEvent*>(event))) {
            fermerFenetreVue();
            return true;
        }
        // Spontaneous: the window manager minimised or restored it, and handles the focus.
        if (event->spontaneous() || !surveille->isWidgetType())
            return false;
        auto* fenetre = static_cast<QWidget*>(surveille);
        if (event->type() == QEvent::Show && fenetre == principale_)
            demanderLeClavier_();
        else if (event->type() == QEvent::Hide && estSecondaire(fenetre))
            // Once the caller has gone on: a message may follow the dialog, and keeps the focus.
            QTimer::singleShot(0, this, &GardienClavier::reprendre);
        return false;
    }

private:
    bool estSecondaire(const QWidget* fenetre) const
    {
        if (!fenetre->isWindow() || fenetre == principale_
            || (fenetre->windowType() != Qt::Dialog && fenetre->windowType() != Qt::Window))
            return false;
        for (const QWidget* w = fenetre->parentWidget(); w; w = w->parentWidget())
            if (w == principale_)
                return true;
        return false;
    }

    void reprendre()
    {
        if (!principale_->isVisible() || principale_->isMinimized()
            || QApplication::activeModalWidget())
            return;
        // The user has gone on to another of the program's windows.
        const QWidget* active = QApplication::activeWindow();
        if (active && active != principale_ && active->isVisible())
            return;
        demanderLeClavier_();
    }

    // The window manager's close that one of the program's grabs kept from it: for the window
    // the user sees active, the main one once a dialog has gone.
    void fermerFenetreVue()
    {
        QWidget* fenetre = QApplication::activeModalWidget();
        if (!fenetre)
            fenetre = QApplication::activeWindow();
        if (!fenetre || !fenetre->isVisible())
            fenetre = principale_;
        fenetre->close();
    }

    QWidget* principale_;
    std::function<void()> demanderLeClavier_;
#ifdef LEXORQUINE_HAS_XCB
    FermetureOrpheline orpheline_{principale_};
#endif
};

} // namespace

void garderLeClavier(QWidget* principale)
{
    // The window's focus widget gets the keyboard back with it.
    garderLeClavier(principale, [principale] { principale->activateWindow(); });
}

void garderLeClavier(QWidget* principale, std::function<void()> demanderLeClavier)
{
    new GardienClavier(principale, std::move(demanderLeClavier));
}

bool estRaccourciFermeture(const QKeyEvent& touche)
{
    return touche.type() == QEvent::KeyPress && touche.key() == Qt::Key_F4
        && (touche.modifiers() & ~Qt::KeypadModifier) == Qt::AltModifier;
}
