// SPDX-License-Identifier: GPL-3.0-or-later
#include "help_window/libelle_cliquable.h"

#include <QMouseEvent>

void LibelleCliquable::mousePressEvent(QMouseEvent* event)
{
    // Taken here, so the release comes back to the label and a press on it never reaches the
    // window beneath, which would start moving.
    event->accept();
}

void LibelleCliquable::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clique();
}

void LibelleCliquable::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    emit survole();
}
