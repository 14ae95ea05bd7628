#!/usr/bin/env python3
"""The seeds of revisa's fuzz target, written into the folder given: small submissions made
with Python's zipfile (a complete delivery stored and deflated, one in the checker's form,
UTF-8 and code page 437 names, files the checker leaves out, code full of the characters
markup is made of, an empty archive, zeros that deflate a thousand times, a campus archive
holding two), and a ZIP64 one written by hand, since zipfile writes ZIP64 records only past
4 GiB. The same bytes every time: fixed dates, entries in a fixed order."""

import io
import os
import struct
import sys
import zipfile
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests"))
from entregas_de_prueba import FECHA, completa, forma_del_comprobador  # noqa: E402

def con_zipfile(archivos, metodo):
    salida = io.BytesIO()
    with zipfile.ZipFile(salida, "w") as z:
        for nombre, contenido in archivos.items():
            z.writestr(zipfile.ZipInfo(nombre, FECHA), contenido, metodo)
    return salida.getvalue()


def zip64(archivos):
    """Every size and offset in the ZIP64 extra field, with the ZIP64 end record and its
    locator, as a writer that does not know the sizes in advance leaves them."""
    fecha = (FECHA[0] - 1980) << 9 | FECHA[1] << 5 | FECHA[2]
    hora = FECHA[3] << 11 | FECHA[4] << 5 | FECHA[5] // 2
    locales, centrales = b"", b""
    for nombre, contenido in archivos.items():
        contenido = contenido.encode() if isinstance(contenido, str) else contenido
        comprimido = zlib.compressobj(9, zlib.DEFLATED, -15)
        datos = comprimido.compress(contenido) + comprimido.flush()
        crc = zlib.crc32(contenido)
        n = nombre.encode()
        extra_local = struct.pack("<HHQQ", 1, 16, len(contenido), len(datos))
        extra_central = struct.pack("<HHQQQ", 1, 24, len(contenido), len(datos), len(locales))
        centrales += struct.pack("<4sHHHHHHIIIHHHHHII", b"PK\x01\x02", 45, 45, 0, 8, hora, fecha,
                                 crc, 0xFFFFFFFF, 0xFFFFFFFF, len(n), len(extra_central), 0, 0, 0,
                                 0, 0xFFFFFFFF) + n + extra_central
        locales += struct.pack("<4sHHHHHIIIHH", b"PK\x03\x04", 45, 0, 8, hora, fecha, crc,
                               0xFFFFFFFF, 0xFFFFFFFF, len(n), len(extra_local)) + n + \
            extra_local + datos
    total = len(archivos)
    fin64 = struct.pack("<4sQHHIIQQQQ", b"PK\x06\x06", 44, 45, 45, 0, 0, total, total,
                        len(centrales), len(locales))
    localizador = struct.pack("<4sIQI", b"PK\x06\x07", 0, len(locales) + len(centrales), 1)
    fin = struct.pack("<4sHHHHIIH", b"PK\x05\x06", 0, 0, 0xFFFF, 0xFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0)
    return locales + centrales + fin64 + localizador + fin


def semillas():
    a = completa()
    orden = [(n, a[n]) for n in ("Juego/Juego.vcxproj", "Solucion.sln", "Juego/juego.cpp",
                                 "Juego/main.cpp", "Juego/juego.h", "Juego/Juego.vcxproj.filters",
                                 "info.txt", "images/heroe.png")]
    # Non-ASCII names: zipfile sets the UTF-8 flag for them.
    utf8 = con_zipfile(completa(extra={"Juego/Diseño.cpp": "// ñ\n", "info.txt": "Iñaki Müller\n"},
                                items=("ClCompile main.cpp", "ClCompile juego.cpp",
                                       "ClCompile Diseño.cpp", "ClInclude juego.h")),
                       zipfile.ZIP_DEFLATED)
    # The same name's bytes without the flag: code page 437, as old Windows zippers write it.
    cp437 = con_zipfile(completa(extra={"Juego/DiseXo.cpp": "// n\n"}), zipfile.ZIP_STORED)
    cp437 = cp437.replace(b"Juego/DiseXo.cpp", b"Juego/Dise\xa4o.cpp")
    con_sobrantes = completa(extra={"Juego/x64/Debug/main.obj": b"obj" * 20,
                                    "images/dog.png": b"\x89PNG dog", "../fuera.txt": "fuera\n"})
    campus = io.BytesIO()
    with zipfile.ZipFile(campus, "w", zipfile.ZIP_STORED) as z:
        z.writestr(zipfile.ZipInfo("Ana López_1_assignsubmission_file_/entrega.zip", FECHA),
                   forma_del_comprobador(orden))
        z.writestr(zipfile.ZipInfo("Luis_2_assignsubmission_file_/Solucion.ZIP", FECHA),
                   con_zipfile(completa(), zipfile.ZIP_DEFLATED), zipfile.ZIP_DEFLATED)
    # Code that the comparison's page shows, with every character that markup is made of.
    codigo = completa(extra={"Juego/main.cpp": 'int main() {\n  const char* s = "<b>\'&\'</b>";'
                                               '\n  return s[0] < 2 && s[1] > 1;\n}\n'})
    # A megabyte of zeros: about a thousand times its deflated size, as a blank image is.
    bomba = con_zipfile({"ceros.bin": bytes(1 << 20)}, zipfile.ZIP_DEFLATED)
    return {
        "bomba.zip": bomba,
        "completa-guardada.zip": con_zipfile(completa(), zipfile.ZIP_STORED),
        "completa-comprimida.zip": con_zipfile(completa(), zipfile.ZIP_DEFLATED),
        "del-comprobador.zip": forma_del_comprobador(orden),
        "zip64.zip": zip64(completa()),
        "nombres-utf8.zip": utf8,
        "nombres-cp437.zip": cp437,
        "sobrantes.zip": con_zipfile(con_sobrantes, zipfile.ZIP_DEFLATED),
        "vacia.zip": con_zipfile({}, zipfile.ZIP_STORED),
        "campus.zip": campus.getvalue(),
        "codigo.zip": con_zipfile(codigo, zipfile.ZIP_STORED),
    }


def main():
    destino = sys.argv[1]
    os.makedirs(destino, exist_ok=True)
    for nombre, datos in semillas().items():
        with open(os.path.join(destino, nombre), "wb") as f:
            f.write(datos)


if __name__ == "__main__":
    main()
