// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QUrl>

// The maker's web site, in this one place: the link label shows its host, a click opens it.
namespace site {

inline QString adresse() { return QStringLiteral("https://lexo.example/"); }
inline QString hote() { return QUrl(adresse()).host(); }

} // namespace site
