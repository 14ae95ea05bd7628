// One entry's data inflated and held to its record: it must end exactly at its recorded
// compressed size and inflate exactly to its recorded size and CRC-32.
#pragma once

#include "directorio_zip.h"

#include <zlib.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

/// Owns zlib's inflater, reused entry after entry; one per thread at a time.
class Inflador {
 public:
  /// Receives every inflated block; returning false stops the inflation.
  using Bloque = std::function<bool(const char*, std::size_t)>;

  Inflador();
  ~Inflador();
  Inflador(const Inflador&) = delete;
  Inflador& operator=(const Inflador&) = delete;

  /// Inflates the entry `registro` describes from `origen`, whose archive `archivo` names
  /// in a finding ("El archivo ZIP"). True when it is sound; false with the damage in
  /// `dano` (a finding without its full stop) or, when `bloque` stopped it, `dano` empty.
  /// `extraLocal` receives the length of the local header's extra field.
  bool infla(Origen& origen, const Registro& registro, const Bloque& bloque, unsigned& extraLocal,
             std::string& dano, const std::string& archivo);

 private:
  z_stream flujo{};
  bool iniciado = false;
  std::vector<unsigned char> entrada, salida;
};
