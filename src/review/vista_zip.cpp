// Folder listings and status queries answered from the entry names alone.
#include "vista_zip.h"

#include <algorithm>

namespace {

// Project files larger than this are not loaded: no project made by Visual Studio is.
constexpr std::size_t kLimiteProyecto = 8 * 1024 * 1024;

std::string padre(const std::string& carpeta) {
  if (carpeta.empty()) return carpeta;
  const std::size_t barra = carpeta.rfind('/', carpeta.size() - 2);
  return barra == std::string::npos ? std::string() : carpeta.substr(0, barra + 1);
}

}  // namespace

VistaZip::VistaZip(LectorZip& lector, std::vector<std::pair<std::string, std::size_t>> archivos,
                   std::string proyecto)
    : lector(lector), archivos(std::move(archivos)), proyecto(std::move(proyecto)) {
  solucion_ = padre(this->proyecto);
  directorios.insert("");
  for (const auto& archivo : this->archivos) {
    for (std::size_t barra = archivo.first.find('/'); barra != std::string::npos;
         barra = archivo.first.find('/', barra + 1)) {
      directorios.insert(archivo.first.substr(0, barra + 1));
    }
  }
}

std::string VistaZip::resuelve(const std::string& ruta) const {
  std::vector<std::string> partes;
  const std::string completa = proyecto + ruta;
  std::size_t inicio = 0;
  for (;;) {
    const std::size_t fin = completa.find('/', inicio);
    const std::string parte = completa.substr(inicio, fin - inicio);
    if (parte == "..") {
      if (!partes.empty()) partes.pop_back();
    } else if (!parte.empty() && parte != ".") {
      partes.push_back(parte);
    }
    if (fin == std::string::npos) break;
    inicio = fin + 1;
  }
  std::string resultado;
  for (const std::string& parte : partes) {
    if (!resultado.empty()) resultado += '/';
    resultado += parte;
  }
  return resultado;
}

bool VistaZip::indice(const std::string& ruta, std::size_t& i) const {
  // An absolute path leads out of the archive, where nothing of the submission lies.
  if (!ruta.empty() && ruta[0] == '/') return false;
  const std::string nombre = resuelve(ruta);
  const auto it = std::find_if(archivos.begin(), archivos.end(),
                               [&](const auto& archivo) { return archivo.first == nombre; });
  if (it == archivos.end()) return false;
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
  std::string ruta = valor;
  std::replace(ruta.begin(), ruta.end(), '\\', '/');
  return ruta;
}

bool VistaZip::cargaProyecto(const std::string& ruta, tinyxml2::XMLDocument& documento) {
  std::size_t i;
  std::string datos;
  if (!indice(ruta, i) || !lector.lee(i, kLimiteProyecto, datos)) return false;
  return documento.Parse(datos.data(), datos.size()) == tinyxml2::XML_SUCCESS;
}
