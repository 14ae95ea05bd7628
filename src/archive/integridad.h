// The bounds that keep reading any archive within bounded time and memory, and the
// integrity of every entry: the same checks for a submission's entries and for an entry of
// a campus archive.
#pragma once

#include "lector.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

/// The entries an archive may hold, and the bytes they may inflate to together.
inline constexpr std::size_t kMaximoEntradas = 20000;
inline constexpr std::uint64_t kLimiteTotal = std::uint64_t{1} << 30;

/// The entry `r` may be inflated: not encrypted, its recorded sizes such as deflate can
/// make, and within `kLimiteTotal` together with the entries before it, which inflate to
/// `total`. What all of them then inflate to, or the damage. No arithmetic here overflows.
plataforma::Resultado<std::uint64_t, DanoZip> compruebaLimites(const Registro& r,
                                                               std::uint64_t total);

/// No two entries share their bytes: each local header, name and data end before the next
/// entry starts.
plataforma::Resultado<void, DanoZip> compruebaSolapes(const std::vector<Registro>& registros);

/// Where the bytes of entry `i` go as it is inflated: null for an entry whose bytes are not
/// wanted.
using Guarda = std::function<std::string*(std::size_t i)>;

/// The bounds of every entry first, then that no two share their bytes, then every entry
/// inflated and held to its record: the length of each entry's local extra field, or the
/// first damage. The bytes of the entries `guarda` asks for are kept on the way, so that
/// they need not be inflated again.
plataforma::Resultado<std::vector<unsigned>, DanoZip> compruebaIntegridad(
    const LectorZip& lector, Inflador& inflador, const Guarda& guarda = nullptr);
