// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A text being decoded on one thread and read on another as it grows. What is published stays
// as it is, except when the writer moves the text or writes it again: it then waits for the
// reader to put down its lock, and publishes the new place (and, for a rewrite, a new
// version) before the reader may take the lock again.

#include <QtGlobal>

#include <condition_variable>
#include <mutex>
#include <shared_mutex>
#include <stop_token>

class TexteEnCours {
public:
    struct Etat {
        const char16_t* texte = nullptr;
        qsizetype taille = 0; // characters written, which will not change in this version
        int version = 0;
        bool fini = false; // no more characters will come
        bool echoue = false; // the text is gone: nothing of it may be read any more
    };
    using Lecture = std::shared_lock<std::shared_mutex>;

    // Writer: held while the text moves or is written again.
    std::unique_lock<std::shared_mutex> bloquerLecture() { return std::unique_lock(place_); }
    void publier(const char16_t* texte, qsizetype taille, bool reecrit = false);
    // Call with the lock held when the text is about to go.
    void finir(bool reussi);

    // Reader: waits until the text is longer than `taille`, or has a new version, or is over
    // (or `arret` is requested), then locks its place in `lecture` and says where it stands.
    // Never waits while holding a Lecture.
    Etat attendre(qsizetype taille, int version, Lecture& lecture, std::stop_token arret);

private:
    std::shared_mutex place_;
    std::mutex garde_;
    std::condition_variable_any changement_;
    Etat etat_;
};
