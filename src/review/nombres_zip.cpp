// Entry-name handling: the components between "/".
#include "nombres_zip.h"

#include <vector>

bool esNombreInseguro(const std::string& nombre) {
  if (nombre.empty() || nombre[0] == '/' ||
      nombre.find_first_of(std::string("\\\0", 2)) != std::string::npos) {
    return true;
  }
  if (nombre.size() >= 2 && nombre[1] == ':') return true;
  for (std::size_t inicio = 0;;) {
    const std::size_t fin = nombre.find('/', inicio);
    const std::size_t largo = (fin == std::string::npos ? nombre.size() : fin) - inicio;
    if (largo == 2 && nombre.compare(inicio, 2, "..") == 0) return true;
    if (fin == std::string::npos) return false;
    inicio = fin + 1;
  }
}

std::string carpetaDeEntrada(const std::string& nombre) {
  const std::size_t barra = nombre.rfind('/');
  return barra == std::string::npos ? std::string() : nombre.substr(0, barra + 1);
}

std::string carpetaPadre(const std::string& carpeta) {
  if (carpeta.size() < 2) return {};
  return carpetaDeEntrada(carpeta.substr(0, carpeta.size() - 1));
}

std::string ultimoDeEntrada(const std::string& nombre) {
  std::string sinBarra = nombre;
  if (!sinBarra.empty() && sinBarra.back() == '/') sinBarra.pop_back();
  return sinBarra.substr(sinBarra.rfind('/') + 1);
}

std::string resuelveEntrada(const std::string& carpeta, const std::string& ruta) {
  std::vector<std::string> partes;
  const std::string completa = carpeta + ruta;
  for (std::size_t inicio = 0;;) {
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
