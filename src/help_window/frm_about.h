// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QDialog>

class Lanceur;
class LibelleCliquable;
class QLabel;
class QPushButton;

// The help window: what the tool does, and a link to the maker's web site.
class frmAbout final : public QDialog {
    Q_OBJECT
public:
    frmAbout(Lanceur& lanceur, QWidget* parent = nullptr);

    // The link's background: resting, and once the pointer has moved over it.
    static constexpr QColor kLienRepos{0xFF, 0xC0, 0xC0};
    static constexpr QColor kLienSurvol{0xC0, 0xFF, 0xC0};

    QLabel* Image1;
    QPushButton* cmdOK;
    LibelleCliquable* lblk3zop;

    void cmdOK_Click();
    void lblk3zop_Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void creerElements();
    void placer();
    void Form_MouseMove();
    void lblk3zop_MouseMove();
    void colorerLien(QColor couleur);

    Lanceur& lanceur_;
};
