// The terminal test and file writing on Windows.
#include "salida.h"
#include "sistema_win32.h"

#include <filesystem>
#include <fstream>
#include <windows.h>

namespace plataforma {

bool errorEsTerminal() {
  DWORD modo;
  return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &modo) != 0;
}

bool escribeArchivo(const std::string& ruta, const std::string& contenido, Fallo& fallo) {
  std::wstring ancho;
  if (!convierte(ruta, ancho)) {
    fallo.texto = "No se ha podido escribir " + ruta + ": " + razon(ERROR_NO_UNICODE_TRANSLATION);
    return false;
  }
  std::ofstream flujo(std::filesystem::path(ancho), std::ios::binary | std::ios::trunc);
  flujo.write(contenido.data(), static_cast<std::streamsize>(contenido.size()));
  flujo.close();
  if (flujo) return true;
  fallo.texto = "No se ha podido escribir " + ruta;
  return false;
}

}  // namespace plataforma
