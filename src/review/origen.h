// Where a submission's bytes come from: a file on disk, or an entry of a campus archive
// inflated into memory. Either is read at any position, as the ZIP reader needs.
#pragma once

#include "archivos.h"

#include <cstddef>
#include <cstdint>
#include <string>

class Origen {
 public:
  virtual ~Origen() = default;
  virtual std::uint64_t tamano() const = 0;
  /// Up to `n` bytes from `posicion`; how many were read (fewer only at the end or on a
  /// read failure).
  virtual std::size_t lee(std::uint64_t posicion, void* destino, std::size_t n) = 0;
};

/// A file, opened through the platform (so that any name and any sharing works).
class OrigenArchivo : public Origen {
 public:
  /// False when `ruta` is no regular file or cannot be opened; `error`, when given, then
  /// holds the system's code (0 for something that is no regular file).
  bool abre(const std::string& ruta, unsigned long* error = nullptr);
  std::uint64_t tamano() const override { return tamano_; }
  std::size_t lee(std::uint64_t posicion, void* destino, std::size_t n) override;

 private:
  plataforma::Archivo archivo;
  std::uint64_t tamano_ = 0;
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
