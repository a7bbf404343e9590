#!/usr/bin/python3
"""Deterministic demo data for the Ormaline crystallochemical database.

Writes SQL to stdout: one COPY ... FROM stdin block per table, in an order that
satisfies the foreign keys of database/schema.sql, inside one transaction.

    python3 database/generate_demo.py > demo.sql
    python3 database/generate_demo.py --scale large > large.sql
    psql -v ON_ERROR_STOP=1 -d ormaline -f demo.sql

The same seed gives the same bytes on every run. Only the standard library is used.

What is generated:
  * three ligand libraries: "Ligands" (real ligands and ring-substituted
    derivatives of them), "Molecules" (solvent and guest molecules) and "Nets"
    (metal-carboxylate building units); every entry has its atoms with element,
    number, coordination number and fractional coordinates in a cell around it,
    built from standard bond lengths and angles, and one adjacency row per atom;
  * net topologies in three libraries with their point symbols;
  * crystal structures (reference codes) built from a metal, charge-balancing
    anionic ligands, neutral ligands and solvent molecules; each structure
    yields its ligand occurrences, its atoms with Voronoi-Dirichlet polyhedron
    values, its underlying nets (when it is a coordination polymer), its
    formulas and systematic name, its source databases and its DOI links.
"""

import argparse
import gc
import itertools
import math
import random
import sys
import uuid

SEED = 20261209
NAMESPACE = uuid.UUID("6f1c2a4e-8d3b-4c5a-9e7f-0a1b2c3d4e5f")

# ---------------------------------------------------------------------------
# Elements
# ---------------------------------------------------------------------------

ELEMENT_SYMBOLS = (
    "H He Li Be B C N O F Ne Na Mg Al Si P S Cl Ar K Ca Sc Ti V Cr Mn Fe Co Ni Cu Zn "
    "Ga Ge As Se Br Kr Rb Sr Y Zr Nb Mo Tc Ru Rh Pd Ag Cd In Sn Sb Te I Xe Cs Ba La Ce "
    "Pr Nd Pm Sm Eu Gd Tb Dy Ho Er Tm Yb Lu Hf Ta W Re Os Ir Pt Au Hg Tl Pb Bi Po At Rn "
    "Fr Ra Ac Th Pa U Np Pu Am Cm Bk Cf Es Fm Md No Lr Rf Db Sg Bh Hs Mt Ds Rg Cn Nh Fl "
    "Mc Lv Ts Og").split()
Z_OF = {s: i + 1 for i, s in enumerate(ELEMENT_SYMBOLS)}
ELECTRONEGATIVE = {"N", "O", "F", "S", "Cl", "Br", "I"}

# ---------------------------------------------------------------------------
# Vector helpers (Cartesian, angstrom; angles in degrees unless stated)
# ---------------------------------------------------------------------------


def v_add(a, b):
    return (a[0] + b[0], a[1] + b[1], a[2] + b[2])


def v_sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def v_mul(a, s):
    return (a[0] * s, a[1] * s, a[2] * s)


def v_dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def v_cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def v_len(a):
    return math.sqrt(v_dot(a, a))


def v_unit(a):
    n = v_len(a)
    return (a[0] / n, a[1] / n, a[2] / n)


def v_comb(*terms):
    """Sum of vector*scalar pairs."""
    x = y = z = 0.0
    for vec, s in terms:
        x += vec[0] * s
        y += vec[1] * s
        z += vec[2] * s
    return (x, y, z)


def v_rotate(v, axis, degrees):
    """Rotate v about the unit vector axis (Rodrigues)."""
    t = math.radians(degrees)
    c, s = math.cos(t), math.sin(t)
    k = axis
    kv = v_cross(k, v)
    kd = v_dot(k, v)
    return v_comb((v, c), (kv, s), (k, kd * (1 - c)))


def any_perpendicular(u):
    trial = (1.0, 0.0, 0.0) if abs(u[0]) < 0.9 else (0.0, 1.0, 0.0)
    return v_unit(v_cross(u, trial))


def cosd(a):
    return math.cos(math.radians(a))


def sind(a):
    return math.sin(math.radians(a))


def angle_deg(a, b, c):
    """Angle a-b-c in degrees."""
    u = v_unit(v_sub(a, b))
    w = v_unit(v_sub(c, b))
    return math.degrees(math.acos(max(-1.0, min(1.0, v_dot(u, w)))))


# Hydrogen distances as refined with riding models in X-ray structures.
def h_distance(element, geometry, count):
    if element == "C":
        if geometry == "sp3":
            return {1: 0.98, 2: 0.97}.get(count, 0.96)
        return 0.93
    if element == "N":
        return 0.86 if geometry == "sp2" else 0.89
    if element == "O":
        return 0.82
    return 1.00


# ---------------------------------------------------------------------------
# Molecule builder
# ---------------------------------------------------------------------------


class Mol:
    """Atoms (element symbol, Cartesian position) and bonds of one ligand or molecule."""

    def __init__(self):
        self.el = []
        self.pos = []
        self.bonds = set()
        self.donors = set()      # atoms that bind metal atoms
        self.hloc = {}           # locant -> hydrogen atom index (substitutable positions)
        self.ox = {}             # explicit oxidation states
        self.adj = []            # neighbour lists

    def add(self, el, pos, bond_to=None, donor=False):
        self.el.append(el)
        self.pos.append(tuple(float(c) for c in pos))
        self.adj.append([])
        i = len(self.el) - 1
        if bond_to is not None:
            self.bond(i, bond_to)
        if donor:
            self.donors.add(i)
        return i

    def bond(self, i, j):
        key = (min(i, j), max(i, j))
        if key not in self.bonds:
            self.bonds.add(key)
            self.adj[i].append(j)
            self.adj[j].append(i)

    def neighbours(self, i):
        return sorted(self.adj[i])

    def attach(self, i, el, dist, direction, donor=False):
        return self.add(el, v_add(self.pos[i], v_mul(v_unit(direction), dist)), i, donor)

    def _reference(self, i, j):
        """A direction perpendicular to i->j taken from another neighbour of j."""
        d1 = v_unit(v_sub(self.pos[j], self.pos[i]))
        for m in self.neighbours(j):
            if m != i:
                r = v_sub(self.pos[m], self.pos[j])
                r = v_sub(r, v_mul(d1, v_dot(r, d1)))
                if v_len(r) > 1e-3:
                    return v_unit(r)
        return any_perpendicular(d1)

    def add_h(self, i, count, geometry, locants=None):
        """Add count hydrogens to atom i with sp, sp2 or sp3 geometry."""
        nb = self.neighbours(i)
        p = self.pos[i]
        d = [v_unit(v_sub(self.pos[j], p)) for j in nb]
        dist = h_distance(self.el[i], geometry, count)
        dirs = []
        if geometry == "sp":
            dirs = [v_mul(d[0], -1.0)]
        elif geometry == "sp2":
            if len(d) == 2:
                dirs = [v_unit(v_mul(v_add(d[0], d[1]), -1.0))]
            else:
                w = self._reference(i, nb[0])
                dirs = [v_comb((d[0], cosd(120)), (w, sind(120))),
                        v_comb((d[0], cosd(120)), (w, -sind(120)))][:count]
        else:
            if len(d) == 3:
                dirs = [v_unit(v_mul(v_add(v_add(d[0], d[1]), d[2]), -1.0))]
            elif len(d) == 2:
                b = v_unit(v_mul(v_add(d[0], d[1]), -1.0))
                c = v_unit(v_cross(d[0], d[1]))
                dirs = [v_comb((b, cosd(54.75)), (c, sind(54.75))),
                        v_comb((b, cosd(54.75)), (c, -sind(54.75)))][:count]
            else:
                w = self._reference(i, nb[0])
                v = v_cross(d[0], w)
                phis = (180.0, 60.0, 300.0)[:count] if count != 2 else (60.0, 300.0)
                for phi in phis:
                    dirs.append(v_comb((d[0], cosd(109.47)),
                                       (w, sind(109.47) * cosd(phi)),
                                       (v, sind(109.47) * sind(phi))))
        made = []
        for k, u in enumerate(dirs):
            h = self.attach(i, "H", dist, u)
            made.append(h)
            if locants:
                self.hloc[locants[k]] = h
        return made

    def copy(self):
        m = Mol()
        m.el = list(self.el)
        m.pos = list(self.pos)
        m.bonds = set(self.bonds)
        m.donors = set(self.donors)
        m.hloc = dict(self.hloc)
        m.ox = dict(self.ox)
        m.adj = [list(a) for a in self.adj]
        return m

    def without(self, removed):
        """A copy without the atoms in removed, renumbered in order."""
        keep = [i for i in range(len(self.el)) if i not in removed]
        new = {old: k for k, old in enumerate(keep)}
        m = Mol()
        m.el = [self.el[i] for i in keep]
        m.pos = [self.pos[i] for i in keep]
        m.bonds = {(new[a], new[b]) for a, b in self.bonds if a in new and b in new}
        m.donors = {new[i] for i in self.donors if i in new}
        m.hloc = {loc: new[i] for loc, i in self.hloc.items() if i in new}
        m.ox = {new[i]: v for i, v in self.ox.items() if i in new}
        m.adj = [sorted(new[j] for j in self.adj[i] if j in new) for i in keep]
        return m


def polygon(n, side, centre=(0.0, 0.0), start=90.0):
    """Vertices of a regular n-gon in the xy plane."""
    r = side / (2.0 * math.sin(math.pi / n))
    return [(centre[0] + r * cosd(start + 360.0 * k / n), centre[1] + r * sind(start + 360.0 * k / n), 0.0)
            for k in range(n)]


def ring(m, elements, side, centre=(0.0, 0.0), start=90.0, donors=()):
    pts = polygon(len(elements), side, centre, start)
    idx = [m.add(el, p, donor=(k in donors)) for k, (el, p) in enumerate(zip(elements, pts))]
    for k in range(len(idx)):
        m.bond(idx[k], idx[(k + 1) % len(idx)])
    return idx


def ring_normal(m, i):
    nb = m.neighbours(i)
    heavy = [j for j in nb if m.el[j] != "H"]
    if len(heavy) >= 2:
        n = v_cross(v_sub(m.pos[heavy[0]], m.pos[i]), v_sub(m.pos[heavy[1]], m.pos[i]))
        if v_len(n) > 1e-6:
            return v_unit(n)
    return (0.0, 0.0, 1.0)


def radial(m, i, centre):
    return v_unit(v_sub(m.pos[i], centre))


def centroid(m, idx):
    pts = [m.pos[i] for i in idx]
    return tuple(sum(p[k] for p in pts) / len(pts) for k in range(3))


def carboxylate(m, i, u, normal=(0.0, 0.0, 1.0), dcc=1.50):
    """Carboxylate group on atom i along u in the plane with the given normal."""
    c = m.attach(i, "C", dcc, u)
    w = v_unit(v_cross(normal, u))
    o1 = m.attach(c, "O", 1.26, v_comb((u, cosd(62.5)), (w, sind(62.5))), donor=True)
    o2 = m.attach(c, "O", 1.26, v_comb((u, cosd(62.5)), (w, -sind(62.5))), donor=True)
    return c, o1, o2


def methyl(m, i, u, dist=1.50):
    c = m.attach(i, "C", dist, u)
    m.add_h(c, 3, "sp3")
    return c


def tetrahedral_dirs():
    s = 1.0 / math.sqrt(3.0)
    return [(s, s, s), (s, -s, -s), (-s, s, -s), (-s, -s, s)]


def pyramid_dirs(angle_between, count=3):
    """Unit vectors of a trigonal pyramid whose bonds make the given angle."""
    sin2 = (1.0 - cosd(angle_between)) / 1.5
    sa = math.sqrt(sin2)
    ca = math.sqrt(1.0 - sin2)
    return [(sa * cosd(120.0 * k), sa * sind(120.0 * k), -ca) for k in range(count)]


def place_zmatrix(a, b, c, dist, ang, dih):
    """Position bonded to c at dist, angle (new, c, b) = ang and torsion (new, c, b, a) = dih."""
    bc = v_unit(v_sub(c, b))
    n = v_unit(v_cross(v_sub(b, a), bc))
    mm = v_cross(n, bc)
    d2 = (-dist * cosd(ang), dist * sind(ang) * cosd(dih), dist * sind(ang) * sind(dih))
    return v_comb((c, 1.0), (bc, d2[0]), (mm, d2[1]), (n, d2[2]))


# ---------------------------------------------------------------------------
# Ligands, molecules and building units
# ---------------------------------------------------------------------------

def b_single(el):
    def build():
        m = Mol()
        m.add(el, (0, 0, 0), donor=True)
        return m
    return build


def b_water():
    m = Mol()
    o = m.add("O", (0, 0, 0), donor=True)
    for s in (1, -1):
        m.add("H", (s * 0.85 * sind(52.25), 0.85 * cosd(52.25), 0), o)
    return m


def b_hydroxide():
    m = Mol()
    o = m.add("O", (0, 0, 0), donor=True)
    m.add("H", (0, 0, 0.85), o)
    return m


def b_ammonia():
    m = Mol()
    n = m.add("N", (0, 0, 0), donor=True)
    for d in pyramid_dirs(106.7):
        m.attach(n, "H", 0.89, d)
    return m


def b_diatomic(a, b, dist, donor_a=True, donor_b=True):
    def build():
        m = Mol()
        i = m.add(a, (0, 0, 0), donor=donor_a)
        m.add(b, (dist, 0, 0), i, donor=donor_b)
        return m
    return build


def b_linear3(els, d1, d2, donors=(0, 2)):
    def build():
        m = Mol()
        i = m.add(els[0], (0, 0, 0), donor=0 in donors)
        j = m.add(els[1], (d1, 0, 0), i, donor=1 in donors)
        m.add(els[2], (d1 + d2, 0, 0), j, donor=2 in donors)
        return m
    return build


def b_trigonal(centre, outer, dist):
    def build():
        m = Mol()
        c = m.add(centre, (0, 0, 0))
        for k in range(3):
            m.attach(c, outer, dist, (cosd(90 + 120 * k), sind(90 + 120 * k), 0), donor=True)
        return m
    return build


def b_nitrite():
    m = Mol()
    n = m.add("N", (0, 0, 0))
    for s in (1, -1):
        m.attach(n, "O", 1.24, (s * sind(57.5), cosd(57.5), 0), donor=True)
    return m


def b_tetrahedral(centre, outer, dist):
    def build():
        m = Mol()
        c = m.add(centre, (0, 0, 0))
        for d in tetrahedral_dirs():
            m.attach(c, outer, dist, d, donor=True)
        return m
    return build


def b_octahedral(centre, outer, dist):
    def build():
        m = Mol()
        c = m.add(centre, (0, 0, 0))
        for d in ((1, 0, 0), (-1, 0, 0), (0, 1, 0), (0, -1, 0), (0, 0, 1), (0, 0, -1)):
            m.attach(c, outer, dist, d, donor=True)
        return m
    return build


def b_formate():
    m = Mol()
    c = m.add("C", (0, 0, 0))
    for s in (1, -1):
        m.attach(c, "O", 1.25, (s * sind(62.5), cosd(62.5), 0), donor=True)
    m.add_h(c, 1, "sp2")
    return m


def b_acetate():
    m = Mol()
    c0 = m.add("C", (0, 0, 0))
    carboxylate(m, c0, (0, 1, 0), dcc=1.51)
    m.add_h(c0, 3, "sp3")
    return m


def b_oxalate():
    m = Mol()
    c1 = m.add("C", (-0.775, 0, 0))
    c2 = m.add("C", (0.775, 0, 0), c1)
    for c, sx in ((c1, -1), (c2, 1)):
        for sy in (1, -1):
            m.attach(c, "O", 1.25, (sx * cosd(62.5), sy * sind(62.5), 0), donor=True)
    return m


def b_squarate():
    m = Mol()
    cs = ring(m, ["C"] * 4, 1.46, start=45)
    for c in cs:
        m.attach(c, "O", 1.26, radial(m, c, (0, 0, 0)), donor=True)
    return m


def b_benzene_carboxylates(carboxyl_vertices, locants):
    """Benzene ring with carboxylates on the given vertices and H elsewhere."""
    def build():
        m = Mol()
        cs = ring(m, ["C"] * 6, 1.39, start=90)
        hloc = iter(locants)
        for k, c in enumerate(cs):
            if k in carboxyl_vertices:
                carboxylate(m, c, radial(m, c, (0, 0, 0)))
        for k, c in enumerate(cs):
            if k not in carboxyl_vertices:
                m.add_h(c, 1, "sp2", [next(hloc)])
        return m
    return build


def b_azine(elements, donors, locants, extra=None):
    def build():
        m = Mol()
        atoms = ring(m, elements, 1.38, start=90, donors=donors)
        hloc = iter(locants)
        for k, a in enumerate(atoms):
            if extra and k in extra:
                extra[k](m, a, radial(m, a, (0, 0, 0)))
        for k, a in enumerate(atoms):
            if m.el[a] == "C" and len(m.neighbours(a)) == 2:
                m.add_h(a, 1, "sp2", [next(hloc)])
        return m
    return build


def b_azole(elements, donors, locants, side=1.36):
    def build():
        m = Mol()
        atoms = ring(m, elements, side, start=90, donors=donors)
        hloc = iter(locants)
        for a in atoms:
            if m.el[a] == "C":
                m.add_h(a, 1, "sp2", [next(hloc)])
        return m
    return build


def b_cyclopentadienyl():
    m = Mol()
    atoms = ring(m, ["C"] * 5, 1.40, start=90, donors=range(5))
    for a in atoms:
        m.add_h(a, 1, "sp2")
    return m


def _two_rings(twist, kind):
    s = 1.38
    cx = s + 0.745
    m = Mol()
    if kind == "4,4'":
        els_a, start_a = ["C", "C", "C", "N", "C", "C"], 0
        loc_a = {1: "3", 2: "2", 4: "6", 5: "5"}
        els_b, start_b = ["C", "C", "C", "N", "C", "C"], 180
        loc_b = {1: "3'", 2: "2'", 4: "6'", 5: "5'"}
        donors_a, donors_b = (3,), (3,)
    else:
        els_a, start_a = ["C", "N", "C", "C", "C", "C"], 0
        loc_a = {2: "6", 3: "5", 4: "4", 5: "3"}
        els_b, start_b = ["C", "C", "C", "C", "C", "N"], 180
        loc_b = {1: "3'", 2: "4'", 3: "5'", 4: "6'"}
        donors_a, donors_b = (1,), (5,)
    pa = polygon(6, s, (-cx, 0), start_a)
    pb = polygon(6, s, (cx, 0), start_b)
    # polygon() runs counter-clockwise from start; ring B must run the same way
    ia = [m.add(el, p, donor=(k in donors_a)) for k, (el, p) in enumerate(zip(els_a, pa))]
    ib = [m.add(el, p, donor=(k in donors_b)) for k, (el, p) in enumerate(zip(els_b, pb))]
    for r in (ia, ib):
        for k in range(6):
            m.bond(r[k], r[(k + 1) % 6])
    m.bond(ia[0], ib[0])
    for r, loc in ((ia, loc_a), (ib, loc_b)):
        for k, a in enumerate(r):
            if k in loc:
                m.add_h(a, 1, "sp2", [loc[k]])
    if twist:
        ring_b = set(ib) | {h for h in range(len(m.el)) if m.el[h] == "H" and m.pos[h][0] > 0}
        for i in ring_b:
            m.pos[i] = v_rotate(m.pos[i], (1, 0, 0), twist)
    return m


def b_bpy44():
    return _two_rings(32.0, "4,4'")


def b_bpy22():
    return _two_rings(0.0, "2,2'")


def b_phen():
    s = 1.40
    r3 = math.sqrt(3.0)
    M = (0.0, 0.0)
    CA = (s * r3 * cosd(210), s * r3 * sind(210))
    CC = (s * r3 * cosd(330), s * r3 * sind(330))

    def vert(c, ang):
        return (c[0] + s * cosd(ang), c[1] + s * sind(ang), 0.0)

    m = Mol()
    names = {}
    layout = [("N1", "N", CA, 300), ("C2", "C", CA, 240), ("C3", "C", CA, 180), ("C4", "C", CA, 120),
              ("C4a", "C", M, 180), ("C5", "C", M, 120), ("C6", "C", M, 60), ("C6a", "C", M, 0),
              ("C7", "C", CC, 60), ("C8", "C", CC, 0), ("C9", "C", CC, 300), ("N10", "N", CC, 240),
              ("C10a", "C", M, 300), ("C10b", "C", M, 240)]
    for label, el, c, ang in layout:
        names[label] = m.add(el, vert(c, ang), donor=(el == "N"))
    for cycle in (["C10b", "N1", "C2", "C3", "C4", "C4a"], ["C4a", "C5", "C6", "C6a", "C10a", "C10b"],
                  ["C10a", "N10", "C9", "C8", "C7", "C6a"]):
        for k in range(6):
            m.bond(names[cycle[k]], names[cycle[(k + 1) % 6]])
    for loc in ("2", "3", "4", "5", "6", "7", "8", "9"):
        m.add_h(names["C" + loc], 1, "sp2", [loc])
    return m


def b_acac():
    m = Mol()
    c3 = m.add("C", (0, 0, 0))
    for sx in (-1, 1):
        # C2/C4 at 120 degrees from the central CH; O towards the metal, methyl outwards
        c = m.add("C", (sx * 1.40 * sind(60), -1.40 * cosd(60), 0), c3)
        m.attach(c, "O", 1.27, (-sx * cosd(-94), sind(-94), 0), donor=True)
        ch3 = m.attach(c, "C", 1.51, (-sx * cosd(148), sind(148), 0))
        m.add_h(ch3, 3, "sp3")
    m.add_h(c3, 1, "sp2")
    return m


def b_en():
    m = Mol()
    n1 = m.add("N", (0, 0, 0), donor=True)
    c1 = m.add("C", (1.47, 0, 0), n1)
    c2 = m.add("C", place_zmatrix((0, 1, 0), m.pos[n1], m.pos[c1], 1.52, 111.0, 180.0), c1)
    m.add("N", place_zmatrix(m.pos[n1], m.pos[c1], m.pos[c2], 1.47, 111.0, 60.0), c2, donor=True)
    for c in (c1, c2):
        m.add_h(c, 2, "sp3")
    for n in (0, 3):
        m.add_h(n, 2, "sp3")
    return m


def b_glycinate():
    m = Mol()
    n = m.add("N", (0, 0, 0), donor=True)
    c2 = m.add("C", (1.47, 0, 0), n)
    carboxylate(m, c2, (-cosd(111), sind(111), 0), dcc=1.52)
    m.add_h(c2, 2, "sp3")
    m.add_h(n, 2, "sp3")
    return m


def b_urea(heavy="O", dist=1.26):
    def build():
        m = Mol()
        c = m.add("C", (0, 0, 0))
        m.attach(c, heavy, dist, (0, 1, 0), donor=True)
        for s in (1, -1):
            nn = m.attach(c, "N", 1.34, (s * sind(60), -cosd(60), 0))
            m.add_h(nn, 2, "sp2")
        return m
    return build


def b_dmf():
    m = Mol()
    c1 = m.add("C", (0, 0, 0))
    n = m.add("N", (1.33, 0, 0), c1)
    m.attach(c1, "O", 1.23, (cosd(125), sind(125), 0), donor=True)
    m.add_h(c1, 1, "sp2")
    for s in (1, -1):
        methyl(m, n, (cosd(60), s * sind(60), 0), 1.45)
    return m


def b_dmso():
    m = Mol()
    s = m.add("S", (0, 0, 0))
    dirs = pyramid_dirs(100.0)
    m.attach(s, "O", 1.50, dirs[0], donor=True)
    for d in dirs[1:]:
        methyl(m, s, d, 1.79)
    m.ox[s] = 0
    return m


def b_dabco():
    m = Mol()
    zn, zc, r = 1.28, 0.775, math.sqrt(1.47 ** 2 - (1.28 - 0.775) ** 2)
    nt = m.add("N", (0, 0, zn), donor=True)
    nb = m.add("N", (0, 0, -zn), donor=True)
    cs = []
    for k in range(3):
        phi = 120.0 * k
        ct = m.add("C", (r * cosd(phi), r * sind(phi), zc), nt)
        cb = m.add("C", (r * cosd(phi), r * sind(phi), -zc), nb)
        m.bond(ct, cb)
        cs += [ct, cb]
    for c in cs:
        m.add_h(c, 2, "sp3")
    return m


def b_hmt():
    # N on the corners of a tetrahedron, CH2 groups on the axes: N-C 1.47, C-N-C 108 degrees
    best = None
    for step in range(1, 4000):
        a = step * 0.0005
        x2 = 1.47 ** 2 - 2 * a * a
        if x2 <= 0:
            break
        x = math.sqrt(x2)
        err = abs(a * a - 2 * a * x - 1.47 ** 2 * cosd(108.0))
        if best is None or err < best[0]:
            best = (err, a, a + x)
    _, a, b = best
    m = Mol()
    ns = [m.add("N", v_mul(d, a * math.sqrt(3.0)), donor=True) for d in tetrahedral_dirs()]
    for axis in range(3):
        for sgn in (1, -1):
            p = [0.0, 0.0, 0.0]
            p[axis] = sgn * b
            c = m.add("C", p)
            for n in ns:
                if abs(v_len(v_sub(m.pos[n], m.pos[c])) - 1.47) < 0.01:
                    m.bond(c, n)
            m.add_h(c, 2, "sp3")
    return m


def b_pph3():
    m = Mol()
    p = m.add("P", (0, 0, 0), donor=True)
    for k, u in enumerate(pyramid_dirs(103.0)):
        ci = m.attach(p, "C", 1.83, u)
        t = v_unit(v_cross(u, (0, 0, 1)))
        n = v_rotate(t, u, 35.0)
        w = v_unit(v_cross(n, u))
        centre = v_add(m.pos[ci], v_mul(u, 1.39))
        prev = ci
        members = [ci]
        for j in range(1, 6):
            th = 60.0 * j
            pos = v_comb((centre, 1.0), (u, -1.39 * cosd(th)), (w, 1.39 * sind(th)))
            a = m.add("C", pos, prev)
            members.append(a)
            prev = a
        m.bond(prev, ci)
        for a in members[1:]:
            m.add_h(a, 1, "sp2")
    m.ox[p] = 3
    return m


def b_paddlewheel(metal, mm, mo):
    def build():
        m = Mol()
        zt = mm / 2.0
        zo = 1.26 * sind(62.5)
        xo = math.sqrt(mo ** 2 - (zt - zo) ** 2)
        xc = xo + 1.26 * cosd(62.5)
        top = m.add(metal, (0, 0, zt))
        bottom = m.add(metal, (0, 0, -zt), top)
        for k in range(4):
            phi = 90.0 * k
            c = m.add("C", (xc * cosd(phi), xc * sind(phi), 0))
            m.add("O", (xo * cosd(phi), xo * sind(phi), zo), c)
            m.bond(len(m.el) - 1, top)
            m.add("O", (xo * cosd(phi), xo * sind(phi), -zo), c)
            m.bond(len(m.el) - 1, bottom)
        m.ox[top] = m.ox[bottom] = 2
        return m
    return build


def b_zn4o():
    m = Mol()
    a = 1.94 / math.sqrt(3.0)
    o = m.add("O", (0, 0, 0))
    zns = [m.add("Zn", v_mul(d, 1.94), o) for d in tetrahedral_dirs()]
    for i, j in itertools.combinations(zns, 2):
        mid = v_mul(v_add(m.pos[i], m.pos[j]), 0.5)
        axis = v_unit(mid)
        perp = v_unit(v_sub(m.pos[i], mid))
        dz = v_len(v_sub(m.pos[i], mid))
        zo = 1.26 * sind(62.5)
        xo = math.sqrt(1.95 ** 2 - (dz - zo) ** 2) + v_len(mid)
        c = m.add("C", v_mul(axis, xo + 1.26 * cosd(62.5)))
        for zn, sgn in ((i, 1), (j, -1)):
            oc = m.add("O", v_comb((axis, xo), (perp, sgn * zo)), c)
            m.bond(oc, zn)
        m.ox[c] = 3
    for zn in zns:
        m.ox[zn] = 2
    del a
    return m


def b_fe3o():
    m = Mol()
    o = m.add("O", (0, 0, 0))
    fes = [m.add("Fe", (1.92 * cosd(90 + 120 * k), 1.92 * sind(90 + 120 * k), 0), o) for k in range(3)]
    for i, j in itertools.combinations(fes, 2):
        mid = v_mul(v_add(m.pos[i], m.pos[j]), 0.5)
        e = v_unit(v_sub(m.pos[i], m.pos[j]))
        rad = v_unit(mid)
        half = v_len(v_sub(m.pos[i], mid))
        rho_len = math.sqrt(2.0 ** 2 - (half - 1.115) ** 2)
        for zs in (1, -1):
            rho = v_comb((rad, rho_len * cosd(50)), ((0, 0, 1), zs * rho_len * sind(50)))
            rhat = v_unit(rho)
            c = m.add("C", v_comb((mid, 1.0), (rhat, rho_len + 1.26 * cosd(62.5))))
            for fe, sgn in ((i, 1), (j, -1)):
                oc = m.add("O", v_comb((mid, 1.0), (rho, 1.0), (e, sgn * 1.115)), c)
                m.bond(oc, fe)
            m.ox[c] = 3
    for fe in fes:
        m.ox[fe] = 3
    return m


def b_cu4i4():
    m = Mol()
    a = 2.85 / (2 * math.sqrt(2.0))
    b = (2 * a + math.sqrt(4 * a * a - 12 * (3 * a * a - 2.70 ** 2))) / 6.0
    cus = [m.add("Cu", (a * sx, a * sy, a * sx * sy)) for sx in (1, -1) for sy in (1, -1)]
    ius = [m.add("I", (b * sx, b * sy, -b * sx * sy)) for sx in (1, -1) for sy in (1, -1)]
    for c in cus:
        for i in ius:
            if abs(v_len(v_sub(m.pos[c], m.pos[i])) - 2.70) < 0.02:
                m.bond(c, i)
        m.ox[c] = 1
    return m


def b_cu2i2():
    m = Mol()
    c1 = m.add("Cu", (1.30, 0, 0))
    c2 = m.add("Cu", (-1.30, 0, 0))
    y = math.sqrt(2.62 ** 2 - 1.30 ** 2)
    for s in (1, -1):
        i = m.add("I", (0, s * y, 0))
        m.bond(i, c1)
        m.bond(i, c2)
    m.ox[c1] = m.ox[c2] = 1
    return m


def b_methanol():
    m = Mol()
    c = m.add("C", (0, 0, 0))
    o = m.add("O", (1.42, 0, 0), c, donor=True)
    m.add_h(o, 1, "sp3")
    m.add_h(c, 3, "sp3")
    return m


def b_ethanol():
    m = Mol()
    c1 = m.add("C", (0, 0, 0))
    c2 = m.add("C", (1.52, 0, 0), c1)
    o = m.add("O", place_zmatrix((0, 1, 0), m.pos[c1], m.pos[c2], 1.42, 109.5, 180.0), c2, donor=True)
    m.add_h(o, 1, "sp3")
    m.add_h(c2, 2, "sp3")
    m.add_h(c1, 3, "sp3")
    return m


def b_acetonitrile():
    m = Mol()
    c1 = m.add("C", (0, 0, 0))
    c2 = m.add("C", (1.46, 0, 0), c1)
    m.add("N", (2.60, 0, 0), c2, donor=True)
    m.add_h(c1, 3, "sp3")
    return m


def b_acetone():
    m = Mol()
    c = m.add("C", (0, 0, 0))
    m.attach(c, "O", 1.21, (0, 1, 0), donor=True)
    for s in (1, -1):
        methyl(m, c, (s * sind(121.5), cosd(121.5), 0))
    return m


def b_benzene(methyl_group=False, nitro=False):
    def build():
        m = Mol()
        cs = ring(m, ["C"] * 6, 1.39, start=90)
        for k, c in enumerate(cs):
            if k == 0 and methyl_group:
                methyl(m, c, radial(m, c, (0, 0, 0)), 1.51)
            else:
                m.add_h(c, 1, "sp2")
        return m
    return build


def b_thf():
    m = Mol()
    atoms = ring(m, ["O", "C", "C", "C", "C"], 1.46, start=90, donors=(0,))
    for a in atoms[1:]:
        m.add_h(a, 2, "sp3")
    return m


def b_dioxane():
    m = Mol()
    h = 0.25
    r = math.sqrt(1.45 ** 2 - 4 * h * h)
    els = ["O", "C", "C", "O", "C", "C"]
    atoms = [m.add(el, (r * cosd(60 * k), r * sind(60 * k), h if k % 2 == 0 else -h), donor=(el == "O"))
             for k, el in enumerate(els)]
    for k in range(6):
        m.bond(atoms[k], atoms[(k + 1) % 6])
    for a in atoms:
        if m.el[a] == "C":
            m.add_h(a, 2, "sp3")
    return m


def b_chloromethane(n_cl):
    def build():
        m = Mol()
        c = m.add("C", (0, 0, 0))
        for k, d in enumerate(tetrahedral_dirs()):
            if k < n_cl:
                m.attach(c, "Cl", 1.77, d)
            else:
                m.attach(c, "H", 0.98 if n_cl == 3 else 0.97, d)
        return m
    return build


def b_c60():
    phi = (1 + math.sqrt(5.0)) / 2
    base = [(0, 1, 3 * phi), (1, 2 + phi, 2 * phi), (phi, 2, phi ** 3)]
    pts = set()
    for x, y, z in base:
        for perm in ((x, y, z), (y, z, x), (z, x, y)):
            for sx in (1, -1):
                for sy in (1, -1):
                    for sz in (1, -1):
                        pts.add((round(perm[0] * sx, 9), round(perm[1] * sy, 9), round(perm[2] * sz, 9)))
    pts = sorted(pts)
    scale = 1.43 / 2.0
    m = Mol()
    for p in pts:
        m.add("C", v_mul(p, scale))
    for i in range(len(pts)):
        for j in range(i + 1, len(pts)):
            if v_len(v_sub(m.pos[i], m.pos[j])) < 1.6:
                m.bond(i, j)
    return m


def b_ferrocene():
    m = Mol()
    fe = m.add("Fe", (0, 0, 0))
    r = 1.40 / (2 * sind(36))
    for z in (1.65, -1.65):
        cs = [m.add("C", (r * cosd(72 * k), r * sind(72 * k), z)) for k in range(5)]
        for k in range(5):
            m.bond(cs[k], cs[(k + 1) % 5])
            m.bond(cs[k], fe)
        for c in cs:
            m.attach(c, "H", 0.93, (cosd(72 * cs.index(c)), sind(72 * cs.index(c)), 0))
    m.ox[fe] = 2
    return m


def b_co2():
    m = Mol()
    c = m.add("C", (0, 0, 0))
    m.add("O", (1.16, 0, 0), c)
    m.add("O", (-1.16, 0, 0), c)
    return m


class Species:
    """A ligand, molecule or building unit of one library."""

    def __init__(self, key, name, library, build, charge=0, cname=None, abbrev=None, formula=None,
                 coord=(("M1", 1),), weight=1.0, nets=(), stem=None, perms=()):
        self.key = key
        self.name = name
        self.library = library
        self.build = build
        self.charge = charge
        self.cname = cname or name
        self.abbrev = abbrev or key
        self.formula = formula
        self.coord = list(coord)
        self.weight = weight
        self.nets = list(nets)
        self.stem = stem            # name stem for ring-substituted derivatives
        self.perms = list(perms)    # symmetry of the substitutable positions (generators)
        self.mol = None
        self.base = None            # the species a derivative was made from
        self.ttlcode = 0
        self.id = None


L, M_, N_ = "Ligands", "Molecules", "Nets"

PY_PERM = [{"2": "6", "6": "2", "3": "5", "5": "3"}]
D2H_PERM = [{"2": "6", "6": "2", "3": "5", "5": "3"}, {"2": "3", "3": "2", "5": "6", "6": "5"}]
BPY44_PERM = [{"2": "6", "6": "2", "3": "5", "5": "3"}, {"2'": "6'", "6'": "2'", "3'": "5'", "5'": "3'"},
              {"2": "2'", "2'": "2", "3": "3'", "3'": "3", "5": "5'", "5'": "5", "6": "6'", "6'": "6"}]
BPY22_PERM = [{"3": "3'", "3'": "3", "4": "4'", "4'": "4", "5": "5'", "5'": "5", "6": "6'", "6'": "6"}]
PHEN_PERM = [{"2": "9", "9": "2", "3": "8", "8": "3", "4": "7", "7": "4", "5": "6", "6": "5"}]

CARBOXYLATE_NETS = ("pcu", "sql", "dia", "hcb", "kgm", "bnn", "nbo", "cds")

SPECIES = [
    # --- inorganic ligands --------------------------------------------------------
    Species("H2O", "water", L, b_water, 0, "aqua", formula="H2O", coord=(("M1", 60), ("M2", 8)), weight=10),
    Species("OH", "hydroxide", L, b_hydroxide, -1, "hydroxo", formula="OH",
            coord=(("M2", 50), ("M3", 30), ("M1", 20)), weight=4, nets=("kgm", "hxl", "fes", "bnn", "sql")),
    Species("O", "oxide", L, b_single("O"), -2, "oxo", formula="O",
            coord=(("M2", 40), ("M3", 30), ("M4", 20), ("M6", 10)), weight=3,
            nets=("rtl", "flu", "qtz", "pts", "lvt", "nbo", "fcu", "bcu", "acs")),
    Species("NH3", "ammonia", L, b_ammonia, 0, "ammine", formula="NH3", weight=2),
    Species("CN", "cyanide", L, b_diatomic("C", "N", 1.15), -1, "cyano", formula="CN",
            coord=(("B2", 70), ("M1", 30)), weight=2, nets=("pcu", "dia", "sql")),
    Species("NCS", "thiocyanate", L, b_linear3(("N", "C", "S"), 1.17, 1.64), -1, "thiocyanato", formula="NCS",
            coord=(("M1", 60), ("B2", 40)), weight=3, nets=("sql", "pcu", "ladder")),
    Species("N3", "azide", L, b_linear3(("N", "N", "N"), 1.17, 1.17), -1, "azido", formula="N3",
            coord=(("B2", 50), ("M2", 30), ("M1", 20)), weight=3, nets=("sql", "pcu", "ladder", "hcb")),
    Species("NO3", "nitrate", L, b_trigonal("N", "O", 1.25), -1, "nitrato", formula="NO3",
            coord=(("M1", 35), ("B01", 45), ("B2", 10), ("0", 10)), weight=5),
    Species("NO2", "nitrite", L, b_nitrite, -1, "nitrito", formula="NO2", coord=(("M1", 60), ("B01", 40))),
    Species("CO3", "carbonate", L, b_trigonal("C", "O", 1.29), -2, "carbonato", formula="CO3",
            coord=(("B01", 30), ("T3", 30), ("T11", 20), ("K4", 20)), weight=2, nets=("hcb", "sql", "acs", "bnn")),
    Species("SO4", "sulfate", L, b_tetrahedral("S", "O", 1.47), -2, "sulfato", formula="SO4",
            coord=(("M1", 30), ("B2", 30), ("T3", 25), ("K4", 15)), weight=3,
            nets=("sql", "hcb", "dia", "pts", "sra", "qtz")),
    Species("ClO4", "perchlorate", L, b_tetrahedral("Cl", "O", 1.44), -1, "perchlorato", formula="ClO4",
            coord=(("0", 60), ("M1", 35), ("B2", 5)), weight=3),
    Species("PO4", "phosphate", L, b_tetrahedral("P", "O", 1.54), -3, "phosphato", formula="PO4",
            coord=(("K4", 60), ("T3", 40)), weight=2, nets=("qtz", "flu", "pts", "lvt", "dia", "sra")),
    Species("BF4", "tetrafluoroborate", L, b_tetrahedral("B", "F", 1.39), -1, "tetrafluoroborato",
            formula="BF4", coord=(("0", 80), ("M1", 20)), weight=2),
    Species("PF6", "hexafluorophosphate", L, b_octahedral("P", "F", 1.60), -1, "hexafluorophosphato",
            formula="PF6", coord=(("0", 90), ("M1", 10)), weight=1.5),
    Species("Cl", "chloride", L, b_single("Cl"), -1, "chloro", formula="Cl",
            coord=(("M1", 60), ("M2", 30), ("M3", 10)), weight=6, nets=("ladder", "sql", "pcu")),
    Species("Br", "bromide", L, b_single("Br"), -1, "bromo", formula="Br",
            coord=(("M1", 60), ("M2", 30), ("M3", 10)), weight=2, nets=("ladder", "sql")),
    Species("I", "iodide", L, b_single("I"), -1, "iodo", formula="I",
            coord=(("M1", 50), ("M2", 35), ("M3", 15)), weight=1.5, nets=("ladder", "sql", "dia")),
    Species("F", "fluoride", L, b_single("F"), -1, "fluoro", formula="F", coord=(("M1", 50), ("M2", 50)),
            weight=1, nets=("pcu", "rtl", "flu")),
    Species("CO", "carbon monoxide", L, b_diatomic("C", "O", 1.13, True, False), 0, "carbonyl", formula="CO",
            weight=0.3),
    Species("NOx", "nitric oxide", L, b_diatomic("N", "O", 1.15, True, False), 0, "nitrosyl", formula="NO",
            weight=0.5),
    Species("O2", "peroxide", L, b_diatomic("O", "O", 1.49), -2, "peroxo", formula="O2",
            coord=(("B01", 60), ("B2", 40)), weight=0.5),
    # --- carboxylates ------------------------------------------------------------
    Species("fo", "formate", L, b_formate, -1, "formato", coord=(("B2", 60), ("M1", 20), ("B3", 20)), weight=3,
            nets=("acs", "pcu", "dia", "cds")),
    Species("ac", "acetate", L, b_acetate, -1, "acetato", coord=(("B01", 35), ("B2", 40), ("M1", 15), ("B11", 10)),
            weight=4, nets=("ladder", "sql", "hcb", "kgm")),
    Species("ox", "oxalate", L, b_oxalate, -2, "oxalato", coord=(("K02", 50), ("B01", 40), ("K4", 10)), weight=4,
            nets=("hcb", "srs", "sql", "pcu", "ladder")),
    Species("sq", "squarate", L, b_squarate, -2, "squarato", coord=(("B2", 50), ("K4", 50)), weight=1,
            nets=("sql", "pcu")),
    Species("bz", "benzoate", L, b_benzene_carboxylates((0,), "23456"), -1, "benzoato",
            coord=(("B2", 50), ("B01", 30), ("M1", 20)), weight=2, nets=("ladder", "sql"), stem="benzoate",
            perms=PY_PERM),
    Species("bdc", "terephthalate", L, b_benzene_carboxylates((0, 3), "2356"), -2, "benzene-1,4-dicarboxylato",
            coord=(("K4", 45), ("B2", 25), ("K02", 20), ("T3", 10)), weight=5, nets=CARBOXYLATE_NETS + ("pcu", "pts"),
            stem="terephthalate", perms=D2H_PERM),
    Species("ipa", "isophthalate", L, b_benzene_carboxylates((0, 2), "2456"), -2, "benzene-1,3-dicarboxylato",
            coord=(("K4", 40), ("T3", 30), ("B2", 30)), weight=2, nets=("kgm", "sql", "nbo", "cds", "lvt"),
            stem="isophthalate", perms=[{"4": "6", "6": "4"}]),
    Species("btc", "trimesate", L, b_benzene_carboxylates((0, 2, 4), "246"), -3, "benzene-1,3,5-tricarboxylato",
            coord=(("G6", 40), ("T3", 30), ("G03", 30)), weight=3, nets=("tbo", "srs", "hcb", "ths", "pyr", "rtl"),
            stem="trimesate", perms=[{"2": "4", "4": "6", "6": "2"}, {"4": "6", "6": "4"}]),
    Species("gly", "glycinate", L, b_glycinate, -1, "glycinato", coord=(("B01", 80), ("T11", 20)), weight=1,
            nets=("ladder", "sql")),
    Species("acac", "acetylacetonate", L, b_acac, -1, "pentane-2,4-dionato", coord=(("B01", 1),), weight=2),
    # --- N-donors --------------------------------------------------------------------
    Species("py", "pyridine", L, b_azine(["N", "C", "C", "C", "C", "C"], (0,), "23456"), 0, "pyridine",
            weight=3, stem="pyridine", perms=PY_PERM),
    Species("pyz", "pyrazine", L, b_azine(["N", "C", "C", "N", "C", "C"], (0, 3), "2356"), 0, "pyrazine",
            coord=(("B2", 85), ("M1", 15)), weight=3, nets=("sql", "pcu", "ladder", "dia"),
            stem="pyrazine", perms=D2H_PERM),
    Species("ina", "isonicotinate", L,
            b_azine(["N", "C", "C", "C", "C", "C"], (0,), "2356",
                    extra={3: lambda m, a, u: carboxylate(m, a, u)}),
            -1, "pyridine-4-carboxylato", coord=(("T3", 40), ("B2", 30), ("T11", 30)), weight=2,
            nets=("dia", "sql", "cds", "lvt", "nbo"), stem="pyridine-4-carboxylate", perms=PY_PERM),
    Species("bpy", "4,4'-bipyridine", L, b_bpy44, 0, "4,4'-bipyridine", coord=(("B2", 85), ("M1", 15)), weight=5,
            nets=("sql", "pcu", "dia", "nbo", "cds", "ladder", "lvt"), stem="4,4'-bipyridine", perms=BPY44_PERM),
    Species("bipy", "2,2'-bipyridine", L, b_bpy22, 0, "2,2'-bipyridine", coord=(("B01", 1),), weight=4,
            stem="2,2'-bipyridine", perms=BPY22_PERM),
    Species("phen", "1,10-phenanthroline", L, b_phen, 0, "1,10-phenanthroline", coord=(("B01", 1),), weight=4,
            stem="1,10-phenanthroline", perms=PHEN_PERM),
    Species("im", "imidazolate", L, b_azole(["N", "C", "N", "C", "C"], (0, 2), "245"), -1, "imidazolato",
            coord=(("B2", 1),), weight=2, nets=("SOD", "dia", "GIS", "LTA", "cds"), stem="imidazolate",
            perms=[{"4": "5", "5": "4"}]),
    Species("pz", "pyrazolate", L, b_azole(["N", "N", "C", "C", "C"], (0, 1), "345"), -1, "pyrazolato",
            coord=(("B2", 1),), weight=1, nets=("ladder", "sql", "dia"), stem="pyrazolate",
            perms=[{"3": "5", "5": "3"}]),
    Species("trz", "1,2,4-triazolate", L, b_azole(["N", "N", "C", "N", "C"], (0, 1, 3), "35", 1.34), -1,
            "1,2,4-triazolato", coord=(("T3", 60), ("B2", 40)), weight=1, nets=("dia", "sra", "lvt", "pts"),
            stem="1,2,4-triazolate", perms=[{"3": "5", "5": "3"}]),
    Species("en", "ethylenediamine", L, b_en, 0, "ethane-1,2-diamine", coord=(("B01", 85), ("B2", 15)), weight=2,
            nets=("ladder", "sql")),
    Species("dabco", "DABCO", L, b_dabco, 0, "1,4-diazabicyclo[2.2.2]octane", coord=(("B2", 80), ("M1", 20)),
            weight=1.5, nets=("pcu", "ladder", "sql")),
    Species("hmt", "hexamethylenetetramine", L, b_hmt, 0, "hexamethylenetetramine",
            coord=(("T3", 40), ("K4", 30), ("B2", 30)), weight=1, nets=("dia", "srs", "ths", "pts", "hcb")),
    Species("urea", "urea", L, b_urea(), 0, "urea", weight=1),
    Species("tu", "thiourea", L, b_urea("S", 1.71), 0, "thiourea", coord=(("M1", 70), ("M2", 30)), weight=1,
            nets=("ladder",)),
    Species("dmfL", "N,N-dimethylformamide", L, b_dmf, 0, "N,N-dimethylformamide", weight=2),
    Species("cp", "cyclopentadienide", L, b_cyclopentadienyl, -1, "cyclopentadienyl", coord=(("P00001", 1),),
            weight=0.5),
    Species("pph3", "triphenylphosphine", L, b_pph3, 0, "triphenylphosphine", weight=1),
    # --- molecules (not bound to metals) ----------------------------------------------------
    Species("H2Os", "water", M_, b_water, 0, formula="H2O", coord=(("0", 1),), weight=10),
    Species("MeOH", "methanol", M_, b_methanol, 0, coord=(("0", 1),), weight=3),
    Species("EtOH", "ethanol", M_, b_ethanol, 0, coord=(("0", 1),), weight=2),
    Species("MeCN", "acetonitrile", M_, b_acetonitrile, 0, coord=(("0", 1),), weight=2),
    Species("DMF", "N,N-dimethylformamide", M_, b_dmf, 0, coord=(("0", 1),), weight=4),
    Species("DMSO", "dimethyl sulfoxide", M_, b_dmso, 0, coord=(("0", 1),), weight=1.5),
    Species("acetone", "acetone", M_, b_acetone, 0, coord=(("0", 1),), weight=1),
    Species("C6H6", "benzene", M_, b_benzene(), 0, coord=(("0", 1),), weight=1),
    Species("tol", "toluene", M_, b_benzene(True), 0, coord=(("0", 1),), weight=1),
    Species("thf", "tetrahydrofuran", M_, b_thf, 0, coord=(("0", 1),), weight=1.5),
    Species("diox", "1,4-dioxane", M_, b_dioxane, 0, coord=(("0", 1),), weight=1),
    Species("dcm", "dichloromethane", M_, b_chloromethane(2), 0, coord=(("0", 1),), weight=1),
    Species("chcl3", "chloroform", M_, b_chloromethane(3), 0, coord=(("0", 1),), weight=1),
    Species("pys", "pyridine", M_, b_azine(["N", "C", "C", "C", "C", "C"], (0,), "23456"), 0,
            coord=(("0", 1),), weight=1),
    Species("co2", "carbon dioxide", M_, b_co2, 0, coord=(("0", 1),), weight=0.3),
    Species("c60", "fullerene-C60", M_, b_c60, 0, coord=(("0", 1),), weight=0.3),
    Species("fc", "ferrocene", M_, b_ferrocene, 0, coord=(("0", 1),), weight=0.5),
    # --- building units --------------------------------------------------------------
    Species("Cu2pw", "copper(II) tetracarboxylate paddle-wheel", N_, b_paddlewheel("Cu", 2.63, 1.96),
            coord=(("4-c", 1),), nets=("nbo", "tbo", "sql", "pts")),
    Species("Zn2pw", "zinc(II) tetracarboxylate paddle-wheel", N_, b_paddlewheel("Zn", 2.90, 2.03),
            coord=(("4-c", 1),), nets=("sql", "pcu", "nbo")),
    Species("Zn4O", "oxo-centred tetrazinc hexacarboxylate", N_, b_zn4o, coord=(("6-c", 1),), nets=("pcu", "acs")),
    Species("Fe3O", "oxo-centred triiron hexacarboxylate", N_, b_fe3o, coord=(("6-c", 1),), nets=("acs", "pcu")),
    Species("Cu4I4", "copper(I) iodide cubane", N_, b_cu4i4, coord=(("4-c", 1),), nets=("dia", "sql", "cds")),
    Species("Cu2I2", "copper(I) iodide rhomboid dimer", N_, b_cu2i2, coord=(("4-c", 1),), nets=("sql", "ladder")),
]


# ---------------------------------------------------------------------------
# Ring-substituted derivatives
# ---------------------------------------------------------------------------

def _in_plane(u, n):
    return v_unit(v_cross(n, u))


def s_halogen(el, dist):
    def add(m, p, u, n):
        return [m.attach(p, el, dist, u)]
    return add


def s_methyl(m, p, u, n):
    c = methyl(m, p, u, 1.50)
    return [c] + m.neighbours(c)


def s_trifluoromethyl(m, p, u, n):
    c = m.attach(p, "C", 1.50, u)
    out = [c]
    for f in m.add_h(c, 3, "sp3"):
        m.el[f] = "F"
        m.pos[f] = v_add(m.pos[c], v_mul(v_unit(v_sub(m.pos[f], m.pos[c])), 1.33))
        out.append(f)
    return out


def s_hydroxy(m, p, u, n):
    o = m.attach(p, "O", 1.36, u)
    w = _in_plane(u, n)
    h = m.attach(o, "H", 0.82, v_comb((u, cosd(71)), (w, sind(71))))
    return [o, h]


def s_amino(m, p, u, n):
    a = m.attach(p, "N", 1.38, u)
    w = _in_plane(u, n)
    hs = [m.attach(a, "H", 0.86, v_comb((u, cosd(60)), (w, s * sind(60)))) for s in (1, -1)]
    return [a] + hs


def s_nitro(m, p, u, n):
    a = m.attach(p, "N", 1.47, u)
    w = _in_plane(u, n)
    os_ = [m.attach(a, "O", 1.22, v_comb((u, cosd(62)), (w, s * sind(62)))) for s in (1, -1)]
    m.ox[a] = 3
    return [a] + os_


def s_cyano(m, p, u, n):
    c = m.attach(p, "C", 1.44, u)
    return [c, m.attach(c, "N", 1.14, u)]


def s_methoxy(m, p, u, n):
    o = m.attach(p, "O", 1.37, u)
    w = _in_plane(u, n)
    c = m.attach(o, "C", 1.42, v_comb((u, cosd(63)), (w, sind(63))))
    return [o, c] + m.add_h(c, 3, "sp3")


def s_ethyl(m, p, u, n):
    c1 = m.attach(p, "C", 1.51, u)
    c2 = m.attach(c1, "C", 1.52, v_comb((u, cosd(70.5)), (n, sind(70.5))))
    return [c1, c2] + m.add_h(c1, 2, "sp3") + m.add_h(c2, 3, "sp3")


def s_formyl(m, p, u, n):
    c = m.attach(p, "C", 1.48, u)
    w = _in_plane(u, n)
    o = m.attach(c, "O", 1.21, v_comb((u, cosd(56)), (w, sind(56))))
    return [c, o] + m.add_h(c, 1, "sp2")


def s_sulfanyl(m, p, u, n):
    s = m.attach(p, "S", 1.77, u)
    w = _in_plane(u, n)
    h = m.attach(s, "H", 1.20, v_comb((u, cosd(84)), (w, sind(84))))
    return [s, h]


SUBSTITUENTS = {
    "amino": ("NH2", s_amino),
    "bromo": ("Br", s_halogen("Br", 1.90)),
    "chloro": ("Cl", s_halogen("Cl", 1.74)),
    "cyano": ("CN", s_cyano),
    "ethyl": ("Et", s_ethyl),
    "fluoro": ("F", s_halogen("F", 1.35)),
    "formyl": ("CHO", s_formyl),
    "hydroxy": ("OH", s_hydroxy),
    "iodo": ("I", s_halogen("I", 2.10)),
    "methoxy": ("OMe", s_methoxy),
    "methyl": ("Me", s_methyl),
    "nitro": ("NO2", s_nitro),
    "sulfanyl": ("SH", s_sulfanyl),
    "trifluoromethyl": ("CF3", s_trifluoromethyl),
}
MULTIPLIERS = {1: "", 2: "di", 3: "tri", 4: "tetra", 5: "penta", 6: "hexa", 7: "hepta", 8: "octa", 9: "nona",
               10: "deca", 11: "undeca", 12: "dodeca"}


def locant_key(loc):
    return (int(loc.rstrip("'")), loc.count("'"))


def perm_group(generators, locants):
    """All permutations generated by the given locant maps."""
    ident = tuple(locants)
    gens = [tuple(g.get(x, x) for x in locants) for g in generators]
    index = {x: k for k, x in enumerate(locants)}
    seen = {ident}
    frontier = [ident]
    while frontier:
        nxt = []
        for p in frontier:
            for g in gens:
                q = tuple(g[index[x]] for x in p)
                if q not in seen:
                    seen.add(q)
                    nxt.append(q)
        frontier = nxt
    return [dict(zip(locants, p)) for p in seen]


def combo_key(combo):
    return (tuple(sorted(locant_key(loc) for loc, _ in combo)),
            tuple(sub for _, sub in sorted(combo, key=lambda c: locant_key(c[0]))))


def derivative_name(stem, combo):
    by_sub = {}
    for loc, sub in combo:
        by_sub.setdefault(sub, []).append(loc)
    parts = []
    for sub in sorted(by_sub):
        locs = sorted(by_sub[sub], key=locant_key)
        parts.append(",".join(locs) + "-" + MULTIPLIERS[len(locs)] + sub)
    prefix = "-".join(parts)
    return prefix + ("-" if stem[0].isdigit() else "") + stem


def derivative_abbrev(base_abbrev, combo):
    pieces = []
    for loc, sub in sorted(combo, key=lambda c: locant_key(c[0])):
        pieces.append(loc + "-" + SUBSTITUENTS[sub][0])
    return "-".join(pieces) + "-" + base_abbrev


def complex_name(name, charge):
    if charge < 0 and name.endswith("ate"):
        return name[:-1] + "o"
    if charge < 0 and name.endswith("ide"):
        return name[:-3] + "o"
    return name


def clashes(m, new_atoms):
    """True when an added atom comes too close to an atom more than two bonds away."""
    pos, el, adj = m.pos, m.el, m.adj
    for i in new_atoms:
        near = {i}
        for j in adj[i]:
            near.add(j)
            near.update(adj[j])
        xi, yi, zi = pos[i]
        hi = el[i] == "H"
        for j in range(len(el)):
            if j in near:
                continue
            xj, yj, zj = pos[j]
            d2 = (xi - xj) ** 2 + (yi - yj) ** 2 + (zi - zj) ** 2
            hj = el[j] == "H"
            limit = (1.6 if hj else 1.7) if hi else (1.7 if hj else 2.35)
            if d2 < limit * limit:
                return True
    return False


def make_derivative(base, combo):
    m = base.mol.copy()
    removed = set()
    new_atoms = []
    for loc, sub in combo:
        h = m.hloc[loc]
        p = m.neighbours(h)[0]
        u = v_unit(v_sub(m.pos[h], m.pos[p]))
        n = ring_normal(m, p)
        removed.add(h)
        new_atoms += SUBSTITUENTS[sub][1](m, p, u, n)
    # hydrogens that are replaced must not count as contacts
    keep = m.without(removed)
    shift = {old: old - sum(1 for r in removed if r < old) for old in new_atoms}
    if clashes(keep, [shift[a] for a in new_atoms]):
        return None
    keep.hloc = {}
    return keep


def derivative_level(base, k):
    """Substitution patterns with k substituents, one per class of symmetry-equivalent patterns."""
    locants = sorted(base.mol.hloc, key=locant_key)
    if k > len(locants):
        return []
    group = base.group
    subs = sorted(SUBSTITUENTS)
    level = []
    for positions in itertools.combinations(locants, k):
        for chosen in itertools.product(subs, repeat=k):
            combo = tuple(zip(positions, chosen))
            key = combo_key(combo)
            if all(combo_key(tuple((g[l], s) for l, s in combo)) >= key for g in group):
                level.append(combo)
    return level


def canonical_combo(base, combo):
    best = None
    for g in base.group:
        image = tuple(sorted(((g[l], s) for l, s in combo), key=lambda c: locant_key(c[0])))
        if best is None or combo_key(image) < combo_key(best):
            best = image
    return best


def choose_derivatives(bases, count, rng, taken_names):
    """count derivative (base, combo, mol) triples: all one- and two-fold substitutions
    in random order first, then random three- and four-fold ones."""
    chosen = []
    seen = set(taken_names)
    for b in bases:
        b.group = perm_group(b.perms, sorted(b.mol.hloc, key=locant_key))

    def take(b, combo):
        name = derivative_name(b.stem, combo)
        if name in seen:
            return
        mol = make_derivative(b, combo)
        seen.add(name)
        if mol is not None:
            chosen.append((b, combo, name, mol))

    for k in (1, 2):
        if len(chosen) >= count:
            break
        pool = [(b, c) for b in bases for c in derivative_level(b, k)]
        rng.shuffle(pool)
        for b, c in pool:
            if len(chosen) >= count:
                break
            take(b, c)
    big = [b for b in bases if len(b.mol.hloc) >= 3]
    weights = [math.comb(len(b.mol.hloc), 3) / len(b.group) for b in big]
    subs = sorted(SUBSTITUENTS)
    misses = 0
    while len(chosen) < count and misses < 1000000:
        b = rng.choices(big, weights)[0]
        locs = sorted(b.mol.hloc, key=locant_key)
        k = 4 if (len(locs) >= 4 and rng.random() < 0.3) else 3
        combo = tuple(zip(sorted(rng.sample(locs, k), key=locant_key), [rng.choice(subs) for _ in range(k)]))
        before = len(chosen)
        take(b, canonical_combo(b, combo))
        misses += len(chosen) == before
    return chosen[:count]


# Explicit oxidation states of small inorganic species, by atom index.
EXPLICIT_OX = {
    "NO3": {0: 5}, "NO2": {0: 3}, "CO3": {0: 4}, "SO4": {0: 6}, "ClO4": {0: 7}, "PO4": {0: 5},
    "BF4": {0: 3}, "PF6": {0: 5}, "CN": {0: 2, 1: -3}, "NCS": {0: -3, 1: 4, 2: -2},
    "N3": {0: -1, 1: 1, 2: -1}, "CO": {0: 2, 1: -2}, "NOx": {0: 2, 1: -2}, "O2": {0: -1, 1: -1},
    "co2": {0: 4},
}

# ---------------------------------------------------------------------------
# Metals, polyhedra, nets, representations, source databases
# ---------------------------------------------------------------------------

POLYHEDRA = [
    "linear", "bent", "triangle", "trigonal pyramid", "T-shape", "tetrahedron", "square", "seesaw",
    "trigonal bipyramid", "square pyramid", "octahedron", "trigonal prism", "pentagonal bipyramid",
    "capped octahedron", "capped trigonal prism", "square antiprism", "dodecahedron", "cube",
    "bicapped trigonal prism", "hexagonal bipyramid", "tricapped trigonal prism", "capped square antiprism",
    "bicapped square antiprism", "icosahedron", "cuboctahedron", "anticuboctahedron",
]
POLY_ID = {name: k + 1 for k, name in enumerate(POLYHEDRA)}

LN8 = ((8, "square antiprism", 40), (8, "dodecahedron", 25), (9, "tricapped trigonal prism", 25),
       (9, "capped square antiprism", 10))
# symbol, oxidation state, weight, name, VDP volume (A^3), coordination (cn, figure, weight)
METALS = [
    ("Cu", 2, 12, "copper", 10.3, ((4, "square", 15), (5, "square pyramid", 40), (6, "octahedron", 45))),
    ("Zn", 2, 12, "zinc", 10.6, ((4, "tetrahedron", 50), (5, "trigonal bipyramid", 10), (6, "octahedron", 40))),
    ("Co", 2, 8, "cobalt", 10.4, ((4, "tetrahedron", 20), (6, "octahedron", 80))),
    ("Ni", 2, 6, "nickel", 10.0, ((4, "square", 10), (6, "octahedron", 90))),
    ("Mn", 2, 6, "manganese", 11.3, ((6, "octahedron", 85), (7, "pentagonal bipyramid", 15))),
    ("Cd", 2, 7, "cadmium", 13.5, ((6, "octahedron", 60), (7, "pentagonal bipyramid", 40))),
    ("Fe", 2, 3, "iron", 10.6, ((6, "octahedron", 100),)),
    ("Fe", 3, 3, "iron", 9.7, ((6, "octahedron", 100),)),
    ("Ag", 1, 5, "silver", 14.2, ((2, "linear", 30), (3, "triangle", 30), (4, "tetrahedron", 40))),
    ("Cu", 1, 4, "copper", 11.6, ((3, "triangle", 30), (4, "tetrahedron", 70))),
    ("Co", 3, 2, "cobalt", 9.3, ((6, "octahedron", 100),)),
    ("Cr", 3, 2, "chromium", 9.5, ((6, "octahedron", 100),)),
    ("La", 3, 1, "lanthanum", 18.5, ((9, "tricapped trigonal prism", 50), (10, "bicapped square antiprism", 20),
                                     (8, "square antiprism", 30))),
    ("Nd", 3, 1, "neodymium", 17.2, LN8),
    ("Eu", 3, 2, "europium", 16.4, LN8),
    ("Gd", 3, 2, "gadolinium", 16.0, LN8),
    ("Tb", 3, 2, "terbium", 15.6, LN8),
    ("Dy", 3, 1, "dysprosium", 15.3, LN8),
    ("Er", 3, 1, "erbium", 14.7, LN8),
    ("Yb", 3, 1, "ytterbium", 14.2, ((7, "capped trigonal prism", 20), (8, "square antiprism", 50),
                                     (8, "dodecahedron", 30))),
    ("U", 6, 3, "uranium", 9.2, ((7, "pentagonal bipyramid", 60), (8, "hexagonal bipyramid", 30),
                                 (6, "octahedron", 10))),
    ("Mg", 2, 2, "magnesium", 10.1, ((6, "octahedron", 100),)),
    ("Ca", 2, 2, "calcium", 15.8, ((6, "octahedron", 20), (7, "pentagonal bipyramid", 30), (8, "square antiprism", 30),
                                   (8, "dodecahedron", 20))),
    ("Na", 1, 1, "sodium", 17.0, ((5, "square pyramid", 20), (6, "octahedron", 80))),
    ("K", 1, 1, "potassium", 25.5, ((7, "capped octahedron", 20), (8, "cube", 30), (8, "square antiprism", 30),
                                    (9, "tricapped trigonal prism", 20))),
    ("Pb", 2, 2, "lead", 20.0, ((6, "octahedron", 40), (7, "capped trigonal prism", 30), (8, "square antiprism", 30))),
    ("Zr", 4, 1, "zirconium", 11.5, ((8, "square antiprism", 100),)),
    ("V", 4, 1, "vanadium", 8.9, ((5, "square pyramid", 70), (6, "octahedron", 30))),
    ("Mo", 6, 1, "molybdenum", 8.9, ((6, "octahedron", 100),)),
    ("Pt", 2, 1, "platinum", 10.6, ((4, "square", 100),)),
    ("Pd", 2, 1, "palladium", 10.6, ((4, "square", 100),)),
    ("Hg", 2, 1, "mercury", 15.5, ((2, "linear", 50), (4, "tetrahedron", 50))),
    ("Al", 3, 1, "aluminium", 8.2, ((6, "octahedron", 80), (4, "tetrahedron", 20))),
    ("Ti", 4, 0.5, "titanium", 8.8, ((6, "octahedron", 100),)),
    ("Sn", 4, 0.5, "tin", 11.0, ((6, "octahedron", 100),)),
]
HARD_METALS = {"La", "Nd", "Eu", "Gd", "Tb", "Dy", "Er", "Yb", "U", "Mg", "Ca", "Na", "K", "Zr", "Al", "Ti", "Mo",
               "V", "Pb", "Sn"}
SOFT_METALS = {"Ag", "Pt", "Pd", "Hg"}
MINERAL_METALS = {"Mg", "Ca", "Fe", "Cu", "Zn", "Pb", "Mn", "Co", "Ni", "Na", "K", "Al", "U"}
ROMAN = {1: "i", 2: "ii", 3: "iii", 4: "iv", 5: "v", 6: "vi"}

# name, library, point symbol, number of distinct nodes, dimension
NETS = [
    ("dia", "Basic nets", "{6^6}", 1, 3),
    ("pcu", "Basic nets", "{4^12.6^3}", 1, 3),
    ("sql", "Basic nets", "{4^4.6^2}", 1, 2),
    ("hcb", "Basic nets", "{6^3}", 1, 2),
    ("srs", "Basic nets", "{10^3}", 1, 3),
    ("nbo", "Basic nets", "{6^4.8^2}", 1, 3),
    ("cds", "Basic nets", "{6^5.8}", 1, 3),
    ("bnn", "Basic nets", "{4^6.6^4}", 1, 3),
    ("pts", "Basic nets", "{4^2.8^4}", 2, 3),
    ("lvt", "Basic nets", "{4^2.8^4}", 1, 3),
    ("ths", "Basic nets", "{10^3}", 1, 3),
    ("qtz", "Basic nets", "{6^4.8^2}", 1, 3),
    ("kgm", "Basic nets", "{3^2.6^2.7^2}", 1, 2),
    ("acs", "Basic nets", "{4^9.6^6}", 1, 3),
    ("rtl", "Basic nets", "{4.6^2}2{4^2.6^10.8^3}", 2, 3),
    ("pyr", "Basic nets", "{6^3}2{6^12.8^3}", 2, 3),
    ("tbo", "Basic nets", "{6^3}4{6^2.8^4}3", 2, 3),
    ("flu", "Basic nets", "{4^6}2{4^12.6^12.8^4}", 2, 3),
    ("sra", "Basic nets", "{4^2.6^3.8}", 1, 3),
    ("fes", "Basic nets", "{4.8^2}", 1, 2),
    ("lon", "Basic nets", "{6^6}", 1, 3),
    ("ladder", "Basic nets", "{4^2.6}", 1, 1),
    ("fcu", "Sphere packings", "{3^24.4^36.5^6}", 1, 3),
    ("bcu", "Sphere packings", "{4^24.6^4}", 1, 3),
    ("hxl", "Sphere packings", "{3^6.4^6.5^3}", 1, 2),
    ("SOD", "Zeolite frameworks", "{4^2.6^4}", 1, 3),
    ("LTA", "Zeolite frameworks", "{4^3.6^2.8}", 1, 3),
    ("GIS", "Zeolite frameworks", "{4^3.8^3}", 1, 3),
]
NET_DISPLAY = {"ladder": "SP 1-periodic net (4,4)(0,2)"}
INTERPENETRATING = {"dia", "srs", "pcu", "ths", "cds", "lvt", "qtz", "bnn", "nbo", "lon"}
BINODAL = ("rtl", "pts", "flu", "tbo", "pyr")
HBOND_NETS = ("hcb", "sql", "dia", "pcu", "ladder")
REPRESENTATIONS = ["Standard", "Cluster", "All nodes", "Single node", "Valence", "Hydrogen-bonded"]

SOURCE_DATABASES = [
    (1, "Metal-organic structures"),
    (2, "Inorganic structures"),
    (3, "Open crystallography collection"),
    (4, "Mineral structures"),
    (5, "In-house structures"),
]
PROBLEMS = ["R factor above 0.10", "disorder not resolved", "hydrogen atoms not located",
            "formula does not match the atom list", "non-positive displacement parameters",
            "short intermolecular contacts"]

LIGAND_LIBRARIES = ["Ligands", "Molecules", "Nets"]

# ---------------------------------------------------------------------------
# Output helpers
# ---------------------------------------------------------------------------


def fnum(x, decimals):
    r = round(x, decimals)
    if r == 0:
        r = 0.0
    return repr(r)


def fcoord(x):
    s = "%.5f" % x
    return "0.00000" if s == "-0.00000" else s


def copy_text(value):
    if value is None:
        return "\\N"
    s = str(value)
    if "\\" in s or "\t" in s or "\n" in s or "\r" in s:
        s = s.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n").replace("\r", "\\r")
    return s


class Table:
    def __init__(self, name, columns):
        self.name = name
        self.columns = columns
        self.lines = []

    def add(self, *values):
        self.lines.append("\t".join(copy_text(v) for v in values))

    def add_line(self, line):
        """A row already in COPY text form (values known to need no escaping)."""
        self.lines.append(line)

    def write(self, out):
        out.write("COPY %s (%s) FROM stdin;\n" % (self.name, ", ".join(self.columns)))
        if self.lines:
            out.write("\n".join(self.lines))
            out.write("\n")
        out.write("\\.\n\n")


class Ids:
    """Deterministic GUIDs: named ones from uuid5, anonymous ones from a seeded stream."""

    def __init__(self, seed):
        self.rng = random.Random(seed)

    @staticmethod
    def named(text):
        return str(uuid.uuid5(NAMESPACE, text))

    def next(self):
        h = "%032x" % self.rng.getrandbits(128)
        return "%s-%s-4%s-%s%s-%s" % (h[:8], h[8:12], h[13:16], "89ab"[int(h[16], 16) & 3], h[17:20], h[20:32])


def hill(counts):
    """Hill-order formula text from an element -> count map."""
    els = sorted(counts)
    if "C" in counts:
        els = ["C"] + (["H"] if "H" in counts else []) + [e for e in els if e not in ("C", "H")]
    return "".join(e + (str(counts[e]) if counts[e] != 1 else "") for e in els)


def composition(central, counts):
    return central + "".join(e + (str(counts[e]) if counts[e] != 1 else "") for e in sorted(counts))


def coord_metals(coordtype):
    """Number of metal atoms a ligand of this coordination type binds (0 for unbound)."""
    if not coordtype or not coordtype[0].isalpha():
        return 0
    return sum(int(c) for c in coordtype[1:] if c.isdigit())


# ---------------------------------------------------------------------------
# Per-species atom data
# ---------------------------------------------------------------------------

VDP_BASE = {"H": 5.6, "C": 7.5, "N": 9.5, "O": 13.0, "F": 15.5, "S": 19.5, "Cl": 23.0, "Br": 27.5, "I": 34.0,
            "P": 10.0, "B": 6.5}


class AtomInfo:
    __slots__ = ("el", "z", "ox", "nbr", "degree", "donor", "planar", "linear", "vbase")


def order_atoms(m):
    """Heavy atoms first, then hydrogens, each in build order."""
    heavy = [i for i in range(len(m.el)) if m.el[i] != "H"]
    light = [i for i in range(len(m.el)) if m.el[i] == "H"]
    return heavy + light


def prepare_species(sp, mol):
    """Atom order and per-atom crystal-chemical data of a species."""
    order = order_atoms(mol)
    sp.order = order
    explicit = dict(EXPLICIT_OX.get(sp.key, {}))
    explicit.update(mol.ox)
    infos = []
    for i in order:
        a = AtomInfo()
        el = mol.el[i]
        nb = mol.adj[i]
        a.el = el
        a.z = Z_OF[el]
        a.nbr = [mol.el[j] for j in nb]
        a.degree = len(nb)
        a.donor = i in mol.donors
        if i in explicit:
            a.ox = explicit[i]
        elif el == "H":
            a.ox = 1
        elif el == "O":
            a.ox = -1 if "O" in a.nbr else -2
        elif el in ("F", "Cl", "Br", "I"):
            a.ox = -1
        elif el == "N":
            a.ox = -3
        elif el == "S":
            a.ox = -2
        elif el == "C":
            a.ox = sum(1 for e in a.nbr if e in ELECTRONEGATIVE) - sum(1 for e in a.nbr if e == "H")
        elif el == "B":
            a.ox = 3
        elif el == "P":
            a.ox = 5
        else:
            a.ox = 0
        a.linear = False
        if len(nb) == 2:
            a.linear = angle_deg(mol.pos[nb[0]], mol.pos[i], mol.pos[nb[1]]) > 165
        elif len(nb) == 1:
            j = nb[0]
            others = [k for k in mol.adj[j] if k != i]
            a.linear = not others or any(angle_deg(mol.pos[i], mol.pos[j], mol.pos[k]) > 165 for k in others)
        a.planar = False
        if len(nb) == 2:
            second = {k for j in nb for k in mol.adj[j] if k != i}
            if second:
                n = v_cross(v_sub(mol.pos[nb[0]], mol.pos[i]), v_sub(mol.pos[nb[1]], mol.pos[i]))
                if v_len(n) > 1e-6:
                    n = v_unit(n)
                    a.planar = all(abs(v_dot(v_sub(mol.pos[k], mol.pos[i]), n)) < 0.2 for k in second)
            else:
                a.planar = angle_deg(mol.pos[nb[0]], mol.pos[i], mol.pos[nb[1]]) > 112
        elif len(nb) == 3:
            n = v_cross(v_sub(mol.pos[nb[1]], mol.pos[nb[0]]), v_sub(mol.pos[nb[2]], mol.pos[nb[0]]))
            a.planar = v_len(n) > 1e-6 and abs(v_dot(v_sub(mol.pos[i], mol.pos[nb[0]]), v_unit(n))) < 0.15
        vb = VDP_BASE.get(el, 12.0)
        if sum(1 for e in a.nbr if e in ("O", "F")) >= 3:
            vb *= 0.38
        a.vbase = vb
        infos.append(a)
    sp.atoms = infos
    sp.count = dict()
    for a in infos:
        sp.count[a.el] = sp.count.get(a.el, 0) + 1
    sp.hill = hill(sp.count)
    sp.formula_text = sp.formula or sp.hill
    sp.donor_elements = [a.el for a in infos if a.donor] or [infos[0].el]
    sp.volume = sum(a.vbase for a in infos)
    sp.organic = "C" in sp.count and "H" in sp.count
    sp.single_donor = sum(1 for a in infos if a.donor) == 1


def nonmetal_figure(cn, info):
    if cn <= 1:
        return None
    if cn == 2:
        return "linear" if info.linear else "bent"
    if cn == 3:
        if info.degree == 3:
            return "triangle" if info.planar else "trigonal pyramid"
        return "triangle" if info.planar else "trigonal pyramid"
    return {4: "tetrahedron", 5: "trigonal bipyramid", 6: "octahedron"}.get(cn)


# ---------------------------------------------------------------------------
# Ligand records: cell, fractional coordinates, adjacency
# ---------------------------------------------------------------------------


def random_rotation(rng):
    q = [rng.gauss(0, 1) for _ in range(4)]
    n = math.sqrt(sum(x * x for x in q))
    w, x, y, z = (c / n for c in q)
    return ((1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w)),
            (2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - x * w)),
            (2 * (x * z - y * w), 2 * (y * z + x * w), 1 - 2 * (x * x + y * y)))


def cell_params(alpha, beta, gamma):
    ca, cb, cg = cosd(alpha), cosd(beta), cosd(gamma)
    sa, sb = sind(alpha), sind(beta)
    cos_c = (cg - cb * ca) / sb / sa
    k11 = math.sqrt(abs(1 - cos_c * cos_c)) * sb
    return ca, cb, sa, sb, cos_c, k11


def to_fractional(p, cell):
    """Cartesian (c along Z, b in the YZ plane) to fractional coordinates."""
    a, b, c, alpha, beta, gamma = cell
    ca, cb, sa, sb, cos_c, k11 = cell_params(alpha, beta, gamma)
    x, y, z = p
    u = x / k11
    v = (y - u * sb * cos_c) / sa
    w = z - u * cb - v * ca
    return (u / a, v / b, w / c)


def ligand_geometry(mol, order, rng):
    rot = random_rotation(rng)
    pts = []
    for i in order:
        p = mol.pos[i]
        pts.append((v_dot(rot[0], p), v_dot(rot[1], p), v_dot(rot[2], p)))
    lo = [min(p[k] for p in pts) for k in range(3)]
    hi = [max(p[k] for p in pts) for k in range(3)]
    centre = [(lo[k] + hi[k]) / 2 for k in range(3)]
    pts = [(p[0] - centre[0], p[1] - centre[1], p[2] - centre[2]) for p in pts]
    kind = rng.random()
    if kind < 0.6:
        angles = (90.0, 90.0, 90.0)
    elif kind < 0.9:
        angles = (90.0, round(rng.uniform(95.0, 118.0), 2), 90.0)
    else:
        angles = (round(rng.uniform(85.0, 105.0), 2), round(rng.uniform(95.0, 115.0), 2),
                  round(rng.uniform(85.0, 110.0), 2))
    margin = 1.6 + 0.8 * rng.random()
    edges = [max(3.0, hi[k] - lo[k] + 2 * margin + rng.uniform(0, 1.5)) for k in range(3)]
    edges[0] /= sind(angles[1])
    cell = (round(edges[0], 3), round(edges[1], 3), round(edges[2], 3)) + angles
    frac = [to_fractional(p, cell) for p in pts]
    return cell, frac


# ---------------------------------------------------------------------------
# The generator
# ---------------------------------------------------------------------------


def weighted(rng, items, weight=lambda x: x[-1]):
    return rng.choices(items, [weight(x) for x in items])[0]


def multiplier(n, simple):
    if n == 1:
        return ""
    if simple:
        return MULTIPLIERS[n] if n in MULTIPLIERS else "%d" % n
    if n in (2, 3):
        return {2: "bis", 3: "tris"}[n]
    return MULTIPLIERS[n] + "kis" if n in MULTIPLIERS else "%d" % n


def simple_name(name):
    """Names that take di, tri ... directly (no locants, no multiplying prefix of their own)."""
    return name.isalpha() and not name.startswith(("di", "tri", "tetra", "hexa", "mono"))


def alphabetic_key(name):
    """IUPAC order of ligand names: locants and the bridging prefix do not count."""
    return name.lstrip("0123456789,'-").lower()


HYDRATES = {1: "monohydrate", 2: "dihydrate", 3: "trihydrate", 4: "tetrahydrate", 5: "pentahydrate",
            6: "hexahydrate", 7: "heptahydrate", 8: "octahydrate"}


class Component:
    """count copies of a species in a structure with its coordination types."""

    def __init__(self, sp, count, coordtypes):
        self.sp = sp
        self.count = count
        self.coordtypes = coordtypes

    @property
    def bound(self):
        return any(coord_metals(c) > 0 or c.endswith("-c") for c in self.coordtypes)

    @property
    def bridging(self):
        return any(coord_metals(c) >= 2 or c.endswith("-c") for c in self.coordtypes)


class Generator:
    def __init__(self, ligands, atoms, seed=SEED):
        self.rng = random.Random(seed)
        self.ids = Ids(seed + 1)
        self.target_ligands = ligands
        self.target_atoms = atoms
        t = {}
        t["ref_structure_databases"] = Table("crystals.ref_structure_databases", ["id", "name"])
        t["crystal_structures"] = Table("crystals.crystal_structures",
                                        ["id", "remark", "cf_structural", "cf_sum", "chem_name_systematic"])
        t["link_database_structure"] = Table("crystals.link_database_structure", ["refcode", "csd_id"])
        t["crystal_structures_err"] = Table("crystals.crystal_structures_err", ["refcode", "problem"])
        t["link_doi_structure"] = Table("crystals.link_doi_structure", ["refcode", "doi"])
        t["limon_library"] = Table("topology.limon_library", ["id", "name"])
        t["limon"] = Table("topology.limon", ["id", "libraryid", "name", "ttlcode", "countat", "lengtha", "lengthb",
                                              "lengthc", "angelalpha", "angelbeta", "angelgamma"])
        t["limon_cd"] = Table("topology.limon_cd", ["id", "limonid", "specat", "numat", "cn", "fractx", "fracty",
                                                    "fractz"])
        t["limon_adm_dn"] = Table("topology.limon_adm_dn", ["limonid", "at_num", "adm_str"])
        t["limon_loc"] = Table("topology.limon_loc", ["id", "limonid", "refcode", "coordtype", "ligtype", "ligvol",
                                                      "ligarea"])
        t["ttdlibrary"] = Table("topology.ttdlibrary", ["id", "name"])
        t["ttd"] = Table("topology.ttd", ["id", "ttdlibraryid", "name", "ttdcode", "numnodes", "ts"])
        t["ref_representation_type"] = Table("topology.ref_representation_type", ["rep_code", "rep_name"])
        t["tto"] = Table("topology.tto", ["id", "ttdid", "refcode", "ttdcode", "z", "dimen", "fwc", "msrc",
                                          "reprtypecode"])
        t["ref_elements"] = Table("atoms.ref_elements", ["id", "element"])
        t["ref_polyhedra"] = Table("atoms.ref_polyhedra", ["id", "name"])
        t["cp_vdp"] = Table("atoms.cp_vdp", ["id", "refcode", "atom", "at_num", "ox_st", "cn", "rsd", "v_vdp",
                                             "s_vdp", "g3_vdp", "var_me", "poly_id", "cp_class", "cp_full"])
        self.t = t
        self.refcodes = set()
        self.structures = []          # (refcode, plan) of first determinations
        self.atom_rows = 0

    # --- reference data --------------------------------------------------------------

    def reference_tables(self):
        t = self.t
        for i, name in SOURCE_DATABASES:
            t["ref_structure_databases"].add(i, name)
        for z, sym in enumerate(ELEMENT_SYMBOLS, start=1):
            t["ref_elements"].add(z, sym)
        for name, k in POLY_ID.items():
            t["ref_polyhedra"].add(k, name)
        for code, name in enumerate(REPRESENTATIONS):
            t["ref_representation_type"].add(code, name)
        self.ttd = {}
        libs = []
        for name, lib, ts, nodes, dim in NETS:
            if lib not in libs:
                libs.append(lib)
        lib_id = {lib: Ids.named("ttdlibrary/" + lib) for lib in libs}
        for lib in libs:
            t["ttdlibrary"].add(lib_id[lib], lib)
        for code, (name, lib, ts, nodes, dim) in enumerate(NETS, start=1):
            tid = Ids.named("ttd/" + name)
            shown = NET_DISPLAY.get(name, name)
            t["ttd"].add(tid, lib_id[lib], shown, code, nodes, ts)
            self.ttd[name] = (tid, code, dim)

    # --- ligand libraries ---------------------------------------------------------------

    def ligand_libraries(self):
        t = self.t
        self.library_id = {lib: Ids.named("limon_library/" + lib) for lib in LIGAND_LIBRARIES}
        for lib in LIGAND_LIBRARIES:
            t["limon_library"].add(self.library_id[lib], lib)
        for sp in SPECIES:
            sp.mol = sp.build()
        by_key = {sp.key: sp for sp in SPECIES}
        # real ligands that are themselves ring-substituted forms of a base ligand
        extra = []
        for base_key, combo, weight, nets, coord in (
                ("im", (("2", "methyl"),), 3, ("SOD", "dia", "cds"), None),
                ("bdc", (("2", "amino"),), 1.5, ("pcu", "sql", "dia"), None)):
            base = by_key[base_key]
            base.group = perm_group(base.perms, sorted(base.mol.hloc, key=locant_key))
            sp = self.derived_species(base, combo, derivative_name(base.stem, combo), make_derivative(base, combo))
            sp.weight = weight
            sp.nets = list(nets)
            extra.append(sp)
        real = SPECIES + extra
        n_real_ligands = sum(1 for sp in real if sp.library == L)
        bases = [sp for sp in SPECIES if sp.stem]
        wanted = max(0, self.target_ligands - n_real_ligands)
        derived = []
        if wanted:
            taken = {sp.name for sp in real if sp.library == L}
            for base, combo, name, mol in choose_derivatives(bases, wanted, self.rng, taken):
                derived.append(self.derived_species(base, combo, name, mol))
        self.species = real + derived
        self.real = real
        self.derived = derived
        code = {L: 1, M_: 101, N_: 201}
        for sp in real:
            sp.ttlcode = code[sp.library]
            code[sp.library] += 1
        for k, sp in enumerate(derived):
            sp.ttlcode = 1001 + k
        for sp in self.species:
            sp.id = Ids.named("limon/%s/%s" % (sp.library, sp.name))
            prepare_species(sp, sp.mol)
            self.write_ligand(sp)
            if sp.base is not None:
                sp.mol = None          # derivatives are not needed again; keep memory flat
        self.ligand_pool = [sp for sp in real if sp.library == L]
        self.molecule_pool = [sp for sp in real if sp.library == M_]
        self.unit_pool = [sp for sp in real if sp.library == N_]

    def derived_species(self, base, combo, name, mol):
        sp = Species(base.key + ":" + ",".join(l + s for l, s in combo), name, L, None, base.charge,
                     complex_name(name, base.charge), derivative_abbrev(base.abbrev, combo), None,
                     base.coord, base.weight * 0.05, base.nets)
        sp.mol = mol
        sp.base = base
        return sp

    def write_ligand(self, sp):
        t = self.t
        mol = sp.mol
        order = sp.order
        cell, frac = ligand_geometry(mol, order, self.rng)
        number = {old: k + 1 for k, old in enumerate(order)}
        t["limon"].add(sp.id, self.library_id[sp.library], sp.name, sp.ttlcode, len(order),
                       fnum(cell[0], 3), fnum(cell[1], 3), fnum(cell[2], 3),
                       fnum(cell[3], 2), fnum(cell[4], 2), fnum(cell[5], 2))
        cd, adm = t["limon_cd"], t["limon_adm_dn"]
        bound = sp.library == L
        sid = sp.id
        for k, old in enumerate(order):
            info = sp.atoms[k]
            cn = info.degree + (1 if bound and info.donor else 0)
            f = frac[k]
            cd.add_line("%s\t%s\t%d\t%d\t%d\t%s\t%s\t%s" % (self.ids.next(), sid, info.z, k + 1, cn,
                                                          fcoord(f[0]), fcoord(f[1]), fcoord(f[2])))
        for k, old in enumerate(order):
            adm.add_line("%s\t%d\t%s" % (sid, k + 1, " ".join(str(n) for n in sorted(number[j] for j in mol.adj[old]))))

    # --- structures ---------------------------------------------------------------------

    def new_refcode(self):
        rng = self.rng
        while True:
            code = "".join(rng.choice("ABCDEFGHIJKLMNOPQRSTUVWXYZ") for _ in range(6))
            if code not in self.refcodes:
                self.refcodes.add(code)
                return code

    def pick_ligand(self, metal, charge_sign, exclude):
        """A random real ligand of the given charge sign (-1 anion, 0 neutral)."""
        rng = self.rng
        pool = [sp for sp in self.ligand_pool
                if (sp.charge < 0) == (charge_sign < 0) and sp not in exclude and sp.key not in ("O2", "NOx")]
        weights = []
        for sp in pool:
            w = sp.weight
            donors = set(sp.donor_elements)
            if metal in HARD_METALS and not donors & {"O", "F"}:
                w *= 0.15
            if metal in SOFT_METALS and donors <= {"O"}:
                w *= 0.4
            weights.append(w)
        return rng.choices(pool, weights)[0]

    def coordtypes(self, sp):
        rng = self.rng
        first = weighted(rng, sp.coord)[0]
        out = [first]
        if len(sp.coord) > 1 and rng.random() < 0.15:
            second = weighted(rng, [c for c in sp.coord if c[0] != first])[0]
            out.append(second)
        return out

    def plan(self, forced):
        """Composition of one structure: metal, count and components."""
        rng = self.rng
        forced_lig = [sp for sp in forced if sp.library == L]
        forced_mol = [sp for sp in forced if sp.library == M_]
        forced_unit = [sp for sp in forced if sp.library == N_]
        if not forced_lig and not forced_unit and rng.random() < 0.03:
            main = forced_mol[0] if forced_mol else weighted(rng, self.molecule_pool, lambda s: s.weight)
            comps = [Component(main, 1, ["0"])]
            if rng.random() < 0.6:
                other = weighted(rng, [s for s in self.molecule_pool if s is not main], lambda s: s.weight)
                comps.append(Component(other, rng.choice((1, 1, 2)), ["0"]))
            return {"metal": None, "components": comps, "units": []}
        unit = forced_unit[0] if forced_unit else None
        if unit is not None:
            metal_key = {"Cu2pw": ("Cu", 2), "Zn2pw": ("Zn", 2), "Zn4O": ("Zn", 2), "Fe3O": ("Fe", 3),
                         "Cu4I4": ("Cu", 1), "Cu2I2": ("Cu", 1)}[unit.key]
            metal = [m for m in METALS if (m[0], m[1]) == metal_key][0]
        else:
            metal = weighted(rng, METALS, lambda m: m[2])
        sym, q = metal[0], metal[1]
        nmetal = rng.choices((1, 2, 3), (70, 22, 8))[0]
        anions = [sp for sp in forced_lig if sp.charge < 0][:2]
        neutrals = [sp for sp in forced_lig if sp.charge == 0]
        if unit is not None and unit.key in ("Cu2pw", "Zn2pw", "Zn4O", "Fe3O") and \
                not any(sp.key in ("bdc", "btc", "ipa", "bz", "ac", "fo") or
                        (sp.base and sp.base.key in ("bdc", "btc", "ipa", "bz")) for sp in anions):
            anions = [self.species_by_key[rng.choice(("bdc", "btc", "bdc", "ipa"))]] + anions[:1]
        if unit is not None and unit.key in ("Cu4I4", "Cu2I2"):
            anions = [self.species_by_key["I"]]
        if not anions:
            anions = [self.pick_ligand(sym, -1, ())]
            if rng.random() < 0.35:
                anions.append(self.pick_ligand(sym, -1, anions))
        if q >= 4 and not any(sp.key == "O" for sp in anions):
            # high-valent metals carry oxo ligands (uranyl, vanadyl, molybdates ...)
            anions = [self.species_by_key["O"]] + anions[:1]
        counts = self.balance(q, nmetal, [-sp.charge for sp in anions])
        if counts is None:
            anions = anions[:1]
            counts = self.balance(q, nmetal, [-anions[0].charge])
        if counts is None:
            anions = [self.species_by_key["Cl"]]
            counts = (nmetal, [nmetal * q])
        nmetal, ncounts = counts
        comps = [Component(sp, n, self.coordtypes(sp)) for sp, n in zip(anions, ncounts)]
        extra_neutral = rng.choices((0, 1, 2), (35, 50, 15))[0] if not neutrals else rng.choice((0, 0, 1))
        for _ in range(extra_neutral):
            sp = self.pick_ligand(sym, 0, neutrals)
            neutrals.append(sp)
        for sp in neutrals:
            small = len(sp.atoms) <= 4 or sp.key in ("py", "dmfL", "urea", "tu", "pph3")
            n = rng.choice((1, 2, 2, 3, 4)) if small else rng.choice((1, 1, 2))
            comps.append(Component(sp, min(6, n * nmetal) if small else n, self.coordtypes(sp)))
        solvents = list(forced_mol)
        if not solvents and rng.random() < 0.5:
            solvents.append(weighted(rng, self.molecule_pool, lambda s: s.weight))
            if rng.random() < 0.2:
                other = weighted(rng, [s for s in self.molecule_pool if s not in solvents], lambda s: s.weight)
                solvents.append(other)
        for sp in solvents:
            comps.append(Component(sp, rng.choice((1, 1, 2, 2, 3, 4)), ["0"]))
        units = []
        if unit is not None:
            units.append(unit)
        elif sym in ("Cu", "Zn") and q == 2 and rng.random() < 0.25 and any(
                c.sp.key in ("bdc", "btc", "ipa") for c in comps):
            units.append(self.species_by_key["Cu2pw" if sym == "Cu" else rng.choice(("Zn2pw", "Zn4O"))])
        return {"metal": metal, "nmetal": nmetal, "components": comps, "units": units,
                "discrete": rng.random() < 0.25}

    @staticmethod
    def balance(q, nmetal, charges):
        """Metal count and anion counts (each >= 1) with nmetal*q equal to the anion charge."""
        for m in range(nmetal, nmetal + 4):
            total = m * q
            if len(charges) == 1:
                if total % charges[0] == 0 and total // charges[0] <= 6:
                    return m, [total // charges[0]]
            else:
                c1, c2 = charges
                for n1 in range(1, 7):
                    rest = total - n1 * c1
                    if rest >= c2 and rest % c2 == 0 and rest // c2 <= 6:
                        return m, [n1, rest // c2]
        return None

    def emit(self, refcode, plan):
        """All rows of one structure."""
        rng = self.rng
        t = self.t
        metal = plan["metal"]
        comps = plan["components"]
        labels = {}

        def label(el):
            labels[el] = labels.get(el, 0) + 1
            return "%s%d" % (el, labels[el])

        total = {}
        bridging = any(c.bridging for c in comps) or bool(plan.get("units"))
        polymer = metal is not None and bridging and (plan.get("nmetal", 1) == 1 or not plan.get("discrete"))
        # ligand occurrences
        for c in comps:
            for ct in c.coordtypes:
                sp = c.sp
                vol = sp.volume * rng.gauss(1.0, 0.04)
                area = 4.836 * vol ** (2.0 / 3.0) * (1.12 + min(0.35, 0.012 * len(sp.atoms))) * rng.gauss(1.0, 0.03)
                t["limon_loc"].add_line("%s\t%s\t%s\t%s\t%d\t%.2f\t%.2f" % (self.ids.next(), sp.id, refcode, ct,
                                                                          sp.ttlcode, vol, area))
            for el, n in c.sp.count.items():
                total[el] = total.get(el, 0) + n * c.count
        for u in plan.get("units", []):
            vol = u.volume * rng.gauss(1.0, 0.04)
            area = 4.836 * vol ** (2.0 / 3.0) * 1.3 * rng.gauss(1.0, 0.03)
            t["limon_loc"].add(self.ids.next(), u.id, refcode, u.coord[0][0], u.ttlcode, fnum(vol, 2), fnum(area, 2))
        # metal atoms
        cpv = t["cp_vdp"]
        if metal is not None:
            sym, q, _, mname, vbase, figures = metal
            nmetal = plan["nmetal"]
            total[sym] = total.get(sym, 0) + nmetal
            pool = []
            for c in comps:
                if c.bound:
                    pool += c.sp.donor_elements * (2 if c.sp.weight >= 3 else 1)
            pool = pool or ["O"]
            for _ in range(nmetal):
                cn, fig, _w = weighted(rng, figures)
                donors = {}
                for _k in range(cn):
                    el = rng.choice(pool)
                    donors[el] = donors.get(el, 0) + 1
                full = dict(donors)
                full["C"] = full.get("C", 0) + rng.randint(0, cn)
                full["H"] = full.get("H", 0) + rng.randint(1, 2 * cn)
                if nmetal > 1 and rng.random() < 0.4:
                    full[sym] = full.get(sym, 0) + 1
                full = {k: v for k, v in full.items() if v}
                v = vbase * rng.gauss(1.0, 0.04) * (1 + 0.02 * (cn - 6))
                self.vdp_row(refcode, label(sym), Z_OF[sym], q, cn, v, 0.0812, 0.0012, rng.gauss(0, 0.02),
                             POLY_ID[fig], composition(sym, donors), composition(sym, full))
        # ligand and molecule atoms, one independent set per occurrence
        for c in comps:
            sp = c.sp
            for ct in c.coordtypes:
                nm = coord_metals(ct)
                for info in sp.atoms:
                    contacts = 0
                    if info.donor and nm:
                        contacts = nm if sp.single_donor else 1
                    cn = info.degree + contacts
                    nb = {}
                    for e in info.nbr:
                        nb[e] = nb.get(e, 0) + 1
                    if contacts and metal is not None:
                        nb[metal[0]] = nb.get(metal[0], 0) + contacts
                    full = dict(nb)
                    full["H"] = full.get("H", 0) + rng.randint(1, 6)
                    if rng.random() < 0.5:
                        full["C"] = full.get("C", 0) + rng.randint(1, 3)
                    if rng.random() < 0.3:
                        full["O"] = full.get("O", 0) + rng.randint(1, 2)
                    v = info.vbase * (0.92 if contacts else 1.0) * rng.gauss(1.0, 0.05)
                    fig = nonmetal_figure(cn, info)
                    if info.el == "H":
                        g3m, g3s, disp = 0.0900, 0.0040, rng.gauss(0, 0.15)
                    else:
                        g3m, g3s, disp = 0.0835, 0.0025, rng.gauss(0, 0.06)
                    self.vdp_row(refcode, label(info.el), info.z, info.ox, cn, v, g3m, g3s, disp,
                                 POLY_ID[fig] if fig else None, composition(info.el, nb), composition(info.el, full))
        # underlying nets
        if polymer:
            # a redetermination of a structure has the same nets
            if "nets" not in plan:
                plan["nets"] = self.emit_nets(refcode, plan)
            for row in plan["nets"]:
                t["tto"].add(self.ids.next(), row[0], refcode, *row[1:])
        # the structure itself
        self.emit_crystal(refcode, plan, total, polymer)

    def vdp_row(self, refcode, atom, z, ox, cn, v, g3m, g3s, disp, poly, cp_class, cp_full):
        rng = self.rng
        v = max(v, 2.0)
        rsd = (3.0 * v / (4.0 * math.pi)) ** (1.0 / 3.0)
        s = 4.0 * math.pi * rsd * rsd * (1.08 + 0.25 / max(cn, 1) + rng.gauss(0, 0.01))
        g3 = max(0.0775, rng.gauss(g3m, g3s))
        self.t["cp_vdp"].add_line("%s\t%s\t%s\t%d\t%d\t%d\t%.4f\t%.3f\t%.3f\t%.6f\t%.4f\t%s\t%s\t%s" % (
            self.ids.next(), refcode, atom, z, ox, cn, rsd, v, s, g3, abs(disp),
            "\\N" if poly is None else poly, cp_class, cp_full))
        self.atom_rows += 1

    def emit_nets(self, refcode, plan):
        rng = self.rng
        comps = plan["components"]
        cands = []
        for c in comps:
            if c.bridging:
                cands += c.sp.nets
        for u in plan.get("units", []):
            cands += u.nets * 2
        cands = [n for n in cands if n in self.ttd] or ["sql", "pcu", "dia", "hcb", "ladder"]
        metal = plan["metal"]
        fw = "".join("(%s)%s" % (c.sp.abbrev, c.count if c.count > 1 else "")
                     for c in comps if c.bridging)
        fwc = "[%s%s%s]" % (metal[0], plan["nmetal"] if plan["nmetal"] > 1 else "", fw)
        rows = [(0, rng.choice(cands))]
        if rng.random() < 0.45:
            rows.append((1, rng.choice(cands)))
        if rng.random() < 0.2:
            rows.append((2, rng.choice(BINODAL)))
        if rng.random() < 0.1:
            rows.append((rng.choice((3, 4)), rng.choice(cands)))
        if rng.random() < 0.1:
            rows.append((5, rng.choice(HBOND_NETS)))
        multi = rng.random() < 0.08
        out = []
        for rep, net in rows:
            tid, code, dim = self.ttd[net]
            if dim == 3 and net in INTERPENETRATING:
                z = rng.choices((1, 2, 3, 4, 5, 6), (75, 13, 6, 3, 2, 1))[0]
            elif dim == 2:
                z = rng.choices((1, 2), (92, 8))[0]
            else:
                z = 1
            out.append((tid, code, z, dim, fwc, 1 if multi else 0, rep))
            if multi and rep == 0:
                tid2, code2, dim2 = self.ttd[rng.choice(cands)]
                out.append((tid2, code2, 1, dim2, fwc, 2, rep))
        return out

    def emit_crystal(self, refcode, plan, total, polymer):
        rng = self.rng
        t = self.t
        metal = plan["metal"]
        comps = plan["components"]
        if metal is None:
            structural = ", ".join(("%d(%s)" % (c.count, c.sp.formula_text)) if c.count > 1 else c.sp.formula_text
                                   for c in comps)
            name = comps[0].sp.name + self.solvate_text(comps[1:])
            kind = "organic"
        else:
            sym, q, _, mname, _, _ = metal
            nmetal = plan["nmetal"]
            inner = [c for c in comps if c.bound]
            outer = [c for c in comps if not c.bound]
            core = "[%s%s%s]%s" % (sym, nmetal if nmetal > 1 else "",
                                   "".join("(%s)%s" % (c.sp.formula_text, c.count if c.count > 1 else "")
                                           for c in inner), "n" if polymer else "")
            parts = [core]
            for c in outer:
                mult = ("%d" % c.count if c.count > 1 else "") + ("n" if polymer else "")
                parts.append("%s(%s)" % (mult, c.sp.formula_text))
            structural = ", ".join(parts)
            terms = []
            for c in sorted(inner, key=lambda c: alphabetic_key(c.sp.cname)):
                mu = max(coord_metals(ct) for ct in c.coordtypes)
                cname = c.sp.cname
                if mu >= 2:
                    cname = "mu%d-%s" % (mu, cname)
                if c.count == 1:
                    terms.append(cname if mu < 2 else "(%s)" % cname)
                elif simple_name(cname):
                    terms.append(multiplier(c.count, True) + cname)
                else:
                    terms.append("%s(%s)" % (multiplier(c.count, False), cname))
            metal_term = "%s%s(%s)" % ((multiplier(nmetal, True) + "-") if nmetal > 1 else "", mname, ROMAN[q])
            name = "-".join(terms + [metal_term])
            if polymer:
                name = "catena-(%s)" % name
            for c in outer:
                if c.sp.library == L:
                    if c.count == 1:
                        name += " " + c.sp.name
                    elif simple_name(c.sp.name):
                        name += " " + multiplier(c.count, True) + c.sp.name
                    else:
                        name += " %s(%s)" % (multiplier(c.count, False), c.sp.name)
            name += self.solvate_text([c for c in outer if c.sp.library == M_])
            organic = any(c.sp.organic for c in comps)
            kind = "metal-organic" if organic else "inorganic"
        plan["kind"] = kind
        t["crystal_structures"].add(self.ids.next(), refcode, structural, hill(total), name)
        # sources
        dbs = []
        if kind in ("metal-organic", "organic"):
            dbs.append(1)
        else:
            dbs.append(2)
            if metal is not None and metal[0] in MINERAL_METALS and rng.random() < 0.25:
                dbs.append(4)
        if rng.random() < 0.35:
            dbs.append(3)
        if rng.random() < 0.05:
            dbs.append(5)
        for d in dbs:
            t["link_database_structure"].add(refcode, d)
        if rng.random() < 0.05:
            t["crystal_structures_err"].add(refcode, rng.choice(PROBLEMS))
        r = rng.random()
        if r < 0.10:
            t["link_doi_structure"].add(refcode, "None")
        else:
            n = 2 if r > 0.97 else 1
            seen = set()
            while len(seen) < n:
                seen.add("10.5555/xtal.%d.%05d" % (rng.randint(1975, 2025), rng.randint(1, 99999)))
            for doi in sorted(seen):
                t["link_doi_structure"].add(refcode, doi)

    @staticmethod
    def solvate_text(solvents):
        words = []
        for c in solvents:
            if c.sp.name != "water":
                words.append(c.sp.name if c.count == 1 else "%s(%s)" % (multiplier(c.count, False), c.sp.name))
        text = (" " + " ".join(words) + " solvate") if words else ""
        for c in solvents:
            if c.sp.name == "water":
                text += " " + HYDRATES.get(c.count, "%d hydrate" % c.count)
        return text

    def make_structures(self):
        rng = self.rng
        self.species_by_key = {sp.key: sp for sp in self.real}
        queue = list(self.real) + list(self.derived)
        rng.shuffle(queue)
        made = 0
        while queue or self.atom_rows < self.target_atoms:
            if self.structures and rng.random() < 0.12:
                base_code, plan = rng.choice(self.structures)
                suffix = 1
                while "%s%02d" % (base_code, suffix) in self.refcodes:
                    suffix += 1
                code = "%s%02d" % (base_code, suffix)
                self.refcodes.add(code)
                self.emit(code, plan)
                continue
            forced = []
            if queue:
                avg = self.atom_rows / made if made else 40.0
                left = max(1.0, (self.target_atoms - self.atom_rows) / avg)
                k = max(1, min(4, math.ceil(len(queue) / left)))
                forced = [queue.pop() for _ in range(min(k, len(queue)))]
                units = [sp for sp in forced if sp.library == N_]
                for extra in units[1:]:
                    queue.insert(0, extra)
                forced = [sp for sp in forced if sp.library != N_] + units[:1]
            plan = self.plan(forced)
            used = {id(c.sp) for c in plan["components"]} | {id(u) for u in plan["units"]}
            for sp in forced:
                if id(sp) not in used:
                    queue.insert(0, sp)
            code = self.new_refcode()
            self.emit(code, plan)
            self.structures.append((code, plan))
            made += 1

    # A family of square-grid coordination polymers [M(4,4'-bipyridine)2X2]n of copper(II)
    # and zinc(II): the classic sql layers that a combined search of a ligand, a net and
    # an element finds. Made after the random structures, so these stay as they were.
    SQL_GRID_FAMILY = (("Cu", "NCS", "M1", None, 1), ("Cu", "NO3", "M1", "H2Os", 1),
                       ("Cu", "ClO4", "0", "H2Os", 2), ("Zn", "NCS", "M1", None, 1),
                       ("Zn", "Cl", "M1", None, 1), ("Zn", "NO3", "B01", "H2Os", 2))

    def sql_grid_family(self):
        rng = self.rng
        bpy = self.species_by_key["bpy"]
        tid, code, dim = self.ttd["sql"]
        for sym, anion, coordtype, solvent, z in self.SQL_GRID_FAMILY:
            metal = [m for m in METALS if (m[0], m[1]) == (sym, 2)][0]
            comps = [Component(bpy, 2, ["B2"]), Component(self.species_by_key[anion], 2, [coordtype])]
            if solvent:
                comps.append(Component(self.species_by_key[solvent], rng.choice((1, 2, 4)), ["0"]))
            fwc = "[%s(bpy)2]" % sym
            plan = {"metal": metal, "nmetal": 1, "components": comps, "units": [], "discrete": False,
                    "nets": [(tid, code, z, dim, fwc, 0, 0)]}
            refcode = self.new_refcode()
            self.emit(refcode, plan)
            self.structures.append((refcode, plan))

    def write(self, out):
        out.write("-- Ormaline demo data, generated by database/generate_demo.py; do not edit.\n")
        out.write("SET client_encoding = 'UTF8';\nSET client_min_messages = warning;\nBEGIN;\n")
        out.write("TRUNCATE crystals.crystal_structures, crystals.ref_structure_databases, "
                  "crystals.link_database_structure, crystals.crystal_structures_err, crystals.link_doi_structure, "
                  "topology.limon_library, topology.limon, topology.limon_cd, topology.limon_adm_dn, "
                  "topology.limon_loc, topology.ttdlibrary, topology.ttd, topology.ref_representation_type, "
                  "topology.tto, atoms.ref_elements, atoms.ref_polyhedra, atoms.cp_vdp;\n\n")
        for key in ("ref_structure_databases", "crystal_structures", "link_database_structure",
                    "crystal_structures_err", "link_doi_structure", "limon_library", "limon", "limon_cd",
                    "limon_adm_dn", "limon_loc", "ttdlibrary", "ttd", "ref_representation_type", "tto",
                    "ref_elements", "ref_polyhedra", "cp_vdp"):
            self.t[key].write(out)
        out.write("COMMIT;\nANALYZE;\n")

    def counts(self):
        return {k: len(v.lines) for k, v in self.t.items()}


SCALES = {"demo": (160, 20000), "large": (100000, 1000000)}


def main(argv=None):
    parser = argparse.ArgumentParser(description="Write the Ormaline demo database as SQL to stdout.")
    parser.add_argument("--scale", choices=sorted(SCALES), default="demo")
    parser.add_argument("--ligands", type=int, help="entries of the library Ligands (real ones included)")
    parser.add_argument("--atoms", type=int, help="minimum number of atoms.cp_vdp rows")
    parser.add_argument("--stats", action="store_true", help="print row counts to stderr")
    args = parser.parse_args(argv)
    ligands, atoms = SCALES[args.scale]
    if args.ligands is not None:
        ligands = args.ligands
    if args.atoms is not None:
        atoms = args.atoms
    # millions of small objects and no reference cycles worth collecting
    gc.disable()
    gen = Generator(ligands, atoms)
    gen.reference_tables()
    gen.ligand_libraries()
    gen.make_structures()
    gen.sql_grid_family()
    out = sys.stdout
    gen.write(out)
    out.flush()
    if args.stats:
        for k, v in gen.counts().items():
            sys.stderr.write("%-26s %9d\n" % (k, v))
    return 0


if __name__ == "__main__":
    sys.exit(main())
