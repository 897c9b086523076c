-- Messages of the per-user program folder's upgrade from the installed templates.
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgDatenbankNichtAktualisiert',
 'Die Datenbank %1 kann nicht auf den Stand der mitgelieferten Vorlage %2 gebracht werden und bleibt unverändert: %3',
 'The database %1 cannot be brought up to date with the installed template %2 and stays unchanged: %3',
 'Impossibile aggiornare il database %1 secondo il modello installato %2; resta invariato: %3',
 'La base de données %1 ne peut pas être mise à jour d''après le modèle installé %2 et reste inchangée : %3');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgDatenbankKeineMigration',
 'keine Umstellung von Version %1 auf Version %2 bekannt',
 'no migration from schema version %1 to version %2 is known',
 'nessuna migrazione nota dalla versione %1 alla versione %2 dello schema',
 'aucune migration connue de la version %1 à la version %2 du schéma');
