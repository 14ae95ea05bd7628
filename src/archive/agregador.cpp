// Adding a file on disk: its entry name, then its bytes.
#include "agregador.h"

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

bool empiezaPor(const std::string& texto, const std::string& prefijo) {
  return texto.compare(0, prefijo.size(), prefijo) == 0;
}

// A name a teacher can unpack safely: relative, and never stepping out of the folder.
bool esSeguro(const std::string& nombre) {
  std::size_t inicio = 0;
  for (;;) {
    const std::size_t fin = nombre.find('/', inicio);
    const std::string parte = nombre.substr(inicio, fin - inicio);
    if (parte.empty() || parte == "." || parte == "..") return false;
    if (fin == std::string::npos) return true;
    inicio = fin + 1;
  }
}

}  // namespace

Agregador::Agregador(std::string base, ArchivoZip& archivo)
    : base(std::move(base)), archivo(archivo), bloque(64 * 1024) {}

bool Agregador::nombreEntrada(const std::string& ruta, std::string& nombre,
                              plataforma::Fallo& fallo) {
  // Resolving the base again for every file would double what naming costs.
  if (canonicaBase.empty() && !plataforma::rutaCanonica(base, canonicaBase, fallo)) return false;
  std::string canonicaRuta;
  if (!plataforma::rutaCanonica(ruta, canonicaRuta, fallo)) return false;
  nombre = plataforma::relativaLexica(canonicaBase, canonicaRuta);
  if (esSeguro(nombre)) return true;

  // A link that leads out of the solution directory: name the file by where it was found.
  const std::string imagenes = plataforma::une(plataforma::une(base, "images"), "");
  const std::string solucion = plataforma::une(base, "");
  if (empiezaPor(ruta, imagenes)) {
    nombre = "images/" + ruta.substr(imagenes.size());
  } else if (empiezaPor(ruta, solucion)) {
    nombre = ruta.substr(solucion.size());
  } else {
    std::string proyecto;
    if (!plataforma::nombreDirectorioActual(proyecto, fallo)) return false;
    nombre = proyecto.empty() ? ruta : proyecto + "/" + ruta;
  }
  return true;
}

Agregado Agregador::agregaArchivo(const std::string& ruta, plataforma::Fallo& fallo) {
  std::string nombre;
  if (!nombreEntrada(ruta, nombre, fallo)) return Agregado::fallido;
  return agregaComo(ruta, nombre);
}

Agregado Agregador::agregaComo(const std::string& ruta, const std::string& nombre) {
  std::uint64_t tamano = 0;
  plataforma::Archivo abierto;
  switch (plataforma::abreLectura(ruta, abierto, tamano)) {
    case plataforma::Apertura::abierto:
      break;
    case plataforma::Apertura::ausente:
      return Agregado::hecho;
    case plataforma::Apertura::ilegible:
      // Left out, the student would hand in an archive without a file of theirs.
      return Agregado::roto;
  }
  // The entry takes 1024 bytes at a time; blocks of 64 KiB make a sixty-fourth as many
  // reads of the file.
  LecturaArchivo lectura(abierto.get(), bloque);
  std::istream flujo(&lectura);
  const bool escrita = archivo.escribeEntrada(nombre.c_str(), flujo, tamano >= kTamanoZip64);
  return escrita && !lectura.fallida() ? Agregado::hecho : Agregado::roto;
}
