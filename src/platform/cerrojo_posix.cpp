// The run lock on POSIX systems: flock on the project directory itself, so that no file
// of its own is ever made.
#include "cerrojo.h"
#include "sistema_posix.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace plataforma {

Cerrojo::~Cerrojo() {
  if (asa >= 0) close(static_cast<int>(asa));
}

Resultado<void> Cerrojo::toma() {
  const int fd = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    // What the scan of the same directory would say next.
    const int error = errno;
    return Fallo{"No se ha podido abrir el directorio", ".", razon(error)};
  }
  asa = fd;
  while (flock(fd, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    const int error = errno;
    return Fallo{"No se ha podido reservar el directorio", ".", razon(error)};
  }
  return {};
}

}  // namespace plataforma
