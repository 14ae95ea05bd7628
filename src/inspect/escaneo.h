// The scans of the project directory "." and of the solution directory "..".
#pragma once

#include "archivos.h"
#include "entrega.h"
#include "vista.h"

/// Classifies the entries of "." by exact extension into sources, headers, filters, the
/// project and the solution, and finds info.txt in any letter case. The last match of a
/// single-valued member wins. A failure of the view ends it.
plataforma::Resultado<void> escaneaProyecto(Vista& vista, Entrega& entrega);

/// Classifies the entries of ".." by folded extension: property sheets, the solution and
/// info.txt, stored as paths; a match here replaces one of the project directory.
plataforma::Resultado<void> escaneaSolucion(Vista& vista, Entrega& entrega);
