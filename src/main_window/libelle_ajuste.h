// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QLabel>

// A label that always shows its whole caption: a caption too big for the label is drawn in a
// font just small enough to fit, never below 6 points. Only when even that is too big is the
// face condensed, and as a last resort the middle of the caption gives way to an ellipsis, so
// both ends stay readable. The caption is plain text, on one line. With word wrap on, its own
// lines stay and the long ones wrap within the label's box; the face is not condensed, and the
// ellipsis takes the middle of the widest line, so the other lines stay whole.
class LibelleAjuste final : public QLabel {
    Q_OBJECT
public:
    explicit LibelleAjuste(QWidget* parent = nullptr);

    static constexpr qreal kTailleMinimale = 6;

    // Whenever the caption is `texte`, the label draws `dessin` in its place; what reads the
    // label aloud still gets the caption itself.
    void dessinerComme(const QString& texte, const QString& dessin);

    // The font the caption is drawn with at the label's present size.
    QFont policeAffichee() const;
    // The caption as drawn: the text itself unless nothing else would fit. With word wrap on,
    // its lines are joined by a bare line feed.
    QString texteAffiche() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Ajustement {
        QString texte;
        QSize place;
        bool surPlusieursLignes = false;
        QFont police;
        QFont policeAjustee;
        QString texteAjuste;
    };
    const Ajustement& ajuster() const;
    QRect zoneTexte() const;
    int drapeaux() const;

    QString remplace_;
    QString remplacant_;
    mutable Ajustement cache_;
};
