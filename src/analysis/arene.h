// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Records of UTF-16 units laid one after the other in blocks that never
// move: a place stays valid while the arena lives, and growing never copies
// what is there nor holds twice the room for a moment, as a vector would.

#include <QtGlobal>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

namespace lexique {

class Arene {
public:
    static constexpr int kBitsBloc = 13;
    static constexpr size_t kBloc = size_t(1) << kBitsBloc; // units

    Arene() = default;
    Arene(Arene&&) noexcept = default;
    Arene& operator=(Arene&&) noexcept = default;
    Arene(const Arene& autre) { *this = autre; }
    Arene& operator=(const Arene& autre)
    {
        if (this == &autre)
            return *this;
        std::vector<Bloc> blocs;
        blocs.reserve(autre.blocs_.size());
        for (const Bloc& b : autre.blocs_) {
            Bloc copie{nullptr, b.taille};
            if (b.taille != 0) {
                copie.d = std::make_unique<char16_t[]>(b.taille);
                std::copy(b.d.get(), b.d.get() + b.taille, copie.d.get());
            }
            blocs.push_back(std::move(copie));
        }
        blocs_.swap(blocs);
        fin_ = autre.fin_;
        return *this;
    }

    // Room for n units, zeroed, within one block: a record never straddles
    // two, so the units left at the end of a block are zero. A record longer
    // than a block gets a block of its own.
    quint32 allouer(size_t n)
    {
        size_t place = fin_;
        if ((place & (kBloc - 1)) + n > kBloc || place >> kBitsBloc >= blocs_.size())
            place = (place + kBloc - 1) & ~(kBloc - 1);
        const size_t bloc = place >> kBitsBloc;
        const size_t blocs = n > kBloc ? (n + kBloc - 1) >> kBitsBloc : 1;
        const size_t fin = n > kBloc ? place + (blocs << kBitsBloc) : place + n;
        if (fin > kMaxUnites)
            throw std::length_error("too many distinct words");
        if (bloc >= blocs_.size()) {
            // Both allocations before any change, so that a failure leaves the arena as it was.
            blocs_.reserve(bloc + blocs);
            auto d = std::make_unique<char16_t[]>(std::max(n, kBloc));
            blocs_.resize(bloc + blocs);
            blocs_[bloc] = {std::move(d), std::max(n, kBloc)};
        }
        fin_ = fin;
        return quint32(place);
    }

    char16_t* at(quint32 place) noexcept
    {
        return blocs_[place >> kBitsBloc].d.get() + (place & (kBloc - 1));
    }
    const char16_t* at(quint32 place) const noexcept
    {
        return blocs_[place >> kBitsBloc].d.get() + (place & (kBloc - 1));
    }

    // Where a record of n units at `place` ends: the next one starts there,
    // or at the next block when no unit is left in this one.
    static size_t apres(size_t place, size_t n) noexcept
    {
        return n > kBloc ? (place + n + kBloc - 1) & ~(kBloc - 1) : place + n;
    }
    size_t fin() const noexcept { return fin_; }
    // The first unit of the next block.
    static size_t blocSuivant(size_t place) noexcept { return (place | (kBloc - 1)) + 1; }

private:
    static constexpr size_t kMaxUnites = 0xFFFFFFF0u;
    struct Bloc {
        std::unique_ptr<char16_t[]> d;
        size_t taille = 0;
    };
    std::vector<Bloc> blocs_;
    size_t fin_ = 0;
};

} // namespace lexique
