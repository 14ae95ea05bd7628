// The cross-check of the project file against the files found.
#pragma once

#include "archivos.h"
#include "entrega.h"
#include "vista.h"

/// Loads the project file and reports every compile or header item that names no
/// scanned file, then every source no compile item names. A file that does not load is
/// reported once and nothing else is examined. A failure of the view ends it.
plataforma::Resultado<void> cruzaProyecto(Vista& vista, const Entrega& entrega,
                                          Hallazgos& hallazgos);
