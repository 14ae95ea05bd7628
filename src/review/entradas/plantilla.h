// The code the course hands out, as a comparison of participants' code leaves it out.
#pragma once

#include "huellas.h"
#include "resultado.h"

#include <string>
#include <vector>

/// The C and C++ sources and headers of `ruta` (a project folder, a folder of sources, or a
/// .zip of either), below it at any depth, decoded as info.txt is. A failure, of all of the
/// run, when it cannot be read.
plataforma::Resultado<std::vector<ArchivoFuente>> leePlantilla(const std::string& ruta);
