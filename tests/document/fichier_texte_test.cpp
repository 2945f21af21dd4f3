// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/fichier_texte.h"
#include "document/reference_chargement.h"
#include "qt_print.h"
#include "write_file.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct LinesCase {
    const char* name;
    QString input;
    QString text;
    qint64 lines;
    qint64 characters;
};

void PrintTo(const LinesCase& c, std::ostream* out) { *out << c.name; }

class LineSplitting : public testing::TestWithParam<LinesCase> { };

TEST_P(LineSplitting, EveryLineEndsInCrLfAndCountsSkipBreaks)
{
    const LinesCase& c = GetParam();
    const TexteCharge loaded = decouperLignes(c.input);
    EXPECT_EQ(loaded.texte, c.text);
    EXPECT_EQ(loaded.lignesNonVides, c.lines);
    EXPECT_EQ(loaded.caracteres, c.characters);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineSplitting,
    testing::Values(LinesCase{"empty", u""_qs, u""_qs, 0, 0},
                    LinesCase{"crlf", u"ab\r\n\r\ncd\r\n"_qs, u"ab\r\n\r\ncd\r\n"_qs, 2, 4},
                    LinesCase{"emptyLast", u"ab\r\n\r\n"_qs, u"ab\r\n\r\n"_qs, 1, 2},
                    LinesCase{"noFinalBreak", u"x"_qs, u"x\r\n"_qs, 1, 1},
                    LinesCase{"lf", u"un\ndeux\n\ntrois"_qs, u"un\r\ndeux\r\n\r\ntrois\r\n"_qs, 3,
                              11},
                    LinesCase{"loneCr", u"a\rb\r"_qs, u"a\r\nb\r\n"_qs, 2, 2},
                    LinesCase{"crThenLf", u"a\r\rb\n\r"_qs, u"a\r\n\r\nb\r\n\r\n"_qs, 2, 2},
                    LinesCase{"loneCrAmongCrLf", u"a\r\nb\rc\r\n"_qs, u"a\r\nb\r\nc\r\n"_qs, 3, 3},
                    LinesCase{"loneLfAfterCrLf", u"a\r\n\nb\r\n"_qs, u"a\r\n\r\nb\r\n"_qs, 2, 2},
                    LinesCase{"crLfMissingAtEnd", u"a\r\nb"_qs, u"a\r\nb\r\n"_qs, 2, 2},
                    LinesCase{"onlyEmptyLines", u"\r\n\n\r"_qs, u"\r\n\r\n\r\n"_qs, 0, 0}),
    [](const testing::TestParamInfo<LinesCase>& info) { return std::string(info.param.name); });

struct DecodeCase {
    const char* name;
    QByteArray bytes;
    QString text;
};

void PrintTo(const DecodeCase& c, std::ostream* out) { *out << c.name; }

class Decoding : public testing::TestWithParam<DecodeCase> { };

TEST_P(Decoding, Utf8WhenValidElseWindows1252)
{
    // None of the cases has a line break: the text is the one line followed by CR LF.
    EXPECT_EQ(chargerOctets(GetParam().bytes).texte, GetParam().text + u"\r\n"_qs);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Decoding,
    testing::Values(DecodeCase{"ascii", "conte", u"conte"_qs},
                    DecodeCase{"utf8", "\xC3\xA9t\xC3\xA9 c\xC5\x93ur", u"été cœur"_qs},
                    DecodeCase{"utf8Bom",
                               "\xEF\xBB\xBF"
                               "abc",
                               u"abc"_qs},
                    DecodeCase{"cp1252", "\xE9t\xE9", u"été"_qs},
                    DecodeCase{"cp1252High", "\x80\x92\x9C\x85\x96\x9F", u"€’œ…–Ÿ"_qs},
                    DecodeCase{"cp1252Unassigned", "\x81\x8D\x8F\x90\x9D",
                               u"\u0081\u008D\u008F\u0090\u009D"_qs},
                    DecodeCase{"invalidUtf8FallsBack", "caf\xC3\xA9 \xE9", u"cafÃ© é"_qs},
                    DecodeCase{"truncatedUtf8", "ab\xC3", u"abÃ"_qs},
                    DecodeCase{"utf8FourBytes", "\xF0\x9F\x98\x80!", u"\U0001F600!"_qs},
                    DecodeCase{"overlongIsNotUtf8", "\xC0\xAF", u"À¯"_qs},
                    DecodeCase{"surrogateIsNotUtf8", "\xED\xA0\x80", u"í\u00A0€"_qs},
                    DecodeCase{"beyondUnicodeIsNotUtf8", "\xF4\x90\x80\x80", u"ô\u0090€€"_qs},
                    DecodeCase{"longAsciiThenAccent", "abcdefghijklmnop\xE9",
                               u"abcdefghijklmnopé"_qs},
                    DecodeCase{"utf16LeBom",
                               QByteArray("\xFF\xFE"
                                          "a\0\xE9\0",
                                          6),
                               u"aé"_qs},
                    DecodeCase{"utf16BeBom", QByteArray("\xFE\xFF\0a\0\xE9", 6), u"aé"_qs},
                    DecodeCase{"utf16OddLastByte",
                               QByteArray("\xFF\xFE"
                                          "a\0b",
                                          5),
                               u"a\uFFFD"_qs},
                    DecodeCase{"utf16SecondBomKept",
                               QByteArray("\xFF\xFE\xFF\xFE"
                                          "a\0",
                                          6),
                               u"\uFEFFa"_qs},
                    DecodeCase{"utf8SecondBomKept",
                               "\xEF\xBB\xBF\xEF\xBB\xBF"
                               "a",
                               u"\uFEFFa"_qs},
                    DecodeCase{"utf8BomThenInvalid",
                               "\xEF\xBB\xBF"
                               "\xE9",
                               u"ï»¿é"_qs},
                    DecodeCase{"cutBomIsNotUtf8", "\xEF\xBB", u"ï»"_qs},
                    DecodeCase{"loneFFIsNotUtf16", "\xFF", u"ÿ"_qs},
                    DecodeCase{"nulKept", QByteArray("a\0b", 3), QString(u"a\0b"_qs)}),
    [](const testing::TestParamInfo<DecodeCase>& info) { return std::string(info.param.name); });

TEST(TextExtension, AnyLetterCase)
{
    EXPECT_TRUE(aExtensionTexte(u"/d/conte.txt"_qs));
    EXPECT_TRUE(aExtensionTexte(u"/d/conte.TXT"_qs));
    EXPECT_TRUE(aExtensionTexte(u"/d/conte.Txt"_qs));
    EXPECT_FALSE(aExtensionTexte(u"/d/conte"_qs));
    EXPECT_FALSE(aExtensionTexte(u"/d/conte.txt.gz"_qs));
    EXPECT_FALSE(aExtensionTexte(u"/d/contetxt"_qs));
}

class ReadingFiles : public testing::Test {
protected:
    QString write(const char* name, const QByteArray& bytes)
    {
        const QString path = writeFile(dir.path(), QString::fromUtf8(name), bytes);
        EXPECT_FALSE(path.isEmpty());
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(ReadingFiles, ReadsAndDecodes)
{
    const LectureFichier read = lireFichierTexte(write("a.txt", "\xE9t\xE9\nfin"));
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.charge.texte, u"été\r\nfin\r\n"_qs);
}

TEST_F(ReadingFiles, RefusesWhatCannotBeReadWithAMessage)
{
    const QString big = write("big.txt", QByteArray(2048, 'a'));
    const QString folder = dir.filePath(u"dossier.txt"_qs);
    ASSERT_TRUE(QDir().mkdir(folder));
    for (const QString& path : {dir.filePath(u"absent.txt"_qs), folder}) {
        const LectureFichier read = lireFichierTexte(path);
        EXPECT_FALSE(read.ok()) << path.toStdString();
        EXPECT_TRUE(read.erreur.startsWith(u"Impossible de lire le fichier « "_qs));
    }
    const LectureFichier tooBig = lireFichierTexte(big, {}, memoireDisponible, 1024);
    EXPECT_FALSE(tooBig.ok());
    EXPECT_TRUE(tooBig.erreur.contains(u"taille maximale"_qs));
    EXPECT_TRUE(lireFichierTexte(big, {}, memoireDisponible, 2048).ok());
}

} // namespace
