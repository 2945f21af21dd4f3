// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Opens an address in the desktop's own program (a browser for a web address).
class Launcher {
public:
    virtual ~Launcher() = default;
    // Returns at once; false when the program could not even be started.
    virtual bool openAddress(const QString& address) = 0;
};

class QtLauncher final : public Launcher {
public:
    bool openAddress(const QString& address) override;
};
