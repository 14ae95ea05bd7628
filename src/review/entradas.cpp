// Finding what each input holds: a folder walked once, a submission given directly, or a
// campus archive's directory read once.
#include "entradas.h"

#include "agrupacion.h"
#include "archivos.h"
#include "clasificacion.h"
#include "integridad.h"
#include "recorrido.h"

#include <memory>
#include <set>

namespace {

// Every folder once, by its identity, links to folders never followed: a loop of links or
// a folder mounted twice ends like any other tree. A .zip reached twice is one.
bool recorre(const std::string& raiz, std::vector<Pieza>& piezas, std::string& error) {
  struct Pendiente {
    std::string ruta, relativa;
  };
  std::set<plataforma::Identidad> carpetas, zips;
  std::vector<Pendiente> pendientes;
  plataforma::Identidad identidad;
  plataforma::Fallo fallo;
  if (plataforma::identidadDe(raiz, identidad, fallo)) carpetas.insert(identidad);
  pendientes.push_back({raiz, ""});
  while (!pendientes.empty()) {
    const Pendiente carpeta = std::move(pendientes.back());
    pendientes.pop_back();
    std::vector<plataforma::Elemento> elementos;
    if (!plataforma::listaElementos(carpeta.ruta, elementos, fallo)) {
      if (carpeta.relativa.empty()) {
        error = fallo.texto;
        return false;
      }
      Pieza pieza;
      pieza.nombre = carpeta.relativa;
      pieza.ruta = carpeta.ruta;
      pieza.carpeta = true;
      pieza.problema = fallo.texto + ".";
      piezas.push_back(std::move(pieza));
      continue;
    }
    std::vector<Pendiente> dentro;
    for (const plataforma::Elemento& e : elementos) {
      Pieza pieza;
      pieza.nombre = carpeta.relativa.empty() ? e.nombre : carpeta.relativa + "/" + e.nombre;
      pieza.ruta = plataforma::une(carpeta.ruta, e.nombre);
      pieza.carpeta = e.clase == plataforma::Clase::directorio;
      const bool zip = e.clase == plataforma::Clase::archivo && esZip(e.nombre);
      if (e.clase == plataforma::Clase::otro && esZip(e.nombre)) {
        // Named as a submission, yet nothing that can be read: said, not passed over.
        pieza.problema = "No es un archivo: es un enlace roto, un dispositivo o una tubería.";
        piezas.push_back(std::move(pieza));
        continue;
      }
      if (e.clase != plataforma::Clase::archivo && !pieza.carpeta) continue;
      if (!e.utf8) {
        // Shown, with U+FFFD where it has no UTF-8 form, but never opened by that name.
        if (pieza.carpeta || zip) {
          pieza.problema = std::string(zip ? "El nombre del archivo" : "El nombre de la carpeta") +
                           " no es UTF-8 y no se puede abrir por él.";
        }
      } else if (pieza.carpeta || zip) {
        if (!plataforma::identidadDe(pieza.ruta, identidad, fallo)) {
          pieza.problema = fallo.texto + ".";
        } else if (!(pieza.carpeta ? carpetas : zips).insert(identidad).second) {
          continue;
        } else if (pieza.carpeta) {
          dentro.push_back({pieza.ruta, pieza.nombre});
        }
      }
      piezas.push_back(std::move(pieza));
    }
    // In name order: the first path to a file reached twice is the one reported.
    pendientes.insert(pendientes.end(), dentro.rbegin(), dentro.rend());
  }
  return true;
}

}  // namespace

bool buscaEntregas(const std::string& entrada, std::vector<Trabajo>& trabajos, std::string& error) {
  plataforma::Estado estado;
  plataforma::Fallo fallo;
  if (!plataforma::consultaEstado(entrada, estado, fallo)) {
    error = fallo.texto;
    return false;
  }
  std::vector<Pieza> piezas;
  if (estado == plataforma::Estado::directorio) {
    if (!recorre(entrada, piezas, error)) return false;
    agrupa(piezas, trabajos);
    return true;
  }
  auto origen = std::make_unique<OrigenArchivo>();
  unsigned long codigo = 0;
  if (estado == plataforma::Estado::ausente || !origen->abre(entrada, &codigo)) {
    error = "No se ha podido leer la entrada " + entrada;
    if (estado == plataforma::Estado::ausente) {
      error += ": no existe";
    } else if (estado != plataforma::Estado::archivo) {
      error += ": no es un archivo ni una carpeta";
    } else if (codigo != 0) {
      error += ": " + plataforma::razonDe(codigo);
    }
    return false;
  }
  // A campus archive holds submissions, or names participants, and holds no project;
  // anything else is one submission, which its review then judges. Its directory is read
  // here once, for all of them.
  LectorZip lector(std::move(origen));
  std::string razon;
  bool campus = false;
  // Records that share their bytes would make one submission cost as many reviews as it
  // is named: such an archive is one submission, whose review says so.
  if (lector.abre(kMaximoEntradas, razon) && compruebaSolapes(lector.registros()).empty()) {
    Procedencia de;
    for (const Registro& r : lector.registros()) {
      if (extension(r.nombre) == ".vcxproj") {
        campus = false;
        break;
      }
      campus = campus || (!r.esCarpeta() && esZip(r.nombre)) || procedenciaDe(r.nombre, de);
      Pieza pieza;
      pieza.nombre = r.esCarpeta() ? r.nombre.substr(0, r.nombre.size() - 1) : r.nombre;
      pieza.ruta = entrada;
      pieza.anidada = true;
      pieza.registro = r;
      pieza.carpeta = r.esCarpeta();
      piezas.push_back(std::move(pieza));
    }
  }
  if (campus) {
    agrupa(piezas, trabajos);
  } else {
    Trabajo trabajo;
    trabajo.pieza.nombre = plataforma::ultimoComponente(entrada);
    trabajo.pieza.ruta = entrada;
    trabajos.push_back(std::move(trabajo));
  }
  return true;
}
