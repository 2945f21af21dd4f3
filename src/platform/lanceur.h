// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Opens an address in the desktop's own program (a browser for a web address).
class Lanceur {
public:
    virtual ~Lanceur() = default;
    // Returns at once; false when the program could not even be started.
    virtual bool ouvrirAdresse(const QString& adresse) = 0;
};

class LanceurQt final : public Lanceur {
public:
    bool ouvrirAdresse(const QString& adresse) override;
};
