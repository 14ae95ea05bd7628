// Reads an archive back with minizip's unzip API and checks its local headers by hand.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct EntradaZip {
  std::string nombre;
  std::string datos;  // inflated by the reader, CRC checked
  std::uint32_t crc = 0;
  std::uint64_t comprimido = 0, tamano = 0;
  // Central directory header.
  unsigned long version = 0, versionNecesaria = 0, flag = 0, metodo = 0, fechaDos = 0;
  unsigned long extra = 0, comentario = 0, atributosInternos = 0, atributosExternos = 0;
  // Local header.
  unsigned long flagLocal = 0, extraLocal = 0, versionLocal = 0, fechaDosLocal = 0;
};

/// Every entry of `ruta` in archive order; false, with `error` set, when it does not read
/// back cleanly (bad CRC, broken header, local and central headers that disagree).
bool leeZip(const std::string& ruta, std::vector<EntradaZip>& entradas, std::string& error,
            bool conDatos = true);

/// The DOS date of today, as the archive should carry it.
unsigned long fechaDosDeHoy();
