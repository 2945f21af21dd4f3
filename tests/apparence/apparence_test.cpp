// SPDX-License-Identifier: GPL-3.0-or-later
#include "apparence/encre.h"
#include "main_window/form1.h"
#include "main_window/form_with_files.h"
#include "main_window/libelle_ajuste.h"
#include "text_view/vue_texte.h"

#include <QCheckBox>
#include <QDir>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QStyleOptionButton>

#include <gtest/gtest.h>

namespace {

using Apparence = FormWithFiles;

QFont policeDessinee(const QLabel* libelle)
{
    if (const auto* ajuste = qobject_cast<const LibelleAjuste*>(libelle))
        return ajuste->policeAffichee();
    return libelle->font();
}

// Markup read as markup would lose its tags and entities and show much narrower.
TEST_F(Apparence, CaptionsFromOutsideShowTheirMarkupAsText)
{
    const QString balise = u"<b>gras</b> &amp; co"_qs;
    for (QLabel* libelle :
         {form.Label1, form.Lignes, form.LblMots, form.LblMotsDiff, form.Caract, form.Label2}) {
        SCOPED_TRACE(libelle->objectName().toStdString());
        libelle->setText(balise);
        EXPECT_EQ(libelle->textFormat(), Qt::PlainText);
        const QImage image = rendu(libelle);
        const qreal largeur = QFontMetricsF(policeDessinee(libelle)).horizontalAdvance(balise);
        EXPECT_NEAR(encreDans(image, image.rect()).largeur(), largeur, 3);
    }
}

TEST_F(Apparence, ThePathOfAFileNamedLikeMarkupShowsAsItIs)
{
    // The name's slash makes a folder of its first part.
    ASSERT_TRUE(QDir(dir.path()).mkpath(u"<b>gras<"_qs));
    const QString chemin = writeAndOpen(u"<b>gras</b> &amp; co.txt"_qs, "un mot\r\n");
    ASSERT_EQ(form.Label1->text(), chemin);
    const QImage image = rendu(form.Label1);
    const Encre encre = encreDans(image, image.rect());
    const QFont police = policeDessinee(form.Label1);
    EXPECT_NEAR(encre.largeur(), QFontMetricsF(police).horizontalAdvance(chemin), 3);
}

TEST_F(Apparence, PointerShapesOverTheTextBoxes)
{
    const struct {
        const char* nom;
        QWidget* zone;
        Qt::CursorShape forme;
    } cas[] = {
        {"Le_texte", form.Le_texte->viewport(), Qt::ArrowCursor},
        {"Resultat_Txt", form.Resultat_Txt->viewport(), Qt::BitmapCursor},
        {"Label1", form.Label1, Qt::ArrowCursor},
    };
    for (const auto& c : cas)
        EXPECT_EQ(c.zone->cursor().shape(), c.forme) << c.nom;
}

// Around its square and its caption, a check box shows nothing but the frame's grey.
TEST_F(Apparence, CheckBoxesFillTheirBoxesWithTheFramesGrey)
{
    form.ChkMaj->setChecked(true);
    for (QCheckBox* case_ : {form.ChkMaj, form.ChkCherche}) {
        SCOPED_TRACE(case_->objectName().toStdString());
        QStyleOptionButton option;
        option.initFrom(case_);
        const QRect carre
            = case_->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, case_);
        const QImage image = rendu(case_);
        int gris = 0;
        int autres = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                if (carre.contains(x, y))
                    continue;
                const QRgb p = image.pixel(x, y);
                if (p == qRgb(0xC0, 0xC0, 0xC0))
                    ++gris;
                // The caption's strokes and their soft edges are darker than the grey.
                else if (qRed(p) != qGreen(p) || qGreen(p) != qBlue(p) || qRed(p) > 0xC0)
                    ++autres;
            }
        EXPECT_EQ(autres, 0);
        EXPECT_GT(gris, (image.width() * image.height() - carre.width() * carre.height()) / 2);
    }
}

// Between what they hold, the frames are their own grey: no shade of the style shows there.
TEST_F(Apparence, FramesAreTheirOwnGreyInside)
{
    for (QGroupBox* cadre : {form.Fram2, form.Frame1}) {
        SCOPED_TRACE(cadre->objectName().toStdString());
        const QImage image = rendu(cadre);
        QRegion libre(cadre->contentsRect());
        for (QWidget* element : cadre->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            libre -= element->geometry();
        int gris = 0;
        int autres = 0;
        for (const QRect& zone : libre)
            for (int y = zone.top(); y <= zone.bottom(); ++y)
                for (int x = zone.left(); x <= zone.right(); ++x)
                    ++(image.pixel(x, y) == qRgb(0xC0, 0xC0, 0xC0) ? gris : autres);
        EXPECT_EQ(autres, 0);
        EXPECT_GT(gris, 1000);
        // The border itself is still drawn, beside the inside.
        const int milieu = cadre->contentsRect().center().y();
        int bord = 0;
        for (int x = 0; x < cadre->contentsRect().left(); ++x)
            bord += image.pixel(x, milieu) != qRgb(0xC0, 0xC0, 0xC0);
        EXPECT_GT(bord, 0);
    }
}

} // namespace
