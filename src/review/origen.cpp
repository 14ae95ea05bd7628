// Reading a submission's bytes at any position, from disk or from memory.
#include "origen.h"

#include <algorithm>
#include <cstring>

namespace {

// Reads of this size and more bypass the block; smaller ones are served from it.
constexpr std::size_t kBloque = 64 * 1024;

}  // namespace

OrigenArchivo::OrigenArchivo(plataforma::Archivo archivo, std::uint64_t tamano)
    : archivo(std::move(archivo)), tamano_(tamano) {}

bool OrigenArchivo::abre(const std::string& ruta, unsigned long* error) {
  return plataforma::abreLectura(ruta, archivo, tamano_, error) == plataforma::Apertura::abierto;
}

std::size_t OrigenArchivo::leeDirecto(std::uint64_t posicion, void* destino, std::size_t n) {
  unsigned long codigo = 0;
  const std::size_t leidos = plataforma::leeEn(archivo.get(), posicion, destino, n, &codigo);
  if (codigo != 0) error_ = codigo;
  return leidos;
}

std::size_t OrigenArchivo::lee(std::uint64_t posicion, void* destino, std::size_t n) {
  if (posicion >= tamano_ || n == 0) return 0;
  n = static_cast<std::size_t>(std::min<std::uint64_t>(n, tamano_ - posicion));
  if (n >= kBloque) return leeDirecto(posicion, destino, n);
  if (posicion < inicio || posicion + n > inicio + bloque.size()) {
    bloque.resize(kBloque);
    inicio = posicion;
    bloque.resize(leeDirecto(posicion, bloque.data(), kBloque));
  }
  const std::size_t desde = static_cast<std::size_t>(posicion - inicio);
  const std::size_t cuantos = std::min(n, bloque.size() - std::min(desde, bloque.size()));
  if (cuantos > 0) std::memcpy(destino, bloque.data() + desde, cuantos);
  return cuantos;
}

std::size_t OrigenMemoria::lee(std::uint64_t posicion, void* destino, std::size_t n) {
  if (posicion >= datos.size() || n == 0) return 0;
  const std::size_t cuantos =
      std::min<std::uint64_t>(n, datos.size() - static_cast<std::size_t>(posicion));
  std::memcpy(destino, datos.data() + posicion, cuantos);
  return cuantos;
}
