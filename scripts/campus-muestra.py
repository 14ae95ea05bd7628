#!/usr/bin/env python3
"""A small campus download made on the spot from the sample delivery in muestra/ and its
variants, as the campus's "Download all submissions" names it (folders form): one
participant of each kind a teacher meets, each with code of their own as students write it
(bench/soluciones.py), two of them copies of another's, disguised; and the course's template.
Nothing of it is kept in the project.

    scripts/campus-muestra.py COMPROBADOR DESTINO
        ->  DESTINO/Práctica 2-descarga.zip, DESTINO/plantilla/Juego/*
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

RAIZ = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
sys.path.insert(0, os.path.join(RAIZ, "bench"))
import soluciones  # noqa: E402

# Lines of code of each participant's own solution: a small assignment, quick to read.
LINEAS = 600


def con_codigo(semilla, nivel=0, propia=None):
    """Changes a copy of the sample so that its code is solution `semilla` (or a copy of it
    disguised up to `nivel`), every file named by the project; pruebas.cpp stays, unnamed."""
    def cambia(solucion):
        proyecto = os.path.join(solucion, "Juego")
        for n in os.listdir(proyecto):
            if n.endswith((".cpp", ".h")) and n != "pruebas.cpp":
                os.remove(os.path.join(proyecto, n))
        nombres = soluciones.escribe_solucion(solucion, semilla, LINEAS, nivel, propia)
        vcxproj = os.path.join(proyecto, "Juego.vcxproj")
        items = "".join(f'    <{"ClInclude" if n.endswith(".h") else "ClCompile"} Include="{n}" />\n'
                        for n in nombres)
        texto = re.sub(r"  <ItemGroup>\s*<ClCompile.*?</ItemGroup>\s*<ItemGroup>\s*<ClInclude.*?"
                       r"</ItemGroup>\n", f"  <ItemGroup>\n{items}  </ItemGroup>\n",
                       open(vcxproj, encoding="utf-8").read(), flags=re.S)
        open(vcxproj, "w", encoding="utf-8").write(texto)
    return cambia


def entrega(comprobador, tmp, nombre, *cambios):
    """entrega.zip as the checker writes it for a copy of the sample, changed by `cambios`."""
    solucion = os.path.join(tmp, nombre, "Solucion")
    shutil.copytree(os.path.join(RAIZ, "muestra", "Solucion"), solucion)
    proyecto = os.path.join(solucion, "Juego")
    for cambia in cambios:
        cambia(solucion)
    subprocess.run([comprobador], cwd=proyecto, capture_output=True)
    return open(os.path.join(proyecto, "entrega.zip"), "rb").read()


def sin_pruebas(solucion):
    os.remove(os.path.join(solucion, "Juego", "pruebas.cpp"))


def a_mano(tmp):
    """The whole solution folder zipped by hand, build output included."""
    solucion = os.path.join(tmp, "mano", "Solucion")
    shutil.copytree(os.path.join(RAIZ, "muestra", "Solucion"), solucion)
    sin_pruebas(solucion)
    con_codigo(6)(solucion)
    depuracion = os.path.join(solucion, "Juego", "x64", "Debug")
    os.makedirs(depuracion)
    with open(os.path.join(depuracion, "Juego.exe"), "wb") as f:
        f.write(b"MZ" + bytes(4000))
    destino = os.path.join(tmp, "mano.zip")
    with zipfile.ZipFile(destino, "w", zipfile.ZIP_DEFLATED) as z:
        for carpeta, _, nombres in sorted(os.walk(solucion)):
            for n in sorted(nombres):
                ruta = os.path.join(carpeta, n)
                z.write(ruta, os.path.relpath(ruta, os.path.dirname(solucion)))
    return open(destino, "rb").read()


def main():
    comprobador, destino = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    os.makedirs(destino, exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        # Each their own solution; Sofía's is Ana's renamed and turned round, Participant's
        # has some of Luis's functions in code of his own.
        limpia = lambda nombre, *codigo: entrega(comprobador, tmp, nombre, sin_pruebas,
                                                 con_codigo(*codigo))
        con_aviso = entrega(comprobador, tmp, "aviso", con_codigo(2))
        danada = bytearray(limpia("danada", 7))
        danada[len(danada) // 3] ^= 0xFF
        carpeta = "{}_{}_assignsubmission_{}/"
        # (name, number, plugin, own path, bytes): what each participant uploaded.
        subidas = [
            ("Ana García Pérez", 1001, "file", "entrega.zip", limpia("ana", 1)),
            ("Luis Martín Gil", 1002, "file", "entrega.zip", con_aviso),
            ("Marta Ruiz Sanz", 1003, "file", "Practica2.rar", b"Rar!\x1a\x07\x00" + bytes(64)),
            ("Pablo Sanz Ortega", 1004, "onlinetext", "onlinetext.html",
             "<p>No me deja subir el zip, lo mando por correo.</p>".encode()),
            ("Sofía Núñez Vidal", 1005, "file", "entrega.zip", limpia("sofia", 1, 5)),
            ("Sofía Núñez Vidal", 1005, "file", "entrega (1).zip", limpia("sofia1", 5)),
            ("Javier Gil Romero", 1006, "file", "Solucion.zip", a_mano(tmp)),
            ("Elena Vidal Ramos", 1007, "file", "entrega.zip", bytes(danada)),
            ("Participant", 1008, "file", "Mi práctica/entrega.zip",
             limpia("participant", 2, 6, 8)),
            ("Grupo 3", 45, "file", "entrega.zip", limpia("grupo", 3)),
            ("Grupo 3", 45, "file", "info.txt", "Grupo 3: Ana, Luis y Marta\n".encode()),
        ]
        descarga = os.path.join(destino, "Práctica 2-descarga.zip")
        with zipfile.ZipFile(descarga, "w", zipfile.ZIP_DEFLATED) as z:
            for nombre, numero, tipo, propia, datos in subidas:
                z.writestr(carpeta.format(nombre, numero, tipo) + propia, datos)
    soluciones.escribe_plantilla(os.path.join(destino, "plantilla"))
    print(descarga)


if __name__ == "__main__":
    main()
