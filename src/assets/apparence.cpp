// SPDX-License-Identifier: GPL-3.0-or-later
#include "assets/apparence.h"

#include <QFontDatabase>
#include <QWidget>

namespace apparence {

QPixmap fond() { return QPixmap(QStringLiteral(":/assets/background.gif")); }
QIcon iconeProgramme() { return QIcon(QStringLiteral(":/assets/lexorquine.ico")); }
QIcon iconeAide() { return QIcon(QStringLiteral(":/assets/aide.ico")); }
QIcon iconeQuitter() { return QIcon(QStringLiteral(":/assets/quitter.ico")); }

QCursor curseurMain() { return QCursor(QPixmap(QStringLiteral(":/assets/main.png")), 12, 1); }

QString familleClassique() { return QStringLiteral("Liberation Sans"); }

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

QFont policeClassique(qreal taillePoints, bool gras)
{
    chargerPolices();
    QFont police(familleClassique());
    police.setStyleHint(QFont::SansSerif);
    police.setPointSizeF(taillePoints);
    police.setBold(gras);
    // The face is a little wider than the one the layout was drawn with.
    police.setStretch(90);
    // Full hinting, the default where no font settings exist, rounds every advance up and
    // widens the captions by several pixels: the widths must not depend on such settings.
    police.setHintingPreference(QFont::PreferVerticalHinting);
    return police;
}

void colorer(QWidget* element, QPalette::ColorRole role, QColor couleur)
{
    QPalette palette = element->palette();
    palette.setColor(role, couleur);
    element->setPalette(palette);
}

} // namespace apparence
