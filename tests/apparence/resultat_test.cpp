// SPDX-License-Identifier: GPL-3.0-or-later
// The result label shows every result whole, and rests where it will rest.
#include "apparence/encre.h"
#include "main_window/form1.h"
#include "main_window/form_with_files.h"
#include "main_window/libelle_ajuste.h"

#include <QFontMetricsF>
#include <QLabel>

#include <gtest/gtest.h>

namespace {

int derniereLigneEncree(const QImage& image)
{
    int y = image.height() - 1;
    while (y >= 0 && encreDans(image, QRect(0, y, image.width(), 1)).vide())
        --y;
    return y;
}

using Resultat = FormWithFiles;

TEST_F(Resultat, NeverCutsTheCountWhateverTheSearchText)
{
    auto* libelle = qobject_cast<LibelleAjuste*>(form.Label2);
    ASSERT_NE(libelle, nullptr);
    const QString compte = u"a été trouvé 2000 fois."_qs;
    const int largeur = libelle->contentsRect().width() - 2; // one pixel free on each side
    for (const QString& unite : {u"anticonstitutionnel"_qs, u"mot ou groupe "_qs})
        for (int longueur = 1; longueur <= 300; ++longueur) {
            const QString motif = unite.repeated(300 / unite.size() + 1).left(longueur);
            SCOPED_TRACE(motif.toStdString());
            libelle->setText(u"\r\nRecherche terminée\r\n'' "_qs + motif + u" ''\r\n"_qs + compte);
            const QFont police = libelle->policeAffichee();
            const QStringList lignes = libelle->texteAffiche().split(u'\n');
            ASSERT_EQ(lignes.size(), 4);
            EXPECT_EQ(lignes[3], compte);
            if (lignes[2] != u"'' "_qs + motif + u" ''"_qs) {
                // Shortened in the middle of the search text, and only at the smallest size.
                EXPECT_EQ(police.pointSizeF(), LibelleAjuste::kTailleMinimale);
                EXPECT_TRUE(lignes[2].contains(u'…'));
                EXPECT_TRUE(lignes[2].startsWith(u"'' "_qs + motif.front()));
                EXPECT_TRUE(lignes[2].endsWith(motif.back() + u" ''"_qs));
            }
            const QSizeF voulue
                = QFontMetricsF(police)
                      .boundingRect(QRectF(0, 0, largeur, 1e6), Qt::AlignHCenter | Qt::TextWordWrap,
                                    libelle->texteAffiche())
                      .size();
            EXPECT_LE(voulue.width(), largeur);
            // The pixels: the last line drawn is the one drawn with room to spare.
            QLabel haut;
            haut.setWordWrap(true);
            haut.setAlignment(libelle->alignment());
            haut.setFont(police);
            haut.setText(libelle->texteAffiche());
            haut.resize(largeur, 1000);
            const QImage image = libelle->grab().toImage();
            ASSERT_EQ(derniereLigneEncree(image), derniereLigneEncree(haut.grab().toImage()));
            EXPECT_LT(derniereLigneEncree(image), image.height() - 1);
        }
}

TEST_F(Resultat, RestsAtStartWhereItWillRestAfterAnOpen)
{
    const QImage auDepart = form.Label2->grab().toImage();
    writeAndOpen(u"un.txt"_qs, "un mot\r\n");
    ASSERT_EQ(form.Label2->text(), u"\r\n\r\n Résultat"_qs);
    EXPECT_EQ(form.Label2->grab().toImage(), auDepart);
}

} // namespace
