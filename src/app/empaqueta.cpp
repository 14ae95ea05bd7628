// The archive stage: entrega.zip with every delivered file, in a fixed order.
#include "agregador.h"
#include "archivo_zip.h"
#include "comprobador.h"
#include "mensajes.h"
#include "orden.h"

namespace {

constexpr const char* kSinZip =
    "No se ha podido crear el archivo entrega.zip en el directorio actual";

}  // namespace

plataforma::Resultado<Desenlace> Comprobador::empaquetaEntrega() {
  ArchivoZip archivo;
  if (!archivo.crea(kEntregaZip)) {
    muestraError(kSinZip);
    return Desenlace::sinEntrega;
  }

  Agregador agregador("..", archivo);
  plataforma::Resultado<Agregado> agregado = Agregado::hecho;
  recorreEntrega(entrega, [&](const std::string& ruta, const char* fijo) {
    if (!agregado || *agregado != Agregado::hecho) return;
    agregado = fijo != nullptr ? agregador.agregaComo(ruta, fijo) : agregador.agregaArchivo(ruta);
  });

  // A broken archive is removed before the student is told: exit 0 means a whole one.
  if (!agregado) {
    archivo.descarta();
    return std::move(agregado).error();
  }
  if (*agregado == Agregado::roto || !archivo.cierra()) {
    archivo.descarta();
    muestraError(kSinZip);
    return Desenlace::sinEntrega;
  }
  return Desenlace::entregado;
}
