// Whole-file writing on POSIX systems: fsync, then rename.
#include "escritura.h"
#include "sistema_posix.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace plataforma {
namespace {

// After the rename, the directory entry too is made to last.
void vuelcaDirectorio(const std::string& ruta) {
  std::string carpeta = std::filesystem::path(ruta).parent_path().string();
  if (carpeta.empty()) carpeta = ".";
  const int fd = open(carpeta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

Resultado<void> admiteEscritura(const std::string& ruta) {
  const char* que = "No se puede escribir sobre";
  // Without O_TRUNC nothing changes; O_NONBLOCK keeps a FIFO of that name from blocking.
  const int fd = open(ruta.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    const int error = errno;
    if (error == ENOENT) return {};
    return Fallo{que, ruta, razon(error)};
  }
  struct stat datos;
  const bool regular = fstat(fd, &datos) == 0 && S_ISREG(datos.st_mode);
  close(fd);
  if (!regular) return Fallo{que, ruta, "no es un archivo"};
  return {};
}

std::FILE* creaOculto(const std::string& ruta) { return std::fopen(ruta.c_str(), "wb"); }

int cierraEnDisco(std::FILE* archivo) {
  const bool escrito = std::fflush(archivo) == 0 && fsync(fileno(archivo)) == 0;
  const bool cerrado = std::fclose(archivo) == 0;
  return escrito && cerrado ? 0 : EOF;
}

Resultado<void> sustituye(const std::string& origen, const std::string& destino) {
  if (std::rename(origen.c_str(), destino.c_str()) != 0) {
    const int error = errno;
    return Fallo{"No se ha podido poner en su sitio", destino, razon(error)};
  }
  vuelcaDirectorio(destino);
  return {};
}

}  // namespace plataforma
