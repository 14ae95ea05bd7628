// The console on Windows: arguments in UTF-16 from wmain, UTF-8 out.
#include "consola.h"
#include "sistema_win32.h"

#include <windows.h>

namespace plataforma {

Resultado<std::vector<std::string>> argumentos(int argc, wchar_t** argv) {
  std::vector<std::string> resultado;
  for (int i = 1; i < argc; ++i) {
    std::string argumento;
    if (!convierte(std::wstring(argv[i]), argumento)) {
      return Fallo{"El argumento " + std::to_string(i) + " no tiene forma en UTF-8"};
    }
    resultado.push_back(std::move(argumento));
  }
  return resultado;
}

void preparaConsola() { SetConsoleOutputCP(CP_UTF8); }

bool consolaPropia() {
  // A terminal that started the program is attached to the same console too; no console
  // at all (output to a pipe, no window) gives 0.
  DWORD procesos[2];
  return GetConsoleProcessList(procesos, 2) == 1;
}

}  // namespace plataforma
