"""The submissions that revisa's test and the seeds of its fuzz target are made of: a
project file naming its items, a complete delivery of the course's template, and an archive
with exactly the headers comprobador writes."""

import io
import zipfile

FECHA = (2024, 3, 15, 10, 30, 0)

PROYECTO = """<?xml version="1.0" encoding="utf-8"?>
<Project DefaultTargets="Build" xmlns="http://schemas.microsoft.com/developer/msbuild/2003">
  <ItemGroup>
{}  </ItemGroup>
</Project>
"""


def vcxproj(*items):
    return PROYECTO.format("".join(
        f'    <{i.split()[0]} Include="{i.split(maxsplit=1)[1]}" />\n' for i in items))


def completa(info="Ana García\nLuis Pérez\n", extra=None, items=("ClCompile main.cpp",
                                                                 "ClCompile juego.cpp",
                                                                 "ClInclude juego.h")):
    archivos = {
        "Juego/Juego.vcxproj": vcxproj(*items),
        "Juego/Juego.vcxproj.filters": "<Project />\n",
        "Juego/main.cpp": "int main() {}\n",
        "Juego/juego.cpp": '#include "juego.h"\n',
        "Juego/juego.h": "#pragma once\n",
        "Solucion.sln": "sln\n",
        "info.txt": info,
        "images/heroe.png": b"\x89PNG heroe",
        "images/dog.png": b"\x89PNG dog",
    }
    archivos.update(extra or {})
    return archivos


def forma_del_comprobador(archivos):
    """The bytes of an archive with exactly the headers comprobador writes, in the given
    order, made by Python's zipfile: the fingerprint can be copied, it is no signature."""
    salida = io.BytesIO()
    with zipfile.ZipFile(salida, "w") as z:
        for nombre, contenido in archivos:
            info = zipfile.ZipInfo(nombre, (2024, 3, 15, 0, 0, 0))
            info.create_system, info.create_version, info.extract_version = 0, 36, 20
            info.compress_type = zipfile.ZIP_DEFLATED
            z.writestr(info, contenido)
    # zipfile clears the flags it is given and puts permissions into the attributes: the
    # flags become what minizip sets (UTF-8 names, the level-9 bit), the attributes 0.
    datos = bytearray(salida.getvalue())
    for firma, campo, valor in ((b"PK\x03\x04", 6, b"\x02\x08"), (b"PK\x01\x02", 8, b"\x02\x08"),
                                (b"PK\x01\x02", 38, b"\0\0\0\0")):
        i = datos.find(firma)
        while i >= 0:
            datos[i + campo:i + campo + len(valor)] = valor
            i = datos.find(firma, i + 4)
    return bytes(datos)
