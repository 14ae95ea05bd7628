// The archive being written: one deflated entry per input stream.
#pragma once

#include <zip.h>

#include <cstdint>
#include <istream>
#include <string>

/// Files this large need the ZIP64 size fields; smaller ones keep the plain headers.
inline constexpr std::uint64_t kTamanoZip64 = 0xF0000000;

/// Owns the handle of the archive. An archive that was created but not closed in full is
/// removed: a broken entrega.zip is never left behind.
class ArchivoZip {
 public:
  ArchivoZip() = default;
  ArchivoZip(const ArchivoZip&) = delete;
  ArchivoZip& operator=(const ArchivoZip&) = delete;
  ~ArchivoZip();

  /// Creates `ruta` anew (an existing file is truncated) and takes today's date stamp for
  /// every entry. False when the file cannot be created.
  bool crea(const std::string& ruta);

  /// Writes everything `flujo` delivers as one entry named `nombre` (UTF-8, "/" between
  /// components). `zip64` adds the size fields that files of 4 GiB and more need.
  /// False when the entry cannot be opened, written or closed, or the stream fails
  /// before its end.
  bool escribeEntrada(const char* nombre, std::istream& flujo, bool zip64 = false);

  /// Writes the central directory and closes the file. False when that fails; the file
  /// is then removed.
  bool cierra();

  /// Closes and removes a file that will not be completed.
  void descarta();

 private:
  zipFile zip = nullptr;
  zip_fileinfo datosEntrada{};
  std::string ruta_;
};
