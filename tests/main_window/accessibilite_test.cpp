// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader gets from the main window: names, the status, and the results and
// counts told through the focused control.
#include "main_window/form1.h"
#include "main_window/form_with_files.h"
#include "search/recherche.h"
#include "text_view/vue_texte.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// A description change: the control's name and the description it then had.
using Annonces = std::vector<std::pair<QString, QString>>;
Annonces annonces;

// As when a screen reader listens from the start: Qt tells events only then.
struct LecteurDEcran {
    LecteurDEcran()
    {
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
        QAccessible::installUpdateHandler([](QAccessibleEvent* e) {
            if (e->type() == QAccessible::DescriptionChanged)
                annonces.emplace_back(e->object()->objectName(),
                                      e->accessibleInterface()->text(QAccessible::Description));
        });
        annonces.clear();
    }
    ~LecteurDEcran()
    {
        QAccessible::installUpdateHandler(nullptr);
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(false);
    }
};

class Accessibilite : private LecteurDEcran, public FormWithFiles {
protected:
    void SetUp() override
    {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        form.ChkCherche->setChecked(false);
    }
    QAccessibleInterface* de(QObject* objet)
    {
        return QAccessible::queryAccessibleInterface(objet);
    }
    void cliquer(QWidget* element) { QTest::mouseClick(element, Qt::LeftButton); }
};

TEST_F(Accessibilite, TheTextsAreNamedForWhatTheyHoldAndTheResultIsTheStatus)
{
    EXPECT_EQ(de(form.Le_texte)->text(QAccessible::Name), u"Texte du fichier"_qs);
    EXPECT_EQ(de(form.Resultat_Txt)->text(QAccessible::Name), u"Occurrences des mots"_qs);
    EXPECT_EQ(de(form.Label2)->role(), QAccessible::StatusBar);
    EXPECT_EQ(de(form.Label2)->text(QAccessible::Name), u"Résultat"_qs);
    EXPECT_EQ(de(form.LblMots)->role(), QAccessible::StaticText);
}

TEST_F(Accessibilite, EachResultIsToldByTheFocusedControlAndTheCountsOfAnOpenToo)
{
    form.Le_texte->setFocus();
    writeAndOpen(u"conte.txt"_qs, "raconter et contes\r\n");
    form.TxtRecherche->setText(u"conte"_qs);
    form.CmdRecherche->setFocus();
    for (int appui = 0; appui < 3; ++appui)
        cliquer(form.CmdRecherche);
    const QString fin = u"Recherche terminée '' conte '' a été trouvé 2 fois."_qs;
    // Each step is told by the button just pressed, which gets its own description back once
    // the step has put the focus in the text; the final count comes from the text.
    const Annonces attendues = {
        {u"Le_texte"_qs, u"1 lignes, 18 Caractères, 3 Mots, 3 Mots différents"_qs},
        {u"Le_texte"_qs, u""_qs},
        {u"CmdRecherche"_qs, u"1"_qs},
        {u"CmdRecherche"_qs, u""_qs},
        {u"CmdRecherche"_qs, u"2"_qs},
        {u"CmdRecherche"_qs, u""_qs},
        {u"CmdRecherche"_qs, u"3"_qs},
        {u"CmdRecherche"_qs, u""_qs},
        {u"Le_texte"_qs, fin},
    };
    EXPECT_EQ(annonces, attendues);
    EXPECT_EQ(de(form.Label2)->text(QAccessible::Name), fin);
}

TEST_F(Accessibilite, TheSameMessageTwiceIsToldTwiceAndTheToolTipComesBack)
{
    form.CmdRecherche->setFocus();
    cliquer(form.CmdRecherche);
    cliquer(form.CmdRecherche);
    EXPECT_EQ(annonces, Annonces(2, {u"CmdRecherche"_qs, u"Sélectionnez un mot"_qs}));
    annonces.clear();
    form.TxtRecherche->setFocus();
    form.CmdRecherche_Click();
    form.Le_texte->setFocus();
    // A description of their own, the tool tip for the search box, comes back with the focus gone.
    const Annonces attendues = {{u"CmdRecherche"_qs, u""_qs},
                                {u"TxtRecherche"_qs, u"Sélectionnez un mot"_qs},
                                {u"TxtRecherche"_qs, form.TxtRecherche->toolTip()}};
    EXPECT_EQ(annonces, attendues);
}

} // namespace
