// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCursor>
#include <QFont>
#include <QIcon>
#include <QPalette>
#include <QPixmap>

class QWidget;

// The program's pictures and its classic font, in one place for both windows.
namespace apparence {

QPixmap fond();
QIcon iconeProgramme();
QIcon iconeAide();
QIcon iconeQuitter();
// The pointing hand shown over the clickable elements; hot spot at the finger tip.
QCursor curseurMain();
// The face the layout was drawn for, carried by the program itself (see chargerPolices).
QFont policeClassique(qreal taillePoints, bool gras);
// The family name of that face.
QString familleClassique();
// Makes the program's own fonts known to the application; returns false when one of them
// could not be loaded. Runs once, whoever asks first; needs the application object.
bool chargerPolices();
// Gives the element's palette this colour in this role, the rest of the palette kept.
void colorer(QWidget* element, QPalette::ColorRole role, QColor couleur);

} // namespace apparence
