// Finding what an input holds: a folder walked once, or a campus archive's directory.
#include "piezas.h"

#include "clasificacion.h"
#include "recorrido.h"

#include <set>

bool esZip(const std::string& nombre) { return pliega(extension(nombre)) == ".zip"; }

plataforma::Resultado<std::vector<Pieza>> recorre(const std::string& raiz) {
  struct Pendiente {
    std::string ruta, relativa;
  };
  // Every folder once, by its identity, links to folders never followed: a loop of links or
  // a folder mounted twice ends like any other tree. A .zip reached twice is one.
  std::set<plataforma::Identidad> carpetas, zips;
  if (plataforma::Resultado<plataforma::Identidad> identidad = plataforma::identidadDe(raiz)) {
    carpetas.insert(*identidad);
  }
  std::vector<Pieza> piezas;
  std::vector<Pendiente> pendientes{{raiz, ""}};
  while (!pendientes.empty()) {
    const Pendiente carpeta = std::move(pendientes.back());
    pendientes.pop_back();
    plataforma::Resultado<std::vector<plataforma::Elemento>> elementos =
        plataforma::listaElementos(carpeta.ruta);
    if (!elementos) {
      plataforma::Fallo fallo = std::move(elementos).error();
      if (carpeta.relativa.empty()) {
        fallo.alcance = plataforma::Alcance::todo;
        return fallo;
      }
      piezas.push_back({carpeta.relativa, true, std::move(fallo)});
      continue;
    }
    std::vector<Pendiente> dentro;
    for (const plataforma::Elemento& e : *elementos) {
      Pieza pieza;
      pieza.nombre = carpeta.relativa.empty() ? e.nombre : carpeta.relativa + "/" + e.nombre;
      pieza.carpeta = e.clase == plataforma::Clase::directorio;
      const std::string ruta = plataforma::une(carpeta.ruta, e.nombre);
      const bool zip = esZip(e.nombre);
      if (e.clase == plataforma::Clase::otro && zip) {
        // Named as a submission, yet nothing that can be read: said, not passed over.
        pieza.lugar =
            plataforma::Fallo{"No es un archivo: es un enlace roto, un dispositivo o una tubería"};
        piezas.push_back(std::move(pieza));
        continue;
      }
      if (e.clase != plataforma::Clase::archivo && !pieza.carpeta) continue;
      if (!pieza.carpeta && !zip) {
        pieza.lugar = EnDisco{ruta};
      } else if (!e.utf8) {
        // Shown, with U+FFFD where it has no UTF-8 form, but never opened by that name.
        pieza.lugar =
            plataforma::Fallo{std::string(zip && !pieza.carpeta ? "El nombre del archivo"
                                                                : "El nombre de la carpeta") +
                              " no es UTF-8 y no se puede abrir por él"};
      } else if (plataforma::Resultado<plataforma::Identidad> identidad =
                     plataforma::identidadDe(ruta);
                 !identidad) {
        pieza.lugar = std::move(identidad).error();
      } else if (!(pieza.carpeta ? carpetas : zips).insert(*identidad).second) {
        continue;
      } else if (pieza.carpeta) {
        dentro.push_back({ruta, pieza.nombre});
      } else {
        pieza.lugar = EnDisco{ruta};
      }
      piezas.push_back(std::move(pieza));
    }
    // In name order: the first path to a file reached twice is the one reported.
    pendientes.insert(pendientes.end(), dentro.rbegin(), dentro.rend());
  }
  return piezas;
}

std::vector<Pieza> piezasDe(const std::shared_ptr<const LectorZip>& campus) {
  std::vector<Pieza> piezas;
  const std::vector<Registro>& registros = campus->registros();
  piezas.reserve(registros.size());
  for (std::size_t i = 0; i < registros.size(); ++i) {
    const Registro& r = registros[i];
    Pieza pieza;
    pieza.carpeta = r.esCarpeta();
    pieza.nombre = pieza.carpeta ? r.nombre.substr(0, r.nombre.size() - 1) : r.nombre;
    if (!pieza.carpeta) pieza.lugar = EnCampus{campus, i};
    piezas.push_back(std::move(pieza));
  }
  return piezas;
}
