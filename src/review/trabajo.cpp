// Reading one row's file for its review: from disk, or out of the campus archive.
#include "entradas.h"
#include "integridad.h"
#include "recorrido.h"

#include <cstdio>
#include <memory>

namespace {

// A submission inside a campus archive is inflated into memory up to this size, and into a
// nameless temporary file beyond it: memory stays bounded however many workers there are.
constexpr std::uint64_t kEnMemoria = 2 * 1024 * 1024;

// The bytes of a submission inside the campus archive, checked as any entry is: in memory
// when small, otherwise in a temporary file that the system removes whatever happens.
std::unique_ptr<Origen> extrae(Origen& campus, const Pieza& pieza, std::string& error) {
  const Registro& r = pieza.registro;
  std::uint64_t total = 0;
  error = compruebaLimites(r, total);
  if (!error.empty()) return nullptr;
  Inflador inflador;
  unsigned extra = 0;
  const std::string archivo = "El archivo del campus";
  if (r.descomprimido <= kEnMemoria) {
    std::string datos;
    datos.reserve(static_cast<std::size_t>(r.descomprimido));
    if (!inflador.infla(
            campus, r,
            [&datos](const char* bloque, std::size_t n) {
              datos.append(bloque, n);
              return true;
            },
            extra, error, archivo)) {
      error += ".";
      return nullptr;
    }
    return std::make_unique<OrigenMemoria>(std::move(datos));
  }
  plataforma::Fallo fallo;
  plataforma::Archivo temporal = plataforma::creaTemporal(fallo);
  if (!temporal) {
    error = fallo.texto + ".";
    return nullptr;
  }
  bool escrito = true;
  if (!inflador.infla(
          campus, r,
          [&](const char* bloque, std::size_t n) {
            escrito = std::fwrite(bloque, 1, n, temporal.get()) == n;
            return escrito;
          },
          extra, error, archivo) ||
      std::fflush(temporal.get()) != 0) {
    error = escrito && !error.empty() ? error + "."
                                      : "No se ha podido escribir en un archivo temporal la "
                                        "entrada " +
                                            r.nombre + " del archivo del campus.";
    return nullptr;
  }
  return std::make_unique<OrigenArchivo>(std::move(temporal), r.descomprimido);
}

// The row of the file itself, before what the participant handed in beside it.
Fila revisaPieza(const Pieza& pieza) {
  if (!pieza.problema.empty()) return noRevisable(pieza.nombre, pieza.problema);
  auto origen = std::make_unique<OrigenArchivo>();
  unsigned long codigo = 0;
  if (!origen->abre(pieza.ruta, &codigo)) {
    return noRevisable(
        pieza.nombre,
        (pieza.anidada ? "No se ha podido abrir el archivo del campus " + pieza.ruta
                       : std::string("No se ha podido abrir el archivo")) +
            ": " + (codigo != 0 ? plataforma::razonDe(codigo) : "ya no es un archivo") + ".");
  }
  if (!pieza.anidada) {
    LectorZip lector(std::move(origen));
    return revisaEntrega(lector, pieza.nombre);
  }
  std::string error;
  std::unique_ptr<Origen> datos = extrae(*origen, pieza, error);
  if (!datos) return noRevisable(pieza.nombre, error);
  LectorZip lector(std::move(datos));
  return revisaEntrega(lector, pieza.nombre);
}

}  // namespace

Fila encabezado(const Trabajo& trabajo) {
  Fila fila;
  fila.entrega = trabajo.pieza.nombre;
  fila.participante = trabajo.participante;
  return fila;
}

Fila revisaTrabajo(const Trabajo& trabajo) {
  Fila fila = revisaPieza(trabajo.pieza);
  fila.participante = trabajo.participante;
  if (!trabajo.previos.empty()) {
    fila.hallazgos.insert(fila.hallazgos.begin(), trabajo.previos.begin(), trabajo.previos.end());
    if (fila.veredicto == Veredicto::correcta) fila.veredicto = Veredicto::conAvisos;
  }
  return fila;
}
