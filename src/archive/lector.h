// Reading a ZIP archive without writing any of it anywhere: the central directory once,
// each entry inflated and held to its record when the caller asks for it.
#pragma once

#include "directorio_zip.h"
#include "inflado.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

/// An open archive: its directory, read once from the bytes of an origin that it shares with
/// every reading of its entries. Nothing of it changes once open: threads may read its
/// entries side by side, each with an inflater of its own.
class LectorZip {
 public:
  /// The archive `origen` holds, with at most `maximo` entries; or the damage that keeps
  /// it from being one.
  static plataforma::Resultado<LectorZip, DanoZip> abre(std::shared_ptr<Origen> origen,
                                                        std::size_t maximo);

  /// Its entries, in the order of the central directory.
  const std::vector<Registro>& registros() const { return directorio.registros; }
  /// The length of the archive's own comment.
  unsigned comentario() const { return directorio.comentario; }

  /// Entry `i` inflated whole, each block handed to `bloque`; see `Inflador::infla`.
  plataforma::Resultado<Inflado, DanoZip> infla(std::size_t i, Inflador& inflador,
                                                const Inflador::Bloque& bloque) const;

  /// The bytes of entry `i` when they are no more than `limite`; nothing when they are.
  plataforma::Resultado<std::optional<std::string>, DanoZip> lee(std::size_t i, Inflador& inflador,
                                                                 std::size_t limite) const;

 private:
  LectorZip(std::shared_ptr<Origen> origen, Directorio directorio);

  std::shared_ptr<Origen> origen;
  Directorio directorio;
};
