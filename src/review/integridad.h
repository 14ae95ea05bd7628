// The bounds that keep any archive within bounded time and memory, and the integrity of
// every entry: the same checks for a submission's entries and for a campus entry.
#pragma once

#include "lector.h"

#include <cstdint>
#include <string>
#include <vector>

inline constexpr std::uint64_t kLimiteTotal = 1ull << 30;  // inflated bytes of all entries
inline constexpr std::uint64_t kRazonBomba = 200;          // inflated per compressed byte
inline constexpr std::size_t kMaximoEntradas = 20000;

/// Empty when the entry `r` may be inflated: not encrypted, within 1 GiB together with the
/// entries before it (`total`, which it adds to), and growing no more than 200 times.
/// Otherwise the finding, with its full stop. No arithmetic here can overflow.
std::string compruebaLimites(const Registro& r, std::uint64_t& total);

/// Empty when no two entries share their bytes: each local header, name and data end
/// before the next entry starts. Otherwise the finding, with its full stop.
std::string compruebaSolapes(const std::vector<Registro>& registros);

/// The bounds of every entry first, then that no two share their bytes, then every entry
/// inflated and held to its record.
/// Empty when the archive passes, otherwise the first finding, with its full stop.
/// `extras` receives the length of each entry's local extra field.
std::string compruebaIntegridad(LectorZip& lector, std::vector<unsigned>& extras);
