// What each input holds: a folder walked once, a submission given directly, or a campus
// archive's directory read once and shared by every row it gives.
#include "entradas.h"

#include "agrupacion.h"
#include "clasificacion.h"
#include "integridad.h"
#include "piezas.h"

namespace {

// A campus archive holds submissions, or names participants, and holds no project; anything
// else is one submission, which its review then judges.
bool esCampus(const LectorZip& lector) {
  bool campus = false;
  for (const Registro& r : lector.registros()) {
    if (extension(r.nombre) == ".vcxproj") return false;
    campus = campus || (!r.esCarpeta() && esZip(r.nombre)) || procedenciaDe(r.nombre);
  }
  return campus;
}

}  // namespace

std::vector<Trabajo> buscaEnArchivo(const std::string& nombre, std::shared_ptr<Origen> origen) {
  plataforma::Resultado<LectorZip, DanoZip> lector = LectorZip::abre(origen, kMaximoEntradas);
  // Records that share their bytes would make one submission cost as many reviews as it is
  // named: such an archive is one submission, whose review says so.
  if (lector && compruebaSolapes(lector->registros()) && esCampus(*lector)) {
    return agrupa(piezasDe(std::make_shared<const LectorZip>(std::move(*lector))));
  }
  return {Trabajo{nombre, {}, {}, EnEntrada{std::move(origen)}}};
}

plataforma::Resultado<std::vector<Trabajo>> buscaEntregas(const std::string& ruta) {
  const plataforma::Fallo ilegible{"No se ha podido leer la entrada", ruta, "",
                                   plataforma::Alcance::todo};
  plataforma::Resultado<plataforma::Estado> estado = plataforma::consultaEstado(ruta);
  if (!estado) {
    plataforma::Fallo fallo = std::move(estado).error();
    fallo.alcance = plataforma::Alcance::todo;
    return fallo;
  }
  if (*estado == plataforma::Estado::directorio) {
    plataforma::Resultado<std::vector<Pieza>> piezas = recorre(ruta);
    if (!piezas) return std::move(piezas).error();
    return agrupa(*piezas);
  }
  if (*estado == plataforma::Estado::ausente) {
    return plataforma::Fallo{ilegible.que, ruta, "no existe", ilegible.alcance};
  }
  if (*estado != plataforma::Estado::archivo) {
    return plataforma::Fallo{ilegible.que, ruta, "no es un archivo ni una carpeta",
                             ilegible.alcance};
  }
  plataforma::Resultado<std::unique_ptr<Origen>> origen = OrigenArchivo::abre(ruta);
  if (!origen) {
    return plataforma::Fallo{ilegible.que, ruta, origen.error().razon, ilegible.alcance};
  }
  return buscaEnArchivo(plataforma::ultimoComponente(ruta), std::move(*origen));
}
