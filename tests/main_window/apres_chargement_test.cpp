// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/form1.h"
#include "main_window/form_with_files.h"
#include "platform/fakes.h"
#include "search/recherche.h"
#include "text_view/vue_texte.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kHeading = u" Occurrence des mots \r\n "_qs + QString(30, u'-');

using AfterLoad = FormWithFiles;

struct Captions {
    const char* name;
    QByteArray bytes;
    QString mots, motsDifferents, rapport;
};

void PrintTo(const Captions& c, std::ostream* out) { *out << c.name; }

class AfterLoadCaptions : public AfterLoad, public testing::WithParamInterface<Captions> { };

TEST_P(AfterLoadCaptions, ShowCountsPathResultAndReport)
{
    const Captions& c = GetParam();
    const QString path = writeAndOpen(u"texte.txt"_qs, c.bytes);
    EXPECT_EQ(form.LblMots->text(), c.mots);
    EXPECT_EQ(form.LblMotsDiff->text(), c.motsDifferents);
    EXPECT_EQ(form.Label2->text(), u"\r\n\r\n Résultat"_qs);
    EXPECT_EQ(form.Label1->text(), path);
    EXPECT_EQ(form.Resultat_Txt->texte().toString(), c.rapport);
}

INSTANTIATE_TEST_SUITE_P(
    Files, AfterLoadCaptions,
    testing::Values(
        Captions{"twoLines", "un deux\r\ntrois un\r\n", u"4 Mots"_qs, u"3 Mots différents"_qs,
                 kHeading + u"\r\n   2     un\r\n   1     deux\r\n   1     trois"_qs},
        Captions{"empty", "", u"0 Mots"_qs, u"0 Mots différents"_qs, kHeading},
        Captions{"workedExample", "Chien chat CHAT", u"3 Mots"_qs, u"3 Mots différents"_qs,
                 kHeading + u"\r\n   2     chat\r\n   1     Chien"_qs},
        Captions{"leadingSeparator", "(a)\r\n", u"1 Mots"_qs, u"1 Mots différents"_qs,
                 kHeading + u"\r\n   1     a"_qs},
        Captions{"accentsInCp1252", "\xC9t\xE9 \xE9t\xE9 c\x9Cur c\x9Cur\r\n", u"4 Mots"_qs,
                 u"3 Mots différents"_qs, kHeading + u"\r\n   2     Été\r\n   2     cœur"_qs}),
    [](const testing::TestParamInfo<Captions>& info) { return std::string(info.param.name); });

// Words met only after the first part of the text, in several of the parts the analysis cuts it
// into: every count of threads gives the same counts and report.
class AfterLoadOnThreads : public AfterLoad, public testing::WithParamInterface<int> { };

TEST_P(AfterLoadOnThreads, CountsEachWordOnce)
{
    QByteArray bytes;
    for (int i = 0; i < 50000; ++i) // the first half: words met once
        bytes += QByteArray::number(100000 + i).prepend('u') + (i % 10 == 9 ? "\r\n" : " ");
    for (int i = 0; i < 70000; ++i) // the second: 1000 words met 70 times each
        bytes += QByteArray::number(1000 + i % 1000).prepend('v') + (i % 10 == 9 ? "\r\n" : " ");
    form.imposerFilsAnalyse(GetParam());
    writeAndOpen(u"texte.txt"_qs, bytes);
    EXPECT_EQ(form.LblMots->text(), u"120000 Mots"_qs);
    EXPECT_EQ(form.LblMotsDiff->text(), u"51000 Mots différents"_qs);
    EXPECT_TRUE(form.Resultat_Txt->texte().toString().startsWith(
        kHeading + u"\r\n   70     v1000\r\n   70     v1001\r\n"_qs));
    EXPECT_TRUE(form.Resultat_Txt->texte().toString().endsWith(u"\r\n   1     u149999"_qs));
}

INSTANTIATE_TEST_SUITE_P(Threads, AfterLoadOnThreads, testing::Values(1, 2, 3, 5, 8, 16));

TEST_F(AfterLoad, EmptiesTheSearchBoxWhichResetsTheSearch)
{
    writeAndOpen(u"a.txt"_qs, "conte conte\r\n");
    form.ChkCherche->setChecked(false);
    form.TxtRecherche->setText(u"conte"_qs);
    form.CmdRecherche_Click();
    ASSERT_EQ(form.recherche().etapes(), 1);
    writeAndOpen(u"b.txt"_qs, "autre conte\r\n");
    EXPECT_TRUE(form.TxtRecherche->text().isEmpty());
    EXPECT_EQ(form.recherche().etapes(), 0);
    EXPECT_EQ(form.recherche().position(), 1);
}

TEST_F(AfterLoad, CancelOrFailureLeavesTheAnalysisAsItWas)
{
    const QString path = writeAndOpen(u"a.txt"_qs, "un deux\r\n");
    const QString report = form.Resultat_Txt->texte().toString();
    fakes.files.answers.push_back(QString());
    form.Label3_Click();
    fakes.files.answers.push_back(dir.filePath(u"absent.txt"_qs));
    form.Cmdouvrir_Click();
    attendreOuverture();
    EXPECT_EQ(form.LblMots->text(), u"2 Mots"_qs);
    EXPECT_EQ(form.Label1->text(), path);
    EXPECT_EQ(form.Resultat_Txt->texte().toString(), report);
    EXPECT_TRUE(report.endsWith(u"\r\n   1     un\r\n   1     deux"_qs));
}

} // namespace
