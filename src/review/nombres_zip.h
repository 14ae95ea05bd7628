// Entry names inside an archive, in one place: always "/" between components, never a
// path on disk. A folder is a prefix ending in "/", the root the empty prefix.
#pragma once

#include <string>

/// Absolute, stepping out with "..", naming a drive, written with "\" or holding a NUL:
/// such a name is reported and never followed.
bool esNombreInseguro(const std::string& nombre);

/// The folder that holds the entry `nombre`: "a/b/" for "a/b/c", "" at the root.
std::string carpetaDeEntrada(const std::string& nombre);

/// The folder that holds the folder `carpeta`: "a/" for "a/b/"; the root's is the root.
std::string carpetaPadre(const std::string& carpeta);

/// The last component of an entry name or folder, without its "/": "c" for "a/b/c" and
/// for "a/c/", "" for the root.
std::string ultimoDeEntrada(const std::string& nombre);

/// `ruta` below `carpeta` with "." and ".." resolved, components joined by "/"; ".."
/// stops at the root, as it does at a drive's root.
std::string resuelveEntrada(const std::string& carpeta, const std::string& ruta);
