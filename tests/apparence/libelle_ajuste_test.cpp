// SPDX-License-Identifier: GPL-3.0-or-later
#include "apparence/encre.h"
#include "assets/apparence.h"
#include "main_window/form1.h"
#include "main_window/libelle_ajuste.h"
#include "platform/fakes.h"

#include <QFontMetricsF>
#include <QLabel>

#include <gtest/gtest.h>

namespace {

// One pixel stays free on each side of a caption.
int largeurUtile(const LibelleAjuste& libelle) { return libelle.contentsRect().width() - 2; }

qreal largeurTexte(const QFont& police, const QString& texte)
{
    return QFontMetricsF(police).horizontalAdvance(texte);
}

// The caption drawn whole, by a label wide enough, in the font the fitted label chose.
Encre encreEntiere(const LibelleAjuste& libelle)
{
    QWidget fond;
    fond.setAutoFillBackground(true);
    fond.resize(2000, libelle.height());
    QLabel entier(&fond);
    entier.setTextFormat(Qt::PlainText);
    entier.setFont(libelle.policeAffichee());
    entier.setText(libelle.text());
    entier.setGeometry(0, 0, 2000, libelle.height());
    const QImage image = fond.grab().toImage();
    return encreDans(image, image.rect());
}

void verifierLisible(LibelleAjuste& libelle)
{
    const QFont naturelle = libelle.font();
    const QFont affichee = libelle.policeAffichee();
    const int utile = largeurUtile(libelle);

    // The size: the label's own when the caption fits, else just small enough.
    EXPECT_LE(largeurTexte(affichee, libelle.text()), utile);
    EXPECT_GE(affichee.pointSizeF(), LibelleAjuste::kTailleMinimale);
    EXPECT_EQ(affichee.stretch(), naturelle.stretch());
    EXPECT_EQ(libelle.texteAffiche(), libelle.text());
    if (affichee.pointSizeF() < naturelle.pointSizeF()) {
        QFont plusGrande = affichee;
        plusGrande.setPointSizeF(affichee.pointSizeF() + 0.25);
        EXPECT_GT(largeurTexte(plusGrande, libelle.text()), utile);
    }

    // The pixels: every stroke inside the label, none on its edges, centred.
    const QImage image = rendu(&libelle);
    const Encre encre = encreDans(image, image.rect());
    ASSERT_FALSE(encre.vide());
    EXPECT_GT(encre.gauche, 0);
    EXPECT_LT(encre.droite, image.width() - 1);
    EXPECT_NEAR(encre.gauche, image.width() - 1 - encre.droite, 2);
    EXPECT_NEAR(encre.largeur(), encreEntiere(libelle).largeur(), 1);
}

struct CasCompte {
    const char* libelle;
    const char* suffixe; // UTF-8
};

const CasCompte kComptes[] = {
    {"Lignes", " lignes"},
    {"LblMots", " Mots"},
    {"LblMotsDiff", " Mots différents"},
    {"Caract", " Caractères"},
};

const char* const kNombres[] = {"0",       "7",        "42",        "999",        "32768",
                                "1299979", "99999999", "123456789", "4294967296", "9999999999"};

TEST(FittedCounts, ReadWholeAndCentredUpToTenDigits)
{
    FakePlatform fakes;
    Form1 form{fakes.platform()};
    for (const CasCompte& c : kComptes) {
        auto* libelle = form.findChild<LibelleAjuste*>(QLatin1String(c.libelle));
        ASSERT_NE(libelle, nullptr) << c.libelle;
        for (const char* nombre : kNombres) {
            const QString texte = QLatin1String(nombre) + QString::fromUtf8(c.suffixe);
            SCOPED_TRACE(texte.toStdString());
            libelle->setText(texte);
            verifierLisible(*libelle);
        }
    }
}

TEST(FittedCounts, ShortCaptionsKeepTheirFont)
{
    FakePlatform fakes;
    Form1 form{fakes.platform()};
    for (const CasCompte& c : kComptes) {
        auto* libelle = form.findChild<LibelleAjuste*>(QLatin1String(c.libelle));
        ASSERT_NE(libelle, nullptr);
        libelle->setText(u"12"_qs + QString::fromUtf8(c.suffixe));
        EXPECT_EQ(libelle->policeAffichee(), libelle->font()) << c.libelle;
    }
}

struct CasExtreme {
    const char* nom;
    int largeur;
    QString texte;
    bool eclipse; // only an ellipsis in the middle can make it fit
};

void PrintTo(const CasExtreme& c, std::ostream* out) { *out << c.nom; }

class FittedExtremes : public testing::TestWithParam<CasExtreme> { };

TEST_P(FittedExtremes, NeverSpillOutAndKeepBothEnds)
{
    const CasExtreme& c = GetParam();
    QWidget fond;
    LibelleAjuste libelle(&fond);
    libelle.setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    libelle.setFont(apparence::policeClassique(8.25, true));
    libelle.setGeometry(0, 0, c.largeur, 17);
    libelle.setText(c.texte);

    const QFont affichee = libelle.policeAffichee();
    const QString affiche = libelle.texteAffiche();
    EXPECT_GE(affichee.pointSizeF(), LibelleAjuste::kTailleMinimale);
    EXPECT_LE(largeurTexte(affichee, affiche), largeurUtile(libelle));
    // What reads the label aloud still gets all of it.
    EXPECT_EQ(libelle.text(), c.texte);
    if (c.eclipse) {
        EXPECT_NE(affiche, c.texte);
        EXPECT_EQ(affiche.front(), c.texte.front());
        EXPECT_EQ(affiche.back(), c.texte.back());
    } else {
        EXPECT_EQ(affiche, c.texte);
    }
    const QImage image = rendu(&libelle);
    const Encre encre = encreDans(image, image.rect());
    EXPECT_GT(encre.gauche, 0);
    EXPECT_LT(encre.droite, image.width() - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FittedExtremes,
    testing::Values(
        CasExtreme{"largestCount", 121, u"9223372036854775807 Mots différents"_qs, false},
        CasExtreme{"narrowLabel", 40, u"123456 Mots"_qs, false},
        CasExtreme{"longPath", 649, u"/home/"_qs + QString(1000, u'x') + u"/fin.txt"_qs, true}),
    [](const testing::TestParamInfo<CasExtreme>& info) { return std::string(info.param.nom); });

TEST(FittedLabel, FollowsItsWidthAndFont)
{
    QWidget fond;
    LibelleAjuste libelle(&fond);
    QFont police = apparence::policeClassique(8.25, false);
    libelle.setFont(police);
    libelle.setGeometry(0, 0, 60, 17);
    libelle.setText(u"1234567890 Mots"_qs);
    const qreal serree = libelle.policeAffichee().pointSizeF();
    ASSERT_LT(serree, 8.25);

    libelle.resize(400, 17);
    EXPECT_EQ(libelle.policeAffichee().pointSizeF(), 8.25);
    libelle.resize(60, 17);
    EXPECT_EQ(libelle.policeAffichee().pointSizeF(), serree);

    police.setPointSizeF(7);
    libelle.setFont(police);
    libelle.setText(u"1 Mots"_qs);
    EXPECT_EQ(libelle.policeAffichee().pointSizeF(), 7);
}

} // namespace
