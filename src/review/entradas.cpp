// Finding the submissions of each input, and reading each one for its review.
#include "entradas.h"

#include "archivos.h"
#include "clasificacion.h"

#include <memory>

namespace {

// A submission inside a campus archive is inflated into memory, up to this size; a
// larger one is reviewed from its own file, once the campus archive is unpacked.
constexpr std::uint64_t kLimiteAnidada = 16 * 1024 * 1024;
// Folders deeper than this below an input are not entered: a link loop would never end.
constexpr int kProfundidad = 32;

bool esZip(const std::string& nombre) { return pliega(extension(nombre)) == ".zip"; }

std::string ultimo(const std::string& ruta) {
  std::string limpia = ruta;
  while (limpia.size() > 1 && (limpia.back() == '/' || limpia.back() == '\\')) limpia.pop_back();
  const std::size_t barra = limpia.find_last_of("/\\");
  return barra == std::string::npos ? limpia : limpia.substr(barra + 1);
}

bool recorre(const std::string& carpeta, const std::string& relativa, int profundidad,
             std::vector<Trabajo>& trabajos, std::string& error) {
  std::vector<std::string> nombres;
  plataforma::Fallo fallo;
  if (!plataforma::listaDirectorio(carpeta, nombres, fallo)) {
    error = fallo.texto;
    return false;
  }
  for (const std::string& nombre : nombres) {
    const std::string ruta = plataforma::une(carpeta, nombre);
    const std::string entrega = relativa.empty() ? nombre : relativa + "/" + nombre;
    plataforma::Estado estado;
    if (!plataforma::consultaEstado(ruta, estado, fallo)) {
      error = fallo.texto;
      return false;
    }
    if (estado == plataforma::Estado::directorio && profundidad < kProfundidad) {
      if (!recorre(ruta, entrega, profundidad + 1, trabajos, error)) return false;
    } else if (estado == plataforma::Estado::archivo && esZip(nombre)) {
      trabajos.push_back({entrega, ruta, false, 0});
    }
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
  if (estado == plataforma::Estado::directorio) return recorre(entrada, "", 0, trabajos, error);
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
  // which its review then judges.
  LectorZip lector(std::move(origen));
  std::string razon;
  std::vector<Trabajo> anidadas;
  if (lector.abre(kMaximoEntradas, razon)) {
    const std::vector<Cabecera>& cabeceras = lector.cabeceras();
    for (std::size_t i = 0; i < cabeceras.size(); ++i) {
      const std::string& nombre = cabeceras[i].nombre;
      if (extension(nombre) == ".vcxproj") {
        anidadas.clear();
        break;
      }
      if (!nombre.empty() && nombre.back() != '/' && esZip(nombre)) {
        anidadas.push_back({nombre, entrada, true, i});
      }
    }
  }
  if (anidadas.empty()) {
    trabajos.push_back({ultimo(entrada), entrada, false, 0});
  } else {
    trabajos.insert(trabajos.end(), anidadas.begin(), anidadas.end());
  }
  return true;
}

Fila revisaTrabajo(const Trabajo& trabajo) {
  auto origen = std::make_unique<OrigenArchivo>();
  if (!origen->abre(trabajo.ruta)) {
    return noRevisable(trabajo.entrega, "No se ha podido abrir el archivo.");
  }
  if (!trabajo.anidada) {
    LectorZip lector(std::move(origen));
    return revisaEntrega(lector, trabajo.entrega);
  }
  std::string datos;
  {
    LectorZip campus(std::move(origen));
    std::string error;
    if (!campus.abre(kMaximoEntradas, error) || trabajo.indice >= campus.cabeceras().size()) {
      return noRevisable(trabajo.entrega, "El archivo del campus ha cambiado durante la revisión.");
    }
    const unz_file_info64& info = campus.cabeceras()[trabajo.indice].info;
    if (info.flag & 1) {
      return noRevisable(trabajo.entrega, "Está cifrada dentro del archivo del campus.");
    }
    if (info.uncompressed_size > kLimiteAnidada) {
      return noRevisable(trabajo.entrega,
                         "Ocupa " + std::to_string(info.uncompressed_size) +
                             " bytes, más de los 16 MiB que se revisan dentro del archivo del "
                             "campus; descomprímelo y revisa su carpeta.");
    }
    if (info.uncompressed_size > kRazonBomba * info.compressed_size) {
      return noRevisable(trabajo.entrega,
                         "Posible bomba ZIP: se descomprime a más de 200 veces lo que ocupa "
                         "dentro del archivo del campus.");
    }
    if (!campus.lee(trabajo.indice, kLimiteAnidada, datos)) {
      return noRevisable(trabajo.entrega, "Está dañada dentro del archivo del campus.");
    }
  }
  LectorZip lector(std::make_unique<OrigenMemoria>(std::move(datos)));
  return revisaEntrega(lector, trabajo.entrega);
}
