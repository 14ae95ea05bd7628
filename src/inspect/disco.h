// The checker's view: the folders on disk through the platform.
#pragma once

#include "vista.h"

/// "." and ".." of the current directory.
class VistaDisco : public Vista {
 public:
  bool lista(const std::string& directorio, std::vector<std::string>& nombres,
             plataforma::Fallo& fallo) override;
  bool estado(const std::string& ruta, plataforma::Estado& estado,
              plataforma::Fallo& fallo) override;
  std::string une(const std::string& directorio, const std::string& nombre) const override;
  std::string rutaDeProyecto(const std::string& valor) const override;
  bool cargaProyecto(const std::string& ruta, tinyxml2::XMLDocument& documento) override;
};
