-- Messages of the command-line tool's safety rules: options given twice, a write whose
-- read-back failed, a unit that did not start after a firmware update.
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliOptionDoppelt',
 'die Option %1 ist zweimal angegeben',
 'option %1 given twice',
 'l''opzione %1 è indicata due volte',
 'l''option %1 est indiquée deux fois');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsCliGeschriebenPrüfungFehlgeschlagen',
 'die Konfiguration wurde vollständig geschrieben, aber die Prüfung ist fehlgeschlagen: %1',
 'the configuration was written completely, but the verify failed: %1',
 'la configurazione è stata scritta completamente, ma la verifica non è riuscita: %1',
 'la configuration a été écrite entièrement, mais la vérification a échoué : %1');
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgFirmwareNichtGestartet',
 'Das Gerät ist nach der Aktualisierung der Firmware nicht gestartet.',
 'The unit did not start after the firmware update.',
 'Il dispositivo non si è avviato dopo l''aggiornamento del firmware.',
 'L''appareil n''a pas démarré après la mise à jour du firmware.');
