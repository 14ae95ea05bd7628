// What an input holds, piece by piece: every file and folder below a folder, walked once, or
// every entry of a campus archive read from its directory once.
#pragma once

#include "lector.h"
#include "resultado.h"

#include <cstddef>
#include <memory>
#include <string>
#include <variant>
#include <vector>

/// A file on disk, opened only when its row is reviewed.
struct EnDisco {
  std::string ruta;
};

/// An entry of a campus archive, which every row of that archive shares open.
struct EnCampus {
  std::shared_ptr<const LectorZip> campus;
  std::size_t indice = 0;
};

/// One thing found in an input.
struct Pieza {
  std::string nombre;    // relative to the input, "/" between components
  bool carpeta = false;  // a folder, which holds nothing to read itself
  /// Where a file's bytes are, or why the piece cannot be read; nothing for a folder that
  /// was walked.
  std::variant<std::monostate, EnDisco, EnCampus, plataforma::Fallo> lugar;
};

/// Every file and folder below `raiz`, each folder entered once by its identity and no link
/// to a folder followed; a folder, a .zip or a name that cannot be read is a piece that says
/// why. A failure (of all of the input) only when `raiz` itself cannot be listed.
plataforma::Resultado<std::vector<Pieza>> recorre(const std::string& raiz);

/// Every entry of the campus archive `campus`, in the order of its directory.
std::vector<Pieza> piezasDe(const std::shared_ptr<const LectorZip>& campus);

/// Whether `nombre` ends in ".zip", in any letter case.
bool esZip(const std::string& nombre);
