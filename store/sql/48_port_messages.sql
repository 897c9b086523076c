-- Why a serial port cannot be opened, in words that say what to do. %1 is the device, %2 the
-- group that may use it (Linux, macOS).

INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgPortKeineBerechtigung',
 'Keine Berechtigung für die Schnittstelle %1: Sie gehört der Gruppe "%2". Fügen Sie Ihren Benutzer dieser Gruppe hinzu (sudo usermod -aG %2 $USER) und melden Sie sich neu an.',
 'No permission to use the port %1: it belongs to the group "%2". Add your user to that group (sudo usermod -aG %2 $USER), then log out and in again.',
 'Nessuna autorizzazione per la porta %1: appartiene al gruppo "%2". Aggiungere il proprio utente a questo gruppo (sudo usermod -aG %2 $USER) e accedere di nuovo.',
 'Pas d''autorisation pour le port %1 : il appartient au groupe « %2 ». Ajoutez votre utilisateur à ce groupe (sudo usermod -aG %2 $USER), puis reconnectez-vous.');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgPortBelegt',
 'Die Schnittstelle %1 wird von einem anderen Programm benutzt. Beenden Sie dieses Programm oder wählen Sie eine andere Schnittstelle.',
 'The port %1 is in use by another program. Close that program or choose another port.',
 'La porta %1 è usata da un altro programma. Chiudere quel programma o scegliere un''altra porta.',
 'Le port %1 est utilisé par un autre programme. Fermez ce programme ou choisissez un autre port.');
