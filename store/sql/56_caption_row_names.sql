-- The message for a caption or tool-tip row that stands where the main window expects another
-- row: its text is not shown, the control keeps the text it has. Looked up by key through
-- msgOr; the German text here is the program's own stand-in, word for word. The glossary at the
-- top of 20_beschriftung.sql applies.

INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgSprachtabelleFalscheZeile',
 'Die Sprachtabelle "%1" hat an der Stelle der Zeile "%2" die Zeile "%3"; ihr Text wird nicht gezeigt.',
 'The language table "%1" has the row "%3" where the row "%2" belongs; its text is not shown.',
 'La tabella delle lingue "%1" ha la riga "%3" al posto della riga "%2"; il suo testo non viene mostrato.',
 'La table des langues "%1" a la ligne "%3" à la place de la ligne "%2" ; son texte n''est pas affiché.');
