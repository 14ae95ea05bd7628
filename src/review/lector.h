// Reading a ZIP archive without writing any of it anywhere: the central directory once,
// each entry inflated and held to its record, small entries read whole.
#pragma once

#include "directorio_zip.h"
#include "inflado.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

/// Owns the bytes it reads and the inflater; one per thread at a time.
class LectorZip {
 public:
  /// `archivo` names the archive in findings about its damage.
  explicit LectorZip(std::unique_ptr<Origen> origen, std::string archivo = "El archivo ZIP");

  /// Reads the central directory, at most `maximo` records. False, with the reason in
  /// `error`, when the bytes are no ZIP, are damaged or hold more records.
  bool abre(std::size_t maximo, std::string& error);

  const std::vector<Registro>& registros() const { return directorio.registros; }
  /// The length of the archive's own comment.
  unsigned comentario() const { return directorio.comentario; }

  /// Inflates entry `i` whole, handing each block to `bloque`; see `Inflador::infla`.
  bool inflaEntrada(std::size_t i, const Inflador::Bloque& bloque, unsigned& extraLocal,
                    std::string& error);

  /// The bytes of entry `i`, which must not be larger than `limite`; false otherwise or
  /// when it is damaged.
  bool lee(std::size_t i, std::size_t limite, std::string& datos);

 private:
  std::unique_ptr<Origen> origen;
  std::string archivo;
  Directorio directorio;
  Inflador inflador;
};
