// Splitting, joining and trimming text.
#include "partes.h"

namespace plataforma {

std::vector<std::string> parte(const std::string& texto, char separador) {
  std::vector<std::string> piezas;
  for (std::size_t inicio = 0;;) {
    const std::size_t fin = texto.find(separador, inicio);
    piezas.push_back(texto.substr(inicio, fin - inicio));
    if (fin == std::string::npos) return piezas;
    inicio = fin + 1;
  }
}

std::string junta(const std::vector<std::string>& piezas, char separador, std::size_t desde) {
  std::string texto;
  for (std::size_t i = desde; i < piezas.size(); ++i) {
    if (i > desde) texto += separador;
    texto += piezas[i];
  }
  return texto;
}

std::string sinBlancos(const std::string& texto) {
  const char* blancos = " \t\r\f\v";
  const std::size_t inicio = texto.find_first_not_of(blancos);
  if (inicio == std::string::npos) return {};
  return texto.substr(inicio, texto.find_last_not_of(blancos) - inicio + 1);
}

}  // namespace plataforma
