// SPDX-License-Identifier: GPL-3.0-or-later
// A seeded random mix of user actions during automatic searches on a long text. After every
// action the result label must hold one of its legal texts and the search state must agree
// with the text. The seed is fixed; set LEXORQUINE_STRESS_SEED to run or replay another.
#include "main_window/form1.h"
#include "platform/fakes.h"
#include "search/recherche.h"
#include "text_view/vue_texte.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <iostream>
#include <random>

using namespace std::chrono_literals;

namespace {

const QRegularExpression kLegalLabel(
    u"\\A(?: {73}Résultat|\r\n\r\n Résultat|\r\n\r\n[1-9][0-9]*|\r\n\r\nSélectionnez un mot"
    u"|\r\nRecherche terminée\r\n'' .* ''\r\n(?:n'a pas été trouvé|a été trouvé [1-9][0-9]* fois\\.))\\z"_qs,
    QRegularExpression::DotMatchesEverythingOption);

QString longText(std::mt19937& random, int lines)
{
    static const char* const words[] = {"conte", "raconter", "contes", "Conte", "et", "le", "été",
                                        "cœur",  "l'homme",  "aa",     "aaaa",  "a",  "c"};
    std::uniform_int_distribution<int> word(0, std::size(words) - 1);
    std::uniform_int_distribution<int> length(0, 12);
    QString text;
    for (int line = 0; line < lines; ++line) {
        for (int w = length(random); w > 0; --w)
            text += QString::fromUtf8(words[word(random)]) + u' ';
        text += u"\r\n"_qs;
    }
    return text;
}

// QTest only knows ASCII keys: other characters arrive as a key event with their text.
void type(QWidget* widget, QChar character)
{
    if (character.unicode() < 128) {
        QTest::keyClicks(widget, QString(character));
        return;
    }
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(character));
    QCoreApplication::sendEvent(widget, &press);
    QCoreApplication::sendEvent(widget, &release);
}

std::uint32_t seedForThisRun()
{
    const QByteArray fixed = qgetenv("LEXORQUINE_STRESS_SEED");
    return fixed.isEmpty() ? 20261208u : fixed.toUInt();
}

TEST(SearchStress, RandomActionsKeepLabelAndStateConsistent)
{
    const std::uint32_t seed = seedForThisRun();
    std::cout << "LEXORQUINE_STRESS_SEED=" << seed << std::endl;
    SCOPED_TRACE("LEXORQUINE_STRESS_SEED=" + std::to_string(seed));
    std::mt19937 random(seed);

    QTemporaryDir folder;
    QStringList files;
    for (int i = 0; i < 3; ++i) {
        files << writeFile(folder.path(), u"texte%1.txt"_qs.arg(i),
                           longText(random, i == 0 ? 20000 : 300 * i).toUtf8());
        ASSERT_FALSE(files.last().isEmpty());
    }

    FakePlatform fakes;
    Form1 form(fakes.platform());
    Recherche& search = form.recherche();
    int ticks = 0;
    int stepEnds = 0;
    QObject::connect(form.Timer1, &QTimer::timeout, [&] { ++ticks; });
    QObject::connect(&search, &Recherche::selectionne, [&] { ++stepEnds; });
    // Small slices, so that scans really wait for the event loop between them.
    search.reglerTranches(512, 0ns);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    fakes.files.answers.push_back(files[0]);
    form.Cmdouvrir_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.ouvertureEnCours(); }, 60000));

    const QString typed = u"contesaeC é'"_qs;
    int duringScans = 0;
    int endings = 0;
    std::uniform_int_distribution<int> action(0, 11);
    for (int step = 0; step < 4000; ++step) {
        const int chosen = action(random);
        switch (chosen) {
        case 0:
        case 1:
            type(form.TxtRecherche, typed[random() % typed.size()]);
            break;
        case 2:
            QTest::keyClick(form.TxtRecherche, Qt::Key_Backspace);
            break;
        case 3:
            QTest::mouseClick(form.TxtRecherche, Qt::LeftButton);
            break;
        case 4:
            QTest::mouseClick(form.ChkCherche, Qt::LeftButton);
            break;
        case 5:
            QTest::mouseClick(form.ChkMaj, Qt::LeftButton);
            break;
        case 6:
        case 7:
            QTest::mouseClick(form.CmdRecherche, Qt::LeftButton);
            break;
        case 8:
            if (random() % 8 == 0) {
                fakes.files.answers.push_back(files[random() % files.size()]);
                form.Cmdouvrir_Click();
                // Input during the open is dropped (tested apart): the actions go on after it.
                ASSERT_TRUE(QTest::qWaitFor([&] { return !form.ouvertureEnCours(); }, 60000));
            }
            break;
        case 9:
            form.Timer1_Timer();
            break;
        case 10:
            QCoreApplication::processEvents();
            break;
        default: {
            // Time passes: the running timer ticks a few times, or the step under way ends.
            const int untilTicks = ticks + 1 + int(random() % 3);
            const int untilEnds = stepEnds + 1;
            static_cast<void>(QTest::qWaitFor(
                [&] {
                    return ticks >= untilTicks || stepEnds >= untilEnds
                        || (!form.Timer1->isActive() && !search.etapeEnCours());
                },
                1000));
            break;
        }
        }

        SCOPED_TRACE("step " + std::to_string(step) + ", action " + std::to_string(chosen));
        const QString label = form.Label2->text();
        ASSERT_TRUE(kLegalLabel.match(label).hasMatch()) << label.toStdString();
        ASSERT_GE(search.etapes(), 0);
        ASSERT_GE(search.position(), 1);
        const QString& text = form.Le_texte->texte().toString();
        const QString wanted = form.TxtRecherche->text();
        endings += label.contains(u"Recherche terminée"_qs);
        if (search.etapeEnCours()) {
            ++duringScans;
            ASSERT_GE(search.etapes(), 1);
            ASSERT_LE(search.position(), text.size() + 1);
        } else if (search.etapes() == 0) {
            ASSERT_EQ(search.position(), 1);
        } else {
            // The last step found an occurrence that ends just before the next start.
            const qsizetype end = search.position() - 1;
            ASSERT_FALSE(wanted.isEmpty());
            ASSERT_GE(end, wanted.size());
            ASSERT_EQ(QStringView(text).sliced(end - wanted.size(), wanted.size()), wanted);
        }
    }
    std::cout << duringScans << " actions found a scan under way, " << endings
              << " showed a final message" << std::endl;
    // A run that never met a scan or an ending would prove little.
    EXPECT_GT(duringScans, 100);
    EXPECT_GT(endings, 10);
}

} // namespace
