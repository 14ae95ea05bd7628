// Inflating a submission out of the campus archive, into memory or a temporary file.
#include "lectura.h"

#include "integridad.h"
#include "recorrido.h"

#include <cstdio>

namespace {

// A submission inside a campus archive is inflated into memory up to this size, and into a
// nameless temporary file beyond it: memory stays bounded however many workers there are.
constexpr std::uint64_t kEnMemoria = 2 * 1024 * 1024;

}  // namespace

plataforma::Resultado<std::shared_ptr<Origen>, ProblemaDeLectura> extrae(const EnCampus& entrada) {
  const LectorZip& campus = *entrada.campus;
  const Registro& r = campus.registros()[entrada.indice];
  plataforma::Resultado<std::uint64_t, DanoZip> limites = compruebaLimites(r, 0);
  if (!limites) return ProblemaDeLectura(std::move(limites).error());
  Inflador inflador;
  if (r.descomprimido <= kEnMemoria) {
    std::string datos;
    datos.reserve(static_cast<std::size_t>(r.descomprimido));
    plataforma::Resultado<Inflado, DanoZip> inflado =
        campus.infla(entrada.indice, inflador, [&datos](const char* bloque, std::size_t n) {
          datos.append(bloque, n);
          return true;
        });
    if (!inflado) return ProblemaDeLectura(std::move(inflado).error());
    return std::shared_ptr<Origen>(std::make_shared<OrigenMemoria>(std::move(datos)));
  }
  plataforma::Resultado<plataforma::Archivo> temporal = plataforma::creaTemporal();
  if (!temporal) return ProblemaDeLectura(std::move(temporal).error());
  std::FILE* archivo = temporal->get();
  bool escrito = true;
  plataforma::Resultado<Inflado, DanoZip> inflado =
      campus.infla(entrada.indice, inflador, [&](const char* bloque, std::size_t n) {
        escrito = std::fwrite(bloque, 1, n, archivo) == n;
        return escrito;
      });
  if (!inflado) return ProblemaDeLectura(std::move(inflado).error());
  if (!escrito || !inflado->entera || std::fflush(archivo) != 0) {
    return ProblemaDeLectura(
        plataforma::Fallo{"No se ha podido escribir en un archivo temporal la entrada",
                          r.nombre + " del archivo del campus"});
  }
  return std::shared_ptr<Origen>(
      std::make_shared<OrigenArchivo>(std::move(*temporal), r.descomprimido));
}
