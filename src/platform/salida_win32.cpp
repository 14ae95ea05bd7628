// The terminal test and file writing on Windows.
#include "salida.h"
#include "sistema_win32.h"

#include <algorithm>
#include <windows.h>

namespace plataforma {

bool errorEsTerminal() {
  DWORD modo;
  return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &modo) != 0;
}

Resultado<void> escribeArchivo(const std::string& ruta, const std::string& contenido) {
  std::wstring ancho;
  if (!convierte(ruta, ancho)) {
    return Fallo{"No se ha podido escribir", ruta, razon(ERROR_NO_UNICODE_TRANSLATION)};
  }
  // Through the system's own calls, so that a failure keeps the system's reason.
  const HANDLE h = CreateFileW(ancho.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE)
    return Fallo{"No se ha podido escribir", ruta, razon(GetLastError())};
  const Manejador archivo(h);
  for (std::size_t hecho = 0; hecho < contenido.size();) {
    const DWORD parte =
        static_cast<DWORD>(std::min<std::size_t>(contenido.size() - hecho, 1u << 30));
    DWORD escritos = 0;
    if (!WriteFile(h, contenido.data() + hecho, parte, &escritos, nullptr)) {
      return Fallo{"No se ha podido escribir", ruta, razon(GetLastError())};
    }
    hecho += escritos;
  }
  return {};
}

}  // namespace plataforma
