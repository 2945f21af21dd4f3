#include "qt_print.h"
#include "main_window/text_display.h"

#include <QPlainTextEdit>

#include <gtest/gtest.h>

namespace {

TEST(TextDisplay, GivesBackExactlyWhatWasSet)
{
    TextDisplay display;
    for (const QString& text : {u""_qs, u"ab\r\n\r\ncd\r\n"_qs, u"a\rb\nc\r\n"_qs,
                                u"x\u2029y\u2028z\r\n"_qs, u"\r\n\r\n"_qs}) {
        display.setText(text);
        EXPECT_EQ(display.text(), text);
    }
}

TEST(TextDisplay, ShowsEachCrLfAsOneLineBreak)
{
    TextDisplay display;
    display.setText(u"ab\r\n\r\ncd\r\n"_qs);
    const auto* editor = display.findChild<QPlainTextEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->toPlainText(), u"ab\n\ncd\n"_qs);
    EXPECT_TRUE(editor->isReadOnly());
}

struct SelectionCase {
    qsizetype start, length;       // asked for, in the CR LF text
    qsizetype shownStart, shownEnd; // where the screen selection lands
    qsizetype readStart, readLength;
};

TEST(TextDisplay, SelectionCountsCharactersOfTheCrLfText)
{
    // "ab\r\n\r\ncd\r\n": c is at 6 in the text, at 4 on screen.
    const SelectionCase cases[] = {
        {0, 2, 0, 2, 0, 2},    // ab
        {6, 2, 4, 6, 6, 2},    // cd
        {2, 4, 2, 4, 2, 4},    // both line breaks
        {10, 0, 7, 7, 10, 0},  // caret at the end
        {8, 5, 6, 7, 8, 2},    // clamped at the end
        {-3, 2, 0, 2, 0, 2},   // clamped at the start
        {50, 1, 7, 7, 10, 0},  // beyond the end
    };
    TextDisplay display;
    display.setText(u"ab\r\n\r\ncd\r\n"_qs);
    const auto* editor = display.findChild<QPlainTextEdit*>();
    for (const SelectionCase& c : cases) {
        display.setSelection(c.start, c.length);
        EXPECT_EQ(editor->textCursor().selectionStart(), c.shownStart) << c.start;
        EXPECT_EQ(editor->textCursor().selectionEnd(), c.shownEnd) << c.start;
        EXPECT_EQ(display.selectionStart(), c.readStart) << c.start;
        EXPECT_EQ(display.selectionLength(), c.readLength) << c.start;
    }
}

TEST(TextDisplay, PositionsRoundTripOnLongMixedTexts)
{
    QString text;
    for (int line = 0; line < 500; ++line)
        text += QString(line % 7, u'x') + (line % 3 ? u"\r\n"_qs : u"\n"_qs);
    TextDisplay display;
    display.setText(text);
    for (qsizetype position = 0; position <= text.size(); ++position) {
        // Positions inside a CR LF have no place of their own on screen.
        if (position > 0 && text[position - 1] == u'\r' && position < text.size()
            && text[position] == u'\n')
            continue;
        display.setSelection(position, 0);
        ASSERT_EQ(display.selectionStart(), position);
    }
}

} // namespace
