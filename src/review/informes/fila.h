// One row of the reports: who handed a submission in, its name, and what its review found.
#pragma once

#include "huellas.h"
#include "participantes.h"
#include "revision.h"
#include "veredicto.h"

#include <array>
#include <string>
#include <vector>

struct Fila {
  Participante participante;  // who handed it in, as the campus names them; empty elsewhere
  std::string entrega;        // its path relative to its input, "/" between components
  Revision revision;
  Huellas huellas;          // of its code, when it is compared with the others'
  bool parecida = false;    // in a pair the comparison flagged
  std::size_t trabajo = 0;  // which of the rows its input gave it is, to read it again
};

/// How many rows have each verdict, in the order of `kVeredictos`.
std::array<std::size_t, kNumeroVeredictos> cuentaVeredictos(const std::vector<Fila>& filas);
