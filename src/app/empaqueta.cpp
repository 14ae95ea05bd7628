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

Resultado Comprobador::empaquetaEntrega(plataforma::Fallo& fallo) {
  ArchivoZip archivo;
  if (!archivo.crea(kEntregaZip)) {
    muestraError(kSinZip);
    return Resultado::sinEntrega;
  }

  Agregador agregador("..", archivo);
  Agregado agregado = Agregado::hecho;
  recorreEntrega(entrega, [&](const std::string& ruta, const char* fijo) {
    if (agregado != Agregado::hecho) return;
    agregado =
        fijo != nullptr ? agregador.agregaComo(ruta, fijo) : agregador.agregaArchivo(ruta, fallo);
  });

  // A broken archive is removed before the student is told: exit 0 means a whole one.
  if (agregado == Agregado::fallido) {
    archivo.descarta();
    return Resultado::fallido;
  }
  if (agregado == Agregado::roto || !archivo.cierra()) {
    archivo.descarta();
    muestraError(kSinZip);
    return Resultado::sinEntrega;
  }
  return Resultado::entregado;
}
