// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/index_lignes.h"
#include "qt_print.h"
#include "text_view/vue_texte.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <vector>

namespace {

TEST(VueTexte, GivesBackExactlyWhatWasSetWithoutCopyingIt)
{
    VueTexte display;
    for (const QString& text : {u""_qs, u"ab\r\n\r\ncd\r\n"_qs, u"a\rb\nc\r\n"_qs,
                                u"x\u2029y\u2028z\r\n"_qs, u"\r\n\r\n"_qs}) {
        display.definirTexte(text);
        EXPECT_EQ(display.texte().toString(), text);
        if (!text.isEmpty()) {
            EXPECT_EQ(display.texte().utf16().constData(), text.constData());
        }
    }
}

TEST(VueTexte, TakesAnIndexMadeElsewhereOnlyForItsOwnText)
{
    const QString text = u"un\r\ndeux\ntrois"_qs;
    VueTexte display;
    // Indexed on another thread, then handed in.
    std::future<IndexLignes> indexed
        = std::async(std::launch::async, [text] { return IndexLignes(text); });
    display.definirTexte(text, indexed.get());
    EXPECT_EQ(display.nombreLignes(), 3);
    EXPECT_EQ(display.ligne(2).toString(), u"trois"_qs);
    EXPECT_EQ(display.texte().utf16().constData(), text.constData());
    // An index of another text, even of the same length, is not trusted.
    const QString other = u"un\r\ndeux\r\ntroi"_qs;
    display.definirTexte(other, IndexLignes(text));
    EXPECT_EQ(display.nombreLignes(), 3);
    EXPECT_EQ(display.ligne(2).toString(), u"troi"_qs);
    EXPECT_EQ(display.texte().toString(), other);
    display.definirTexte(QString(), IndexLignes(text));
    EXPECT_EQ(display.nombreLignes(), 1);
    EXPECT_TRUE(display.texte().isEmpty());
}

struct LinesCase {
    QString text;
    std::vector<QString> lines;
};

TEST(VueTexte, EndsLinesAtCrLfLoneCrAndLoneLf)
{
    const LinesCase cases[] = {
        {u""_qs, {u""_qs}},
        {u"ab"_qs, {u"ab"_qs}},
        {u"ab\r\ncd"_qs, {u"ab"_qs, u"cd"_qs}},
        {u"ab\r\n"_qs, {u"ab"_qs, u""_qs}},
        {u"a\rb\nc"_qs, {u"a"_qs, u"b"_qs, u"c"_qs}},
        {u"\r\n\r\n"_qs, {u""_qs, u""_qs, u""_qs}},
        {u"\n\r"_qs, {u""_qs, u""_qs, u""_qs}}, // LF then CR is two breaks
        {u"a\r\r\nb"_qs, {u"a"_qs, u""_qs, u"b"_qs}}, // lone CR, then CR LF
        {u"a\n\r\nb\r"_qs, {u"a"_qs, u""_qs, u"b"_qs, u""_qs}},
        {u"x\u2029y\tz\u0000"_qs, {u"x\u2029y\tz\u0000"_qs}}, // only CR and LF break
    };
    VueTexte display;
    for (const LinesCase& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        display.definirTexte(c.text);
        ASSERT_EQ(display.nombreLignes(), qsizetype(c.lines.size()));
        for (size_t i = 0; i < c.lines.size(); ++i) {
            EXPECT_EQ(display.ligne(qsizetype(i)).toString(), c.lines[i]) << i;
        }
    }
}

struct SelectionCase {
    qsizetype start, length; // asked for
    qsizetype readStart, readLength; // read back
};

TEST(VueTexte, SelectionCountsCharactersOfTheTextAndIsClamped)
{
    // "ab\r\n\r\ncd\r\n": c is at 6.
    const SelectionCase cases[] = {
        {0, 2, 0, 2}, // ab
        {6, 2, 6, 2}, // cd
        {2, 4, 2, 4}, // both line breaks
        {10, 0, 10, 0}, // caret at the end
        {8, 5, 8, 2}, // clamped at the end
        {-3, 2, 0, 2}, // clamped at the start
        {50, 1, 10, 0}, // beyond the end
        {1, -4, 1, 0}, // a negative length selects nothing
        {3, 0, 4, 0}, // between CR and LF: after the break
        {2, 1, 2, 2}, // half a break takes all of it
        {1, 2, 1, 3},   {3, 3, 4, 2},
    };
    VueTexte display;
    display.definirTexte(u"ab\r\n\r\ncd\r\n"_qs);
    for (const SelectionCase& c : cases) {
        display.definirSelection(c.start, c.length);
        EXPECT_EQ(display.debutSelection(), c.readStart) << c.start << "," << c.length;
        EXPECT_EQ(display.longueurSelection(), c.readLength) << c.start << "," << c.length;
    }
}

TEST(VueTexte, PositionsRoundTripOnLongMixedTexts)
{
    QString text;
    for (int line = 0; line < 500; ++line)
        text += QString(line % 7, u'x') + (line % 3 ? u"\r\n"_qs : line % 2 ? u"\n"_qs : u"\r"_qs);
    VueTexte display;
    display.definirTexte(text);
    for (qsizetype position = 0; position <= text.size(); ++position) {
        // Positions inside a CR LF are not places of their own.
        if (position > 0 && text[position - 1] == u'\r' && position < text.size()
            && text[position] == u'\n')
            continue;
        display.definirSelection(position, 0);
        ASSERT_EQ(display.debutSelection(), position);
    }
}

// A display in a shown, active window, with a line edit after it in the focus chain.
class ShownDisplay : public testing::Test {
protected:
    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&window);
        display = new VueTexte;
        next = new QLineEdit;
        layout->addWidget(display);
        layout->addWidget(next);
        display->setFixedSize(300, 120);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void TearDown() override { window.hide(); }

    QPoint at(qsizetype position) const { return display->pointDe(position) + QPoint(0, 2); }

    QWidget window;
    VueTexte* display = nullptr;
    QLineEdit* next = nullptr;
};

struct KeyCase {
    qsizetype from;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    qsizetype start, length, caret;
};

TEST_F(ShownDisplay, KeysMoveTheCaretAndShiftExtendsTheSelection)
{
    // Lines: "abc", "de", "", "fg hij" (CR LF, CR LF, lone LF).
    const QString text = u"abc\r\nde\r\n\nfg hij"_qs;
    const auto none = Qt::NoModifier;
    const auto shift = Qt::ShiftModifier;
    const auto ctrl = Qt::ControlModifier;
    const KeyCase cases[] = {
        {0, Qt::Key_Right, none, 1, 0, 1},
        {3, Qt::Key_Right, none, 5, 0, 5}, // over the whole CR LF
        {5, Qt::Key_Left, none, 3, 0, 3},
        {9, Qt::Key_Right, none, 10, 0, 10}, // over a lone LF
        {0, Qt::Key_Left, none, 0, 0, 0},
        {16, Qt::Key_Right, none, 16, 0, 16},
        {1, Qt::Key_End, none, 3, 0, 3},
        {7, Qt::Key_Home, none, 5, 0, 5},
        {0, Qt::Key_Down, none, 5, 0, 5},
        {5, Qt::Key_Down, none, 9, 0, 9}, // the empty line
        {9, Qt::Key_Down, none, 10, 0, 10},
        {5, Qt::Key_Up, none, 0, 0, 0},
        {3, Qt::Key_Down, none, 7, 0, 7}, // past the end of a shorter line
        {1, Qt::Key_Up, none, 1, 0, 1}, // nothing above the first line
        {2, Qt::Key_End, ctrl, 16, 0, 16},
        {12, Qt::Key_Home, ctrl, 0, 0, 0},
        {0, Qt::Key_Right, ctrl, 5, 0, 5}, // next word, across the break
        {16, Qt::Key_Left, ctrl, 13, 0, 13},
        {0, Qt::Key_Right, shift, 0, 1, 1},
        {1, Qt::Key_End, shift, 1, 2, 3},
        {5, Qt::Key_Left, shift, 3, 2, 3}, // the CR LF, selected whole
        {0, Qt::Key_Down, shift, 0, 5, 5},
        {0, Qt::Key_End, shift | ctrl, 0, 16, 16},
        {10, Qt::Key_Home, shift | ctrl, 0, 10, 0},
        {7, Qt::Key_A, ctrl, 0, 16, 16},
    };
    display->definirTexte(text);
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "from " << c.from << " key " << c.key << " mods " << c.modifiers);
        display->definirSelection(c.from, 0);
        QTest::keyClick(display, c.key, c.modifiers);
        EXPECT_EQ(display->debutSelection(), c.start);
        EXPECT_EQ(display->longueurSelection(), c.length);
        EXPECT_EQ(display->positionCurseur(), c.caret);
    }
}

TEST_F(ShownDisplay, KeysAndClicksMoveAndSelectALetterWithItsMarks)
{
    // "e" and an acute, "x" and two marks, then "b".
    const QString text = u"e\u0301x\u0308\u0323b"_qs;
    const auto none = Qt::NoModifier;
    const auto shift = Qt::ShiftModifier;
    const KeyCase cases[] = {
        {0, Qt::Key_Right, none, 2, 0, 2},  {2, Qt::Key_Right, none, 5, 0, 5},
        {5, Qt::Key_Left, none, 2, 0, 2},   {2, Qt::Key_Left, none, 0, 0, 0},
        {0, Qt::Key_Right, shift, 0, 2, 2}, {5, Qt::Key_Left, shift, 2, 3, 2},
    };
    display->definirTexte(text);
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.from << " key " << c.key);
        display->definirSelection(c.from, 0);
        QTest::keyClick(display, c.key, c.modifiers);
        EXPECT_EQ(display->debutSelection(), c.start);
        EXPECT_EQ(display->longueurSelection(), c.length);
        EXPECT_EQ(display->positionCurseur(), c.caret);
    }
    // A click nearer the end of the "x" than its start stands before the letter and its marks.
    QTest::mouseClick(display->viewport(), Qt::LeftButton, {}, display->pointDe(3) + QPoint(-1, 2));
    EXPECT_EQ(display->positionCurseur(), 2);
}

TEST_F(ShownDisplay, KeepsItsOwnKeysFromTheWindowShortcuts)
{
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool kept;
    } cases[] = {
        {Qt::Key_A, Qt::ControlModifier, true},
        {Qt::Key_C, Qt::ControlModifier, true},
        {Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier, true},
        {Qt::Key_Left, Qt::ShiftModifier, true},
        {Qt::Key_PageDown, Qt::NoModifier, true},
        {Qt::Key_F5, Qt::NoModifier, false},
        {Qt::Key_Q, Qt::ControlModifier, false},
        {Qt::Key_V, Qt::ControlModifier, false}, // nothing to paste into
    };
    for (const auto& c : cases) {
        QKeyEvent override(QEvent::ShortcutOverride, c.key, c.modifiers);
        override.ignore();
        QCoreApplication::sendEvent(display, &override);
        EXPECT_EQ(override.isAccepted(), c.kept) << c.key;
    }
}

TEST_F(ShownDisplay, ShiftedMovesKeepTheirAnchor)
{
    display->definirTexte(u"abcdef\r\nghi"_qs);
    display->definirSelection(2, 0);
    QTest::keyClick(display, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(display, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(display, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(display->debutSelection(), 2);
    EXPECT_EQ(display->longueurSelection(), 1);
    QTest::keyClick(display, Qt::Key_Home, Qt::ShiftModifier); // now before the anchor
    EXPECT_EQ(display->debutSelection(), 0);
    EXPECT_EQ(display->longueurSelection(), 2);
    QTest::keyClick(display, Qt::Key_Right);
    EXPECT_EQ(display->longueurSelection(), 0);
}

TEST_F(ShownDisplay, PageKeysMoveByAScreenAndScroll)
{
    QString text;
    for (int i = 0; i < 200; ++i)
        text += QString::number(i) + u"\r\n"_qs;
    display->definirTexte(text);
    display->definirSelection(0, 0);
    QTest::keyClick(display, Qt::Key_PageDown);
    const qsizetype page = display->premiereLigneVisible();
    EXPECT_GT(page, 2);
    // The caret went down by as many lines as the view scrolled.
    EXPECT_EQ(display->positionCurseur(), text.indexOf(QString::number(page) + u"\r\n"_qs));
    QTest::keyClick(display, Qt::Key_PageUp);
    EXPECT_EQ(display->premiereLigneVisible(), 0);
    EXPECT_EQ(display->positionCurseur(), 0);
}

struct DragCase {
    qsizetype press, release;
    Qt::KeyboardModifiers modifiers;
    qsizetype start, length;
};

TEST_F(ShownDisplay, MousePressPlacesTheCaretAndDragSelects)
{
    display->definirTexte(u"premier\r\nsecond\rtroisième\r\n"_qs);
    const DragCase cases[] = {
        {3, 3, Qt::NoModifier, 3, 0},    {2, 5, Qt::NoModifier, 2, 3},
        {5, 2, Qt::NoModifier, 2, 3}, // backwards
        {4, 12, Qt::NoModifier, 4, 8}, // across a CR LF
        {11, 19, Qt::NoModifier, 11, 8}, // across a lone CR
        {9, 7, Qt::NoModifier, 7, 2}, // from a line start back to a line end
    };
    for (const DragCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.press << " to " << c.release);
        QWidget* surface = display->viewport();
        QTest::mousePress(surface, Qt::LeftButton, c.modifiers, at(c.press));
        QTest::mouseMove(surface, at(c.release));
        QTest::mouseRelease(surface, Qt::LeftButton, c.modifiers, at(c.release));
        EXPECT_EQ(display->debutSelection(), c.start);
        EXPECT_EQ(display->longueurSelection(), c.length);
    }
    // Shift and a press extend from where the caret was.
    display->definirSelection(3, 0);
    QTest::mouseClick(display->viewport(), Qt::LeftButton, Qt::ShiftModifier, at(10));
    EXPECT_EQ(display->debutSelection(), 3);
    EXPECT_EQ(display->longueurSelection(), 7);
    // Past the end of a line lands at its end; below the text, on the last line.
    QTest::mouseClick(display->viewport(), Qt::LeftButton, {}, at(14) + QPoint(200, 0));
    EXPECT_EQ(display->debutSelection(), 15);
    QTest::mouseClick(display->viewport(), Qt::LeftButton, {},
                      QPoint(200, display->viewport()->height() - 2));
    EXPECT_EQ(display->debutSelection(), display->texte().size());
}

TEST_F(ShownDisplay, ADragHeldBelowTheViewKeepsSelectingDownwards)
{
    QString text;
    for (int i = 0; i < 300; ++i)
        text += u"ligne "_qs + QString::number(i) + u"\r\n"_qs;
    display->definirTexte(text);
    QWidget* surface = display->viewport();
    QTest::mousePress(surface, Qt::LeftButton, {}, at(2));
    QTest::mouseMove(surface, QPoint(20, surface->height() + 30));
    EXPECT_TRUE(QTest::qWaitFor([&] { return display->premiereLigneVisible() > 20; }, 5000));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(20, surface->height() + 30));
    const qsizetype first = display->premiereLigneVisible();
    EXPECT_EQ(display->debutSelection(), 2);
    EXPECT_GT(display->longueurSelection(), 20 * 8);
    // Released: the view does not scroll any more.
    EXPECT_FALSE(QTest::qWaitFor([&] { return display->premiereLigneVisible() != first; }, 300));
}

TEST_F(ShownDisplay, DoubleClickSelectsAWord)
{
    display->definirTexte(u"un mot-clé\r\nici"_qs);
    QTest::mouseDClick(display->viewport(), Qt::LeftButton, {}, at(5));
    EXPECT_EQ(display->debutSelection(), 3);
    EXPECT_EQ(display->longueurSelection(), 3);
}

TEST_F(ShownDisplay, ClicksCountFromTheScrolledView)
{
    QString text;
    for (int i = 0; i < 100; ++i)
        text += u"ligne "_qs + QString::number(i) + u"\r\n"_qs;
    display->definirTexte(text);
    display->verticalScrollBar()->setValue(40);
    QTest::mouseClick(display->viewport(), Qt::LeftButton, {}, QPoint(1, 4));
    EXPECT_EQ(display->debutSelection(), text.indexOf(u"ligne 40"_qs));
}

TEST_F(ShownDisplay, SelectAllThenCopyPutsTheExactTextOnTheClipboard)
{
    const QString text = u"un\r\ndeux\rtrois\nquatre\r\n\r\n\tcinq \u00e9"_qs;
    display->definirTexte(text);
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(display, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(display, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), text);
    display->definirSelection(4, 7);
    QTest::keyClick(display, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), text.mid(4, 7));
}

TEST_F(ShownDisplay, TakesTheFocusAndTabPassesItOn)
{
    display->definirTexte(u"texte\r\n"_qs);
    next->setFocus();
    display->setFocus();
    EXPECT_TRUE(display->hasFocus());
    QTest::keyClick(display, Qt::Key_Tab);
    EXPECT_TRUE(next->hasFocus());
    QTest::keyClick(next, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(display->hasFocus());
}

TEST_F(ShownDisplay, SelectingScrollsTheCaretIntoView)
{
    QString text;
    for (int i = 0; i < 1000; ++i)
        text += u"ligne "_qs + QString::number(i) + u"\r\n"_qs;
    text += QString(5000, u'x') + u" fin"_qs;
    display->definirTexte(text);
    const QRect view = display->viewport()->rect();

    const qsizetype deep = text.indexOf(u"ligne 900"_qs);
    display->definirSelection(deep, 9);
    EXPECT_GT(display->premiereLigneVisible(), 800);
    EXPECT_TRUE(view.contains(display->pointDe(deep)));
    EXPECT_TRUE(view.contains(display->pointDe(deep + 9)));

    display->definirSelection(0, 5);
    EXPECT_EQ(display->premiereLigneVisible(), 0);

    const qsizetype far = text.indexOf(u"fin"_qs);
    display->definirSelection(far, 3);
    EXPECT_GT(display->horizontalScrollBar()->value(), 0);
    EXPECT_TRUE(view.contains(display->pointDe(far)));
    EXPECT_TRUE(view.contains(display->pointDe(far + 3)));
}

const QColor kBase(0xFF, 0xFF, 0xC0);
const QColor kHighlight(0x10, 0x20, 0x90);

void useTestColours(VueTexte& display)
{
    QPalette palette = display.palette();
    palette.setColor(QPalette::Base, kBase);
    palette.setColor(QPalette::Highlight, kHighlight);
    palette.setColor(QPalette::Inactive, QPalette::Highlight, kHighlight);
    display.setPalette(palette);
}

// The colour painted halfway between two positions of one line, just below its top.
QColor colourBetween(VueTexte& display, qsizetype from, qsizetype to)
{
    const QImage image = display.grab().toImage();
    const QPoint middle = display.viewport()->geometry().topLeft()
        + (display.pointDe(from) + display.pointDe(to)) / 2 + QPoint(0, 1);
    return image.pixelColor(middle);
}

// Pixels of a viewport row of lines that are not the base colour: ink of drawn characters.
int inkInRow(VueTexte& display, int top, int height)
{
    const QImage image = display.grab().toImage();
    const QRect row(display.viewport()->geometry().topLeft() + QPoint(0, top),
                    QSize(display.viewport()->width(), height));
    int ink = 0;
    for (int y = row.top(); y <= row.bottom(); ++y) {
        for (int x = row.left(); x <= row.right(); ++x)
            ink += image.pixelColor(x, y) != kBase;
    }
    return ink;
}

TEST_F(ShownDisplay, PaintsTheBaseColourAndTheSelection)
{
    useTestColours(*display);
    display->definirTexte(u"\u2588\u2588\u2588\u2588 sélection\r\nsuite"_qs);

    const QPoint corner = display->viewport()->geometry().topLeft() + QPoint(1, 1);
    QImage image = display->grab().toImage();
    EXPECT_EQ(image.pixelColor(corner), kBase);

    display->definirSelection(5, 9);
    EXPECT_EQ(colourBetween(*display, 5, 14), kHighlight);
    image = display->grab().toImage();
    EXPECT_EQ(image.pixelColor(corner), kBase);
}

TEST_F(ShownDisplay, ControlCharactersAndSurrogatesAreHarmless)
{
    QString text = u"a\u0000b\u0007\u2028c\U0001F600d?e\tf\u007F"_qs;
    text[text.indexOf(u'?')] = QChar(0xD800); // half a pair, alone
    useTestColours(*display);
    display->definirTexte(text);
    EXPECT_EQ(display->nombreLignes(), 1);
    EXPECT_GT(inkInRow(*display, display->pointDe(0).y(), display->fontMetrics().height()), 20);
    const qsizetype pair = text.indexOf(u"\U0001F600"_qs);
    display->definirSelection(pair, 0);
    QTest::keyClick(display, Qt::Key_Right);
    EXPECT_EQ(display->positionCurseur(), pair + 2); // the pair is one step
    QTest::keyClick(display, Qt::Key_Left);
    EXPECT_EQ(display->positionCurseur(), pair);
    // Positions further right are further right on screen.
    for (qsizetype i = 1; i <= text.size(); ++i) {
        EXPECT_GE(display->pointDe(i).x(), display->pointDe(i - 1).x()) << i;
    }
}

TEST_F(ShownDisplay, ALongLineScrollsAndPaintsAtItsFarEnd)
{
    QString text(10'000'000, u'x');
    text += u"\tfin"_qs;
    display->definirTexte(text);
    display->definirSelection(text.size() - 3, 3);
    EXPECT_EQ(display->debutSelection(), text.size() - 3);
    EXPECT_TRUE(display->viewport()->rect().contains(display->pointDe(text.size())));
    EXPECT_GT(display->horizontalScrollBar()->maximum(), 1'000'000);
    useTestColours(*display);
    EXPECT_EQ(colourBetween(*display, text.size() - 3, text.size()), kHighlight);
    // The press lands where the position is drawn, far along the line.
    QTest::mouseClick(display->viewport(), Qt::LeftButton, {}, at(text.size() - 2));
    EXPECT_EQ(display->debutSelection(), text.size() - 2);
}

TEST(VueTexte, AMillionLinesLoadAndSelectAtTheirEnd)
{
    QString text;
    text.reserve(12'000'000);
    for (int i = 0; i < 1'000'000; ++i)
        text += u"ligne\r\n"_qs;
    text += u"dernière"_qs;
    VueTexte display;
    display.resize(300, 120);
    display.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&display));
    display.definirTexte(text);
    EXPECT_EQ(display.nombreLignes(), 1'000'001);
    EXPECT_EQ(display.ligne(1'000'000).toString(), u"dernière"_qs);
    display.definirSelection(text.size() - 8, 8);
    EXPECT_EQ(display.debutSelection(), text.size() - 8);
    EXPECT_EQ(display.longueurSelection(), 8);
    EXPECT_GT(display.premiereLigneVisible(), 999'000);
    useTestColours(display);
    EXPECT_EQ(colourBetween(display, text.size() - 8, text.size()), kHighlight);
    // Lines are drawn up to the last one.
    EXPECT_GT(inkInRow(display, display.pointDe(text.size() - 15).y(), 8), 20);
}

TEST_F(ShownDisplay, ReportsItselfAsReadOnlyMultiLineText)
{
    display->definirTexte(u"un\r\ndeux trois"_qs);
    display->setAccessibleName(u"Texte chargé"_qs);
    display->setToolTip(u"Le texte du fichier"_qs);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(display);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::EditableText);
    EXPECT_TRUE(accessible->state().readOnly);
    EXPECT_TRUE(accessible->state().multiLine);
    EXPECT_TRUE(accessible->state().focusable);
    EXPECT_EQ(accessible->text(QAccessible::Name), u"Texte chargé"_qs);
    EXPECT_EQ(accessible->text(QAccessible::Value), display->texte().toString());

    QAccessibleTextInterface* text = accessible->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->characterCount(), 14);
    EXPECT_EQ(text->text(4, 8), u"deux"_qs);
    display->definirSelection(9, 5);
    int start = -1, end = -1;
    EXPECT_EQ(text->selectionCount(), 1);
    text->selection(0, &start, &end);
    EXPECT_EQ(start, 9);
    EXPECT_EQ(end, 14);
    EXPECT_EQ(text->cursorPosition(), 14);
    text->setSelection(0, 0, 2);
    EXPECT_EQ(display->debutSelection(), 0);
    EXPECT_EQ(display->longueurSelection(), 2);
    // A character's rectangle leads back to it.
    for (int offset : {0, 1, 4, 10}) {
        EXPECT_EQ(text->offsetAtPoint(text->characterRect(offset).topLeft() + QPoint(1, 2)), offset)
            << offset;
    }
}

} // namespace
