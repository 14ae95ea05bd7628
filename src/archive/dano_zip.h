// What can be wrong with an archive's bytes, as a kind with its details: the reader never
// words it, the caller does, naming the archive as it knows it.
#pragma once

#include <cstdint>
#include <string>

enum class Dano {
  ilegible,            // the system could not read the bytes, or had no memory: `razon`
  noEsZip,             // no end record, and no local header at the start
  sinDirectorio,       // a local header at the start, but no end record: cut short or damaged
  directorioIlegible,  // the central directory's records cannot be parsed
  directorioFuera,     // the central directory is not where the end record says
  directorioGrande,    // the central directory takes `hallado` bytes, more than is ever read
  enPartes,            // split across several files
  demasiadas,          // `hallado` entries, more than `limite`
  cifrada,             // the entry is encrypted
  entradaGrande,       // the entry inflates to more than `limite` bytes
  totalGrande,         // the entries together inflate to more than `limite` bytes
  imposible,           // no deflate stream of `hallado` bytes makes the `declarado` recorded
  solape,              // the entry's bytes run into those of the entry `otra`
  cabeceraLocal,       // the local header does not match the record
  cortada,             // the archive ends inside the entry's data
  metodo,              // compressed with method `hallado`, which the reader cannot inflate
  guardadaDistinta,    // stored as `hallado` bytes, yet recorded as `declarado` inflated
  creceDeMas,          // inflates past the `declarado` bytes recorded
  datosInvalidos,      // its deflate stream is not valid
  datosSiguen,         // its deflate stream goes on past the `declarado` bytes recorded
  datosAcaban,         // its deflate stream ends before the `declarado` bytes recorded
  tamanoDistinto,      // inflates to `hallado` bytes, `declarado` recorded
  crc,                 // its content does not match its recorded CRC-32
};

/// One kind of damage and its details; only the fields its kind names are set.
struct DanoZip {
  explicit DanoZip(Dano tipo, std::string entrada = {}, std::string otra = {})
      : tipo(tipo), entrada(std::move(entrada)), otra(std::move(otra)) {}

  Dano tipo;
  std::string entrada;  // the entry it concerns, as UTF-8; empty for the archive as a whole
  std::string otra;     // the entry it runs into
  std::uint64_t hallado = 0, declarado = 0, limite = 0;
  std::string razon;  // the system's reason
};
