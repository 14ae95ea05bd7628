// One row of the report to make: who handed it in, what it reviews, and what was found of
// what they handed in before any review.
#pragma once

#include "origen.h"
#include "participantes.h"
#include "piezas.h"

#include <memory>
#include <string>
#include <variant>
#include <vector>

/// The bytes of an input given whole, opened already: a submission by itself.
struct EnEntrada {
  std::shared_ptr<Origen> origen;
};

struct Trabajo {
  std::string nombre;         // the row's name: relative to its input, "/" between components
  Participante participante;  // empty outside the campus's forms
  std::vector<std::string> previos;  // findings on what the participant handed in, shown first
  /// What it reviews, or why nothing can be read; nothing at all when `previos` says why.
  std::variant<std::monostate, EnEntrada, EnDisco, EnCampus, plataforma::Fallo> lugar;
};
