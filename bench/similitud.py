#!/usr/bin/env python3
"""The copy detection's evaluation and benchmark, as a Markdown report.

    bench/similitud.py --banco build/dev/bench/similitud_banco --trabajo build/bench

Evaluation: independent solutions of "Práctica 2" (bench/soluciones.py) and copies of some of
them at each disguise level, compared with the template given; for each level, the share of
copies flagged; the independent pairs flagged; the ranking's average precision over every
pair; the scores and longest fragments of independent pairs. Then the same with the template
deduced, and with another seed. Speed: 400 participants of about 1,500 lines with copies among
them, fingerprinted on two threads and compared, with the template given and without; the
time of both and the driver's peak memory, against their targets.

With --revisa and --comprobador, the speed set again as a campus download of deliveries the
checker packed, through revisa itself (-j 2): what the comparison adds to the whole run (the
same run with --sin-similitud), with the template given and without, and the run's peak memory.

Each set is generated once into TRABAJO/similitud/ and kept there while the generator's
sources do not change.
"""

import argparse
import hashlib
import json
import os
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import zipfile

AQUI = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, AQUI)

import soluciones  # noqa: E402

OBJETIVO_SEGUNDOS = 0.5
OBJETIVO_MB = 64


def umbrales():
    """kSimilitudAviso and kFragmentoAviso, as the library has them."""
    valores = {}
    with open(os.path.join(AQUI, '..', 'src', 'similitud', 'comparacion.h')) as f:
        for linea in f:
            for nombre in ('kSimilitudAviso', 'kFragmentoAviso'):
                if f' {nombre} = ' in linea:
                    valores[nombre] = int(linea.split('=')[1].strip().rstrip(';'))
    return valores['kSimilitudAviso'], valores['kFragmentoAviso']


def huella_generador():
    h = hashlib.sha256()
    for nombre in ('soluciones.py', 'partes.py', 'codigo.py'):
        with open(os.path.join(AQUI, nombre), 'rb') as f:
            h.update(f.read())
    return h.hexdigest()[:12]


def genera(carpeta, semilla, independientes, copias, lineas):
    """Participants p000... in carpeta/participantes, the template in carpeta/plantilla, and
    carpeta/verdad.json: [fuente, copia, nivel] for every copy."""
    marca = os.path.join(carpeta, 'completo')
    if os.path.exists(marca):
        with open(os.path.join(carpeta, 'verdad.json')) as f:
            return json.load(f)
    shutil.rmtree(carpeta, ignore_errors=True)
    rng = random.Random(f'conjunto-{semilla}')
    semillas = rng.sample(range(1, 10**6), independientes)
    trabajos = [(s, 0, None) for s in semillas]
    fuentes = rng.sample(range(independientes), min(independientes, 6 * copias))
    for k, f in enumerate(fuentes):
        nivel = 1 + k // copias
        propia = rng.randrange(10**6, 2 * 10**6) if nivel == 6 else None
        trabajos.append((semillas[f], nivel, propia))
    orden = list(range(len(trabajos)))
    rng.shuffle(orden)  # names say nothing of who copies whom
    nombres = {i: f'p{orden[i]:03d}' for i in range(len(trabajos))}
    for i, (s, nivel, propia) in enumerate(trabajos):
        soluciones.escribe_solucion(os.path.join(carpeta, 'participantes', nombres[i]), s, lineas,
                                    nivel, propia)
    verdad = [[nombres[f], nombres[independientes + k], 1 + k // copias]
              for k, f in enumerate(fuentes)]
    soluciones.escribe_plantilla(os.path.join(carpeta, 'plantilla'))
    with open(os.path.join(carpeta, 'verdad.json'), 'w') as f:
        json.dump(verdad, f)
    open(marca, 'w').close()
    return verdad


def ejecuta(banco, carpeta, plantilla=True, hilos=2):
    orden = [banco, os.path.join(carpeta, 'participantes'), '--hilos', str(hilos)]
    if plantilla:
        orden += ['--plantilla', os.path.join(carpeta, 'plantilla')]
    r = subprocess.run(orden, capture_output=True, text=True, check=True)
    pares = []
    for linea in r.stdout.splitlines()[1:]:
        if not linea.startswith('\t'):
            a, b, sim, frag, aviso = linea.split('\t')
            pares.append((a, b, int(sim), int(frag), aviso == '1'))
    datos = dict(x.split('=') for x in r.stderr.split())
    return pares, datos


def evalua(pares, verdad, n):
    """Recall by level, false flags, average precision, the independent pairs' scores."""
    positivos = {tuple(sorted((f, c))): nivel for f, c, nivel in verdad}
    listados = {tuple(sorted((a, b))): (sim, frag, aviso) for a, b, sim, frag, aviso in pares}
    total = n * (n - 1) // 2
    por_nivel = {}
    for par, nivel in positivos.items():
        sim, frag, aviso = listados.get(par, (0, 0, False))
        por_nivel.setdefault(nivel, []).append((sim, frag, aviso))
    independientes = [(s, f, a) for par, (s, f, a) in listados.items() if par not in positivos]
    falsos = sum(1 for _, _, a in independientes if a)
    # Average precision: every pair ranked by similitud, ties broken against the detector;
    # pairs not listed (similitud under 10) rank last.
    ranking = sorted(((s, par in positivos) for par, (s, _, _) in listados.items()),
                     key=lambda x: (-x[0], x[1]))
    aciertos, suma = 0, 0.0
    for i, (_, positivo) in enumerate(ranking, 1):
        if positivo:
            aciertos += 1
            suma += aciertos / i
    ap = suma / len(positivos) if positivos else 0.0
    return por_nivel, independientes, falsos, ap, total - len(positivos)


def tabla_evaluacion(titulo, pares, verdad, n):
    por_nivel, independientes, falsos, ap, n_indep = evalua(pares, verdad, n)
    lineas = [f'### {titulo}', '',
              '| level | disguise | copies | flagged | recall | similitud (min–median–max) | longest fragment (min–median) |',
              '|---|---|---:|---:|---:|---|---|']
    for nivel in sorted(por_nivel):
        filas = por_nivel[nivel]
        sims = sorted(s for s, _, _ in filas)
        frags = sorted(f for _, f, _ in filas)
        marcados = sum(1 for _, _, a in filas if a)
        lineas.append(f'| {nivel} | {soluciones.NIVELES[nivel]} | {len(filas)} | {marcados} | '
                      f'{100 * marcados / len(filas):.0f}% | {sims[0]}–{statistics.median(sims):.0f}–{sims[-1]} | '
                      f'{frags[0]}–{statistics.median(frags):.0f} |')
    sims = sorted((s for s, _, _ in independientes), reverse=True)
    frags = sorted((f for _, f, _ in independientes), reverse=True)
    intervalos = [(50, 101), (40, 50), (30, 40), (20, 30), (10, 20)]
    cuenta = {i: sum(1 for s in sims if i[0] <= s < i[1]) for i in intervalos}
    menos = n_indep - len(sims)
    percentil = sorted(sims + [0] * menos, reverse=True)[max(0, n_indep // 100 - 1)] if n_indep else 0
    lineas += ['', f'Independent pairs: {n_indep}; flagged: {falsos}. '
               f'Average precision of the ranking by similitud: {ap:.3f}.', '',
               '| similitud of independent pairs | pairs |', '|---|---:|']
    lineas += [f'| {a}–{min(b, 100) if b <= 100 else 100} | {cuenta[(a, b)]} |' for a, b in intervalos]
    lineas.append(f'| under 10 (not listed) | {menos} |')
    lineas += ['', f'Highest similitud of an independent pair: {sims[0] if sims else 0}; its 99th '
               f'percentile: {percentil}. Longest fragment of an independent pair: '
               f'{frags[0] if frags else 0} lines (next ones: {", ".join(map(str, frags[1:5]))}).', '']
    # The flag at thresholds around the chosen ones: how far they are from a knife-edge.
    similitud, fragmento = umbrales()
    lineas += ['| flag at | independent pairs flagged | copies flagged, levels 1–5 | level 6 |',
               '|---|---:|---:|---:|']
    for s_umbral, f_umbral in [(similitud - 5, fragmento), (similitud, fragmento),
                               (similitud + 5, fragmento), (similitud, fragmento + 10),
                               (similitud, fragmento + 20)]:
        marca = lambda s, f: s >= s_umbral or f >= f_umbral  # noqa: E731
        hasta5 = [x for n in por_nivel if n <= 5 for x in por_nivel[n]]
        lineas.append(f'| similitud ≥ {s_umbral} or fragment ≥ {f_umbral} | '
                      f'{sum(1 for s, f, _ in independientes if marca(s, f))} | '
                      f'{sum(1 for s, f, _ in hasta5 if marca(s, f))} of {len(hasta5)} | '
                      f'{sum(1 for s, f, _ in por_nivel.get(6, []) if marca(s, f))} of '
                      f'{len(por_nivel.get(6, []))} |')
    lineas.append('')
    return lineas, por_nivel, independientes, falsos, ap


def velocidad(args, carpeta):
    filas = ['### Speed: 400 participants', '',
             '| template | participants | lines | marks | reading and fingerprints | fingerprints | compara | fingerprints + compara | peak memory |',
             '|---|---:|---:|---:|---:|---:|---:|---:|---:|']
    resultados = []
    for plantilla in (True, False):
        tiempos = []
        for _ in range(args.repeticiones):
            _, datos = ejecuta(args.banco, carpeta, plantilla)
            tiempos.append((float(datos['huellas_s']) + float(datos['compara_s']),
                            float(datos['huellas_s']), float(datos['compara_s']),
                            int(datos['memoria_pico_kb']) / 1024, datos))
        tiempos.sort(key=lambda t: t[0])
        total, huellas, compara, mb, datos = tiempos[len(tiempos) // 2]
        filas.append(f'| {"given" if plantilla else "deduced"} | {datos["participantes"]} | '
                     f'{int(datos["lineas"]):,} | {int(datos["marcas"]):,} | '
                     f'{float(datos["lectura_y_huellas_s"]):.3f} s | {huellas:.3f} s | '
                     f'{compara:.3f} s | {total:.3f} s | {mb:.1f} MB |')
        resultados.append((plantilla, total, mb))
    filas += ['', f'Median of {args.repeticiones} runs, by fingerprints + compara. The files are read '
              'and fingerprinted by 2 workers; "fingerprints" is the longest worker\'s time in '
              'huellasDe (the review reads the files anyway); compara takes the machine\'s 2 '
              'threads; peak memory of the whole driver, the texts read included.', '']
    for plantilla, total, mb in resultados:
        cual = 'template given' if plantilla else 'template deduced'
        filas.append(f'- {cual}: fingerprints + compara at most {OBJETIVO_SEGUNDOS} s: '
                     f'{"met" if total <= OBJETIVO_SEGUNDOS else "MISSED"} ({total:.3f} s)')
        filas.append(f'- {cual}: peak memory under {OBJETIVO_MB} MB: '
                     f'{"met" if mb < OBJETIVO_MB else "MISSED"} ({mb:.1f} MB)')
    return filas


VCXPROJ = """<?xml version="1.0" encoding="utf-8"?>
<Project DefaultTargets="Build" xmlns="http://schemas.microsoft.com/developer/msbuild/2003">
  <ItemGroup>
{}  </ItemGroup>
</Project>
"""


def campus(comprobador, carpeta):
    """carpeta/campus.zip: each participant's code as a delivery the checker packed, in the
    campus's folders form."""
    destino = os.path.join(carpeta, 'campus.zip')
    if os.path.exists(destino):
        return destino
    participantes = os.path.join(carpeta, 'participantes')
    with tempfile.TemporaryDirectory() as tmp, \
            zipfile.ZipFile(destino + '.tmp', 'w', zipfile.ZIP_DEFLATED) as z:
        for i, nombre in enumerate(sorted(os.listdir(participantes))):
            solucion = os.path.join(tmp, nombre, 'Solucion')
            shutil.copytree(participantes + '/' + nombre, solucion)
            juego = os.path.join(solucion, 'Juego')
            items = ''.join(f'    <{"ClInclude" if n.endswith(".h") else "ClCompile"} '
                            f'Include="{n}" />\n' for n in sorted(os.listdir(juego)))
            with open(os.path.join(juego, 'Juego.vcxproj'), 'w') as f:
                f.write(VCXPROJ.format(items))
            for n, texto in (('Solucion.sln', 'sln\n'), ('info.txt', nombre + '\n')):
                with open(os.path.join(solucion, n), 'w') as f:
                    f.write(texto)
            os.makedirs(os.path.join(solucion, 'images'))
            subprocess.run([comprobador], cwd=juego, check=True, capture_output=True)
            z.write(os.path.join(juego, 'entrega.zip'),
                    f'Estudiante {nombre}_{1000 + i}_assignsubmission_file/entrega.zip')
    os.replace(destino + '.tmp', destino)
    return destino


def con_revisa(args, carpeta):
    """revisa -j 2 over the speed set as a campus download: with and without the comparison,
    the template given and not, interleaved; the median wall time and the peak memory."""
    descarga = campus(os.path.abspath(args.comprobador), carpeta)
    plantilla = ['--plantilla', os.path.join(carpeta, 'plantilla')]
    casos = {'without the comparison': ['--sin-similitud'], 'template given': plantilla,
             'template deduced': []}
    medidas = {c: [] for c in casos}
    with tempfile.TemporaryDirectory() as salida:
        for _ in range(args.repeticiones):
            for caso, opciones in casos.items():
                r = subprocess.run(['/usr/bin/time', '-f', '%e %M', args.revisa, '-j', '2',
                                    '--salida', salida, *opciones, descarga],
                                   capture_output=True, text=True)
                segundos, kb = r.stderr.split()[-2:]
                medidas[caso].append((float(segundos), int(kb) / 1024))
                resumen = r.stdout.strip()
    mediana = {c: statistics.median(s for s, _ in m) for c, m in medidas.items()}
    pico = {c: max(mb for _, mb in m) for c, m in medidas.items()}
    filas = ['', '### Through revisa: the same 402 participants as one campus download', '',
             f'{resumen}', '', '| revisa -j 2 | wall time | added by the comparison | peak memory |',
             '|---|---:|---:|---:|']
    base = mediana['without the comparison']
    for caso in casos:
        filas.append(f'| {caso} | {mediana[caso]:.3f} s | '
                     f'{"–" if caso == "without the comparison" else f"{mediana[caso] - base:+.3f} s"}'
                     f' | {pico[caso]:.1f} MB |')
    filas.append('')
    for caso in ('template given', 'template deduced'):
        filas.append(f'- {caso}: the comparison adds at most {OBJETIVO_SEGUNDOS} s to the run: '
                     f'{"met" if mediana[caso] - base <= OBJETIVO_SEGUNDOS else "MISSED"}')
        filas.append(f'- {caso}: the run\'s peak memory under {OBJETIVO_MB} MB: '
                     f'{"met" if pico[caso] < OBJETIVO_MB else "MISSED"}')
    return filas


def main():
    a = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    a.add_argument('--banco', required=True, help='the driver, similitud_banco')
    a.add_argument('--trabajo', default='build/bench', help='where the sets are kept')
    a.add_argument('--semillas', default='1,2', help='seeds of the evaluation sets')
    a.add_argument('--independientes', type=int, default=60)
    a.add_argument('--copias', type=int, default=8, help='copies at each disguise level')
    a.add_argument('--lineas', type=int, default=1500)
    a.add_argument('--repeticiones', type=int, default=5)
    a.add_argument('--sin-velocidad', action='store_true')
    a.add_argument('--revisa', help='revisa, to time the comparison within a whole review')
    a.add_argument('--comprobador', help='comprobador, which packs the deliveries revisa reads')
    args = a.parse_args()

    raiz = os.path.join(args.trabajo, 'similitud', huella_generador())
    similitud, fragmento = umbrales()
    informe = ['## Copy detection', '',
               f'Flagged: similitud ≥ {similitud} or a shared fragment of {fragmento} lines or more.', '']
    for i, semilla in enumerate(int(s) for s in args.semillas.split(',')):
        carpeta = os.path.join(raiz, f'evaluacion-{semilla}-{args.independientes}-{args.copias}-{args.lineas}')
        verdad = genera(carpeta, semilla, args.independientes, args.copias, args.lineas)
        n = len(os.listdir(os.path.join(carpeta, 'participantes')))
        pares, datos = ejecuta(args.banco, carpeta, True)
        lineas, *_ = tabla_evaluacion(
            f'Seed {semilla}: {args.independientes} independent solutions and {len(verdad)} copies, '
            f'template given ({int(datos["lineas"]) // n} lines of code each on average)', pares, verdad, n)
        informe += lineas
        if i == 0:
            pares, _ = ejecuta(args.banco, carpeta, False)
            lineas, *_ = tabla_evaluacion(f'Seed {semilla}, template deduced', pares, verdad, n)
            informe += lineas
    if not args.sin_velocidad:
        carpeta = os.path.join(raiz, f'velocidad-{args.lineas}')
        genera(carpeta, 99, 360, 7, args.lineas)
        informe += velocidad(args, carpeta)
        if args.revisa and args.comprobador:
            informe += con_revisa(args, carpeta)
    print('\n'.join(informe))


if __name__ == '__main__':
    main()
