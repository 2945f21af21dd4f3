// SPDX-License-Identifier: GPL-3.0-or-later
#include "assets/look.h"

#include <QFontDatabase>
#include <QWidget>

namespace look {

QPixmap background() { return QPixmap(QStringLiteral(":/assets/background.gif")); }
QIcon programIcon() { return QIcon(QStringLiteral(":/assets/lexorquine.ico")); }
QIcon helpIcon() { return QIcon(QStringLiteral(":/assets/aide.ico")); }
QIcon quitIcon() { return QIcon(QStringLiteral(":/assets/quitter.ico")); }

QCursor handCursor() { return QCursor(QPixmap(QStringLiteral(":/assets/main.png")), 12, 1); }

QString classicFamily() { return QStringLiteral("Liberation Sans"); }

bool chargerPolices()
{
    static const bool chargees = [] {
        bool toutes = true;
        for (const char* fichier : {":/assets/polices/LiberationSans-Regular.ttf",
                                    ":/assets/polices/LiberationSans-Bold.ttf"})
            toutes = QFontDatabase::addApplicationFont(QLatin1String(fichier)) >= 0 && toutes;
        return toutes;
    }();
    return chargees;
}

QFont classicFont(qreal pointSize, bool bold)
{
    chargerPolices();
    QFont font(classicFamily());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    // The face is a little wider than the one the layout was drawn with.
    font.setStretch(90);
    // Full hinting, the default where no font settings exist, rounds every advance up and
    // widens the captions by several pixels: the widths must not depend on such settings.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    return font;
}

void colorer(QWidget* element, QPalette::ColorRole role, QColor couleur)
{
    QPalette palette = element->palette();
    palette.setColor(role, couleur);
    element->setPalette(palette);
}

} // namespace look
