"""Python's zipfile at its strongest deflate setting, as a teacher would script it.

Usage: python3 zip_python.py ARCHIVE LIST, run in the solution folder; LIST holds one path per
line, stored under that name.
"""

import sys
import zipfile

with open(sys.argv[2], encoding="utf-8") as lista:
    rutas = lista.read().splitlines()
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archivo:
    for ruta in rutas:
        archivo.write(ruta)
