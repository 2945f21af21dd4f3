// SPDX-License-Identifier: GPL-3.0-or-later
#include "help_window/libelle_cliquable.h"
#include "main_window/form1.h"
#include "main_window/form_with_files.h"
#include "platform/fakes.h"
#include "text_view/vue_texte.h"

#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class OpenFile : public FormWithFiles {
protected:
    struct Shown {
        QString text, lignes, caract, label1;
        bool operator==(const Shown&) const = default;
    };
    Shown shown() const
    {
        return {form.Le_texte->texte().toString(), form.Lignes->text(), form.Caract->text(),
                form.Label1->text()};
    }
};

struct CountCase {
    const char* name;
    QByteArray bytes;
    QString text;
    QString lignes;
    QString caract;
};

void PrintTo(const CountCase& c, std::ostream* out) { *out << c.name; }

class OpenFileCounts : public OpenFile, public testing::WithParamInterface<CountCase> { };

TEST_P(OpenFileCounts, ShowsTheTextAndItsCounts)
{
    const CountCase& c = GetParam();
    open(write(u"conte.txt"_qs, c.bytes));
    EXPECT_TRUE(fakes.files.errors.isEmpty());
    EXPECT_EQ(form.Le_texte->texte().toString(), c.text);
    EXPECT_EQ(form.Lignes->text(), c.lignes);
    EXPECT_EQ(form.Caract->text(), c.caract);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "busy pointer left on";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OpenFileCounts,
    testing::Values(
        CountCase{"emptyLineBetween", "ab\r\n\r\ncd\r\n", u"ab\r\n\r\ncd\r\n"_qs, u"2 lignes"_qs,
                  u"4 Caractères"_qs},
        CountCase{"emptyLast", "ab\r\n\r\n", u"ab\r\n\r\n"_qs, u"1 lignes"_qs, u"2 Caractères"_qs},
        CountCase{"noBreak", "x", u"x\r\n"_qs, u"1 lignes"_qs, u"1 Caractères"_qs},
        CountCase{"unixLines", "un\ndeux\n", u"un\r\ndeux\r\n"_qs, u"2 lignes"_qs,
                  u"6 Caractères"_qs},
        CountCase{"empty", "", u""_qs, u"0 lignes"_qs, u"0 Caractères"_qs},
        CountCase{"onlyEmptyLines", "\r\n\r\n", u"\r\n\r\n"_qs, u"0 lignes"_qs, u"0 Caractères"_qs},
        CountCase{"windows1252", "\x92t\xE9\r\n", u"’té\r\n"_qs, u"1 lignes"_qs,
                  u"3 Caractères"_qs},
        CountCase{"utf16WithBom", QByteArray("\xFF\xFE\xE9\0t\0\xE9\0\n\0", 10), u"été\r\n"_qs,
                  u"1 lignes"_qs, u"3 Caractères"_qs},
        CountCase{"invalidUtf8", "caf\xC3\xA9 \xE9t\xE9\n", u"cafÃ© été\r\n"_qs, u"1 lignes"_qs,
                  u"9 Caractères"_qs},
        CountCase{"binaryWithNul", QByteArray("a\0b\r\n", 5),
                  QString(reinterpret_cast<const QChar*>(u"a\0b\r\n"), 5), u"1 lignes"_qs,
                  u"3 Caractères"_qs}),
    [](const testing::TestParamInfo<CountCase>& info) { return std::string(info.param.name); });

TEST_F(OpenFile, CountsHaveNo16BitLimit)
{
    QByteArray lines;
    for (int i = 0; i < 40000; ++i)
        lines += "ab\n";
    open(write(u"long.txt"_qs, lines));
    EXPECT_EQ(form.Lignes->text(), u"40000 lignes"_qs);
    EXPECT_EQ(form.Caract->text(), u"80000 Caractères"_qs);
}

TEST_F(OpenFile, AnyLetterCaseOfTheExtensionLoads)
{
    for (const QString& name : {u"a.TXT"_qs, u"b.Txt"_qs}) {
        open(write(name, "ok\r\n"));
        EXPECT_EQ(form.Le_texte->texte().toString(), u"ok\r\n"_qs) << name.toStdString();
        form.Le_texte->definirTexte({});
    }
    EXPECT_TRUE(fakes.files.errors.isEmpty());
}

TEST_F(OpenFile, BothTheButtonAndTheLabelOpen)
{
    fakes.files.answers.push_back(write(u"a.txt"_qs, "un\r\n"));
    QTest::mouseClick(form.Cmdouvrir, Qt::LeftButton);
    attendreOuverture();
    EXPECT_EQ(form.Le_texte->texte().toString(), u"un\r\n"_qs);
    fakes.files.answers.push_back(write(u"b.txt"_qs, "deux\r\n"));
    QTest::mouseClick(form.Label3, Qt::LeftButton);
    attendreOuverture();
    EXPECT_EQ(form.Le_texte->texte().toString(), u"deux\r\n"_qs);
    EXPECT_EQ(fakes.files.dialogs, 2);
}

TEST_F(OpenFile, ASecondFileReplacesTheFirst)
{
    open(write(u"a.txt"_qs, "un\r\ndeux\r\ntrois\r\n"));
    open(write(u"b.txt"_qs, "seul\r\n"));
    EXPECT_EQ(form.Le_texte->texte().toString(), u"seul\r\n"_qs);
    EXPECT_EQ(form.Lignes->text(), u"1 lignes"_qs);
    EXPECT_EQ(form.NbLignes, 1);
}

TEST_F(OpenFile, CancellingChangesNothing)
{
    open(write(u"a.txt"_qs, "un\r\n\r\ndeux\r\n"));
    const Shown before = shown();
    fakes.files.answers.push_back(QString());
    form.Cmdouvrir_Click();
    form.Label3_Click();
    EXPECT_EQ(shown(), before);
    EXPECT_TRUE(fakes.files.errors.isEmpty());
}

TEST_F(OpenFile, WhatCannotBeLoadedGivesAMessageAndChangesNothing)
{
    open(write(u"a.txt"_qs, "un\r\n"));
    const Shown before = shown();
    const QString folder = dir.filePath(u"dossier.txt"_qs);
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString fifo = dir.filePath(u"tube.txt"_qs);
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const QString paths[] = {write(u"conte.doc"_qs, "x"), write(u"sans_point"_qs, "x"),
                             dir.filePath(u"disparu.txt"_qs), folder, fifo};
    for (const QString& path : paths) {
        open(path);
        EXPECT_EQ(shown(), before) << path.toStdString();
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
    ASSERT_EQ(fakes.files.errors.size(), 5);
    EXPECT_TRUE(fakes.files.errors[0].contains(u"« conte.doc »"_qs));
    for (int i = 2; i < 5; ++i)
        EXPECT_TRUE(fakes.files.errors[i].startsWith(u"Impossible de lire le fichier « "_qs));
}

TEST_F(OpenFile, AHugeFileIsRefusedWithoutBeingRead)
{
    open(write(u"a.txt"_qs, "un\r\n"));
    const Shown before = shown();
    // Sparse: a gigabyte on paper, nothing on disk.
    const QString path = write(u"enorme.txt"_qs, "");
    QFile huge(path);
    ASSERT_TRUE(huge.resize(qint64(1) << 30));
    open(path);
    EXPECT_EQ(shown(), before);
    ASSERT_EQ(fakes.files.errors.size(), 1);
    EXPECT_TRUE(fakes.files.errors[0].contains(u"taille maximale de 512 Mio"_qs));
}

TEST_F(OpenFile, AFileThatFailsWhileReadingGivesAMessage)
{
    // Opens like a plain file, then every read fails: a disk error, seen from the program.
    const QString path = dir.filePath(u"illisible.txt"_qs);
    ASSERT_TRUE(QFile::link(u"/proc/self/mem"_qs, path));
    open(path);
    ASSERT_EQ(fakes.files.errors.size(), 1);
    EXPECT_TRUE(
        fakes.files.errors[0].startsWith(u"Impossible de lire le fichier « illisible.txt »"_qs));
    EXPECT_TRUE(form.Le_texte->texte().isEmpty());
}

TEST_F(OpenFile, AFileWithoutReadPermissionGivesAMessage)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    const QString path = write(u"secret.txt"_qs, "x\r\n");
    ASSERT_EQ(::chmod(path.toLocal8Bit().constData(), 0), 0);
    open(path);
    EXPECT_EQ(fakes.files.errors.size(), 1);
    EXPECT_TRUE(form.Le_texte->texte().isEmpty());
}

TEST_F(OpenFile, AfterAnOpenTheKeyboardIsInTheTextOtherwiseWhereItWas)
{
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    const struct {
        const char* name;
        QString answer; // empty: cancelled
        QWidget* focus;
    } cases[] = {
        {"cancelled", u""_qs, form.Cmdouvrir},
        {"not a text", write(u"notes.md"_qs, "# titre\n"), form.Cmdouvrir},
        {"missing", dir.filePath(u"absent.txt"_qs), form.Cmdouvrir},
        {"loaded", write(u"conte.txt"_qs, "Il était une fois\r\n"), form.Le_texte},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form.Cmdouvrir->setFocus();
        open(c.answer);
        EXPECT_EQ(form.focusWidget(), c.focus);
    }
}

} // namespace
