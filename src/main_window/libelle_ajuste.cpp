// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/libelle_ajuste.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Font sizes are tried in quarter points, condensing in steps of 5 %.
constexpr qreal kPas = 0.25;
constexpr int kEtroitesseMinimale = 50;

qreal largeurDe(const QFont& police, const QString& texte)
{
    return QFontMetricsF(police).horizontalAdvance(texte);
}

} // namespace

LibelleAjuste::LibelleAjuste(QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
}

QFont LibelleAjuste::policeAffichee() const { return ajuster().policeAjustee; }

QString LibelleAjuste::texteAffiche() const { return ajuster().texteAjuste; }

const LibelleAjuste::Ajustement& LibelleAjuste::ajuster() const
{
    // One pixel free on each side, so that no stroke is clipped by the label's edge.
    const int largeur = std::max(contentsRect().width() - 2, 1);
    if (cache_.largeur == largeur && cache_.texte == text() && cache_.police == font())
        return cache_;
    cache_.texte = text();
    cache_.largeur = largeur;
    cache_.police = font();
    cache_.texteAjuste = text();

    QFont police = font();
    const qreal tailleNaturelle = police.pointSizeF();
    const qreal largeurNaturelle = largeurDe(police, text());
    if (largeurNaturelle > largeur && tailleNaturelle > kTailleMinimale) {
        const auto tient = [&](qreal taille) {
            police.setPointSizeF(taille);
            return largeurDe(police, text()) <= largeur;
        };
        // Widths grow about in step with the size: start near the answer, then settle on the
        // largest quarter point that fits.
        qreal taille
            = std::clamp(std::floor(tailleNaturelle * largeur / largeurNaturelle / kPas) * kPas,
                         kTailleMinimale, tailleNaturelle);
        while (taille + kPas < tailleNaturelle && tient(taille + kPas))
            taille += kPas;
        while (taille > kTailleMinimale && !tient(taille))
            taille = std::max(kTailleMinimale, taille - kPas);
        police.setPointSizeF(taille);
    }
    const int etroitesse = police.stretch() > 0 ? police.stretch() : 100;
    for (int e = etroitesse - 5; e >= kEtroitesseMinimale && largeurDe(police, text()) > largeur;
         e -= 5)
        police.setStretch(e);
    if (largeurDe(police, text()) > largeur)
        cache_.texteAjuste = QFontMetrics(police).elidedText(text(), Qt::ElideMiddle, largeur);
    cache_.policeAjustee = police;
    return cache_;
}

void LibelleAjuste::paintEvent(QPaintEvent*)
{
    const Ajustement& a = ajuster();
    QPainter painter(this);
    drawFrame(&painter);
    painter.setFont(a.policeAjustee);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    // Drawn one line only: the caption never wraps nor spills below the label.
    const QRect zone = contentsRect().adjusted(1, 0, -1, 0);
    painter.drawText(zone, int(alignment()) | Qt::TextSingleLine, a.texteAjuste);
}
