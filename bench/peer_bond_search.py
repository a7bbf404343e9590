"""Peer baseline of the scene-build benchmark: the bond search of gemmi on a structure
file written by the benchmark.

The file holds the cell ("cell a b c alpha beta gamma", angstrom and degrees), the
tolerance ("tolerance t"), one "radius Symbol r" line per element and then one
"Symbol x y z" line per atom in fractional coordinates. Two atoms are bonded when
their distance is below rA + rB + t, within the cell and across its faces (space group
P 1), the rule of the viewer's distance-based bonds.

Prints "wall cpu contacts": the elapsed and the processor time in seconds of gemmi's
NeighborSearch and ContactSearch together, and the number of contacts, each pair once.
"""
import sys
import time

import gemmi


def read_structure(path):
    cell = None
    tolerance = 0.0
    radii = {}
    atoms = []
    with open(path) as source:
        for line in source:
            fields = line.split()
            if not fields:
                continue
            if fields[0] == "cell":
                cell = gemmi.UnitCell(*map(float, fields[1:7]))
            elif fields[0] == "tolerance":
                tolerance = float(fields[1])
            elif fields[0] == "radius":
                radii[fields[1]] = float(fields[2])
            else:
                atoms.append((fields[0], float(fields[1]), float(fields[2]), float(fields[3])))
    return cell, tolerance, radii, atoms


def make_structure(cell, atoms):
    structure = gemmi.Structure()
    structure.cell = cell
    structure.spacegroup_hm = "P 1"
    model = gemmi.Model("1")
    chain = gemmi.Chain("A")
    residue = gemmi.Residue()
    residue.name = "MOL"
    residue.seqid = gemmi.SeqId(1, " ")
    for symbol, x, y, z in atoms:
        atom = gemmi.Atom()
        atom.name = symbol
        atom.element = gemmi.Element(symbol)
        atom.pos = cell.orthogonalize(gemmi.Fractional(x, y, z))
        residue.add_atom(atom)
    chain.add_residue(residue)
    model.add_chain(chain)
    structure.add_model(model)
    structure.setup_cell_images()
    return structure


def main():
    cell, tolerance, radii, atoms = read_structure(sys.argv[1])
    structure = make_structure(cell, atoms)
    model = structure[0]
    reach = 2 * max(radii.values()) + tolerance
    start = time.perf_counter()
    start_cpu = time.process_time()
    search = gemmi.NeighborSearch(model, structure.cell, reach).populate()
    contacts = gemmi.ContactSearch(reach)
    contacts.ignore = gemmi.ContactSearch.Ignore.Nothing
    contacts.setup_atomic_radii(1.0, 0.0)
    # Each pair's limit is the sum of the two radii, so each radius carries half the
    # tolerance.
    for symbol, radius in radii.items():
        contacts.set_radius(gemmi.Element(symbol), radius + tolerance / 2)
    found = contacts.find_contacts(search)
    cpu = time.process_time() - start_cpu
    seconds = time.perf_counter() - start
    print(f"{seconds:.6f} {cpu:.6f} {len(found)}")


if __name__ == "__main__":
    main()
