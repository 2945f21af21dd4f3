// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

// A label that answers a left click, as the "Ouvrir un dossier" caption and the help window's
// web-site link do, and tells when the pointer moves over it (with mouse tracking on, also
// without a pressed button). Given the keyboard focus, Return and Space click it too.
// Assistive technologies see a link that they can press.
class LibelleCliquable final : public QLabel {
    Q_OBJECT
public:
    explicit LibelleCliquable(QWidget* parent = nullptr);
    explicit LibelleCliquable(const QString& texte, QWidget* parent = nullptr);

signals:
    void clique();
    void survole();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
