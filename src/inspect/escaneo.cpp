// The scans of the project and solution directories: classification by name alone.
#include "escaneo.h"

#include "clasificacion.h"

#include <vector>

namespace {

bool esInfo(const std::string& nombre) { return pliega(nombre) == "info.txt"; }

}  // namespace

plataforma::Resultado<void> escaneaProyecto(Vista& vista, Entrega& entrega) {
  plataforma::Resultado<std::vector<std::string>> nombres = vista.lista(".");
  if (!nombres) return std::move(nombres).error();
  for (const std::string& nombre : *nombres) {
    const std::string ext = extension(nombre);
    if (esCabecera(nombre)) {
      entrega.cabeceras.insert(nombre);
    } else if (esFuente(nombre)) {
      entrega.fuentes.insert(nombre);
    } else if (ext == ".sln") {
      entrega.solucion = nombre;
    } else if (ext == ".vcxproj") {
      entrega.proyecto = nombre;
    } else if (ext == ".filters") {
      entrega.auxiliares.insert(nombre);
    } else if (esInfo(nombre)) {
      entrega.info = nombre;
    }
  }
  return {};
}

plataforma::Resultado<void> escaneaSolucion(Vista& vista, Entrega& entrega) {
  plataforma::Resultado<std::vector<std::string>> nombres = vista.lista("..");
  if (!nombres) return std::move(nombres).error();
  for (const std::string& nombre : *nombres) {
    const std::string ext = pliega(extension(nombre));
    const std::string ruta = vista.une("..", nombre);
    if (ext == ".props") {
      entrega.auxiliares.insert(ruta);
    } else if (ext == ".sln") {
      entrega.solucion = ruta;
    } else if (esInfo(nombre)) {
      entrega.info = ruta;
    }
  }
  return {};
}
