// Whether the delivery is complete enough to pack, and which images go with it.
#pragma once

#include "archivos.h"
#include "entrega.h"
#include "vista.h"

/// True when "." holds a project file; otherwise reports the not-a-project error that fits
/// (a solution found in "." or not) and the run must end.
bool hayProyecto(const Entrega& entrega, Hallazgos& hallazgos);

/// When a solution was found, looks at "../images": sets `hayImagenes` when it is a
/// directory and collects its images but the template's own five. A failure of the view
/// ends it.
plataforma::Resultado<void> buscaImagenes(Vista& vista, Entrega& entrega);

/// Whether `nombre` is one of the five images the template itself provides.
bool esImagenPlantilla(const std::string& nombre);

/// The completeness verdict: reports a missing solution, info.txt or image directory, in
/// that order, and returns the go-ahead for the archive: solution and info.txt found.
bool compruebaCompletitud(const Entrega& entrega, Hallazgos& hallazgos);
