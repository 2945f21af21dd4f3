// SPDX-License-Identifier: GPL-3.0-or-later
#include "apparence/encre.h"
#include "assets/apparence.h"
#include "help_window/frm_about.h"
#include "main_window/case_multiligne.h"
#include "main_window/form1.h"
#include "main_window/libelle_ajuste.h"
#include "platform/fakes.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>

#include <gtest/gtest.h>

namespace {

// The room a caption needs and the room it has, in pixels. Heights count down to the
// baseline of the last line: whether the strokes below it fit, the pixels tell.
struct Place {
    QSizeF besoin;
    QSize dispo;
};

QSizeF jusquALaLigneDeBase(QSizeF taille, const QFontMetricsF& mesure)
{
    return {taille.width(), taille.height() - mesure.descent()};
}

Place placeLibelle(const QLabel* libelle)
{
    const QRect zone = libelle->contentsRect();
    const auto* ajuste = qobject_cast<const LibelleAjuste*>(libelle);
    if (ajuste && !ajuste->wordWrap()) {
        // Judged at its own size: shrinking is for counts, not for the layout's captions.
        const QFontMetricsF mesure(ajuste->font());
        return {{mesure.horizontalAdvance(ajuste->text()) + 2, mesure.ascent()}, zone.size()};
    }
    const QFontMetricsF mesure(libelle->font());
    const int drapeaux = int(libelle->alignment()) | (libelle->wordWrap() ? Qt::TextWordWrap : 0);
    // A fitted label is judged by what it draws, at its own size.
    const QString texte = ajuste ? ajuste->texteAffiche() : libelle->text();
    return {jusquALaLigneDeBase(mesure.boundingRect(QRectF(zone), drapeaux, texte).size(), mesure),
            zone.size()};
}

Place placeCase(const QCheckBox* case_)
{
    QStyleOptionButton option;
    option.initFrom(case_);
    option.text = case_->text();
    const QRect carre
        = case_->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, case_);
    const QFontMetricsF mesure(case_->font());
    if (qobject_cast<const CaseMultiligne*>(case_)) {
        // Its lines get closer when two would not fit: only the width is the face's own.
        const QRectF zone = QRectF(case_->rect()).adjusted(carre.right() + 4, 0, 0, 0);
        return {{mesure.boundingRect(zone, Qt::TextWordWrap, case_->text()).width(), 0},
                zone.size().toSize()};
    }
    const QRect zone = case_->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, case_);
    return {{mesure.horizontalAdvance(case_->text()), mesure.ascent()},
            QSize(case_->width() - zone.left(), case_->height())};
}

Place placeBouton(const QPushButton* bouton)
{
    QStyleOptionButton option;
    option.initFrom(bouton);
    option.text = bouton->text();
    const QRect zone
        = bouton->style()->subElementRect(QStyle::SE_PushButtonContents, &option, bouton);
    const QFontMetricsF mesure(bouton->font());
    return {{mesure.horizontalAdvance(bouton->text()), mesure.height()}, zone.size()};
}

Place placeCadre(const QGroupBox* cadre)
{
    const QFontMetricsF mesure(cadre->font());
    // The title starts a little way in and must end before the frame's right edge.
    QStyleOptionGroupBox option;
    option.initFrom(cadre);
    option.text = cadre->title();
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    const QRect titre = cadre->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                       QStyle::SC_GroupBoxLabel, cadre);
    return {{mesure.horizontalAdvance(cadre->title()), mesure.height()},
            QSize(cadre->width() - titre.left(), titre.height() + 4)};
}

// Every caption of the window, with the room it needs and has.
std::vector<std::pair<QString, Place>> legendes(QWidget* fenetre)
{
    std::vector<std::pair<QString, Place>> toutes;
    for (QWidget* element : fenetre->findChildren<QWidget*>()) {
        if (auto* libelle = qobject_cast<QLabel*>(element); libelle && !libelle->text().isEmpty())
            toutes.emplace_back(libelle->objectName(), placeLibelle(libelle));
        else if (auto* case_ = qobject_cast<QCheckBox*>(element))
            toutes.emplace_back(case_->objectName(), placeCase(case_));
        else if (auto* bouton = qobject_cast<QPushButton*>(element);
                 bouton && !bouton->text().isEmpty())
            toutes.emplace_back(bouton->objectName(), placeBouton(bouton));
        else if (auto* cadre = qobject_cast<QGroupBox*>(element))
            toutes.emplace_back(cadre->objectName(), placeCadre(cadre));
    }
    return toutes;
}

// A caption cut at the top or the bottom leaves strokes on the element's first or last row.
void verifierBords(QWidget* element)
{
    // Drawn alone: in the window, neighbours whose boxes overlap would add their own strokes.
    const QImage image = element->grab().toImage();
    QRect exclu;
    if (auto* case_ = qobject_cast<QCheckBox*>(element)) {
        QStyleOptionButton option;
        option.initFrom(case_);
        exclu = case_->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, case_);
    }
    for (int y : {0, image.height() - 1})
        for (int x = 0; x < image.width(); ++x)
            if (!exclu.contains(x, y)) {
                ASSERT_FALSE(estEncre(image.pixel(x, y))) << "row " << y << ", column " << x;
            }
}

void verifierLegendes(QWidget* fenetre, size_t combien)
{
    fenetre->grab(); // laid out and drawn once, as on the screen
    const auto toutes = legendes(fenetre);
    EXPECT_EQ(toutes.size(), combien);
    for (const auto& [nom, place] : toutes) {
        SCOPED_TRACE(nom.toStdString());
        EXPECT_LE(place.besoin.width(), place.dispo.width());
        EXPECT_LE(place.besoin.height(), place.dispo.height());
        auto* element = fenetre->findChild<QWidget*>(nom);
        if (qobject_cast<QLabel*>(element) || qobject_cast<QCheckBox*>(element))
            verifierBords(element);
    }
}

TEST(CarriedFont, IsTheOnlyFaceAndServesBothWeights)
{
    ASSERT_TRUE(apparence::chargerPolices());
    // The test setup hides every font of the system: only the program's own remain, and
    // the generic names all lead to it.
    const QStringList familles = QFontDatabase::families();
    EXPECT_TRUE(familles.contains(apparence::familleClassique()));
    for (const QString& famille : familles)
        EXPECT_EQ(QFontInfo(QFont(famille)).family(), apparence::familleClassique())
            << famille.toStdString();
    for (bool gras : {false, true}) {
        const QFontInfo info(apparence::policeClassique(8.25, gras));
        EXPECT_EQ(info.family(), apparence::familleClassique());
        EXPECT_EQ(info.bold(), gras);
    }
}

TEST(CarriedFont, NoCaptionOfTheMainWindowIsCut)
{
    FakePlatform fakes;
    Form1 form{fakes.platform()};
    EXPECT_EQ(QFontInfo(form.font()).family(), apparence::familleClassique());
    // Titles, the open label, address, the four counts, result, two frames,
    // two check boxes, the search button.
    verifierLegendes(&form, 14);
}

TEST(CarriedFont, NoCaptionOfTheHelpWindowIsCut)
{
    FakePlatform fakes;
    frmAbout aide(fakes.launcher);
    EXPECT_EQ(QFontInfo(aide.font()).family(), apparence::familleClassique());
    // Twelve captions, the link and OK.
    verifierLegendes(&aide, 14);
}

} // namespace
