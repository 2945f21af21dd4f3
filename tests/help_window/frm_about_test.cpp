// SPDX-License-Identifier: GPL-3.0-or-later
#include "help_window/frm_about.h"
#include "help_window/libelle_cliquable.h"
#include "help_window/site.h"
#include "platform/fakes.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

const QColor kPink(0xFF, 0xC0, 0xC0), kGreen(0xC0, 0xFF, 0xC0);

QColor linkColour(const frmAbout& about)
{
    return about.lblk3zop->palette().color(QPalette::Window);
}

// Through the window, as the system delivers it: the window finds the element under the pointer.
void moveTo(frmAbout* about, QPoint at) { QTest::mouseMove(about->windowHandle(), at); }

// Lets the windows closed so far be released, as the event loop would.
void releaseClosed() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// The help window over a stand-in for the main window, opened as its help button does.
class HelpWindow : public testing::Test {
protected:
    void SetUp() override
    {
        owner.setFixedSize(710, 482);
        owner.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    }
    // A move to where the pointer already is counts for nothing: start each walk elsewhere.
    void pointerAway() { QTest::mouseMove(owner.windowHandle(), {1, 1}); }
    frmAbout* open()
    {
        if (!about_)
            about_ = new frmAbout(fakes.launcher, &owner);
        about_->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(about_));
        return about_;
    }
    FakePlatform fakes;
    QWidget owner;
    QPointer<frmAbout> about_;
};

} // namespace

TEST_F(HelpWindow, EveryElementAsDescribed)
{
    frmAbout* about = open();
    ASSERT_NE(about, nullptr);
    const QColor text = about->palette().color(QPalette::WindowText);
    struct Element {
        const char* name;
        QRect geometry;
        qreal points;
        bool bold, centred;
        QColor colour;
        QString text;
    } elements[] = {
        {"cmdOK", {288, 8, 52, 23}, 8.25, false, true, text, "OK"},
        {"Label1", {112, 32, 145, 25}, 13.5, true, true, text, "LEXORQUINE"},
        {"Label8", {264, 40, 25, 17}, 8.25, false, false, text, "V 1.2"},
        {"Label2",
         {16, 80, 337, 33},
         8.25,
         true,
         false,
         text,
         "Permet l'analyse d'un texte en donnant le nombre de mots, de caractères et "
         "l'occurrence de chacun des mots utilisés."},
        {"Label6",
         {16, 111, 337, 17},
         8.25,
         true,
         false,
         text,
         "L'occurrence englobe les mots avec ou sans majuscule."},
        {"Label4",
         {16, 128, 329, 33},
         8.25,
         true,
         false,
         text,
         "Il est également possible de faire une  recherche  par mot,  groupe de mots ou  "
         "caractères."},
        {"Label5",
         {16, 155, 337, 57},
         8.25,
         true,
         false,
         text,
         "Cette recherche porte uniquement sur les caractères ou le texte de la fenêtre de "
         "recherche. Le résultat peut ainsi ne concerner qu'une partie d'un mot ou inclure  par "
         "exemple des pluriels sans les nommer. "},
        {"Label7",
         {16, 208, 329, 25},
         8.25,
         true,
         false,
         text,
         "Ex: Avec les mots  raconter et contes , le résultat d'une recherche sur \"conte\" "
         "serait  \"2\""},
        {"Label3",
         {40, 248, 305, 17},
         9.75,
         true,
         false,
         QColor(0xFF, 0, 0),
         "Le fichier sélectionné sera un fichier  .txt"},
        {"Label9",
         {24, 280, 313, 17},
         8.25,
         true,
         true,
         QColor(0, 0, 0x80),
         "Veuillez patienter lors de l'analyse d'un long texte."},
        {"Label22", {80, 320, 169, 17}, 8.25, true, true, text, "Logiciel gratuit, sans garantie."},
        {"Label23", {16, 344, 145, 17}, 8.25, true, false, text, "Auteur : l'équipe Lexorquine"},
        {"Label24", {184, 344, 81, 17}, 8.25, true, false, text, "Visitez le site "},
        {"lblk3zop", {264, 344, 89, 17}, 8.25, true, false, QColor(0, 0, 0xC0), " " + site::hote()},
    };
    for (const Element& e : elements) {
        SCOPED_TRACE(e.name);
        auto* widget = about->findChild<QWidget*>(QLatin1String(e.name));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), e.geometry);
        EXPECT_DOUBLE_EQ(widget->font().pointSizeF(), e.points);
        EXPECT_EQ(widget->font().bold(), e.bold);
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            EXPECT_EQ(label->text(), e.text);
            EXPECT_EQ(label->palette().color(QPalette::WindowText), e.colour);
            EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask,
                      e.centred ? Qt::AlignHCenter : Qt::AlignLeft);
            EXPECT_TRUE(label->wordWrap());
            // The whole caption shows: no line wraps below the bottom of its box.
            EXPECT_LE(label->heightForWidth(label->width()), label->height() + 1);
        } else {
            EXPECT_EQ(qobject_cast<QPushButton*>(widget)->text(), e.text);
        }
    }
    const QImage image = about->Image1->pixmap().toImage();
    EXPECT_EQ(about->Image1->geometry(), QRect(24, 16, 32, 32));
    EXPECT_EQ(image.size(), QSize(32, 32));
}

TEST_F(HelpWindow, FixedDialogWithItsBackgroundAndEtchedRule)
{
    frmAbout* about = open();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), "Lexorquine");
    EXPECT_EQ(about->minimumSize(), QSize(362, 384));
    EXPECT_EQ(about->maximumSize(), QSize(362, 384));
    EXPECT_FALSE(about->windowFlags()
                 & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(about->windowIcon().isNull());
    const QImage shot = about->grab().toImage();
    const struct {
        QPoint at;
        QColor colour;
    } pixels[] = {
        {{5, 200}, QColor(0xE0, 0xE0, 0xE0)},
        {{47, 312}, QColor(0xE0, 0xE0, 0xE0)},
        {{48, 312}, QColor(0x80, 0x80, 0x80)},
        {{200, 312}, QColor(0x80, 0x80, 0x80)},
        {{48, 313}, QColor(0xFF, 0xFF, 0xFF)},
        {{311, 313}, QColor(0xFF, 0xFF, 0xFF)},
        {{200, 311}, QColor(0xE0, 0xE0, 0xE0)},
        {{200, 314}, QColor(0xE0, 0xE0, 0xE0)},
        {{265, 358}, kPink}, // the link paints its own background
    };
    for (const auto& p : pixels)
        EXPECT_EQ(shot.pixelColor(p.at * shot.devicePixelRatio()), p.colour)
            << p.at.x() << "," << p.at.y();
}

TEST_F(HelpWindow, OkAndTheLinkTakeTheKeyboardAndThePointingHandMarksWhatClicks)
{
    frmAbout* about = open();
    ASSERT_NE(about, nullptr);
    for (QWidget* child : about->findChildren<QWidget*>()) {
        SCOPED_TRACE(child->objectName().toStdString());
        const bool clickable = child == about->cmdOK || child == about->lblk3zop;
        EXPECT_EQ(child->focusPolicy() != Qt::NoFocus, clickable);
        EXPECT_EQ(child->cursor().shape() == Qt::BitmapCursor, clickable);
        if (clickable) {
            EXPECT_EQ(child->cursor().hotSpot(), QPoint(12, 1));
        }
    }
    EXPECT_TRUE(about->cmdOK->isDefault());
    EXPECT_FALSE(about->lblk3zop->accessibleName().isEmpty());
}

// Every way of closing releases the window; the next press makes a fresh one.
TEST_F(HelpWindow, ClosingReleasesTheWindowAndReopeningStartsAfresh)
{
    const std::function<void(frmAbout*)> ways[] = {
        [](frmAbout* a) { QTest::mouseClick(a->cmdOK, Qt::LeftButton); },
        [](frmAbout*) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); },
        [](frmAbout*) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter); },
        [](frmAbout*) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); },
        [](frmAbout* a) { a->close(); },
    };
    for (std::size_t i = 0; i < std::size(ways); ++i) {
        SCOPED_TRACE(i);
        frmAbout* about = open();
        ASSERT_NE(about, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowActive(about));
        ASSERT_EQ(QApplication::focusWidget(), about->cmdOK);
        // Two stops: the link, then OK again.
        QTest::keyClick(about->cmdOK, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), about->lblk3zop);
        QTest::keyClick(about->lblk3zop, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), about->cmdOK);
        pointerAway();
        moveTo(about, {300, 350});
        ASSERT_EQ(linkColour(*about), kGreen);
        ways[i](about);
        releaseClosed();
        EXPECT_EQ(about_, nullptr);
        EXPECT_TRUE(owner.findChildren<frmAbout*>().isEmpty());
    }
    frmAbout* again = open();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(linkColour(*again), kPink);
}

// Where the pointer goes, in the help window's own coordinates.
namespace at {
const QPoint link{300, 350}, sharedPixel{264, 350}, neighbour{200, 350}, label2{100, 90},
    image{40, 30}, ok{300, 20}, version{270, 45}, background{5, 200}, otherBackground{200, 70},
    greyLine{100, 312}, whiteLine{150, 313};
}

TEST_F(HelpWindow, LinkColourFollowsThePointer)
{
    const struct {
        const char* what;
        std::vector<QPoint> moves;
        QColor colour;
    } cases[] = {
        {"untouched", {}, kPink},
        {"over the link", {at::link}, kGreen},
        {"link, then its neighbour", {at::link, at::neighbour}, kGreen},
        {"link, then labels, picture, button",
         {at::link, at::label2, at::image, at::ok, at::version},
         kGreen},
        {"link, then background", {at::link, at::otherBackground}, kPink},
        {"link, then the grey line", {at::link, at::greyLine}, kPink},
        {"link, then the white line", {at::link, at::whiteLine}, kPink},
        {"the shared pixel is the link's", {at::background, at::sharedPixel}, kGreen},
        {"background, label, link", {at::link, at::background, at::neighbour, at::link}, kGreen},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto about = std::make_unique<frmAbout>(fakes.launcher);
        about->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(about.get()));
        pointerAway();
        for (const QPoint& p : c.moves)
            moveTo(about.get(), p);
        EXPECT_EQ(linkColour(*about), c.colour);
    }
}

TEST_F(HelpWindow, ClickingTheLinkOpensTheSiteOnceAndChangesNothingElse)
{
    for (const bool starts : {true, false}) {
        SCOPED_TRACE(starts);
        fakes.launcher.opened.clear();
        fakes.launcher.succeeds = starts;
        frmAbout* about = open();
        ASSERT_NE(about, nullptr);
        const auto windows = QApplication::topLevelWidgets().size();
        pointerAway();
        moveTo(about, at::link);
        QTest::mouseClick(about->lblk3zop, Qt::LeftButton, {}, {20, 8});
        EXPECT_EQ(fakes.launcher.opened, QStringList{site::adresse()});
        EXPECT_TRUE(about->isVisible());
        EXPECT_EQ(QApplication::topLevelWidgets().size(), windows); // no message
        EXPECT_EQ(linkColour(*about), kGreen);
        moveTo(about, at::background);
        EXPECT_EQ(linkColour(*about), kPink);
        about->close();
        releaseClosed();
    }
}
