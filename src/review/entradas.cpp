// Finding the submissions of each input, and reading each one for its review.
#include "entradas.h"

#include "archivos.h"
#include "clasificacion.h"
#include "integridad.h"
#include "nombres_zip.h"
#include "recorrido.h"

#include <cstdio>
#include <memory>
#include <set>

namespace {

// A submission inside a campus archive is inflated into memory up to this size, and into a
// nameless temporary file beyond it: memory stays bounded however many workers there are.
constexpr std::uint64_t kEnMemoria = 2 * 1024 * 1024;

bool esZip(const std::string& nombre) { return pliega(extension(nombre)) == ".zip"; }

// Every folder once, by its identity, links to folders never followed: a loop of links or
// a folder mounted twice ends like any other tree. Files reached twice are one submission.
bool recorre(const std::string& raiz, std::vector<Trabajo>& trabajos, std::string& error) {
  struct Pendiente {
    std::string ruta, relativa;
  };
  std::set<plataforma::Identidad> carpetas, archivos;
  std::vector<Pendiente> pendientes;
  plataforma::Identidad identidad;
  plataforma::Fallo fallo;
  if (plataforma::identidadDe(raiz, identidad, fallo)) carpetas.insert(identidad);
  pendientes.push_back({raiz, ""});
  const auto problema = [&trabajos](const std::string& donde, const std::string& texto) {
    Trabajo trabajo;
    trabajo.entrega = donde.empty() ? "." : donde;
    trabajo.problema = texto + ".";
    trabajos.push_back(std::move(trabajo));
  };
  while (!pendientes.empty()) {
    const Pendiente carpeta = std::move(pendientes.back());
    pendientes.pop_back();
    std::vector<plataforma::Elemento> elementos;
    if (!plataforma::listaElementos(carpeta.ruta, elementos, fallo)) {
      if (carpeta.ruta == raiz) {
        error = fallo.texto;
        return false;
      }
      problema(carpeta.relativa, fallo.texto);
      continue;
    }
    std::vector<Pendiente> dentro;
    for (const plataforma::Elemento& e : elementos) {
      const std::string relativa =
          carpeta.relativa.empty() ? e.nombre : carpeta.relativa + "/" + e.nombre;
      const bool zip = e.clase == plataforma::Clase::archivo && esZip(e.nombre);
      if (e.clase != plataforma::Clase::directorio && !zip) continue;
      if (!e.utf8) {
        problema(relativa, std::string(zip ? "El nombre del archivo" : "El nombre de la carpeta") +
                               " no es UTF-8 y no se puede abrir por él");
        continue;
      }
      const std::string ruta = plataforma::une(carpeta.ruta, e.nombre);
      if (!plataforma::identidadDe(ruta, identidad, fallo)) {
        problema(relativa, fallo.texto);
      } else if (!zip) {
        if (carpetas.insert(identidad).second) dentro.push_back({ruta, relativa});
      } else if (archivos.insert(identidad).second) {
        Trabajo trabajo;
        trabajo.entrega = relativa;
        trabajo.ruta = ruta;
        trabajos.push_back(std::move(trabajo));
      }
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
  if (estado == plataforma::Estado::directorio) return recorre(entrada, trabajos, error);
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
  // A campus archive holds submissions and no project; anything else is one submission,
  // which its review then judges. Its directory is read here once, for all of them.
  LectorZip lector(std::move(origen));
  std::string razon;
  std::vector<Trabajo> anidadas;
  if (lector.abre(kMaximoEntradas, razon)) {
    for (const Registro& r : lector.registros()) {
      if (extension(r.nombre) == ".vcxproj") {
        anidadas.clear();
        break;
      }
      if (!r.esCarpeta() && esZip(r.nombre)) {
        Trabajo trabajo;
        trabajo.entrega = r.nombre;
        trabajo.ruta = entrada;
        trabajo.anidada = true;
        trabajo.registro = r;
        anidadas.push_back(std::move(trabajo));
      }
    }
  }
  if (anidadas.empty()) {
    Trabajo trabajo;
    trabajo.entrega = plataforma::ultimoComponente(entrada);
    trabajo.ruta = entrada;
    trabajos.push_back(std::move(trabajo));
  } else {
    trabajos.insert(trabajos.end(), anidadas.begin(), anidadas.end());
  }
  return true;
}

namespace {

// The bytes of a submission inside the campus archive, checked as any entry is: in memory
// when small, otherwise in a temporary file that the system removes whatever happens.
std::unique_ptr<Origen> extrae(Origen& campus, const Trabajo& trabajo, std::string& error) {
  const Registro& r = trabajo.registro;
  std::uint64_t total = 0;
  error = compruebaLimites(r, total);
  if (!error.empty()) return nullptr;
  Inflador inflador;
  unsigned extra = 0;
  const std::string archivo = "El archivo del campus";
  if (r.descomprimido <= kEnMemoria) {
    std::string datos;
    datos.reserve(static_cast<std::size_t>(r.descomprimido));
    if (!inflador.infla(
            campus, r,
            [&datos](const char* bloque, std::size_t n) {
              datos.append(bloque, n);
              return true;
            },
            extra, error, archivo)) {
      error += ".";
      return nullptr;
    }
    return std::make_unique<OrigenMemoria>(std::move(datos));
  }
  plataforma::Fallo fallo;
  plataforma::Archivo temporal = plataforma::creaTemporal(fallo);
  if (!temporal) {
    error = fallo.texto + ".";
    return nullptr;
  }
  bool escrito = true;
  if (!inflador.infla(
          campus, r,
          [&](const char* bloque, std::size_t n) {
            escrito = std::fwrite(bloque, 1, n, temporal.get()) == n;
            return escrito;
          },
          extra, error, archivo) ||
      std::fflush(temporal.get()) != 0) {
    error = escrito && !error.empty() ? error + "."
                                      : "No se ha podido escribir en un archivo temporal la "
                                        "entrada " +
                                            r.nombre + " del archivo del campus.";
    return nullptr;
  }
  return std::make_unique<OrigenArchivo>(std::move(temporal), r.descomprimido);
}

}  // namespace

Fila revisaTrabajo(const Trabajo& trabajo) {
  if (!trabajo.problema.empty()) return noRevisable(trabajo.entrega, trabajo.problema);
  auto origen = std::make_unique<OrigenArchivo>();
  unsigned long codigo = 0;
  if (!origen->abre(trabajo.ruta, &codigo)) {
    return noRevisable(
        trabajo.entrega,
        (trabajo.anidada ? "No se ha podido abrir el archivo del campus " + trabajo.ruta
                         : std::string("No se ha podido abrir el archivo")) +
            ": " + (codigo != 0 ? plataforma::razonDe(codigo) : "ya no es un archivo") + ".");
  }
  if (!trabajo.anidada) {
    LectorZip lector(std::move(origen));
    return revisaEntrega(lector, trabajo.entrega);
  }
  std::string error;
  std::unique_ptr<Origen> datos = extrae(*origen, trabajo, error);
  if (!datos) return noRevisable(trabajo.entrega, error);
  LectorZip lector(std::move(datos));
  return revisaEntrega(lector, trabajo.entrega);
}
