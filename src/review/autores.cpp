// The authors' lines of info.txt, whatever editor wrote it.
#include "autores.h"

#include "codificacion.h"

namespace {

std::string recorta(const std::string& linea) {
  const char* blancos = " \t\r\f\v";
  const std::size_t inicio = linea.find_first_not_of(blancos);
  if (inicio == std::string::npos) return {};
  return linea.substr(inicio, linea.find_last_not_of(blancos) - inicio + 1);
}

}  // namespace

std::string autores(const std::string& info) {
  const std::string texto = aUtf8(info);
  std::string resultado;
  int lineas = 0;
  std::size_t inicio = 0;
  while (lineas < 3 && inicio <= texto.size()) {
    std::size_t fin = texto.find('\n', inicio);
    if (fin == std::string::npos) fin = texto.size();
    const std::string linea = recorta(texto.substr(inicio, fin - inicio));
    if (!linea.empty()) {
      if (lineas++ > 0) resultado += " / ";
      resultado += linea;
    }
    inicio = fin + 1;
  }
  return resultado;
}
