// SPDX-License-Identifier: GPL-3.0-or-later
#include "help_window/frm_about.h"
#include "help_window/libelle_cliquable.h"
#include "main_window/form1.h"
#include "platform/fakes.h"
#include "search/recherche.h"
#include "text_view/vue_texte.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

#include <string>
#include <utility>

namespace {

struct ElementCase {
    const char* name;
    const char* kind; // class name
    const char* container; // objectName of the parent
    QRect geometry;
    QString text; // caption or text; empty when none
    bool handCursor;
};

const QString kHeading = u" Occurrence des mots \r\n "_qs + QString(30, u'-') + u"\r\n"_qs;

const ElementCase kElements[] = {
    {"LblTitre1", "QLabel", "Form1", {296, 24, 153, 25}, u"LEXORQUINE"_qs, false},
    {"Lbltitre2", "QLabel", "Form1", {290, 24, 169, 25}, u"LEXORQUINE"_qs, false},
    {"Cmdouvrir", "QPushButton", "Form1", {80, 26, 37, 37}, u""_qs, true},
    {"Label3",
     "LibelleCliquable",
     "Form1",
     {43, 24, 41, 41},
     u"Ouvrir        un dossier"_qs,
     false},
    {"CmdAide", "QPushButton", "Form1", {128, 26, 37, 37}, u""_qs, true},
    {"CmdQuit", "QPushButton", "Form1", {640, 26, 37, 37}, u""_qs, true},
    {"Le_texte", "VueTexte", "Form1", {32, 72, 649, 193}, u""_qs, false},
    {"Label1", "LibelleAjuste", "Form1", {40, 272, 649, 17}, u"Adresse du fichier"_qs, false},
    {"Fram2", "QGroupBox", "Form1", {32, 304, 305, 145}, u"  Analyse"_qs, false},
    {"Lignes", "LibelleAjuste", "Fram2", {8, 32, 121, 17}, u"Nombre de lignes"_qs, false},
    {"LblMots", "LibelleAjuste", "Fram2", {8, 56, 121, 17}, u"Nombre de mots"_qs, false},
    {"LblMotsDiff", "LibelleAjuste", "Fram2", {8, 80, 121, 17}, u"Mots uniques"_qs, false},
    {"Caract", "LibelleAjuste", "Fram2", {5, 104, 127, 17}, u"Nombre de caractères"_qs, false},
    {"Resultat_Txt", "VueTexte", "Fram2", {136, 16, 153, 121}, kHeading, true},
    {"Frame1",
     "QGroupBox",
     "Form1",
     {360, 304, 321, 145},
     u"  Recherche:  mot ou  groupe de caractères"_qs,
     false},
    {"TxtRecherche", "ChampRecherche", "Frame1", {16, 24, 137, 19}, u""_qs, true},
    {"ChkMaj",
     "CaseMultiligne",
     "Frame1",
     {24, 56, 121, 25},
     u"Première lettre en majuscule"_qs,
     true},
    {"CmdRecherche", "QPushButton", "Frame1", {40, 96, 89, 21}, u"Rechercher"_qs, true},
    {"ChkCherche", "QCheckBox", "Frame1", {64, 120, 49, 13}, u"Auto"_qs, true},
    {"Label2",
     "LibelleAjuste",
     "Frame1",
     {160, 48, 145, 65},
     QString(73, u' ') + u"Résultat"_qs,
     false},
};

QString textOf(QWidget* widget)
{
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (auto* box = qobject_cast<QGroupBox*>(widget))
        return box->title();
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        return line->text();
    if (auto* display = qobject_cast<VueTexte*>(widget))
        return display->texte().toString();
    return u"?"_qs;
}

class MainWindow : public testing::Test {
protected:
    FakePlatform fakes;
    Form1 form{fakes.platform()};
};

TEST_F(MainWindow, EveryElementHasItsNameKindPlaceTextAndPointer)
{
    for (const ElementCase& e : kElements) {
        SCOPED_TRACE(e.name);
        auto* widget = form.findChild<QWidget*>(QLatin1String(e.name));
        ASSERT_NE(widget, nullptr);
        EXPECT_STREQ(widget->metaObject()->className(), e.kind);
        EXPECT_EQ(widget->parentWidget()->objectName(), QLatin1String(e.container));
        EXPECT_EQ(widget->geometry(), e.geometry);
        EXPECT_EQ(textOf(widget), e.text);
        EXPECT_EQ(widget->cursor().shape() == Qt::BitmapCursor, e.handCursor);
        if (e.handCursor) {
            EXPECT_EQ(widget->cursor().hotSpot(), QPoint(12, 1));
        }
    }
}

TEST_F(MainWindow, PictureButtonsCarryToolTipsAndAccessibleNames)
{
    const struct {
        QPushButton* button;
        QString tip;
    } buttons[] = {
        {form.Cmdouvrir, u" Ouvrir un fichier "_qs},
        {form.CmdAide, u" Aide "_qs},
        {form.CmdQuit, u" Quitter "_qs},
    };
    for (const auto& b : buttons) {
        EXPECT_EQ(b.button->toolTip(), b.tip);
        EXPECT_EQ(b.button->accessibleName(), b.tip.trimmed());
        EXPECT_FALSE(b.button->icon().isNull());
        EXPECT_NE(b.button->focusPolicy(), Qt::NoFocus);
    }
    EXPECT_EQ(form.Resultat_Txt->toolTip(), u" Occurrences avec ou sans majuscule."_qs);
    EXPECT_EQ(form.TxtRecherche->toolTip(),
              u" Caractère(s)  englobé(s)  dans un mot ou  groupe de mots. "_qs);
}

TEST_F(MainWindow, LooksAsDescribed)
{
    EXPECT_EQ(form.size(), QSize(710, 482));
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(form.font().pointSizeF(), 8.25);
    EXPECT_TRUE(form.font().bold());
    EXPECT_EQ(form.LblTitre1->palette().color(QPalette::WindowText), QColor(0xE0, 0xE0, 0xE0));
    EXPECT_EQ(form.Lbltitre2->palette().color(QPalette::WindowText), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(form.LblTitre1->font().pointSizeF(), 18);
    EXPECT_EQ(form.Le_texte->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xC0));
    EXPECT_EQ(form.Resultat_Txt->palette().color(QPalette::Base), QColor(0xC0, 0xFF, 0xFF));
    EXPECT_EQ(form.Label2->palette().color(QPalette::Window), QColor(0xE0, 0xE0, 0xE0));
    EXPECT_TRUE(form.Label2->autoFillBackground());
    EXPECT_EQ(form.Fram2->font().pointSizeF(), 9.75);
    EXPECT_EQ(form.Frame1->font().pointSizeF(), 9.75);
    EXPECT_EQ(form.Le_texte->font().pointSizeF(), 8.25);
    EXPECT_FALSE(form.Le_texte->font().bold());
    // The lighter title is drawn over its shadow.
    EXPECT_GT(form.children().indexOf(form.LblTitre1), form.children().indexOf(form.Lbltitre2));
}

TEST_F(MainWindow, StartsWithRoundedOutlineSearchAtStartAndNothingLoaded)
{
    EXPECT_EQ(fakes.chrome.outline, QRect(1, 1, 709, 481));
    EXPECT_EQ(fakes.chrome.cornerRadius, 15);
    EXPECT_EQ(fakes.chrome.hiddenFromTaskBar, 1);
    EXPECT_EQ(form.recherche().position(), 1);
    EXPECT_EQ(form.recherche().etapes(), 0);
    EXPECT_TRUE(form.ChkCherche->isChecked());
    EXPECT_FALSE(form.ChkMaj->isChecked());
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_EQ(form.Timer1->interval(), 5);
    EXPECT_EQ(fakes.chrome.stayOnTopCalls, 0);
}

TEST_F(MainWindow, FocusStartsInTheText)
{
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_TRUE(form.Le_texte->hasFocus());
    form.hide();
}

TEST_F(MainWindow, OnlyALeftPressOnTheBackgroundMovesTheWindowAndKeepsItOnTop)
{
    form.show();
    const QPoint background(300, 290);
    ASSERT_EQ(form.childAt(background), nullptr);
    QTest::mousePress(&form, Qt::RightButton, {}, background);
    QTest::mouseRelease(&form, Qt::RightButton, {}, background);
    QTest::mousePress(&form, Qt::MiddleButton, {}, background);
    QTest::mouseRelease(&form, Qt::MiddleButton, {}, background);
    EXPECT_EQ(fakes.chrome.moves, 0);
    EXPECT_EQ(fakes.chrome.stayOnTopCalls, 0);

    QTest::mousePress(&form, Qt::LeftButton, Qt::ShiftModifier, background);
    QTest::mouseRelease(&form, Qt::LeftButton, Qt::ShiftModifier, background);
    EXPECT_EQ(fakes.chrome.moves, 1);
    EXPECT_EQ(fakes.chrome.stayOnTopCalls, 1);

    // Labels and frames let presses through to the window; they still do not move it.
    for (QWidget* element :
         {static_cast<QWidget*>(form.Label1), static_cast<QWidget*>(form.Fram2),
          static_cast<QWidget*>(form.LblMots), static_cast<QWidget*>(form.Label3)})
        QTest::mousePress(element, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(fakes.chrome.moves, 1);
    form.hide();
}

TEST_F(MainWindow, ReturnEnterAndSpacePressTheFocusedButton)
{
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    const std::pair<Qt::Key, bool> keys[]
        = {{Qt::Key_Return, false}, {Qt::Key_Enter, true}, {Qt::Key_Space, false}};
    for (QPushButton* button : {form.Cmdouvrir, form.CmdAide, form.CmdQuit, form.CmdRecherche}) {
        for (const auto& [key, keypad] : keys) {
            SCOPED_TRACE(button->objectName().toStdString() + " " + std::to_string(key));
            int presses = 0;
            const auto connection
                = QObject::connect(button, &QPushButton::clicked, [&] { ++presses; });
            form.activateWindow();
            button->setFocus(Qt::TabFocusReason);
            QTest::keyClick(button, key, keypad ? Qt::KeypadModifier : Qt::NoModifier);
            EXPECT_EQ(presses, 1);
            QObject::disconnect(connection);
        }
    }
    form.hide();
}

TEST_F(MainWindow, TabReachesEveryButtonAndCheckBox)
{
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    ASSERT_TRUE(form.Le_texte->hasFocus());
    QSet<QWidget*> reached;
    for (int step = 0; step < 40 && !reached.contains(form.Le_texte); ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached.insert(QApplication::focusWidget());
    }
    for (QAbstractButton* control : form.findChildren<QAbstractButton*>()) {
        SCOPED_TRACE(control->objectName().toStdString());
        EXPECT_TRUE(reached.contains(control));
    }
    form.hide();
}

TEST_F(MainWindow, QuitEndsTheProgram)
{
    QTest::mouseClick(form.CmdQuit, Qt::LeftButton);
    EXPECT_EQ(fakes.programEnds, 1);
}

// The help button opens one help window over this one; quitting hides it first.
class HelpButton : public MainWindow {
protected:
    void SetUp() override
    {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    frmAbout* open()
    {
        QTest::mouseClick(form.CmdAide, Qt::LeftButton);
        frmAbout* about = form.aide();
        if (about) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(about));
        }
        return about;
    }
};

TEST_F(HelpButton, ClosedHelpWindowIsReleasedAndTheNextPressMakesAFreshOne)
{
    frmAbout* first = open();
    ASSERT_NE(first, nullptr);
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form.aide(), nullptr);
    EXPECT_TRUE(form.findChildren<frmAbout*>().isEmpty());
    EXPECT_NE(open(), nullptr);
}

TEST_F(HelpButton, SecondPressShowsTheSameWindowAndLeavesTheMainWindowUsable)
{
    frmAbout* first = open();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(open(), first);
    first->hide();
    EXPECT_EQ(open(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(form.findChildren<frmAbout*>().size(), 1);
    EXPECT_FALSE(first->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(HelpButton, QuitAndClosingTheMainWindowHideTheHelpWindowThenEndTheProgram)
{
    const struct {
        const char* way;
        std::function<void(Form1&)> quit;
    } ways[] = {
        {"quit button", [](Form1& f) { QTest::mouseClick(f.CmdQuit, Qt::LeftButton); }},
        // What the window manager's close (Alt+F4) does.
        {"close", [](Form1& f) { f.close(); }},
    };
    for (const auto& w : ways) {
        SCOPED_TRACE(w.way);
        fakes.programEnds = 0;
        frmAbout* about = open();
        ASSERT_NE(about, nullptr);
        w.quit(form);
        EXPECT_FALSE(about->isVisible());
        EXPECT_EQ(fakes.programEnds, 1);
        // Until the program has ended, the window stays as it was.
        EXPECT_TRUE(form.isVisible());
    }
}

TEST_F(HelpButton, NeitherWindowStaysMinimised)
{
    frmAbout* about = open();
    ASSERT_NE(about, nullptr);
    for (QWidget* window : {static_cast<QWidget*>(about), static_cast<QWidget*>(&form)}) {
        SCOPED_TRACE(window->objectName().toStdString());
        window->showMinimized();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isMinimized(); }, 5000));
        EXPECT_TRUE(window->isVisible());
    }
    // The help button brings it back at once, before the window would come back by itself.
    about->setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(about->isMinimized());
    EXPECT_EQ(open(), about);
    EXPECT_FALSE(about->isMinimized());
    EXPECT_TRUE(about->isVisible());
}

} // namespace
