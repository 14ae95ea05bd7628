// Entry-name handling: the components between "/", and names that are not UTF-8.
#include "nombres_zip.h"

#include "partes.h"
#include "utf8.h"

#include <vector>

bool esNombreSeguro(const std::string& nombre) {
  if (nombre.empty() || nombre[0] == '/' ||
      nombre.find_first_of(std::string("\\\0", 2)) != std::string::npos) {
    return false;
  }
  if (nombre.size() >= 2 && nombre[1] == ':') return false;
  for (const std::string& parte : plataforma::parte(nombre, '/')) {
    if (parte == "..") return false;
  }
  return true;
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
  for (const std::string& parte : plataforma::parte(carpeta + ruta, '/')) {
    if (parte == "..") {
      if (!partes.empty()) partes.pop_back();
    } else if (!parte.empty() && parte != ".") {
      partes.push_back(parte);
    }
  }
  return plataforma::junta(partes, '/');
}

std::string nombrePorSitio(const std::string& ruta, const std::string& proyecto,
                           const std::string& separador) {
  const std::string solucion = ".." + separador;
  if (ruta.compare(0, solucion.size(), solucion) != 0) {
    return proyecto.empty() ? ruta : proyecto + "/" + ruta;
  }
  std::string nombre;
  for (std::size_t i = solucion.size(); i < ruta.size();) {
    if (!separador.empty() && ruta.compare(i, separador.size(), separador) == 0) {
      nombre += '/';
      i += separador.size();
    } else {
      nombre += ruta[i++];
    }
  }
  return nombre;
}

std::string nombreDeEntrada(const std::string& bytes) {
  if (plataforma::esUtf8(bytes)) return bytes;
  // Without the UTF-8 flag a name is in code page 437, the format's own, 0x80-0xFF here.
  static const char* const kAltos[128] = {
      "\xC3\x87",     "\xC3\xBC",     "\xC3\xA9",     "\xC3\xA2",     "\xC3\xA4",
      "\xC3\xA0",     "\xC3\xA5",     "\xC3\xA7",     "\xC3\xAA",     "\xC3\xAB",
      "\xC3\xA8",     "\xC3\xAF",     "\xC3\xAE",     "\xC3\xAC",     "\xC3\x84",
      "\xC3\x85",     "\xC3\x89",     "\xC3\xA6",     "\xC3\x86",     "\xC3\xB4",
      "\xC3\xB6",     "\xC3\xB2",     "\xC3\xBB",     "\xC3\xB9",     "\xC3\xBF",
      "\xC3\x96",     "\xC3\x9C",     "\xC2\xA2",     "\xC2\xA3",     "\xC2\xA5",
      "\xE2\x82\xA7", "\xC6\x92",     "\xC3\xA1",     "\xC3\xAD",     "\xC3\xB3",
      "\xC3\xBA",     "\xC3\xB1",     "\xC3\x91",     "\xC2\xAA",     "\xC2\xBA",
      "\xC2\xBF",     "\xE2\x8C\x90", "\xC2\xAC",     "\xC2\xBD",     "\xC2\xBC",
      "\xC2\xA1",     "\xC2\xAB",     "\xC2\xBB",     "\xE2\x96\x91", "\xE2\x96\x92",
      "\xE2\x96\x93", "\xE2\x94\x82", "\xE2\x94\xA4", "\xE2\x95\xA1", "\xE2\x95\xA2",
      "\xE2\x95\x96", "\xE2\x95\x95", "\xE2\x95\xA3", "\xE2\x95\x91", "\xE2\x95\x97",
      "\xE2\x95\x9D", "\xE2\x95\x9C", "\xE2\x95\x9B", "\xE2\x94\x90", "\xE2\x94\x94",
      "\xE2\x94\xB4", "\xE2\x94\xAC", "\xE2\x94\x9C", "\xE2\x94\x80", "\xE2\x94\xBC",
      "\xE2\x95\x9E", "\xE2\x95\x9F", "\xE2\x95\x9A", "\xE2\x95\x94", "\xE2\x95\xA9",
      "\xE2\x95\xA6", "\xE2\x95\xA0", "\xE2\x95\x90", "\xE2\x95\xAC", "\xE2\x95\xA7",
      "\xE2\x95\xA8", "\xE2\x95\xA4", "\xE2\x95\xA5", "\xE2\x95\x99", "\xE2\x95\x98",
      "\xE2\x95\x92", "\xE2\x95\x93", "\xE2\x95\xAB", "\xE2\x95\xAA", "\xE2\x94\x98",
      "\xE2\x94\x8C", "\xE2\x96\x88", "\xE2\x96\x84", "\xE2\x96\x8C", "\xE2\x96\x90",
      "\xE2\x96\x80", "\xCE\xB1",     "\xC3\x9F",     "\xCE\x93",     "\xCF\x80",
      "\xCE\xA3",     "\xCF\x83",     "\xC2\xB5",     "\xCF\x84",     "\xCE\xA6",
      "\xCE\x98",     "\xCE\xA9",     "\xCE\xB4",     "\xE2\x88\x9E", "\xCF\x86",
      "\xCE\xB5",     "\xE2\x88\xA9", "\xE2\x89\xA1", "\xC2\xB1",     "\xE2\x89\xA5",
      "\xE2\x89\xA4", "\xE2\x8C\xA0", "\xE2\x8C\xA1", "\xC3\xB7",     "\xE2\x89\x88",
      "\xC2\xB0",     "\xE2\x88\x99", "\xC2\xB7",     "\xE2\x88\x9A", "\xE2\x81\xBF",
      "\xC2\xB2",     "\xE2\x96\xA0", "\xC2\xA0",
  };
  std::string salida;
  for (const char byte : bytes) {
    const auto c = static_cast<unsigned char>(byte);
    if (c < 0x80) {
      salida += byte;
    } else {
      salida += kAltos[c - 0x80];
    }
  }
  return salida;
}
