// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where a caption's strokes are, read from the pixels of a rendered window.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QWidget>

// The columns that hold ink, dark text on a light ground: the first and the last, or an
// empty span (gauche > droite) when the zone holds none.
struct Encre {
    int gauche = 1;
    int droite = 0;
    bool vide() const { return gauche > droite; }
    int largeur() const { return vide() ? 0 : droite - gauche + 1; }
};

inline bool estEncre(QRgb pixel) { return qGray(pixel) < 0x60; }

inline Encre encreDans(const QImage& image, const QRect& zone)
{
    Encre encre{zone.right() + 1, zone.left() - 1};
    for (int y = zone.top(); y <= zone.bottom(); ++y)
        for (int x = zone.left(); x <= zone.right(); ++x)
            if (estEncre(image.pixel(x, y))) {
                encre.gauche = std::min(encre.gauche, x);
                encre.droite = std::max(encre.droite, x);
            }
    return encre;
}

// The widget as it shows inside its window, its window's background and all.
inline QImage rendu(QWidget* widget)
{
    QWidget* fenetre = widget->window();
    const QImage image = fenetre->grab().toImage();
    return image.copy(QRect(widget->mapTo(fenetre, QPoint(0, 0)), widget->size()));
}
