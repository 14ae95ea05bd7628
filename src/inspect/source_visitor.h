// The walk over the project file that matches its compile and header items.
#pragma once

#include "archivos.h"
#include "entrega.h"
#include "vista.h"

#include <tinyxml2.h>

#include <optional>

/// Checks each ClCompile and ClInclude element with an Include attribute when the walk
/// leaves it: a value that names a scanned file takes that name out of its copy; any
/// other value is reported as misplaced or missing. The copies only shrink.
struct SourceVisitor : public tinyxml2::XMLVisitor {
  /// `vista` answers the status queries and `hallazgos` takes the errors; neither is owned.
  SourceVisitor(const Conjunto& fuentes, const Conjunto& cabeceras, Vista& vista,
                Hallazgos& hallazgos);
  ~SourceVisitor() override;

  /// Always true, unless a status query failed: then `fallo` is set and the walk stops.
  bool VisitExit(const tinyxml2::XMLElement& elemento) override;

  Conjunto fuentes;
  Conjunto cabeceras;
  std::optional<plataforma::Fallo> fallo;

 private:
  Vista& vista;
  Hallazgos& hallazgos;
};
