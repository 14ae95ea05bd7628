// The authors' lines of info.txt, whatever editor wrote it.
#include "autores.h"

#include "codificacion.h"
#include "partes.h"

std::string autores(const std::string& info) {
  std::vector<std::string> lineas;
  for (const std::string& linea : plataforma::parte(aUtf8(info), '\n')) {
    const std::string limpia = plataforma::sinBlancos(linea);
    if (!limpia.empty()) lineas.push_back(limpia);
    if (lineas.size() == 3) break;
  }
  std::string resultado;
  for (const std::string& linea : lineas) resultado += (resultado.empty() ? "" : " / ") + linea;
  return resultado;
}
