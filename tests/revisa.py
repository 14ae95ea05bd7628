#!/usr/bin/env python3
"""revisa over one corpus of submissions, each case's input made beside the row it must give:
archives the built comprobador wrote in generated trees (flat-colour sprites among them),
hand-made ones (Python's zipfile, zip, and field by field with struct), damaged, renamed,
unsafe, encrypted, at the bound on entries, info.txt in several encodings, names in code page
437 or with control characters, text that a spreadsheet or a page would take for a formula or
markup, a loop of links, names that are no UTF-8 and folders that cannot be read, and a campus
archive holding several submissions and entries of its own that fail its checks; the reader's
own cases (every kind of damage and bound) are rows of tests/lector_test.cpp. The whole revision.csv is compared, then the summary,
the exit status, the page's escaping and the failures that end with status 2; with
--chromium, the page is rendered by headless Chromium as well. With --wine, REVISA is
revisa.exe, run through scripts/wine.sh over the same corpus (without its links, names that
are no UTF-8 and permission bits) to the same CSV, and started as from the Explorer (a console
of its own) beside its input; the failures named in the system's words are left to the Linux
run."""

import csv as lector_csv
import datetime
import io
import os
import random
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import zipfile
import zlib

from entregas_de_prueba import FECHA, completa, forma_del_comprobador, vcxproj

REVISA, COMPROBADOR = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
CHROMIUM = "--chromium" in sys.argv
WINE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts", "wine.sh")
DELANTE = [WINE] if "--wine" in sys.argv else []
# Links, names that are no UTF-8 and permission bits are the POSIX walk's: under wine the
# corpus goes without them.
POSIX = not DELANTE
# Root reads any folder: the main run is then made as nobody, for whom permission bits apply.
COMO_NADIE = (["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"]
              if POSIX and os.getuid() == 0 and shutil.which("setpriv") else [])
CERRADAS = POSIX and (os.getuid() != 0 or bool(COMO_NADIE))

HOY = datetime.date.today().isoformat()
def arbol(raiz, archivos):
    """Writes {path: bytes or str} below `raiz`; gives the project folder."""
    for ruta, contenido in archivos.items():
        destino = os.path.join(raiz, ruta)
        os.makedirs(os.path.dirname(destino), exist_ok=True)
        with open(destino, "wb") as f:
            f.write(contenido.encode() if isinstance(contenido, str) else contenido)
    return os.path.join(raiz, "Juego")


def del_comprobador(tmp, nombre, archivos, proyecto="Juego"):
    """entrega.zip as the built comprobador writes it for that tree, run in the folder
    `proyecto` (the tree's "Juego/" is moved there)."""
    raiz = os.path.join(tmp, "arboles", nombre)
    arbol(raiz, {proyecto + k[5:] if k.startswith("Juego/") else k: v
                 for k, v in archivos.items()})
    carpeta = os.path.join(raiz, proyecto)
    subprocess.run([COMPROBADOR], cwd=carpeta, check=True, capture_output=True)
    return os.path.join(carpeta, "entrega.zip")


def con_zipfile(destino, archivos, fecha=FECHA):
    os.makedirs(os.path.dirname(destino), exist_ok=True)
    with zipfile.ZipFile(destino, "w", zipfile.ZIP_DEFLATED) as z:
        for nombre, contenido in archivos.items():
            z.writestr(zipfile.ZipInfo(nombre, fecha), contenido, zipfile.ZIP_DEFLATED)


def con_zip(tmp, destino, archivos, opciones=()):
    """The zip program over a tree whose files all carry FECHA."""
    raiz = os.path.join(tmp, "zip", os.path.basename(destino))
    arbol(raiz, archivos)
    marca = datetime.datetime(*FECHA).timestamp()
    for carpeta, _, nombres in os.walk(raiz):
        for n in nombres:
            os.utime(os.path.join(carpeta, n), (marca, marca))
    os.makedirs(os.path.dirname(destino), exist_ok=True)
    # Named one by one in byte order: a folder's listing order is the file system's.
    nombres = sorted((os.path.relpath(os.path.join(c, n), raiz) for c, _, ns in os.walk(raiz)
                      for n in ns), key=os.fsencode)
    subprocess.run(["zip", "-qD", *opciones, os.path.abspath(destino), *nombres], cwd=raiz,
                   check=True)


def con_su_forma(destino, archivos):
    open(destino, "wb").write(forma_del_comprobador(archivos))


DOS = ((FECHA[0] - 1980) << 9 | FECHA[1] << 5 | FECHA[2],
       FECHA[3] << 11 | FECHA[4] << 5 | FECHA[5] // 2)


def deflate(contenido):
    c = zlib.compressobj(9, zlib.DEFLATED, -zlib.MAX_WBITS)
    return c.compress(contenido) + c.flush()


def entrada(nombre, contenido=b"", metodo=8, **cambios):
    """One entry for a_mano: its record's fields as the content gives them, unless `cambios`
    says otherwise; `local` changes the local header alone."""
    nombre = nombre.encode() if isinstance(nombre, str) else nombre
    contenido = contenido.encode() if isinstance(contenido, str) else contenido
    datos = deflate(contenido) if metodo == 8 else contenido
    campos = {"nombre": nombre, "datos": datos, "metodo": metodo, "crc": zlib.crc32(contenido),
              "indicadores": 0x800 if max(nombre, default=0) >= 0x80 else 0,
              "comprimido": len(datos), "descomprimido": len(contenido), "local": {}}
    campos.update(cambios)
    return campos


def a_mano(destino, entradas):
    """An archive written field by field: whatever its entries say, true or not."""
    cuerpo, central = bytearray(), bytearray()
    for e in entradas:
        c = {**e, **e["local"]}
        central += struct.pack("<4s6H3L5H2L", b"PK\1\2", 20, 20, e["indicadores"], e["metodo"],
                               DOS[1], DOS[0], e["crc"], e["comprimido"], e["descomprimido"],
                               len(e["nombre"]), 0, 0, 0, 0, 0, len(cuerpo)) + e["nombre"]
        cuerpo += struct.pack("<4s5H3L2H", b"PK\3\4", 20, c["indicadores"], c["metodo"], DOS[1],
                              DOS[0], c["crc"], c["comprimido"], c["descomprimido"],
                              len(c["nombre"]), 0) + c["nombre"] + e["datos"]
    fin = struct.pack("<4s4H2LH", b"PK\5\6", 0, 0, len(entradas), len(entradas), len(central),
                      len(cuerpo), 0)
    os.makedirs(os.path.dirname(destino), exist_ok=True)
    with open(destino, "wb") as f:
        f.write(cuerpo + central + fin)


def con_registro_repetido(origen, destino):
    """`origen` with its first central record named twice: two entries that share their
    bytes, as no writer makes them."""
    datos = open(origen, "rb").read()
    fin = datos.rindex(b"PK\5\6")
    cuantas, largo, inicio = struct.unpack_from("<H2L", datos, fin + 10)
    n, e, c = struct.unpack_from("<3H", datos, inicio + 28)
    registro = datos[inicio:inicio + 46 + n + e + c]
    final = bytearray(datos[fin:])
    struct.pack_into("<2H L", final, 8, cuantas + 1, cuantas + 1, largo + len(registro))
    open(destino, "wb").write(datos[:fin] + registro + final)


RARO = "No es un archivo: es un enlace roto, un dispositivo o una tubería."
SIN_PROYECTO = ("El programa no se está ejecutando en el directorio de un proyecto de Visual "
                "Studio (no se encuentra el .vcxproj).")
SIN_IMAGENES = 'No se encuentra el directorio ""images"" de la plantilla con las imágenes.'
SIN_INFO = ("Falta el archivo info.txt con el nombre de los autores e información de las "
            "funcionalidades opcionales implementadas.")
OTRO = "No lo ha empaquetado el comprobador: la entrada {} la ha escrito otro programa ({})."
INSEGURO = ("La entrada {} tiene un nombre inseguro (absoluto, con .., con letra de unidad o con "
            "\\), y no se ha seguido.\n")
DANADO = "El archivo ZIP está dañado: "
CORRECTA = f"correcta;sí;{HOY};Ana García / Luis Pérez;Juego;2;1;1;"
PLANTILLA = ("Imágenes de la plantilla, que el comprobador no entrega (1 archivo, 8 bytes): "
             "images/dog.png.\n")


def otro_programa(version, entrada="Juego/Juego.vcxproj"):
    """The last finding of an archive that another program wrote."""
    return OTRO.format(entrada, f"versión {version}; el comprobador pone 0x0024")


def no_revisable(razon, fecha=""):
    return f"no revisable;no;{fecha};;;;;;{razon}"


def bmp(ancho, alto, pinta):
    """A 24-bit BMP whose pixel (x, y) is `pinta(x, y)`, an RGB triple."""
    fila = (ancho * 3 + 3) // 4 * 4
    pixeles = bytearray()
    for y in range(alto):
        linea = bytearray()
        for x in range(ancho):
            r, g, b = pinta(x, y)
            linea += bytes((b, g, r))
        pixeles += linea + bytes(fila - len(linea))
    return (b"BM" + struct.pack("<IHHI", 54 + len(pixeles), 0, 0, 54) +
            struct.pack("<IiiHHIIiiII", 40, ancho, alto, 1, 24, 0, len(pixeles), 2835, 2835, 0,
                        0) + bytes(pixeles))


def sprites():
    """Game sprites as students draw them, a few shapes in flat colours on a plain one, 100 KB
    each, 200 of them; and a blank 1920×1080 background of 6 MB. Such images deflate hundreds
    of times, a blank one a thousand."""
    imagenes = {}
    for n in range(200):
        fondo, color = (255, 0, 255), ((n * 37) % 256, (n * 91) % 256, 128)
        cx, cy, radio = 40 + n % 100, 30 + n % 50, 12 + n % 20
        imagenes[f"images/sprite{n:03}.bmp"] = bmp(
            188, 180, lambda x, y: color if (x - cx) ** 2 + (y - cy) ** 2 < radio ** 2 or
            (n % 3 == 0 and 100 < x < 150 and 100 < y < 140) else fondo)
    imagenes["images/fondo.bmp"] = bmp(1920, 1080, lambda x, y: (40, 90, 200))
    return imagenes


class Corpus:
    """The folder of submissions revisa is run over, each case's input made beside the row it
    must give (without its participant, which a folder outside the campus's names lacks)."""

    def __init__(self, tmp):
        self.tmp, self.entregas = tmp, os.path.join(tmp, "entregas")
        self.filas = []

    def ruta(self, nombre):
        destino = os.path.join(self.entregas, nombre)
        os.makedirs(os.path.dirname(destino), exist_ok=True)
        return destino

    def fila(self, entrega, resto):
        self.filas.append(f";;{entrega};{resto}")

    def pon(self, origen, nombre, resto):
        shutil.copy(origen, self.ruta(nombre))
        self.fila(nombre, resto)

    def comprobador(self, nombre, archivos, resto, proyecto="Juego"):
        """What the built comprobador packs of `archivos`, run in the folder `proyecto`."""
        self.pon(del_comprobador(self.tmp, nombre.split("/")[0], archivos, proyecto), nombre,
                 resto)


def corpus(tmp):
    c = Corpus(tmp)
    buena = del_comprobador(tmp, "buena", completa())
    c.pon(buena, "01 Ana/entrega.zip", CORRECTA)
    c.comprobador("02 Sin referencia/entrega.zip",
                  completa(extra={"Juego/extra.cpp": "// extra\n"}),
                  f"con avisos;sí;{HOY};Ana García / Luis Pérez;Juego;3;1;1;"
                  "El proyecto no hace referencia al archivo extra.cpp.")
    c.comprobador("03 Ansi/ENTREGA.ZIP",
                  completa(info="Iñaki Müller\r\nSofía Núñez\r\n".encode("cp1252")),
                  f"correcta;sí;{HOY};Iñaki Müller / Sofía Núñez;Juego;2;1;1;")
    c.comprobador("04 Utf16/entrega.zip", completa(
        info="\ufeffJosé Ruiz\r\n\r\nMarta Sáez\r\nPablo\r\nCuarto\r\n".encode("utf-16-le")),
        f"correcta;sí;{HOY};José Ruiz / Marta Sáez / Pablo;Juego;2;1;1;")
    c.comprobador("05 Cruce/entrega.zip", completa(items=(
        "ClCompile main.cpp", "ClCompile juego.cpp", "ClCompile falta.cpp",
        "ClCompile ..\\Solucion.sln", "ClInclude juego.h", "ClInclude otra.h")),
        f'con errores;sí;{HOY};Ana García / Luis Pérez;Juego;2;1;1;"'
        "El archivo falta.cpp al que hace referencia el proyecto no existe.\n"
        "El archivo ..\\Solucion.sln al que hace referencia el proyecto no está ubicado en su "
        "directorio.\n"
        'La cabecera otra.h a la que hace referencia el proyecto no existe."')

    # The whole solution folder zipped by hand: what the checker leaves out is listed.
    con_zipfile(c.ruta("06 A mano/Solucion.zip"), {f"Solucion/{k}": v for k, v in completa(extra={
        ".vs/Solucion/v17/.suo": b"suo" * 100, "Juego/x64/Debug/Juego.exe": b"MZ" + b"\0" * 500,
        "Juego/x64/Debug/main.obj": b"obj" * 50, "images/animate.bmp": b"BM anim"}).items()})
    c.fila("06 A mano/Solucion.zip",
           'con avisos;no;2024-03-15;Ana García / Luis Pérez;Juego;2;1;1;"'
           "Imágenes de la plantilla, que el comprobador no entrega (2 archivos, 15 bytes): "
           "Solucion/images/dog.png, Solucion/images/animate.bmp.\n"
           "Archivos que el comprobador no entrega (3 archivos, 952 bytes): "
           "Solucion/.vs/Solucion/v17/.suo, Solucion/Juego/x64/Debug/Juego.exe, "
           "Solucion/Juego/x64/Debug/main.obj.\n"
           + otro_programa("0x0314", "Solucion/Juego/Juego.vcxproj") + '"')
    # Without a solution the checker looks for no images, and says so; the student's image is
    # left out too.
    sin_sln = completa()
    del sin_sln["Solucion.sln"], sin_sln["info.txt"]
    con_zip(tmp, c.ruta("07 Sin solucion.zip"), sin_sln)
    c.fila("07 Sin solucion.zip", 'con errores;no;2024-03-15;;Juego;2;1;0;"'
           "No se encuentra la solución del proyecto.\n" + SIN_INFO + "\n" + SIN_IMAGENES + "\n"
           + PLANTILLA + "Archivos que el comprobador no entrega (1 archivo, 10 bytes): "
           "images/heroe.png.\n" + otro_programa("0x031E") + '"')
    con_zipfile(c.ruta("08 Ilegible.zip"),
                completa(extra={"Juego/Juego.vcxproj": "<Project><ItemGroup></Project>"}))
    c.fila("08 Ilegible.zip", 'con errores;no;2024-03-15;Ana García / Luis Pérez;Juego;2;1;1;"'
           "Error al procesar el archivo del proyecto.\n" + PLANTILLA + otro_programa("0x0314")
           + '"')
    con_zipfile(c.ruta("09 Fuera.zip"), completa(extra={
        "../fuera.txt": "fuera\n", "C:/Windows/x.txt": "x\n", "Juego/..": "sube\n"}))
    c.fila("09 Fuera.zip", 'con errores;no;2024-03-15;Ana García / Luis Pérez;Juego;2;1;1;"'
           + INSEGURO.format("../fuera.txt") + INSEGURO.format("C:/Windows/x.txt")
           + INSEGURO.format("Juego/..") + PLANTILLA + otro_programa("0x0314") + '"')
    con_zipfile(c.ruta("10 Dos proyectos.zip"), completa(extra={
        "Otro/Otro.vcxproj": vcxproj(), "Juego/Viejo/Viejo.vcxproj": vcxproj()}))
    c.fila("10 Dos proyectos.zip",
           'con avisos;no;2024-03-15;Ana García / Luis Pérez;Juego;2;1;1;"'
           "Hay proyectos en varias carpetas: Juego/, Otro/, Juego/Viejo/; se revisa Juego/.\n"
           + PLANTILLA + "Archivos que el comprobador no entrega (2 archivos, 344 bytes): "
           "Otro/Otro.vcxproj, Juego/Viejo/Viejo.vcxproj.\n" + otro_programa("0x0314") + '"')

    # A checker-made archive with one byte changed; every other kind of damage is a row of the
    # reader's own test.
    datos = bytearray(open(buena, "rb").read())
    datos[60] ^= 0xFF
    open(c.ruta("11 Byte cambiado.zip"), "wb").write(datos)
    c.fila("11 Byte cambiado.zip", no_revisable(
        "El archivo ZIP está dañado: los datos comprimidos de la entrada Juego/Juego.vcxproj no "
        "son válidos.", HOY))
    open(c.ruta("13 Rar.zip"), "wb").write(b"Rar!\x1a\x07\x00" + b"\x00" * 200)
    c.fila("13 Rar.zip", no_revisable("No es un archivo ZIP."))
    # Flat-colour images deflate hundreds to one, a blank one a thousand: no bomb, content.
    c.comprobador("14 Sprites/entrega.zip", completa(extra=sprites()),
                  f"correcta;sí;{HOY};Ana García / Luis Pérez;Juego;2;1;202;")
    con_zip(tmp, c.ruta("15 Cifrada.zip"), completa(), ("-P", "clave"))
    c.fila("15 Cifrada.zip", no_revisable("La entrada Juego/Juego.vcxproj está cifrada.",
                                          "2024-03-15"))
    open(c.ruta("no es una entrega.txt"), "w").write("nada\n")
    a = completa()
    orden = [(n, a[n]) for n in ["Juego/Juego.vcxproj", "Solucion.sln", "Juego/juego.cpp",
                                 "Juego/main.cpp", "Juego/juego.h", "Juego/Juego.vcxproj.filters",
                                 "info.txt", "images/heroe.png"]]
    con_su_forma(c.ruta("16 Imitada.zip"), orden)
    c.fila("16 Imitada.zip", "correcta;sí;2024-03-15;Ana García / Luis Pérez;Juego;2;1;1;")
    # Of the checker's form, but the checker writes no archive without info.txt.
    con_su_forma(c.ruta("17 Imitada sin info.zip"), [e for e in orden if e[0] != "info.txt"])
    c.fila("17 Imitada sin info.zip", 'con errores;no;2024-03-15;;Juego;2;1;1;"' + SIN_INFO +
           "\nNo lo ha empaquetado el comprobador: sin proyecto, solución e info.txt no escribe "
           'ningún archivo."')
    # A name without the UTF-8 flag is in code page 437, as old Windows zippers write it.
    cp437 = c.ruta("18 Cp437.zip")
    con_zipfile(cp437, completa(extra={"Juego/DiseXo.cpp": "// ñ\n"}, items=(
        "ClCompile main.cpp", "ClCompile juego.cpp", "ClCompile Diseño.cpp",
        "ClInclude juego.h")))
    datos = open(cp437, "rb").read().replace(b"Juego/DiseXo.cpp", b"Juego/Dise\xa4o.cpp")
    open(cp437, "wb").write(datos)
    c.fila("18 Cp437.zip", 'con avisos;no;2024-03-15;Ana García / Luis Pérez;Juego;3;1;1;"'
           + PLANTILLA + otro_programa("0x0314") + '"')

    # A loop of links beside a submission: the walk enters each folder once and follows
    # no link to a folder.
    c.pon(buena, "19 Bucle/entrega.zip", CORRECTA)
    if POSIX:
        os.symlink(".", os.path.join(c.entregas, "19 Bucle", "a"))
        os.symlink(".", os.path.join(c.entregas, "19 Bucle", "b"))

    # What a student writes is text in a spreadsheet, no formula whatever it starts with: a
    # leading "'" keeps a cell from being one, and quotes are doubled inside the field.
    c.comprobador("20 Formula/entrega.zip", completa(
        info='=HYPERLINK("http://x.invalid/?"&A2,"Ana")\nLuis Pérez\n'),
        f'correcta;sí;{HOY};"\'=HYPERLINK(""http://x.invalid/?""&A2,""Ana"") / Luis Pérez";'
        "'=Juego;2;1;1;", "=Juego")
    for numero, signo in (("21 Mas", "+"), ("22 Arroba", "@"), ("23 Menos", "-")):
        c.comprobador(numero + "/entrega.zip", completa(),
                      f"correcta;sí;{HOY};Ana García / Luis Pérez;'{signo}Juego;2;1;1;",
                      signo + "Juego")
    # ... and text in the page, never markup.
    c.comprobador("24 Html/entrega.zip", completa(
        info='<i>Ana</i> & "Luis"\nBea\n', extra={"Juego/<script>alert(1)&.cpp": "// x\n"}),
        f'con avisos;sí;{HOY};"<i>Ana</i> & ""Luis"" / Bea";"<b>Juego&amp;";'
        "3;1;1;El proyecto no hace referencia al archivo <script>alert(1)&.cpp.", "<b>Juego&amp;")
    # Control characters in names flagged as UTF-8, and a flagged name that is no UTF-8.
    a_mano(c.ruta("25 Control.zip"), [
        entrada(n, v) for n, v in completa(items=(
            "ClCompile main.cpp", "ClCompile juego.cpp", "ClCompile Diseño.cpp",
            "ClInclude juego.h")).items()] + [
        entrada(b"Juego/Dise\xa4o.cpp", "// ñ\n", indicadores=0x800),
        entrada("Juego/a\x1b[31mrojo\x07.txt", "rojo\n", indicadores=0x800)])
    c.fila("25 Control.zip", 'con avisos;no;2024-03-15;Ana García / Luis Pérez;Juego;3;1;1;"'
           "El nombre de la entrada Juego/Diseño.cpp está marcado como UTF-8 pero no lo es; se ha "
           "leído como CP437.\n" + PLANTILLA +
           "Archivos que el comprobador no entrega (1 archivo, 5 bytes): "
           "Juego/a\ufffd[31mrojo\ufffd.txt.\n" + otro_programa("0x0014") + '"')
    # Names with "\\", absolute or with a drive letter: reported, never followed.
    barras = completa(extra={"/etc/x": "x\n", "C:/x": "x\n"})
    barras["Juego\\main.cpp"] = barras.pop("Juego/main.cpp")
    con_zipfile(c.ruta("26 Barras.zip"), barras)
    c.fila("26 Barras.zip", 'con errores;no;2024-03-15;Ana García / Luis Pérez;Juego;1;1;1;"'
           + INSEGURO.format("/etc/x") + INSEGURO.format("C:/x")
           + INSEGURO.format("Juego\\main.cpp")
           + "El archivo main.cpp al que hace referencia el proyecto no existe.\n" + PLANTILLA
           + otro_programa("0x0314") + '"')
    # info.txt in UTF-16 big-endian, and a character beyond the BMP (a surrogate pair) and a
    # lone surrogate in little-endian.
    c.comprobador("27 Utf16be/entrega.zip", completa(
        info="\ufeffJosé Ruiz\r\nMarta Sáez\r\n".encode("utf-16-be")),
        f"correcta;sí;{HOY};José Ruiz / Marta Sáez;Juego;2;1;1;")
    c.comprobador("28 Emoji/entrega.zip", completa(
        info="\ufeffAna \U0001F600 García\r\nEva \ud800x\r\n".encode("utf-16-le",
                                                                     "surrogatepass")),
        f"correcta;sí;{HOY};Ana \U0001F600 García / Eva \ufffdx;Juego;2;1;1;")

    # 20,000 entries, tiny and stored, are reviewed; one more is a row of the reader's test.
    relleno = [entrada(f"datos/{i:05}", b"x", 0) for i in range(20000 - len(completa()))]
    a_mano(c.ruta("40 Veinte mil.zip"), [entrada(n, v) for n, v in completa().items()] + relleno)
    c.fila("40 Veinte mil.zip", 'con avisos;no;2024-03-15;Ana García / Luis Pérez;Juego;2;1;1;"'
           + PLANTILLA + "Archivos que el comprobador no entrega (19991 archivos, 19991 bytes): "
           + ", ".join(f"datos/{i:05}" for i in range(10)) + " y 19981 más.\n"
           + otro_programa("0x0014") + '"')

    # What the walk cannot open is a row of its own; everything else is still reviewed.
    if POSIX:
        shutil.copy(buena, c.ruta("50 Nombres/\udcff\udcfe.zip"))
        c.fila("50 Nombres/\ufffd\ufffd.zip", no_revisable(
            "El nombre del archivo no es UTF-8 y no se puede abrir por él."))
        shutil.copy(buena, c.ruta("50 Nombres/\udcfe\udcff/entrega.zip"))
        c.fila("50 Nombres/\ufffd\ufffd", no_revisable(
            "El nombre de la carpeta no es UTF-8 y no se puede abrir por él."))
        # Named as a submission, but nothing that can be read.
        os.symlink("no-existe", c.ruta("52 Raros/rota.zip"))
        c.fila("52 Raros/rota.zip", no_revisable(RARO))
        os.mkfifo(c.ruta("52 Raros/tubo.zip"))
        c.fila("52 Raros/tubo.zip", no_revisable(RARO))
    if CERRADAS:
        for nombre in ("51 Cerradas/dentro/entrega.zip", "51 Cerradas/cerrada.zip"):
            shutil.copy(buena, c.ruta(nombre))
        os.chmod(os.path.join(c.entregas, "51 Cerradas", "dentro"), 0)
        os.chmod(os.path.join(c.entregas, "51 Cerradas", "cerrada.zip"), 0)
        c.fila("51 Cerradas/cerrada.zip", no_revisable(
            "No se ha podido abrir el archivo: Permission denied."))
        c.fila("51 Cerradas/dentro", no_revisable(
            f"No se ha podido abrir la carpeta {c.entregas}/51 Cerradas/dentro: Permission "
            "denied."))
    return c, buena


def campus_de(tmp, c, buena):
    """The campus's "download all", one folder per student inside one archive whose own
    entries are held to the same checks; each entry beside the row it gives. And a campus
    archive whose records share an entry, which would review it as many times as named: it is
    one submission, damaged."""
    anidada = os.path.getsize(buena)
    grande = del_comprobador(tmp, "grande", completa(extra={
        "images/fondo.png": b"\x89PNG" + random.Random(1).randbytes(3 << 20)}))
    guarda = lambda nombre, ruta, **cambios: entrada(nombre, open(ruta, "rb").read(), 0,
                                                      **cambios)
    nombre = "{}_assignsubmission_file_/entrega.zip".format
    entradas, filas = [], []

    def caso(entrada_, quien=None, resto=None):
        """`entrada_` gives the row `resto` of the participant "name_number" `quien`."""
        entradas.append(entrada_)
        if resto is not None:
            numero, nombre_ = quien.rsplit("_", 1)[::-1] if quien else ("", "")
            filas.append(f"{numero};{nombre_};{entrada_['nombre'].decode()};{resto}")

    caso(guarda(nombre("Ana López_1234"), buena), "Ana López_1234", CORRECTA)
    caso(guarda("Luis_99_assignsubmission_file_/x.ZIP", c.ruta("13 Rar.zip")), "Luis_99",
         no_revisable("No es un archivo ZIP."))
    # Outside the campus's names a .zip is a row of its own, without a participant.
    caso(guarda("Sofía_7_/mal.zip", c.ruta("07 Sin solucion.zip")), None,
         next(f for f in c.filas if ";07 Sin solucion.zip;" in f).split(";", 3)[3])
    caso(entrada("Sofía_7_/notas.txt", "no es una entrega\n"))
    # The encryption bit set in both headers.
    caso(guarda(nombre("Eva_5"), buena, indicadores=1), "Eva_5",
         no_revisable(f"La entrada {nombre('Eva_5')} está cifrada."))
    # Sizes a deflate stream could make, so they are checked, and differ from what is stored.
    caso(guarda(nombre("Pau_6"), buena, descomprimido=anidada * 200 + 1), "Pau_6", no_revisable(
        f"El archivo del campus está dañado: la entrada {nombre('Pau_6')} guarda {anidada} bytes "
        f"y declara {anidada * 200 + 1}."))
    # A CRC-32 that is not its data's.
    caso(entrada(nombre("Rosa_8"), open(buena, "rb").read(),
                 crc=zlib.crc32(open(buena, "rb").read()) ^ 1), "Rosa_8", no_revisable(
        f"El archivo del campus está dañado: la entrada {nombre('Rosa_8')} no coincide con su "
        "CRC-32."))
    # Larger than what is inflated into memory: read from a temporary file.
    caso(guarda(nombre("Teo_9"), grande), "Teo_9", CORRECTA.replace(";2;1;1;", ";2;1;2;"))
    caso(guarda(nombre("=Eva_10"), buena), "'=Eva_10", CORRECTA)
    campus = os.path.join(tmp, "campus.zip")
    a_mano(campus, entradas)
    # A cell that would begin like a formula is neutralised, the entry's own name too.
    filas = [f.replace(";=Eva_10_", ";'=Eva_10_") for f in filas]

    sencillo = os.path.join(tmp, "campus sencillo.zip")
    with zipfile.ZipFile(sencillo, "w") as z:
        z.writestr(zipfile.ZipInfo("Ana_1_assignsubmission_file/entrega.zip", FECHA),
                   open(buena, "rb").read())
    solapado = os.path.join(tmp, "campus solapado.zip")
    con_registro_repetido(sencillo, solapado)
    filas.append(";;campus solapado.zip;" + no_revisable(
        DANADO + "la entrada Ana_1_assignsubmission_file/entrega.zip se solapa con la entrada "
        "Ana_1_assignsubmission_file/entrega.zip.", "2024-03-15"))
    return [campus, solapado], filas


CABECERA = "participante;nombre;entrega;veredicto;comprobador;fecha;autores;proyecto;fuentes;" \
           "cabeceras;imagenes;hallazgos"


def campos(fila):
    return next(lector_csv.reader(io.StringIO(fila), delimiter=";"))


def csv(filas):
    """The whole CSV of `filas`, sorted by entrega as revisa sorts it: by the name alone,
    without the "'" that keeps its cell from being a formula."""
    return ("\ufeff" + "".join(f + "\r\n" for f in [CABECERA] + sorted(
        filas, key=lambda f: campos(f)[2].removeprefix("'").encode()))).encode()


# The summary's end when no two participants' code is alike.
NINGUNA = "; 0 parejas de código parecido"


def resumen(filas):
    veredictos = [campos(f)[3] for f in filas]
    return f"{len(filas)} entregas: " + ", ".join(
        f"{veredictos.count(v)} {p}" for v, p in (
            ("correcta", "correctas"), ("con avisos", "con avisos"),
            ("con errores", "con errores"), ("no revisable", "no revisables"))) + NINGUNA + "\n"


def revisa(*argumentos, cwd=None, como=()):
    try:
        r = subprocess.run([*como, *DELANTE, REVISA, *argumentos], cwd=cwd, capture_output=True,
                           stdin=subprocess.DEVNULL, timeout=120)
    except subprocess.TimeoutExpired as e:
        # A run that never ends (a loop of links followed, a stream read for ever) is a
        # failure of its own, well within ctest's time.
        return subprocess.CompletedProcess(e.cmd, None, b"",
                                           f"sin terminar en {e.timeout} s".encode())
    if DELANTE:
        # Lines end in CRLF on Windows.
        r.stdout, r.stderr = r.stdout.replace(b"\r\n", b"\n"), r.stderr.replace(b"\r\n", b"\n")
    return r


def lee(ruta):
    """A report's bytes; none when it was not written, and the comparisons say so."""
    return open(ruta, "rb").read() if os.path.exists(ruta) else b""


def compara(nombre, obtenido, esperado, fallos):
    if obtenido != esperado:
        fallos.append(f"{nombre}:\n  obtenido: {obtenido!r}\n  esperado: {esperado!r}")


def filas_csv(texto):
    """The CSV's rows, hallazgos with their LF kept inside the quotes."""
    return re.findall(r'(?:[^"\r]|"[^"]*")+\r\n', texto)


def main():
    fallos = []
    # Whoever runs revisa (nobody, when root) can read the whole corpus.
    os.umask(0o022)
    with tempfile.TemporaryDirectory() as tmp:
        os.chmod(tmp, 0o755)
        c, buena = corpus(tmp)
        entregas, filas = c.entregas, c.filas
        campus, filas_campus = campus_de(tmp, c, buena)
        # A name beyond ASCII: on Windows the arguments cross from UTF-16.
        salida = os.path.join(tmp, "informe ñ")
        os.mkdir(salida)
        os.chmod(salida, 0o777)
        r = revisa("--salida", salida, "-j", "2", entregas, *campus, como=COMO_NADIE)
        if CERRADAS:
            for cerrada in ("dentro", "cerrada.zip"):
                os.chmod(os.path.join(entregas, "51 Cerradas", cerrada), 0o755)
        compara("estado", r.returncode, 1, fallos)
        compara("salida", r.stdout.decode(), resumen(filas + filas_campus), fallos)
        compara("error", r.stderr.decode(), "", fallos)
        obtenido = lee(os.path.join(salida, "revision.csv"))
        # Campus rows are named by their entry inside the archive, folder rows by their path.
        esperado_csv = csv(filas + filas_campus)
        if obtenido != esperado_csv:
            o = filas_csv(obtenido.decode(errors="backslashreplace"))
            e = filas_csv(esperado_csv.decode())
            for i in range(max(len(o), len(e))):
                compara(f"fila {i}", o[i] if i < len(o) else None, e[i] if i < len(e) else None,
                        fallos)
        html = lee(os.path.join(salida, "revision.html")).decode()
        compara("filas de la página", html.count("<tr data-veredicto="),
                len(filas + filas_campus), fallos)
        # Names, authors and findings are text in the page: escaped, without controls.
        for texto, esta in [("&lt;b&gt;Juego&amp;amp;", True),
                            ("&lt;i&gt;Ana&lt;/i&gt; &amp; &quot;Luis&quot; / Bea", True),
                            ("al archivo &lt;script&gt;alert(1)&amp;.cpp.", True),
                            ("Juego/a\ufffd[31mrojo\ufffd.txt", True), ("<b>", False),
                            ("<i>", False), ("<script>alert", False), ("\x1b", False),
                            ("\x07", False)]:
            compara(f"{texto!r} en la página", texto in html, esta, fallos)
        compara("scripts de la página", html.count("<script"), 1, fallos)
        if CHROMIUM:
            participantes = sum(1 for f in filas + filas_campus if campos(f)[0] or campos(f)[1])
            chromium(tmp, salida, len(filas + filas_campus), participantes, fallos)

        # One thread gives the same report; only checker-made correct ones give status 0.
        r = revisa("-j1", os.path.join(entregas, "01 Ana"), os.path.join(entregas, "03 Ansi"),
                   cwd=salida)
        compara("todas correctas", (r.returncode, r.stdout.decode()),
                (0, f"2 entregas: 2 correctas, 0 con avisos, 0 con errores, 0 no revisables"
                    f"{NINGUNA}\n"),
                fallos)
        compara("informe en el directorio actual",
                open(os.path.join(salida, "revision.csv"), "rb").read(),
                csv([filas[0].replace("01 Ana/", ""), filas[2].replace("03 Ansi/", "")]), fallos)
        uso = ("uso: revisa [--salida DIR] [-j N] [--retroalimentacion] [--plantilla RUTA] "
               "[--anteriores RUTA]... [--sin-similitud] ENTRADA...")
        sin_plantilla = os.path.join(tmp, "sin plantilla")
        for argumentos, texto in [((), uso),
                                  ((entregas, "--plantilla"),
                                   "--plantilla necesita una carpeta o un .zip; " + uso),
                                  ((entregas, "--anteriores"),
                                   "--anteriores necesita una carpeta o un .zip; " + uso),
                                  (("--sin-similitud", "--plantilla", entregas, entregas),
                                   "--plantilla y --anteriores no van con --sin-similitud, que no "
                                   "compara el código; " + uso),
                                  (("--plantilla", sin_plantilla, entregas),
                                   f"No se ha podido leer la plantilla {sin_plantilla}: no existe"),
                                  ((entregas, "--salida"), "--salida necesita una carpeta; " + uso),
                                  (("-j", "0", entregas), "-j necesita un número de hilos, 1 o "
                                   "más; " + uso),
                                  (("-q", entregas), "opción desconocida -q; " + uso),
                                  (("-ñ", entregas), "opción desconocida -ñ; " + uso)]:
            r = revisa(*argumentos)
            compara(f"argumentos {argumentos}", (r.returncode, r.stdout, r.stderr.decode()),
                    (2, b"", "revisa: " + texto + "\n"), fallos)
        descargas(tmp, fallos)
        similitudes(tmp, fallos)
        if DELANTE:
            explorador(tmp, entregas, filas, fallos)
            return informa(fallos)

        # Status 2: one line on standard error saying what, where and why.
        r = revisa(os.path.join(tmp, "no-existe"))
        compara("entrada que no existe", (r.returncode, r.stdout, r.stderr.decode()),
                (2, b"", f"revisa: No se ha podido leer la entrada {tmp}/no-existe: no existe\n"),
                fallos)
        r = revisa("--salida", os.path.join(tmp, "no-existe"), entregas)
        compara("informe que no se puede escribir", (r.returncode, r.stdout, r.stderr.decode()),
                (2, b"", f"revisa: No se ha podido escribir {tmp}/no-existe/revision.csv: "
                 "No such file or directory\n"), fallos)
        if COMO_NADIE:
            cerrada = os.path.join(tmp, "cerrada.zip")
            shutil.copy(os.path.join(entregas, "01 Ana", "entrega.zip"), cerrada)
            os.chmod(cerrada, 0)
            r = subprocess.run([*COMO_NADIE, REVISA, "--salida", tmp, cerrada],
                               capture_output=True)
            compara("entrada que no se puede leer", (r.returncode, r.stderr.decode()),
                    (2, f"revisa: No se ha podido leer la entrada {cerrada}: Permission "
                     "denied\n"), fallos)
    return informa(fallos)


# The campus's download: each participant's uploads as (name, number or None, plugin, own
# path, bytes key). Rows expected for each: (own path of the row's file, the rest of the row).
SUBIDAS = [
    ("Ana García Pérez", 1001, "file", "entrega.zip", "limpia"),
    ("Luis Pérez Gil", 1002, "file", "entrega.zip", "aviso"),
    ("Marta Ruiz", 1003, "file", "Practica2.rar", "rar"),
    ("Pablo Sanz", 1004, "onlinetext", "onlinetext.html", "texto"),
    ("Sofía Núñez", 1005, "file", "entrega.zip", "limpia"),
    ("Sofía Núñez", 1005, "file", "entrega (1).zip", "aviso"),
    ("Javier Gil", 1006, "file", "Práctica/entrega.zip", "limpia"),
    ("Participant", 1007, "file", "entrega.zip", "limpia"),
    ("Grupo 3", 45, "file", "entrega.zip", "limpia"),
    ("Grupo 3", 45, "file", "info.txt", "texto"),
    ("Elena Vidal", 1009, "file", "entrega.zip", "grande"),
    ("Raúl Ortega", 1010, "file", "entrega.zip", "danada"),
    ("Irene Campos", 1011, "file", "entrega.zip", "limpia"),
    ("Irene Campos", 1011, "file", "memoria.docx", "texto"),
    ("Irene Campos", 1011, "onlinetext", "onlinetext.html", "texto"),
    ("Default group", None, "file", "entrega.zip", "limpia"),
    # Names as the campus's zip writer leaves them, each of \ : * ? " < > | made a "_": the
    # name part may then hold "_", or be empty. The number is what tells them apart.
    ("¿Zoë_ _Estrella_", 1111, "file", "entrega.zip", "limpia"),
    ("Mar_a Garc_a", 1117, "file", "entrega.zip", "limpia"),
    ("¿Quién_", 64, "file", "entrega.zip", "limpia"),
    ("", 1301, "file", "entrega.zip", "limpia"),
]
FILAS_CAMPUS = {
    "Ana García Pérez": (0, CORRECTA),
    "Luis Pérez Gil": (0, f"con avisos;sí;{HOY};Ana García / Luis Pérez;Juego;3;1;1;El proyecto "
                          "no hace referencia al archivo extra.cpp."),
    "Marta Ruiz": (0, 'no revisable;no;;;;;;;"No ha entregado ningún .zip; ha entregado: '
                      'Practica2.rar."'),
    "Pablo Sanz": (0, 'no revisable;no;;;;;;;"No ha entregado ningún .zip; solo ha escrito '
                      'texto en línea."'),
    "Sofía Núñez": (0, f'con avisos;sí;{HOY};Ana García / Luis Pérez;Juego;2;1;1;"Ha entregado '
                       '2 archivos .zip: se revisa entrega.zip; los demás no se revisan: '
                       'entrega (1).zip."'),
    "Javier Gil": (0, CORRECTA),
    "Participant": (0, CORRECTA),
    "Grupo 3": (0, f"con avisos;sí;{HOY};Ana García / Luis Pérez;Juego;2;1;1;Además del .zip "
                   "ha entregado: info.txt."),
    "Elena Vidal": (0, CORRECTA.replace(";2;1;1;", ";2;1;2;")),
    "Raúl Ortega": (0, f"no revisable;no;{HOY};;;;;;El archivo ZIP está dañado: los datos "
                       "comprimidos de la entrada Juego/Juego.vcxproj no son válidos."),
    "Irene Campos": (0, f"con avisos;sí;{HOY};Ana García / Luis Pérez;Juego;2;1;1;Además del "
                        ".zip ha entregado: memoria.docx, texto en línea."),
    "Default group": (0, CORRECTA),
    "¿Zoë_ _Estrella_": (0, CORRECTA),
    "Mar_a Garc_a": (0, CORRECTA),
    "¿Quién_": (0, CORRECTA),
    "": (0, CORRECTA),
}
RESUMEN_CAMPUS = ("16 entregas: 9 correctas, 4 con avisos, 0 con errores, 3 no revisables"
                  f"{NINGUNA}\n")

# Each form of the campus's names: (folders or flat, how a participant's file is named).
FORMAS = {
    "carpetas": lambda prefijo, propia: f"{prefijo}/{propia}",
    "3.x": lambda prefijo, propia: f"{prefijo}_/{propia}",
    "plana": lambda prefijo, propia: f"{prefijo}_{propia}",
}


def prefijo(nombre, numero, tipo):
    return f"{nombre}_{numero}_assignsubmission_{tipo}" if numero else \
        f"{nombre}_assignsubmission_{tipo}"


def descargas(tmp, fallos):
    """revisa over a campus download made as the campus names it, in every form (folders,
    3.x, flat, the folders form unpacked) and as Canvas names it: every participant once,
    by number and name, whatever they uploaded; the whole CSV compared. The feedback archive's
    names split as the campus's importer splits them, and each page explains every finding."""
    datos = {
        "limpia": open(del_comprobador(tmp, "d-limpia", completa()), "rb").read(),
        "aviso": open(del_comprobador(tmp, "d-aviso", completa(
            extra={"Juego/extra.cpp": "// extra\n"})), "rb").read(),
        # Large enough to be inflated into a temporary file inside the campus archive.
        "grande": open(del_comprobador(tmp, "d-grande", completa(
            extra={"images/fondo.png": random.Random(1).randbytes(20 << 20)})), "rb").read(),
        "rar": b"Rar!\x1a\x07\x00" + bytes(100),
        "texto": "<p>Texto de la entrega.</p>\n".encode(),
    }
    danada = bytearray(datos["limpia"])
    danada[60] ^= 0xFF
    datos["danada"] = bytes(danada)
    numeros = {n: i for n, i, _, _, _ in SUBIDAS}
    for forma, nombra in [*FORMAS.items(), ("desempaquetada", FORMAS["carpetas"])]:
        archivos = {nombra(prefijo(n, i, t), propia): datos[clave]
                    for n, i, t, propia, clave in SUBIDAS}
        if forma == "desempaquetada":
            entrada = os.path.join(tmp, "descarga desempaquetada")
            arbol(entrada, archivos)
        else:
            entrada = os.path.join(tmp, f"descarga {forma}.zip")
            with zipfile.ZipFile(entrada, "w", zipfile.ZIP_DEFLATED) as z:
                for nombre, contenido in archivos.items():
                    z.writestr(nombre, contenido)
        salida = os.path.join(tmp, f"revision {forma}")
        os.makedirs(salida)
        r = revisa("--retroalimentacion", "--salida", salida, entrada)
        compara(f"{forma}: salida", (r.returncode, r.stdout.decode(), r.stderr.decode()),
                (1, RESUMEN_CAMPUS, ""), fallos)
        filas = []
        for nombre, (_, resto) in FILAS_CAMPUS.items():
            propias = [(t, p) for n, _, t, p, clave in SUBIDAS if n == nombre]
            # The row's file: entrega.zip, else the first in byte order.
            zips = [x for x in propias if x[1].endswith(".zip")]
            t, propia = next((x for x in zips if x[1].endswith("entrega.zip")), None) or \
                min(zips or propias, key=lambda x: nombra(prefijo(nombre, numeros[nombre],
                                                                  x[0]), x[1]).encode())
            entrega = nombra(prefijo(nombre, numeros[nombre], t), propia)
            entrega = f'"{entrega}"' if ";" in entrega else entrega
            filas.append(f"{numeros[nombre] or ''};{nombre};{entrega};{resto}")
        compara_csv(forma, open(os.path.join(salida, "revision.csv"), "rb").read(),
                    csv(filas), fallos)
        retroalimentacion(forma, os.path.join(salida, "retroalimentacion.zip"), numeros, fallos)

    # Canvas: one folder of files named <name>[_LATE]_<user>_<attachment>_<file>.
    canvas = os.path.join(tmp, "canvas")
    arbol(canvas, {"garciaana_2001_9001_entrega.zip": datos["limpia"],
                   # A name in no Latin letters leaves none.
                   "_2004_9005_entrega.zip": datos["limpia"],
                   "ruizmarta_LATE_2002_9002_Practica2.rar": datos["rar"],
                   "nunezsofia_2003_9003_entrega.zip": datos["limpia"],
                   "nunezsofia_2003_9004_entrega-1.zip": datos["aviso"]})
    salida = os.path.join(tmp, "revision canvas")
    os.makedirs(salida)
    r = revisa("--retroalimentacion", "--salida", salida, canvas)
    compara("canvas: salida", (r.returncode, r.stdout.decode()),
            (1, f"4 entregas: 2 correctas, 1 con avisos, 0 con errores, 1 no revisables{NINGUNA}\n"),
            fallos)
    compara_csv("canvas", open(os.path.join(salida, "revision.csv"), "rb").read(), csv([
        f"2001;garciaana;garciaana_2001_9001_entrega.zip;{CORRECTA}",
        f"2004;;_2004_9005_entrega.zip;{CORRECTA}",
        f'2003;nunezsofia;nunezsofia_2003_9003_entrega.zip;con avisos;sí;{HOY};Ana García / Luis '
        'Pérez;Juego;2;1;1;"Ha entregado 2 archivos .zip: se revisa entrega.zip; los demás no se '
        'revisan: entrega-1.zip."',
        '2002;ruizmarta;ruizmarta_LATE_2002_9002_Practica2.rar;no revisable;no;;;;;;;"No ha '
        'entregado ningún .zip; ha entregado: Practica2.rar."']), fallos)
    # Canvas imports no such archive: it has no page.
    with zipfile.ZipFile(os.path.join(salida, "retroalimentacion.zip")) as z:
        compara("canvas: retroalimentación", z.namelist(), [], fallos)


# Two programs of one assignment written apart, and what a copier makes of the first.
ENEMIGOS = """#include "juego.h"
#include <vector>

struct Enemigo { float x, y, vx, vy; int vida; bool activo; };

static std::vector<Enemigo> enemigos;

void creaEnemigos(int cuantos, float ancho) {
    enemigos.clear();
    for (int i = 0; i < cuantos; i++) {
        Enemigo e;
        e.x = (i * 97) % static_cast<int>(ancho);
        e.y = -40.0f * i;
        e.vx = (i % 2 == 0) ? 30.0f : -30.0f;
        e.vy = 55.0f + 5 * i;
        e.vida = 3;
        e.activo = true;
        enemigos.push_back(e);
    }
}

int mueveEnemigos(float dt, float ancho, float alto) {
    int escapados = 0;
    for (auto& e : enemigos) {
        if (!e.activo) continue;
        e.x += e.vx * dt;
        e.y += e.vy * dt;
        if (e.x < 0 || e.x > ancho) e.vx = -e.vx;
        if (e.y > alto) { e.activo = false; escapados++; }
    }
    return escapados;
}

int golpea(float bx, float by, int danio) {
    for (auto& e : enemigos) {
        if (e.activo && bx >= e.x && bx <= e.x + 32 && by >= e.y && by <= e.y + 32) {
            e.vida -= danio;
            if (e.vida <= 0) { e.activo = false; return 100; }
            return 10;
        }
    }
    return 0;
}
"""
COPIA = """#include "juego.h"
#include <vector>
// Mis enemigos
struct Malo { float px, py, velx, vely; int hp; bool vivo; };
static std::vector<Malo> malos;
void iniciaMalos(int n, float w)
{
    malos.clear();
    for (int k = 0; k < n; ++k)
    {
        Malo m;
        m.px = (k * 97) % static_cast<int>(w); m.py = -40.0f * k;
        m.velx = (k % 2 == 0) ? 30.0f : -30.0f; m.vely = 55.0f + 5 * k;
        m.hp = 3; m.vivo = true;
        malos.push_back(m);
    }
}
int actualizaMalos(float t, float w, float h)
{
    int fuera = 0;
    for (auto& m : malos)
    {
        if (!m.vivo) continue;
        m.px += m.velx * t; m.py += m.vely * t;
        if (m.px < 0 || m.px > w) m.velx = -m.velx;
        if (m.py > h) { m.vivo = false; fuera++; }
    }
    return fuera;
}
int impacto(float x, float y, int d)
{
    for (auto& m : malos)
    {
        if (m.vivo && x >= m.px && x <= m.px + 32 && y >= m.py && y <= m.py + 32)
        {
            m.hp -= d;
            if (m.hp <= 0) { m.vivo = false; return 100; }
            return 10;
        }
    }
    return 0;
}
"""
MARCADOR = """#include "juego.h"
#include <algorithm>
#include <fstream>
#include <string>

struct Puntuacion { std::string nombre; long puntos; };

class Marcador {
public:
    void anota(const std::string& quien, long cuantos) {
        tabla_.push_back({quien, cuantos});
        std::sort(tabla_.begin(), tabla_.end(), [](const Puntuacion& a, const Puntuacion& b) {
            return a.puntos > b.puntos;
        });
        if (tabla_.size() > 10) tabla_.resize(10);
    }
    bool guarda(const std::string& ruta) const {
        std::ofstream f(ruta);
        if (!f) return false;
        for (const Puntuacion& p : tabla_) f << p.nombre << ' ' << p.puntos << '\\n';
        return static_cast<bool>(f);
    }
    bool carga(const std::string& ruta) {
        std::ifstream f(ruta);
        Puntuacion p;
        tabla_.clear();
        while (f >> p.nombre >> p.puntos) tabla_.push_back(p);
        return !tabla_.empty();
    }
    long mejor() const { return tabla_.empty() ? 0 : tabla_.front().puntos; }
private:
    std::vector<Puntuacion> tabla_;
};
"""


def con_codigo(tmp, nombre, codigo):
    """entrega.zip as comprobador packs a delivery whose own code is `codigo` ({file: text})."""
    items = ["ClCompile main.cpp", "ClCompile juego.cpp", "ClInclude juego.h"] + [
        f"ClCompile {n}" for n in codigo]
    return open(del_comprobador(tmp, nombre, completa(
        items=items, extra={f"Juego/{n}": t for n, t in codigo.items()})), "rb").read()


def similitudes(tmp, fallos):
    """The participants' code compared in the same run: a renamed and reformatted copy, a copy
    with markup in its name and text, an earlier year's copies (compared with this year only),
    and the template, which counts for no one; the CSV's form and the page's escaping."""
    descarga = os.path.join(tmp, "similitud.zip")
    plantilla = os.path.join(tmp, "plantilla")
    arbol(plantilla, {"Juego/juego.h": "#pragma once\n", "Juego/comun.cpp": MARCADOR})
    con = lambda nombre, codigo: con_codigo(tmp, "s-" + nombre.split("_")[0], codigo)
    html = "// </pre><script>alert(2)</script>\n"
    with zipfile.ZipFile(descarga, "w", zipfile.ZIP_DEFLATED) as z:
        for nombre, codigo in [("Ana_1", {"enemigos.cpp": ENEMIGOS}),
                               ("Luis_2", {"malos.cpp": COPIA}),
                               ("Eva_3", {"marcador.cpp": MARCADOR.replace("10", "20")}),
                               ("<b>Pau&amp;_4", {"<script>alert(1)&.cpp": html + MARCADOR})]:
            z.writestr(f"{nombre}_assignsubmission_file/entrega.zip", con(nombre, codigo))
    anterior = os.path.join(tmp, "2024")
    for nombre, codigo in [("Sara_9", {"enemigos.cpp": ENEMIGOS}),
                           ("Olga_8", {"enemigos.cpp": ENEMIGOS})]:
        destino = os.path.join(anterior, f"{nombre}_assignsubmission_file", "entrega.zip")
        os.makedirs(os.path.dirname(destino))
        open(destino, "wb").write(con(nombre, codigo))
    salida = os.path.join(tmp, "revision similitud")
    os.makedirs(salida)
    r = revisa("--salida", salida, "--anteriores", anterior, descarga)
    compara("similitud: salida", r.stdout.decode().split("; ")[-1], "6 parejas de código parecido\n",
            fallos)
    filas = [campos(f) for f in filas_csv(lee(os.path.join(salida, "similitud.csv")).decode())]
    compara("similitud: cabecera", filas[:1], [[
        "\ufeffparticipante_a", "nombre_a", "entrega_a", "participante_b", "nombre_b", "entrega_b",
        "similitud", "fragmento", "lineas_a", "lineas_b", "aviso"]], fallos)
    parejas = sorted((*sorted((f[0], f[3])), f[10]) for f in filas[1:])
    # Eva and Pau share only the template once it is given: without it, all they share.
    compara("similitud: parejas", parejas, [("1", "2", "sí"), ("1", "8", "sí"), ("1", "9", "sí"),
                                            ("2", "8", "sí"), ("2", "9", "sí"),
                                            ("3", "4", "sí")], fallos)
    compara("similitud: de mayor a menor", [int(f[6]) for f in filas[1:]],
            sorted((int(f[6]) for f in filas[1:]), reverse=True), fallos)
    compara("similitud: años anteriores", sorted({f[5].split("/")[0] for f in filas[1:]
                                                  if f[3] in ("8", "9")}), ["2024"], fallos)
    r = revisa("--salida", salida, "--plantilla", plantilla, "--anteriores", anterior, descarga)
    filas = [campos(f) for f in filas_csv(lee(os.path.join(salida, "similitud.csv")).decode())]
    # What Eva and Pau share beyond the template is `int main() {}`: all of it, and nothing.
    compara("similitud con plantilla: parejas", sorted((*sorted((f[0], f[3])), f[10])
                                                       for f in filas[1:]),
            [("1", "2", "sí"), ("1", "8", "sí"), ("1", "9", "sí"), ("2", "8", "sí"),
             ("2", "9", "sí"), ("3", "4", "no")], fallos)
    pagina = lee(os.path.join(salida, "similitud.html")).decode()
    for texto, esta in [("<script", False), ("&lt;/pre&gt;&lt;script&gt;alert(2)", False),
                        ("(año anterior)", True), ("La plantilla dada", True)]:
        compara(f"similitud: {texto!r} en la página", texto in pagina, esta, fallos)
    r = revisa("--salida", salida, "--anteriores", anterior, descarga)
    pagina = lee(os.path.join(salida, "similitud.html")).decode()
    for texto, esta in [("<script", False), ("&lt;/pre&gt;&lt;script&gt;alert(2)", True),
                        ("&lt;b&gt;Pau&amp;amp;", True), ("<b>", False)]:
        compara(f"similitud: {texto!r} en la página", texto in pagina, esta, fallos)
    revision = lee(os.path.join(salida, "revision.html")).decode()
    compara("similitud: marcas en revision.html", (revision.count('class="parecida"'),
                                                   'href="similitud.html"' in revision), (4, True),
            fallos)
    # Without the comparison: neither its reports, nor its count, nor its marks.
    sin = os.path.join(tmp, "revision sin similitud")
    os.makedirs(sin)
    r = revisa("--sin-similitud", "--salida", sin, descarga)
    compara("sin similitud", (r.stdout.decode(), sorted(os.listdir(sin)),
                              "similitud.html" in lee(os.path.join(sin, "revision.html")).decode()),
            ("4 entregas: 4 correctas, 0 con avisos, 0 con errores, 0 no revisables\n",
             ["revision.csv", "revision.html"], False), fallos)
    if CHROMIUM:
        dom = dom_de(tmp, os.path.join(salida, "similitud.html"))
        compara("similitud en Chromium: sin elementos de los estudiantes",
                [e for e in ("<script", "<b>Pau") if e in dom], [], fallos)
        compara("similitud en Chromium: los nombres como texto", "&lt;b&gt;Pau&amp;amp;" in dom,
                True, fallos)
        compara("similitud en Chromium: los dos lados", dom.count('class="lado"'), 12, fallos)


def compara_csv(nombre, obtenido, esperado, fallos):
    if obtenido != esperado:
        o = filas_csv(obtenido.decode(errors="backslashreplace"))
        e = filas_csv(esperado.decode())
        for i in range(max(len(o), len(e))):
            compara(f"{nombre}: fila {i}", o[i] if i < len(o) else None,
                    e[i] if i < len(e) else None, fallos)


def retroalimentacion(forma, ruta, numeros, fallos):
    """Every name as the campus's importer splits it: the first component of the form
    <name>_<id>_assignfeedback_file names the participant, the rest is the file; hidden files
    are skipped. Each participant with a number gets one page, with the UTF-8 flag; every
    finding of a page comes with what it means and how to fix it."""
    with zipfile.ZipFile(ruta) as z:
        recibidos = {}
        for info in z.infolist():
            partes = info.filename.split("/")
            trozos = partes[0].split("_")
            importable = len(trozos) == 4 and trozos[1].isdigit() and \
                trozos[2:] == ["assignfeedback", "file"] and \
                not partes[-1].startswith((".", "~"))
            compara(f"{forma}: {info.filename} se importa", importable, True, fallos)
            compara(f"{forma}: {info.filename} con la marca UTF-8", info.flag_bits & 0x800, 0x800,
                    fallos)
            if importable:
                recibidos[int(trozos[1])] = (trozos[0], "/".join(partes[1:]))
            pagina = z.read(info).decode()
            compara(f"{forma}: {info.filename}: hallazgos explicados",
                    pagina.count('<p class="hallazgo">'), pagina.count("Qué significa:"), fallos)
        # The name part holds no "_", which would move the number: each is a space.
        esperados = {i: (n.replace("_", " "), "revision.html") for n, i in numeros.items() if i}
        compara(f"{forma}: participantes de la retroalimentación", recibidos, esperados, fallos)
        luis = "Luis Pérez Gil_1002_assignfeedback_file/revision.html"
        if forma == "carpetas" and luis in z.namelist():
            pagina = z.read(luis).decode()
            for texto in ("Veredicto: <strong>con avisos</strong>",
                          "El proyecto no hace referencia al archivo extra.cpp.",
                          "Añádelo al proyecto en Visual Studio", "<code>Juego/extra.cpp</code>"):
                compara(f"página de Luis: {texto}", texto in pagina, True, fallos)
            if CHROMIUM:
                # As the student's browser builds it: the finding and its explanation there.
                destino = os.path.join(os.path.dirname(ruta), "luis.html")
                open(destino, "w", encoding="utf-8").write(pagina)
                dom = dom_de(os.path.dirname(ruta), destino)
                for texto in ("El proyecto no hace referencia al archivo extra.cpp.",
                              "Qué significa:", "Cómo se arregla:"):
                    compara(f"página de Luis en Chromium: {texto}", texto in dom, True, fallos)


def informa(fallos):
    for f in fallos:
        print(f)
    print("revisa: " + ("correcto" if not fallos else f"{len(fallos)} diferencias"))
    return 1 if fallos else 0


def explorador(tmp, entregas, filas, fallos):
    """revisa.exe on a console of its own, as the Explorer starts it with a folder dropped on
    it: the reports go beside that folder, whatever the current directory; with nothing
    dropped, no report at all."""
    inicio = ["start", "/wait", "/unix", REVISA]
    suelta = os.path.join(entregas, "01 Ana")
    r = subprocess.run([WINE, *inicio, suelta], cwd=tmp, stdin=subprocess.DEVNULL,
                       capture_output=True, timeout=120)
    compara("soltada: estado", r.returncode, 0, fallos)
    informe = os.path.join(entregas, "revision.csv")
    compara("soltada: informe junto a la carpeta",
            open(informe, "rb").read() if os.path.exists(informe) else None,
            csv([filas[0].replace("01 Ana/", "")]), fallos)
    compara("soltada: nada en el directorio actual",
            os.path.exists(os.path.join(tmp, "revision.csv")), False, fallos)
    for nombre in ("revision.csv", "revision.html"):
        os.remove(os.path.join(entregas, nombre))
    r = subprocess.run([WINE, *inicio], cwd=tmp, stdin=subprocess.DEVNULL, capture_output=True,
                       timeout=120)
    compara("sin nada soltado: estado", r.returncode, 2, fallos)
    compara("sin nada soltado: ningún informe",
            [n for n in os.listdir(tmp) + os.listdir(entregas) if n.startswith("revision.")], [],
            fallos)


def dom_de(tmp, pagina):
    """The DOM of `pagina` as headless Chromium builds it, scripts run."""
    perfil = os.path.join(tmp, "perfil")
    r = subprocess.run(["chromium", "--headless", "--no-sandbox", "--disable-gpu",
                        "--disable-quic", "--no-first-run", "--disable-background-networking",
                        "--disable-component-update", "--disable-sync",
                        f"--user-data-dir={perfil}", "--dump-dom", "file://" + pagina],
                       capture_output=True, timeout=120)
    return r.stdout.decode()


def chromium(tmp, salida, cuantas, participantes, fallos):
    """The page of the whole corpus as a real browser builds it: one row per submission in
    the DOM, and no element made of what a student wrote."""
    dom = dom_de(tmp, os.path.join(salida, "revision.html"))
    compara("filas en el DOM de Chromium", len(re.findall(r"<tr data-veredicto=", dom)), cuantas,
            fallos)
    compara("elementos de los estudiantes en Chromium",
            [e for e in ("<b>", "<i>", "<script>alert") if e in dom] + [dom.count("<script")],
            [1], fallos)
    # The script ran: the verdict filter and the search it shows are hidden without it.
    compara("filtro visible en Chromium", '<select id="filtro">' in dom, True, fallos)
    busca = re.search(r'<input id="busca"[^>]*>', dom)
    compara("búsqueda visible en Chromium", bool(busca) and "hidden" not in busca.group(0), True,
            fallos)
    compara("participantes contados", f"{participantes} participantes; {cuantas} entregas" in dom,
            True, fallos)


if __name__ == "__main__":
    sys.exit(main())
