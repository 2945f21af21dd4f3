// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/clickable_label.h"

#include <QMouseEvent>

void ClickableLabel::mousePressEvent(QMouseEvent* event)
{
    // Taken here, so a press on the label never reaches the window and moves it.
    event->accept();
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}
