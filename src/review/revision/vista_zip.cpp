// Folder listings and status queries answered from the entry names alone.
#include "vista_zip.h"

#include "nombres_zip.h"

namespace {

// Project files larger than this are not loaded: no project made by Visual Studio is.
constexpr std::size_t kLimiteProyecto = 8 * 1024 * 1024;

}  // namespace

VistaZip::VistaZip(const LectorZip& lector, Inflador& inflador,
                   std::vector<std::pair<std::string, std::size_t>> archivos, std::string proyecto)
    : lector(lector),
      inflador(inflador),
      archivos(std::move(archivos)),
      proyecto(std::move(proyecto)) {
  solucion_ = carpetaPadre(this->proyecto);
  directorios.insert("");
  // An archive has no folder entries, and comprobador leaves the template's images out: the
  // solution's images folder leaves no trace when it holds only those. Its absence tells
  // nothing, so the view answers for it as the disk it was packed from did.
  directorios.insert(solucion_ + "images/");
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

std::optional<std::size_t> VistaZip::indice(const std::string& ruta) const {
  // An absolute path leads out of the archive, where nothing of the submission lies.
  if (!ruta.empty() && ruta[0] == '/') return std::nullopt;
  const auto it = indices.find(resuelve(ruta));
  if (it == indices.end()) return std::nullopt;
  return it->second;
}

plataforma::Resultado<std::vector<std::string>> VistaZip::lista(const std::string& directorio) {
  std::string prefijo = resuelve(directorio);
  if (!prefijo.empty()) prefijo += '/';
  std::vector<std::string> nombres;
  std::set<std::string> vistos;
  for (const auto& archivo : archivos) {
    if (archivo.first.compare(0, prefijo.size(), prefijo) != 0) continue;
    const std::string resto = archivo.first.substr(prefijo.size());
    const std::string nombre = resto.substr(0, resto.find('/'));
    if (vistos.insert(nombre).second) nombres.push_back(nombre);
  }
  return nombres;
}

plataforma::Resultado<plataforma::Estado> VistaZip::estado(const std::string& ruta) {
  if (indice(ruta)) return plataforma::Estado::archivo;
  const std::string nombre = resuelve(ruta);
  if ((ruta.empty() || ruta[0] != '/') &&
      directorios.count(nombre.empty() ? nombre : nombre + "/") != 0) {
    return plataforma::Estado::directorio;
  }
  return plataforma::Estado::ausente;
}

std::string VistaZip::une(const std::string& directorio, const std::string& nombre) const {
  return directorio + "/" + nombre;
}

std::string VistaZip::rutaDeProyecto(const std::string& valor) const {
  return plataforma::rutaGenericaDeProyecto(valor);
}

bool VistaZip::cargaProyecto(const std::string& ruta, tinyxml2::XMLDocument& documento) {
  const std::optional<std::size_t> i = indice(ruta);
  if (!i) return false;
  plataforma::Resultado<std::optional<std::string>, DanoZip> datos =
      lector.lee(*i, inflador, kLimiteProyecto);
  if (!datos || !*datos) return false;
  return documento.Parse((*datos)->data(), (*datos)->size()) == tinyxml2::XML_SUCCESS;
}
