-- Texts of the splash window and of the main window's status bar.
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('lblCopyright',
 'Freie Software, entwickelt von ihren Mitwirkenden',
 'Free software, made by its contributors',
 'Software libero, sviluppato dai suoi collaboratori',
 'Logiciel libre, développé par ses contributeurs');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsStatusSimuliert',
 'Simuliertes Gerät – kein echtes Gerät angeschlossen',
 'Simulated unit – no real unit connected',
 'Dispositivo simulato – nessun dispositivo reale collegato',
 'Appareil simulé – aucun appareil réel raccordé');
-- Caption of the PIN page's check box (write the PIN the unit uses at start-up).
INSERT INTO "Beschriftung" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('ChkDefault', 'Standard', 'Default', 'Predefinito', 'Par défaut');
