// SPDX-License-Identifier: GPL-3.0-or-later
// Runs every input kept in the fuzzer's corpus (seeds and past findings)
// through the fuzz target's checks, in the ordinary test build.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

TEST(CorpusDuFuzzer, ChaqueEntreePasseLesVerifications)
{
    const QDir dossier(QStringLiteral(LEXORQUINE_FUZZ_CORPUS));
    const QStringList fichiers = dossier.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(fichiers.isEmpty());
    for (const QString& nom : fichiers) {
        QFile f(dossier.filePath(nom));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << nom.toStdString();
        const QByteArray octets = f.readAll();
        // The checks abort on failure; the name tells which input it was.
        std::fprintf(stderr, "%s\n", qPrintable(nom));
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(octets.constData()),
                               size_t(octets.size()));
    }
}
