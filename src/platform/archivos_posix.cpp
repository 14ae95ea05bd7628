// File-system operations on POSIX systems: names are bytes, and must be UTF-8.
#include "archivos.h"
#include "resolucion.h"
#include "sistema_posix.h"
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

Resultado<std::vector<std::string>> listaDirectorio(const std::string& directorio) {
  std::unique_ptr<DIR, CierraDirectorio> dir(opendir(directorio.c_str()));
  if (!dir) {
    const int error = errno;  // before the message is built, which may change it
    return Fallo{"No se ha podido abrir el directorio", directorio, razon(error)};
  }
  std::vector<std::string> nombres;
  for (;;) {
    errno = 0;
    const dirent* entrada = readdir(dir.get());
    if (!entrada) break;
    std::string nombre = entrada->d_name;
    if (nombre == "." || nombre == "..") continue;
    if (!esUtf8(nombre)) {
      return Fallo{
          "No se ha podido convertir a UTF-8 el nombre " + legible(nombre) + " del directorio",
          directorio, razon(EILSEQ)};
    }
    nombres.push_back(std::move(nombre));
  }
  if (errno != 0) {
    const int error = errno;  // before the message is built, which may change it
    return Fallo{"No se ha podido leer el directorio", directorio, razon(error)};
  }
  return nombres;
}

Resultado<Estado> consultaEstado(const std::string& ruta) {
  struct stat datos;
  if (stat(ruta.c_str(), &datos) != 0) {
    const int error = errno;
    if (esAusencia(error)) return Estado::ausente;
    return Fallo{"No se ha podido consultar el estado de", ruta, razon(error)};
  }
  if (S_ISREG(datos.st_mode)) return Estado::archivo;
  if (S_ISDIR(datos.st_mode)) return Estado::directorio;
  return Estado::otro;
}

std::string rutaDeProyecto(const std::string& valor) { return rutaGenericaDeProyecto(valor); }

Resultado<Archivo> abreArchivo(const std::string& ruta) {
  Archivo archivo(std::fopen(ruta.c_str(), "rb"));
  if (!archivo) {
    const int error = errno;
    return Fallo{"No se ha podido abrir", ruta, razon(error)};
  }
  return archivo;
}

Resultado<std::optional<Abierto>> abreLectura(const std::string& ruta) {
  // A directory opens here and fails only at the first read; a FIFO would block.
  struct stat datos;
  if (stat(ruta.c_str(), &datos) != 0) {
    const int error = errno;
    if (esAusencia(error)) return std::optional<Abierto>();
    return Fallo{"No se ha podido abrir", ruta, razon(error)};
  }
  if (!S_ISREG(datos.st_mode)) return std::optional<Abierto>();
  Resultado<Archivo> archivo = abreArchivo(ruta);
  if (archivo) {
    return std::optional<Abierto>(
        Abierto{std::move(*archivo), static_cast<std::uint64_t>(datos.st_size)});
  }
  // Deleted since it was looked at, it is as if it had never been there.
  if (stat(ruta.c_str(), &datos) != 0 && esAusencia(errno)) return std::optional<Abierto>();
  return std::move(archivo).error();
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

Resultado<std::size_t> leeEn(std::FILE* archivo, std::uint64_t posicion, void* destino,
                             std::size_t n) {
  // pread leaves the stream's own position and buffer alone, and serves threads side by side.
  std::size_t leidos = 0;
  while (leidos < n) {
    const ssize_t r = pread(fileno(archivo), static_cast<char*>(destino) + leidos, n - leidos,
                            static_cast<off_t>(posicion + leidos));
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) {
      const int error = errno;
      return Fallo{"No se ha podido leer", "", razon(error)};
    }
    if (r == 0) break;
    leidos += static_cast<std::size_t>(r);
  }
  return leidos;
}

}  // namespace plataforma
