// revisa: every submission of its inputs reviewed, in parallel, into one report.
#pragma once

#include "resultado.h"

#include <string>
#include <vector>

/// The whole program as its entry point starts it, with its arguments (without the
/// program's name) as UTF-8, or why they could not be had so: 0 when every submission is
/// correct, 1 when any is not, 2 when the review could not be made. On a console window of
/// its own (started from the Explorer, a folder or a .zip dropped on it) the reports go beside
/// the first input unless --salida says where, and the window waits for Enter before it
/// closes.
int ejecutaPrograma(const plataforma::Resultado<std::vector<std::string>>& argumentos);
