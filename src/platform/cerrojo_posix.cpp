// The run lock on POSIX systems: flock on the project directory itself, so that no file
// of its own is ever made.
#include "cerrojo.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <system_error>
#include <unistd.h>

namespace plataforma {

Cerrojo::~Cerrojo() {
  if (asa >= 0) close(static_cast<int>(asa));
}

bool Cerrojo::toma(Fallo& fallo) {
  const int fd = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    // What the scan of the same directory would say next.
    fallo.texto =
        "No se ha podido abrir el directorio .: " + std::generic_category().message(errno);
    return false;
  }
  asa = fd;
  while (flock(fd, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    fallo.texto =
        "No se ha podido reservar el directorio .: " + std::generic_category().message(errno);
    return false;
  }
  return true;
}

}  // namespace plataforma
