// The review of one submission: integrity, bounds, provenance, content, authors, verdict.
#pragma once

#include "huellas.h"
#include "origen.h"
#include "veredicto.h"

#include <memory>
#include <string>
#include <vector>

/// What the review of one submission found.
struct Revision {
  Veredicto veredicto = Veredicto::noRevisable;
  bool comprobador = false;                         // the archive has exactly the checker's form
  std::string fecha;                                // AAAA-MM-DD, or empty
  std::string autores;                              // the first three lines of info.txt
  std::string proyecto;                             // the project folder's name
  int fuentes = -1, cabeceras = -1, imagenes = -1;  // -1 when it could not be reviewed
  std::vector<std::string> hallazgos;               // without their full stops, in the order found
  std::vector<std::string> entregados;  // the entries the checker writes for it, in its order
  /// The sources and headers the checker delivers, as UTF-8, named as it names them: what is
  /// compared with the other participants'.
  std::vector<ArchivoFuente> codigo;
};

/// Reviews the submission whose bytes `origen` holds.
Revision revisaEntrega(std::shared_ptr<Origen> origen);

/// A submission that could not even be read: `razon` is its finding.
Revision noRevisable(std::string razon);
