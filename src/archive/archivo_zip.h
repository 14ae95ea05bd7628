// The archive being written: one deflated entry per input stream.
#pragma once

#include "formato_zip.h"
#include "resultado.h"

#include <zip.h>

#include <cstdint>
#include <istream>
#include <string>

/// Owns the handle of the archive. The archive is written to a hidden file beside its
/// place and put there in one step when it is closed in full: a broken entrega.zip is never
/// left behind, and a run that dies leaves the previous one as it was.
class ArchivoZip {
 public:
  ArchivoZip() = default;
  ArchivoZip(const ArchivoZip&) = delete;
  ArchivoZip& operator=(const ArchivoZip&) = delete;
  ~ArchivoZip();

  /// Starts the archive `ruta` (written beside it until it is closed) and takes today's
  /// date stamp for every entry. When it cannot be created, an existing `ruta` that may not
  /// be written is left untouched, and any other is removed.
  plataforma::Resultado<void> crea(const std::string& ruta);

  /// Writes everything `flujo` delivers as one entry named `nombre` (UTF-8, "/" between
  /// components). `zip64` adds the size fields that files of 4 GiB and more need.
  /// A failure when the entry cannot be opened, written or closed, or the stream fails
  /// before its end.
  plataforma::Resultado<void> escribeEntrada(const char* nombre, std::istream& flujo,
                                             bool zip64 = false);

  /// Writes the central directory, flushes the file to the disk and puts it in place of
  /// the previous archive. When any of that fails the archive is removed, and so is the
  /// previous one unless another program holds it.
  plataforma::Resultado<void> cierra();

  /// Removes an archive that will not be completed, and the previous one with it.
  void descarta();

  /// Removes what a run that died while writing `ruta` may have left.
  static void retiraResto(const std::string& ruta);

 private:
  zipFile zip = nullptr;
  zip_fileinfo datosEntrada{};
  std::string ruta_;
};
