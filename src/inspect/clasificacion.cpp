// Name rules shared by the scans.
#include "clasificacion.h"

std::string extension(const std::string& nombre) {
  const auto punto = nombre.rfind('.');
  if (punto == std::string::npos || punto == 0) return {};
  return nombre.substr(punto);
}

bool esFuente(const std::string& nombre) {
  const std::string ext = extension(nombre);
  return ext == ".cc" || ext == ".cpp";
}

bool esCabecera(const std::string& nombre) {
  const std::string ext = extension(nombre);
  return ext == ".h" || ext == ".hh" || ext == ".hpp";
}

std::string pliega(std::string texto) {
  for (char& c : texto) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return texto;
}
