// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/clavier.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace {

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
    }

protected:
    bool eventFilter(QObject* surveille, QEvent* event) override
    {
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

    QWidget* principale_;
    std::function<void()> demanderLeClavier_;
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
