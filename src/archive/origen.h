// Where an archive's bytes come from: a file on disk, a nameless temporary file, or memory.
// Each is read at any position, as a ZIP reader needs, and by several threads side by side.
#pragma once

#include "archivos.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class Origen {
 public:
  virtual ~Origen() = default;
  virtual std::uint64_t tamano() const = 0;
  /// Up to `n` bytes from `posicion`: how many were read, fewer only at the end. Safe to
  /// call from several threads at once.
  virtual plataforma::Resultado<std::size_t> lee(std::uint64_t posicion, void* destino,
                                                 std::size_t n) = 0;
};

/// A file read in blocks: a ZIP reader asks for a few bytes at a time, and a system call each
/// would cost more than the review itself.
class OrigenArchivo : public Origen {
 public:
  /// Over an open file of `tamano` bytes, such as a temporary one.
  OrigenArchivo(plataforma::Archivo archivo, std::uint64_t tamano);

  /// The regular file `ruta`, opened through the platform (any name, any sharing). A failure
  /// when it cannot be opened, or names no regular file (any more).
  static plataforma::Resultado<std::unique_ptr<Origen>> abre(const std::string& ruta);

  std::uint64_t tamano() const override { return tamano_; }
  plataforma::Resultado<std::size_t> lee(std::uint64_t posicion, void* destino,
                                         std::size_t n) override;

 private:
  plataforma::Archivo archivo;
  std::uint64_t tamano_ = 0;
  std::mutex cerrojo;        // over the block, which threads reading side by side share
  std::vector<char> bloque;  // what was read last, from `inicio`
  std::uint64_t inicio = 0;
};

/// Bytes held in memory; owns them.
class OrigenMemoria : public Origen {
 public:
  explicit OrigenMemoria(std::string datos) : datos(std::move(datos)) {}
  std::uint64_t tamano() const override { return datos.size(); }
  plataforma::Resultado<std::size_t> lee(std::uint64_t posicion, void* destino,
                                         std::size_t n) override;

 private:
  std::string datos;
};

/// Whether all `n` bytes from `posicion` were read: false when the bytes end before.
plataforma::Resultado<bool> leeTodo(Origen& origen, std::uint64_t posicion, void* destino,
                                    std::size_t n);
