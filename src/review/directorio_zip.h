// A ZIP archive's central directory, parsed from its bytes alone: every field as it is
// stored, nothing trusted until checked.
#pragma once

#include "origen.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

/// The fixed part of an entry's local header, before its name and extra field.
inline constexpr std::size_t kCabeceraLocal = 30;

/// One central-directory record: what the archive says of one entry.
struct Registro {
  std::string nombre;       // as UTF-8: read as code page 437 when it is not UTF-8
  std::string bruto;        // the name's bytes as stored
  bool malMarcado = false;  // flagged as UTF-8, but its bytes are not
  unsigned version = 0, versionNecesaria = 0, indicadores = 0, metodo = 0;
  unsigned long fechaDos = 0;  // the DOS date in the high half, the time in the low one
  unsigned long crc = 0;
  std::uint64_t comprimido = 0, descomprimido = 0, desplazamiento = 0;
  unsigned extra = 0, comentario = 0;  // the lengths of its extra field and comment
  unsigned long atributosExternos = 0;

  bool cifrado() const { return (indicadores & 1) != 0; }
  bool esCarpeta() const { return !nombre.empty() && nombre.back() == '/'; }
};

/// The whole central directory, in the archive's order.
struct Directorio {
  std::vector<Registro> registros;
  unsigned comentario = 0;  // the length of the archive's own comment
};

/// Reads the central directory of the archive `origen` holds, at most `maximo` records.
/// False, with the reason in `error` (a finding without its full stop), when the bytes
/// are no ZIP, are damaged or truncated, or hold more records.
bool leeDirectorio(Origen& origen, std::size_t maximo, Directorio& directorio, std::string& error);

/// Bytes read as the little-endian fields of a ZIP record, each read after the last; a read
/// past the end gives 0 and marks the fields incomplete.
class Campos {
 public:
  Campos(const unsigned char* datos, std::size_t largo) : datos(datos), largo(largo) {}
  std::uint64_t lee(int bytes);
  bool completo() const { return !falta; }

 private:
  const unsigned char* datos;
  std::size_t largo, pos = 0;
  bool falta = false;
};

/// "AAAA-MM-DD" of a DOS date stamp.
std::string fechaDos(unsigned long dosDate);
