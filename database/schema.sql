-- Ormaline crystallochemical database: schemas, tables, keys and indexes.
--
-- Load into an empty database as its owner:
--     psql -v ON_ERROR_STOP=1 -d ormaline -f database/schema.sql
-- Every statement is guarded with IF NOT EXISTS, so running the file twice is harmless.
--
-- Conventions:
--   * identifiers of libraries, ligands, atoms, topologies and structures are uuid;
--   * codes the client compares with a typed number written without quotes
--     (ttlcode, countat, ttdcode, numnodes, z, dimen, reprtypecode, at_num, cn, ox_st,
--     poly_id, csd_id) are integers; so are the lookup keys that the client writes
--     into statements unquoted (ref_elements.id = atomic number, ref_polyhedra.id,
--     ref_structure_databases.id);
--   * measures (cell edges in angstrom, angles in degrees, fractional coordinates,
--     volumes in cubic angstrom, areas in square angstrom) are double precision;
--   * the reference code (refcode; crystals.crystal_structures.remark) joins the
--     collections and is text. Every occurrence row names a structure that exists.
--   * text columns searched with "=" and "like 'prefix%'" carry a text_pattern_ops
--     index, which serves both whatever the database collation is.

SET client_min_messages = warning;

CREATE SCHEMA IF NOT EXISTS topology;
CREATE SCHEMA IF NOT EXISTS atoms;
CREATE SCHEMA IF NOT EXISTS crystals;

-- ---------------------------------------------------------------------------
-- crystals: the structures themselves, their sources and literature
-- ---------------------------------------------------------------------------

CREATE TABLE IF NOT EXISTS crystals.crystal_structures (
    id                   uuid PRIMARY KEY,
    remark               text NOT NULL,          -- reference code of the structure
    cf_structural        text NOT NULL,          -- structural (moiety) formula
    cf_sum               text NOT NULL,          -- total formula, Hill order
    chem_name_systematic text NOT NULL,
    CONSTRAINT crystal_structures_remark_key UNIQUE (remark)
);
CREATE INDEX IF NOT EXISTS crystal_structures_remark_pattern
    ON crystals.crystal_structures (remark text_pattern_ops);
CREATE INDEX IF NOT EXISTS crystal_structures_cf_structural_pattern
    ON crystals.crystal_structures (cf_structural text_pattern_ops);
CREATE INDEX IF NOT EXISTS crystal_structures_cf_sum_pattern
    ON crystals.crystal_structures (cf_sum text_pattern_ops);
CREATE INDEX IF NOT EXISTS crystal_structures_chem_name_pattern
    ON crystals.crystal_structures (chem_name_systematic text_pattern_ops);

CREATE TABLE IF NOT EXISTS crystals.ref_structure_databases (
    id   integer PRIMARY KEY,
    name text NOT NULL,
    CONSTRAINT ref_structure_databases_name_key UNIQUE (name)
);

CREATE TABLE IF NOT EXISTS crystals.link_database_structure (
    refcode text    NOT NULL REFERENCES crystals.crystal_structures (remark),
    csd_id  integer NOT NULL REFERENCES crystals.ref_structure_databases (id),
    PRIMARY KEY (refcode, csd_id)
);
CREATE INDEX IF NOT EXISTS link_database_structure_csd_id
    ON crystals.link_database_structure (csd_id, refcode);

CREATE TABLE IF NOT EXISTS crystals.crystal_structures_err (
    refcode text PRIMARY KEY REFERENCES crystals.crystal_structures (remark),
    problem text NOT NULL                        -- why the structure is not reliable
);

CREATE TABLE IF NOT EXISTS crystals.link_doi_structure (
    refcode text NOT NULL REFERENCES crystals.crystal_structures (remark),
    doi     text NOT NULL,                       -- the DOI, or the text None when unknown
    PRIMARY KEY (refcode, doi)
);

-- ---------------------------------------------------------------------------
-- topology: ligands, molecules and nets (libraries), their atoms, bonds and
-- occurrences; underlying net topologies and their occurrences
-- ---------------------------------------------------------------------------

CREATE TABLE IF NOT EXISTS topology.limon_library (
    id   uuid PRIMARY KEY,
    name text NOT NULL,
    CONSTRAINT limon_library_name_key UNIQUE (name)
);

CREATE TABLE IF NOT EXISTS topology.limon (
    id         uuid PRIMARY KEY,
    libraryid  uuid    NOT NULL REFERENCES topology.limon_library (id),
    name       text    NOT NULL,
    ttlcode    integer NOT NULL,                 -- code of the ligand's topological type
    countat    integer NOT NULL,                 -- number of atoms, hydrogens included
    lengtha    double precision NOT NULL,        -- cell around the ligand, angstrom
    lengthb    double precision NOT NULL,
    lengthc    double precision NOT NULL,
    angelalpha double precision NOT NULL,        -- degrees
    angelbeta  double precision NOT NULL,
    angelgamma double precision NOT NULL
);
CREATE INDEX IF NOT EXISTS limon_library_ttlcode ON topology.limon (libraryid, ttlcode);
CREATE INDEX IF NOT EXISTS limon_library_name ON topology.limon (libraryid, name text_pattern_ops);
CREATE INDEX IF NOT EXISTS limon_library_countat ON topology.limon (libraryid, countat);

CREATE TABLE IF NOT EXISTS topology.limon_cd (
    id      uuid PRIMARY KEY,
    limonid uuid    NOT NULL REFERENCES topology.limon (id),
    specat  integer NOT NULL,                    -- element: atomic number
    numat   integer NOT NULL,                    -- atom number within the ligand, from 1
    cn      integer NOT NULL,                    -- coordination number of the atom
    fractx  double precision NOT NULL,           -- fractional coordinates in the ligand's cell
    fracty  double precision NOT NULL,
    fractz  double precision NOT NULL,
    CONSTRAINT limon_cd_limonid_numat_key UNIQUE (limonid, numat)
);

CREATE TABLE IF NOT EXISTS topology.limon_adm_dn (
    limonid uuid    NOT NULL,
    at_num  integer NOT NULL,                    -- = limon_cd.numat of the atom
    adm_str text    NOT NULL,                    -- neighbour numbers separated by single blanks
    PRIMARY KEY (limonid, at_num),
    FOREIGN KEY (limonid, at_num) REFERENCES topology.limon_cd (limonid, numat)
);

CREATE TABLE IF NOT EXISTS topology.limon_loc (
    id        uuid PRIMARY KEY,
    limonid   uuid    NOT NULL REFERENCES topology.limon (id),
    refcode   text    NOT NULL REFERENCES crystals.crystal_structures (remark),
    coordtype text    NOT NULL,                  -- coordination type, e.g. M1, B2, B01, K4
    ligtype   integer NOT NULL,                  -- ligand type (the ttlcode of the ligand)
    ligvol    double precision NOT NULL,         -- volume of the ligand's Voronoi region, A^3
    ligarea   double precision NOT NULL          -- its surface area, A^2
);
CREATE INDEX IF NOT EXISTS limon_loc_limonid ON topology.limon_loc (limonid, refcode);
CREATE INDEX IF NOT EXISTS limon_loc_refcode ON topology.limon_loc (refcode, ligtype);
CREATE INDEX IF NOT EXISTS limon_loc_coordtype ON topology.limon_loc (coordtype, limonid);

CREATE TABLE IF NOT EXISTS topology.ttdlibrary (
    id   uuid PRIMARY KEY,
    name text NOT NULL,
    CONSTRAINT ttdlibrary_name_key UNIQUE (name)
);

CREATE TABLE IF NOT EXISTS topology.ttd (
    id           uuid PRIMARY KEY,
    ttdlibraryid uuid    NOT NULL REFERENCES topology.ttdlibrary (id),
    name         text    NOT NULL,               -- net symbol, e.g. dia, pcu, sql
    ttdcode      integer NOT NULL,
    numnodes     integer NOT NULL,               -- number of topologically distinct nodes
    ts           text    NOT NULL                -- point symbol, e.g. {6^6}
);
CREATE INDEX IF NOT EXISTS ttd_library ON topology.ttd (ttdlibraryid);
CREATE INDEX IF NOT EXISTS ttd_ttdcode ON topology.ttd (ttdcode);
CREATE INDEX IF NOT EXISTS ttd_name_pattern ON topology.ttd (name text_pattern_ops);
CREATE INDEX IF NOT EXISTS ttd_ts_pattern ON topology.ttd (ts text_pattern_ops);
CREATE INDEX IF NOT EXISTS ttd_numnodes ON topology.ttd (numnodes);

CREATE TABLE IF NOT EXISTS topology.ref_representation_type (
    rep_code integer PRIMARY KEY,                -- 0, 1, 2 ... in list order
    rep_name text NOT NULL
);

CREATE TABLE IF NOT EXISTS topology.tto (
    id           uuid PRIMARY KEY,
    ttdid        uuid    NOT NULL REFERENCES topology.ttd (id),
    refcode      text    NOT NULL REFERENCES crystals.crystal_structures (remark),
    ttdcode      integer NOT NULL,               -- = ttd.ttdcode of ttdid
    z            integer NOT NULL,               -- degree of interpenetration
    dimen        integer NOT NULL CHECK (dimen BETWEEN 0 AND 3),
    fwc          text    NOT NULL,               -- framework composition
    msrc         integer NOT NULL DEFAULT 0,     -- sub-net number in a multi-net structure, 0 = single
    reprtypecode integer NOT NULL REFERENCES topology.ref_representation_type (rep_code)
);
CREATE INDEX IF NOT EXISTS tto_ttdid ON topology.tto (ttdid, refcode);
CREATE INDEX IF NOT EXISTS tto_refcode ON topology.tto (refcode, reprtypecode);
CREATE INDEX IF NOT EXISTS tto_dimen_z ON topology.tto (dimen, z);
CREATE INDEX IF NOT EXISTS tto_reprtypecode ON topology.tto (reprtypecode);

-- ---------------------------------------------------------------------------
-- atoms: every atom of every structure with its Voronoi-Dirichlet polyhedron
-- ---------------------------------------------------------------------------

CREATE TABLE IF NOT EXISTS atoms.ref_elements (
    id      integer PRIMARY KEY,                 -- atomic number
    element text NOT NULL                        -- symbol
);

CREATE TABLE IF NOT EXISTS atoms.ref_polyhedra (
    id   integer PRIMARY KEY,
    name text NOT NULL,
    CONSTRAINT ref_polyhedra_name_key UNIQUE (name)
);

CREATE TABLE IF NOT EXISTS atoms.cp_vdp (
    id       uuid PRIMARY KEY,
    refcode  text    NOT NULL REFERENCES crystals.crystal_structures (remark),
    atom     text    NOT NULL,                   -- atom label, e.g. Cu1, O12
    at_num   integer NOT NULL REFERENCES atoms.ref_elements (id),
    ox_st    integer NOT NULL,                   -- oxidation state
    cn       integer NOT NULL,                   -- coordination number
    rsd      double precision NOT NULL,          -- radius of the sphere of the VDP's volume, A
    v_vdp    double precision NOT NULL,          -- VDP volume, A^3
    s_vdp    double precision NOT NULL,          -- VDP area, A^2
    g3_vdp   double precision NOT NULL,          -- dimensionless second moment of inertia
    var_me   double precision NOT NULL,          -- displacement of the atom from the VDP centroid, A
    poly_id  integer REFERENCES atoms.ref_polyhedra (id),  -- coordination figure; null when none
    cp_class text    NOT NULL,                   -- coordination polyhedron composition
    cp_full  text    NOT NULL                    -- composition of all VDP neighbours
);
CREATE INDEX IF NOT EXISTS cp_vdp_refcode_atom ON atoms.cp_vdp (refcode, atom);
CREATE INDEX IF NOT EXISTS cp_vdp_at_num ON atoms.cp_vdp (at_num, cn, ox_st);
CREATE INDEX IF NOT EXISTS cp_vdp_refcode_at_num ON atoms.cp_vdp (refcode, at_num);
CREATE INDEX IF NOT EXISTS cp_vdp_poly_id ON atoms.cp_vdp (poly_id);
CREATE INDEX IF NOT EXISTS cp_vdp_rsd ON atoms.cp_vdp (rsd);
CREATE INDEX IF NOT EXISTS cp_vdp_cp_class_pattern ON atoms.cp_vdp (cp_class text_pattern_ops);
CREATE INDEX IF NOT EXISTS cp_vdp_cp_full_pattern ON atoms.cp_vdp (cp_full text_pattern_ops);

-- ---------------------------------------------------------------------------
-- Planner statistics. The search conditions combine correlated columns (an element,
-- its coordination number and figure; a library and a name) and rare values (a metal
-- among millions of C, H and O atoms). With the default statistics the planner expects
-- one row, and then repeats the "diversity" sub-aggregates once per outer row; finer
-- statistics keep its estimates near the truth so that it hashes them instead.
-- ---------------------------------------------------------------------------

ALTER TABLE atoms.cp_vdp
    ALTER COLUMN at_num SET STATISTICS 1000,
    ALTER COLUMN cn SET STATISTICS 1000,
    ALTER COLUMN ox_st SET STATISTICS 1000,
    ALTER COLUMN poly_id SET STATISTICS 1000,
    ALTER COLUMN cp_class SET STATISTICS 1000,
    ALTER COLUMN cp_full SET STATISTICS 1000;
CREATE STATISTICS IF NOT EXISTS atoms.cp_vdp_coordination (dependencies, mcv)
    ON at_num, cn, poly_id, ox_st FROM atoms.cp_vdp;
ALTER STATISTICS atoms.cp_vdp_coordination SET STATISTICS 1000;

ALTER TABLE topology.limon
    ALTER COLUMN name SET STATISTICS 1000,
    ALTER COLUMN countat SET STATISTICS 1000;
ALTER TABLE topology.limon_loc
    ALTER COLUMN coordtype SET STATISTICS 1000,
    ALTER COLUMN ligtype SET STATISTICS 1000;
ALTER TABLE topology.tto
    ALTER COLUMN dimen SET STATISTICS 1000,
    ALTER COLUMN z SET STATISTICS 1000,
    ALTER COLUMN reprtypecode SET STATISTICS 1000;
CREATE STATISTICS IF NOT EXISTS topology.tto_kind (dependencies, mcv)
    ON dimen, z, reprtypecode FROM topology.tto;
