"""C++ code as the solutions' generator builds it: statements, functions and classes, with
names and a style of their own, rendered to text.

Names in the statements are concepts: `$vida` a local, parameter or function, `@vida` a
member, `$$Enemigo` a type. Each solution maps them to identifiers of its own (`Nombres`);
a copy that renames them maps them again. `INC(x)` and `DEC(x)` are increments, written in
the solution's form; `std::` is dropped where the solution says `using namespace std;`.
"""

import re

# Words a concept may be named with, as students name it; any other concept is named as
# written.
SINONIMOS = {
    'x': [['x'], ['pos', 'x'], ['px'], ['pos', 'x']],
    'y': [['y'], ['pos', 'y'], ['py'], ['pos', 'y']],
    'vx': [['vx'], ['vel', 'x'], ['velocidad', 'x'], ['dx'], ['speed', 'x']],
    'vy': [['vy'], ['vel', 'y'], ['velocidad', 'y'], ['dy'], ['speed', 'y']],
    'ancho': [['ancho'], ['w'], ['width'], ['tam', 'x']],
    'alto': [['alto'], ['h'], ['height'], ['tam', 'y']],
    'vida': [['vida'], ['vidas'], ['salud'], ['hp'], ['energia'], ['lives']],
    'puntos': [['puntos'], ['puntuacion'], ['score'], ['pts'], ['marcador']],
    'activo': [['activo'], ['vivo'], ['visible'], ['alive'], ['en', 'juego']],
    'tiempo': [['tiempo'], ['timer'], ['contador'], ['reloj'], ['t']],
    'dt': [['dt'], ['delta'], ['tiempo', 'frame'], ['delta', 'time'], ['seg']],
    'velocidad': [['velocidad'], ['rapidez'], ['speed'], ['vel'], ['velocidad', 'base']],
    'enemigos': [['enemigos'], ['malos'], ['enemies'], ['lista', 'enemigos'], ['rivales']],
    'disparos': [['disparos'], ['balas'], ['proyectiles'], ['bullets'], ['tiros']],
    'objetos': [['objetos'], ['items'], ['monedas'], ['premios'], ['recompensas']],
    'nivel': [['nivel'], ['level'], ['nivel', 'actual'], ['num', 'nivel'], ['fase']],
    'mapa': [['mapa'], ['tablero'], ['tiles'], ['casillas'], ['escenario']],
    'estado': [['estado'], ['modo'], ['pantalla'], ['state'], ['fase', 'juego']],
    'opcion': [['opcion'], ['seleccion'], ['opcion', 'actual'], ['cursor'], ['elegida']],
    'heroe': [['heroe'], ['jugador'], ['player'], ['prota'], ['personaje']],
    'i': [['i']], 'j': [['j']], 'k': [['k']],
    'e': [['e'], ['en'], ['enemigo'], ['malo'], ['it']],
    'd': [['d'], ['b'], ['bala'], ['disparo'], ['p']],
    'o': [['o'], ['obj'], ['item'], ['moneda'], ['objeto']],
    'fila': [['fila'], ['f'], ['row'], ['i', 'fila']],
    'col': [['col'], ['c'], ['columna'], ['j', 'col']],
    'linea': [['linea'], ['renglon'], ['line'], ['texto', 'linea']],
    'archivo': [['archivo'], ['fichero'], ['f'], ['entrada'], ['file']],
    'ruta': [['ruta'], ['nombre', 'archivo'], ['path'], ['fichero']],
    'imagen': [['imagen'], ['img'], ['sprite'], ['textura'], ['dibujo']],
    'frame': [['frame'], ['fotograma'], ['cuadro'], ['frame', 'actual'], ['paso', 'anim']],
    'tipo': [['tipo'], ['clase'], ['kind'], ['tipo', 'enemigo'], ['variante']],
    'dir': [['dir'], ['direccion'], ['sentido'], ['lado'], ['orientacion']],
    'salto': [['saltando'], ['en', 'aire'], ['salta'], ['jumping'], ['en', 'salto']],
    'suelo': [['suelo'], ['en', 'suelo'], ['apoyado'], ['grounded'], ['tocando', 'suelo']],
    'invulnerable': [['invulnerable'], ['inmune'], ['tiempo', 'inmune'], ['proteccion'],
                     ['escudo']],
    'record': [['record'], ['mejor'], ['max', 'puntos'], ['high', 'score'], ['mejor', 'marca']],
    'tabla': [['tabla'], ['records'], ['mejores'], ['ranking'], ['top']],
    'n': [['n'], ['total'], ['cuantos'], ['num'], ['cantidad']],
    'distancia': [['distancia'], ['dist'], ['d'], ['separacion'], ['lejania']],
    'camara': [['camara'], ['cam'], ['vista'], ['desplazamiento'], ['scroll']],
    'particulas': [['particulas'], ['chispas'], ['efectos'], ['explosiones'], ['fx']],
    'combo': [['combo'], ['racha'], ['multiplicador'], ['cadena'], ['bonus']],
    'cadencia': [['cadencia'], ['recarga'], ['espera', 'disparo'], ['cooldown'], ['retardo']],
    'pausa': [['pausa'], ['pausado'], ['en', 'pausa'], ['paused'], ['detenido']],
}

# Types: a student may call a class by any of these.
TIPOS = {
    'Heroe': ['Heroe', 'Jugador', 'Player', 'Personaje', 'Protagonista', 'Nave'],
    'Enemigo': ['Enemigo', 'Enemy', 'Malo', 'Rival', 'Monstruo', 'Adversario'],
    'Disparo': ['Disparo', 'Bala', 'Proyectil', 'Bullet', 'Tiro', 'Laser'],
    'Objeto': ['Objeto', 'Item', 'Moneda', 'Premio', 'PowerUp', 'Recompensa'],
    'Nivel': ['Nivel', 'Mapa', 'Level', 'Escenario', 'Tablero', 'Fase'],
    'Marcador': ['Marcador', 'Puntuacion', 'Score', 'Records', 'TablaRecords', 'Ranking'],
    'Menu': ['Menu', 'MenuPrincipal', 'Pantallas', 'Interfaz', 'MenuJuego', 'Opciones'],
    'Estado': ['Estado', 'EstadoJuego', 'Modo', 'Pantalla', 'GameState', 'Fase'],
    'Particula': ['Particula', 'Chispa', 'Efecto', 'Explosion', 'Destello', 'Particle'],
    'Camara': ['Camara', 'Vista', 'Camera', 'Scroll', 'Visor', 'Encuadre'],
    'Animacion': ['Animacion', 'Sprite', 'Animador', 'Anim', 'SecuenciaAnim', 'Fotogramas'],
    'Tipo': ['TipoEnemigo', 'Clase', 'Especie', 'Raza', 'Categoria', 'Variedad'],
    'Colision': ['Colisiones', 'Fisica', 'Choques', 'Impactos', 'Contactos', 'Motor'],
}

PLACEHOLDER = re.compile(r'\$\$(\w+)|\$(\w+)|(\.|->)@(\w+)|@(\w+)')


class Nombres:
    """The identifiers of one solution: a convention, and a choice for each concept."""

    def __init__(self, rng, evita=None):
        self.rng = rng
        self.convencion = rng.choice(['camel', 'camel', 'camel', 'snake'])
        self.miembro = rng.choice(['', '', 'm_', 'sufijo', 'this'])
        self.elegidos = {}
        self.usados = set()
        self.evita = evita  # another Nombres whose choices a renaming avoids

    def _forma(self, palabras):
        if self.convencion == 'snake':
            return '_'.join(palabras)
        return palabras[0] + ''.join(p[:1].upper() + p[1:] for p in palabras[1:])

    def _elige(self, clave, opciones):
        if clave in self.elegidos:
            return self.elegidos[clave]
        opciones = list(opciones)
        self.rng.shuffle(opciones)
        if self.evita is not None and clave in self.evita.elegidos and len(opciones) > 1:
            viejo = self.evita.elegidos[clave]
            opciones.sort(key=lambda o: o == viejo)
        for o in opciones:
            if o not in self.usados:
                break
        else:
            o = opciones[0] + str(len(self.usados))
        self.usados.add(o)
        self.elegidos[clave] = o
        return o

    def local(self, concepto):
        opciones = [self._forma(p) for p in SINONIMOS.get(concepto, [self._partes(concepto)])]
        if self.evita is not None and len(opciones) == 1 and concepto not in ('i', 'j', 'k'):
            opciones += [opciones[0] + 'Aux', 'mi' + opciones[0][:1].upper() + opciones[0][1:]]
        return self._elige(concepto, opciones)

    def _partes(self, concepto):
        return [p.lower() for p in re.findall(r'[A-Z]?[a-z0-9]+|[A-Z]+(?![a-z])', concepto)]

    def campo(self, concepto):
        base = self.local(concepto)
        if self.miembro == 'm_':
            return 'm_' + base
        if self.miembro == 'sufijo':
            return base + '_'
        return base

    def miembro_uso(self, concepto):
        campo = self.campo(concepto)
        return 'this->' + campo if self.miembro == 'this' else campo

    def tipo(self, concepto):
        return self._elige('$$' + concepto, TIPOS.get(concepto, [concepto]))

    def resuelve(self, texto):
        def sustituye(m):
            if m.group(1):
                return self.tipo(m.group(1))
            if m.group(2):
                return self.local(m.group(2))
            if m.group(3):
                return m.group(3) + self.campo(m.group(4))
            return self.miembro_uso(m.group(5))
        return PLACEHOLDER.sub(sustituye, texto)


class Estilo:
    """How a solution is written: its layout, and the forms of its loops, increments and
    conditions."""

    def __init__(self, rng):
        self.sangria = rng.choice(['  ', '    ', '    ', '\t'])
        self.allman = rng.random() < 0.35
        self.espacio = rng.random() < 0.8  # "if (" or "if("
        self.llaves_simples = rng.random() < 0.6
        self.comentarios = rng.choice([0.0, 0.05, 0.15, 0.3])
        self.blancos = rng.choice([0.05, 0.15, 0.3])
        self.guarda = rng.random() < 0.7  # #pragma once or an include guard
        self.usa_std = rng.random() < 0.5
        self.incremento = rng.choice(['x++', 'x++', 'x++', '++x', 'x += 1'])
        self.bucle_while = 0.0  # share of counted loops written as while
        self.gira = 0.0  # share of if-else turned round with the condition negated
        self.rng = rng

    def maquetacion(self, rng):
        """Another layout, the same forms: what a copy that only reformats changes."""
        otro = Estilo(rng)
        otro.usa_std, otro.incremento = self.usa_std, self.incremento
        otro.bucle_while, otro.gira = self.bucle_while, self.gira
        return otro


# Statements.

class S:
    def __init__(self, texto):
        self.texto = texto


class Comentario:
    def __init__(self, texto):
        self.texto = texto


class Si:
    def __init__(self, cond, si, no=None, neg=None):
        self.cond, self.si, self.no, self.neg = cond, list(si), list(no) if no else None, neg


class Para:
    """for (tipo var = ini; cond; paso) cuerpo; paso is '++', '--' or '+= n'."""

    def __init__(self, var, ini, cond, cuerpo, paso='++', tipo='int'):
        self.var, self.ini, self.cond, self.cuerpo, self.paso, self.tipo = (
            var, ini, cond, list(cuerpo), paso, tipo)


class Cada:
    def __init__(self, decl, coleccion, cuerpo):
        self.decl, self.coleccion, self.cuerpo = decl, coleccion, list(cuerpo)


class Mientras:
    def __init__(self, cond, cuerpo):
        self.cond, self.cuerpo = cond, list(cuerpo)


class Segun:
    def __init__(self, expr, casos):
        self.expr, self.casos = expr, casos  # [(etiqueta or None, [statements])]


class Enumeracion:
    def __init__(self, nombre, valores, clase=True):
        self.nombre, self.valores, self.clase = nombre, list(valores), clase


class Funcion:
    def __init__(self, ret, nombre, params, cuerpo, const=False, comentario=None, clase=None):
        self.ret, self.nombre, self.params, self.cuerpo = ret, nombre, params, list(cuerpo)
        self.const, self.comentario, self.clase = const, comentario, clase

    def prototipo(self):
        return f'{self.ret} {self.nombre}({self.params}){" const" if self.const else ""};'.strip()


class Clase:
    def __init__(self, nombre, campos, metodos, base=None, comentario=None, struct=False):
        self.nombre, self.campos, self.metodos = nombre, list(campos), list(metodos)
        self.base, self.comentario, self.struct = base, comentario, struct


COMENTARIOS = [
    'actualiza la posicion', 'comprueba los limites de la pantalla', 'TODO: mejorar esto',
    'recorremos todos', 'si se sale lo quitamos', 'aqui se dibuja todo', 'esto no funcionaba bien',
    'calculo de la velocidad', 'miramos si choca', 'se reinicia el contador',
    'para que no se salga', 'cambio de estado', 'sumamos los puntos', 'cargamos el nivel',
    'ver enunciado', 'importante: antes de dibujar', 'version 2', 'lo del salto',
    'movimiento del enemigo', 'por si acaso', 'ordenar de mayor a menor', 'guardar en fichero',
    'inicializamos variables', 'hay que restar una vida', 'efecto al morir',
]


class Render:
    """Statements, functions and classes of one solution, as text."""

    def __init__(self, estilo, nombres, rng):
        self.e, self.n, self.rng = estilo, nombres, rng

    def texto(self, t):
        t = self.n.resuelve(t)
        t = re.sub(r'INC\(([^()]*(?:\([^()]*\))?[^()]*)\)', lambda m: self.incremento(m.group(1), '+'), t)
        t = re.sub(r'DEC\(([^()]*(?:\([^()]*\))?[^()]*)\)', lambda m: self.incremento(m.group(1), '-'), t)
        if not self.e.usa_std:
            t = t.replace('std::', '')
        return t

    def incremento(self, x, signo):
        forma = self.e.incremento
        if forma == 'x++':
            return x + signo * 2
        if forma == '++x':
            return signo * 2 + x
        return f'{x} {signo}= 1'

    def clave(self, palabra):
        return palabra + (' ' if self.e.espacio else '')

    def abre(self, cabecera, nivel):
        s = self.e.sangria * nivel
        if self.e.allman:
            return [s + cabecera, s + '{']
        return [s + cabecera + ' {']

    def bloque(self, cabecera, cuerpo, nivel, cierre='}'):
        s = self.e.sangria * nivel
        if len(cuerpo) == 1 and isinstance(cuerpo[0], S) and not self.e.llaves_simples:
            return [s + cabecera] + self.sentencias(cuerpo, nivel + 1)
        return self.abre(cabecera, nivel) + self.sentencias(cuerpo, nivel + 1) + [s + cierre]

    def sentencias(self, nodos, nivel):
        lineas = []
        s = self.e.sangria * nivel
        for i, x in enumerate(nodos):
            if i > 0 and self.rng.random() < self.e.blancos and not isinstance(x, Comentario):
                lineas.append('')
            if self.rng.random() < self.e.comentarios / 3 and not isinstance(x, Comentario):
                lineas.append(s + '// ' + self.rng.choice(COMENTARIOS))
            lineas += self.sentencia(x, nivel)
        return lineas

    def sentencia(self, x, nivel):
        s = self.e.sangria * nivel
        if isinstance(x, S):
            return [s + self.texto(l) for l in x.texto.split('\n')]
        if isinstance(x, Comentario):
            return [s + '// ' + self.texto(x.texto)] if self.e.comentarios > 0 else []
        if isinstance(x, Si):
            cond, si, no = x.cond, x.si, x.no
            if no and self.rng.random() < self.e.gira:
                cond = x.neg if x.neg else '!(' + cond + ')'
                si, no = no, si
            lineas = self.bloque(self.clave('if') + '(' + self.texto(cond) + ')', si, nivel)
            if no:
                if len(no) == 1 and isinstance(no[0], Si):
                    resto = self.sentencia(no[0], nivel)
                    lineas += [s + 'else ' + resto[0].lstrip()] + resto[1:]
                else:
                    lineas += self.bloque('else', no, nivel)
            return lineas
        if isinstance(x, Para):
            return self.para(x, nivel)
        if isinstance(x, Cada):
            return self.bloque(self.clave('for') + '(' + self.texto(x.decl + ' : ' + x.coleccion)
                               + ')', x.cuerpo, nivel)
        if isinstance(x, Mientras):
            return self.bloque(self.clave('while') + '(' + self.texto(x.cond) + ')', x.cuerpo, nivel)
        if isinstance(x, Segun):
            lineas = self.abre(self.clave('switch') + '(' + self.texto(x.expr) + ')', nivel)
            for etiqueta, cuerpo in x.casos:
                lineas.append(s + self.e.sangria + (f'case {self.texto(etiqueta)}:' if etiqueta
                                                     else 'default:'))
                lineas += self.sentencias(cuerpo + [S('break;')], nivel + 2)
            return lineas + [s + '}']
        raise TypeError(x)

    def paso(self, x):
        v = self.texto(x.var)
        if x.paso == '++':
            return self.incremento(v, '+')
        if x.paso == '--':
            return self.incremento(v, '-')
        return f'{v} {x.paso}'

    def para(self, x, nivel):
        s = self.e.sangria * nivel
        v = self.texto(x.var)
        if self.rng.random() < self.e.bucle_while:
            inicio = [s + self.texto(f'{x.tipo} {x.var} = {x.ini};')]
            return inicio + self.bloque(self.clave('while') + '(' + self.texto(x.cond) + ')',
                                        x.cuerpo + [S(self.paso(x) + ';')], nivel)
        cabecera = f'{x.tipo} {v} = {self.texto(x.ini)}; {self.texto(x.cond)}; {self.paso(x)}'
        return self.bloque(self.clave('for') + '(' + cabecera + ')', x.cuerpo, nivel)

    def funcion(self, f):
        lineas = []
        if f.comentario and self.e.comentarios > 0:
            lineas.append('// ' + self.texto(f.comentario))
        cabecera = self.texto(f'{f.ret} {f.nombre}({f.params})'.strip()) + (' const' if f.const else '')
        lineas += self.abre(cabecera, 0)
        lineas += self.sentencias(f.cuerpo, 1)
        return lineas + ['}']

    def enumeracion(self, x):
        valores = ', '.join(x.valores)
        return [('enum class ' if x.clase else 'enum ') + self.texto(x.nombre) + ' { ' + valores + ' };']

    def clase(self, c):
        if isinstance(c, Enumeracion):
            return self.enumeracion(c)
        s = self.e.sangria
        lineas = []
        if c.comentario and self.e.comentarios > 0:
            lineas.append('// ' + c.comentario)
        cabecera = ('struct ' if c.struct else 'class ') + self.texto(c.nombre)
        if c.base:
            cabecera += ' : public ' + self.texto(c.base)
        lineas += self.abre(cabecera, 0)
        if not c.struct:
            lineas.append('public:')
        for m in c.metodos:
            lineas.append(s + self.texto(m))
        if c.campos:
            if not c.struct:
                lineas.append('')
                lineas.append('protected:' if c.base is None and c.metodos and any(
                    'virtual' in m for m in c.metodos) else 'private:')
            for tipo, nombre, inicial in c.campos:
                valor = f' = {self.texto(inicial)}' if inicial is not None else ''
                lineas.append(f'{s}{self.texto(tipo)} {self.n.campo(nombre)}{valor};')
        return lineas + ['};']
