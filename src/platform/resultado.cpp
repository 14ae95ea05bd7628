// A failure's text, as every caller shows it.
#include "resultado.h"

namespace plataforma {

std::string Fallo::texto() const {
  std::string texto = que;
  if (!donde.empty()) texto += (texto.empty() ? "" : " ") + donde;
  if (!razon.empty()) texto += ": " + razon;
  return texto;
}

}  // namespace plataforma
