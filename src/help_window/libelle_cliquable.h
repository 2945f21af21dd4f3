// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

// A label that answers a left click, as the "Ouvrir un dossier" caption and the help window's
// web-site link do, and tells when the pointer moves over it (with mouse tracking on, also
// without a pressed button).
class LibelleCliquable final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clique();
    void survole();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};
