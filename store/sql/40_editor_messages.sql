-- Messages of the phone book and the configuration editor that are looked up by key.
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgTelefonbuchUnvollstaendig',
 'Ein Eintrag braucht eine Natel-Nummer und ein vierstelliges Passwort. Ergänzen Sie beides oder leeren Sie den Eintrag mit "Löschen".',
 'An entry needs a mobile number and a four-digit password. Enter both, or clear the entry with the clear button.',
 'Una voce richiede un numero di cellulare e una password di quattro cifre. Inserire entrambi oppure svuotare la voce con il pulsante Cancella.',
 'Une entrée nécessite un numéro de portable et un mot de passe à quatre chiffres. Saisissez les deux ou videz l''entrée avec le bouton Effacer.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgZeileFehlt',
 'Die Konfigurationsdatenbank ist unvollständig: eine Zeile fehlt. Es wurde nichts gespeichert.',
 'The configuration database is incomplete: a row is missing. Nothing was stored.',
 'Il database di configurazione è incompleto: manca una riga. Non è stato salvato nulla.',
 'La base de configuration est incomplète : une ligne manque. Rien n''a été enregistré.');
