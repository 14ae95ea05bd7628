// Holds a file open while the tool runs, as an editor, an antivirus or an archive viewer
// would:
//   retenedor.exe RUTA ACCESO COMPARTIR SEGUNDOS
// RUTA is opened with CreateFileW(RUTA, ACCESO, COMPARTIR, nullptr, OPEN_EXISTING,
// FILE_FLAG_BACKUP_SEMANTICS, nullptr), so a directory can be held too. ACCESO and
// COMPARTIR are hexadecimal, with or without "0x": 0x80010000 is GENERIC_READ | DELETE,
// 0x7 shares reading, writing and deletion, 0 shares nothing. Once the file is open the
// line "listo" is written to standard output and flushed; the handle is then held for
// SEGUNDOS seconds (fractions allowed) and the program exits with 0. When the open fails
// the Windows error code goes to standard error and the exit status is 1; a wrong command
// line gives 2. Under wine both programs must share one prefix, whose wineserver keeps the
// sharing.
#include <cstdio>
#include <cwchar>
#include <memory>
#include <windows.h>

namespace {

struct CierraManejador {
  void operator()(HANDLE h) const { CloseHandle(h); }
};

bool hexadecimal(const wchar_t* texto, DWORD& valor) {
  wchar_t* fin = nullptr;
  const unsigned long leido = std::wcstoul(texto, &fin, 16);
  if (fin == texto || *fin != L'\0') return false;
  valor = static_cast<DWORD>(leido);
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  DWORD acceso = 0, compartir = 0;
  wchar_t* fin = nullptr;
  const double segundos = argc == 5 ? std::wcstod(argv[4], &fin) : -1;
  if (argc != 5 || !hexadecimal(argv[2], acceso) || !hexadecimal(argv[3], compartir) ||
      fin == argv[4] || *fin != L'\0' || segundos < 0) {
    std::fputs("uso: retenedor RUTA ACCESO COMPARTIR SEGUNDOS\n", stderr);
    return 2;
  }
  const HANDLE h = CreateFileW(argv[1], acceso, compartir, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "%lu\n", GetLastError());
    return 1;
  }
  const std::unique_ptr<void, CierraManejador> retenido(h);
  std::puts("listo");
  std::fflush(stdout);
  Sleep(static_cast<DWORD>(segundos * 1000));
  return 0;
}
