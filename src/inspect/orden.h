// The files a delivery hands in, in the order entrega.zip holds them.
#pragma once

#include "entrega.h"

#include <functional>
#include <string>

/// Calls `pieza` for every delivered file, in the archive's order: the project file, the
/// solution, the sources, the headers, the auxiliary files, info.txt, the images. Each comes
/// with its stored path and, for info.txt only, the fixed entry name (null otherwise: the
/// entry is named by the file's place below the solution folder).
void recorreEntrega(const Entrega& entrega,
                    const std::function<void(const std::string& ruta, const char* fijo)>& pieza);

/// The fixed entry name of info.txt: the archive's root, in lower case.
inline constexpr const char* kEntradaInfo = "info.txt";
