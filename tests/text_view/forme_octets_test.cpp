// SPDX-License-Identifier: GPL-3.0-or-later
// A text kept one byte per character reads, moves, draws and speaks as the same text in UTF-16.
#include "text_view/decoupage_texte.h"
#include "text_view/positions_texte.h"
#include "text_view/vue_texte.h"

#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QByteArray enOctets(const QString& t)
{
    QByteArray o;
    for (const QChar c : t)
        o.append(char(octetCp1252(c.unicode())));
    return o;
}

QString longueLigne()
{
    QString t;
    for (int i = 0; i < 300; ++i)
        t += u"mot%1, à l'œuvre. "_qs.arg(i);
    return t + QString(3000, u'x') + u" fin.\r\n"_qs;
}

const QString kTextes[] = {
    u""_qs,
    u"a"_qs,
    u"Été, à l'œuvre… « déjà » !\r\nDeuxième ligne\rtrois\n\r\n—fin"_qs,
    u"\r\n\r\r\n\n x_1 y2\t€\r"_qs,
    longueLigne(),
};

using Sorte = QAccessible::TextBoundaryType;
constexpr Sorte kSortes[]
    = {QAccessible::CharBoundary, QAccessible::WordBoundary,      QAccessible::SentenceBoundary,
       QAccessible::LineBoundary, QAccessible::ParagraphBoundary, QAccessible::NoBoundary};

TEST(FormeOctets, PositionsAndPiecesAreThoseOfTheUtf16Text)
{
    for (const QString& large : kTextes) {
        const Texte octets = Texte::enCp1252(enOctets(large));
        const Texte utf16(large);
        const qsizetype pas = large.size() > 1000 ? 7 : 1;
        for (qsizetype p = -1; p <= large.size() + 1; p += pas) {
            SCOPED_TRACE(testing::Message() << large.size() << " at " << p);
            ASSERT_EQ(positionNormalisee(octets, p), positionNormalisee(utf16, p));
            ASSERT_EQ(positionSuivante(octets, p), positionSuivante(utf16, p));
            ASSERT_EQ(positionPrecedente(octets, p), positionPrecedente(utf16, p));
            ASSERT_EQ(debutGrapheme(octets, p), debutGrapheme(utf16, p));
            ASSERT_EQ(motSuivant(octets, p), motSuivant(utf16, p));
            ASSERT_EQ(motPrecedent(octets, p), motPrecedent(utf16, p));
            ASSERT_EQ(motAutour(octets, p), motAutour(utf16, p));
            for (const Sorte sorte : kSortes) {
                SCOPED_TRACE(int(sorte));
                ASSERT_EQ(morceauEn(octets, p, sorte), morceauEn(utf16, p, sorte));
                ASSERT_EQ(morceauAvant(octets, p, sorte), morceauAvant(utf16, p, sorte));
                ASSERT_EQ(morceauApres(octets, p, sorte), morceauApres(utf16, p, sorte));
            }
        }
    }
}

TEST(FormeOctets, TheViewDrawsAndTellsTheSame)
{
    const QString large = kTextes[2] + u"\r\n"_qs + longueLigne();
    VueTexte vues[2];
    const Texte formes[] = {Texte(large), Texte::enCp1252(enOctets(large))};
    QImage images[2];
    for (int k = 0; k < 2; ++k) {
        vues[k].resize(400, 200);
        vues[k].definirTexte(formes[k], IndexLignes(formes[k]));
        vues[k].definirSelection(5, 40);
        images[k] = vues[k].grab().toImage();
    }
    EXPECT_EQ(images[0], images[1]);
    QAccessibleInterface* dits[2] = {QAccessible::queryAccessibleInterface(&vues[0]),
                                     QAccessible::queryAccessibleInterface(&vues[1])};
    EXPECT_EQ(dits[1]->text(QAccessible::Value), large);
    QAccessibleTextInterface* t0 = dits[0]->textInterface();
    QAccessibleTextInterface* t1 = dits[1]->textInterface();
    EXPECT_EQ(t1->text(3, 30), t0->text(3, 30));
    for (const int p : {0, 12, 27, 60, 2100}) {
        int d0 = 0, f0 = 0, d1 = 0, f1 = 0;
        EXPECT_EQ(t1->textAtOffset(p, QAccessible::WordBoundary, &d1, &f1),
                  t0->textAtOffset(p, QAccessible::WordBoundary, &d0, &f0));
        EXPECT_EQ(std::pair(d1, f1), std::pair(d0, f0));
    }
}

// A line of 200,000 characters, at its start, across a checkpoint and at its end.
TEST(FormeOctets, ALongLineDrawsAndMovesTheSameAnywhere)
{
    QString longue;
    while (longue.size() < 200'000)
        longue += u"l’œuvre\tà été "_qs;
    const QString large = u"Début\r\n"_qs + longue + u"\r\nfin"_qs;
    const qsizetype debut = 7, fin = debut + longue.size();
    const struct {
        const char* nom;
        qsizetype debut, longueur;
    } cas[] = {{"start", 9, 3},
               {"checkpoint", debut + 4090, 12},
               {"middle", debut + 102'395, 700},
               {"end", fin - 4, 4}};
    const Texte formes[] = {Texte(large), Texte::enCp1252(enOctets(large))};
    VueTexte vues[2];
    for (int k = 0; k < 2; ++k) {
        vues[k].resize(400, 120);
        vues[k].definirTexte(formes[k], IndexLignes(formes[k]));
    }
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        QImage images[2];
        std::vector<qsizetype> positions[2];
        for (int k = 0; k < 2; ++k) {
            vues[k].definirSelection(c.debut, c.longueur);
            images[k] = vues[k].grab().toImage();
            const QPoint clic = vues[k].pointDe(c.debut) + QPoint(37, 3);
            QTest::mouseClick(vues[k].viewport(), Qt::LeftButton, {}, clic);
            positions[k].push_back(vues[k].positionCurseur());
            for (const Qt::Key cle : {Qt::Key_Right, Qt::Key_Left, Qt::Key_End, Qt::Key_Home}) {
                QTest::keyClick(&vues[k], cle);
                positions[k].push_back(vues[k].positionCurseur());
            }
        }
        EXPECT_EQ(images[0], images[1]);
        EXPECT_EQ(positions[1], positions[0]);
        EXPECT_EQ(std::vector(positions[0].begin() + 3, positions[0].end()),
                  std::vector<qsizetype>({fin, debut}));
    }
}

} // namespace
