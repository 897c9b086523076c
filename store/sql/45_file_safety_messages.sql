-- Messages about files and the database: only regular files are read or replaced, a failed
-- write says the system's reason and what became of the old file, a database the program may
-- not change, a database another program holds. Looked up by key through ProgramState::msgOr;
-- %1 is the file or database, %2 the system's reason (in the system's own words).

INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgKeineGewöhnlicheDatei',
 '%1 ist keine gewöhnliche Datei (sondern ein Gerät, eine benannte Pipe oder ein Socket); das Programm liest und ersetzt nur gewöhnliche Dateien.',
 '%1 is not a regular file (but a device, a named pipe or a socket); the program only reads and replaces regular files.',
 '%1 non è un file normale (ma un dispositivo, una pipe con nome o un socket); il programma legge e sostituisce solo file normali.',
 '%1 n''est pas un fichier ordinaire (mais un périphérique, un tube nommé ou un socket) ; le programme ne lit et ne remplace que des fichiers ordinaires.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgDateiNichtGeschrieben',
 'Die Datei %1 kann nicht geschrieben werden: %2. Die bisherige Datei ist unverändert.',
 'The file %1 cannot be written: %2. The previous file is unchanged.',
 'Impossibile scrivere il file %1: %2. Il file precedente è rimasto invariato.',
 'Le fichier %1 ne peut pas être écrit : %2. L''ancien fichier est inchangé.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgDateiNichtAngelegt',
 'Die Datei %1 kann nicht geschrieben werden: %2. Es wurde keine Datei angelegt.',
 'The file %1 cannot be written: %2. No file was created.',
 'Impossibile scrivere il file %1: %2. Non è stato creato alcun file.',
 'Le fichier %1 ne peut pas être écrit : %2. Aucun fichier n''a été créé.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgDatenbankSchreibgeschützt',
 'Die Datenbank %1 ist schreibgeschützt: Das Programm darf die Datei oder ihren Ordner nicht ändern. Es wurde nichts geändert.',
 'The database %1 is read-only: the program may not change the file or its folder. Nothing was changed.',
 'Il database %1 è di sola lettura: il programma non può modificare il file o la sua cartella. Non è stato modificato nulla.',
 'La base de données %1 est en lecture seule : le programme ne peut modifier ni le fichier ni son dossier. Rien n''a été modifié.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgDatenbankInVerwendung',
 'Die Datenbank %1 wird von einem anderen Programm verwendet. Es wurde nichts geändert.',
 'The database %1 is in use by another program. Nothing was changed.',
 'Il database %1 è in uso da parte di un altro programma. Non è stato modificato nulla.',
 'La base de données %1 est utilisée par un autre programme. Rien n''a été modifié.');
