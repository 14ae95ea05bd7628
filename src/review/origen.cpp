// Reading a submission's bytes at any position, from disk or from memory.
#include "origen.h"

#include "archivos.h"

#include <algorithm>
#include <cstring>

bool OrigenArchivo::abre(const std::string& ruta) {
  return plataforma::abreLectura(ruta, flujo, tamano_);
}

std::size_t OrigenArchivo::lee(std::uint64_t posicion, void* destino, std::size_t n) {
  if (posicion >= tamano_) return 0;
  flujo.clear();
  flujo.seekg(static_cast<std::streamoff>(posicion));
  flujo.read(static_cast<char*>(destino), static_cast<std::streamsize>(n));
  return static_cast<std::size_t>(flujo.gcount());
}

std::size_t OrigenMemoria::lee(std::uint64_t posicion, void* destino, std::size_t n) {
  if (posicion >= datos.size()) return 0;
  const std::size_t cuantos =
      std::min<std::uint64_t>(n, datos.size() - static_cast<std::size_t>(posicion));
  std::memcpy(destino, datos.data() + posicion, cuantos);
  return cuantos;
}
