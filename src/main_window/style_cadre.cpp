// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/style_cadre.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QStyleOption>
#include <QWidget>

StyleCadre* StyleCadre::commun()
{
    static QPointer<StyleCadre> style;
    if (!style) {
        style = new StyleCadre;
        style->setParent(qApp);
    }
    return style;
}

void StyleCadre::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const
{
    if (element != PE_FrameGroupBox || !widget) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // The group box's contents area is what the style counts as its inside.
    painter->save();
    painter->setClipRegion(QRegion(option->rect).subtracted(widget->contentsRect()),
                           Qt::IntersectClip);
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    painter->restore();
}
