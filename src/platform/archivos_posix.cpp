// File-system operations on POSIX systems: names are bytes, and must be UTF-8.
#include "archivos.h"
#include "resolucion.h"
#include "utf8.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace plataforma {
namespace {

std::string razon(int error) { return std::generic_category().message(error); }

// Errors that mean the path names nothing, rather than that it cannot be looked at.
bool esAusencia(int error) {
  return error == ENOENT || error == ENOTDIR || error == ENAMETOOLONG || error == ELOOP;
}

// A name that is not UTF-8, readable in a message: other bytes as \xNN.
std::string legible(const std::string& nombre) {
  std::string salida;
  for (unsigned char c : nombre) {
    if (c < 0x80) {
      salida += static_cast<char>(c);
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      salida += hex;
    }
  }
  return salida;
}

struct CierraDirectorio {
  void operator()(DIR* d) const { closedir(d); }
};

}  // namespace

std::string une(const std::string& directorio, const std::string& nombre) {
  return directorio + "/" + nombre;
}

bool listaDirectorio(const std::string& directorio, std::vector<std::string>& nombres,
                     Fallo& fallo) {
  std::unique_ptr<DIR, CierraDirectorio> dir(opendir(directorio.c_str()));
  if (!dir) {
    const int error = errno;  // before the message is built, which may change it
    fallo.texto = "No se ha podido abrir el directorio " + directorio + ": " + razon(error);
    return false;
  }
  for (;;) {
    errno = 0;
    const dirent* entrada = readdir(dir.get());
    if (!entrada) break;
    std::string nombre = entrada->d_name;
    if (nombre == "." || nombre == "..") continue;
    if (!esUtf8(nombre)) {
      fallo.texto = "No se ha podido convertir a UTF-8 el nombre " + legible(nombre) +
                    " del directorio " + directorio + ": " + razon(EILSEQ);
      return false;
    }
    nombres.push_back(std::move(nombre));
  }
  if (errno != 0) {
    const int error = errno;  // before the message is built, which may change it
    fallo.texto = "No se ha podido leer el directorio " + directorio + ": " + razon(error);
    return false;
  }
  return true;
}

bool consultaEstado(const std::string& ruta, Estado& estado, Fallo& fallo) {
  struct stat datos;
  if (stat(ruta.c_str(), &datos) != 0) {
    const int error = errno;
    if (esAusencia(error)) {
      estado = Estado::ausente;
      return true;
    }
    fallo.texto = "No se ha podido consultar el estado de " + ruta + ": " + razon(error);
    return false;
  }
  if (S_ISREG(datos.st_mode)) {
    estado = Estado::archivo;
  } else if (S_ISDIR(datos.st_mode)) {
    estado = Estado::directorio;
  } else {
    estado = Estado::otro;
  }
  return true;
}

std::string rutaDeProyecto(const std::string& valor) { return rutaGenericaDeProyecto(valor); }

Archivo abreArchivo(const std::string& ruta, unsigned long* error) {
  Archivo archivo(std::fopen(ruta.c_str(), "rb"));
  if (!archivo && error) *error = static_cast<unsigned long>(errno);
  return archivo;
}

Apertura abreLectura(const std::string& ruta, Archivo& archivo, std::uint64_t& tamano,
                     unsigned long* error) {
  unsigned long codigo = 0;
  if (error == nullptr) error = &codigo;
  *error = 0;
  // A directory opens here and fails only at the first read; a FIFO would block.
  struct stat datos;
  if (stat(ruta.c_str(), &datos) != 0) {
    *error = static_cast<unsigned long>(errno);
    return esAusencia(errno) ? Apertura::ausente : Apertura::ilegible;
  }
  if (!S_ISREG(datos.st_mode)) return Apertura::ausente;
  tamano = static_cast<std::uint64_t>(datos.st_size);
  archivo = abreArchivo(ruta, error);
  if (archivo) return Apertura::abierto;
  // Deleted since it was looked at, it is as if it had never been there.
  return stat(ruta.c_str(), &datos) != 0 && esAusencia(errno) ? Apertura::ausente
                                                              : Apertura::ilegible;
}

bool camino(const std::string& ruta, std::filesystem::path& resultado) {
  resultado = ruta;
  return true;
}

bool utf8(const std::filesystem::path::string_type& nativo, std::string& resultado) {
  resultado = nativo;
  return true;
}

bool resuelveExistente(const std::string& ruta, std::filesystem::path& resultado) {
#ifdef O_PATH
  // The kernel's own resolution, in three calls: the library's walk reads every component
  // as a possible link, and with thousands of small files that costs more than
  // compressing them. Without /proc the walk does it.
  const int fd = open(ruta.c_str(), O_PATH | O_CLOEXEC);
  if (fd < 0) return false;
  char destino[PATH_MAX];
  const std::string enlace = "/proc/self/fd/" + std::to_string(fd);
  const ssize_t n = readlink(enlace.c_str(), destino, sizeof destino);
  close(fd);
  if (n <= 0 || static_cast<std::size_t>(n) >= sizeof destino || destino[0] != '/') return false;
  resultado = std::filesystem::path(std::string(destino, static_cast<std::size_t>(n)));
  return true;
#else
  (void)ruta;
  (void)resultado;
  return false;
#endif
}

std::size_t leeEn(std::FILE* archivo, std::uint64_t posicion, void* destino, std::size_t n,
                  unsigned long* error) {
  // pread leaves the stream's own position and buffer alone.
  if (error) *error = 0;
  std::size_t leidos = 0;
  while (leidos < n) {
    const ssize_t r = pread(fileno(archivo), static_cast<char*>(destino) + leidos, n - leidos,
                            static_cast<off_t>(posicion + leidos));
    if (r < 0 && errno == EINTR) continue;
    if (r < 0 && error) *error = static_cast<unsigned long>(errno);
    if (r <= 0) break;
    leidos += static_cast<std::size_t>(r);
  }
  return leidos;
}

std::string razonDe(unsigned long error) { return razon(static_cast<int>(error)); }

}  // namespace plataforma
