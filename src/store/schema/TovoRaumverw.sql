-- Schema of the reservation database TovoRaumverw.mdb (SQLite).
-- Dates are REAL day numbers since 30.12.1899 (fraction = time of day); 2958465 = 31.12.9999.
-- Yes/No columns hold -1 for yes and 0 for no. Money columns hold REAL with four decimals.
-- The indexes are CRvDb's: it creates them when it opens the file. The same tables on a
-- PostgreSQL server: TovoRaumverw.postgresql.sql.
PRAGMA user_version = 1;
BEGIN;

CREATE TABLE T_fm_belegung (
    Rec_ID INTEGER PRIMARY KEY AUTOINCREMENT,
    lAuftrNr INTEGER NOT NULL DEFAULT 0,
    rb_id INTEGER NOT NULL DEFAULT 0,
    dt_von REAL NOT NULL DEFAULT 0,
    tm_von REAL NOT NULL DEFAULT 0,
    dt_bis REAL NOT NULL DEFAULT 0,
    tm_bis REAL NOT NULL DEFAULT 0,
    Best TEXT NOT NULL DEFAULT '',
    Tel TEXT NOT NULL DEFAULT '',
    Fax TEXT NOT NULL DEFAULT '',
    Inst TEXT NOT NULL DEFAULT '',
    KST TEXT NOT NULL DEFAULT '',
    Pers TEXT NOT NULL DEFAULT '',
    Verst TEXT NOT NULL DEFAULT '',
    Bem TEXT NOT NULL DEFAULT '',
    Miete REAL NOT NULL DEFAULT 0,
    Umbau REAL NOT NULL DEFAULT 0,
    Pausch REAL NOT NULL DEFAULT 0,
    Technik REAL NOT NULL DEFAULT 0,
    Sicherheit REAL NOT NULL DEFAULT 0,
    Tageskraft REAL NOT NULL DEFAULT 0,
    Sonst REAL NOT NULL DEFAULT 0,
    Aust INTEGER NOT NULL DEFAULT 0,
    Austbem TEXT NOT NULL DEFAULT '',
    UmbBereit TEXT NOT NULL DEFAULT '',
    UmbAufwand REAL NOT NULL DEFAULT 0,
    UmbBem TEXT NOT NULL DEFAULT '',
    Udt_von REAL,
    Utm_von REAL,
    Udt_bis REAL,
    Utm_bis REAL,
    Rdt_von REAL,
    Rtm_von REAL,
    Rdt_bis REAL,
    Rtm_bis REAL,
    bEMail INTEGER NOT NULL DEFAULT 0,
    stSerieBem TEXT,
    lFirma1 INTEGER,
    lPerson1 INTEGER,
    lFirma2 INTEGER,
    lPerson2 INTEGER,
    stFirma2 TEXT,
    stPerson2 TEXT,
    STEMAIL TEXT,
    STSTUHLANORDNUNG TEXT,
    IPTISCHE INTEGER,
    datBestellung REAL,
    datKorrektur REAL,
    datErstBestellung REAL,
    bArchiviert INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE T_rb_Anzeige (
    az_ID INTEGER PRIMARY KEY AUTOINCREMENT,
    RaumNr TEXT NOT NULL DEFAULT '',
    Kurzbez TEXT NOT NULL DEFAULT '',
    RArt TEXT NOT NULL DEFAULT '',
    lRaumartId INTEGER NOT NULL DEFAULT 0,
    lGebraumId INTEGER NOT NULL DEFAULT 0,
    STSTUHLANORDNUNG TEXT,
    IANZAHLPERS INTEGER,
    stAusstattung TEXT,
    IPTISCHE INTEGER,
    IPTISCHEFEST INTEGER
);

CREATE TABLE T_Raumart (
    lId INTEGER PRIMARY KEY AUTOINCREMENT,
    stRaumArt TEXT NOT NULL DEFAULT ''
);

CREATE TABLE T_Mitarbeiter (
    lId INTEGER PRIMARY KEY AUTOINCREMENT,
    stPersNr TEXT NOT NULL DEFAULT '',
    stAnrede TEXT NOT NULL DEFAULT '',
    stVorname TEXT NOT NULL DEFAULT '',
    stName TEXT NOT NULL DEFAULT '',
    stAbteilung TEXT NOT NULL DEFAULT '',
    stFunktion TEXT NOT NULL DEFAULT '',
    stTelefon TEXT NOT NULL DEFAULT '',
    stTelefax TEXT NOT NULL DEFAULT '',
    STEMAIL TEXT NOT NULL DEFAULT '',
    STFIRMA TEXT NOT NULL DEFAULT '',
    stRaumNr TEXT NOT NULL DEFAULT '',
    STKOSTENSTELLE TEXT NOT NULL DEFAULT '',
    STBEMERKUNG TEXT NOT NULL DEFAULT '',
    lAnsprechId INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE T_NextNr (
    lNextNr INTEGER NOT NULL DEFAULT 1
);
INSERT INTO T_NextNr (lNextNr) VALUES (1);

-- The change journal: the bookings ('B'), rooms ('R') and room types ('A') written since the
-- portal last learnt of them. lNr grows with every entry; a key written again gets a new number.
CREATE TABLE T_Aenderung (
    lNr INTEGER PRIMARY KEY AUTOINCREMENT,
    stArt TEXT NOT NULL,
    lId INTEGER NOT NULL
);
CREATE UNIQUE INDEX IX_aenderung_art_id ON T_Aenderung (stArt, lId);

-- The portal the last full copy went to ("server:port/database").
CREATE TABLE T_NetzpultStand (
    stZiel TEXT NOT NULL DEFAULT ''
);

-- Scratch table of the reports: holds the rows of one report at a time. Times are texts
-- ("08:30"); set-up and clear-down dates may be empty texts in one-booking documents.
CREATE TABLE t_tmp_Druck (
    lAuftrNr INTEGER,
    Kurzbez TEXT,
    dt_von REAL,
    tm_von TEXT,
    dt_bis REAL,
    tm_bis TEXT,
    Best TEXT,
    Tel TEXT,
    Fax TEXT,
    Inst TEXT,
    Kst TEXT,
    Pers TEXT,
    Verst TEXT,
    Bem TEXT,
    Miete REAL,
    Umbau REAL,
    UmbBem TEXT,
    Pausch REAL,
    Technik REAL,
    Tageskraft REAL,
    Sicherheit REAL,
    Sonst REAL,
    Udt_von REAL,
    Utm_von TEXT,
    Udt_bis REAL,
    Utm_bis TEXT,
    Rdt_von REAL,
    Rtm_von TEXT,
    Rdt_bis REAL,
    Rtm_bis TEXT,
    UmbBereit TEXT,
    UmbAufwand REAL,
    AustBem TEXT,
    Aust TEXT,
    stSerieBem TEXT,
    stStrasse TEXT,
    stPlzOrt TEXT,
    rb INTEGER,
    Info TEXT,
    STSTUHLANORDNUNG TEXT,
    IPTISCHE INTEGER
);

COMMIT;
