-- Invariants of the demo database. Every block raises an error when its rule is broken,
-- so the script fails under "psql -v ON_ERROR_STOP=1"; it only reads and runs under the
-- read-only role as well as under the owner.
--     psql -v ON_ERROR_STOP=1 -d ormaline -f database/check_demo.sql

\set QUIET on
SET client_min_messages = notice;

-- adjacency text: decimal atom numbers separated by single blanks (or empty)
DO $$
DECLARE n bigint;
BEGIN
    SELECT count(*) INTO n FROM topology.limon_adm_dn WHERE adm_str !~ '^([0-9]+( [0-9]+)*)?$';
    IF n > 0 THEN RAISE EXCEPTION 'adm_str: % rows not in the form "2 5 7"', n; END IF;
END $$;

-- every atom has exactly one adjacency row, and every adjacency row names an atom
DO $$
DECLARE n bigint;
BEGIN
    SELECT count(*) INTO n FROM topology.limon_cd cd
     WHERE NOT EXISTS (SELECT 1 FROM topology.limon_adm_dn a WHERE a.limonid = cd.limonid AND a.at_num = cd.numat);
    IF n > 0 THEN RAISE EXCEPTION 'limon_cd: % atoms without an adjacency row', n; END IF;
    SELECT count(*) INTO n FROM topology.limon_adm_dn a
     WHERE NOT EXISTS (SELECT 1 FROM topology.limon_cd cd WHERE cd.limonid = a.limonid AND cd.numat = a.at_num);
    IF n > 0 THEN RAISE EXCEPTION 'limon_adm_dn: % rows for atoms that do not exist', n; END IF;
END $$;

-- every neighbour number exists, no atom is its own neighbour, no neighbour is listed twice,
-- and the adjacency agrees in both directions
DO $$
DECLARE n bigint;
BEGIN
    WITH e AS (
        SELECT a.limonid, a.at_num, x::int AS nb
          FROM topology.limon_adm_dn a, unnest(string_to_array(nullif(a.adm_str, ''), ' ')) AS x)
    SELECT count(*) INTO n FROM e
     WHERE NOT EXISTS (SELECT 1 FROM topology.limon_cd cd WHERE cd.limonid = e.limonid AND cd.numat = e.nb);
    IF n > 0 THEN RAISE EXCEPTION 'adm_str: % neighbour numbers name no atom', n; END IF;

    WITH e AS (
        SELECT a.limonid, a.at_num, x::int AS nb
          FROM topology.limon_adm_dn a, unnest(string_to_array(nullif(a.adm_str, ''), ' ')) AS x)
    SELECT count(*) INTO n FROM e WHERE e.nb = e.at_num;
    IF n > 0 THEN RAISE EXCEPTION 'adm_str: % atoms list themselves', n; END IF;

    WITH e AS (
        SELECT a.limonid, a.at_num, x::int AS nb
          FROM topology.limon_adm_dn a, unnest(string_to_array(nullif(a.adm_str, ''), ' ')) AS x)
    SELECT count(*) INTO n FROM (SELECT 1 FROM e GROUP BY limonid, at_num, nb HAVING count(*) > 1) d;
    IF n > 0 THEN RAISE EXCEPTION 'adm_str: % neighbours listed twice', n; END IF;

    WITH e AS (
        SELECT a.limonid, a.at_num, x::int AS nb
          FROM topology.limon_adm_dn a, unnest(string_to_array(nullif(a.adm_str, ''), ' ')) AS x)
    SELECT count(*) INTO n FROM e
     WHERE NOT EXISTS (SELECT 1 FROM e r WHERE r.limonid = e.limonid AND r.at_num = e.nb AND r.nb = e.at_num);
    IF n > 0 THEN RAISE EXCEPTION 'adm_str: % bonds are listed in one direction only', n; END IF;
END $$;

-- atom numbers run 1..countat, and countat is the number of atoms
DO $$
DECLARE n bigint;
BEGIN
    SELECT count(*) INTO n FROM topology.limon t
      LEFT JOIN (SELECT limonid, count(*) c, min(numat) lo, max(numat) hi
                   FROM topology.limon_cd GROUP BY limonid) cd ON cd.limonid = t.id
     WHERE cd.c IS NULL OR cd.c <> t.countat OR cd.lo <> 1 OR cd.hi <> t.countat;
    IF n > 0 THEN RAISE EXCEPTION 'limon: % ligands whose countat does not match their atoms 1..countat', n; END IF;
END $$;

-- element codes are atomic numbers of real elements; the cells are usable
DO $$
DECLARE n bigint;
BEGIN
    SELECT count(*) INTO n FROM topology.limon_cd WHERE specat < 1 OR specat > 118 OR cn < 0;
    IF n > 0 THEN RAISE EXCEPTION 'limon_cd: % atoms with a bad element code or coordination number', n; END IF;
    SELECT count(*) INTO n FROM topology.limon
     WHERE least(lengtha, lengthb, lengthc) < 2.0 OR least(angelalpha, angelbeta, angelgamma) < 60
        OR greatest(angelalpha, angelbeta, angelgamma) > 150;
    IF n > 0 THEN RAISE EXCEPTION 'limon: % ligands with an unusable cell', n; END IF;
    SELECT count(*) INTO n FROM topology.limon_cd WHERE least(fractx, fracty, fractz) < 0;
    IF n = 0 THEN RAISE EXCEPTION 'limon_cd: no negative fractional coordinate at all'; END IF;
END $$;

-- geometry: bonded atoms 0.8-3.0 A apart, atoms that are not bonded at least 1.2 A apart
-- (Cartesian frame: c along Z, b in the YZ plane)
DO $$
DECLARE n bigint;
BEGIN
    WITH cell AS (
        SELECT id, lengtha a, lengthb b, lengthc c,
               radians(angelalpha) al, radians(angelbeta) be, radians(angelgamma) ga FROM topology.limon),
    par AS (
        SELECT id, a, b, c, al, be,
               (cos(ga) - cos(be) * cos(al)) / (sin(al) * sin(be)) AS cosc FROM cell),
    xyz AS (
        SELECT cd.limonid, cd.numat,
               cd.fractx * p.a * sqrt(abs(1 - p.cosc * p.cosc)) * sin(p.be) AS x,
               cd.fractx * p.a * sin(p.be) * p.cosc + cd.fracty * p.b * sin(p.al) AS y,
               cd.fractx * p.a * cos(p.be) + cd.fracty * p.b * cos(p.al) + cd.fractz * p.c AS z
          FROM topology.limon_cd cd JOIN par p ON p.id = cd.limonid),
    bonded AS (
        SELECT a.limonid, a.at_num, x::int AS nb
          FROM topology.limon_adm_dn a, unnest(string_to_array(nullif(a.adm_str, ''), ' ')) AS x),
    d AS (
        SELECT p.limonid, p.numat i, q.numat j,
               sqrt((p.x - q.x) ^ 2 + (p.y - q.y) ^ 2 + (p.z - q.z) ^ 2) AS dist,
               b.nb IS NOT NULL AS is_bond
          FROM xyz p JOIN xyz q ON q.limonid = p.limonid AND q.numat > p.numat
          LEFT JOIN bonded b ON b.limonid = p.limonid AND b.at_num = p.numat AND b.nb = q.numat)
    SELECT count(*) INTO n FROM d
     WHERE (is_bond AND (dist < 0.8 OR dist > 3.0)) OR (NOT is_bond AND dist < 1.2);
    IF n > 0 THEN RAISE EXCEPTION 'geometry: % atom pairs with an implausible distance', n; END IF;
END $$;

-- every ligand occurs somewhere, and every reference code names a crystal structure
DO $$
DECLARE n bigint;
BEGIN
    SELECT count(*) INTO n FROM topology.limon t
     WHERE NOT EXISTS (SELECT 1 FROM topology.limon_loc l WHERE l.limonid = t.id);
    IF n > 0 THEN RAISE EXCEPTION 'limon: % ligands without an occurrence', n; END IF;
    SELECT count(*) INTO n FROM (
        SELECT refcode FROM topology.limon_loc UNION SELECT refcode FROM topology.tto
        UNION SELECT refcode FROM atoms.cp_vdp UNION SELECT refcode FROM crystals.link_database_structure
        UNION SELECT refcode FROM crystals.crystal_structures_err UNION SELECT refcode FROM crystals.link_doi_structure) r
     WHERE NOT EXISTS (SELECT 1 FROM crystals.crystal_structures s WHERE s.remark = r.refcode);
    IF n > 0 THEN RAISE EXCEPTION 'refcode: % codes without a crystal structure', n; END IF;
    SELECT count(*) INTO n FROM crystals.crystal_structures WHERE remark !~ '^[A-Z]{6}([0-9]{2})?$';
    IF n > 0 THEN RAISE EXCEPTION 'crystal_structures: % reference codes not of the form ABCDEF or ABCDEF01', n; END IF;
    SELECT count(*) INTO n FROM crystals.crystal_structures s
     WHERE NOT EXISTS (SELECT 1 FROM crystals.link_database_structure l WHERE l.refcode = s.remark);
    IF n > 0 THEN RAISE EXCEPTION 'crystal_structures: % structures in no source database', n; END IF;
END $$;

-- the libraries and the ligands a crystal chemist looks for
DO $$
DECLARE missing text;
BEGIN
    SELECT string_agg(w, ', ') INTO missing FROM unnest(ARRAY['Ligands', 'Molecules', 'Nets']) w
     WHERE NOT EXISTS (SELECT 1 FROM topology.limon_library l WHERE l.name = w);
    IF missing IS NOT NULL THEN RAISE EXCEPTION 'limon_library: missing %', missing; END IF;
    SELECT string_agg(w, ', ') INTO missing FROM unnest(ARRAY[
        'water', 'hydroxide', 'ammonia', 'cyanide', 'thiocyanate', 'azide', 'nitrate', 'carbonate', 'oxalate',
        'formate', 'acetate', 'benzoate', 'sulfate', 'perchlorate', 'phosphate', 'imidazolate', 'pyrazine',
        'pyridine', '4,4''-bipyridine', '2,2''-bipyridine', 'terephthalate', 'trimesate', 'ethylenediamine',
        'acetylacetonate', 'DABCO', '1,10-phenanthroline', '2-methylimidazolate', 'chloride', 'oxide']) w
     WHERE NOT EXISTS (SELECT 1 FROM topology.limon t JOIN topology.limon_library l ON l.id = t.libraryid
                        WHERE l.name = 'Ligands' AND t.name = w);
    IF missing IS NOT NULL THEN RAISE EXCEPTION 'Ligands: missing %', missing; END IF;
    IF (SELECT count(*) FROM topology.limon t JOIN topology.limon_library l ON l.id = t.libraryid
         WHERE l.name = 'Ligands') < 40 THEN
        RAISE EXCEPTION 'Ligands: fewer than 40 entries';
    END IF;
    IF EXISTS (SELECT 1 FROM topology.limon GROUP BY libraryid, name HAVING count(*) > 1) THEN
        RAISE EXCEPTION 'limon: a name occurs twice in one library';
    END IF;
    -- hydrogens are present where the ligand has them: water is O + 2 H
    IF NOT EXISTS (SELECT 1 FROM topology.limon t JOIN topology.limon_library l ON l.id = t.libraryid
                    WHERE l.name = 'Ligands' AND t.name = 'water' AND t.countat = 3
                      AND (SELECT count(*) FROM topology.limon_cd cd WHERE cd.limonid = t.id AND cd.specat = 1) = 2)
    THEN
        RAISE EXCEPTION 'Ligands: water is not O with two hydrogens';
    END IF;
END $$;

-- topologies, representations, polyhedra, elements, sources
DO $$
DECLARE missing text; n bigint;
BEGIN
    SELECT string_agg(w, ', ') INTO missing FROM unnest(ARRAY[
        'dia', 'pcu', 'sql', 'hcb', 'srs', 'nbo', 'cds', 'bnn', 'fcu', 'bcu', 'pts', 'lvt', 'ths', 'qtz', 'hxl',
        'kgm']) w
     WHERE NOT EXISTS (SELECT 1 FROM topology.ttd t WHERE t.name = w);
    IF missing IS NOT NULL THEN RAISE EXCEPTION 'ttd: missing %', missing; END IF;
    IF (SELECT count(*) FROM topology.ttd) < 20 THEN RAISE EXCEPTION 'ttd: fewer than 20 topologies'; END IF;
    IF (SELECT ts FROM topology.ttd WHERE name = 'dia') <> '{6^6}' THEN RAISE EXCEPTION 'ttd: dia is not {6^6}'; END IF;
    SELECT count(*) INTO n FROM topology.tto o JOIN topology.ttd t ON t.id = o.ttdid WHERE o.ttdcode <> t.ttdcode;
    IF n > 0 THEN RAISE EXCEPTION 'tto: % rows whose ttdcode differs from their topology', n; END IF;
    -- the client takes a representation's list position as its code
    IF EXISTS (SELECT 1 FROM (SELECT rep_code, row_number() OVER (ORDER BY rep_code) - 1 AS pos
                                FROM topology.ref_representation_type) r WHERE r.rep_code <> r.pos)
       OR (SELECT count(*) FROM topology.ref_representation_type) < 3 THEN
        RAISE EXCEPTION 'ref_representation_type: codes do not run 0, 1, 2 ...';
    END IF;
    IF (SELECT count(DISTINCT reprtypecode) FROM topology.tto) < 3 THEN
        RAISE EXCEPTION 'tto: fewer than three representations used';
    END IF;
    IF (SELECT count(*) FROM atoms.ref_elements) < 118 THEN RAISE EXCEPTION 'ref_elements: incomplete'; END IF;
    IF NOT EXISTS (SELECT 1 FROM atoms.ref_polyhedra WHERE name = 'octahedron') THEN
        RAISE EXCEPTION 'ref_polyhedra: no octahedron';
    END IF;
    IF (SELECT count(*) FROM crystals.ref_structure_databases) < 3 THEN
        RAISE EXCEPTION 'ref_structure_databases: fewer than three sources';
    END IF;
    IF NOT EXISTS (SELECT 1 FROM crystals.crystal_structures_err) THEN
        RAISE EXCEPTION 'crystal_structures_err: empty';
    END IF;
    IF NOT EXISTS (SELECT 1 FROM crystals.link_doi_structure WHERE doi = 'None')
       OR NOT EXISTS (SELECT 1 FROM crystals.link_doi_structure WHERE doi LIKE '10.%/%') THEN
        RAISE EXCEPTION 'link_doi_structure: needs both DOIs and the text None';
    END IF;
    IF (SELECT count(*) FROM atoms.cp_vdp) < 1000 THEN RAISE EXCEPTION 'cp_vdp: fewer than 1000 atoms'; END IF;
    SELECT count(*) INTO n FROM atoms.cp_vdp
     WHERE v_vdp <= 0 OR s_vdp <= 0 OR abs(rsd - power(3 * v_vdp / (4 * pi()), 1.0 / 3)) > 0.001
        OR g3_vdp < 0.07 OR g3_vdp > 0.12;
    IF n > 0 THEN RAISE EXCEPTION 'cp_vdp: % atoms with inconsistent polyhedron values', n; END IF;
END $$;

-- the four collections meet: structures found by a ligand, an atom, a topology and a crystal
-- condition at once, as the combined search intersects them
DO $$
DECLARE n bigint;
BEGIN
    SELECT count(*) INTO n FROM (
        SELECT DISTINCT t1.refcode FROM topology.limon t, topology.limon_loc t1 WHERE t1.limonid = t.id
        INTERSECT
        SELECT DISTINCT t.refcode FROM atoms.cp_vdp t WHERE TRUE AND t.at_num IN (29, 30)
        INTERSECT
        SELECT DISTINCT t1.refcode FROM topology.ttd t, topology.tto t1 WHERE t1.ttdid = t.id
        INTERSECT
        SELECT DISTINCT t.remark refcode FROM crystals.crystal_structures t WHERE TRUE
           AND EXISTS (SELECT * FROM crystals.link_database_structure t3 WHERE t.remark = t3.refcode AND t3.csd_id = 1)) r;
    IF n < 10 THEN RAISE EXCEPTION 'combined search: only % structures in all four collections', n; END IF;
    SELECT count(*) INTO n FROM (
        SELECT DISTINCT t1.refcode FROM topology.limon t, topology.limon_loc t1
         WHERE t1.limonid = t.id AND t.name = '4,4''-bipyridine'
        INTERSECT
        SELECT DISTINCT t1.refcode FROM topology.ttd t, topology.tto t1 WHERE t1.ttdid = t.id AND t.name = 'sql') r;
    IF n < 1 THEN RAISE EXCEPTION 'combined search: no 4,4''-bipyridine structure with an sql net'; END IF;
    -- a ligand, a net and an element: a handful of structures, as a chemist's first try finds
    SELECT count(*) INTO n FROM (
        SELECT DISTINCT t1.refcode FROM topology.limon t, topology.limon_loc t1
         WHERE t1.limonid = t.id AND t.name = '4,4''-bipyridine'
        INTERSECT
        SELECT DISTINCT t1.refcode FROM topology.ttd t, topology.tto t1 WHERE t1.ttdid = t.id AND t.name = 'sql'
        INTERSECT
        SELECT DISTINCT t.refcode FROM atoms.cp_vdp t WHERE TRUE AND t.at_num IN (29, 30)) r;
    IF n < 5 OR n > 40 THEN
        RAISE EXCEPTION 'combined search: % copper or zinc 4,4''-bipyridine structures with an sql net, not a handful', n;
    END IF;
END $$;

\echo 'demo data invariants hold'
