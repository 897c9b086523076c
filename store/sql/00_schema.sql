-- Configuration store: schema.
-- Column order is part of the format: several columns are addressed by position.
-- Table order of rows is the rowid order; the loaders and the image build step through it.

CREATE TABLE "Konfiguration_Eingänge" (
  "ID" INTEGER NOT NULL UNIQUE,
  "I/O" TEXT,
  "Benutzer1" INTEGER NOT NULL DEFAULT 0, "Benutzer2" INTEGER NOT NULL DEFAULT 0,
  "Benutzer3" INTEGER NOT NULL DEFAULT 0, "Benutzer4" INTEGER NOT NULL DEFAULT 0,
  "Benutzer5" INTEGER NOT NULL DEFAULT 0, "Benutzer6" INTEGER NOT NULL DEFAULT 0,
  "Benutzer7" INTEGER NOT NULL DEFAULT 0, "Benutzer8" INTEGER NOT NULL DEFAULT 0,
  "SMSID" INTEGER NOT NULL
);

CREATE TABLE "Konfiguration_Ausgänge" (
  "ID" INTEGER NOT NULL UNIQUE,
  "I/O" TEXT,
  "Benutzer1" INTEGER NOT NULL DEFAULT 0, "Benutzer2" INTEGER NOT NULL DEFAULT 0,
  "Benutzer3" INTEGER NOT NULL DEFAULT 0, "Benutzer4" INTEGER NOT NULL DEFAULT 0,
  "Benutzer5" INTEGER NOT NULL DEFAULT 0, "Benutzer6" INTEGER NOT NULL DEFAULT 0,
  "Benutzer7" INTEGER NOT NULL DEFAULT 0, "Benutzer8" INTEGER NOT NULL DEFAULT 0,
  "DefaultState" INTEGER NOT NULL DEFAULT 0,
  "SMSID" INTEGER NOT NULL
);

CREATE TABLE "Alarm_Dispositiv" (
  "ID" INTEGER NOT NULL UNIQUE,
  "IN_SF" INTEGER NOT NULL DEFAULT 0,
  "IN_FF" INTEGER NOT NULL DEFAULT 0,
  "Benutzer1" INTEGER NOT NULL DEFAULT 0, "Benutzer2" INTEGER NOT NULL DEFAULT 0,
  "Benutzer3" INTEGER NOT NULL DEFAULT 0, "Benutzer4" INTEGER NOT NULL DEFAULT 0,
  "Benutzer5" INTEGER NOT NULL DEFAULT 0, "Benutzer6" INTEGER NOT NULL DEFAULT 0,
  "Benutzer7" INTEGER NOT NULL DEFAULT 0, "Benutzer8" INTEGER NOT NULL DEFAULT 0,
  "Verzögerungszeit" INTEGER NOT NULL DEFAULT 5,
  "SMS" INTEGER NOT NULL
);

CREATE TABLE "PowerOn" (
  "SMS" INTEGER NOT NULL,
  "Benutzer1" INTEGER NOT NULL DEFAULT 0, "Benutzer2" INTEGER NOT NULL DEFAULT 0,
  "Benutzer3" INTEGER NOT NULL DEFAULT 0, "Benutzer4" INTEGER NOT NULL DEFAULT 0,
  "Benutzer5" INTEGER NOT NULL DEFAULT 0, "Benutzer6" INTEGER NOT NULL DEFAULT 0,
  "Benutzer7" INTEGER NOT NULL DEFAULT 0, "Benutzer8" INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE "SMS" (
  "ID" INTEGER NOT NULL UNIQUE,
  "Ereignis" TEXT,
  "Deutsch" TEXT,
  "Englisch" TEXT,
  "Italienisch" TEXT,
  "Französisch" TEXT
);

CREATE TABLE "Adressen" (
  "ID" INTEGER NOT NULL UNIQUE,
  "Namen" TEXT,
  "Natel_Nummer" TEXT,
  "Passwort" TEXT,
  "Operator" INTEGER NOT NULL DEFAULT 0,
  "Status" INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE "Beschriftung" (
  "Name" TEXT NOT NULL, "Deutsch" TEXT, "Englisch" TEXT, "Italienisch" TEXT, "Französisch" TEXT
);
CREATE TABLE "ToolTipText" (
  "Name" TEXT NOT NULL, "Deutsch" TEXT, "Englisch" TEXT, "Italienisch" TEXT, "Französisch" TEXT
);
CREATE TABLE "SystemNachrichten" (
  "Name" TEXT NOT NULL, "Deutsch" TEXT, "Englisch" TEXT, "Italienisch" TEXT, "Französisch" TEXT
);

-- The schema version. Raise it with every change to the tables above and add the step that
-- brings a database of the version before to it (store/DatabaseUpgrade.cpp).
PRAGMA user_version = 1;
