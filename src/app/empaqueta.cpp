// The archive stage: entrega.zip with every delivered file, in a fixed order.
#include "agregador.h"
#include "archivo_zip.h"
#include "comprobador.h"
#include "mensajes.h"

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
  const auto agrega = [&](const std::string& ruta) {
    if (agregado == Agregado::hecho) agregado = agregador.agregaArchivo(ruta, fallo);
  };
  agrega(entrega.proyecto);
  agrega(entrega.solucion);
  for (const std::string& ruta : entrega.fuentes) agrega(ruta);
  for (const std::string& ruta : entrega.cabeceras) agrega(ruta);
  for (const std::string& ruta : entrega.auxiliares) agrega(ruta);
  // info.txt goes to the root under one fixed name, whatever its case or place on disk.
  if (agregado == Agregado::hecho) agregado = agregador.agregaComo(entrega.info, "info.txt");
  for (const std::string& ruta : entrega.imagenes) agrega(ruta);

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
