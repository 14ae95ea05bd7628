"""revisa over 300 generated submissions, side by side with unzip -tq testing the same
archives one after another, with one thread and with two; peak memory with a ZIP bomb among
them. The same 300 again as one campus archive, with and without the feedback archive, and
one submission at the bounds: 20,000 entries. Prints a Markdown table and whether the
targets hold.

The mix: deliveries packed by the built comprobador (some with findings), the same solution
folder zipped whole by Python's zipfile (template images, build output), copies with one
byte flipped, and one bomb whose headers declare a hundredth of the gigabyte of zeros its
data inflates to. The campus archive holds each of them as the campus's "download all
submissions" does: `<full name>_<id>_assignsubmission_file/entrega.zip`, deflated.

Usage: python3 revisa.py --revisa build/dev/revisa --comprobador build/dev/comprobador
                         --trabajo build/bench [--repeticiones N]
"""

import argparse
import os
import re
import shutil
import statistics
import struct
import subprocess
import sys
import time
import zipfile

import genera

ENTREGAS = 300
# Entries of the submission at the bounds: the project, the solution, info.txt and sources.
ENTRADAS_LIMITE = 20_000
# Bumped whenever what is generated changes, so that an older corpus is made anew.
VERSION = "2"
FECHA = (2025, 1, 1, 0, 0, 0)

UNZIP = "unzip -tq, one after another"
J1, J2 = "revisa -j 1", "revisa -j 2"
CAMPUS1, CAMPUS2 = "revisa -j 1, campus archive", "revisa -j 2, campus archive"
RETRO1 = "revisa -j 1 --retroalimentacion, campus archive"
RETRO2 = "revisa -j 2 --retroalimentacion, campus archive"
LIMITE = f"revisa -j 1, one submission of {ENTRADAS_LIMITE:,} entries"


def comprobador_en(programa, proyecto):
    subprocess.run([programa], cwd=proyecto, check=True, capture_output=True)
    return os.path.join(proyecto, "entrega.zip")


def zip_entero(solucion, destino):
    """The solution folder zipped whole, as a student does by hand."""
    with zipfile.ZipFile(destino, "w", zipfile.ZIP_DEFLATED) as z:
        for carpeta, _, nombres in os.walk(solucion):
            for n in sorted(nombres):
                ruta = os.path.join(carpeta, n)
                z.write(ruta, os.path.relpath(ruta, os.path.dirname(solucion)))


def bomba(destino):
    """A gigabyte of zeros whose headers declare a hundredth of it."""
    with zipfile.ZipFile(destino, "w") as z:
        info = zipfile.ZipInfo("Juego/datos.bin", FECHA)
        info.compress_type = zipfile.ZIP_DEFLATED
        with z.open(info, "w", force_zip64=False) as f:
            bloque = b"\0" * (1 << 24)
            for _ in range(64):
                f.write(bloque)
    datos = bytearray(open(destino, "rb").read())
    comprimido = struct.unpack_from("<I", datos, 18)[0]
    falso = comprimido * 100
    local_crc = struct.unpack_from("<I", datos, 14)[0]
    struct.pack_into("<I", datos, 22, falso)
    central = datos.rfind(b"PK\x01\x02")
    struct.pack_into("<I", datos, central + 24, falso)
    assert struct.unpack_from("<I", datos, central + 16)[0] == local_crc
    open(destino, "wb").write(datos)


def campus(archivos, destino):
    """The submissions as one "download all submissions" archive of the campus."""
    with zipfile.ZipFile(destino, "w", zipfile.ZIP_DEFLATED) as z:
        for i, archivo in enumerate(archivos):
            info = zipfile.ZipInfo(
                f"Estudiante {i:03d}_{1000 + i}_assignsubmission_file/entrega.zip", FECHA)
            info.compress_type = zipfile.ZIP_DEFLATED
            z.writestr(info, open(archivo, "rb").read())


def limite(comprobador, arboles, destino):
    """One submission of ENTRADAS_LIMITE entries, packed by the checker: a project naming
    that many tiny sources but three, the solution and info.txt."""
    solucion = os.path.join(arboles, "limite", "Solucion")
    proyecto = os.path.join(solucion, "Juego")
    os.makedirs(proyecto)
    fuentes = [f"f{i:05d}.cpp" for i in range(ENTRADAS_LIMITE - 3)]
    for n in fuentes:
        with open(os.path.join(proyecto, n), "w") as f:
            f.write(f"int {n[:-4]}() {{ return 0; }}\n")
    with open(os.path.join(proyecto, "Juego.vcxproj"), "wb") as f:
        f.write(genera._vcxproj(fuentes, []))
    with open(os.path.join(solucion, "Solucion.sln"), "wb") as f:
        f.write(genera._SLN)
    with open(os.path.join(solucion, "info.txt"), "wb") as f:
        f.write("Autores: Ana García López y Luis Martín Pérez\r\n".encode())
    # No images folder: the checker warns and still packs, and every entry is a source.
    shutil.move(comprobador_en(comprobador, proyecto), destino)
    with zipfile.ZipFile(destino) as z:
        assert len(z.infolist()) == ENTRADAS_LIMITE, len(z.infolist())
    # 20,000 files of a few bytes each: not worth keeping once packed.
    shutil.rmtree(os.path.dirname(solucion))


def corpus(trabajo, comprobador):
    """The 300 submission files, the campus archive of them and the archive at the bounds,
    made once and kept while VERSION and genera's stay the same."""
    destino = os.path.join(trabajo, "revisa-entregas")
    archivo_campus = os.path.join(trabajo, "revisa-campus", "campus.zip")
    archivo_limite = os.path.join(trabajo, "revisa-limite", "entrega.zip")
    hechos = (destino, archivo_campus, archivo_limite)
    version = f"{VERSION}-{genera.VERSION}"
    marca = os.path.join(destino, ".version")
    if os.path.exists(marca) and open(marca).read() == version:
        return hechos
    for carpeta in (destino, os.path.dirname(archivo_campus), os.path.dirname(archivo_limite)):
        shutil.rmtree(carpeta, ignore_errors=True)
    arboles = os.path.join(trabajo, "revisa-arboles")
    shutil.rmtree(arboles, ignore_errors=True)
    proyecto = genera.genera(os.path.join(arboles, "buena"), "tipica")
    buena = open(comprobador_en(comprobador, proyecto), "rb").read()
    # The same delivery with a source the project does not name, and build output beside it.
    otro = genera.genera(os.path.join(arboles, "avisos"), "tipica")
    with open(os.path.join(otro, "pruebas.cpp"), "w") as f:
        f.write("// pruebas\n" * 200)
    avisos = open(comprobador_en(comprobador, otro), "rb").read()
    os.makedirs(os.path.join(otro, "x64", "Debug"))
    with open(os.path.join(otro, "x64", "Debug", "Juego.exe"), "wb") as f:
        f.write(os.urandom(300_000))
    os.remove(os.path.join(otro, "entrega.zip"))
    mano = os.path.join(arboles, "mano.zip")
    zip_entero(os.path.dirname(otro), mano)
    mano = open(mano, "rb").read()

    archivos = []
    for i in range(ENTREGAS):
        carpeta = os.path.join(destino, f"{i:03d} Estudiante")
        os.makedirs(carpeta)
        tipo = i % 10
        if tipo < 4:
            datos = buena
        elif tipo < 6:
            datos = avisos
        elif tipo < 9:
            datos = mano
        else:
            datos = bytearray(buena)
            datos[len(datos) // 2] ^= 0xFF
        archivos.append(os.path.join(carpeta, "entrega.zip"))
        with open(archivos[-1], "wb") as f:
            f.write(datos)
    bomba(archivos[-1])
    # Both outside the folder of the 300, which revisa would otherwise take them from.
    os.makedirs(os.path.dirname(archivo_campus))
    campus(archivos, archivo_campus)
    os.makedirs(os.path.dirname(archivo_limite))
    limite(comprobador, arboles, archivo_limite)
    open(marca, "w").write(version)
    return hechos


def ejecuta(nombre, orden, memoria):
    inicio = time.perf_counter()
    proceso = subprocess.run(["/usr/bin/time", "-f", "%M %U %S", "-o", memoria, "--"] + orden,
                             stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                             stderr=subprocess.PIPE)
    segundos = time.perf_counter() - inicio
    # 1 is a review with findings; 2 is a review not made, which would time nothing.
    if nombre != UNZIP and proceso.returncode not in (0, 1):
        sys.exit(f"{nombre} falló ({proceso.returncode}): {proceso.stderr.decode()}")
    kib, usuario, sistema = open(memoria).read().split()[-3:]
    return segundos, int(kib), float(usuario), float(sistema)


def lecturas(orden):
    """One run apart from the timed ones: its read system calls (None where the kernel does
    not tell) and what it printed.

    The kernel's count of the process's read, pread64, readv and preadv calls, threads
    included, read from /proc/PID/io once it has exited and before it is reaped. It is
    within two calls of what strace -f -c counts, without a stop per call: tracing the 2.8
    million reads of a build that read in small blocks took minutes."""
    proceso = subprocess.Popen(orden, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL)
    impreso = proceso.stdout.read().decode().strip()
    os.waitid(os.P_PID, proceso.pid, os.WEXITED | os.WNOWAIT)
    try:
        with open(f"/proc/{proceso.pid}/io") as f:
            llamadas = int(re.search(r"^syscr: (\d+)$", f.read(), re.M).group(1))
    except (OSError, AttributeError):
        llamadas = None
    proceso.wait()
    return llamadas, impreso


def acepta_retroalimentacion(revisa, entrada, salida):
    """Whether this build knows --retroalimentacion: one run, before it is timed."""
    proceso = subprocess.run([revisa, "--salida", salida, "--retroalimentacion", entrada],
                             stdin=subprocess.DEVNULL, capture_output=True)
    return not (proceso.returncode == 2 and "opción desconocida" in proceso.stderr.decode())


def segundos(s):
    return f"{s:.2f} s" if s >= 1 else f"{s * 1000:.0f} ms"


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--revisa", required=True)
    p.add_argument("--comprobador", required=True)
    p.add_argument("--trabajo", required=True)
    p.add_argument("--repeticiones", type=int, default=5)
    a = p.parse_args()
    revisa, comprobador = os.path.abspath(a.revisa), os.path.abspath(a.comprobador)
    entregas, archivo_campus, archivo_limite = corpus(a.trabajo, comprobador)
    archivos = sorted(os.path.join(c, n) for c, _, ns in os.walk(entregas) for n in ns
                      if n.endswith(".zip"))
    salida = os.path.join(a.trabajo, "revisa-informe")
    salida_retro = os.path.join(a.trabajo, "revisa-informe-retroalimentacion")
    for carpeta in (salida, salida_retro):
        shutil.rmtree(carpeta, ignore_errors=True)
        os.makedirs(carpeta)
    memoria = os.path.join(a.trabajo, "revisa-memoria")
    bytes_totales = sum(os.path.getsize(f) for f in archivos)
    retro = acepta_retroalimentacion(revisa, archivos[0], salida_retro)
    # What the timed runs write is checked afterwards: nothing of this trial run may stay.
    shutil.rmtree(salida_retro)
    os.makedirs(salida_retro)

    # The review of the archives alone: the comparison of the participants' code has its own
    # benchmark (bench/similitud.py), on code of the size students write.
    revisa = [revisa, "--sin-similitud"]
    programas = {
        UNZIP: ["sh", "-c", 'for f in "$@"; do unzip -tq "$f"; done', "sh"] + archivos,
        J1: [*revisa, "--salida", salida, "-j", "1", entregas],
        J2: [*revisa, "--salida", salida, "-j", "2", entregas],
        CAMPUS1: [*revisa, "--salida", salida, "-j", "1", archivo_campus],
        CAMPUS2: [*revisa, "--salida", salida, "-j", "2", archivo_campus],
    }
    if retro:
        programas[RETRO1] = [*revisa, "--salida", salida_retro, "--retroalimentacion", "-j", "1",
                             archivo_campus]
        programas[RETRO2] = [*revisa, "--salida", salida_retro, "--retroalimentacion", "-j", "2",
                             archivo_campus]
    programas[LIMITE] = [*revisa, "--salida", salida, "-j", "1", archivo_limite]

    # Other work on the machine takes a core from -j 2 first: the load is part of the result.
    carga = os.getloadavg()[0]
    tiempos = {n: [] for n in programas}
    usuario = {n: [] for n in programas}
    sistema = {n: [] for n in programas}
    picos = {n: 0 for n in programas}
    for _ in range(a.repeticiones):
        for nombre, orden in programas.items():
            s, kib, u, si = ejecuta(nombre, orden, memoria)
            tiempos[nombre].append(s)
            usuario[nombre].append(u)
            sistema[nombre].append(si)
            picos[nombre] = max(picos[nombre], kib)
    carga_despues = os.getloadavg()[0]
    # With one thread (the count is the same with two), per submission.
    llamadas, resumenes = {}, {}
    for nombre, titulo, cuantas in ((J1, "300 files", ENTREGAS),
                                    (CAMPUS1, "campus archive", ENTREGAS),
                                    (LIMITE, f"{ENTRADAS_LIMITE:,} entries", 1)):
        n, resumenes[titulo] = lecturas(programas[nombre])
        llamadas[nombre] = None if n is None else n / cuantas
    escrito = retro and os.path.exists(os.path.join(salida_retro, "retroalimentacion.zip"))

    mediana = {n: statistics.median(t) for n, t in tiempos.items()}
    # The share of each run's CPU time spent in the kernel, median over the runs.
    parte_sistema = {n: statistics.median(s / max(u + s, 1e-9)
                                          for u, s in zip(usuario[n], sistema[n]))
                     for n in programas}
    base = mediana[UNZIP]
    print(f"{len(archivos)} submissions, {bytes_totales / 1e6:.0f} MB of archives, also as "
          f"one campus archive of {os.path.getsize(archivo_campus) / 1e6:.0f} MB; one "
          f"submission of {ENTRADAS_LIMITE:,} entries, "
          f"{os.path.getsize(archivo_limite) / 1e6:.1f} MB; {a.repeticiones} interleaved runs, "
          f"median; {os.cpu_count()} cores, load average {carga:.2f} before and "
          f"{carga_despues:.2f} after.\n")
    for titulo, texto in resumenes.items():
        print(f"revisa, {titulo}: {texto}  ")
    print()
    print("| program | wall time | vs unzip -tq | CPU time | user | system | system share "
          "| reads per submission | peak memory |")
    print("|---|---:|---:|---:|---:|---:|---:|---:|---:|")
    for nombre in programas:
        relacion = "–" if nombre == LIMITE else f"{mediana[nombre] / base:.2f}"
        cpu = statistics.median(u + s for u, s in zip(usuario[nombre], sistema[nombre]))
        n = llamadas.get(nombre)
        leidas = "–" if n is None else f"{n:,.0f}"
        print(f"| {nombre} | {segundos(mediana[nombre])} | {relacion} | {segundos(cpu)} | "
              f"{segundos(statistics.median(usuario[nombre]))} | "
              f"{segundos(statistics.median(sistema[nombre]))} | "
              f"{parte_sistema[nombre]:.0%} | {leidas} | {picos[nombre] / 1024:.1f} MB |")
    if not retro:
        for nombre in (RETRO1, RETRO2):
            print(f"| {nombre} | not available in this build | | | | | | | |")
    print()
    print("Reads per submission: read, pread64, readv and preadv calls of a -j 1 run of their "
          "own, as counted by the kernel (/proc/PID/io).")
    aceleracion = mediana[J1] / mediana[J2]
    print(f"-j 2 against -j 1: {aceleracion:.2f}x faster.")
    campus1, campus2 = mediana[CAMPUS1] / mediana[J1], mediana[CAMPUS2] / mediana[J2]
    print(f"The campus archive against the same 300 as files: {campus1:.2f}x the time with "
          f"-j 1, {campus2:.2f}x with -j 2.")
    if retro:
        mas1, mas2 = mediana[RETRO1] / mediana[CAMPUS1], mediana[RETRO2] / mediana[CAMPUS2]
        print(f"--retroalimentacion over the campus archive: {mas1 - 1:+.0%} with -j 1, "
              f"{mas2 - 1:+.0%} with -j 2"
              + ("." if escrito else "; it wrote no retroalimentacion.zip."))
    print()

    leidas_j1 = llamadas[J1]
    revisas = [n for n in programas if n != UNZIP]
    objetivos = [
        ("revisa -j 2 <= 0.75 of unzip -tq", mediana[J2] / base <= 0.75),
        ("revisa -j 1 <= 1.0 of unzip -tq", mediana[J1] / base <= 1.0),
        ("-j 2 at least 1.7x faster than -j 1", aceleracion >= 1.7),
        ("peak memory under 64 MB, every revisa row",
         max(picos[n] for n in revisas) < 64 * 1024),
        ("revisa -j 1: system time under 15% of its CPU time", parte_sistema[J1] < 0.15),
        ("revisa -j 1: under 200 read calls per submission",
         None if leidas_j1 is None else leidas_j1 < 200),
        ("the campus archive in at most 1.25x the time of the same 300 as files (-j 1 and -j 2)",
         max(campus1, campus2) <= 1.25),
        (f"{ENTRADAS_LIMITE:,} entries in one submission under 0.5 s", mediana[LIMITE] < 0.5),
        ("--retroalimentacion adds at most 10% to the run (-j 1 and -j 2)",
         max(mas1, mas2) <= 1.10 and escrito if retro else "not available in this build"),
    ]
    for texto, cumple in objetivos:
        if cumple is None:
            estado = "not measured (no /proc/PID/io)"
        elif isinstance(cumple, str):
            estado = cumple
        else:
            estado = "met" if cumple else "MISSED"
        print(f"- {texto}: {estado}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
