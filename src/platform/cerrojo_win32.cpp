// The run lock on Windows: a named mutex made from the canonical project folder. The
// system gives it up when its process ends, however it ends.
#include "cerrojo.h"
#include "sistema_win32.h"

#include <cstdio>
#include <memory>
#include <string>
#include <windows.h>

namespace plataforma {
namespace {

struct CierraAsa {
  void operator()(HANDLE h) const { CloseHandle(h); }
};

// The folder as the system resolves it, so that every way of naming it gives one name.
Resultado<std::wstring> carpetaActual() {
  std::unique_ptr<void, CierraAsa> directorio(
      CreateFileW(L".", 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (directorio.get() == INVALID_HANDLE_VALUE) {
    directorio.release();
    return Fallo{"No se ha podido abrir el directorio", ".", razon(GetLastError())};
  }
  std::wstring carpeta;
  for (DWORD largo = MAX_PATH;;) {
    carpeta.resize(largo);
    const DWORD n = GetFinalPathNameByHandleW(directorio.get(), carpeta.data(), largo,
                                              FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0) {
      return Fallo{"No se ha podido obtener la ruta canónica de", ".", razon(GetLastError())};
    }
    if (n < largo) {
      carpeta.resize(n);
      break;
    }
    largo = n + 1;
  }
  // Letter case never tells two folders apart here.
  CharUpperBuffW(carpeta.data(), static_cast<DWORD>(carpeta.size()));
  return carpeta;
}

// Object names may not hold a backslash past the namespace and are short: the folder goes
// in as a 64-bit FNV-1a hash of its UTF-16 name.
std::wstring nombreDe(const std::wstring& carpeta) {
  unsigned long long hash = 0xcbf29ce484222325ull;
  for (const wchar_t c : carpeta) {
    for (const unsigned byte : {static_cast<unsigned>(c) & 0xFFu, static_cast<unsigned>(c) >> 8}) {
      hash ^= byte;
      hash *= 0x100000001b3ull;
    }
  }
  wchar_t cifras[17];
  std::swprintf(cifras, 17, L"%016llx", hash);
  return std::wstring(L"Local\\comprobador-") + cifras;
}

}  // namespace

Cerrojo::~Cerrojo() {
  if (asa == -1) return;
  const HANDLE mutex = reinterpret_cast<HANDLE>(asa);
  ReleaseMutex(mutex);
  CloseHandle(mutex);
}

Resultado<void> Cerrojo::toma() {
  Resultado<std::wstring> carpeta = carpetaActual();
  if (!carpeta) return std::move(carpeta).error();
  std::unique_ptr<void, CierraAsa> mutex(CreateMutexW(nullptr, FALSE, nombreDe(*carpeta).c_str()));
  if (!mutex) return Fallo{"No se ha podido reservar el directorio", ".", razon(GetLastError())};
  // An abandoned mutex is one whose run died holding it: it is ours now all the same.
  const DWORD espera = WaitForSingleObject(mutex.get(), INFINITE);
  if (espera != WAIT_OBJECT_0 && espera != WAIT_ABANDONED) {
    return Fallo{"No se ha podido reservar el directorio", ".", razon(GetLastError())};
  }
  asa = reinterpret_cast<std::intptr_t>(mutex.release());
  return {};
}

}  // namespace plataforma
