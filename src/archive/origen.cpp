// Reading an archive's bytes at any position, from disk or from memory.
#include "origen.h"

#include <algorithm>
#include <cstring>

namespace {

// Reads of this size and more bypass the block; smaller ones are served from it.
constexpr std::size_t kBloque = 64 * 1024;

}  // namespace

OrigenArchivo::OrigenArchivo(plataforma::Archivo archivo, std::uint64_t tamano)
    : archivo(std::move(archivo)), tamano_(tamano) {}

plataforma::Resultado<std::unique_ptr<Origen>> OrigenArchivo::abre(const std::string& ruta) {
  plataforma::Resultado<std::optional<plataforma::Abierto>> abierto = plataforma::abreLectura(ruta);
  if (!abierto) return std::move(abierto).error();
  if (!*abierto) return plataforma::Fallo{"No se ha podido abrir", ruta, "ya no es un archivo"};
  plataforma::Abierto& a = **abierto;
  return std::unique_ptr<Origen>(std::make_unique<OrigenArchivo>(std::move(a.archivo), a.tamano));
}

plataforma::Resultado<std::size_t> OrigenArchivo::lee(std::uint64_t posicion, void* destino,
                                                      std::size_t n) {
  if (posicion >= tamano_ || n == 0) return std::size_t{0};
  n = static_cast<std::size_t>(std::min<std::uint64_t>(n, tamano_ - posicion));
  if (n >= kBloque) return plataforma::leeEn(archivo.get(), posicion, destino, n);
  const std::lock_guard<std::mutex> bloqueo(cerrojo);
  if (posicion < inicio || posicion + n > inicio + bloque.size()) {
    bloque.resize(kBloque);
    inicio = posicion;
    plataforma::Resultado<std::size_t> leidos =
        plataforma::leeEn(archivo.get(), posicion, bloque.data(), kBloque);
    bloque.resize(leidos ? *leidos : 0);
    if (!leidos) return leidos;
  }
  const std::size_t desde = static_cast<std::size_t>(posicion - inicio);
  const std::size_t cuantos = std::min(n, bloque.size() - std::min(desde, bloque.size()));
  if (cuantos > 0) std::memcpy(destino, bloque.data() + desde, cuantos);
  return cuantos;
}

plataforma::Resultado<std::size_t> OrigenMemoria::lee(std::uint64_t posicion, void* destino,
                                                      std::size_t n) {
  if (posicion >= datos.size() || n == 0) return std::size_t{0};
  const std::size_t cuantos =
      std::min<std::uint64_t>(n, datos.size() - static_cast<std::size_t>(posicion));
  std::memcpy(destino, datos.data() + posicion, cuantos);
  return cuantos;
}

plataforma::Resultado<bool> leeTodo(Origen& origen, std::uint64_t posicion, void* destino,
                                    std::size_t n) {
  plataforma::Resultado<std::size_t> leidos = origen.lee(posicion, destino, n);
  if (!leidos) return std::move(leidos).error();
  return *leidos == n;
}
