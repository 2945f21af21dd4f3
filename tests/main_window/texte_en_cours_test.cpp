// SPDX-License-Identifier: GPL-3.0-or-later
// A reader on another thread sees the text grow as it is decoded: every look shows what the
// last one showed and more, unless a new version says it was written again; the last look
// shows the whole text, or that it is gone.
#include "main_window/text_file.h"

#include <QString>

#include <gtest/gtest.h>

#include <optional>
#include <thread>

namespace {

struct Lecteur {
    QString vu;
    int versions = 0;
    bool toujoursLaSuite = true;
    bool echoue = false;
};

Lecteur lire(TexteEnCours& texte)
{
    Lecteur l;
    int version = 0;
    for (;;) {
        TexteEnCours::Lecture lecture;
        const TexteEnCours::Etat etat = texte.attendre(l.vu.size(), version, lecture, {});
        if (etat.echoue) {
            l.echoue = true;
            return l;
        }
        const QString maintenant = QString::fromUtf16(etat.texte, etat.taille);
        if (etat.version != version) {
            version = etat.version;
            ++l.versions;
        } else if (!maintenant.startsWith(l.vu)) {
            l.toujoursLaSuite = false;
        }
        l.vu = maintenant;
        if (etat.fini)
            return l;
    }
}

// Decodes `octets` by blocks while another thread reads; stops before the end when asked.
Lecteur decoderEnLisant(const QByteArray& octets, qsizetype bloc,
                        std::optional<qsizetype> abandonA = {}, LoadedText* charge = nullptr)
{
    TexteEnCours texte;
    Lecteur lecteur;
    std::thread fil([&] { lecteur = lire(texte); });
    {
        DecodeurTexte decodeur(octets.size());
        decodeur.suivre(&texte);
        for (qsizetype i = 0; i < octets.size() && i != abandonA; i += bloc)
            decodeur.ajouter(QByteArrayView(octets).sliced(i, std::min(bloc, octets.size() - i)));
        if (!abandonA) {
            LoadedText fin = decodeur.terminer();
            if (charge)
                *charge = std::move(fin);
        }
    }
    fil.join();
    return lecteur;
}

TEST(TexteEnCours, LeLecteurVoitLeTexteGrandirJusquauBout)
{
    const QByteArray prose = QByteArray("L'\xC3\xA9t\xC3\xA9 arrive\r\nfin\n").repeated(3000);
    struct Cas {
        const char* nom;
        QByteArray octets;
        int versions; // times the text was written again
    };
    const Cas cas[] = {
        {"utf8", prose, 0},
        {"fauteALaFin", prose + "\xE9", 1},
        {"cp1252", "\x92" + prose, 1},
        {"utf16", "\xFF\xFE" + QByteArray("a\0\r\0", 4).repeated(5000), 0},
        {"sauts", QByteArray(30000, '\n'), 0},
        {"vide", QByteArray(), 0},
    };
    for (const Cas& c : cas) {
        for (const qsizetype bloc : {1, 7, 4096}) {
            SCOPED_TRACE(std::string(c.nom) + " " + std::to_string(bloc));
            LoadedText charge;
            const Lecteur l = decoderEnLisant(c.octets, bloc, {}, &charge);
            EXPECT_FALSE(l.echoue);
            EXPECT_TRUE(l.toujoursLaSuite);
            EXPECT_EQ(l.versions, c.versions);
            EXPECT_EQ(l.vu, charge.text);
            EXPECT_EQ(charge.text, chargerOctets(c.octets).text);
        }
    }
}

TEST(TexteEnCours, UnTexteAbandonneNEstPlusLu)
{
    const QByteArray prose = QByteArray("un deux trois\r\n").repeated(2000);
    for (const qsizetype abandon : {0, 4096, 16384}) {
        SCOPED_TRACE(abandon);
        EXPECT_TRUE(decoderEnLisant(prose, 4096, abandon).echoue);
    }
}

} // namespace
