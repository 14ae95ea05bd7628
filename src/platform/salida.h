// What revisa needs to hand its results out: the terminal test and writing a whole file.
#pragma once

#include "archivos.h"

#include <string>

namespace plataforma {

/// Whether standard error is a terminal: only then does a progress line go there.
bool errorEsTerminal();

/// Writes `contenido` as the whole of `ruta`, created or truncated.
Resultado<void> escribeArchivo(const std::string& ruta, const std::string& contenido);

}  // namespace plataforma
