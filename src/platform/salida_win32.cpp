// The terminal test and file writing on Windows: names cross as UTF-8 through u8path.
#include "salida.h"

#include <filesystem>
#include <fstream>
#include <windows.h>

namespace plataforma {

bool errorEsTerminal() {
  DWORD modo;
  return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &modo) != 0;
}

bool escribeArchivo(const std::string& ruta, const std::string& contenido, Fallo& fallo) {
  std::ofstream flujo(std::filesystem::u8path(ruta), std::ios::binary | std::ios::trunc);
  flujo.write(contenido.data(), static_cast<std::streamsize>(contenido.size()));
  flujo.close();
  if (flujo) return true;
  fallo.texto = "No se ha podido escribir " + ruta;
  return false;
}

}  // namespace plataforma
