// Whole-file writing on Windows: a hidden file flushed to the disk, then MoveFileExW.
#include "escritura.h"
#include "sistema_win32.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace plataforma {
namespace {

// A name without a UTF-16 form names no file: the empty name fails every call it reaches.
std::wstring ancho(const std::string& ruta) {
  std::wstring resultado;
  if (!convierte(ruta, resultado)) resultado.clear();
  return resultado;
}

}  // namespace

Resultado<void> admiteEscritura(const std::string& ruta) {
  const char* que = "No se puede escribir sobre";
  // Opening for writing, without changing anything, meets what a replacement would: the
  // read-only attribute, a directory, a program that shares the file only for reading.
  const HANDLE h = CreateFileW(ancho(ruta).c_str(), GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return {};
    return Fallo{que, ruta, razon(error)};
  }
  const bool disco = GetFileType(h) == FILE_TYPE_DISK;
  CloseHandle(h);
  if (!disco) return Fallo{que, ruta, "no es un archivo"};
  return {};
}

std::FILE* creaOculto(const std::string& ruta) {
  // No other program opens it while it is incomplete.
  const HANDLE h = CreateFileW(ancho(ruta).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_HIDDEN, nullptr);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_BINARY | _O_WRONLY);
  if (fd == -1) {
    CloseHandle(h);
    return nullptr;
  }
  std::FILE* archivo = _fdopen(fd, "wb");
  if (archivo == nullptr) _close(fd);
  return archivo;
}

int cierraEnDisco(std::FILE* archivo) {
  const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(archivo)));
  const bool escrito = std::fflush(archivo) == 0 && FlushFileBuffers(h);
  const bool cerrado = std::fclose(archivo) == 0;
  return escrito && cerrado ? 0 : EOF;
}

Resultado<void> sustituye(const std::string& origen, const std::string& destino) {
  const char* que = "No se ha podido poner en su sitio";
  const std::wstring de = ancho(origen), a = ancho(destino);
  const DWORD atributos = GetFileAttributesW(de.c_str());
  if (atributos == INVALID_FILE_ATTRIBUTES ||
      !SetFileAttributesW(de.c_str(), atributos & ~DWORD{FILE_ATTRIBUTE_HIDDEN})) {
    return Fallo{que, destino, razon(GetLastError())};
  }
  // A scanner that looks at the file just closed holds it for moments; a program that has
  // the old archive open holds it for good, and after about two seconds that is an answer.
  for (int intento = 0;; ++intento) {
    if (MoveFileExW(de.c_str(), a.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return {};
    }
    const DWORD error = GetLastError();
    if ((error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION &&
         error != ERROR_ACCESS_DENIED) ||
        intento == 40) {
      return Fallo{que, destino, razon(error)};
    }
    Sleep(50);
  }
}

}  // namespace plataforma
