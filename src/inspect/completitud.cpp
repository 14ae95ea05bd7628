// The project check, the template image scan and the completeness verdict.
#include "completitud.h"

#include "clasificacion.h"
#include "mensajes.h"
#include "textos.h"

#include <vector>

bool hayProyecto(const Entrega& entrega) {
  if (!entrega.proyecto.empty()) return true;
  muestraError(entrega.solucion.empty() ? textos::kSinProyecto : textos::kEnSolucion);
  return false;
}

bool buscaImagenes(Entrega& entrega, plataforma::Fallo& fallo) {
  if (entrega.solucion.empty()) return true;
  // The template ships these; only the student's own images are delivered.
  const Conjunto imagenesPlantilla = {"animate.bmp", "background1.png", "dog.png", "helicopter.png",
                                      "helicopter2.png"};
  const std::string directorio = plataforma::une("..", "images");
  plataforma::Estado estado;
  if (!plataforma::consultaEstado(directorio, estado, fallo)) return false;
  if (estado != plataforma::Estado::directorio) return true;
  entrega.hayImagenes = true;

  std::vector<std::string> nombres;
  if (!plataforma::listaDirectorio(directorio, nombres, fallo)) return false;
  for (const std::string& nombre : nombres) {
    const std::string ext = pliega(extension(nombre));
    if (ext != ".png" && ext != ".jpg" && ext != ".bmp" && ext != ".jpeg") continue;
    if (imagenesPlantilla.count(nombre) != 0) continue;
    entrega.imagenes.insert(plataforma::une(directorio, nombre));
  }
  return true;
}

bool veredicto(const Entrega& entrega) {
  bool entregaCompleta = !entrega.solucion.empty();
  if (entrega.solucion.empty()) muestraError(textos::kSinSolucion);
  if (entrega.info.empty()) {
    muestraError(textos::kSinInfo);
    entregaCompleta = false;
  }
  if (!entrega.hayImagenes) muestraAviso(textos::kSinImagenes);
  return entregaCompleta;
}
