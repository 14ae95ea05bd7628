// revisa's entry point on Windows: a console program whose arguments come in UTF-16.
#include "consola.h"
#include "revisa.h"

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> argumentos;
  plataforma::Fallo fallo;
  if (!plataforma::argumentos(argc, argv, argumentos, fallo))
    return ejecutaPrograma({}, fallo.texto);
  return ejecutaPrograma(argumentos);
}
