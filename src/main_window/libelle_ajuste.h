// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QLabel>

// A one-line label that always shows its whole caption: a caption wider than the label is
// drawn in a font just small enough to fit, never below 6 points. Only when even that is too
// wide is the face condensed, and as a last resort the middle of the caption gives way to an
// ellipsis, so both ends stay readable. The caption is plain text.
class LibelleAjuste final : public QLabel {
    Q_OBJECT
public:
    explicit LibelleAjuste(QWidget* parent = nullptr);

    static constexpr qreal kTailleMinimale = 6;

    // The font the caption is drawn with at the label's present size.
    QFont policeAffichee() const;
    // The caption as drawn: the text itself unless nothing else would fit.
    QString texteAffiche() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Ajustement {
        QString texte;
        int largeur = -1;
        QFont police;
        QFont policeAjustee;
        QString texteAjuste;
    };
    const Ajustement& ajuster() const;

    mutable Ajustement cache_;
};
