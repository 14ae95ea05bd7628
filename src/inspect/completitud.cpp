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

plataforma::Resultado<void> buscaImagenes(Vista& vista, Entrega& entrega) {
  if (entrega.solucion.empty()) return {};
  const std::string directorio = vista.une("..", "images");
  plataforma::Resultado<plataforma::Estado> estado = vista.estado(directorio);
  if (!estado) return std::move(estado).error();
  if (*estado != plataforma::Estado::directorio) return {};
  entrega.hayImagenes = true;

  plataforma::Resultado<std::vector<std::string>> nombres = vista.lista(directorio);
  if (!nombres) return std::move(nombres).error();
  for (const std::string& nombre : *nombres) {
    if (!esImagen(nombre) || esImagenPlantilla(nombre)) continue;
    entrega.imagenes.insert(vista.une(directorio, nombre));
  }
  return {};
}

bool compruebaCompletitud(const Entrega& entrega, Hallazgos& hallazgos) {
  bool entregaCompleta = !entrega.solucion.empty();
  if (entrega.solucion.empty()) hallazgos.error(textos::kSinSolucion);
  if (entrega.info.empty()) {
    hallazgos.error(textos::kSinInfo);
    entregaCompleta = false;
  }
  if (!entrega.hayImagenes) hallazgos.aviso(textos::kSinImagenes);
  return entregaCompleta;
}
