-- Messages of the device link about writes that stop part-way and about versions, looked up
-- by key through ProgramState::msgOr (the code keeps the German text). %1, %2 are filled in
-- by the program. The glossary at the top of 20_beschriftung.sql applies.

-- A configuration write that stopped after some records: the unit was left with ESC, its
-- configuration is part new, part old. %1 records acknowledged of %2.
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgKonfigurationTeilweiseGeschrieben',
 'Die Konfiguration des Geräts ist jetzt unvollständig (%1 von %2 Datensätzen geschrieben) und muss erneut geschrieben werden.',
 'The unit''s configuration is now incomplete (%1 of %2 records written) and must be written again.',
 'La configurazione del dispositivo è ora incompleta (%1 di %2 record scritti) e deve essere scritta di nuovo.',
 'La configuration de l''appareil est maintenant incomplète (%1 enregistrements écrits sur %2) et doit être écrite de nouveau.');
-- A firmware update that stopped after some lines: %1 lines acknowledged of %2.
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgFirmwareTeilweiseGeschrieben',
 'Die Aktualisierung der Firmware ist nicht abgeschlossen: %1 von %2 Zeilen wurden vom Gerät angenommen. Wiederholen Sie die Aktualisierung, bevor Sie das Gerät ausschalten.',
 'The firmware update did not complete: the unit accepted %1 of %2 lines. Repeat the update before you switch the unit off.',
 'L''aggiornamento del firmware non è stato completato: il dispositivo ha accettato %1 di %2 righe. Ripetere l''aggiornamento prima di spegnere il dispositivo.',
 'La mise à jour du firmware n''est pas terminée : l''appareil a accepté %1 lignes sur %2. Répétez la mise à jour avant d''éteindre l''appareil.');
-- The reason in front of that sentence when the user cancelled the write.
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgSchreibenAbgebrochenSatz',
 'Das Schreiben wurde abgebrochen.',
 'The write was cancelled.',
 'La scrittura è stata annullata.',
 'L''écriture a été annulée.');
-- The firmware-level version question, both versions with two decimals.
INSERT INTO "SystemNachrichten" ("Name","Deutsch","Englisch","Italienisch","Französisch") VALUES
('gsMsgFirmwareTrotzdemVersion',
 'Firmware des Geräts: %1; Version dieses Programms: %2. Firmware trotzdem aktualisieren?',
 'Firmware of the unit: %1; version of this program: %2. Update the firmware anyway?',
 'Firmware del dispositivo: %1; versione di questo programma: %2. Aggiornare comunque il firmware?',
 'Firmware de l''appareil : %1 ; version de ce programme : %2. Mettre à jour le firmware quand même ?');
