// Where a submission's bytes come from: a file on disk, a nameless temporary file, or
// memory. Each is read at any position, as a ZIP reader needs, through a buffer.
#pragma once

#include "archivos.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class Origen {
 public:
  virtual ~Origen() = default;
  virtual std::uint64_t tamano() const = 0;
  /// Up to `n` bytes from `posicion`; how many were read: fewer only at the end, or on a
  /// read failure, which `error` then names.
  virtual std::size_t lee(std::uint64_t posicion, void* destino, std::size_t n) = 0;
  /// The system's code of the last read that failed; 0 when none did.
  virtual unsigned long error() const { return 0; }
};

/// A file, opened through the platform (so that any name and any sharing works), read in
/// blocks: a ZIP reader asks for a few bytes at a time, and a system call each would cost
/// more than the review itself.
class OrigenArchivo : public Origen {
 public:
  OrigenArchivo() = default;
  /// Over an open file of `tamano` bytes, such as a temporary one.
  OrigenArchivo(plataforma::Archivo archivo, std::uint64_t tamano);

  /// False when `ruta` is no regular file or cannot be opened; `error`, when given, then
  /// holds the system's code (0 for something that is no regular file).
  bool abre(const std::string& ruta, unsigned long* error = nullptr);
  std::uint64_t tamano() const override { return tamano_; }
  std::size_t lee(std::uint64_t posicion, void* destino, std::size_t n) override;
  unsigned long error() const override { return error_; }

 private:
  std::size_t leeDirecto(std::uint64_t posicion, void* destino, std::size_t n);

  plataforma::Archivo archivo;
  std::uint64_t tamano_ = 0;
  unsigned long error_ = 0;
  std::vector<char> bloque;  // what was read last, from `inicio`
  std::uint64_t inicio = 0;
};

/// Bytes held in memory; owns them.
class OrigenMemoria : public Origen {
 public:
  explicit OrigenMemoria(std::string datos) : datos(std::move(datos)) {}
  std::uint64_t tamano() const override { return datos.size(); }
  std::size_t lee(std::uint64_t posicion, void* destino, std::size_t n) override;

 private:
  std::string datos;
};
