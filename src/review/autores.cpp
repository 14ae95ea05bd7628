// The authors' lines of info.txt, whatever editor wrote it.
#include "autores.h"

#include "codificacion.h"
#include "texto.h"

std::string autores(const std::string& info) {
  const std::string texto = aUtf8(info);
  std::string resultado;
  int lineas = 0;
  std::size_t inicio = 0;
  while (lineas < 3 && inicio <= texto.size()) {
    std::size_t fin = texto.find('\n', inicio);
    if (fin == std::string::npos) fin = texto.size();
    const std::string linea = sinBlancos(texto.substr(inicio, fin - inicio));
    if (!linea.empty()) {
      if (lineas++ > 0) resultado += " / ";
      resultado += linea;
    }
    inicio = fin + 1;
  }
  return resultado;
}
