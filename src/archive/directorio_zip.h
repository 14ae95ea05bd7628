// A ZIP archive's central directory, parsed from its bytes alone: every field as it is
// stored, nothing trusted until checked.
#pragma once

#include "dano_zip.h"
#include "formato_zip.h"
#include "origen.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

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

  bool cifrado() const { return (indicadores & kIndicadorCifrado) != 0; }
  bool esCarpeta() const { return !nombre.empty() && nombre.back() == '/'; }
};

/// The whole central directory, in the archive's order.
struct Directorio {
  std::vector<Registro> registros;
  unsigned comentario = 0;  // the length of the archive's own comment
};

/// The central directory of the archive `origen` holds, with at most `maximo` records; the
/// damage when the bytes are no ZIP, are damaged or cut short, or hold more records.
plataforma::Resultado<Directorio, DanoZip> leeDirectorio(Origen& origen, std::size_t maximo);

/// Bytes read as the little-endian fields of a ZIP record, each read after the last; a read
/// past the end gives 0 and marks the fields incomplete.
class Campos {
 public:
  Campos(const unsigned char* datos, std::size_t largo) : datos(datos), largo(largo) {}
  std::uint64_t lee(int bytes);
  void salta(std::size_t bytes);
  bool completo() const { return !falta; }

 private:
  const unsigned char* datos;
  std::size_t largo, pos = 0;
  bool falta = false;
};

/// "AAAA-MM-DD" of a DOS date stamp.
std::string fechaDos(unsigned long dosDate);
