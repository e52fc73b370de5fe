-- The shared mirror as administrators set it up before each owner had change
-- numbers of their own (one sequence for all), kept to test the upgrade. It
-- ran on a database that quillery_owner owns.
GRANT quillery_users TO alice, bob;
CREATE SCHEMA "iCloud.app.quillery.Quillery" AUTHORIZATION quillery_owner;
BEGIN;
SET LOCAL ROLE quillery_owner;
CREATE SCHEMA IF NOT EXISTS "iCloud.app.quillery.Quillery";
SET LOCAL search_path TO "iCloud.app.quillery.Quillery";
CREATE TABLE IF NOT EXISTS mirror (
    id      uuid PRIMARY KEY DEFAULT gen_random_uuid(),
    created timestamptz NOT NULL DEFAULT now()
);
INSERT INTO mirror (id) SELECT gen_random_uuid() WHERE NOT EXISTS (SELECT FROM mirror);
CREATE SEQUENCE IF NOT EXISTS change;
CREATE TABLE IF NOT EXISTS page (
    owner       name NOT NULL DEFAULT current_user,
    id          uuid NOT NULL,
    change      bigint NOT NULL DEFAULT nextval('change'),
    modified    timestamptz NOT NULL,
    device      uuid NOT NULL,
    deleted     boolean NOT NULL DEFAULT false,
    position    double precision NOT NULL DEFAULT 0,
    title       text NOT NULL DEFAULT '',
    color_index integer NOT NULL DEFAULT 0,
    created     timestamptz,
    PRIMARY KEY (owner, id)
);
CREATE TABLE IF NOT EXISTS task (
    owner         name NOT NULL DEFAULT current_user,
    id            uuid NOT NULL,
    change        bigint NOT NULL DEFAULT nextval('change'),
    modified      timestamptz NOT NULL,
    device        uuid NOT NULL,
    deleted       boolean NOT NULL DEFAULT false,
    text          text NOT NULL DEFAULT '',
    done          boolean NOT NULL DEFAULT false,
    sort_order    double precision NOT NULL DEFAULT 0,
    created       timestamptz,
    due           timestamptz,
    alarm         timestamptz,
    notes         text NOT NULL DEFAULT '',
    place_name    text NOT NULL DEFAULT '',
    place_address text NOT NULL DEFAULT '',
    latitude      double precision,
    longitude     double precision,
    indent        integer NOT NULL DEFAULT 0,
    page_id       uuid,
    PRIMARY KEY (owner, id)
);
CREATE TABLE IF NOT EXISTS attachment (
    owner           name NOT NULL DEFAULT current_user,
    id              uuid NOT NULL,
    change          bigint NOT NULL DEFAULT nextval('change'),
    modified        timestamptz NOT NULL,
    device          uuid NOT NULL,
    deleted         boolean NOT NULL DEFAULT false,
    name            text NOT NULL DEFAULT '',
    type_identifier text NOT NULL DEFAULT '',
    created         timestamptz,
    data            bytea,
    task_id         uuid,
    PRIMARY KEY (owner, id)
);
CREATE INDEX IF NOT EXISTS page_change ON page (owner, change);
CREATE INDEX IF NOT EXISTS task_change ON task (owner, change);
CREATE INDEX IF NOT EXISTS attachment_change ON attachment (owner, change);
ALTER TABLE page ENABLE ROW LEVEL SECURITY;
ALTER TABLE page FORCE ROW LEVEL SECURITY;
ALTER TABLE task ENABLE ROW LEVEL SECURITY;
ALTER TABLE task FORCE ROW LEVEL SECURITY;
ALTER TABLE attachment ENABLE ROW LEVEL SECURITY;
ALTER TABLE attachment FORCE ROW LEVEL SECURITY;
DO $$
DECLARE
    t text;
BEGIN
    FOREACH t IN ARRAY ARRAY['page', 'task', 'attachment'] LOOP
        IF NOT EXISTS (SELECT FROM pg_policies
                       WHERE schemaname = current_schema() AND tablename = t AND policyname = 'own_rows') THEN
            EXECUTE format('CREATE POLICY own_rows ON %I USING (owner = current_user) '
                           'WITH CHECK (owner = current_user)', t);
        END IF;
    END LOOP;
END
$$;
GRANT USAGE ON SCHEMA "iCloud.app.quillery.Quillery" TO quillery_users;
GRANT SELECT ON mirror TO quillery_users;
GRANT SELECT, INSERT, UPDATE ON page, task, attachment TO quillery_users;
GRANT USAGE ON SEQUENCE change TO quillery_users;
COMMIT;
