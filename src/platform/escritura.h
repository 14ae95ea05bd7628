// Writing a file whole or not at all: a hidden file beside it, flushed to the disk, then
// put in its place in one step.
#pragma once

#include "resultado.h"

#include <cstdio>
#include <string>

namespace plataforma {

/// Whether `ruta` may be written over: it names nothing, or a regular file that this user
/// may write and that no other program holds against writing. Otherwise a failure that says
/// why.
Resultado<void> admiteEscritura(const std::string& ruta);

/// Creates `ruta` anew (an existing one is emptied) for binary writing, hidden where the
/// system marks files so. Null when it cannot be created; the caller owns the stream and
/// ends it with `cierraEnDisco`.
std::FILE* creaOculto(const std::string& ruta);

/// Flushes `archivo` to the disk and closes it. 0 when all of that worked, EOF otherwise
/// (the stream is closed either way).
int cierraEnDisco(std::FILE* archivo);

/// Puts the file `origen` in the place of `destino`, no longer hidden, in one step: any
/// other program sees the old `destino` or the new one, never a part. When it cannot, the
/// bytes of neither file have changed.
Resultado<void> sustituye(const std::string& origen, const std::string& destino);

}  // namespace plataforma
