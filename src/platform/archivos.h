// File-system operations the checks and the archive need: UTF-8 names, no exceptions.
#pragma once

#include "resultado.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace plataforma {

enum class Estado { ausente, archivo, directorio, otro };

/// `directorio` and `nombre` joined by the platform's preferred separator.
std::string une(const std::string& directorio, const std::string& nombre);

/// The names of one level of `directorio`, in the order the system gives them, without "."
/// and "..". A failure when the directory cannot be listed or a name is not UTF-8.
Resultado<std::vector<std::string>> listaDirectorio(const std::string& directorio);

/// The status of `ruta`, links followed. A path that does not exist, lies in no existing
/// directory or is no valid name is `ausente`; a failure only for any other reason.
Resultado<Estado> consultaEstado(const std::string& ruta);

/// A path written in a project file, turned into the platform's own form: project files
/// separate directories with "\".
std::string rutaDeProyecto(const std::string& valor);

/// A path written in a project file with "/" between its components, as POSIX systems and
/// the names inside archives have them.
std::string rutaGenericaDeProyecto(const std::string& valor);

struct CierraArchivo {
  void operator()(std::FILE* archivo) const { std::fclose(archivo); }
};
/// A file open for reading, closed when its owner goes.
using Archivo = std::unique_ptr<std::FILE, CierraArchivo>;

/// Opens `ruta` for binary reading with no sharing restriction towards other programs: on
/// Windows they may go on reading, writing and deleting it.
Resultado<Archivo> abreArchivo(const std::string& ruta);

/// A regular file open for reading, and its size.
struct Abierto {
  Archivo archivo;
  std::uint64_t tamano = 0;
};

/// Opens the regular file `ruta` as `abreArchivo` does, and gives its size; nothing when it
/// names no regular file (missing, a directory, anything else). A failure when it is a
/// regular file that cannot be opened (denied, held by another program). On Windows a file
/// that another program holds is waited for about two seconds first.
Resultado<std::optional<Abierto>> abreLectura(const std::string& ruta);

/// Up to `n` bytes of `archivo` from `posicion`, wherever its stream stands; how many were
/// read, fewer only at the end. A failure of the system's read, which `donde` does not name:
/// the caller knows the file. Several threads may read one file side by side.
Resultado<std::size_t> leeEn(std::FILE* archivo, std::uint64_t posicion, void* destino,
                             std::size_t n);

/// The last component of the canonical current directory (empty at the root).
Resultado<std::string> nombreDirectorioActual();

/// Weakly canonical `ruta`: absolute, links resolved over its longest existing part, the
/// rest appended, in normal form. A path that names nothing keeps its lexical form; a
/// failure only when the canonical form cannot be obtained for another reason.
Resultado<std::string> rutaCanonica(const std::string& ruta);

/// The lexical path from canonical `base` to canonical `ruta`, components joined by "/";
/// empty when their roots differ or a name has no UTF-8 form, "." when they are the same.
std::string relativaLexica(const std::string& base, const std::string& ruta);

/// The folder that holds `ruta`, a path on disk: "." for a bare name, the root for what
/// lies at a root ("/", or "C:\" rather than "C:").
std::string carpetaDe(const std::string& ruta);

/// The last component of `ruta`, a path on disk, separators at its end left aside.
std::string ultimoComponente(const std::string& ruta);

/// Removes the file `ruta` if it exists.
void borra(const std::string& ruta);

}  // namespace plataforma
