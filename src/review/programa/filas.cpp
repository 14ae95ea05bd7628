// One row's review: where its bytes are decides how they are had and how a failure is worded.
#include "filas.h"

#include "lectura.h"
#include "redaccion.h"

namespace {

using Bytes = plataforma::Resultado<std::shared_ptr<Origen>, std::string>;

// The bytes of the row's file, or the finding that says what keeps them from being had.
struct Abre {
  Bytes operator()(std::monostate) const { return std::string(); }
  Bytes operator()(const EnEntrada& entrada) const { return entrada.origen; }
  Bytes operator()(const EnDisco& disco) const {
    plataforma::Resultado<std::unique_ptr<Origen>> origen = OrigenArchivo::abre(disco.ruta);
    if (!origen) return "No se ha podido abrir el archivo: " + origen.error().razon;
    return std::shared_ptr<Origen>(std::move(*origen));
  }
  Bytes operator()(const EnCampus& campus) const {
    plataforma::Resultado<std::shared_ptr<Origen>, ProblemaDeLectura> origen = extrae(campus);
    if (origen) return std::move(*origen);
    const ProblemaDeLectura& problema = origen.error();
    if (const DanoZip* dano = std::get_if<DanoZip>(&problema)) {
      return redactaDano(*dano, "El archivo del campus");
    }
    return std::get<plataforma::Fallo>(problema).texto();
  }
  Bytes operator()(const plataforma::Fallo& fallo) const { return fallo.texto(); }
};

}  // namespace

Fila encabezado(const Trabajo& trabajo) {
  Fila fila;
  fila.entrega = trabajo.nombre;
  fila.participante = trabajo.participante;
  return fila;
}

Fila revisaTrabajo(const Trabajo& trabajo, bool conTextos) {
  Fila fila = encabezado(trabajo);
  if (!std::holds_alternative<std::monostate>(trabajo.lugar)) {
    Bytes bytes = std::visit(Abre{}, trabajo.lugar);
    fila.revision =
        bytes ? revisaEntrega(std::move(*bytes), conTextos) : noRevisable(std::move(bytes).error());
  }
  std::vector<std::string>& hallazgos = fila.revision.hallazgos;
  hallazgos.insert(hallazgos.begin(), trabajo.previos.begin(), trabajo.previos.end());
  if (!trabajo.previos.empty() && fila.revision.veredicto == Veredicto::correcta) {
    fila.revision.veredicto = Veredicto::conAvisos;
  }
  return fila;
}

void releeCodigo(Fila& fila, const Trabajo& trabajo) {
  std::vector<ArchivoFuente>& codigo = fila.revision.codigo;
  Bytes bytes = std::visit(Abre{}, trabajo.lugar);
  if (!bytes) return;
  auto textos = leeTextos(std::move(*bytes), fila.revision.entradasDeCodigo);
  if (!textos || textos->size() != codigo.size()) return;
  for (std::size_t i = 0; i < codigo.size(); ++i) codigo[i].texto = std::move((*textos)[i]);
}
