// The participants' code compared: the rows the review made, the template left out.
#pragma once

#include "fila.h"
#include "similitud.h"

#include <vector>

/// Compares the code of every row of `filas` that has any with the others', and with that of
/// `anteriores` (earlier years' rows, never compared among themselves), leaving out
/// `plantilla` when given (`plantilla` of no files: what most of this year's share is taken
/// as it). The rows' fingerprints move into the comparison; the rows of flagged pairs are
/// marked `parecida`.
Similitudes comparaFilas(std::vector<Fila>& filas, std::vector<Fila>& anteriores,
                         const std::vector<ArchivoFuente>& plantilla);
