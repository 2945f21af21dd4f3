// SPDX-License-Identifier: GPL-3.0-or-later
#include "help_window/link_label.h"

#include <QMouseEvent>

LinkLabel::LinkLabel(QWidget* parent)
    : QLabel(parent)
{
    // Moves without a pressed button count too.
    setMouseTracking(true);
}

void LinkLabel::mousePressEvent(QMouseEvent* event)
{
    // Taken here, so the release comes back to the label.
    event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void LinkLabel::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    emit pointerMoved();
}
