// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/case_multiligne.h"

#include <QStyleOptionButton>
#include <QStylePainter>

void CaseMultiligne::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    const QRect indicator = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    QStyleOptionButton box = option;
    box.rect = indicator;
    painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, box);

    const QRect area = rect().adjusted(indicator.right() + 4, 0, 0, 0);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;
    QFont font = this->font();
    while (font.pointSizeF() > 6
           && QFontMetrics(font).boundingRect(area, flags, text()).height() > area.height())
        font.setPointSizeF(font.pointSizeF() - 0.25);
    painter.setFont(font);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    const QRect used = painter.boundingRect(area, flags, text());
    painter.drawText(area, flags, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = used.adjusted(-1, 0, 1, 0);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool CaseMultiligne::hitButton(const QPoint& position) const { return rect().contains(position); }
