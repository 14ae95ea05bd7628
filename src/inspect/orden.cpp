// The archive's order of the delivered files, one place for the writer and the review.
#include "orden.h"

void recorreEntrega(const Entrega& entrega,
                    const std::function<void(const std::string& ruta, const char* fijo)>& pieza) {
  pieza(entrega.proyecto, nullptr);
  pieza(entrega.solucion, nullptr);
  for (const std::string& ruta : entrega.fuentes) pieza(ruta, nullptr);
  for (const std::string& ruta : entrega.cabeceras) pieza(ruta, nullptr);
  for (const std::string& ruta : entrega.auxiliares) pieza(ruta, nullptr);
  // info.txt goes to the root under one fixed name, whatever its case or place on disk.
  pieza(entrega.info, kEntradaInfo);
  for (const std::string& ruta : entrega.imagenes) pieza(ruta, nullptr);
}
