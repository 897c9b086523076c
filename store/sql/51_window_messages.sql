-- Texts of the main window's Extras menu (language, connection log) and the File menu's
-- list of recent profiles.
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsSpracheMenue', '&Sprache', '&Language', '&Lingua', '&Langue'),
('gsProtokollMenue', 'Verbindungs&protokoll', 'Connection lo&g', '&Registro della connessione', '&Journal de connexion'),
('gsProtokollStart', 'Aufzeichnung &starten', '&Start recording', '&Avvia registrazione', '&Démarrer l''enregistrement'),
('gsProtokollStop', 'Aufzeichnung &beenden', 'S&top recording', '&Ferma registrazione', '&Arrêter l''enregistrement'),
('gsProtokollSpeichern', 'Protokoll speichern &unter...', 'Save log &as...', 'Salva registro &con nome...', '&Enregistrer le journal sous...'),
('gsProtokollTitel', 'Verbindungsprotokoll speichern', 'Save connection log', 'Salva registro della connessione', 'Enregistrer le journal de connexion'),
('gsProtokollFilter', 'Protokoll (*.txt)', 'Log (*.txt)', 'Registro (*.txt)', 'Journal (*.txt)'),
('gsZuletztMenue', '&Zuletzt geöffnet', '&Recent profiles', 'Profili &recenti', 'Profils &récents');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsProtokollImmer', '&Immer aufzeichnen', 'Al&ways record', 'Registra &sempre', '&Toujours enregistrer');
