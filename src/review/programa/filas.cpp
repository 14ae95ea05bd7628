// One row's review: where its bytes are decides how they are had and how a failure is worded.
#include "filas.h"

#include "lectura.h"
#include "redaccion.h"

namespace {

// The bytes of the row's file, or what keeps them from being had.
struct Revisa {
  Revision operator()(std::monostate) const { return Revision(); }
  Revision operator()(const EnEntrada& entrada) const { return revisaEntrega(entrada.origen); }
  Revision operator()(const EnDisco& disco) const {
    plataforma::Resultado<std::unique_ptr<Origen>> origen = OrigenArchivo::abre(disco.ruta);
    if (!origen) return noRevisable("No se ha podido abrir el archivo: " + origen.error().razon);
    return revisaEntrega(std::move(*origen));
  }
  Revision operator()(const EnCampus& campus) const {
    plataforma::Resultado<std::shared_ptr<Origen>, ProblemaDeLectura> origen = extrae(campus);
    if (origen) return revisaEntrega(std::move(*origen));
    const ProblemaDeLectura& problema = origen.error();
    if (const DanoZip* dano = std::get_if<DanoZip>(&problema)) {
      return noRevisable(redactaDano(*dano, "El archivo del campus"));
    }
    return noRevisable(std::get<plataforma::Fallo>(problema).texto());
  }
  Revision operator()(const plataforma::Fallo& fallo) const { return noRevisable(fallo.texto()); }
};

}  // namespace

Fila encabezado(const Trabajo& trabajo) {
  Fila fila;
  fila.entrega = trabajo.nombre;
  fila.participante = trabajo.participante;
  return fila;
}

Fila revisaTrabajo(const Trabajo& trabajo) {
  Fila fila = encabezado(trabajo);
  fila.revision = std::visit(Revisa{}, trabajo.lugar);
  std::vector<std::string>& hallazgos = fila.revision.hallazgos;
  hallazgos.insert(hallazgos.begin(), trabajo.previos.begin(), trabajo.previos.end());
  if (!trabajo.previos.empty() && fila.revision.veredicto == Veredicto::correcta) {
    fila.revision.veredicto = Veredicto::conAvisos;
  }
  return fila;
}
