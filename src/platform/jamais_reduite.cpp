// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/jamais_reduite.h"

#include <QEvent>
#include <QWidget>

namespace {

class GardienReduction final : public QObject {
public:
    explicit GardienReduction(QWidget* fenetre)
        : QObject(fenetre)
        , fenetre_(fenetre)
    {
        fenetre->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* surveille, QEvent* event) override
    {
        if (surveille == fenetre_ && event->type() == QEvent::WindowStateChange
            && fenetre_->isMinimized()) {
            // Still active here: the window manager takes the keyboard away afterwards.
            const bool avaitLeClavier = fenetre_->isActiveWindow();
            // Once the window manager has finished minimising: undone in the middle, it would
            // be done again.
            QMetaObject::invokeMethod(
                fenetre_,
                [fenetre = fenetre_, avaitLeClavier] {
                    if (!fenetre->isMinimized())
                        return;
                    fenetre->setWindowState(fenetre->windowState() & ~Qt::WindowMinimized);
                    // kwin shows it again but gives the keyboard to no window.
                    if (avaitLeClavier)
                        fenetre->activateWindow();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    QWidget* fenetre_;
};

} // namespace

void empecherReduction(QWidget* fenetre) { new GardienReduction(fenetre); }
