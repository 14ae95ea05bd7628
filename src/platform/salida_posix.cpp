// The terminal test and file writing on POSIX systems.
#include "salida.h"
#include "sistema_posix.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace plataforma {

bool errorEsTerminal() { return isatty(STDERR_FILENO) == 1; }

Resultado<void> escribeArchivo(const std::string& ruta, const std::string& contenido) {
  const int fd = open(ruta.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  int error = fd < 0 ? errno : 0;
  for (std::size_t hecho = 0; error == 0 && hecho < contenido.size();) {
    const ssize_t n = write(fd, contenido.data() + hecho, contenido.size() - hecho);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = errno;
    if (n > 0) hecho += static_cast<std::size_t>(n);
  }
  if (fd >= 0 && close(fd) != 0 && error == 0) error = errno;
  if (error == 0) return {};
  return Fallo{"No se ha podido escribir", ruta, razon(error)};
}

}  // namespace plataforma
