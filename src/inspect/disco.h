// The checker's view: the folders on disk through the platform.
#pragma once

#include "vista.h"

/// "." and ".." of the current directory.
class VistaDisco : public Vista {
 public:
  plataforma::Resultado<std::vector<std::string>> lista(const std::string& directorio) override;
  plataforma::Resultado<plataforma::Estado> estado(const std::string& ruta) override;
  std::string une(const std::string& directorio, const std::string& nombre) const override;
  std::string rutaDeProyecto(const std::string& valor) const override;
  bool cargaProyecto(const std::string& ruta, tinyxml2::XMLDocument& documento) override;
};
