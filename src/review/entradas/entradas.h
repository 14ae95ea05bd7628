// Which submissions an input holds: every .zip below a folder, a submission given directly,
// or every .zip entry of a campus archive; grouped by participant wherever the campus's names
// say who handed them in.
#pragma once

#include "origen.h"
#include "resultado.h"
#include "trabajo.h"

#include <memory>
#include <string>
#include <vector>

/// The rows of the input `ruta`, a folder or a file: one per participant the campus's names
/// give, and one per other .zip; a folder below it that cannot be listed, or a .zip that
/// cannot be named, is a row that says so. A failure, of all of the input, only when the
/// input itself does not exist or cannot be read.
plataforma::Resultado<std::vector<Trabajo>> buscaEntregas(const std::string& ruta);

/// The rows of an input whose bytes `origen` holds, named `nombre`: a campus archive's
/// submissions, or else the one submission it is.
std::vector<Trabajo> buscaEnArchivo(const std::string& nombre, std::shared_ptr<Origen> origen);
