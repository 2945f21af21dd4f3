// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader reads of a text view: every kind of piece at every position of small
// texts, against pieces cut from the whole text at once.
#include "text_view/vue_texte.h"

#include <QAccessible>
#include <QTextBoundaryFinder>

#include <gtest/gtest.h>

#include <vector>

namespace {

using Sorte = QAccessible::TextBoundaryType;
struct Piece {
    int debut, fin;
    bool operator==(const Piece&) const = default;
};
using Pieces = std::vector<Piece>;

std::ostream& operator<<(std::ostream& os, const Piece& p)
{
    return os << '[' << p.debut << ", " << p.fin << ')';
}

// Lines with their breaks, in order; an empty last one after a last break.
Pieces lignes(const QString& t)
{
    Pieces p;
    int debut = 0;
    for (int i = 0; i < t.size(); ++i) {
        if (t[i] == u'\r' && i + 1 < t.size() && t[i + 1] == u'\n')
            ++i;
        if (t[i] == u'\r' || t[i] == u'\n') {
            p.push_back({debut, i + 1});
            debut = i + 1;
        }
    }
    if (debut < t.size())
        p.push_back({debut, int(t.size())});
    return p;
}

// Graphemes, words or sentences: cut over each whole line, its break a piece of its own.
Pieces dansLesLignes(const QString& t, Sorte sorte)
{
    Pieces p;
    for (const Piece& ligne : lignes(t)) {
        int fin = ligne.fin;
        while (fin > ligne.debut && (t[fin - 1] == u'\r' || t[fin - 1] == u'\n'))
            --fin;
        const QString contenu = t.mid(ligne.debut, fin - ligne.debut);
        const auto type = sorte == QAccessible::WordBoundary ? QTextBoundaryFinder::Word
            : sorte == QAccessible::SentenceBoundary         ? QTextBoundaryFinder::Sentence
                                                             : QTextBoundaryFinder::Grapheme;
        QTextBoundaryFinder f(type, contenu);
        std::vector<int> debuts{0};
        for (int b = f.toNextBoundary(); b > 0 && b < contenu.size(); b = f.toNextBoundary())
            if (sorte != QAccessible::WordBoundary
                || f.boundaryReasons().testFlag(QTextBoundaryFinder::StartOfItem))
                debuts.push_back(b);
        debuts.push_back(int(contenu.size()));
        for (std::size_t i = 0; i + 1 < debuts.size(); ++i)
            if (debuts[i] < debuts[i + 1])
                p.push_back({ligne.debut + debuts[i], ligne.debut + debuts[i + 1]});
        if (fin < ligne.fin)
            p.push_back({fin, ligne.fin});
    }
    return p;
}

struct Attendu {
    Piece ici, avant, apres;
};

// The pieces at, before and after a position, from the list of them.
Attendu attendu(const QString& t, Sorte sorte, int position)
{
    const Pieces p = sorte == QAccessible::LineBoundary ? lignes(t) : dansLesLignes(t, sorte);
    const int taille = int(t.size());
    const Piece vide{taille, taille};
    std::size_t i = 0;
    while (i < p.size() && p[i].fin <= position)
        ++i;
    // Past the last piece: an empty one at the end, except the last line when no break ends it.
    const bool derniereLigne = sorte == QAccessible::LineBoundary && !p.empty()
        && position == taille && t.back() != u'\r' && t.back() != u'\n';
    if (derniereLigne)
        i = p.size() - 1;
    const Piece ici = i < p.size() ? p[i] : vide;
    const Piece avant = i > 0 ? p[i - 1] : Piece{0, 0};
    const Piece apres = i + 1 < p.size() ? p[i + 1] : vide;
    return {ici, avant, apres};
}

const QString kTextes[] = {
    u""_qs,
    u" "_qs,
    u"a"_qs,
    u" Il était une fois\r\nun conte à raconter.\r\n"_qs,
    u"La rivière coule jusqu'au barrage."_qs,
    u"   1     Il\r\n   2 contes\r\n   1 racontent\r\n"_qs,
    u"\r\n\r\n"_qs,
    u"a\rb\nc\r\n  "_qs,
    u"e\u0301te\u0301 cafe\u0301s"_qs,
    u"\U0001D49C\U0001D49E b \U0001F600!"_qs,
    u"Une phrase. Une autre ! Et la fin"_qs,
    u"mots   -- ... fin  \n"_qs,
};

const Sorte kSortes[] = {QAccessible::CharBoundary, QAccessible::WordBoundary,
                         QAccessible::SentenceBoundary, QAccessible::LineBoundary};

class Decoupage : public testing::Test {
protected:
    QAccessibleTextInterface* texte(const QString& t)
    {
        vue.definirTexte(t);
        return QAccessible::queryAccessibleInterface(&vue)->textInterface();
    }
    VueTexte vue;
};

TEST_F(Decoupage, EveryKindOfPieceAtEveryPositionOfEveryText)
{
    for (const QString& t : kTextes) {
        QAccessibleTextInterface* i = texte(t);
        ASSERT_NE(i, nullptr);
        for (const Sorte sorte : kSortes) {
            for (int position = 0; position <= t.size(); ++position) {
                const Attendu a = attendu(t, sorte, position);
                Piece ici, avant, apres;
                const QString lu = i->textAtOffset(position, sorte, &ici.debut, &ici.fin);
                i->textBeforeOffset(position, sorte, &avant.debut, &avant.fin);
                i->textAfterOffset(position, sorte, &apres.debut, &apres.fin);
                const auto ou = testing::Message()
                    << "« " << t.toStdString() << " » sorte " << sorte << " position " << position;
                EXPECT_EQ(ici, a.ici) << ou;
                EXPECT_EQ(avant, a.avant) << ou;
                EXPECT_EQ(apres, a.apres) << ou;
                EXPECT_EQ(lu, t.mid(ici.debut, ici.fin - ici.debut)) << ou;
            }
        }
        // Paragraphs are lines: lines never wrap.
        Piece ligne, paragraphe;
        i->textAtOffset(0, QAccessible::LineBoundary, &ligne.debut, &ligne.fin);
        i->textAtOffset(0, QAccessible::ParagraphBoundary, &paragraphe.debut, &paragraphe.fin);
        EXPECT_EQ(paragraphe, ligne);
        // One run of attributes covers the whole text, so that no line is cut at its end.
        for (int position = 0; position < t.size(); ++position) {
            Piece run;
            i->attributes(position, &run.debut, &run.fin);
            EXPECT_EQ(run, (Piece{0, int(t.size())}));
        }
    }
}

TEST_F(Decoupage, PositionsOutOfTheTextAreTheEnds)
{
    QAccessibleTextInterface* i = texte(u"un deux"_qs);
    Piece p;
    EXPECT_EQ(i->textAtOffset(-5, QAccessible::WordBoundary, &p.debut, &p.fin), u"un "_qs);
    EXPECT_EQ(i->textAtOffset(99, QAccessible::LineBoundary, &p.debut, &p.fin), u"un deux"_qs);
    EXPECT_EQ(i->textAtOffset(99, QAccessible::CharBoundary, &p.debut, &p.fin), u""_qs);
    EXPECT_EQ(p, (Piece{7, 7}));
    EXPECT_EQ(i->text(-3, 2), u"un"_qs);
}

TEST_F(Decoupage, AWordLongerThanWhatIsLookedAtIsCutNearThePosition)
{
    // Whatever the text, a question looks at a few thousand characters only.
    const QString t = QString(200'000, u'x');
    QAccessibleTextInterface* i = texte(t);
    Piece p;
    i->textAtOffset(100'000, QAccessible::WordBoundary, &p.debut, &p.fin);
    EXPECT_LE(p.debut, 100'000);
    EXPECT_GT(p.fin, 100'000);
    EXPECT_LT(p.fin - p.debut, 5'000);
}

} // namespace
