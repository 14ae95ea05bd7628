// File-system operations the checks and the archive need: UTF-8 names, no exceptions.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace plataforma {

/// A failure the run has no handling for, described in Spanish: what failed, on which
/// path, and the system's reason. The run shows it once and ends with status 2.
struct Fallo {
  std::string texto;
};

enum class Estado { ausente, archivo, directorio, otro };

/// `directorio` and `nombre` joined by the platform's preferred separator.
std::string une(const std::string& directorio, const std::string& nombre);

/// The names of one level of `directorio`, in the order the system gives them, without
/// "." and "..". False when the directory cannot be listed or a name is not UTF-8.
bool listaDirectorio(const std::string& directorio, std::vector<std::string>& nombres,
                     Fallo& fallo);

/// The status of `ruta`, links followed. A path that does not exist, lies in no existing
/// directory or is no valid name is `ausente`; false only for any other failure.
bool consultaEstado(const std::string& ruta, Estado& estado, Fallo& fallo);

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
/// Windows they may go on reading, writing and deleting it. Null when it does not open;
/// `error`, when given, then holds the system's code (errno, or the Windows error).
Archivo abreArchivo(const std::string& ruta, unsigned long* error = nullptr);

/// How opening a delivered file ended.
enum class Apertura {
  abierto,   // open, its size given
  ausente,   // it names no regular file: missing, a directory, anything else
  ilegible,  // a regular file that is there but cannot be opened (denied, held by another)
};

/// Opens the regular file `ruta` into `archivo` as `abreArchivo` does, and gives its size.
/// On Windows a file that another program holds is waited for about two seconds first.
/// `error`, when given, holds the system's code when it does not open (0 when it names no
/// regular file).
Apertura abreLectura(const std::string& ruta, Archivo& archivo, std::uint64_t& tamano,
                     unsigned long* error = nullptr);

/// Up to `n` bytes of `archivo` from `posicion`, wherever its stream stands; how many were
/// read (fewer only at the end or on a failure). `error`, when given, holds the system's
/// code of a failure, and 0 otherwise.
std::size_t leeEn(std::FILE* archivo, std::uint64_t posicion, void* destino, std::size_t n,
                  unsigned long* error = nullptr);

/// The system's text for an error code that `abreArchivo` or `abreLectura` gave.
std::string razonDe(unsigned long error);

/// The last component of the canonical current directory (empty at the root).
bool nombreDirectorioActual(std::string& nombre, Fallo& fallo);

/// Weakly canonical `ruta`: absolute, links resolved over its longest existing part, the
/// rest appended, in normal form. A path that names nothing keeps its lexical form; false
/// only when the canonical form cannot be obtained for another reason.
bool rutaCanonica(const std::string& ruta, std::string& canonica, Fallo& fallo);

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
