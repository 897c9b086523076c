#pragma once
// The SMS texts are kept per language (one column of the table SMS for each). These rules
// keep a language switch, a save or a send from losing texts without a word.
class Recordset;

namespace SmsLanguages {
// The rows of the table SMS that a profile and the unit carry (16 inputs, 8 outputs, the
// alarm input, the power-on message).
constexpr int TextRows = 26;
// Rows with a text in language from (1..4) and none in language to.
int missing(Recordset& sms, int from, int to);
// True when some row has a text in language.
bool anyText(Recordset& sms, int language);
// The texts of language from written into the rows of language to that have none
// (pending in the recordset; the caller writes them). Returns how many.
int takeOver(Recordset& sms, int from, int to);
// True when every text is empty in language while another language holds one: a save or a
// send would carry no text at all though the user has written some.
bool onlyElsewhere(Recordset& sms, int language);
}
