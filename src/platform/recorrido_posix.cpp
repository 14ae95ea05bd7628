// The walk's view of folders on POSIX systems: lstat for the kind, stat for what a link
// leads to, device and inode for identity.
#include "recorrido.h"
#include "sistema_posix.h"
#include "utf8.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace plataforma {
namespace {

struct CierraDirectorio {
  void operator()(DIR* d) const { closedir(d); }
};

Clase claseDe(int carpeta, const char* nombre) {
  struct stat datos;
  if (fstatat(carpeta, nombre, &datos, AT_SYMLINK_NOFOLLOW) != 0) return Clase::otro;
  if (S_ISDIR(datos.st_mode)) return Clase::directorio;
  if (S_ISREG(datos.st_mode)) return Clase::archivo;
  if (!S_ISLNK(datos.st_mode) || fstatat(carpeta, nombre, &datos, 0) != 0) return Clase::otro;
  if (S_ISDIR(datos.st_mode)) return Clase::enlaceADirectorio;
  return S_ISREG(datos.st_mode) ? Clase::archivo : Clase::otro;
}

}  // namespace

Resultado<std::vector<Elemento>> listaElementos(const std::string& directorio) {
  std::unique_ptr<DIR, CierraDirectorio> dir(opendir(directorio.c_str()));
  if (!dir) {
    // Read before the message is built: building it may change errno.
    const int error = errno;
    return Fallo{"No se ha podido abrir la carpeta", directorio, razon(error)};
  }
  std::vector<Elemento> elementos;
  for (;;) {
    errno = 0;
    const dirent* entrada = readdir(dir.get());
    if (!entrada) break;
    const std::string nombre = entrada->d_name;
    if (nombre == "." || nombre == "..") continue;
    Elemento elemento;
    elemento.utf8 = esUtf8(nombre);
    elemento.nombre = elemento.utf8 ? nombre : conReemplazos(nombre);
    elemento.clase = claseDe(dirfd(dir.get()), entrada->d_name);
    elementos.push_back(std::move(elemento));
  }
  if (errno != 0) {
    const int error = errno;
    return Fallo{"No se ha podido leer la carpeta", directorio, razon(error)};
  }
  std::sort(elementos.begin(), elementos.end(),
            [](const Elemento& a, const Elemento& b) { return a.nombre < b.nombre; });
  return elementos;
}

Resultado<Identidad> identidadDe(const std::string& ruta) {
  struct stat datos;
  if (stat(ruta.c_str(), &datos) != 0) {
    const int error = errno;
    return Fallo{"No se ha podido consultar el estado de", ruta, razon(error)};
  }
  return Identidad{static_cast<std::uint64_t>(datos.st_dev),
                   static_cast<std::uint64_t>(datos.st_ino)};
}

Resultado<Archivo> creaTemporal() {
  const char* entorno = std::getenv("TMPDIR");
  const std::string carpeta = entorno != nullptr && *entorno != '\0' ? entorno : "/tmp";
  int fd = -1;
#ifdef O_TMPFILE
  // Never linked into any folder: nothing is left even if the process is killed.
  fd = open(carpeta.c_str(), O_TMPFILE | O_RDWR | O_EXCL | O_CLOEXEC, 0600);
#endif
  if (fd < 0) {
    // Where the file system has no such files: named for an instant, then unlinked.
    std::string plantilla = carpeta + "/revisa-XXXXXX";
    fd = mkstemp(plantilla.data());
    if (fd >= 0) unlink(plantilla.c_str());
  }
  const char* que = "No se ha podido crear un archivo temporal en";
  if (fd < 0) {
    const int error = errno;
    return Fallo{que, carpeta, razon(error)};
  }
  Archivo archivo(fdopen(fd, "w+b"));
  if (!archivo) {
    const int error = errno;
    close(fd);
    return Fallo{que, carpeta, razon(error)};
  }
  return archivo;
}

}  // namespace plataforma
