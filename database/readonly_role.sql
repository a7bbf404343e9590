-- The role Ormaline connects as: it may log in and read the three schemas, nothing else.
-- Run as the database owner after schema.sql; running it again changes nothing.
--     psql -v ON_ERROR_STOP=1 -d ormaline -f database/readonly_role.sql

SET client_min_messages = warning;

DO $$
BEGIN
    IF NOT EXISTS (SELECT FROM pg_catalog.pg_roles WHERE rolname = 'ormaline_reader') THEN
        CREATE ROLE ormaline_reader LOGIN PASSWORD 'ormaline_reader';
    END IF;
END
$$;

ALTER ROLE ormaline_reader WITH LOGIN PASSWORD 'ormaline_reader'
    NOSUPERUSER NOCREATEDB NOCREATEROLE NOREPLICATION NOBYPASSRLS INHERIT;
ALTER ROLE ormaline_reader SET default_transaction_read_only = on;

DO $$
BEGIN
    EXECUTE format('GRANT CONNECT ON DATABASE %I TO ormaline_reader', current_database());
    EXECUTE format('REVOKE CREATE, TEMPORARY ON DATABASE %I FROM ormaline_reader', current_database());
END
$$;

REVOKE CREATE ON SCHEMA public FROM ormaline_reader;

GRANT USAGE ON SCHEMA topology, atoms, crystals TO ormaline_reader;
REVOKE ALL ON ALL TABLES IN SCHEMA topology, atoms, crystals FROM ormaline_reader;
GRANT SELECT ON ALL TABLES IN SCHEMA topology, atoms, crystals TO ormaline_reader;

-- tables added later by the owner are readable too
ALTER DEFAULT PRIVILEGES IN SCHEMA topology, atoms, crystals GRANT SELECT ON TABLES TO ormaline_reader;
