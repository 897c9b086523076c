-- Messages of the command-line tool and of the unit commands' outcomes (status, relays,
-- parameters, backups, verify), looked up by key through ProgramState::msgOr with the German
-- text as stand-in. %1, %2 ... are filled in by the program.

-- Outcomes of the unit commands.
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgVorgangAbgebrochen',
 'der Vorgang wurde abgebrochen',
 'the command was cancelled',
 'l''operazione è stata annullata',
 'l''opération a été annulée');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgStatusUnvollständig',
 'das Gerät hat keinen vollständigen Statusdatensatz gesendet',
 'the unit sent no complete status record',
 'il dispositivo non ha inviato un record di stato completo',
 'l''appareil n''a pas envoyé d''enregistrement d''état complet');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgDatensatzUnvollständig',
 'das Gerät hat keinen vollständigen Datensatz gesendet',
 'the unit sent no complete record',
 'il dispositivo non ha inviato un record completo',
 'l''appareil n''a pas envoyé d''enregistrement complet');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgFirmwareVersionPasstNicht',
 'die Firmware-Version %1 des Geräts passt nicht zu diesem Programm (%2)',
 'the unit''s firmware version %1 does not match this program (%2)',
 'la versione firmware %1 del dispositivo non corrisponde a questo programma (%2)',
 'la version du firmware %1 de l''appareil ne correspond pas à ce programme (%2)');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgRelaisNichtGeschaltet',
 'Relais %1 wurde nicht geschaltet (falsches Passwort?)',
 'relay %1 was not switched (wrong password?)',
 'il relè %1 non è stato commutato (password errata?)',
 'le relais %1 n''a pas été commuté (mot de passe erroné ?)');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgSeriennummerAbgelehnt',
 'das Gerät hat die Seriennummer nicht angenommen',
 'the unit refused the serial number',
 'il dispositivo ha rifiutato il numero di serie',
 'l''appareil a refusé le numéro de série');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgPINAbgelehnt',
 'das Gerät hat die PIN nicht angenommen',
 'the unit refused the PIN',
 'il dispositivo ha rifiutato il PIN',
 'l''appareil a refusé le code PIN');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgGültigkeitAbgelehnt',
 'das Gerät hat die Gültigkeitserinnerung nicht angenommen',
 'the unit refused the validity reminder',
 'il dispositivo ha rifiutato il promemoria di validità',
 'l''appareil a refusé le rappel de validité');

-- The command-line tool: usage, ports, files, progress, backups, verify.
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliSieheHilfe',
 '%1 (siehe %2)',
 '%1 (see %2)',
 '%1 (vedere %2)',
 '%1 (voir %2)');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliAufruf',
 'Aufruf: %1',
 'usage: %1',
 'uso: %1',
 'utilisation : %1');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliKeinBefehl',
 'kein Befehl angegeben',
 'no command given',
 'nessun comando indicato',
 'aucune commande indiquée');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliUnbekannterBefehl',
 'unbekannter Befehl "%1"',
 'unknown command "%1"',
 'comando sconosciuto "%1"',
 'commande inconnue « %1 »');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliUnbekannteOption',
 '%2 kennt die Option %1 nicht',
 '%2 does not know the option %1',
 '%2 non conosce l''opzione %1',
 '%2 ne connaît pas l''option %1');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliOptionNichtFür',
 '%2 nimmt die Option %1 nicht',
 '%2 does not take the option %1',
 '%2 non accetta l''opzione %1',
 '%2 n''accepte pas l''option %1');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliWertFehlt',
 'die Option %1 braucht einen Wert',
 'the option %1 needs a value',
 'l''opzione %1 richiede un valore',
 'l''option %1 demande une valeur');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliSpracheUngültig',
 '--language nimmt 1 (Deutsch), 2 (Englisch), 3 (Italienisch) oder 4 (Französisch), nicht "%1"',
 '--language takes 1 (German), 2 (English), 3 (Italian) or 4 (French), not "%1"',
 '--language accetta 1 (tedesco), 2 (inglese), 3 (italiano) o 4 (francese), non "%1"',
 '--language accepte 1 (allemand), 2 (anglais), 3 (italien) ou 4 (français), pas « %1 »');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliWiederholungenUngültig',
 '--retries nimmt eine Zahl 0..99, nicht "%1"',
 '--retries takes a number 0..99, not "%1"',
 '--retries accetta un numero 0..99, non "%1"',
 '--retries accepte un nombre 0..99, pas « %1 »');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliPasswortStdinLeer',
 '--password -: keine Zeile auf der Standardeingabe',
 '--password -: no line on standard input',
 '--password -: nessuna riga sullo standard input',
 '--password - : aucune ligne sur l''entrée standard');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliKeinePorts',
 'keine serielle Schnittstelle gefunden; das Kabel des Geräts anschliessen oder --device PFAD angeben (--device sim für das simulierte Gerät)',
 'no serial port found; connect the unit''s cable or give --device PATH (--device sim for the simulated unit)',
 'nessuna porta seriale trovata; collegare il cavo del dispositivo o indicare --device PERCORSO (--device sim per il dispositivo simulato)',
 'aucun port série trouvé ; branchez le câble de l''appareil ou indiquez --device CHEMIN (--device sim pour l''appareil simulé)');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliPortOhneGerät',
 'für die gespeicherte Schnittstellennummer gibt es kein serielles Gerät; --device PFAD oder --device sim angeben',
 'no serial device stands for the stored port number; give --device PATH or --device sim',
 'nessun dispositivo seriale corrisponde al numero di porta memorizzato; indicare --device PERCORSO o --device sim',
 'aucun périphérique série ne correspond au numéro de port enregistré ; indiquez --device CHEMIN ou --device sim');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliSimulation',
 'das simulierte Gerät wird verwendet (keine Hardware)',
 'using the simulated unit (no hardware)',
 'viene usato il dispositivo simulato (nessun hardware)',
 'l''appareil simulé est utilisé (pas de matériel)');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliBefehlFehlgeschlagen',
 'der Befehl ist fehlgeschlagen',
 'the command failed',
 'il comando non è riuscito',
 'la commande a échoué');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliOrdnerFehlt',
 'der Ordner %1 existiert nicht',
 'the folder %1 does not exist',
 'la cartella %1 non esiste',
 'le dossier %1 n''existe pas');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliKeinOrdner',
 '%1 ist kein Ordner',
 '%1 is not a folder',
 '%1 non è una cartella',
 '%1 n''est pas un dossier');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliOrdnerSchreibgeschützt',
 'der Ordner %1 ist nicht beschreibbar',
 'the folder %1 is not writable',
 'la cartella %1 non è scrivibile',
 'le dossier %1 n''est pas accessible en écriture');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliKeineRegulaereDatei',
 'keine reguläre Datei',
 'not a regular file',
 'non è un file regolare',
 'pas un fichier ordinaire');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliDateiSchreibgeschützt',
 'die Datei ist nicht beschreibbar',
 'the file is not writable',
 'il file non è scrivibile',
 'le fichier n''est pas accessible en écriture');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliDateiZuGross',
 '%1: die Datei ist zu gross für ein Profil',
 '%1: the file is too large to be a profile',
 '%1: il file è troppo grande per essere un profilo',
 '%1 : le fichier est trop grand pour être un profil');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliKeineDatenbankPasswort',
 'keine Datenbank für das Passwort des Geräts; --password oder SMSV48_PASSWORD angeben',
 'no database for the unit password; give --password or SMSV48_PASSWORD',
 'nessun database per la password del dispositivo; indicare --password o SMSV48_PASSWORD',
 'pas de base de données pour le mot de passe de l''appareil ; indiquez --password ou SMSV48_PASSWORD');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliPasswortLänge',
 'das Passwort des Geräts hat 4 Zeichen, nicht %1',
 'the unit password has 4 characters, not %1',
 'la password del dispositivo ha 4 caratteri, non %1',
 'le mot de passe de l''appareil a 4 caractères, pas %1');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliPINStdinLeer',
 'keine Zeile auf der Standardeingabe für die PIN',
 'no line on standard input for the PIN',
 'nessuna riga sullo standard input per il PIN',
 'aucune ligne sur l''entrée standard pour le code PIN');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliZuVieleArgumente',
 'zu viele Argumente: %1',
 'too many arguments: %1',
 'troppi argomenti: %1',
 'trop d''arguments : %1');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliUnitAufruf',
 'unit nimmt status, read -o DATEI.cfg, write DATEI.cfg oder verify DATEI.cfg',
 'unit takes status, read -o FILE.cfg, write FILE.cfg or verify FILE.cfg',
 'unit accetta status, read -o FILE.cfg, write FILE.cfg o verify FILE.cfg',
 'unit accepte status, read -o FICHIER.cfg, write FICHIER.cfg ou verify FICHIER.cfg');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliUnitReadAusgabe',
 'unit read braucht -o DATEI.cfg',
 'unit read needs -o FILE.cfg',
 'unit read richiede -o FILE.cfg',
 'unit read demande -o FICHIER.cfg');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliNichtsGelesen',
 '%1: %2; es wurde nichts gelesen',
 '%1: %2; nothing was read',
 '%1: %2; non è stato letto nulla',
 '%1 : %2 ; rien n''a été lu');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliUnitDatei',
 'unit %1 braucht eine Profildatei',
 'unit %1 needs a profile file',
 'unit %1 richiede un file di profilo',
 'unit %1 demande un fichier de profil');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliFortschrittLesen',
 'Lesen',
 'reading',
 'lettura',
 'lecture');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliFortschrittSchreiben',
 'Schreiben',
 'writing',
 'scrittura',
 'écriture');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliFortschrittFirmware',
 'Firmware',
 'firmware',
 'firmware',
 'firmware');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliRelaisAufruf',
 'relay nimmt eine Nummer 1..4 und on oder off',
 'relay takes a number 1..4 and on or off',
 'relay accetta un numero 1..4 e on o off',
 'relay accepte un numéro 1..4 et on ou off');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliParamAufruf',
 'param nimmt serial get|set WERT, pin get|set-default PIN|change ALT NEU, validity get|set INDEX',
 'param takes serial get|set VALUE, pin get|set-default PIN|change OLD NEW, validity get|set INDEX',
 'param accetta serial get|set VALORE, pin get|set-default PIN|change VECCHIO NUOVO, validity get|set INDICE',
 'param accepte serial get|set VALEUR, pin get|set-default PIN|change ANCIEN NOUVEAU, validity get|set INDICE');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliGültigkeitIndex',
 'der Gültigkeitsindex ist eine Zahl 0..255',
 'the validity index is a number 0..255',
 'l''indice di validità è un numero 0..255',
 'l''indice de validité est un nombre 0..255');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliFirmwareDatei',
 'firmware braucht eine Programmdatei (*.prg)',
 'firmware needs a program file (*.prg)',
 'firmware richiede un file di programma (*.prg)',
 'firmware demande un fichier programme (*.prg)');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliNichtsGesendet',
 '%1; es wurde nichts gesendet',
 '%1; nothing was sent',
 '%1; non è stato inviato nulla',
 '%1 ; rien n''a été envoyé');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliFirmwareBestätigen',
 'eine Aktualisierung der Firmware ersetzt das Programm des Geräts: mit --yes bestätigen',
 'a firmware update replaces the unit''s program: confirm with --yes',
 'un aggiornamento del firmware sostituisce il programma del dispositivo: confermare con --yes',
 'une mise à jour du firmware remplace le programme de l''appareil : confirmez avec --yes');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliProfilAufruf',
 'profile nimmt to-json, from-json, load, save oder diff',
 'profile takes to-json, from-json, load, save or diff',
 'profile accetta to-json, from-json, load, save o diff',
 'profile accepte to-json, from-json, load, save ou diff');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliBerichtAufruf',
 'report nimmt inputs, outputs, alarm oder users (und -o DATEI.pdf)',
 'report takes inputs, outputs, alarm or users (and -o FILE.pdf)',
 'report accetta inputs, outputs, alarm o users (e -o FILE.pdf)',
 'report accepte inputs, outputs, alarm ou users (et -o FICHIER.pdf)');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliBerichtAusgabe',
 'report braucht eine Ausgabedatei: -o DATEI.pdf',
 'report needs an output file: -o FILE.pdf',
 'report richiede un file di uscita: -o FILE.pdf',
 'report demande un fichier de sortie : -o FICHIER.pdf');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliDatenbankUnlesbar',
 'die Datenbank der Konfiguration kann nicht gelesen werden: %1',
 'cannot read the configuration database: %1',
 'impossibile leggere il database della configurazione: %1',
 'impossible de lire la base de données de la configuration : %1');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliJsonUndStdout',
 '--json und -o - schreiben beide auf die Standardausgabe',
 '--json and -o - both write to standard output',
 '--json e -o - scrivono entrambi sullo standard output',
 '--json et -o - écrivent tous deux sur la sortie standard');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliUnterschiede',
 'das Gerät weicht in %1 Feldern von der Datei ab',
 'the unit differs from the file in %1 fields',
 'il dispositivo differisce dal file in %1 campi',
 'l''appareil diffère du fichier sur %1 champs');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliFortschrittSicherung',
 'Sicherung',
 'backup',
 'backup',
 'sauvegarde');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliFortschrittPrüfen',
 'Prüfen',
 'verifying',
 'verifica',
 'vérification');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliSicherungFehlgeschlagen',
 '%1; das Gerät wurde nicht beschrieben',
 '%1; nothing was written to the unit',
 '%1; non è stato scritto nulla nel dispositivo',
 '%1 ; rien n''a été écrit dans l''appareil');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliSicherungGespeichert',
 'Sicherung der Konfiguration des Geräts: %1',
 'backup of the unit''s configuration: %1',
 'backup della configurazione del dispositivo: %1',
 'sauvegarde de la configuration de l''appareil : %1');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliWiederholung',
 'Versuch %1 von %2 fehlgeschlagen (%3); noch einmal',
 'try %1 of %2 failed (%3); trying again',
 'tentativo %1 di %2 non riuscito (%3); nuovo tentativo',
 'essai %1 sur %2 échoué (%3) ; nouvel essai');
