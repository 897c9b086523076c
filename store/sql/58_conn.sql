-- Texts of the unit path that the desktop showed in one language only. Looked up by key
-- through msgOr with the German text as stand-in.

INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsFilterProgrammdatei',
 'Programmdatei (*.prg)',
 'Program file (*.prg)',
 'File di programma (*.prg)',
 'Fichier programme (*.prg)');
