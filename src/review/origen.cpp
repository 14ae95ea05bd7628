// Reading a submission's bytes at any position, from disk or from memory.
#include "origen.h"

#include <algorithm>
#include <cstring>

bool OrigenArchivo::abre(const std::string& ruta, unsigned long* error) {
  return plataforma::abreLectura(ruta, archivo, tamano_, error) == plataforma::Apertura::abierto;
}

std::size_t OrigenArchivo::lee(std::uint64_t posicion, void* destino, std::size_t n) {
  if (posicion >= tamano_) return 0;
  return plataforma::leeEn(archivo.get(), posicion, destino, n);
}

std::size_t OrigenMemoria::lee(std::uint64_t posicion, void* destino, std::size_t n) {
  if (posicion >= datos.size()) return 0;
  const std::size_t cuantos =
      std::min<std::uint64_t>(n, datos.size() - static_cast<std::size_t>(posicion));
  std::memcpy(destino, datos.data() + posicion, cuantos);
  return cuantos;
}
