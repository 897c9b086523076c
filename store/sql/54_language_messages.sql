-- One language everywhere: the command-line tool's result labels and option errors, what is
-- wrong in a JSON profile, the parts of the port settings, the advice for a serial port that no
-- group may use, and the licence line of the About box. %1, %2 ... are filled in by the program.

-- The command line.
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliOptionUnbekannt', 'unbekannte Option %1', 'unknown option %1', 'opzione sconosciuta %1', 'option inconnue %1');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliEingänge', 'Eingänge 1-8', 'Inputs 1-8', 'Ingressi 1-8', 'Entrées 1-8');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliRelais', 'Relais 1-8', 'Relays 1-8', 'Relè 1-8', 'Relais 1-8');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliHardwareVersion', 'Hardwareversion', 'Hardware version', 'Versione hardware', 'Version du matériel');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliFirmwareVersion', 'Firmwareversion', 'Firmware version', 'Versione firmware', 'Version du micrologiciel');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliPin', 'PIN', 'PIN', 'PIN', 'Code PIN');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliPin2', 'Zweite PIN', 'Second PIN', 'Secondo PIN', 'Second code PIN');

-- A JSON profile: "FIELD: what is wrong".
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsJsonFehlt', 'fehlt', 'missing', 'manca', 'manquant');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsJsonUnbekanntesFeld', 'unbekanntes Feld', 'unknown field', 'campo sconosciuto', 'champ inconnu');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsJsonWahrheitswert', 'muss true oder false sein', 'must be true or false', 'deve essere true o false', 'doit être true ou false');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsJsonGanzeZahl', 'muss eine ganze Zahl sein', 'must be a whole number', 'deve essere un numero intero', 'doit être un nombre entier');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsJsonAusserhalb', '%1 liegt ausserhalb von %2..%3', '%1 is outside %2..%3', '%1 è fuori da %2..%3', '%1 est hors de %2..%3');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsJsonTextOderNull', 'muss ein Text oder null sein', 'must be a string or null', 'deve essere un testo o null', 'doit être un texte ou null');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsJsonText', 'muss ein Text sein', 'must be a string', 'deve essere un testo', 'doit être un texte');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsJsonZeichen', 'enthält ein Zeichen, das das Gerät nicht speichern kann (nur Windows-1252)', 'holds a character the unit cannot store (Windows-1252 only)', 'contiene un carattere che il dispositivo non può memorizzare (solo Windows-1252)', 'contient un caractère que l''appareil ne peut pas enregistrer (Windows-1252 seulement)');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsJsonZuLang', 'hat %1 Zeichen, höchstens %2 haben Platz', 'has %1 characters, at most %2 fit', 'ha %1 caratteri, al massimo %2 entrano', 'a %1 caractères, au plus %2 tiennent');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsJsonBenutzerliste', 'muss eine Liste von Benutzernummern sein', 'must be a list of user numbers', 'deve essere un elenco di numeri di utente', 'doit être une liste de numéros d''utilisateur');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsJsonListe', 'muss eine Liste von %1 Einträgen sein', 'must be a list of %1 entries', 'deve essere un elenco di %1 voci', 'doit être une liste de %1 entrées');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsJsonEinträge', 'hat %1 Einträge statt %2', 'has %1 entries instead of %2', 'ha %1 voci invece di %2', 'a %1 entrées au lieu de %2');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsJsonObjekt', 'muss ein Objekt sein', 'must be an object', 'deve essere un oggetto', 'doit être un objet');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsJsonKeinJson', 'kein JSON: Fehler bei Byte %1', 'not JSON: error at byte %1', 'non è JSON: errore al byte %1', 'pas du JSON : erreur à l''octet %1');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsJsonKeinProfil', 'kein Profil: das Dokument ist kein JSON-Objekt', 'not a profile: the document is not a JSON object', 'non è un profilo: il documento non è un oggetto JSON', 'pas un profil : le document n''est pas un objet JSON');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsJsonMussSein', 'muss %1 sein', 'must be %1', 'deve essere %1', 'doit être %1');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsJsonPasswort', 'muss leer sein oder genau 4 Zeichen haben', 'must be empty or exactly 4 characters', 'deve essere vuota o di esattamente 4 caratteri', 'doit être vide ou compter exactement 4 caractères');

-- The parts of the port settings "9600,N,8,1" one of which is wrong.
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgPortTeilBaudrate', 'Baudrate', 'baud rate', 'velocità in baud', 'débit en bauds');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgPortTeilParität', 'Parität', 'parity', 'parità', 'parité');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgPortTeilDatenbits', 'Datenbits', 'data bits', 'bit di dati', 'bits de données');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgPortTeilStoppbits', 'Stoppbits', 'stop bits', 'bit di stop', 'bits d''arrêt');

-- A serial port no group may read and write: %1 the device, %2 who may (its owner, or root).
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgPortNurBesitzer',
 'Keine Berechtigung für die Schnittstelle %1: Nur "%2" darf sie lesen und beschreiben, keine Gruppe. Ein Administrator muss sie einer Gruppe wie dialout geben (siehe "Connecting a unit" in /usr/share/doc/smsv48/README.md).',
 'No permission to use the port %1: only "%2" may read and write it, no group may. An administrator has to give it to a group such as dialout (see "Connecting a unit" in /usr/share/doc/smsv48/README.md).',
 'Nessuna autorizzazione per la porta %1: solo "%2" può leggerla e scriverla, nessun gruppo. Un amministratore deve assegnarla a un gruppo come dialout (vedere "Connecting a unit" in /usr/share/doc/smsv48/README.md).',
 'Pas d''autorisation pour le port %1 : seul « %2 » peut le lire et l''écrire, aucun groupe. Un administrateur doit le confier à un groupe comme dialout (voir « Connecting a unit » dans /usr/share/doc/smsv48/README.md).');

-- The About box names the licence.
UPDATE "Beschriftung" SET
 "Deutsch" = 'Es darf gemäss der GNU General Public License, Version 3 oder später, weitergegeben und verändert werden.',
 "Englisch" = 'You may pass it on and change it under the GNU General Public License, version 3 or later.',
 "Italienisch" = 'Può essere distribuito e modificato secondo la GNU General Public License, versione 3 o successiva.',
 "Französisch" = 'Vous pouvez le redistribuer et le modifier selon la GNU General Public License, version 3 ou ultérieure.'
 WHERE "Name" = 'lblLizenz(1)';
