// similitud.csv and similitud.html: the pairs of participants whose code is alike, the
// fragments they share, and how much was left out as the course's template.
#pragma once

#include "comparacion.h"
#include "fila.h"

#include <string>
#include <vector>

/// What the comparison of the participants' code found, with the rows it speaks of.
struct Similitudes {
  std::vector<const Fila*> participantes;  // by the comparison's indices
  std::vector<bool> anteriores;            // of an earlier year, by the same indices
  Comparacion comparacion;
  bool plantillaDada = false;  // given with --plantilla, rather than found in what most share
};

/// UTF-8 with a byte-order mark, ";" between fields, CRLF, RFC 4180 quoting, as revision.csv:
/// the header row, then one row per pair listed, highest first.
std::string tablaSimilitud(const Similitudes& similitudes);

/// One self-contained page, readable with scripts off: the flagged pairs and groups, the
/// distribution of the scores, the other pairs listed, and each flagged pair's files side by
/// side with every shared fragment in a colour of its own, linked to its other side.
std::string paginaSimilitud(const Similitudes& similitudes);

/// How many pairs are flagged.
std::size_t avisos(const Similitudes& similitudes);
