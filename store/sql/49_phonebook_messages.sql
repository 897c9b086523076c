-- Messages of the phone book (password characters, a number two users share, input that was
-- cut to the length a box takes) and the date line of the reports. Looked up by key through
-- msgOr; the German text here is the program's own stand-in, word for word. The glossary at the
-- top of 20_beschriftung.sql applies.

INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgPasswortNurZiffern',
 'Das Passwort darf nur aus Ziffern (0-9) bestehen.',
 'The password may contain digits (0-9) only.',
 'La password può contenere solo cifre (0-9).',
 'Le mot de passe ne peut contenir que des chiffres (0-9).');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgNatelNrDoppelt',
 'Benutzer %1 hat dieselbe Natel-Nummer %2. Das Gerät schickt dann jede SMS zweimal an diese Nummer.
Soll die Nummer trotzdem übernommen werden?',
 'User %1 has the same mobile number %2. The unit will then send every SMS to this number twice.
Do you want to keep the number anyway?',
 'L''utente %1 ha lo stesso numero di cellulare %2. Il dispositivo invierà quindi ogni SMS due volte a questo numero.
Mantenere comunque il numero?',
 'L''utilisateur %1 a le même numéro de portable %2. L''appareil enverra alors chaque SMS deux fois à ce numéro.
Voulez-vous quand même garder ce numéro ?');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgEingabeGekuerzt',
 'Das Feld "%1" nimmt höchstens %2 Zeichen auf. Nicht übernommen wurde: "%3"',
 'The field "%1" takes at most %2 characters. Left out: "%3"',
 'Il campo "%1" accetta al massimo %2 caratteri. Non inserito: "%3"',
 'Le champ « %1 » accepte au plus %2 caractères. Non repris : « %3 »');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsBerichtErstellt',
 'Erstellt am %1 um %2',
 'Created on %1 at %2',
 'Creato il %1 alle %2',
 'Créé le %1 à %2');
