-- Captions (table "Beschriftung") in German, English, Italian and French.
--
-- The row order is part of the format: the main window takes the first 38 rows in order
-- without looking at their keys, and every other window finds an anchor row by key and
-- then takes the rows that follow it. docs/LANGUAGE_KEYS.md lists every run. Rows are
-- inserted in the order below; never sort or reorder this file.
-- A "&" marks the access key; each menu and each dialog has unique access keys per language.
-- German follows Swiss spelling (ss, no sharp s), as the rest of the program does.
--
-- Glossary (one term for one thing, in every table):
--   Deutsch                   | English             | Italiano                  | Français
--   Gerät                     | unit                | dispositivo               | appareil
--   Eingang                   | input               | ingresso                  | entrée
--   Ausgang                   | output              | uscita                    | sortie
--   Relais                    | relay               | relè                      | relais
--   steigende Flanke          | rising edge         | fronte di salita          | front montant
--   fallende Flanke           | falling edge        | fronte di discesa         | front descendant
--   Einschalten / Ausschalten | switching on / off  | attivazione / disattivazione | activation / désactivation
--   Benutzer                  | user                | utente                    | utilisateur
--   Empfänger                 | recipient           | destinatario              | destinataire
--   Natel-Nummer              | mobile number       | numero di cellulare       | numéro de portable
--   Passwort                  | password            | password                  | mot de passe
--   Operator                  | operator            | operatore                 | opérateur
--   aktiv                     | active              | attivo                    | actif
--   Sequentielle Alarmierung  | sequential alarm    | allarme sequenziale       | alarme séquentielle
--   Verzögerungszeit          | delay               | ritardo                   | délai
--   Einschaltmeldung          | power-on message    | messaggio di accensione   | message de mise sous tension
--   SMS-Text                  | SMS text            | testo SMS                 | texte SMS
--   Grundzustand              | default state       | stato predefinito         | état par défaut
--   Konfiguration             | configuration       | configurazione            | configuration
--   Konfigurationsdatei       | configuration file  | file di configurazione    | fichier de configuration
--   Schnittstelle             | serial port         | porta seriale             | port série
--   lesen (aus dem Gerät)     | read (from the unit)| leggere (dal dispositivo) | lire (depuis l'appareil)
--   schreiben (ins Gerät)     | write (to the unit) | scrivere (nel dispositivo)| écrire (dans l'appareil)
--   Seriennummer              | serial number       | numero di serie           | numéro de série
--   PIN der SIM-Karte         | SIM card PIN        | PIN della SIM             | code PIN de la carte SIM
--   Gültigkeitserinnerung     | validity reminder   | promemoria di validità    | rappel de validité
--   Firmware                  | firmware            | firmware                  | firmware
--   Bericht                   | report              | rapporto                  | rapport


-- Main window, rows 1 to 38, taken in this order (keys are not read).

-- Rows 1-3: tabs 0, 1, 2 of SSTab1.
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('SSTab1(0)', 'Eingänge', 'Inputs', 'Ingressi', 'Entrées');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('SSTab1(1)', 'Ausgänge', 'Outputs', 'Uscite', 'Sorties');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('SSTab1(2)', 'System', 'System', 'Sistema', 'Système');

-- Rows 4-12: menus mnuDatei, mnuLaden, mnuSpeichernunter, mnuBeenden, mnuEinstellungen, mnuPort, mnuTelefonbuch, mnuHelp, mnuInfo.
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('mnuDatei', '&Datei', '&File', '&File', '&Fichier');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('mnuLaden', '&Öffnen', '&Open', '&Apri', '&Ouvrir');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('mnuSpeichernunter', 'Speichern &unter', 'Save &as', 'Salva &con nome', 'Enregistrer &sous');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('mnuBeenden', '&Beenden', 'E&xit', '&Esci', '&Quitter');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('mnuEinstellungen', '&Extras', '&Tools', '&Strumenti', '&Outils');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('mnuPort', 'Schnittste&lle', 'Serial &port', '&Porta seriale', '&Port série');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('mnuTelefonbuch', '&Benutzer', '&Users', '&Utenti', '&Utilisateurs');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('mnuHelp', '&Hilfe', '&Help', '&Guida', '&Aide');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('mnuInfo', '&Info', '&About', '&Informazioni', 'À &propos');

-- Rows 13-16: lblAusgang(k-1) and lblAusgang(k+3), also column I/O of output rows 2k-1 and 2k.
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblAusgang(0)', 'Ausgang 1', 'Output 1', 'Uscita 1', 'Sortie 1');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblAusgang(1)', 'Ausgang 2', 'Output 2', 'Uscita 2', 'Sortie 2');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblAusgang(2)', 'Ausgang 3', 'Output 3', 'Uscita 3', 'Sortie 3');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblAusgang(3)', 'Ausgang 4', 'Output 4', 'Uscita 4', 'Sortie 4');

-- Rows 17-24: lblEingang(k-1), also column I/O of input rows 2k-1 and 2k.
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblEingang(0)', 'Eingang 1', 'Input 1', 'Ingresso 1', 'Entrée 1');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblEingang(1)', 'Eingang 2', 'Input 2', 'Ingresso 2', 'Entrée 2');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblEingang(2)', 'Eingang 3', 'Input 3', 'Ingresso 3', 'Entrée 3');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblEingang(3)', 'Eingang 4', 'Input 4', 'Ingresso 4', 'Entrée 4');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblEingang(4)', 'Eingang 5', 'Input 5', 'Ingresso 5', 'Entrée 5');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblEingang(5)', 'Eingang 6', 'Input 6', 'Ingresso 6', 'Entrée 6');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblEingang(6)', 'Eingang 7', 'Input 7', 'Ingresso 7', 'Entrée 7');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblEingang(7)', 'Eingang 8', 'Input 8', 'Ingresso 8', 'Entrée 8');

-- Row 25: lblAlarmDispo.
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblAlarmDispo', 'Sequentielle Alarmierung', 'Sequential alarm', 'Allarme sequenziale', 'Alarme séquentielle');

-- Rows 26-33: lblEmpfänger(k-1), (k+7), (k+15).
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblEmpfänger(0)', 'Empfänger 1', 'Recipient 1', 'Destinatario 1', 'Destinataire 1');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblEmpfänger(1)', 'Empfänger 2', 'Recipient 2', 'Destinatario 2', 'Destinataire 2');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblEmpfänger(2)', 'Empfänger 3', 'Recipient 3', 'Destinatario 3', 'Destinataire 3');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblEmpfänger(3)', 'Empfänger 4', 'Recipient 4', 'Destinatario 4', 'Destinataire 4');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblEmpfänger(4)', 'Empfänger 5', 'Recipient 5', 'Destinatario 5', 'Destinataire 5');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblEmpfänger(5)', 'Empfänger 6', 'Recipient 6', 'Destinatario 6', 'Destinataire 6');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblEmpfänger(6)', 'Empfänger 7', 'Recipient 7', 'Destinatario 7', 'Destinataire 7');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblEmpfänger(7)', 'Empfänger 8', 'Recipient 8', 'Destinatario 8', 'Destinataire 8');

-- Row 34: all eight ChkOP(0..7). Row 35: lblAufstarten. Rows 36-38: mnuReports, mnuEingängeAnzeigen, mnuAusgängeAnzeigen.
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('ChkOP', 'Operator', 'Operator', 'Operatore', 'Opérateur');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblAufstarten', 'Einschaltmeldung', 'Power-on message', 'Messaggio di accensione', 'Message de mise sous tension');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('mnuReports', '&Konfiguration', '&Configuration', '&Configurazione', '&Configuration');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('mnuEingängeAnzeigen', '&Eingänge', '&Inputs', '&Ingressi', '&Entrées');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('mnuAusgängeAnzeigen', '&Ausgänge', '&Outputs', '&Uscite', '&Sorties');

-- Main window, anchored runs (anchor found by key, then the rows after it).
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('mnuListenAnzeigen', '&Anzeigen', '&View', '&Visualizza', '&Afficher');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('mnuListenDrucken', '&Drucken', '&Print', '&Stampa', '&Imprimer');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('mnuEingängeDrucken', 'E&ingänge', '&Inputs', '&Ingressi', '&Entrées');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('mnuAusgängeDrucken', 'A&usgänge', '&Outputs', '&Uscite', '&Sorties');

-- cmdSetOutput(0..3), then cmdResetOutput(0..3): switch a relay by hand.
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdSetOutput', 'Ein', 'On', 'On', 'Marche');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdResetOutput', 'Aus', 'Off', 'Off', 'Arrêt');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdSetzen', 'Schreiben', 'Write', 'Scrivi', 'Écrire');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdLesen', 'Lesen', 'Read', 'Leggi', 'Lire');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblSerienummer', 'Seriennummer', 'Serial number', 'Numero di serie', 'Numéro de série');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblPinSimCard', 'PIN der SIM-Karte', 'SIM card PIN', 'PIN della SIM', 'Code PIN de la carte SIM');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdPinLesen', 'Lesen', 'Read', 'Leggi', 'Lire');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdPinWechseln', 'Ändern', 'Change', 'Cambia', 'Modifier');

-- cmdDownload(0) (configuration), then cmdDownload(1) (firmware).
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdDownload', 'Ins Gerät schreiben', 'Write to unit', 'Scrivi nel dispositivo', 'Écrire dans l''appareil');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdDownload(1)', 'Firmware aktualisieren', 'Update firmware', 'Aggiorna firmware', 'Mettre à jour le firmware');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdUpload', 'Aus dem Gerät lesen', 'Read from unit', 'Leggi dal dispositivo', 'Lire depuis l''appareil');

-- The row lblKonfiguration is the caption of lblDownload (heading of the transfer group).
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblKonfiguration', 'Konfiguration übertragen', 'Configuration transfer', 'Trasferimento configurazione', 'Transfert de la configuration');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('mnuAdministrator', '&Administrator', '&Administrator', '&Amministratore', '&Administrateur');

-- OptPortAnzeige(0), (1), (2): what the eight LEDs show.
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('OptPortAnzeige', 'Relais', 'Relays', 'Relè', 'Relais');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('OptPortAnzeige(1)', 'Alarm', 'Alarm', 'Allarme', 'Alarme');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('OptPortAnzeige(2)', 'Demo', 'Demo', 'Demo', 'Démo');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdAktualisieren', 'Aktualisieren', 'Refresh', 'Aggiorna', 'Actualiser');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblGültigkeit', 'Gültigkeitserinnerung', 'Validity reminder', 'Promemoria di validità', 'Rappel de validité');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdGueltigkeitLesen', 'Lesen', 'Read', 'Leggi', 'Lire');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdGueltigkeitSetzen', 'Schreiben', 'Write', 'Scrivi', 'Écrire');

-- mnuSpeichern, then mnuAlarmDispositiv (view menu), then mnuAlarmDispoDrucken (print menu).
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('mnuSpeichern', '&Speichern', '&Save', '&Salva', '&Enregistrer');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('mnuAlarmDispositiv', '&Sequentielle Alarmierung', '&Sequential alarm', '&Allarme sequenziale', '&Alarme séquentielle');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('mnuAlarmDispoDrucken', '&Sequentielle Alarmierung', '&Sequential alarm', '&Allarme sequenziale', '&Alarme séquentielle');

-- mnuBenutzerAnzeigen (view menu), then mnuBenutzerDrucken (print menu).
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('mnuBenutzerAnzeigen', '&Benutzer', '&Users', 'U&tenti', '&Utilisateurs');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('mnuBenutzerDrucken', '&Benutzer', '&Users', 'U&tenti', '&Utilisateurs');

-- Splash window frmLoading: lblSoftware.
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblSoftware', 'Konfigurationsprogramm für das SMSV48', 'Configuration software for the SMSV48', 'Software di configurazione per SMSV48', 'Logiciel de configuration du SMSV48');

-- Phone book frmTelefonbuch: run of 8 from lblName: lblName, lblNatelNr, lblPasswort,

-- ChkAktivBenutzer, cmdAenderungenSpeichern, cmdDatensatzLöschen, cmdTelefonbuchAbbrechen, window caption.

-- (The password label's row is keyed lblTelefonbuchPasswort; lblPasswort is the login window's key.)
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblName', 'Na&me', '&Name', '&Nome', '&Nom');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblNatelNr', 'Natel-&Nr.', '&Mobile number', 'Numero di &cellulare', 'Numéro de &portable');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblTelefonbuchPasswort', '&Passwort', '&Password', '&Password', '&Mot de passe');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('ChkAktivBenutzer', 'Ak&tiv', 'Ac&tive', '&Attivo', '&Actif');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdAenderungenSpeichern', '&Speichern', '&Save', '&Salva', '&Enregistrer');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdDatensatzLöschen', '&Löschen', '&Clear', '&Elimina', 'E&ffacer');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdTelefonbuchAbbrechen', 'S&chliessen', 'C&lose', 'C&hiudi', 'Fe&rmer');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('frmTelefonbuch', 'Benutzer', 'Users', 'Utenti', 'Utilisateurs');

-- Port settings frmPortSettings: window caption, then lblBaudrateCbo, lblDatenCbo, lblStopbitCbo,

-- lblParitätCbo, lblPortCbo, cmdUebernehmen, cmdAbbrechen.
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('frmPortSettings', 'Schnittstelle', 'Serial port', 'Porta seriale', 'Port série');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblBaudrateCbo', '&Baudrate', '&Baud rate', 'Velocità (&baud)', '&Débit (bauds)');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblDatenCbo', '&Datenbits', '&Data bits', 'Bit di &dati', '&Bits de données');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblStopbitCbo', 'S&toppbits', 'S&top bits', 'Bit di s&top', 'Bits d''&arrêt');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblParitätCbo', '&Parität', '&Parity', '&Parità', '&Parité');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblPortCbo', '&Schnittstelle', 'P&ort', 'P&orta', 'P&ort');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdUebernehmen', '&Übernehmen', '&Apply', '&Applica', 'Appli&quer');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdAbbrechen', '&Abbrechen', '&Cancel', 'A&nnulla', 'A&nnuler');

-- Administrator login frmAdministrator (each row found by its key).
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('frmAdministrator', 'Administrator-Anmeldung', 'Administrator login', 'Accesso amministratore', 'Connexion administrateur');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblPasswort', '&Passwort:', '&Password:', '&Password:', '&Mot de passe :');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdPasswortÜbernehmen', '&Anmelden', '&Log in', 'A&ccedi', '&Connexion');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdPasswortAbbrechen', 'A&bbrechen', '&Cancel', 'A&nnulla', 'A&nnuler');

-- About box frmAbout: lblVersion (followed by the version number), frmAbout (followed by the

-- program name), lblLizenz: five notice lines lblLizenz(0..4).
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblVersion', 'Version', 'Version', 'Versione', 'Version');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('frmAbout', 'Info über', 'About', 'Informazioni su', 'À propos de');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblLizenz', 'Dieses Programm ist freie Software.', 'This program is free software.', 'Questo programma è software libero.', 'Ce programme est un logiciel libre.');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblLizenz(1)', 'Es darf gemäss seiner Lizenz weitergegeben und verändert werden.', 'You may pass it on and change it under the terms of its licence.', 'Può essere distribuito e modificato secondo i termini della sua licenza.', 'Vous pouvez le redistribuer et le modifier selon les termes de sa licence.');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblLizenz(2)', 'Es wird ohne jede Gewährleistung zur Verfügung gestellt.', 'It is provided without any warranty.', 'Viene fornito senza alcuna garanzia.', 'Il est fourni sans aucune garantie.');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblLizenz(3)', 'Prüfen Sie nach jeder Änderung die Alarmierung am Gerät.', 'Test the alarm functions on the unit after every change.', 'Dopo ogni modifica verificare gli allarmi sul dispositivo.', 'Testez les alarmes sur l''appareil après chaque modification.');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblLizenz(4)', 'Alle Marken gehören ihren jeweiligen Inhabern.', 'All trademarks belong to their respective owners.', 'Tutti i marchi appartengono ai rispettivi proprietari.', 'Toutes les marques appartiennent à leurs propriétaires respectifs.');

-- Transfer window frmDownload: frmUpload (read mode) or frmDownload (write mode); CreateFile must

-- stand after both, because its search goes on from the row found before it; then gbWaitSystemRestart.
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('frmUpload', 'Konfiguration aus dem Gerät lesen', 'Reading configuration from unit', 'Lettura configurazione dal dispositivo', 'Lecture de la configuration de l''appareil');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('frmDownload', 'Daten ins Gerät schreiben', 'Writing data to unit', 'Scrittura dati nel dispositivo', 'Écriture des données dans l''appareil');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('CreateFile', 'Konfigurationsdatei erstellen', 'Creating configuration file', 'Creazione file di configurazione', 'Création du fichier de configuration');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('gbWaitSystemRestart', 'Neustart des Geräts', 'Unit restart', 'Riavvio del dispositivo', 'Redémarrage de l''appareil');

-- Reports. rptKonfigIN and rptKonfigOUT: caption, and the row two further on is the title,

-- so the two captions stand together and the two titles follow.
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('rptKonfigIN', 'Bericht Eingänge', 'Inputs report', 'Rapporto ingressi', 'Rapport des entrées');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('rptKonfigOUT', 'Bericht Ausgänge', 'Outputs report', 'Rapporto uscite', 'Rapport des sorties');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('rptKonfigIN.lblTitel', 'Konfiguration der Eingänge', 'Input configuration', 'Configurazione degli ingressi', 'Configuration des entrées');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('rptKonfigOUT.lblTitel', 'Konfiguration der Ausgänge', 'Output configuration', 'Configurazione delle uscite', 'Configuration des sorties');

-- rptlblUserAD: user column heading of all three configuration reports; then the alarm report's

-- caption, title, rptlblINON, rptlblINOFF, rptlblVerzögerungszeit.
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('rptlblUserAD', 'Benutzer', 'User', 'Utente', 'Utilisateur');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('rptAlarmDispo', 'Bericht sequentielle Alarmierung', 'Sequential alarm report', 'Rapporto allarme sequenziale', 'Rapport de l''alarme séquentielle');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('rptAlarmDispo.lblTitel', 'Konfiguration der sequentiellen Alarmierung', 'Sequential alarm configuration', 'Configurazione dell''allarme sequenziale', 'Configuration de l''alarme séquentielle');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('rptlblINON', 'Eingänge 1–8, steigende Flanke:', 'Inputs 1–8, rising edge:', 'Ingressi 1–8, fronte di salita:', 'Entrées 1–8, front montant :');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('rptlblINOFF', 'Eingänge 1–8, fallende Flanke:', 'Inputs 1–8, falling edge:', 'Ingressi 1–8, fronte di discesa:', 'Entrées 1–8, front descendant :');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('rptlblVerzögerungszeit', 'Verzögerungszeit (min):', 'Delay (min):', 'Ritardo (min):', 'Délai (min) :');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('rptlblSeqAlarm', 'Sequentielle Alarmierung', 'Sequential alarm', 'Allarme sequenziale', 'Alarme séquentielle');

-- rptBenutzer: caption and title (same text), then rptlblName, rptlblNummer, rptlblPasswort,

-- rptlblOperator, rptlblStatus.
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('rptBenutzer', 'Benutzerliste', 'User list', 'Elenco utenti', 'Liste des utilisateurs');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('rptlblName', 'Name:', 'Name:', 'Nome:', 'Nom :');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('rptlblNummer', 'Natel-Nummer:', 'Mobile number:', 'Numero di cellulare:', 'Numéro de portable :');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('rptlblPasswort', 'Passwort:', 'Password:', 'Password:', 'Mot de passe :');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('rptlblOperator', 'Operator:', 'Operator:', 'Operatore:', 'Opérateur :');
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('rptlblStatus', 'Aktiv:', 'Active:', 'Attivo:', 'Actif :');
