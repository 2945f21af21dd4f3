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

void LibelleAjuste::dessinerComme(const QString& texte, const QString& dessin)
{
    remplace_ = texte;
    remplacant_ = dessin;
    cache_.place = QSize();
    update();
}

QFont LibelleAjuste::policeAffichee() const { return ajuster().policeAjustee; }

QString LibelleAjuste::texteAffiche() const { return ajuster().texteAjuste; }

// One pixel free on each side, so that no stroke is clipped by the label's edge.
QRect LibelleAjuste::zoneTexte() const { return contentsRect().adjusted(1, 0, -1, 0); }

int LibelleAjuste::drapeaux() const
{
    return int(alignment()) | (wordWrap() ? Qt::TextWordWrap : Qt::TextSingleLine);
}

const LibelleAjuste::Ajustement& LibelleAjuste::ajuster() const
{
    const QSize place(std::max(zoneTexte().width(), 1), std::max(zoneTexte().height(), 1));
    const bool surPlusieursLignes = wordWrap();
    if (cache_.place == place && cache_.surPlusieursLignes == surPlusieursLignes
        && cache_.texte == text() && cache_.police == font())
        return cache_;
    cache_.texte = text();
    cache_.place = place;
    cache_.surPlusieursLignes = surPlusieursLignes;
    cache_.police = font();

    QString texte = !remplace_.isNull() && text() == remplace_ ? remplacant_ : text();
    if (surPlusieursLignes)
        texte.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const int largeur = place.width();
    const int drapeauxTexte = drapeaux();
    const auto tientEn = [&](const QFont& police, const QString& t) {
        if (!surPlusieursLignes)
            return largeurDe(police, t) <= largeur;
        // Wrapped lines grow down the label: their height is what must fit, and a word too
        // long for a line would spill out sideways.
        const QSizeF besoin = QFontMetricsF(police)
                                  .boundingRect(QRectF(0, 0, largeur, 1e6), drapeauxTexte, t)
                                  .size();
        return besoin.width() <= largeur && besoin.height() <= place.height();
    };

    QFont police = font();
    const qreal tailleNaturelle = police.pointSizeF();
    if (!tientEn(police, texte) && tailleNaturelle > kTailleMinimale) {
        const auto tient = [&](qreal taille) {
            police.setPointSizeF(taille);
            return tientEn(police, texte);
        };
        // A line's width grows about in step with the size: start near the answer, then
        // settle on the largest quarter point that fits. Wrapped lines start from the top.
        qreal taille = tailleNaturelle;
        if (!surPlusieursLignes)
            taille = std::clamp(
                std::floor(tailleNaturelle * largeur / largeurDe(police, texte) / kPas) * kPas,
                kTailleMinimale, tailleNaturelle);
        while (taille + kPas < tailleNaturelle && tient(taille + kPas))
            taille += kPas;
        while (taille > kTailleMinimale && !tient(taille))
            taille = std::max(kTailleMinimale, taille - kPas);
        police.setPointSizeF(taille);
    }
    if (!surPlusieursLignes) {
        const int etroitesse = police.stretch() > 0 ? police.stretch() : 100;
        for (int e = etroitesse - 5; e >= kEtroitesseMinimale && !tientEn(police, texte); e -= 5)
            police.setStretch(e);
        if (!tientEn(police, texte))
            texte = QFontMetrics(police).elidedText(texte, Qt::ElideMiddle, largeur);
    } else {
        // Not condensed: over several lines, the smallest size condensed is hard to read. The
        // widest line gives way in the middle instead, keeping as many lines as there is room
        // for, then the next widest, until the caption fits.
        const int lignesPossibles
            = std::max(1, int(place.height() / QFontMetricsF(police).lineSpacing()));
        QStringList lignes = texte.split(u'\n');
        while (!tientEn(police, lignes.join(u'\n'))) {
            qsizetype plusLarge = -1;
            qreal largeurMax = largeur;
            for (qsizetype i = 0; i < lignes.size(); ++i)
                if (const qreal l = largeurDe(police, lignes[i]); l > largeurMax) {
                    largeurMax = l;
                    plusLarge = i;
                }
            if (plusLarge < 0)
                break; // too many lines, none too wide: an ellipsis would not help
            const QString entiere = lignes[plusLarge];
            for (int n = lignesPossibles; n >= 1; --n) {
                lignes[plusLarge]
                    = QFontMetrics(police).elidedText(entiere, Qt::ElideMiddle, n * largeur);
                if (tientEn(police, lignes.join(u'\n')))
                    break;
            }
            if (lignes[plusLarge] == entiere)
                break;
        }
        texte = lignes.join(u'\n');
    }
    cache_.texteAjuste = texte;
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
    // Never spills out: one line only, or wrapped lines that the fitting keeps within.
    painter.drawText(zoneTexte(), drapeaux(), a.texteAjuste);
}
