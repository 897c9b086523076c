-- Tool tips (table "ToolTipText") in German, English, Italian and French.
--
-- Every block is found by its anchor key; A is the anchor row, B the next row, C the one after.
-- Composed tool tips are A + " " + number + " " + B (+ " " + number + " " + C), so A ends
-- before a number and B and C go on after one; each language is written so that the whole
-- sentence reads naturally, e.g. "Eingang 3 – bei steigender Flanke SMS an Benutzer 2 senden,
-- wenn angekreuzt". docs/LANGUAGE_KEYS.md lists every block. Never reorder this file.
-- Terms: see the glossary at the top of 20_beschriftung.sql.


-- SMS texts of the inputs: txtEingangSF(i) = A + (i+1) + B; txtEingangFF(i) likewise.
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('txtEingangSF', 'SMS-Text für Eingang', 'SMS text for input', 'Testo SMS per l''ingresso', 'Texte SMS pour l''entrée');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('txtEingangSF.B', 'bei steigender Flanke', 'on rising edge', 'sul fronte di salita', 'sur front montant');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('txtEingangFF', 'SMS-Text für Eingang', 'SMS text for input', 'Testo SMS per l''ingresso', 'Texte SMS pour l''entrée');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('txtEingangFF.B', 'bei fallender Flanke', 'on falling edge', 'sul fronte di discesa', 'sur front descendant');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('txtAlarmDispositiv', 'SMS-Text der sequentiellen Alarmierung', 'SMS text of the sequential alarm', 'Testo SMS dell''allarme sequenziale', 'Texte SMS de l''alarme séquentielle');

-- Input recipient boxes: ChkEmpOP = A + input + B + user + C.
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('ChkEmpOPSF', 'Eingang', 'Input', 'Ingresso', 'Entrée');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('ChkEmpOPSF.B', '– bei steigender Flanke SMS an Benutzer', '– on rising edge, send SMS to user', '– sul fronte di salita invia SMS all''utente', '– sur front montant, envoyer un SMS à l''utilisateur');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('ChkEmpOPSF.C', 'senden, wenn angekreuzt', 'if ticked', 'se selezionato', 'si la case est cochée');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('ChkEmpOPFF', 'Eingang', 'Input', 'Ingresso', 'Entrée');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('ChkEmpOPFF.B', '– bei fallender Flanke SMS an Benutzer', '– on falling edge, send SMS to user', '– sul fronte di discesa invia SMS all''utente', '– sur front descendant, envoyer un SMS à l''utilisateur');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('ChkEmpOPFF.C', 'senden, wenn angekreuzt', 'if ticked', 'se selezionato', 'si la case est cochée');

-- Recipient labels: A + user number.
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblAdresseEmpf', 'Natel-Nummer von Benutzer', 'Mobile number of user', 'Numero di cellulare dell''utente', 'Numéro de portable de l''utilisateur');

-- SMS texts of the outputs: txtAusgangSF(i) = A + (i+1) + B; txtAusgangFF(i) likewise.
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('txtAusgangSF', 'SMS-Text für Ausgang', 'SMS text for output', 'Testo SMS per l''uscita', 'Texte SMS pour la sortie');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('txtAusgangSF.B', 'beim Einschalten', 'when switched on', 'all''attivazione', 'à l''activation');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('txtAusgangFF', 'SMS-Text für Ausgang', 'SMS text for output', 'Testo SMS per l''uscita', 'Texte SMS pour la sortie');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('txtAusgangFF.B', 'beim Ausschalten', 'when switched off', 'alla disattivazione', 'à la désactivation');

-- Output recipient boxes: ChkEmpOut = A + output + B + user + C.
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('ChkEmpOutSF', 'Ausgang', 'Output', 'Uscita', 'Sortie');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('ChkEmpOutSF.B', '– beim Einschalten SMS an Benutzer', '– when switched on, send SMS to user', '– all''attivazione invia SMS all''utente', '– à l''activation, envoyer un SMS à l''utilisateur');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('ChkEmpOutSF.C', 'senden, wenn angekreuzt', 'if ticked', 'se selezionato', 'si la case est cochée');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('ChkEmpOutFF', 'Ausgang', 'Output', 'Uscita', 'Sortie');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('ChkEmpOutFF.B', '– beim Ausschalten SMS an Benutzer', '– when switched off, send SMS to user', '– alla disattivazione invia SMS all''utente', '– à la désactivation, envoyer un SMS à l''utilisateur');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('ChkEmpOutFF.C', 'senden, wenn angekreuzt', 'if ticked', 'se selezionato', 'si la case est cochée');

-- Operator boxes: ChkOP(i) = A + (i+1) + B.
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('ChkOP', 'Benutzer', 'User', 'Utente', 'Utilisateur');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('ChkOP.B', 'ist Operator, wenn angekreuzt', 'is an operator if ticked', 'è operatore se selezionato', 'est opérateur si la case est cochée');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('txtSMSAufstarten', 'SMS-Text der Einschaltmeldung (wird beim Einschalten des Geräts gesendet)', 'SMS text of the power-on message (sent when the unit is switched on)', 'Testo SMS del messaggio di accensione (inviato all''accensione del dispositivo)', 'Texte SMS du message de mise sous tension (envoyé à la mise sous tension de l''appareil)');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('ChkBenutzerPowerON', 'Einschaltmeldung an Benutzer', 'Send the power-on message to user', 'Invia il messaggio di accensione all''utente', 'Envoyer le message de mise sous tension à l''utilisateur');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('ChkBenutzerPowerON.B', 'senden, wenn angekreuzt', 'if ticked', 'se selezionato', 'si la case est cochée');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('ChkBenutzerAlarmDispo', 'Benutzer', 'Include user', 'Includi l''utente', 'Inclure l''utilisateur');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('ChkBenutzerAlarmDispo.B', 'in die sequentielle Alarmierung aufnehmen, wenn angekreuzt', 'in the sequential alarm if ticked', 'nell''allarme sequenziale se selezionato', 'dans l''alarme séquentielle si la case est cochée');

-- Trigger boxes of the sequential alarm: ChkAlarmDispo = A + input + B.
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('ChkAlarmDispoSF', 'Eingang', 'Input', 'Ingresso', 'Entrée');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('ChkAlarmDispoSF.B', '– steigende Flanke löst die sequentielle Alarmierung aus, wenn angekreuzt', '– rising edge triggers the sequential alarm if ticked', '– il fronte di salita attiva l''allarme sequenziale se selezionato', '– le front montant déclenche l''alarme séquentielle si la case est cochée');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('ChkAlarmDispoFF', 'Eingang', 'Input', 'Ingresso', 'Entrée');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('ChkAlarmDispoFF.B', '– fallende Flanke löst die sequentielle Alarmierung aus, wenn angekreuzt', '– falling edge triggers the sequential alarm if ticked', '– il fronte di discesa attiva l''allarme sequenziale se selezionato', '– le front descendant déclenche l''alarme séquentielle si la case est cochée');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('txtADVerzögerungszeit', 'Verzögerungszeit der sequentiellen Alarmierung in Minuten (1 bis 99)', 'Delay of the sequential alarm in minutes (1 to 99)', 'Ritardo dell''allarme sequenziale in minuti (da 1 a 99)', 'Délai de l''alarme séquentielle en minutes (1 à 99)');

-- Column buttons: cmdCheckAllEmp / cmdClrAllEmp = A + user + B.
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdCheckAllEmp', 'Alle Kästchen von Benutzer', 'Tick all boxes of user', 'Seleziona tutte le caselle dell''utente', 'Cocher toutes les cases de l''utilisateur');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdCheckAllEmp.B', 'ankreuzen (ganze Spalte)', '(whole column)', '(intera colonna)', '(toute la colonne)');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdClrAllEmp', 'Alle Kästchen von Benutzer', 'Clear all boxes of user', 'Deseleziona tutte le caselle dell''utente', 'Décocher toutes les cases de l''utilisateur');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdClrAllEmp.B', 'leeren (ganze Spalte)', '(whole column)', '(intera colonna)', '(toute la colonne)');

-- cmdCheckAllEvents, then cmdClrAllEvents.
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdCheckAllEvents', 'Alle Eingangsflanken als Auslöser der sequentiellen Alarmierung ankreuzen', 'Tick all input edges as triggers of the sequential alarm', 'Seleziona tutti i fronti degli ingressi che attivano l''allarme sequenziale', 'Cocher tous les fronts d''entrée comme déclencheurs de l''alarme séquentielle');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdClrAllEvents', 'Alle Auslöser der sequentiellen Alarmierung leeren', 'Clear all triggers of the sequential alarm', 'Deseleziona tutti i fronti che attivano l''allarme sequenziale', 'Décocher tous les déclencheurs de l''alarme séquentielle');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('lblAdresseName', 'Name von Benutzer', 'Name of user', 'Nome dell''utente', 'Nom de l''utilisateur');

-- Relay buttons: A + output number.
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdSetOutput', 'Relais einschalten: Ausgang', 'Switch on the relay of output', 'Attiva il relè dell''uscita', 'Activer le relais de la sortie');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdResetOutput', 'Relais ausschalten: Ausgang', 'Switch off the relay of output', 'Disattiva il relè dell''uscita', 'Désactiver le relais de la sortie');

-- cmdDownload(0), then cmdDownload(1).
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdDownload', 'Konfiguration ins Gerät schreiben', 'Write the configuration to the unit', 'Scrivi la configurazione nel dispositivo', 'Écrire la configuration dans l''appareil');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdDownload(1)', 'Neue Firmware aus einer Programmdatei (*.prg) ins Gerät schreiben', 'Write new firmware from a program file (*.prg) to the unit', 'Scrivi nel dispositivo un nuovo firmware da un file di programma (*.prg)', 'Écrire dans l''appareil un nouveau firmware (fichier programme *.prg)');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdUpload', 'Konfiguration aus dem Gerät lesen', 'Read the configuration from the unit', 'Leggi la configurazione dal dispositivo', 'Lire la configuration depuis l''appareil');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('txtSerienummer', 'Seriennummer des Geräts (6 Zeichen)', 'Serial number of the unit (6 characters)', 'Numero di serie del dispositivo (6 caratteri)', 'Numéro de série de l''appareil (6 caractères)');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('txtPINSimCardNeu', 'Neue PIN der SIM-Karte (4 Ziffern)', 'New SIM card PIN (4 digits)', 'Nuovo PIN della SIM (4 cifre)', 'Nouveau code PIN de la carte SIM (4 chiffres)');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdSetzen', 'Seriennummer ins Gerät schreiben', 'Write the serial number to the unit', 'Scrivi il numero di serie nel dispositivo', 'Écrire le numéro de série dans l''appareil');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdLesen', 'Seriennummer aus dem Gerät lesen', 'Read the serial number from the unit', 'Leggi il numero di serie dal dispositivo', 'Lire le numéro de série depuis l''appareil');

-- Status bar panels 1 to 4.
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('StatusBar', 'Datum und Uhrzeit', 'Date and time', 'Data e ora', 'Date et heure');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('StatusBar(2)', 'Schnittstelle', 'Serial port', 'Porta seriale', 'Port série');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('StatusBar(3)', 'Zuletzt an das Gerät gesendeter Befehl', 'Last command sent to the unit', 'Ultimo comando inviato al dispositivo', 'Dernière commande envoyée à l''appareil');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('StatusBar(4)', 'Status', 'Status', 'Stato', 'État');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('txtPINSimCardAlt', 'Bisherige PIN der SIM-Karte (4 Ziffern)', 'Current SIM card PIN (4 digits)', 'PIN attuale della SIM (4 cifre)', 'Code PIN actuel de la carte SIM (4 chiffres)');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('ChkDefault', 'Angekreuzt: PIN nur im Gerät speichern. Nicht angekreuzt: PIN der SIM-Karte über das Gerät ändern.', 'Ticked: store the PIN in the unit only. Not ticked: change the SIM card PIN through the unit.', 'Selezionato: salva il PIN solo nel dispositivo. Non selezionato: cambia il PIN della SIM tramite il dispositivo.', 'Cochée : enregistrer le code PIN uniquement dans l''appareil. Non cochée : modifier le code PIN de la carte SIM via l''appareil.');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdPinLesen', 'PIN aus dem Gerät lesen', 'Read the PIN from the unit', 'Leggi il PIN dal dispositivo', 'Lire le code PIN depuis l''appareil');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdPinWechseln', 'PIN ins Gerät schreiben oder PIN der SIM-Karte ändern', 'Write the PIN to the unit or change the SIM card PIN', 'Scrivi il PIN nel dispositivo o cambia il PIN della SIM', 'Écrire le code PIN dans l''appareil ou modifier le code PIN de la carte SIM');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('chkDefaultState', 'Grundzustand des Relais nach dem Einschalten des Geräts', 'Default state of the relay after the unit is switched on', 'Stato predefinito del relè all''accensione del dispositivo', 'État par défaut du relais à la mise sous tension de l''appareil');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdAllRelaisOFF', 'Grundzustand aller Relais: aus', 'Default state of all relays: off', 'Stato predefinito di tutti i relè: disattivato', 'État par défaut de tous les relais : désactivé');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdAllRelaisON', 'Grundzustand aller Relais: ein', 'Default state of all relays: on', 'Stato predefinito di tutti i relè: attivato', 'État par défaut de tous les relais : activé');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('CboGültigkeit', 'Intervall der Gültigkeitserinnerung', 'Interval of the validity reminder', 'Intervallo del promemoria di validità', 'Intervalle du rappel de validité');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdAktualisieren', 'Zustand von Eingängen und Relais aus dem Gerät lesen', 'Read the state of the inputs and relays from the unit', 'Leggi dal dispositivo lo stato di ingressi e relè', 'Lire l''état des entrées et des relais depuis l''appareil');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('OptPortAnzeige', 'Wählt, was die LEDs anzeigen: Relais, Eingänge (Alarm) oder Demo', 'Choose what the LEDs show: relays, inputs (alarm) or demo', 'Sceglie cosa mostrano i LED: relè, ingressi (allarme) o demo', 'Choisit ce qu''affichent les LED : relais, entrées (alarme) ou démo');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdGueltigkeitLesen', 'Gültigkeitserinnerung aus dem Gerät lesen', 'Read the validity reminder from the unit', 'Leggi il promemoria di validità dal dispositivo', 'Lire le rappel de validité depuis l''appareil');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdGueltigkeitSetzen', 'Gültigkeitserinnerung ins Gerät schreiben (das Gerät startet danach neu)', 'Write the validity reminder to the unit (the unit then restarts)', 'Scrivi il promemoria di validità nel dispositivo (il dispositivo si riavvia)', 'Écrire le rappel de validité dans l''appareil (l''appareil redémarre ensuite)');

-- Toolbar1, buttons 1 to 22 in button order, from the anchor Toolbar. Order with separators:

-- | Open, Save | Telefonbuch, COM | ReportAlarm, ReportRelais, ReportSequentiell, ReportUser |

-- PrintAlarm, PrintRelais, PrintSequentiell, PrintUser | Upload, Download | Help, Info

-- Separators are buttons 1, 4, 7, 12, 17 and 20; their text "-" is never shown.
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('Toolbar', '-', '-', '-', '-');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('Toolbar1.Open', 'Konfigurationsdatei öffnen', 'Open a configuration file', 'Apri un file di configurazione', 'Ouvrir un fichier de configuration');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('Toolbar1.Save', 'Konfiguration speichern', 'Save the configuration', 'Salva la configurazione', 'Enregistrer la configuration');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('Toolbar1.Separator(4)', '-', '-', '-', '-');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('Toolbar1.Telefonbuch', 'Benutzer bearbeiten', 'Edit users', 'Modifica utenti', 'Modifier les utilisateurs');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('Toolbar1.COM', 'Schnittstelle einstellen', 'Set up the serial port', 'Imposta la porta seriale', 'Configurer le port série');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('Toolbar1.Separator(7)', '-', '-', '-', '-');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('Toolbar1.ReportAlarm', 'Bericht Eingänge anzeigen', 'Show the inputs report', 'Visualizza il rapporto ingressi', 'Afficher le rapport des entrées');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('Toolbar1.ReportRelais', 'Bericht Ausgänge anzeigen', 'Show the outputs report', 'Visualizza il rapporto uscite', 'Afficher le rapport des sorties');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('Toolbar1.ReportSequentiell', 'Bericht sequentielle Alarmierung anzeigen', 'Show the sequential alarm report', 'Visualizza il rapporto allarme sequenziale', 'Afficher le rapport de l''alarme séquentielle');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('Toolbar1.ReportUser', 'Benutzerliste anzeigen', 'Show the user list', 'Visualizza l''elenco utenti', 'Afficher la liste des utilisateurs');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('Toolbar1.Separator(12)', '-', '-', '-', '-');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('Toolbar1.PrintAlarm', 'Bericht Eingänge drucken', 'Print the inputs report', 'Stampa il rapporto ingressi', 'Imprimer le rapport des entrées');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('Toolbar1.PrintRelais', 'Bericht Ausgänge drucken', 'Print the outputs report', 'Stampa il rapporto uscite', 'Imprimer le rapport des sorties');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('Toolbar1.PrintSequentiell', 'Bericht sequentielle Alarmierung drucken', 'Print the sequential alarm report', 'Stampa il rapporto allarme sequenziale', 'Imprimer le rapport de l''alarme séquentielle');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('Toolbar1.PrintUser', 'Benutzerliste drucken', 'Print the user list', 'Stampa l''elenco utenti', 'Imprimer la liste des utilisateurs');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('Toolbar1.Separator(17)', '-', '-', '-', '-');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('Toolbar1.Upload', 'Konfiguration aus dem Gerät lesen', 'Read the configuration from the unit', 'Leggi la configurazione dal dispositivo', 'Lire la configuration depuis l''appareil');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('Toolbar1.Download', 'Konfiguration ins Gerät schreiben', 'Write the configuration to the unit', 'Scrivi la configurazione nel dispositivo', 'Écrire la configuration dans l''appareil');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('Toolbar1.Separator(20)', '-', '-', '-', '-');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('Toolbar1.Help', 'Hilfe anzeigen', 'Show help', 'Mostra la guida', 'Afficher l''aide');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('Toolbar1.Info', 'Info über das Programm', 'About the program', 'Informazioni sul programma', 'À propos du programme');

-- Phone book frmTelefonbuch: run of 11 from txtNameTelefonbuch: txtNameTelefonbuch,

-- txtTelefonbuchNatelNr, ChkOperator, cmdMoveDatabase(0..3), ChkAktivBenutzer, cmdAenderungenSpeichern,

-- cmdDatensatzLöschen, cmdTelefonbuchAbbrechen; txtUserPasswort for txtPasswort.
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('txtNameTelefonbuch', 'Name des Benutzers (höchstens 32 Zeichen)', 'Name of the user (up to 32 characters)', 'Nome dell''utente (massimo 32 caratteri)', 'Nom de l''utilisateur (32 caractères au maximum)');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('txtTelefonbuchNatelNr', 'Natel-Nummer mit Landesvorwahl, z. B. +41791234567', 'Mobile number with country code, e.g. +41791234567', 'Numero di cellulare con prefisso internazionale, ad es. +41791234567', 'Numéro de portable avec indicatif du pays, p. ex. +41791234567');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('ChkOperator', 'Angekreuzt: Benutzer ist Operator', 'Ticked: the user is an operator', 'Selezionato: l''utente è operatore', 'Cochée : l''utilisateur est opérateur');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdMoveDatabase(0)', 'Erster Benutzer', 'First user', 'Primo utente', 'Premier utilisateur');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdMoveDatabase(1)', 'Vorheriger Benutzer', 'Previous user', 'Utente precedente', 'Utilisateur précédent');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdMoveDatabase(2)', 'Nächster Benutzer', 'Next user', 'Utente successivo', 'Utilisateur suivant');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdMoveDatabase(3)', 'Letzter Benutzer', 'Last user', 'Ultimo utente', 'Dernier utilisateur');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('ChkAktivBenutzer', 'Angekreuzt: Benutzer ist aktiv', 'Ticked: the user is active', 'Selezionato: l''utente è attivo', 'Cochée : l''utilisateur est actif');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdAenderungenSpeichern', 'Änderungen speichern und Fenster schliessen', 'Save the changes and close the window', 'Salva le modifiche e chiudi la finestra', 'Enregistrer les modifications et fermer la fenêtre');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdDatensatzLöschen', 'Daten des angezeigten Benutzers löschen (Passwort wird auf 7101 gesetzt)', 'Clear the data of the user shown (the password is set to 7101)', 'Elimina i dati dell''utente visualizzato (la password viene impostata a 7101)', 'Effacer les données de l''utilisateur affiché (le mot de passe est remis à 7101)');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdTelefonbuchAbbrechen', 'Fenster schliessen, ohne den angezeigten Benutzer zu speichern', 'Close the window without saving the user shown', 'Chiudi la finestra senza salvare l''utente visualizzato', 'Fermer la fenêtre sans enregistrer l''utilisateur affiché');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('txtUserPasswort', 'Passwort des Benutzers für SMS-Befehle (4 Ziffern)', 'Password of the user for SMS commands (4 digits)', 'Password dell''utente per i comandi SMS (4 cifre)', 'Mot de passe de l''utilisateur pour les commandes SMS (4 chiffres)');

-- Administrator login frmAdministrator (each row found by its key).
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('txtPasswort', 'Administrator-Passwort (leer lassen für normale Berechtigung)', 'Administrator password (leave empty for normal access)', 'Password di amministratore (lasciare vuoto per l''accesso normale)', 'Mot de passe administrateur (laisser vide pour l''accès normal)');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdPasswortÜbernehmen', 'Passwort prüfen und Berechtigung übernehmen', 'Check the password and apply the access level', 'Verifica la password e applica il livello di accesso', 'Vérifier le mot de passe et appliquer le niveau d''accès');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdPasswortAbbrechen', 'Fenster schliessen; die Berechtigung bleibt unverändert', 'Close the window; the access level stays unchanged', 'Chiudi la finestra; il livello di accesso resta invariato', 'Fermer la fenêtre ; le niveau d''accès reste inchangé');

-- Port settings frmPortSettings: run of 7 from cboBaudrate: cboBaudrate, cboDatenbreite, cboStopbit,

-- cboParität, cboPort, cmdUebernehmen, cmdAbbrechen.
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cboBaudrate', 'Übertragungsgeschwindigkeit in Baud', 'Transmission speed in baud', 'Velocità di trasmissione in baud', 'Vitesse de transmission en bauds');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cboDatenbreite', 'Anzahl Datenbits', 'Number of data bits', 'Numero di bit di dati', 'Nombre de bits de données');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cboStopbit', 'Anzahl Stoppbits', 'Number of stop bits', 'Numero di bit di stop', 'Nombre de bits d''arrêt');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cboParität', 'Parität', 'Parity', 'Parità', 'Parité');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cboPort', 'COM-Schnittstelle, an der das Gerät angeschlossen ist', 'COM port to which the unit is connected', 'Porta COM a cui è collegato il dispositivo', 'Port COM auquel l''appareil est raccordé');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdUebernehmen', 'Einstellungen übernehmen und Verbindung zum Gerät prüfen', 'Apply the settings and test the connection to the unit', 'Applica le impostazioni e verifica il collegamento con il dispositivo', 'Appliquer les réglages et tester la liaison avec l''appareil');
INSERT INTO "ToolTipText" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES ('cmdAbbrechen', 'Fenster schliessen, ohne die Einstellungen zu ändern', 'Close the window without changing the settings', 'Chiudi la finestra senza modificare le impostazioni', 'Fermer la fenêtre sans modifier les réglages');
