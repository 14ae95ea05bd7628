// One entry's data inflated and held to its record: it must end exactly at its recorded
// compressed size and inflate exactly to its recorded size and CRC-32.
#pragma once

#include "directorio_zip.h"

#include <zlib.h>

#include <cstddef>
#include <functional>
#include <vector>

/// What inflating an entry found, when its bytes are sound so far.
struct Inflado {
  bool entera = true;       // false: `bloque` stopped it before the end
  unsigned extraLocal = 0;  // the length of the local header's extra field
};

/// Owns zlib's inflater, reused entry after entry; one per thread at a time.
class Inflador {
 public:
  /// Receives every inflated block; returning false stops the inflation.
  using Bloque = std::function<bool(const char*, std::size_t)>;

  Inflador();
  ~Inflador();
  Inflador(const Inflador&) = delete;
  Inflador& operator=(const Inflador&) = delete;

  /// Inflates the entry `registro` describes from `origen`, handing each block to `bloque`:
  /// what it found, or how the entry's bytes differ from its record.
  plataforma::Resultado<Inflado, DanoZip> infla(Origen& origen, const Registro& registro,
                                                const Bloque& bloque);

 private:
  plataforma::Resultado<void, DanoZip> preparaFlujo(const Registro& registro);

  z_stream flujo{};
  bool iniciado = false;
  std::vector<unsigned char> entrada, salida;
};
