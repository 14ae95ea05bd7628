// Entry names inside an archive, in one place for the writer and the reader: always "/"
// between components, never a path on disk. A folder is a prefix ending in "/", the root the
// empty prefix.
#pragma once

#include <string>

/// Relative, never stepping out with "..", naming no drive, written without "\\" or a NUL:
/// a name that unpacks inside its folder. Any other is reported and never followed.
bool esNombreSeguro(const std::string& nombre);

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

/// The entry name comprobador gives a delivered file by where the scans found it, `ruta` as
/// they store it: a bare name of the project folder `proyecto` goes below "<proyecto>/", a
/// path that enters the solution folder through ".." and `separador` goes where it lies
/// below that folder.
std::string nombrePorSitio(const std::string& ruta, const std::string& proyecto,
                           const std::string& separador);

/// A name's stored bytes as UTF-8: as they are when they are UTF-8 already, otherwise read as
/// code page 437, the format's own, whatever the UTF-8 flag says.
std::string nombreDeEntrada(const std::string& bytes);
