// Adds files on disk to the archive, named by their place below a base directory.
#pragma once

#include "archivo_zip.h"
#include "archivos.h"

#include <string>
#include <vector>

/// How adding one file ended, short of a platform failure.
enum class Agregado {
  hecho,  // written, or left out because it is no file (any more)
  roto,   // the archive cannot be completed, or a file of it cannot be read
};

class Agregador {
 public:
  /// `base` is the directory entry names are relative to; `archivo` is not owned.
  Agregador(std::string base, ArchivoZip& archivo);

  /// Adds the file `ruta` (a bare name of the project directory, or a path through ".."
  /// as the scans store it) under its name relative to `base`. A path that names no
  /// regular file is left out without a message.
  plataforma::Resultado<Agregado> agregaArchivo(const std::string& ruta);

  /// Adds the file `ruta` under the entry name `nombre` as it is; a path that names no
  /// regular file is left out without a message.
  Agregado agregaComo(const std::string& ruta, const std::string& nombre);

 private:
  plataforma::Resultado<std::string> nombreEntrada(const std::string& ruta);

  std::string base;
  std::string canonicaBase;  // made at the first file: the base is the same for all of them
  ArchivoZip& archivo;
  std::vector<char> bloque;  // what each file is read into
};
