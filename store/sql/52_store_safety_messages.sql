-- Messages of the configuration store's own safety checks: a database that is not this
-- program's or comes from a newer release is refused and left as it is; the main window
-- offers to read a store again that another program changed. Looked up by key through
-- ProgramContext::msgOr with the German text as stand-in; %1, %2 ... are filled in by the program.

INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgDatenbankFremd',
 'Die Datei %1 ist keine Konfigurationsdatenbank dieses Programms; sie wurde nicht verändert.',
 'The file %1 is not a configuration database of this program; it was left unchanged.',
 'Il file %1 non è un database di configurazione di questo programma; non è stato modificato.',
 'Le fichier %1 n''est pas une base de configuration de ce programme ; il n''a pas été modifié.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgDatenbankNeuer',
 'Die Datenbank %1 stammt von einer neueren Programmversion (Version %2, dieses Programm kennt bis Version %3); sie wurde nicht verändert.',
 'The database %1 comes from a newer release of the program (version %2, this program knows up to version %3); it was left unchanged.',
 'Il database %1 proviene da una versione più recente del programma (versione %2, questo programma conosce fino alla versione %3); non è stato modificato.',
 'La base de données %1 provient d''une version plus récente du programme (version %2, ce programme connaît jusqu''à la version %3) ; elle n''a pas été modifiée.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgDatenbankExternGeändert',
 'Die Konfiguration in der Datenbank wurde von einem anderen Programm geändert. Soll sie neu gelesen und angezeigt werden? (Nein: mit der angezeigten Konfiguration weiterarbeiten.)',
 'The configuration in the database was changed by another program. Read it again and show it? (No: go on with the configuration shown.)',
 'La configurazione nel database è stata modificata da un altro programma. Rileggerla e mostrarla? (No: continuare con la configurazione mostrata.)',
 'La configuration de la base de données a été modifiée par un autre programme. La relire et l''afficher ? (Non : continuer avec la configuration affichée.)');
