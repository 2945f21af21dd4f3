// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Readable failure messages: gtest prints Qt strings as text rather than as arrays of bytes.

#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
