// Whether an archive has exactly the form comprobador writes: a fingerprint, not a signature.
#pragma once

#include "lector.h"

#include <optional>
#include <string>
#include <vector>

/// The first difference between the archive and what comprobador writes, as a finding
/// without its full stop; nothing when every entry has the checker's headers (version made
/// by 0x0024, version needed 20, flags 0x0802, deflate, 00:00:00, one date, no extra field,
/// comment or attributes) and the entries are `esperadas` in that order. `extrasLocales`
/// holds the length of each entry's local extra field.
std::optional<std::string> diferenciaConComprobador(const LectorZip& lector,
                                                    const std::vector<unsigned>& extrasLocales,
                                                    const std::vector<std::string>& esperadas);
