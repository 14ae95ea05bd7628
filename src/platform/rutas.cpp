// Canonical and relative paths, through std::filesystem alike on every system: names
// cross as UTF-8 by u8path and u8string.
#include "archivos.h"
#include "resolucion.h"

#include <filesystem>
#include <system_error>

namespace plataforma {
namespace {

namespace fs = std::filesystem;

// A path that names nothing (a link loop, a name too long) keeps its lexical form: such a
// file does not open, and is left out anyway.
bool canonicaDe(const std::string& ruta, fs::path& resultado, Fallo& fallo) {
  if (resuelveExistente(ruta, resultado)) return true;
  std::error_code error;
  resultado = fs::weakly_canonical(fs::u8path(ruta), error);
  if (!error) return true;
  if (error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory ||
      error == std::errc::filename_too_long || error == std::errc::too_many_symbolic_link_levels) {
    resultado = fs::absolute(fs::u8path(ruta), error).lexically_normal();
    if (!error) return true;
  }
  fallo.texto = "No se ha podido obtener la ruta canónica de " + ruta + ": " + error.message();
  return false;
}

}  // namespace

bool nombreDirectorioActual(std::string& nombre, Fallo& fallo) {
  std::error_code error;
  const fs::path actual = fs::current_path(error);
  if (error) {
    fallo.texto = "No se ha podido obtener el directorio actual: " + error.message();
    return false;
  }
  nombre = actual.filename().u8string();
  return true;
}

bool rutaCanonica(const std::string& ruta, std::string& canonica, Fallo& fallo) {
  fs::path resultado;
  if (!canonicaDe(ruta, resultado, fallo)) return false;
  canonica = resultado.u8string();
  return true;
}

std::string relativaLexica(const std::string& base, const std::string& ruta) {
  return fs::u8path(ruta).lexically_relative(fs::u8path(base)).generic_u8string();
}

void borra(const std::string& ruta) {
  std::error_code error;
  fs::remove(fs::u8path(ruta), error);
}

}  // namespace plataforma
