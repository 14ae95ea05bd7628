// The review of one submission: integrity, bounds, provenance, content, authors, verdict.
#pragma once

#include "dano_zip.h"
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
  /// The sources and headers the checker delivers, named as it names them: what is compared
  /// with the other participants'. Their texts, as UTF-8, only when the review was asked for
  /// them, and only until the comparison has what it needs of them.
  std::vector<ArchivoFuente> codigo;
  std::vector<std::size_t> entradasDeCodigo;  // each one's entry in the submission's archive
};

/// A source larger than this is no one's writing: it is not compared.
constexpr std::size_t kLimiteFuente = 1024 * 1024;

/// Reviews the submission whose bytes `origen` holds; with `conTextos`, its code's texts read.
Revision revisaEntrega(std::shared_ptr<Origen> origen, bool conTextos = false);

/// The texts of the entries `entradas` of the submission `origen` holds, decoded as info.txt
/// is, as a review read them; or the damage that keeps them from being read again.
plataforma::Resultado<std::vector<std::string>, DanoZip> leeTextos(
    std::shared_ptr<Origen> origen, const std::vector<std::size_t>& entradas);

/// A submission that could not even be read: `razon` is its finding.
Revision noRevisable(std::string razon);
