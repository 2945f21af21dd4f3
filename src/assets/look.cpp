// SPDX-License-Identifier: GPL-3.0-or-later
#include "assets/look.h"

namespace look {

QPixmap background() { return QPixmap(QStringLiteral(":/assets/background.gif")); }
QIcon programIcon() { return QIcon(QStringLiteral(":/assets/lexorquine.ico")); }
QIcon helpIcon() { return QIcon(QStringLiteral(":/assets/aide.ico")); }
QIcon quitIcon() { return QIcon(QStringLiteral(":/assets/quitter.ico")); }

QCursor handCursor() { return QCursor(QPixmap(QStringLiteral(":/assets/main.png")), 12, 1); }

QFont classicFont(qreal pointSize, bool bold)
{
    static const bool substituted = [] {
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   {QStringLiteral("Microsoft Sans Serif"),
                                    QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                    QStringLiteral("DejaVu Sans")});
        return true;
    }();
    Q_UNUSED(substituted);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    // The stand-in faces are wider than the classic one: keep captions within their boxes.
    font.setStretch(90);
    return font;
}

} // namespace look
