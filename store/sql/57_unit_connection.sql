-- Messages of the unit connection: one command at a time, the record of what was sent,
-- a port that cannot be opened. Looked up by key through msgOr with the German text as
-- stand-in; %1, %2 ... are filled in by the program.

INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgGeraetBeschaeftigt',
 'Das Gerät führt noch einen Befehl aus: Warten Sie, bis er beendet ist, oder brechen Sie ihn ab.',
 'The unit is still carrying out a command: wait until it has finished, or cancel it.',
 'Il dispositivo sta ancora eseguendo un comando: attendere che termini oppure annullarlo.',
 'L''appareil exécute encore une commande : attendez qu''elle soit terminée ou annulez-la.');

INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgAufzeichnungNichtGeschrieben',
 'Die Aufzeichnung des Sendens konnte nicht geschrieben werden; was an das Gerät geht, hängt davon nicht ab: %1',
 'The record of the send could not be written; what goes to the unit does not depend on it: %1',
 'Non è stato possibile scrivere la registrazione dell''invio; ciò che va al dispositivo non ne dipende: %1',
 'L''enregistrement de l''envoi n''a pas pu être écrit ; ce qui part vers l''appareil n''en dépend pas : %1');

INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgPortNichtGeoeffnet',
 'Die Schnittstelle %1 lässt sich nicht öffnen (%2).',
 'The port %1 cannot be opened (%2).',
 'Impossibile aprire la porta %1 (%2).',
 'Le port %1 ne peut pas être ouvert (%2).');
