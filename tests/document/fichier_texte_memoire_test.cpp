// SPDX-License-Identifier: GPL-3.0-or-later
// Failed allocations inside the loader. This program replaces malloc, calloc and realloc, which
// Qt's containers and operator new all come down to, so that one chosen large allocation fails.
#include "document/fichier_texte.h"
#include "document/reference_chargement.h"
#include "write_file.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdint>

extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
}

namespace {

// Smaller allocations are the file's name, messages and Qt's own small change.
constexpr std::size_t kGrande = 64 * 1024;

std::atomic<long> grandesVues{0};
std::atomic<long> avantEchec{0}; // the large allocation that fails, counted from 1; 0: none

bool echouer(std::size_t taille)
{
    if (taille < kGrande || avantEchec.load(std::memory_order_relaxed) == 0)
        return false;
    grandesVues.fetch_add(1, std::memory_order_relaxed);
    return avantEchec.fetch_sub(1, std::memory_order_relaxed) == 1;
}

} // namespace

extern "C" void* malloc(std::size_t taille)
{
    if (echouer(taille)) {
        errno = ENOMEM;
        return nullptr;
    }
    return __libc_malloc(taille);
}

extern "C" void* calloc(std::size_t nombre, std::size_t taille)
{
    if (taille != 0 && nombre > SIZE_MAX / taille) {
        errno = ENOMEM;
        return nullptr;
    }
    if (echouer(nombre * taille)) {
        errno = ENOMEM;
        return nullptr;
    }
    return __libc_calloc(nombre, taille);
}

extern "C" void* realloc(void* ancien, std::size_t taille)
{
    if (echouer(taille)) {
        errno = ENOMEM;
        return nullptr;
    }
    return __libc_realloc(ancien, taille);
}

namespace {

struct CasAllocation {
    const char* nom;
    QByteArray octets;
};

void PrintTo(const CasAllocation& c, std::ostream* out) { *out << c.nom; }

QByteArray prose(qsizetype taille)
{
    QByteArray octets;
    while (octets.size() < taille)
        octets += "L'\xC3\xA9t\xC3\xA9 \xE2\x82\xAC fin\r\n";
    return octets;
}

class AllocationRatee : public testing::TestWithParam<CasAllocation> { };

// Whichever large allocation fails, in the read or in the decoding, the loader answers with
// the memory sentence and does not throw; with none failing it loads the right text.
TEST_P(AllocationRatee, DonneLeMessageDeMemoire)
{
    QTemporaryDir dossier;
    const QString chemin = writeFile(dossier.path(), u"t.txt"_qs, GetParam().octets);
    ASSERT_FALSE(chemin.isEmpty());
    const TexteCharge attendu = chargementDeReference(GetParam().octets);
    long points = 0;
    for (long rang = 1;; ++rang) {
        SCOPED_TRACE("allocation " + std::to_string(rang));
        grandesVues = 0;
        avantEchec = rang;
        LectureFichier lu;
        EXPECT_NO_THROW(lu = lireFichierTexte(chemin));
        const bool echec = grandesVues >= rang;
        avantEchec = 0;
        if (!echec) {
            ASSERT_TRUE(lu.ok()) << lu.erreur.toStdString();
            EXPECT_EQ(lu.charge.texte, attendu.texte);
            EXPECT_EQ(lu.charge.lignesNonVides, attendu.lignesNonVides);
            break;
        }
        ++points;
        EXPECT_TRUE(lu.erreur.contains(u"trop grand pour la mémoire disponible"_qs))
            << lu.erreur.toStdString();
        EXPECT_TRUE(lu.charge.texte.isEmpty());
    }
    // At least the read buffer, the block's characters and the text itself.
    EXPECT_GE(points, 3);
}

INSTANTIATE_TEST_SUITE_P(
    Cas, AllocationRatee,
    testing::Values(CasAllocation{"utf8", prose(3 * kTailleBlocLecture)},
                    CasAllocation{"fauteAuDernierBloc", prose(3 * kTailleBlocLecture) + "\xE9"},
                    CasAllocation{"cp1252", "\xE9" + prose(2 * kTailleBlocLecture)},
                    CasAllocation{"sautsDeLigne", QByteArray(3 * kTailleBlocLecture, '\n')},
                    CasAllocation{"utf16", "\xFF\xFE" + QByteArray(2 * kTailleBlocLecture, 'a')}),
    [](const testing::TestParamInfo<CasAllocation>& info) { return std::string(info.param.nom); });

} // namespace
