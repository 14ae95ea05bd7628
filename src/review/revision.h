// The review of one submission: integrity, bounds, provenance, content, authors, verdict.
#pragma once

#include "lector.h"
#include "participantes.h"

#include <string>
#include <vector>

enum class Veredicto { correcta, conAvisos, conErrores, noRevisable };

/// The word of the report: "correcta", "con avisos", "con errores" or "no revisable".
const char* palabra(Veredicto veredicto);

/// The class that colours a verdict in the pages: "correcta", "avisos", "errores" or
/// "norevisable".
const char* claseDe(Veredicto veredicto);

/// One line of the report.
struct Fila {
  Participante participante;  // who handed it in, as the campus names them; empty elsewhere
  std::string entrega;        // its path relative to its input, "/" between components
  Veredicto veredicto = Veredicto::noRevisable;
  bool comprobador = false;                         // the archive has exactly the checker's form
  std::string fecha;                                // AAAA-MM-DD, or empty
  std::string autores;                              // the first three lines of info.txt
  std::string proyecto;                             // the project folder's name
  int fuentes = -1, cabeceras = -1, imagenes = -1;  // -1 when it could not be reviewed
  std::vector<std::string> hallazgos;               // each with its full stop, in the order found
  std::vector<std::string> entregados;  // the entries the checker writes for it, in its order
};

/// Reviews the submission that `lector` reads (not opened yet) under the name `entrega`.
Fila revisaEntrega(LectorZip& lector, std::string entrega);

/// A row for a submission that could not even be read: `razon` is its finding.
Fila noRevisable(std::string entrega, std::string razon);
