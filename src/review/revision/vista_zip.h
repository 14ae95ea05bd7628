// The checks' view of a submission: its entries as the project folder "." and the solution
// folder "..", the folder holding the .vcxproj and its parent. Nothing is written anywhere.
#pragma once

#include "lector.h"
#include "vista.h"

#include <cstddef>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class VistaZip : public Vista {
 public:
  /// `archivos`: the entries that may be followed (files with safe names), each with its
  /// index in `lector`, in archive order. `proyecto`: the project folder, "" for the root
  /// or a prefix ending in "/". `inflador` reads the project file; neither is owned.
  VistaZip(const LectorZip& lector, Inflador& inflador,
           std::vector<std::pair<std::string, std::size_t>> archivos, std::string proyecto);

  plataforma::Resultado<std::vector<std::string>> lista(const std::string& directorio) override;
  plataforma::Resultado<plataforma::Estado> estado(const std::string& ruta) override;
  std::string une(const std::string& directorio, const std::string& nombre) const override;
  std::string rutaDeProyecto(const std::string& valor) const override;
  bool cargaProyecto(const std::string& ruta, tinyxml2::XMLDocument& documento) override;

  /// The entry name that a path of the checks (relative to the project folder) stands for:
  /// "." and ".." resolved, the root's parent being the root.
  std::string resuelve(const std::string& ruta) const;
  /// The index in the reader of the file `ruta` names; nothing when it names none.
  std::optional<std::size_t> indice(const std::string& ruta) const;
  /// The solution folder: "" for the root, or a prefix ending in "/".
  const std::string& solucion() const { return solucion_; }

 private:
  const LectorZip& lector;
  Inflador& inflador;
  std::vector<std::pair<std::string, std::size_t>> archivos;
  std::unordered_map<std::string, std::size_t> indices;  // each file's index in `lector`
  std::set<std::string> directorios;  // every folder above a file, as "a/b/"; "" the root
  std::string proyecto, solucion_;
};
