// A submission read out of the campus archive that holds it, for its review.
#pragma once

#include "piezas.h"

#include <memory>
#include <variant>

/// Why an entry of a campus archive cannot be had: damage of the entry's bytes, or a failure
/// of the system.
using ProblemaDeLectura = std::variant<DanoZip, plataforma::Fallo>;

/// The bytes of the submission that `entrada` holds, checked as any entry is: in memory when
/// small, otherwise in a nameless temporary file that the system removes whatever happens.
plataforma::Resultado<std::shared_ptr<Origen>, ProblemaDeLectura> extrae(const EnCampus& entrada);
