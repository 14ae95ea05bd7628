// The program's entry point on Windows: a graphical program with no window of its own.
#include "comprobador.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return ejecuta(); }
