// The least work entrega.zip can cost: read every delivered file and raw-deflate it as the
// entries are deflated (level 9, memLevel 8, 32 KiB window, no header), into nothing. No
// CRC, no headers, no output file. Prints the total of deflated bytes.
//
// Usage: limite LIST, run in the solution folder; LIST holds one path per line.
#include <zlib.h>

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "uso: limite LISTA\n");
    return 2;
  }
  static unsigned char entrada[1 << 16], salida[1 << 16];
  z_stream z{};
  if (deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) return 1;
  unsigned long long total = 0;
  std::ifstream lista(argv[1]);
  std::string ruta;
  while (std::getline(lista, ruta)) {
    const int fd = open(ruta.c_str(), O_RDONLY);
    if (fd < 0) {
      std::perror(ruta.c_str());
      return 1;
    }
    deflateReset(&z);
    int flush = Z_NO_FLUSH;
    do {
      const ssize_t n = read(fd, entrada, sizeof entrada);
      if (n < 0) {
        std::perror(ruta.c_str());
        return 1;
      }
      if (n == 0) flush = Z_FINISH;
      z.next_in = entrada;
      z.avail_in = static_cast<uInt>(n);
      do {
        z.next_out = salida;
        z.avail_out = sizeof salida;
        deflate(&z, flush);
        total += sizeof salida - z.avail_out;
      } while (z.avail_out == 0);
    } while (flush != Z_FINISH);
    close(fd);
  }
  deflateEnd(&z);
  std::printf("%llu\n", total);
  return 0;
}
