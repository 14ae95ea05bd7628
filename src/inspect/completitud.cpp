// The project check, the template image scan and the completeness verdict.
#include "completitud.h"

#include "clasificacion.h"
#include "textos.h"

#include <vector>

bool hayProyecto(const Entrega& entrega, Hallazgos& hallazgos) {
  if (!entrega.proyecto.empty()) return true;
  hallazgos.error(entrega.solucion.empty() ? textos::kSinProyecto : textos::kEnSolucion);
  return false;
}

bool esImagenPlantilla(const std::string& nombre) {
  // The template ships these; only the student's own images are delivered.
  static const Conjunto imagenesPlantilla = {"animate.bmp", "background1.png", "dog.png",
                                             "helicopter.png", "helicopter2.png"};
  return imagenesPlantilla.count(nombre) != 0;
}

namespace {

// An image's extension, in any letter case.
bool esImagen(const std::string& nombre) {
  const std::string ext = pliega(extension(nombre));
  return ext == ".png" || ext == ".jpg" || ext == ".bmp" || ext == ".jpeg";
}

}  // namespace

bool buscaImagenes(Vista& vista, Entrega& entrega, plataforma::Fallo& fallo) {
  if (entrega.solucion.empty()) return true;
  const std::string directorio = vista.une("..", "images");
  plataforma::Estado estado;
  if (!vista.estado(directorio, estado, fallo)) return false;
  if (estado != plataforma::Estado::directorio) return true;
  entrega.hayImagenes = true;

  std::vector<std::string> nombres;
  if (!vista.lista(directorio, nombres, fallo)) return false;
  for (const std::string& nombre : nombres) {
    if (!esImagen(nombre) || esImagenPlantilla(nombre)) continue;
    entrega.imagenes.insert(vista.une(directorio, nombre));
  }
  return true;
}

bool veredicto(const Entrega& entrega, Hallazgos& hallazgos) {
  bool entregaCompleta = !entrega.solucion.empty();
  if (entrega.solucion.empty()) hallazgos.error(textos::kSinSolucion);
  if (entrega.info.empty()) {
    hallazgos.error(textos::kSinInfo);
    entregaCompleta = false;
  }
  if (!entrega.hayImagenes) hallazgos.aviso(textos::kSinImagenes);
  return entregaCompleta;
}
