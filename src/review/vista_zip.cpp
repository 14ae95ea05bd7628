// Folder listings and status queries answered from the entry names alone.
#include "vista_zip.h"

#include "nombres_zip.h"

namespace {

// Project files larger than this are not loaded: no project made by Visual Studio is.
constexpr std::size_t kLimiteProyecto = 8 * 1024 * 1024;

}  // namespace

VistaZip::VistaZip(LectorZip& lector, std::vector<std::pair<std::string, std::size_t>> archivos,
                   std::string proyecto)
    : lector(lector), archivos(std::move(archivos)), proyecto(std::move(proyecto)) {
  solucion_ = carpetaPadre(this->proyecto);
  directorios.insert("");
  indices.reserve(this->archivos.size());
  for (const auto& archivo : this->archivos) {
    indices.emplace(archivo.first, archivo.second);
    for (std::string carpeta = carpetaDeEntrada(archivo.first);
         !carpeta.empty() && directorios.insert(carpeta).second; carpeta = carpetaPadre(carpeta)) {
    }
  }
}

std::string VistaZip::resuelve(const std::string& ruta) const {
  return resuelveEntrada(proyecto, ruta);
}

bool VistaZip::indice(const std::string& ruta, std::size_t& i) const {
  // An absolute path leads out of the archive, where nothing of the submission lies.
  if (!ruta.empty() && ruta[0] == '/') return false;
  const auto it = indices.find(resuelve(ruta));
  if (it == indices.end()) return false;
  i = it->second;
  return true;
}

bool VistaZip::lista(const std::string& directorio, std::vector<std::string>& nombres,
                     plataforma::Fallo&) {
  std::string prefijo = resuelve(directorio);
  if (!prefijo.empty()) prefijo += '/';
  std::set<std::string> vistos;
  for (const auto& archivo : archivos) {
    if (archivo.first.compare(0, prefijo.size(), prefijo) != 0) continue;
    const std::string resto = archivo.first.substr(prefijo.size());
    const std::string nombre = resto.substr(0, resto.find('/'));
    if (vistos.insert(nombre).second) nombres.push_back(nombre);
  }
  return true;
}

bool VistaZip::estado(const std::string& ruta, plataforma::Estado& estado, plataforma::Fallo&) {
  std::size_t i;
  const std::string nombre = resuelve(ruta);
  if (indice(ruta, i)) {
    estado = plataforma::Estado::archivo;
  } else if ((ruta.empty() || ruta[0] != '/') &&
             directorios.count(nombre.empty() ? nombre : nombre + "/") != 0) {
    estado = plataforma::Estado::directorio;
  } else {
    estado = plataforma::Estado::ausente;
  }
  return true;
}

std::string VistaZip::une(const std::string& directorio, const std::string& nombre) const {
  return directorio + "/" + nombre;
}

std::string VistaZip::rutaDeProyecto(const std::string& valor) const {
  return plataforma::rutaGenericaDeProyecto(valor);
}

bool VistaZip::cargaProyecto(const std::string& ruta, tinyxml2::XMLDocument& documento) {
  std::size_t i;
  std::string datos;
  if (!indice(ruta, i) || !lector.lee(i, kLimiteProyecto, datos)) return false;
  return documento.Parse(datos.data(), datos.size()) == tinyxml2::XML_SUCCESS;
}
