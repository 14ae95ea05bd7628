// Canonical and relative paths, through std::filesystem alike on every system: names
// cross as UTF-8 by the system's own conversion, and no call here throws.
#include "archivos.h"
#include "resolucion.h"

#include <filesystem>
#include <system_error>

namespace plataforma {
namespace {

namespace fs = std::filesystem;

Fallo sinForma(const std::string& que, const std::string& ruta) {
  return Fallo{"No se ha podido convertir " + que, ruta,
               std::make_error_code(std::errc::illegal_byte_sequence).message()};
}

// A path that names nothing (a link loop, a name too long) keeps its lexical form: such a
// file does not open, and is left out anyway.
Resultado<fs::path> canonicaDe(const std::string& ruta) {
  fs::path resultado;
  if (resuelveExistente(ruta, resultado)) return resultado;
  fs::path original;
  if (!camino(ruta, original)) return sinForma("el nombre", ruta);
  std::error_code error;
  resultado = fs::weakly_canonical(original, error);
  if (!error) return resultado;
  if (error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory ||
      error == std::errc::filename_too_long || error == std::errc::too_many_symbolic_link_levels) {
    resultado = fs::absolute(original, error).lexically_normal();
    if (!error) return resultado;
  }
  return Fallo{"No se ha podido obtener la ruta canónica de", ruta, error.message()};
}

}  // namespace

Resultado<std::string> nombreDirectorioActual() {
  std::error_code error;
  const fs::path actual = fs::current_path(error);
  if (error) return Fallo{"No se ha podido obtener el directorio actual", "", error.message()};
  std::string nombre;
  if (!utf8(actual.filename().native(), nombre)) {
    return sinForma("a UTF-8 el nombre del directorio actual", "");
  }
  return nombre;
}

Resultado<std::string> rutaCanonica(const std::string& ruta) {
  Resultado<fs::path> resultado = canonicaDe(ruta);
  if (!resultado) return std::move(resultado).error();
  std::string canonica;
  if (!utf8(resultado->native(), canonica)) return sinForma("a UTF-8 la ruta canónica de", ruta);
  return canonica;
}

std::string relativaLexica(const std::string& base, const std::string& ruta) {
  fs::path desde, hasta;
  std::string relativa;
  if (!camino(base, desde) || !camino(ruta, hasta) ||
      !utf8(hasta.lexically_relative(desde).generic_string<fs::path::value_type>(), relativa)) {
    return {};
  }
  return relativa;
}

namespace {

// `ruta` without the separators at its end, a root left whole.
fs::path sinSeparadorFinal(fs::path ruta) {
  while (!ruta.has_filename() && ruta.has_relative_path()) ruta = ruta.parent_path();
  return ruta;
}

}  // namespace

std::string carpetaDe(const std::string& ruta) {
  fs::path completa;
  std::string carpeta;
  if (!camino(ruta, completa)) return ".";
  const fs::path padre = sinSeparadorFinal(completa).parent_path();
  if (padre.empty() || !utf8(padre.native(), carpeta)) return ".";
  return carpeta;
}

std::string ultimoComponente(const std::string& ruta) {
  fs::path completa;
  std::string nombre;
  if (!camino(ruta, completa)) return ruta;
  const fs::path final = sinSeparadorFinal(completa).filename();
  if (final.empty() || !utf8(final.native(), nombre)) return ruta;
  return nombre;
}

std::string rutaGenericaDeProyecto(const std::string& valor) {
  std::string ruta = valor;
  for (char& c : ruta) {
    if (c == '\\') c = '/';
  }
  return ruta;
}

void borra(const std::string& ruta) {
  fs::path archivo;
  std::error_code error;
  if (camino(ruta, archivo)) fs::remove(archivo, error);
}

}  // namespace plataforma
