-- Messages and texts of the program itself (device transfers, profile files, the database,
-- the language tables, the port dialog, printing, help), looked up by key through
-- ProgramState::msgOr. Every row is loaded into the program's messages at start; the code
-- keeps the German text for a database that lacks a row. %1, %2 ... are filled in by the
-- program. The glossary at the top of 20_beschriftung.sql applies.

-- Device transfers, HEX files and the firmware question.
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgHexZeile',
 'Zeile %1: %2',
 'line %1: %2',
 'riga %1: %2',
 'ligne %1 : %2');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgHexLeereZeile',
 'leere Zeile vor dem Endedatensatz',
 'empty line before the end record',
 'riga vuota prima del record finale',
 'ligne vide avant l''enregistrement de fin');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgHexKeinDatensatz',
 'kein Intel-HEX-Datensatz',
 'not an Intel-HEX record',
 'non è un record Intel HEX',
 'pas un enregistrement Intel HEX');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgHexNichtHex',
 'kein Datensatz aus Hexadezimalziffern in Grossbuchstaben',
 'not an upper-case hexadecimal record',
 'non è un record esadecimale in maiuscolo',
 'pas un enregistrement hexadécimal en majuscules');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgHexLaenge',
 'die Datensatzlänge passt nicht zur Zeile',
 'the record length does not match the line',
 'la lunghezza del record non corrisponde alla riga',
 'la longueur de l''enregistrement ne correspond pas à la ligne');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgHexPruefsumme',
 'Prüfsummenfehler',
 'checksum error',
 'errore di checksum',
 'erreur de somme de contrôle');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgHexAnzahlZeilen',
 'eine Konfiguration hat 512 Datenzeilen vor dem Endedatensatz, diese Datei hat %1',
 'a configuration has 512 data lines before the end record, this file has %1',
 'una configurazione ha 512 righe di dati prima del record finale, questo file ne ha %1',
 'une configuration comporte 512 lignes de données avant l''enregistrement de fin, ce fichier en a %1');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgHexFalschesEnde',
 'ein anderer Endedatensatz als ":00000001FF"',
 'an end record other than ":00000001FF"',
 'un record finale diverso da ":00000001FF"',
 'un enregistrement de fin autre que ":00000001FF"');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgHexAdresse',
 'erwartet wird der 16-Byte-Datensatz an Adresse %1',
 'expected the 16-byte data record at address %1',
 'atteso il record di dati da 16 byte all''indirizzo %1',
 'enregistrement de données de 16 octets attendu à l''adresse %1');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgHexEndeFehlt',
 'der Endedatensatz ":00000001FF" fehlt',
 'the end record ":00000001FF" is missing',
 'manca il record finale ":00000001FF"',
 'l''enregistrement de fin ":00000001FF" manque');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgVerbindungVerloren',
 'die Verbindung zum Gerät ist unterbrochen',
 'the connection to the unit was lost',
 'la connessione con il dispositivo si è interrotta',
 'la connexion avec l''appareil a été perdue');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgVerbindungsaufbauFehler',
 'der Verbindungsaufbau zum Gerät ist fehlgeschlagen',
 'the handshake with the unit failed',
 'non è stato possibile stabilire la connessione con il dispositivo',
 'l''établissement de la liaison avec l''appareil a échoué');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgGerätAntwortetNicht',
 'das Gerät antwortet nicht',
 'the unit does not answer',
 'il dispositivo non risponde',
 'l''appareil ne répond pas');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgLesenKeineAntwort',
 'das Gerät hat beim Lesen aufgehört zu antworten',
 'the unit stopped answering during the read',
 'il dispositivo ha smesso di rispondere durante la lettura',
 'l''appareil a cessé de répondre pendant la lecture');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgBlockcodeDetail',
 'das Gerät hat den Blockcode %1 gesendet, der ausserhalb des Konfigurationsspeichers liegt (ist das Gerät gelöscht?); die Konfiguration wurde nicht gelesen',
 'the unit sent block code %1, which lies outside the configuration memory (is the unit erased?); the configuration was not read',
 'il dispositivo ha inviato il codice di blocco %1, che è fuori dalla memoria di configurazione (il dispositivo è stato cancellato?); la configurazione non è stata letta',
 'l''appareil a envoyé le code de bloc %1, qui se trouve hors de la mémoire de configuration (l''appareil est-il effacé ?) ; la configuration n''a pas été lue');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgBlockcode',
 'Das Gerät hat den Blockcode %1 gesendet, der ausserhalb des Konfigurationsspeichers liegt; das Gerät ist wahrscheinlich gelöscht oder defekt. Die Konfiguration wurde nicht gelesen; die gespeicherte Konfiguration ist unverändert.',
 'The unit sent block code %1, which lies outside the configuration memory; the unit is probably erased or faulty. The configuration was not read; the stored configuration is unchanged.',
 'Il dispositivo ha inviato il codice di blocco %1, che è fuori dalla memoria di configurazione; probabilmente il dispositivo è stato cancellato o è guasto. La configurazione non è stata letta; la configurazione salvata è invariata.',
 'L''appareil a envoyé le code de bloc %1, qui se trouve hors de la mémoire de configuration ; l''appareil est probablement effacé ou défectueux. La configuration n''a pas été lue ; la configuration enregistrée est inchangée.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgLesenAbgebrochenDetail',
 'das Lesen wurde abgebrochen',
 'the read was cancelled',
 'la lettura è stata annullata',
 'la lecture a été annulée');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgBlockNichtLesbar',
 'Block %1 der Konfiguration konnte nicht gelesen werden',
 'block %1 of the configuration could not be read',
 'non è stato possibile leggere il blocco %1 della configurazione',
 'le bloc %1 de la configuration n''a pas pu être lu');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgZeileAbgelehntDetail',
 'Zeile %1 von %2 (%3) wurde vom Gerät dreimal abgelehnt',
 'line %1 of %2 (%3) was refused by the unit three times',
 'la riga %1 di %2 (%3) è stata rifiutata tre volte dal dispositivo',
 'la ligne %1 sur %2 (%3) a été refusée trois fois par l''appareil');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgFirmwareNichtBestätigt',
 'die Aktualisierung der Firmware wurde nicht bestätigt',
 'the firmware update was declined',
 'l''aggiornamento del firmware non è stato confermato',
 'la mise à jour du firmware n''a pas été confirmée');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgSchreibenVerweigertDetail',
 'das Gerät hat das Schreiben abgelehnt ("%1" dreimal mit "E" beantwortet); es wurde nichts geschrieben',
 'the unit refused the write ("%1" answered "E" three times); nothing was written',
 'il dispositivo ha rifiutato la scrittura ("%1" ha ricevuto tre volte la risposta "E"); non è stato scritto nulla',
 'l''appareil a refusé l''écriture ("%1" a reçu trois fois la réponse "E") ; rien n''a été écrit');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgSchreibenVerweigert',
 'Das Gerät hat das Schreiben abgelehnt: "%1" wurde dreimal mit "E" beantwortet. Es wurde nichts geschrieben.',
 'The unit refused the write: "%1" was answered with "E" three times. Nothing was written.',
 'Il dispositivo ha rifiutato la scrittura: "%1" ha ricevuto tre volte la risposta "E". Non è stato scritto nulla.',
 'L''appareil a refusé l''écriture : "%1" a reçu trois fois la réponse "E". Rien n''a été écrit.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgSchreibenAbgebrochenDetail',
 'das Schreiben wurde abgebrochen; die Konfiguration des Geräts ist unvollständig',
 'the write was cancelled; the unit''s configuration is incomplete',
 'la scrittura è stata annullata; la configurazione del dispositivo è incompleta',
 'l''écriture a été annulée ; la configuration de l''appareil est incomplète');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgSchreibenKeineAntwort',
 'das Gerät hat beim Schreiben aufgehört zu antworten; seine Konfiguration ist unvollständig',
 'the unit stopped answering during the write; its configuration is incomplete',
 'il dispositivo ha smesso di rispondere durante la scrittura; la sua configurazione è incompleta',
 'l''appareil a cessé de répondre pendant l''écriture ; sa configuration est incomplète');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgUpdateUnvollständig',
 'Die Aktualisierung wurde abgebrochen; die Firmware des Geräts ist unvollständig. Führen Sie die Aktualisierung erneut aus.',
 'The update was stopped; the unit''s firmware is incomplete and the update must be run again.',
 'L''aggiornamento è stato interrotto; il firmware del dispositivo è incompleto. Eseguire di nuovo l''aggiornamento.',
 'La mise à jour a été interrompue ; le firmware de l''appareil est incomplet. Relancez la mise à jour.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgÜbertragungUnvollständig',
 'Die Übertragung wurde abgebrochen; die Konfiguration des Geräts ist unvollständig. Schreiben Sie die Konfiguration erneut ins Gerät.',
 'The transfer was stopped; the unit''s configuration is incomplete and must be written again.',
 'Il trasferimento è stato interrotto; la configurazione del dispositivo è incompleta. Scrivere di nuovo la configurazione nel dispositivo.',
 'Le transfert a été interrompu ; la configuration de l''appareil est incomplète. Écrivez de nouveau la configuration dans l''appareil.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgZeileAbgelehnt',
 'Zeile %1 (%2) wurde vom Gerät dreimal abgelehnt.',
 'Line %1 (%2) was refused by the unit three times.',
 'La riga %1 (%2) è stata rifiutata tre volte dal dispositivo.',
 'La ligne %1 (%2) a été refusée trois fois par l''appareil.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgFirmwareTrotzdem',
 'Firmware des Geräts: %1; Version dieses Programms: %2.%3. Firmware trotzdem aktualisieren?',
 'Firmware of the unit: %1; version of this program: %2.%3. Update the firmware anyway?',
 'Firmware del dispositivo: %1; versione di questo programma: %2.%3. Aggiornare comunque il firmware?',
 'Firmware de l''appareil : %1 ; version de ce programme : %2.%3. Mettre à jour le firmware quand même ?');

-- Language tables.
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgSprachtabelleNichtLesbar',
 'Die Sprachtabelle "%1" kann nicht gelesen werden: %2',
 'The language table "%1" cannot be read: %2',
 'Impossibile leggere la tabella delle lingue "%1": %2',
 'La table des langues "%1" ne peut pas être lue : %2');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgSprachtabelleSpalten',
 'Der Sprachtabelle "%1" fehlen die Spalten der vier Sprachen.',
 'The language table "%1" lacks the columns of the four languages.',
 'Nella tabella delle lingue "%1" mancano le colonne delle quattro lingue.',
 'La table des langues "%1" ne contient pas les colonnes des quatre langues.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgSprachtabelleZeileFehlt',
 'Die Sprachtabelle "%1" hat keine Zeile "%2".',
 'The language table "%1" has no row "%2".',
 'La tabella delle lingue "%1" non contiene la riga "%2".',
 'La table des langues "%1" ne contient pas de ligne "%2".');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgSprachtabelleZuKurz',
 'Die Sprachtabelle "%1" endet vor der Zeile für "%2" (sie hat %3 Zeilen).',
 'The language table "%1" ends before the row for "%2" (it has %3 rows).',
 'La tabella delle lingue "%1" termina prima della riga per "%2" (ha %3 righe).',
 'La table des langues "%1" se termine avant la ligne de "%2" (elle compte %3 lignes).');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgSprachtabelleFolge',
 'Die Sprachtabelle "%1" endet innerhalb der Zeilen ab "%2": Zeile %3 der Folge fehlt%4.',
 'The language table "%1" ends inside the rows from "%2": row %3 of the run is missing%4.',
 'La tabella delle lingue "%1" termina all''interno delle righe a partire da "%2": manca la riga %3 della sequenza%4.',
 'La table des langues "%1" se termine au milieu des lignes à partir de "%2" : la ligne %3 de la suite manque%4.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgSprachtabelleWeitere',
 '(und %1 weitere)',
 '(and %1 more)',
 '(e altri %1)',
 '(et %1 de plus)');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgSprachtabelleHinweis',
 'Wo ein Text fehlt, zeigt das Fenster seinen eingebauten deutschen Text. Eine neue Installation des Programms stellt die Datenbank mit allen Texten wieder her.',
 'Where a text is missing the window shows its built-in German text. Installing the program again restores the database with all texts.',
 'Dove manca un testo, la finestra mostra il suo testo tedesco integrato. Reinstallando il programma si ripristina il database con tutti i testi.',
 'Là où un texte manque, la fenêtre affiche son texte allemand intégré. Réinstaller le programme rétablit la base de données avec tous les textes.');

-- Profile files and configuration files.
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgProfilDateiLeer',
 'die Datei ist leer',
 'the file is empty',
 'il file è vuoto',
 'le fichier est vide');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgProfilDateiZuGross',
 'die Datei ist %1 Byte lang, weit mehr als ein Profil (23053 Byte)',
 'the file is %1 bytes long, far more than a profile (23053 bytes)',
 'il file è lungo %1 byte, molto più di un profilo (23053 byte)',
 'le fichier fait %1 octets, bien plus qu''un profil (23053 octets)');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgProfilDateiEndetFrüh',
 'die Datei endet nach %1 der 512 Datensätze; der Rest des Profils fehlt',
 'the file ends after %1 of the 512 records; the rest of the profile is missing',
 'il file termina dopo %1 dei 512 record; manca il resto del profilo',
 'le fichier se termine après %1 des 512 enregistrements ; le reste du profil manque');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgProfilLeereZeile',
 'leere Zeile, wo Datensatz %1 von 512 erwartet wird',
 'empty line where record %1 of 512 is expected',
 'riga vuota dove è atteso il record %1 di 512',
 'ligne vide à la place de l''enregistrement %1 sur 512');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgProfilKeinDatensatz',
 'kein Intel-HEX-Datensatz (die Zeile beginnt nicht mit '':'')',
 'not an Intel-HEX record (it does not start with '':'')',
 'non è un record Intel HEX (la riga non inizia con '':'')',
 'pas un enregistrement Intel HEX (la ligne ne commence pas par '':'')');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgProfilKeineHexZiffer',
 '%1 an Position %2 ist keine Hexadezimalziffer',
 '%1 at position %2 is not a hexadecimal digit',
 '%1 in posizione %2 non è una cifra esadecimale',
 '%1 en position %2 n''est pas un chiffre hexadécimal');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgProfilByte',
 'Byte 0x%1',
 'byte 0x%1',
 'byte 0x%1',
 'octet 0x%1');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgProfilZeichenzahl',
 'der Datensatz hat %1 statt 43 Zeichen',
 'the record has %1 characters instead of 43',
 'il record ha %1 caratteri invece di 43',
 'l''enregistrement a %1 caractères au lieu de 43');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgProfilDatensatzlänge',
 'Datensatzlänge %1 statt 10',
 'record length %1 instead of 10',
 'lunghezza del record %1 invece di 10',
 'longueur d''enregistrement %1 au lieu de 10');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgProfilAdresse',
 'Adresse %1, erwartet wird %2',
 'address %1 where %2 is expected',
 'indirizzo %1 dove è atteso %2',
 'adresse %1 alors que %2 est attendue');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgProfilDatensatztyp',
 'Datensatztyp %1 statt 00',
 'record type %1 instead of 00',
 'tipo di record %1 invece di 00',
 'type d''enregistrement %1 au lieu de 00');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgProfilPrüfsumme',
 'Prüfsumme %1, erwartet wird %2',
 'checksum %1 where %2 is expected',
 'checksum %1 dove è atteso %2',
 'somme de contrôle %1 alors que %2 est attendue');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgProfilEndeFehlt',
 'der Endedatensatz :00000001FF fehlt',
 'the end record :00000001FF is missing',
 'manca il record finale :00000001FF',
 'l''enregistrement de fin :00000001FF manque');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgProfilEndeErwartet',
 'hier wird der Endedatensatz :00000001FF erwartet (die Zeile hat %1 Zeichen)',
 'the end record :00000001FF is expected here (the line has %1 characters)',
 'qui è atteso il record finale :00000001FF (la riga ha %1 caratteri)',
 'l''enregistrement de fin :00000001FF est attendu ici (la ligne a %1 caractères)');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgProfilTextNachEnde',
 'Text nach dem Endedatensatz',
 'text after the end record',
 'testo dopo il record finale',
 'texte après l''enregistrement de fin');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgDateiNichtGeöffnet',
 'Die Datei %1 kann nicht geöffnet werden: %2',
 'The file %1 cannot be opened: %2',
 'Impossibile aprire il file %1: %2',
 'Le fichier %1 ne peut pas être ouvert : %2');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgDateiNichtLesbar',
 'Die Datei %1 kann nicht gelesen werden: %2',
 'The file %1 cannot be read: %2',
 'Impossibile leggere il file %1: %2',
 'Le fichier %1 ne peut pas être lu : %2');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgProfilZuGross',
 'Die Datei %1 ist kein gültiges Profil: sie ist %2 Byte lang, weit mehr als ein Profil (23053 Byte).',
 'The file %1 is not a valid profile: it is %2 bytes long, far more than a profile (23053 bytes).',
 'Il file %1 non è un profilo valido: è lungo %2 byte, molto più di un profilo (23053 byte).',
 'Le fichier %1 n''est pas un profil valide : il fait %2 octets, bien plus qu''un profil (23053 octets).');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgProfilUngültigZeile',
 'Die Datei %1 ist kein gültiges Profil: Zeile %2: %3.',
 'The file %1 is not a valid profile: line %2: %3.',
 'Il file %1 non è un profilo valido: riga %2: %3.',
 'Le fichier %1 n''est pas un profil valide : ligne %2 : %3.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgProfilUngültig',
 'Die Datei %1 ist kein gültiges Profil: %2.',
 'The file %1 is not a valid profile: %2.',
 'Il file %1 non è un profilo valido: %2.',
 'Le fichier %1 n''est pas un profil valide : %2.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgProfilNichtÜbernommen',
 'Das Profil %1 kann nicht in die Konfigurationsdatenbank übernommen werden: %2',
 'The profile %1 cannot be written into the configuration store: %2',
 'Impossibile trasferire il profilo %1 nel database di configurazione: %2',
 'Le profil %1 ne peut pas être repris dans la base de configuration : %2');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgTabelleZeilenzahl',
 'Die Tabelle "%1" hat %2 statt %3 Zeilen.',
 'The table "%1" has %2 rows instead of %3.',
 'La tabella "%1" ha %2 righe invece di %3.',
 'La table "%1" compte %2 lignes au lieu de %3.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgIstOrdner',
 '%1 ist ein Ordner.',
 '%1 is a folder.',
 '%1 è una cartella.',
 '%1 est un dossier.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgZugriffVerweigert',
 'Zugriff verweigert',
 'Permission denied',
 'Accesso negato',
 'Accès refusé');

-- The database, printing, the serial port and the configuration editor.
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgDatenbankFehlt',
 'Die Datenbankdatei %1 ist nicht vorhanden.',
 'The database file %1 does not exist.',
 'Il file di database %1 non esiste.',
 'Le fichier de base de données %1 n''existe pas.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgDatenbankNichtGeöffnet',
 'Die Datenbank %1 kann nicht geöffnet werden: %2',
 'The database %1 cannot be opened: %2',
 'Impossibile aprire il database %1: %2',
 'La base de données %1 ne peut pas être ouverte : %2');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgZeileVerschwunden',
 'eine Zeile ist aus der Datei verschwunden',
 'a row has disappeared from the file',
 'una riga è scomparsa dal file',
 'une ligne a disparu du fichier');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgÄnderungenNichtGeschrieben',
 '%1: die Änderungen können nicht geschrieben werden: %2',
 '%1: the changes cannot be written: %2',
 '%1: impossibile scrivere le modifiche: %2',
 '%1 : les modifications ne peuvent pas être écrites : %2');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgDatenbankNichtSchreibbar',
 'Die Datenbank kann nicht geschrieben werden: %1',
 'The database cannot be written: %1',
 'Impossibile scrivere nel database: %1',
 'La base de données ne peut pas être écrite : %1');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgDatenbankNichtLesbar',
 'Die Datenbankdatei %1 kann nicht gelesen werden.',
 'The database file %1 cannot be read.',
 'Impossibile leggere il file di database %1.',
 'Le fichier de base de données %1 ne peut pas être lu.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgDatenbankTabelleFehlt',
 'Der Datenbank %1 fehlt die Tabelle "%2".',
 'The database %1 has no table "%2".',
 'Nel database %1 manca la tabella "%2".',
 'La base de données %1 ne contient pas la table "%2".');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgDatenbankLesefehler',
 'Die Datenbank %1 kann nicht gelesen werden: %2',
 'The database %1 cannot be read: %2',
 'Impossibile leggere il database %1: %2',
 'La base de données %1 ne peut pas être lue : %2');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgTabelleZuWenigSpalten',
 'Die Tabelle "%1" von %2 hat zu wenige Spalten.',
 'The table "%1" of %2 has too few columns.',
 'La tabella "%1" di %2 ha troppo poche colonne.',
 'La table "%1" de %2 a trop peu de colonnes.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgTabelleSpalteAnPosition',
 'Der Tabelle "%1" von %2 fehlt die Spalte "%3" an Position %4.',
 'The table "%1" of %2 has no column "%3" at position %4.',
 'Nella tabella "%1" di %2 manca la colonna "%3" in posizione %4.',
 'La table "%1" de %2 ne contient pas la colonne "%3" en position %4.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgTabelleSpalteFehlt',
 'Der Tabelle "%1" von %2 fehlt die Spalte "%3".',
 'The table "%1" of %2 has no column "%3".',
 'Nella tabella "%1" di %2 manca la colonna "%3".',
 'La table "%1" de %2 ne contient pas la colonne "%3".');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgTabelleNichtLesbar',
 'Die Tabelle "%1" von %2 kann nicht gelesen werden.',
 'The table "%1" of %2 cannot be read.',
 'Impossibile leggere la tabella "%1" di %2.',
 'La table "%1" de %2 ne peut pas être lue.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgTabelleZeilenzahlDatei',
 'Die Tabelle "%1" von %2 hat %3 statt %4 Zeilen.',
 'The table "%1" of %2 has %3 rows instead of %4.',
 'La tabella "%1" di %2 ha %3 righe invece di %4.',
 'La table "%1" de %2 compte %3 lignes au lieu de %4.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgSMSZeileFehlt',
 'Der Tabelle "SMS" fehlt die Zeile mit der ID %1.',
 'The table "SMS" has no row with ID %1.',
 'Nella tabella "SMS" manca la riga con ID %1.',
 'La table "SMS" ne contient pas de ligne avec l''ID %1.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgFesteZeilenFehlen',
 'Den festen Tabellen der Konfigurationsdatenbank fehlen Zeilen.',
 'The configuration store lacks rows of its fixed tables.',
 'Nelle tabelle fisse del database di configurazione mancano delle righe.',
 'Il manque des lignes dans les tables fixes de la base de configuration.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgDruckerNichtVerfügbar',
 'der Drucker ist nicht verfügbar',
 'the printer is not available',
 'la stampante non è disponibile',
 'l''imprimante n''est pas disponible');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgDruckerFehler',
 'der Drucker hat einen Fehler gemeldet',
 'the printer reported an error',
 'la stampante ha segnalato un errore',
 'l''imprimante a signalé une erreur');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgAusgabeNichtGeöffnet',
 'das Ausgabegerät konnte nicht geöffnet werden',
 'the output device could not be opened',
 'impossibile aprire il dispositivo di output',
 'le périphérique de sortie n''a pas pu être ouvert');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgVerbindungUnterbrochen',
 'Die Verbindung zum Gerät ist unterbrochen: die Schnittstelle ist nicht mehr verfügbar%1. Prüfen Sie das Kabel und die Einstellungen der Schnittstelle; der Vorgang wurde abgebrochen.',
 'The connection to the unit was lost: the serial port is no longer available%1. Check the cable and the port settings; the operation was stopped.',
 'La connessione con il dispositivo si è interrotta: la porta seriale non è più disponibile%1. Controllare il cavo e le impostazioni della porta seriale; l''operazione è stata interrotta.',
 'La connexion avec l''appareil a été perdue : le port série n''est plus disponible%1. Vérifiez le câble et les réglages du port série ; l''opération a été interrompue.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgKeinAnschlussFürNummer',
 'dieser Nummer ist kein serieller Anschluss zugeordnet',
 'no serial device stands for this number',
 'a questo numero non corrisponde nessuna periferica seriale',
 'aucun périphérique série ne correspond à ce numéro');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgKonfigZeileFehlt',
 'Der Konfigurationsdatenbank fehlt die Zeile %1 in der Tabelle %2; es wurde nichts geschrieben.',
 'The configuration database has no row %1 in table %2; nothing was written.',
 'Nel database di configurazione manca la riga %1 nella tabella %2; non è stato scritto nulla.',
 'Il manque la ligne %1 de la table %2 dans la base de configuration ; rien n''a été écrit.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgKeinTextfeld',
 'Es gibt kein Textfeld %1 dieser Art.',
 'There is no text box %1 of this kind.',
 'Non esiste una casella di testo %1 di questo tipo.',
 'Il n''existe pas de zone de texte %1 de ce type.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgSMSVerknüpfungFehlt',
 'Eine Konfigurationszeile ist mit keinem SMS-Text verknüpft; es wurde nichts geschrieben.',
 'A configuration row has no link to its SMS text; nothing was written.',
 'Una riga di configurazione non è collegata al suo testo SMS; non è stato scritto nulla.',
 'Une ligne de configuration n''est liée à aucun texte SMS ; rien n''a été écrit.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgTextNichtGespeichert',
 'Der Text kann nicht gespeichert werden: er ist zu lang oder enthält ein Zeichen, das das Gerät nicht annimmt.',
 'The text cannot be stored: it is too long or holds a character the unit refuses.',
 'Impossibile salvare il testo: è troppo lungo o contiene un carattere che il dispositivo non accetta.',
 'Le texte ne peut pas être enregistré : il est trop long ou contient un caractère que l''appareil refuse.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgVerzögerungBereich',
 'Die Verzögerungszeit muss eine Zahl von 1 bis 99 sein.',
 'The delay must be a number from 1 to 99.',
 'Il ritardo deve essere un numero da 1 a 99.',
 'Le délai doit être un nombre de 1 à 99.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgPortEinstellungenUngültig',
 'Ungültige Einstellungen der Schnittstelle "%1": %2',
 'Invalid port settings "%1": %2',
 'Impostazioni della porta seriale non valide "%1": %2',
 'Réglages du port série non valides "%1" : %2');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgPortEinstellungenErwartet',
 'erwartet werden Baudrate, Parität, Datenbits und Stoppbits',
 'expected baud rate, parity, data bits and stop bits',
 'sono attesi velocità in baud, parità, bit di dati e bit di stop',
 'débit, parité, bits de données et bits d''arrêt attendus');

-- The port dialog.
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsPortAnschluss',
 'Anschluss für diese Schnittstellennummer',
 'Device for this port number',
 'Periferica per questo numero di porta',
 'Périphérique pour ce numéro de port');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsPortAutomatisch',
 'Automatisch (%1)',
 'Automatic (%1)',
 'Automatica (%1)',
 'Automatique (%1)');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsPortEingebautesGeraet',
 'das eingebaute simulierte Gerät',
 'the built-in simulated unit',
 'il dispositivo simulato integrato',
 'l''appareil simulé intégré');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsPortGeschlossen',
 'geschlossen',
 'closed',
 'chiusa',
 'fermé');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsPortKeinAnschluss',
 'kein Anschluss',
 'no device',
 'nessuna periferica',
 'aucun périphérique');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsPortKeines',
 'keiner',
 'none',
 'nessuna',
 'aucun');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsPortSimuliert',
 'Simuliertes Gerät',
 'Simulated unit',
 'Dispositivo simulato',
 'Appareil simulé');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsPortSimuliertOhneHardware',
 'Simuliertes Gerät (ohne Hardware)',
 'Simulated unit (no hardware needed)',
 'Dispositivo simulato (senza hardware)',
 'Appareil simulé (sans matériel)');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsPortStehtFuer',
 'COM %1 steht für: %2',
 'COM %1 stands for: %2',
 'COM %1 corrisponde a: %2',
 'COM %1 correspond à : %2');

-- Shell texts: printing, PDF export, report columns, help window.
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgKeinDrucker',
 'Es ist kein Drucker eingerichtet.
Soll der Bericht stattdessen als PDF-Datei gespeichert werden?',
 'No printer is installed.
Do you want to save the report as a PDF file instead?',
 'Nessuna stampante installata.
Salvare il rapporto come file PDF?',
 'Aucune imprimante n''est installée.
Voulez-vous enregistrer le rapport en fichier PDF ?');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgDruckFehler',
 'Der Bericht konnte nicht gedruckt werden:',
 'The report could not be printed:',
 'Impossibile stampare il rapporto:',
 'Le rapport n''a pas pu être imprimé :');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgPDFFehler',
 'Die PDF-Datei konnte nicht geschrieben werden:',
 'The PDF file could not be written:',
 'Impossibile scrivere il file PDF:',
 'Le fichier PDF n''a pas pu être écrit :');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgBerichtFehler',
 'Der Bericht konnte nicht erstellt werden:',
 'The report could not be created:',
 'Impossibile creare il rapporto:',
 'Le rapport n''a pas pu être créé :');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsPDFSpeichern',
 'Bericht als PDF speichern',
 'Save report as PDF',
 'Salva rapporto come PDF',
 'Enregistrer le rapport en PDF');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsPDFFilter',
 'PDF-Dateien (*.pdf)',
 'PDF files (*.pdf)',
 'File PDF (*.pdf)',
 'Fichiers PDF (*.pdf)');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('mnuListenExportieren',
 'Als &PDF speichern',
 'Save as P&DF',
 'Salva come &PDF',
 'Enregistrer en &PDF');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('mnuEingängeExportieren',
 '&Eingänge',
 '&Inputs',
 '&Ingressi',
 '&Entrées');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('mnuAusgängeExportieren',
 '&Ausgänge',
 '&Outputs',
 '&Uscite',
 '&Sorties');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('mnuAlarmDispoExportieren',
 '&Sequentielle Alarmierung',
 '&Sequential alarm',
 '&Allarme sequenziale',
 '&Alarme séquentielle');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('mnuBenutzerExportieren',
 '&Benutzer',
 '&Users',
 'U&tenti',
 '&Utilisateurs');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('Dateiname',
 'Dateiname',
 'File name',
 'Nome file',
 'Nom du fichier');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('rptlblDefaultState',
 'Grundzustand',
 'Default state',
 'Stato predefinito',
 'État par défaut');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('rptlblIO',
 'E/A',
 'I/O',
 'I/O',
 'E/S');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsHilfeFenster',
 'Hilfe',
 'Help',
 'Guida',
 'Aide');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsHilfeInhalt',
 'Inhalt',
 'Contents',
 'Sommario',
 'Sommaire');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsHilfeZurueck',
 'Zurück',
 'Back',
 'Indietro',
 'Précédent');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsHilfeVor',
 'Vor',
 'Forward',
 'Avanti',
 'Suivant');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsHilfeSuchen',
 'Suchen:',
 'Search:',
 'Cerca:',
 'Rechercher :');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsHilfeFehlt',
 'Zu diesem Thema gibt es keine Hilfeseite.',
 'There is no help page for this topic.',
 'Non esiste una pagina di aiuto per questo argomento.',
 'Il n''existe pas de page d''aide pour ce sujet.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('lblAdresseKestrin',
 'SMSV48-Konfigurationsprogramm – ein Open-Source-Projekt',
 'SMSV48 configuration tool – an open-source project',
 'Programma di configurazione SMSV48 – un progetto open source',
 'Outil de configuration SMSV48 – un projet open source');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsDemoModus',
 'Demo',
 'Demo',
 'Demo',
 'Démo');
