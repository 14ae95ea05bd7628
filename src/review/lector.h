// Reading a ZIP archive without writing any of it anywhere: the central directory, each
// entry inflated and checked against its size and CRC-32, small entries read whole.
#pragma once

#include "origen.h"

#include <unzip.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

/// One entry as the central directory describes it.
struct Cabecera {
  std::string nombre;
  unz_file_info64 info{};
  unz64_file_pos posicion{};
};

/// Owns the minizip handle and the bytes it reads; one per thread at a time.
class LectorZip {
 public:
  explicit LectorZip(std::unique_ptr<Origen> origen);
  ~LectorZip();
  LectorZip(const LectorZip&) = delete;
  LectorZip& operator=(const LectorZip&) = delete;

  /// Reads the central directory, at most `maximo` entries. False, with the reason in
  /// `error`, when the bytes are no ZIP, are damaged or hold more entries.
  bool abre(std::size_t maximo, std::string& error);

  const std::vector<Cabecera>& cabeceras() const { return cabeceras_; }
  /// The length of the archive's own comment.
  unsigned long comentario() const { return comentario_; }

  /// Inflates entry `i` whole, handing each block to `bloque`, which stops it by returning
  /// false; checks that it has its recorded size and CRC-32. False, with the reason in
  /// `error`, when it does not (or `bloque` stopped it). `extraLocal` is the length of the
  /// local header's extra field.
  bool inflaEntrada(std::size_t i, const std::function<bool(const char*, std::size_t)>& bloque,
                    unsigned long& extraLocal, std::string& error);

  /// The bytes of entry `i`, which must not be larger than `limite`; false otherwise or
  /// when it is damaged.
  bool lee(std::size_t i, std::size_t limite, std::string& datos);

  /// What the ioapi functions reach: the bytes and the position in them.
  struct Flujo {
    Origen* origen = nullptr;
    std::uint64_t posicion = 0;
  };

 private:
  std::unique_ptr<Origen> origen;
  Flujo flujo;
  unzFile zip = nullptr;
  std::vector<Cabecera> cabeceras_;
  unsigned long comentario_ = 0;
};

/// "AAAA-MM-DD" of an entry's DOS date stamp.
std::string fechaDos(unsigned long dosDate);
