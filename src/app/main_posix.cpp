// The program's entry point on POSIX systems.
#include "comprobador.h"

int main() { return ejecuta(); }
