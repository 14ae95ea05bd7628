// Adding a file on disk: its entry name, then its bytes.
#include "agregador.h"

#include "nombres_zip.h"

#include <cstdint>
#include <cstdio>
#include <istream>
#include <streambuf>

namespace {

// The bytes of an open file in blocks of `bloque`. A read that fails ends the stream as its
// end would, and is remembered: the entry it fed is then incomplete.
class LecturaArchivo : public std::streambuf {
 public:
  LecturaArchivo(std::FILE* archivo, std::vector<char>& bloque) : archivo(archivo), bloque(bloque) {
    // The blocks go straight from the system into `bloque`, with no copy in between.
    std::setvbuf(archivo, nullptr, _IONBF, 0);
  }
  bool fallida() const { return fallo; }

 protected:
  int_type underflow() override {
    const std::size_t leidos = std::fread(bloque.data(), 1, bloque.size(), archivo);
    if (leidos == 0) {
      fallo = fallo || std::ferror(archivo) != 0;
      return traits_type::eof();
    }
    setg(bloque.data(), bloque.data(), bloque.data() + leidos);
    return traits_type::to_int_type(bloque.front());
  }

 private:
  std::FILE* archivo;
  std::vector<char>& bloque;
  bool fallo = false;
};

}  // namespace

Agregador::Agregador(std::string base, ArchivoZip& archivo)
    : base(std::move(base)), archivo(archivo), bloque(64 * 1024) {}

plataforma::Resultado<std::string> Agregador::nombreEntrada(const std::string& ruta) {
  // Resolving the base again for every file would double what naming costs.
  if (canonicaBase.empty()) {
    plataforma::Resultado<std::string> canonica = plataforma::rutaCanonica(base);
    if (!canonica) return canonica;
    canonicaBase = std::move(*canonica);
  }
  plataforma::Resultado<std::string> canonicaRuta = plataforma::rutaCanonica(ruta);
  if (!canonicaRuta) return canonicaRuta;
  std::string nombre = plataforma::relativaLexica(canonicaBase, *canonicaRuta);
  if (esNombreSeguro(nombre)) return nombre;

  // A link that leads out of the solution directory: name the file by where it was found.
  // Only a file of the project directory needs that directory's name.
  const std::string separador = plataforma::une("", "");
  std::string proyecto;
  if (ruta.compare(0, 2 + separador.size(), ".." + separador) != 0) {
    plataforma::Resultado<std::string> actual = plataforma::nombreDirectorioActual();
    if (!actual) return actual;
    proyecto = std::move(*actual);
  }
  return nombrePorSitio(ruta, proyecto, separador);
}

plataforma::Resultado<Agregado> Agregador::agregaArchivo(const std::string& ruta) {
  plataforma::Resultado<std::string> nombre = nombreEntrada(ruta);
  if (!nombre) return std::move(nombre).error();
  return agregaComo(ruta, *nombre);
}

Agregado Agregador::agregaComo(const std::string& ruta, const std::string& nombre) {
  plataforma::Resultado<std::optional<plataforma::Abierto>> abierto = plataforma::abreLectura(ruta);
  // Left out, the student would hand in an archive without a file of theirs.
  if (!abierto) return Agregado::roto;
  if (!*abierto) return Agregado::hecho;
  // The entry takes 1024 bytes at a time; blocks of 64 KiB make a sixty-fourth as many
  // reads of the file.
  LecturaArchivo lectura((*abierto)->archivo.get(), bloque);
  std::istream flujo(&lectura);
  const bool escrita =
      bool(archivo.escribeEntrada(nombre.c_str(), flujo, (*abierto)->tamano >= kTamanoZip64));
  return escrita && !lectura.fallida() ? Agregado::hecho : Agregado::roto;
}
