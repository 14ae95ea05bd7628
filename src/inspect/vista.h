// What the checks read of a delivery and where their findings go: the disk and the boxes
// for comprobador, an archive's entries and a list of texts for revisa.
#pragma once

#include "archivos.h"

#include <tinyxml2.h>

#include <string>
#include <vector>

/// The project folder "." and the solution folder "..", as the checks see them.
class Vista {
 public:
  virtual ~Vista() = default;

  /// The names of one level of `directorio`, in the order the view gives them, without "."
  /// and "..".
  virtual plataforma::Resultado<std::vector<std::string>> lista(const std::string& directorio) = 0;

  /// The status of `ruta`; a path that names nothing is `ausente`, and a failure is of
  /// another kind.
  virtual plataforma::Resultado<plataforma::Estado> estado(const std::string& ruta) = 0;

  /// `directorio` and `nombre` joined by the view's separator.
  virtual std::string une(const std::string& directorio, const std::string& nombre) const = 0;

  /// A path written in a project file, in the view's own form.
  virtual std::string rutaDeProyecto(const std::string& valor) const = 0;

  /// Loads and parses the project file `ruta`; false when it does not load or parse.
  virtual bool cargaProyecto(const std::string& ruta, tinyxml2::XMLDocument& documento) = 0;
};

/// Receives every finding the moment it is made; texts come without the final full stop.
class Hallazgos {
 public:
  virtual ~Hallazgos() = default;
  virtual void error(const std::string& texto) = 0;
  virtual void aviso(const std::string& texto) = 0;
};
