// revisa's entry point on Windows: a console program whose arguments come in UTF-16.
#include "consola.h"
#include "revisa.h"

int wmain(int argc, wchar_t** argv) { return ejecutaPrograma(plataforma::argumentos(argc, argv)); }
