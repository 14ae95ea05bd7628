// revisa's entry point on POSIX systems.
#include "consola.h"
#include "revisa.h"

int main(int argc, char** argv) { return ejecutaPrograma(plataforma::argumentos(argc, argv)); }
